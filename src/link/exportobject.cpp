#include "link/exportobject.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <system_error>

#include "core/appinfo.h"
#include "core/settings.h"
#include "core/sysinfo.h"
#include "core/uiservices.h"
#include "link/xmlsavedoc.h"
#include "platform/rtl/cp932.h"
#include "platform/rtl/inifile.h"
#include "platform/win/paths.h"
#include "platform/win/registry.h"

namespace {

struct TSettingsSection {
  const char* Prefix;
  const char* Section;
};
constexpr TSettingsSection kSections[] = {
    {"SY", "SYOUHIZEI"},     {"HJ", "HOJINZEI"},       {"HJ_G", "HOJINZEI_G"},
    {"UG", "UTIWAKESYO"},    {"UG_G", "GAIKYOUSYO"},   {"ST", "SYOTOKUZEI"},
    {"ST_G", "SYOTOKUZEI_G"}, {"RC", "RENKETUNOUZEI"}, {"RC_G", "RENKETUNOUZEI_G"},
};

// The settings' folder names are kept with "\" between their parts.
std::string NativeFolder(std::string text) {
  std::replace(text.begin(), text.end(), '\\', '/');
  return text;
}

bool IsOneOf(const std::string& value, std::initializer_list<const char*> list) {
  return std::any_of(list.begin(), list.end(), [&](const char* item) { return value == item; });
}

// Why a file could not be written, in the words the user reads.
std::string WriteFailureReason(const std::exception& e) {
  if (const auto* special = dynamic_cast<const ENotARegularFile*>(&e)) {
    switch (special->Kind()) {
      case TPathKind::Directory: return "同じ名前のフォルダがあります。";
      case TPathKind::Device: return "デバイスのため書き込めません。";
      case TPathKind::Fifo: return "名前付きパイプ(FIFO)のため書き込めません。";
      case TPathKind::Socket: return "ソケットのため書き込めません。";
      default: return "通常のファイルではないため書き込めません。";
    }
  }
  if (const auto* system = dynamic_cast<const std::system_error*>(&e)) {
    switch (system->code().value()) {
      case ENOSPC: case EDQUOT: return "ディスクの空き容量が不足しています。";
      case EACCES: case EPERM: return "書き込む権限がありません。";
      case EROFS: return "読み取り専用の場所には書き込めません。";
      case ENOENT: case ENOTDIR: return "保存先のフォルダがありません。";
      case ENAMETOOLONG: return "ファイル名が長すぎます。";
      default: return system->code().message();
    }
  }
  return e.what();
}

}  // namespace

TComDataExport::TComDataExport(std::string ExportPath, std::int32_t FunctionValue)
    : CallerValue(FunctionValue), ExportFile(std::move(ExportPath)) {
  std::string appData;
  GetAppDataDir(true, appData);
  DataRoot = PathJoin(appData, NativeFolder(HomeDir));
  IniDir = PathJoin(DataRoot, "ini");
  ForceDirectories(IniDir);
  FunctionId = CallerValue != 0 ? CallerValue : 1;
  ProgramName = GetProductRegValue(11, 0, "Product");
  ProgramVer = GetProductRegValue(11, 0, "Version");
  Caption = "消費税のヴェルダ（令和元年度版 以降） from " + ProgramName;
  if (Pos("ST", GyoumuPrefix) > 0) ExportKind = 2;
  else if (Pos("SY", GyoumuPrefix) > 0) ExportKind = 0;
  else ExportKind = 1;
  LoadSettings();
}

TComDataExport::~TComDataExport() {
  try {
    SaveSettings();
  } catch (const std::exception& e) {
    // The program ends all the same; the user learns what was not remembered.
    UiShowError(e.what());
  }
}

void TComDataExport::WriteBody(TXmlSaveDoc&) { throw Exception("Abstract Error"); }

std::string TComDataExport::SettingsSection(const std::string& Prefix) {
  for (const auto& s : kSections)
    if (Prefix == s.Prefix) return s.Section;
  return "";
}

std::string TComDataExport::SettingsFile() const { return PathJoin(IniDir, "Veruda.ini"); }

void TComDataExport::LoadSettings() {
  const std::string section = SettingsSection(GyoumuPrefix);
  if (section.empty()) return;
  TIniFile ini(SettingsFile());
  DataPath = ini.ReadString(section, "DATA", "");
  KomonsakiName = ini.ReadString(section, "KOMONSAKI", "");
  if (CallerValue == 0) ExportFile = ini.ReadString(section, "EXPORTFILE", "");
}

void TComDataExport::SaveSettings() {
  const std::string section = SettingsSection(GyoumuPrefix);
  if (section.empty()) return;
  TIniFile ini(SettingsFile());
  // Each key on its own: a value the file cannot take costs only that value.
  std::string failure;
  auto write = [&](const char* key, const std::string& value) {
    try {
      ini.WriteString(section, key, value);
    } catch (const std::exception& e) {
      if (failure.empty()) failure = WriteFailureReason(e);
    }
  };
  write("DATA", DataPath);
  write("KOMONSAKI", KomonsakiName);
  if (CallerValue == 0) write("EXPORTFILE", ExportFile);
  if (!failure.empty())
    throw Exception(Format("設定ファイル(%s)に書き込めませんでした。", SettingsFile()) + "\r" + failure);
}

std::string TComDataExport::GetProductRegValue(std::int32_t Major, std::int32_t Minor, const std::string& Name) {
  std::string value;
  TRegistry reg;
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  if (!reg.OpenKeyReadOnly(AppInfo.RegKey)) return value;
  const std::vector<std::string> keys = reg.GetKeyNames();
  const std::string pattern = LowerCase(AppInfo.ZaimuRegKey) + Format("%.2d", static_cast<std::int64_t>(Major));
  for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
    if (LowerCase(*it).find(pattern) == std::string::npos) continue;
    if (reg.OpenKeyReadOnly(*it)) value = reg.ReadString(Name);
    break;
  }
  if (LowerCase(Name) == "rootdir") {
    value = IncludeTrailingPathDelimiter(value) + LowerCase(AppInfo.ZaimuRegKey) +
            Format("%.2d", static_cast<std::int64_t>(Major + 8));
    if (Minor > 0) value += static_cast<char>(97 + Minor);
  }
  return value;
}

void TComDataExport::WriteSystemNode(TXmlSaveDoc& Doc) {
  Doc.CreateRoot("REPORT");
  TXmlNode* system = Doc.AddChild(nullptr, "SYSTEM");
  Doc.AddTextChild(system, "GYOUMUPREFIX", FormId);
  Doc.AddTextChild(system, "VERSION", IntToStr(FormatVersion));
  Doc.AddTextChild(system, "FUNCTIONID", IntToStr(FunctionId));
  Doc.AddTextChild(system, "CONNECTEDPROGRAMVER", ConnectedProgramVer);
  Doc.AddTextChild(system, "PROGRAMNAME", ProgramName);
  Doc.AddTextChild(system, "PROGRAMVER", ProgramVer);
}

void TComDataExport::WriteBasicNode(TXmlSaveDoc& Doc) {
  TXmlNode* basic = Doc.AddChild(nullptr, "BASIC");
  Doc.AddTextChild(basic, "KOMONSAKINAME", KomonsakiName);
  auto fiscalYear = [&] {
    Doc.AddTextChild(basic, "JIGYOUNENDOFROM", FormatDateTime("yyyymmdd", PeriodFrom));
    Doc.AddTextChild(basic, "JIGYOUNENDOTO", FormatDateTime("yyyymmdd", PeriodTo));
  };
  if (IsOneOf(FormId, {"SY13", "SY26", "SY31"})) {
    fiscalYear();
    Doc.AddTextChild(basic, "HOUJINKOJINKUBUN", CompanyKind == 2 ? "2" : "1");
    Doc.AddTextChild(basic, "KAZEIKUBUN", TaxKanni != 0 ? "2" : "1");
    Doc.AddTextChild(basic, "KEIKASHOCHIKAZEISHISAN", FormId == "SY13" ? "2" : "1");
    Doc.AddTextChild(basic, "URIAGEZEIGAKUKEISAN", TumiageFlag != 0 ? "2" : "1");
    Doc.AddTextChild(basic, "SHIIREZEIGAKUKEISAN", TaxKanni != 0 ? "" : (TumiageFlag != 0 ? "2" : "1"));
  } else if (IsOneOf(FormId, {"HJ16", "HJ13", "UG16", "UG13", "HJ18", "HJ19", "HJ21", "RC25"})) {
    fiscalYear();
    if (FormId == "HJ21" || FormId == "RC25") {
      TXmlNode* pattern = Doc.AddChild(basic, "PATTERN");
      TXmlNode* bs = Doc.AddChild(pattern, "BS");
      Doc.AddTextChild(Doc.AddChild(bs, "CA"), "Doubtful", "A2");
      Doc.AddTextChild(Doc.AddChild(bs, "PPE"), "DepImp", "B6");
      TXmlNode* ioa = Doc.AddChild(bs, "IOA");
      Doc.AddTextChild(ioa, "Doubtful", "C2");
      Doc.AddTextChild(ioa, "DepImp", "D6");
      TXmlNode* pl = Doc.AddChild(pattern, "PL");
      Doc.AddTextChild(pl, "Sales", "E3");
      Doc.AddTextChild(pl, "Cos", "F1");
      Doc.AddTextChild(pl, "Sga", "G1");
    }
  } else if (FormId == "ST14" && (FunctionId == 1 || FunctionId == 3)) {
    Doc.AddTextChild(basic, "AOSIROKUBUN", "1");
    fiscalYear();
    Doc.AddTextChild(basic, "SYOTOKUSYURUI", IntToStr(SyotokuSyurui));
  } else if (FormId == "ST14" && (FunctionId == 2 || FunctionId == 4)) {
    fiscalYear();
    const char* hasuu = HasuuKubun == 1 ? "3" : HasuuKubun == 2 ? "2" : "1";
    Doc.AddTextChild(basic, "HASUU_SYOUKYAKU", hasuu);
  } else {
    throw EDataExportError("業務Prefixが条件に加えられていません。", "SetBasicNode(BASICﾉｰﾄﾞを作成)", 256);
  }
}

void WriteLinkFile(TComDataExport& Export) {
  auto doc = std::make_unique<TXmlSaveDoc>("1.0", "Shift_JIS", "");
  Export.WriteSystemNode(*doc);
  Export.WriteBasicNode(*doc);
  Export.WriteBody(*doc);
  try {
    doc->Save(Export.ExportFile);
  } catch (const std::exception& e) {
    throw EDataExportError(Format("中間ファイル(%s)を作成できませんでした。", Export.ExportFile), WriteFailureReason(e),
                           kLinkFileNotWritten);
  }
}
