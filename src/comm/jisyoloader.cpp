#include "comm/jisyoloader.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "core/globals.h"
#include "core/sjis.h"
#include "dbaccess/datasetconnection.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/atomicfile.h"
#include "platform/rtl/cp932.h"
#include "platform/rtl/sysutils.h"
#include "tax/taxrates.h"

namespace {

constexpr const char* kKindLine = "// ファイル種別: ";
constexpr const char* kVersionLine = "// ファイルVer : ";

std::string StartsAfter(const std::string& line, const std::string& head) {
  return line.compare(0, head.size(), head) == 0 ? line.substr(head.size()) : std::string();
}

// The major number of a version of exactly two parts, else 0.
int MajorOf(const std::string& version) {
  const std::size_t dot = version.find('.');
  if (dot == std::string::npos || version.find('.', dot + 1) != std::string::npos) return 0;
  return StrToIntDef(version.substr(0, dot), 0);
}

std::string Blank(const std::string& scode) { return scode.empty() ? " " : scode; }

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// The value of "name=value" lines.
int MapValue(const std::vector<std::string>& map, const std::string& name) {
  for (const std::string& line : map)
    if (line.size() > name.size() && line.compare(0, name.size(), name) == 0 && line[name.size()] == '=')
      return StrToIntDef(line.substr(name.size() + 1), 0);
  return 0;
}

// "yyyy/mm/dd hh:nn:ss" (the time may be left out).
bool TryStrToDateTime(const std::string& text, TDateTime& out) {
  const std::size_t blank = text.find(' ');
  TDateTime day = 0;
  if (!TryStrToDate(text.substr(0, blank), day)) return false;
  int h = 0, n = 0, sec = 0;
  if (blank != std::string::npos &&
      std::sscanf(text.c_str() + blank + 1, "%d:%d:%d", &h, &n, &sec) < 2)
    return false;
  if (h < 0 || h > 23 || n < 0 || n > 59 || sec < 0 || sec > 59) return false;
  out = day + (h * 3600 + n * 60 + sec) / 86400.0;
  return true;
}

}  // namespace

// ---------------------------------------------------------------- TBaseLoader

TBaseLoader::TBaseLoader() {
  opCode_ = SystemDef.OpCode;
  if (DataModuleExists()) {
    SetDatabase(&DataSetConnection().IBDatabaseDAT);
    SetTransaction(&DataSetConnection().IBTransactionDAT);
  }
}

void TBaseLoader::SetDatabase(TIBDatabase* Database) {
  for (TIBSQL& q : sql_) q.SetDatabase(Database);
}

void TBaseLoader::SetTransaction(TIBTransaction* Transaction) {
  transaction_ = Transaction;
  for (TIBSQL& q : sql_) q.SetTransaction(Transaction);
}

std::vector<std::string> TBaseLoader::HeaderLines() const {
  std::vector<std::string> lines;
  if (!fileKind_.empty()) lines.push_back(kKindLine + fileKind_);
  if (!fileVersion_.empty()) lines.push_back(kVersionLine + fileVersion_);
  lines.push_back("// データ名    : " + AccInf.SHOUGOU);
  const char* type = AccInf.DATATYPE == 1 ? "法人" : AccInf.DATATYPE == 2 ? "個人" : AccInf.DATATYPE == 3 ? "医療法人" : "不明";
  lines.push_back(std::string("// データ種別  : ") + type);
  lines.push_back("// データVer   : " + DataVer);
  lines.push_back("// 作成日      : " + FormatDateTime("yyyy/mm/dd", Date()));
  return lines;
}

bool TBaseLoader::CheckHeader() {
  bool kindFound = false;
  std::string version;
  for (const std::string& line : lines_) {
    if (line == kKindLine + fileKind_) kindFound = true;
    if (line.compare(0, std::string(kVersionLine).size(), kVersionLine) == 0) version = Trim(StartsAfter(line, kVersionLine));
  }
  if (!kindFound) return false;
  if (VersionCheck && !version.empty() && MajorOf(version) != MajorOf(fileVersion_)) return false;
  return true;
}

std::string TBaseLoader::FileText(const std::string& Text) {
  return ReplaceAll(RemoveTabsAndBreaks(Text), "\"", "''");
}

std::string TBaseLoader::RestoredText(const std::string& Text) {
  return ReplaceAll(RemoveTabsAndBreaks(Text), "''", "\"");
}

bool TBaseLoader::ReadLines(const std::string& FileName) {
  lines_.clear();
  std::ifstream in(FileName, std::ios::binary);
  if (!in) return false;
  std::stringstream bytes;
  bytes << in.rdbuf();
  std::stringstream text(Cp932ToUtf8Lossy(bytes.str()));
  for (std::string line; std::getline(text, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines_.push_back(line);
  }
  while (!lines_.empty() && lines_.back().empty()) lines_.pop_back();
  return true;
}

void TBaseLoader::SaveLines(const std::string& FileName) const {
  std::string text;
  for (const std::string& line : lines_) text += line + "\r\n";
  WriteFileAtomically(FileName, Utf8ToCp932Lossy(text));
}

// ---------------------------------------------------------------- TJisyoLoader

TJisyoLoader::TJisyoLoader() {
  fileKind_ = "摘要・取引先辞書設定";
  SetFileVersion("1.1");
}

void TJisyoLoader::SetFileVersion(const std::string& Version) {
  fileVersion_ = Version;
  const bool v11 = Version == "1.1";
  kindTekClass_ = "200";
  kindTek_ = v11 ? "202" : "201";
  kindTorClass_ = "300";
  kindTor_ = v11 ? "302" : "301";
}

std::int32_t TJisyoLoader::CountRecords() {
  std::int32_t count = 0;
  TMojiBunkatu split;
  for (const std::string& line : lines_) {
    if (line.compare(0, 2, "//") == 0) continue;
    split.Split(line);
    const std::string kind = Trim(split.Item(0));
    if (kind.empty()) continue;
    if ((JisyoKind == 0 || JisyoKind == 1) && (kind == kindTekClass_ || kind == kindTek_)) ++count;
    if ((JisyoKind == 0 || JisyoKind == 2) && (kind == kindTorClass_ || kind == kindTor_)) ++count;
  }
  return count;
}

void TJisyoLoader::ExportDictionary(bool Partner) {
  const std::string ti = Partner ? "TORDICTI" : "TEKDICTI";
  const std::string filter = AllSisetu == 0 ? " WHERE SCODE=:SCODE" : "";
  TIBSQL& q = Sql(0);
  SetSql(q, "SELECT CREC,SCODE,SORTCODE,TEXT,MOVEMENT FROM " + ti + filter + " ORDER BY SCODE,SORTCODE");
  if (AllSisetu == 0) q.ParamByName("SCODE").AsString(SisetuCode);
  std::string scode = "\x01";
  int number = 0;
  const std::string classKind = Partner ? kindTorClass_ : kindTekClass_;
  for (q.ExecQuery(); !q.Eof(); q.Next()) {
    const std::string s = q.FieldByName("SCODE").AsTrimString();
    if (s != scode) { scode = s; number = 0; }
    ++number;
    lines_.push_back(Q(classKind) + N(q.FieldByName("CREC").AsInteger()) + Q(Blank(s)) + N(number) +
                     Q(FileText(q.FieldByName("TEXT").AsTrimString())) + N(q.FieldByName("MOVEMENT").AsInteger()));
  }
  q.Close();
  const std::string entryKind = Partner ? kindTor_ : kindTek_;
  const bool byUserCode = entryKind == "202" || entryKind == "302";
  SetSql(q, std::string("SELECT T.CREC,T.KANA,T.TEXT,") + (Partner ? "T.TEKTEXT," : "") +
                "T.SCODE,"
                "T.KAR_KCODE,T.KAR_HCODE,T.KAR_BCODE,T.KAR_TAXCODE,K1.USERCODE AS KAR_UC_KCODE,"
                "T.KAS_KCODE,T.KAS_HCODE,T.KAS_BCODE,T.KAS_TAXCODE,K2.USERCODE AS KAS_UC_KCODE,"
                "T.WAITFLG,T.TAXOLD,T.TAXNUM,T.MOVEMENT," +
                (Partner ? "0 AS HAIBUN" : "T.HAIBUN") + ",T.RTIME FROM " + (Partner ? "TORDIC" : "TEKDIC") +
                " T INNER JOIN " + ti + " H ON (H.CREC=T.CREC)"
                " LEFT JOIN KAMOKUMST K1 ON (T.KAR_KCODE=K1.KCODE)"
                " LEFT JOIN KAMOKUMST K2 ON (T.KAS_KCODE=K2.KCODE)" +
                (AllSisetu == 0 ? " WHERE H.SCODE=:SCODE" : "") + " ORDER BY H.SCODE,H.SORTCODE,T.KANA");
  if (AllSisetu == 0) q.ParamByName("SCODE").AsString(SisetuCode);
  for (q.ExecQuery(); !q.Eof(); q.Next()) {
    auto s = [&](const char* n) { return q.FieldByName(n).AsTrimString(); };
    std::string line = Q(entryKind) + N(q.FieldByName("CREC").AsInteger()) + Q(Blank(s("SCODE"))) + Q(s("KANA")) +
                       Q(FileText(s("TEXT"))) + Q(Partner ? FileText(s("TEKTEXT")) : std::string());
    auto raw = [&](const char* n) { return q.FieldByName(n).AsString(); };
    line += Q(byUserCode ? s("KAR_UC_KCODE") : s("KAR_KCODE")) + Q(raw("KAR_HCODE")) + Q(raw("KAR_BCODE")) +
            Q(s("KAR_TAXCODE"));
    line += Q(byUserCode ? s("KAS_UC_KCODE") : s("KAS_KCODE")) + Q(raw("KAS_HCODE")) + Q(raw("KAS_BCODE")) +
            Q(s("KAS_TAXCODE"));
    line += N(q.FieldByName("WAITFLG").AsInteger()) + N(q.FieldByName("TAXOLD").AsInteger()) +
            N(q.FieldByName("TAXNUM").AsInteger()) + N(q.FieldByName("MOVEMENT").AsInteger()) +
            N(q.FieldByName("HAIBUN").AsInteger());
    const bool hasTime = !q.FieldByName("RTIME").IsNull();
    line += Q(JisyoKind == 0 && hasTime ? FormatDateTime("yyyy/mm/dd hh:nn:ss", q.FieldByName("RTIME").AsDateTime())
                                        : std::string());
    lines_.push_back(line);
  }
  q.Close();
}

bool TJisyoLoader::ExportFile(const std::string& FileName) {
  lines_.clear();
  classMap_.clear();
  codeTable_.clear();
  codeTableSCode_ = "**";
  if (Trim(FileName).empty()) return false;
  TTransactionGuard guard(*transaction_);
  guard.Begin();
  try {
    lines_ = HeaderLines();
    if (JisyoKind == 0 || JisyoKind == 1) ExportDictionary(false);
    if (JisyoKind == 0 || JisyoKind == 2) ExportDictionary(true);
    guard.Commit();
  } catch (...) {
    guard.CommitQuietly();   // only read: what was read stays as it was
    throw;
  }
  SaveLines(FileName);
  return true;
}

void TJisyoLoader::LoadCodeTable(const std::string& SCode) {
  if (SCode == codeTableSCode_) return;
  codeTable_.clear();
  TIBSQL& q = Sql(2);
  SetSql(q, std::string("SELECT KCODE,USERCODE,HCODE,BCODE FROM KAMOKU_VIEW WHERE SCODE=:SCODE ORDER BY ") +
                (fileVersion_ == "1.1" ? "USERCODE,HCODE,BCODE" : "KCODE,HCODE,BCODE"));
  q.ParamByName("SCODE").AsString(SCode);
  for (q.ExecQuery(); !q.Eof(); q.Next())
    codeTable_.push_back({q.FieldByName("KCODE").AsTrimString(), q.FieldByName("USERCODE").AsTrimString(),
                          q.FieldByName("HCODE").AsString(), q.FieldByName("BCODE").AsString(), 0, 0});
  q.Close();
  codeTableSCode_ = SCode;
}

void TJisyoLoader::ResolveCodes(const std::string& Kind, std::string& KCode, std::string& HCode,
                                std::string& BCode) const {
  const std::string k = Trim(KCode), h = HCode, b = BCode;
  if (k.empty()) { KCode.clear(); HCode.clear(); BCode.clear(); return; }
  const bool byUserCode = Kind == "202" || Kind == "302";
  bool found = false, hFound = false, bFound = false;
  std::string kcode;
  for (const TKamokuCodeRec& row : codeTable_) {
    const std::string& compared = byUserCode ? row.USERCODE : row.KCODE;
    if (compared > k) break;
    if (compared != k) continue;
    found = true;
    kcode = row.KCODE;
    hFound = hFound || row.HCODE == h;
    bFound = bFound || row.BCODE == b;
  }
  if (!found) { KCode.clear(); HCode.clear(); BCode.clear(); return; }
  KCode = kcode;
  HCode = hFound ? HCode : std::string();
  BCode = bFound ? BCode : std::string();
}

void TJisyoLoader::ImportDictionary(bool Partner) {
  const std::string ti = Partner ? "TORDICTI" : "TEKDICTI";
  const std::string dic = Partner ? "TORDIC" : "TEKDIC";
  TIBSQL& q = Sql(0);
  TIBSQL& w = Sql(1);
  // 1. The dictionary's entries go; with every facility the classification names too.
  SetSql(w, "DELETE FROM " + dic + (AllSisetu == 0 ? " WHERE SCODE=:SCODE" : ""));
  if (AllSisetu == 0) w.ParamByName("SCODE").AsString(SisetuCode);
  w.ExecQuery();
  if (AllSisetu == 1) {
    SetSql(w, "UPDATE " + ti + " SET TEXT=''");
    w.ExecQuery();
  }
  // 2. The target's classifications numbered from 1 within each facility.
  SetSql(q, "SELECT CREC,SCODE FROM " + ti + (AllSisetu == 0 ? " WHERE SCODE=:SCODE" : "") + " ORDER BY SCODE,SORTCODE");
  if (AllSisetu == 0) q.ParamByName("SCODE").AsString(SisetuCode);
  std::vector<std::pair<int, int>> numbers;
  {
    std::string scode = "\x01";
    int n = 0;
    for (q.ExecQuery(); !q.Eof(); q.Next()) {
      const std::string s = q.FieldByName("SCODE").AsTrimString();
      if (s != scode) { scode = s; n = 0; }
      numbers.push_back({q.FieldByName("CREC").AsInteger(), ++n});
    }
    q.Close();
  }
  SetSql(w, "UPDATE " + ti + " SET SORTCODE=:SORTCODE WHERE CREC=:CREC");
  for (auto [crec, n] : numbers) {
    w.ParamByName("SORTCODE").AsInteger(n);
    w.ParamByName("CREC").AsInteger(crec);
    w.ExecQuery();
  }
  // 3. The file's lines.
  classMap_.clear();
  SetSql(q, "SELECT COALESCE(MAX(TEKCODE),0) FROM " + dic);
  q.ExecQuery();
  int tekCode = q.Fields(0).AsInteger();
  q.Close();
  const std::string classKind = Partner ? kindTorClass_ : kindTekClass_;
  const std::string entryKind = Partner ? kindTor_ : kindTek_;
  std::string scodeRun = "\x01";
  int number = 0;
  TIBSQL& ins = Sql(3);
  SetSql(ins, Partner ? "INSERT INTO TORDIC(TEKCODE,CREC,KANA,MCODE,TEXT,TEKTEXT,SCODE,\"ROW\",COL,KAR_KCODE,KAR_HCODE,"
                        "KAR_BCODE,KAR_TAXCODE,KAS_KCODE,KAS_HCODE,KAS_BCODE,KAS_TAXCODE,WAITFLG,TAXOLD,TAXNUM,MOVEMENT,RTIME)"
                        " VALUES(:TEKCODE,:CREC,:KANA,:MCODE,:TEXT,:TEKTEXT,:SCODE,:ROW,:COL,:KAR_KCODE,:KAR_HCODE,"
                        ":KAR_BCODE,:KAR_TAXCODE,:KAS_KCODE,:KAS_HCODE,:KAS_BCODE,:KAS_TAXCODE,:WAITFLG,:TAXOLD,:TAXNUM,"
                        ":MOVEMENT,:RTIME)"
                      : "INSERT INTO TEKDIC(TEKCODE,CREC,KANA,FNUM,TEXT,SCODE,\"ROW\",COL,KAR_KCODE,KAR_HCODE,KAR_BCODE,"
                        "KAR_TAXCODE,KAS_KCODE,KAS_HCODE,KAS_BCODE,KAS_TAXCODE,WAITFLG,TAXOLD,TAXNUM,MOVEMENT,HAIBUN,RTIME)"
                        " VALUES(:TEKCODE,:CREC,:KANA,:FNUM,:TEXT,:SCODE,:ROW,:COL,:KAR_KCODE,:KAR_HCODE,:KAR_BCODE,"
                        ":KAR_TAXCODE,:KAS_KCODE,:KAS_HCODE,:KAS_BCODE,:KAS_TAXCODE,:WAITFLG,:TAXOLD,:TAXNUM,:MOVEMENT,"
                        ":HAIBUN,:RTIME)");
  for (const std::string& line : lines_) {
    if (line.compare(0, 2, "//") == 0) continue;
    split_.Split(line);
    const std::string kind = Trim(split_.Item(0));
    if (kind != classKind && kind != entryKind) continue;
    std::string scode = AllSisetu == 1 ? split_.Item(2) : SisetuCode;
    if (scode.empty()) scode = " ";
    if (kind == classKind) {
      if (scode != scodeRun) { scodeRun = scode; number = 0; }
      ++number;
      SetSql(w, "UPDATE " + ti + " SET TEXT=:TEXT WHERE SCODE=:SCODE AND SORTCODE=:SORTCODE");
      w.ParamByName("TEXT").AsString(RestoredText(split_.Item(4)));
      w.ParamByName("SCODE").AsString(scode);
      w.ParamByName("SORTCODE").AsInteger(number);
      w.ExecQuery();
      SetSql(q, "SELECT CREC FROM " + ti + " WHERE SCODE=:SCODE AND SORTCODE=:SORTCODE");
      q.ParamByName("SCODE").AsString(scode);
      q.ParamByName("SORTCODE").AsInteger(number);
      q.ExecQuery();
      const int local = q.Eof() ? 0 : q.Fields(0).AsInteger();
      q.Close();
      classMap_.push_back(split_.Item(1) + "-" + scode + "=" + std::to_string(local));
      continue;
    }
    const int crec = MapValue(classMap_, split_.Item(1) + "-" + scode);
    if (crec < 1) continue;
    LoadCodeTable(scode);
    auto code = [&](const char* name, const std::string& value) {
      if (value.empty()) ins.ParamByName(name).Clear(); else ins.ParamByName(name).AsString(value);
    };
    std::string k1 = split_.Item(6), h1 = split_.Item(7), b1 = split_.Item(8);
    std::string k2 = split_.Item(10), h2 = split_.Item(11), b2 = split_.Item(12);
    ResolveCodes(kind, k1, h1, b1);
    ResolveCodes(kind, k2, h2, b2);
    ins.ParamByName("TEKCODE").AsInteger(++tekCode);
    ins.ParamByName("CREC").AsInteger(crec);
    ins.ParamByName("KANA").AsString(split_.Item(3));
    if (Partner) ins.ParamByName("MCODE").AsString("0"); else ins.ParamByName("FNUM").AsInteger(0);
    ins.ParamByName("TEXT").AsString(RestoredText(split_.Item(4)));
    if (Partner) ins.ParamByName("TEKTEXT").AsString(RestoredText(split_.Item(5)));
    ins.ParamByName("SCODE").AsString(scode);
    ins.ParamByName("ROW").AsInteger(0);
    ins.ParamByName("COL").AsInteger(0);
    code("KAR_KCODE", k1); code("KAR_HCODE", h1); code("KAR_BCODE", b1);
    ins.ParamByName("KAR_TAXCODE").AsInteger(StrToIntDef(Trim(split_.Item(9)), 910));
    code("KAS_KCODE", k2); code("KAS_HCODE", h2); code("KAS_BCODE", b2);
    ins.ParamByName("KAS_TAXCODE").AsInteger(StrToIntDef(Trim(split_.Item(13)), 910));
    ins.ParamByName("WAITFLG").AsInteger(StrToIntDef(Trim(split_.Item(14)), 0));
    ins.ParamByName("TAXOLD").AsInteger(GetZeiRituNo(StrToIntDef(Trim(split_.Item(15)), 0), AccInf.KIMATU));
    ins.ParamByName("TAXNUM").AsInteger(StrToIntDef(Trim(split_.Item(16)), 0));
    ins.ParamByName("MOVEMENT").AsInteger(StrToIntDef(Trim(split_.Item(17)), 0));
    if (!Partner) ins.ParamByName("HAIBUN").AsInteger(StrToIntDef(Trim(split_.Item(18)), 0));
    const std::string rtime = Trim(split_.Item(19));
    if (rtime.empty()) {
      ins.ParamByName("RTIME").Clear();
    } else {
      TDateTime t = 0;
      ins.ParamByName("RTIME").AsDateTime(TryStrToDateTime(rtime, t) ? t : Now());
    }
    ins.ExecQuery();
  }
  ins.Close();
  w.Close();
}

bool TJisyoLoader::ImportFile(const std::string& FileName) {
  classMap_.clear();
  codeTable_.clear();
  codeTableSCode_ = "**";
  lines_.clear();
  if (Trim(FileName).empty()) return false;
  if (!ReadLines(FileName) || lines_.empty() || !CheckHeader() || CountRecords() == 0) return false;
  TTransactionGuard guard(*transaction_);
  guard.Begin();
  if (JisyoKind == 0 || JisyoKind == 1) ImportDictionary(false);   // a failure rolls back our own transaction
  if (JisyoKind == 0 || JisyoKind == 2) ImportDictionary(true);
  guard.Commit();
  return true;
}
