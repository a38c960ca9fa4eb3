#include "dbaccess/datainfoblock.h"

#include <sstream>

#include "core/fileutil.h"
#include "core/markersearch.h"
#include "platform/rtl/cp932.h"
#include "platform/rtl/sysutils.h"

std::string DataInfoBlockText(const TDataInfoValues& v) {
  if (v.SHOUGOU.empty()) return {};
  std::string text = std::string(kDataInfoMarker) + "\r\n";
  auto add = [&text](const char* key, const std::string& value) { text += std::string(key) + "=" + value + "\r\n"; };
  add("SHOUGOU", v.SHOUGOU);
  add("KISHU", v.KISHU);
  add("KIMATU", v.KIMATU);
  add("SIWAKE", IntToStr(v.SIWAKE));
  add("TOTALSIWAKE", IntToStr(v.TOTALSIWAKE));
  add("DATAVARSION", v.DATAVARSION);
  add("GASSAN", IntToStr(v.GASSAN));
  add("USEMYNUMBER", IntToStr(v.USEMYNUMBER));
  return text;
}

bool WriteDataInfoBlock(const std::string& FileName, const TDataInfoValues& Values) {
  const std::string text = DataInfoBlockText(Values);
  if (text.empty()) return false;
  return AppendTextToFile(FileName, Utf8ToCp932(text));
}

bool ReadDataInfoBlock(const std::string& FileName, bool Strip, TDataInfoValues& Values) {
  Values = TDataInfoValues{};
  std::string raw;
  if (!ReadMarkedBlock(FileName, kDataInfoMarker, raw, Strip)) return false;
  const std::string text = Cp932ToUtf8(raw);
  std::istringstream lines(text);
  std::string line;
  bool seen[8] = {};
  const char* keys[8] = {"SHOUGOU", "KISHU", "KIMATU", "SIWAKE", "TOTALSIWAKE", "DATAVARSION", "GASSAN", "USEMYNUMBER"};
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = line.substr(0, eq);
    const std::string value = line.substr(eq + 1);
    for (int i = 0; i < 8; ++i) {
      if (seen[i] || key != keys[i]) continue;
      seen[i] = true;  // the first line with the key counts
      switch (i) {
        case 0: Values.SHOUGOU = value; break;
        case 1: Values.KISHU = value; break;
        case 2: Values.KIMATU = value; break;
        case 3: Values.SIWAKE = StrToIntDef(Trim(value), 0); break;
        case 4: Values.TOTALSIWAKE = StrToIntDef(Trim(value), 0); break;
        case 5: Values.DATAVARSION = value; break;
        case 6: Values.GASSAN = StrToIntDef(Trim(value), 0); break;
        case 7: Values.USEMYNUMBER = StrToIntDef(Trim(value), 0); break;
      }
    }
  }
  return !Values.SHOUGOU.empty();
}
