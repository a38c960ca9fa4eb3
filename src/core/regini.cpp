#include "core/regini.h"

#include "core/sysinfo.h"
#include "platform/rtl/inifile.h"
#include "platform/rtl/sysutils.h"

void ReadRegistryValue(HKEY RootKey, const std::string& Key, const std::string& Name, TRegValue& Value) {
  Value = std::int32_t{0};
  if (SameText(Name, "EnableLUA") && GetOSMajorVersion() <= 5) return;
  try {
    TRegistry reg;
    reg.SetRootKey(RootKey);
    if (!reg.OpenKeyReadOnly(Key) || !reg.ValueExists(Name)) return;
    switch (reg.GetDataType(Name)) {
      case TRegDataType::rdString:
        Value = reg.ReadString(Name);
        break;
      case TRegDataType::rdInteger:
        Value = std::int32_t{reg.ReadInteger(Name)};
        break;
      default:
        break;
    }
  } catch (const std::exception&) {
    Value = std::int32_t{0};
  }
}

void WriteOrDeleteIniValue(const std::string& FileName, const std::string& Section, const std::string& Key,
                           bool Delete, const TRegValue& Value) {
  TIniFile ini(FileName);
  if (Delete) {
    ini.DeleteKey(Section, Key);
    return;
  }
  if (const auto* i = std::get_if<std::int32_t>(&Value)) ini.WriteString(Section, Key, IntToStr(*i));
  else ini.WriteString(Section, Key, std::get<std::string>(Value));
}

void ReadIniSectionText(const std::string& FileName, const std::string& Section, std::string& Text) {
  if (FileName.empty() || Section.empty()) return;
  TIniFile ini(FileName);
  std::string out;
  for (const std::string& line : ini.ReadSectionValues(Section)) {
    out += line;
    out += "\r\n";
  }
  Text = out;
}

void WriteIniSection(const std::string& FileName, const std::string& Section, const std::vector<std::string>& Lines) {
  if (FileName.empty() || Section.empty()) return;
  auto nameOf = [](const std::string& line) { return line.substr(0, line.find('=')); };
  auto valueOf = [](const std::string& line) {
    const std::size_t eq = line.find('=');
    return eq == std::string::npos ? std::string() : line.substr(eq + 1);
  };
  TIniFile ini(FileName);
  ini.EraseSection(Section);
  for (const std::string& line : Lines) {
    const std::string name = nameOf(line);
    if (name.empty()) continue;
    std::string value;
    for (const std::string& first : Lines)
      if (SameText(nameOf(first), name)) {
        value = valueOf(first);
        break;
      }
    ini.WriteString(Section, name, value);
  }
}
