// The per-data settings file: [DATASTS] (state and holders) and [DATAINFO]
// (the data set's summary), keys in a fixed order.
#include <vector>

#include "core/regini.h"
#include "core/settings.h"
#include "dbaccess/datainfo.h"
#include "dbaccess/textsplit.h"
#include "platform/rtl/inifile.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/paths.h"

namespace {

std::string Line(const char* Key, const std::string& Value) { return std::string(Key) + "=" + Value; }
std::string Line(const char* Key, std::int64_t Value) { return Line(Key, IntToStr(Value)); }

std::vector<std::string> DataStsLines(const TDataInfomationRec& r) {
  std::vector<std::string> lines{Line("STATUS", r.STATUS)};
  if (r.OPCODE != 0) {
    lines.push_back(Line("OPCODE", r.OPCODE));
    lines.push_back(Line("OPERATOR", r.OPERATOR));
  }
  lines.push_back(Line("SHARE_STATUS", r.SHARE_STATUS));
  if (r.SHARE_OPCODE != 0) {
    lines.push_back(Line("SHARE_OPCODE", r.SHARE_OPCODE));
    lines.push_back(Line("SHARE_OPERATOR", r.SHARE_OPERATOR));
  }
  lines.push_back(Line("UPDATE_LOCK", r.UPDATE_LOCK));
  return lines;
}

std::vector<std::string> DataInfoLines(const TDataInfomationRec& r) {
  return {Line("DATALISTNAME", r.DATALISTNAME),
          Line("CODE", r.CODE),
          Line("DATAKBN", r.DATAKBN),
          Line("CODEKBN", r.CODEKBN),
          Line("SHOUGOU", r.SHOUGOU),
          Line("KANA", r.KANA),
          Line("NENDO", r.NENDO),
          Line("KISHU", r.KISHU),
          Line("KIMATU", r.KIMATU),
          Line("TANTO", r.TANTO),
          Line("SITEN", r.SITEN),
          Line("SITENCNT", r.SITENCNT),
          Line("BUMON", r.BUMON),
          Line("BUMONCNT", r.BUMONCNT),
          Line("SIWAKE", r.SIWAKE),
          Line("TOTALSIWAKE", r.TOTALSIWAKE),
          Line("VERSION1", Format("%d.%d.%d", r.VERSION1[0], r.VERSION1[1], r.VERSION1[2])),
          Line("VERSION2", r.VERSION2),
          Line("GASSANKBN", r.GASSANKBN),
          Line("USEMYNUMBER", r.USEMYNUMBER),
          Line("CLOUD_SHARE", r.CLOUD_SHARE)};
}

// A number of the file: Fallback when missing or not numeric.
std::int32_t ReadNumber(const TIniFile& Ini, const char* Section, const char* Key, std::int32_t Fallback) {
  return StrToIntDef(Trim(Ini.ReadString(Section, Key, "")), Fallback);
}

}  // namespace

std::string DataInfoFileName(const std::string& Folder) { return Folder + "/" + ChangeFileExt(DataFile, ".ini"); }

void ReadDataInfoFile(const std::string& FileName, TDataInfomationRec& Rec) {
  TDataInfomation::ClearDataInfoRec(Rec);
  const TIniFile ini(FileName);
  const char* sts = kSectionDataSts;
  const char* inf = kSectionDataInfo;
  Rec.STATUS = static_cast<std::uint8_t>(ReadNumber(ini, sts, "STATUS", 1));
  Rec.OPCODE = ReadNumber(ini, sts, "OPCODE", 0);
  Rec.OPERATOR = ini.ReadString(sts, "OPERATOR", "");
  Rec.SHARE_STATUS = static_cast<std::uint8_t>(ReadNumber(ini, sts, "SHARE_STATUS", 1));
  Rec.SHARE_OPCODE = ReadNumber(ini, sts, "SHARE_OPCODE", 0);
  Rec.SHARE_OPERATOR = ini.ReadString(sts, "SHARE_OPERATOR", "");
  Rec.UPDATE_LOCK = ReadNumber(ini, sts, "UPDATE_LOCK", 0);

  Rec.DATALISTNAME = ini.ReadString(inf, "DATALISTNAME", "");
  Rec.CODE = ini.ReadString(inf, "CODE", "");
  Rec.DATAKBN = ReadNumber(ini, inf, "DATAKBN", 0);
  Rec.CODEKBN = ReadNumber(ini, inf, "CODEKBN", 0);
  Rec.SHOUGOU = ini.ReadString(inf, "SHOUGOU", "");
  Rec.KANA = ini.ReadString(inf, "KANA", "");
  Rec.NENDO = ReadNumber(ini, inf, "NENDO", 0);
  Rec.KISHU = ini.ReadString(inf, "KISHU", "");
  Rec.KIMATU = ini.ReadString(inf, "KIMATU", "");
  Rec.TANTO = ReadNumber(ini, inf, "TANTO", 0);
  Rec.SITEN = ReadNumber(ini, inf, "SITEN", 0);
  Rec.SITENCNT = ReadNumber(ini, inf, "SITENCNT", 0);
  Rec.BUMON = ReadNumber(ini, inf, "BUMON", 0);
  Rec.BUMONCNT = ReadNumber(ini, inf, "BUMONCNT", 0);
  Rec.SIWAKE = ReadNumber(ini, inf, "SIWAKE", 0);
  Rec.TOTALSIWAKE = ReadNumber(ini, inf, "TOTALSIWAKE", 0);
  // A hand-edited version with fewer parts reads the missing parts as 0.
  TMojiBunkatu split;
  split.Delimiter = '.';
  split.Split(ini.ReadString(inf, "VERSION1", ""));
  for (int i = 0; i < 3; ++i) Rec.VERSION1[static_cast<std::size_t>(i)] = StrToIntDef(split.Item(i), 0);
  Rec.VERSION2 = ini.ReadString(inf, "VERSION2", "");
  Rec.GASSANKBN = static_cast<std::uint8_t>(ReadNumber(ini, inf, "GASSANKBN", 0));
  Rec.USEMYNUMBER = ReadNumber(ini, inf, "USEMYNUMBER", 0);
  Rec.CLOUD_SHARE = static_cast<std::uint8_t>(ReadNumber(ini, inf, "CLOUD_SHARE", 0));
  if (Rec.DATALISTNAME.empty()) Rec.DATALISTNAME = Rec.SHOUGOU;
}

void WriteDataInfoFile(const std::string& FileName, const std::string& Section, const TDataInfomationRec& Rec) {
  if (Section.empty() || Section == kSectionDataSts) WriteIniSection(FileName, kSectionDataSts, DataStsLines(Rec));
  if (Section.empty() || Section == kSectionDataInfo) WriteIniSection(FileName, kSectionDataInfo, DataInfoLines(Rec));
}
