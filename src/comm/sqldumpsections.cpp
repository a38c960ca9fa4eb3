// The 46 table sections of the accounting-data dump, in their order.
#include <algorithm>
#include <map>

#include "comm/sqldumpwriter.h"
#include "core/globals.h"
#include "platform/rtl/cp932.h"
#include "platform/rtl/sysutils.h"

namespace {

struct TSectionDef {
  const char* Table;
  const char* Order;
  const char* Header;   // empty: "INSERT INTO <table> VALUES"
  const char* Values;
  const char* AlsoRead;
  bool Batched;
};

// The values of a journal row (SIWAKE, KAKOSIWAKE1, KAKOSIWAKE2).
constexpr const char* kJournal =
    "REC, SWKREC, SWKNO, DELFLG, TAISHAKU, 'HIZUKE', MNUM, KESSAN, SDAYNUM, MDAYNUM, DNUM, SNUM, 'SCODE', SITREC, 'KGROUP', 'KCODE', 'HCODE', 'BCODE', KNAME:STR, HNAME:STR, BNAME:STR, TAXCODE, TAXUH, TAXDC, NUK, ZEI, RIT, SIKIN, 'R_KGROUP', 'R_KCODE', 'R_HCODE', 'R_BCODE', R_KNAME:STR, R_HNAME:STR, R_BNAME:STR, R_TAXCODE, R_TAXUH, R_TAXDC, R_NUK, R_ZEI, R_RIT, R_SIKIN, KINGAKU, ZEIGAKU, ZEIRITUNO, AUTCALCU, TAXCALCU, OLDRATE, TEKCODE, TEKTEXT:STR, TORCODE, TORTEXT:STR, FUSEN1, FUSEN2, FUSEN3, FUSEN4, FUSEN5, CTIME:DATETIME, COMMENT:STR, AO_COMMENT:STR, LINKKEY:STR, LINKKUB:INT, LINKREC:INT, LOCALFLG, RESERVE1, RESERVE2, RTIME:DATETIME, OPCODE";

const TSectionDef kSections[] = {
    {"ACCDEF1", "REC", "", "REC, GROUPID, ENTTEXT:STR, SERIAL:STR, TANTOU, GYOUSHU, DATATYPE, CODETYPE, SCODE1:STR, SCODE2:STR, SKANA:STR, SHOUGOU:STR, POST:STR, ADD1:STR, ADD2:STR, TEL:STR, AO_ADD1:STR, AO_ADD2:STR, AO_KANA:STR, AO_SIMEI:STR, AO_GYOUSHU:STR, AO_YAGO:STR, AO_KANYU:STR, AO_TEL:STR, AO_SHOKUGYO1:STR, AO_SHOKUGYO2:STR, @ZZKISHU, @ZKISHU, NENDO, 'KISHU', 'KIMATU', 'KAISI', SIME, KAISINO, GENGOU_FLG, GENGOU_HOSEI, 'GENGOU_NAME', 'YAKUMEI1', 'YAKUMEI2', 'YAKUMEI3', OLD_TAX_RATE1, OLD_TAX_RATE2, OLD_TAX_RATE3, OLD_TAX_RATE4, OLD_TAX_RATE5, NEW_TAX_RATE1, NEW_TAX_RATE2, NEW_TAX_RATE3, NEW_TAX_RATE4, NEW_TAX_RATE5, CHG_DAYS1:DATETIME, CHG_DAYS2:DATETIME, CHG_DAYS3:DATETIME, CHG_DAYS4:DATETIME, CHG_DAYS5:DATETIME, KANSA_FIXDATE:DATETIME, KANSA_DATE:DATETIME, CALCU, TAXU_HASUU, TAXH_HASUU, TAXDEFUH, TAXKANNI, TAXJIGYOU, GENKAPRINT, KANSA_LOCK, TEGATADICSW, KESSAN_KIKAN, CASHFLOW_KIKAN1, CASHFLOW_KIKAN2, CASHFLOWSW, SDAI_HASUU1, SDAI_HASUU2, SDAI_HASUU3, CONVERT, SHOUHYOU, SITEN, BUMON, DATALOCK, FUMEI_KCODE:STR, GENKA_USE, 'GENKA_HWORD1', 'GENKA_HWORD2', 'GENKA_HWORD3', 'GENKA_HWORD4', 'GENKA_HWORD5', 'GENKA_HWORD6', PASWORD:STR, WEB_HOLDER:STR", "SISCNT, BUMCNT, MAIL, ZZKISHU, ZKISHU, ACCTIME, HOJO_INS_MODE, SHOUHYOU_COPY, XSTR, KURIKOSI1, KURIKOSI2", false},
    {"ACCDEF2", "KCODE", "", "'KCODE', 'KNAME', 'KGROUP', HYOUJYUN", "", false},
    {"ACCDEF5", "SCODE, BCODE, MNUM", "", "'SCODE', 'BCODE', MNUM, NUM1, NUM2, NUM3, NUM4, NUM5, NUM6, NUM7, NUM8", "", false},
    {"ACCREG", "AGROUP, ACODE", "", "'AGROUP', 'ACODE', 'ATYPE', 'ATEXT', 'AMEMO'", "", false},
    {"ACCTOTALNAME", "REC", "", "REC, MB_JIGYOU, VERSION, 'KGROUP', KESKUBUN, ARRAYNUM, 'KOUMOKU', 'PLUSNAME', 'MINUSNAME', MODIFY", "LAYOUT_TEXT, LAYOUT_MAX, LAYOUT_USE, KESSAN_TEXT, KESSAN_USE", false},
    {"ACCVERSION", "", "", "", "", false},
    {"BUMONMST", "BCODE", "", "'BCODE', BNAME:STR, 'XSTR', KENSAKU_KEY:STR", "", false},
    {"BUNSEKI_SYUKEIHYO", "TITLE", "", "#, 'CODE', 'TITLE', CHOHYO_BS, CHOHYO_PL, SYUKEIKBN, ROW_JYODAN, ROW_CHUDAN, ROW_GEDAN", "RECKEY", false},
    {"CHARTINF", "OPCODE", "", "OPCODE, @CHART, CTYPE2, CTYPE3, CTYPE4, BAKCOL:COLOUR, FORCOL:COLOUR, GRID, FONTSIZE, ECOL1:COLOUR, ECOL2:COLOUR, ECOL3:COLOUR, ECOL4:COLOUR, THREE_D, HANREI, TANI, HASUU, RESERVE1, RESERVE2, RESERVE3", "", false},
    {"EXTERKS", "REC", "", "REC, KUBUN, 'KGROUP', SUBREC, 'KNAME1', KNAMELOCK, AO_KISHUZAN, AO_KIMATUZAN", "", false},
    {"FINMST", "F_CODE", "", "F_CODE, F_REC, 'F_KUBU', F_CAD, 'F_TEXT'", "", false},
    {"GROUPLIST", "GCODE, BCODE", "", "'GCODE', 'BCODE'", "", false},
    {"GROUPMST", "GCODE", "", "'GCODE', 'GNAME'", "", false},
    {"HIKAKU_BUMON", "PCODE, BCODE", "", "'PCODE', 'BCODE', NUMBER", "", false},
    {"HIKAKU_GROUP", "PCODE, GCODE", "", "'PCODE', 'GCODE', NUMBER", "", false},
    {"HIKAKU_PATTERN", "PCODE", "", "'PCODE', 'PNAME', JIGYOKBN", "", false},
    {"HIKAKU_SISETU", "PCODE, SCODE", "", "'PCODE', 'SCODE', NUMBER", "", false},
    {"HIKAKU_SISETU_GROUP", "PCODE, GCODE", "", "'PCODE', 'GCODE', JIGYOKBN, NUMBER", "", false},
    {"HIKAKU_SISETU_PATTERN", "PCODE", "", "'PCODE', 'PNAME', JIGYOKBN", "", false},
    {"HOJOMST", "KCODE, HCODE", "", "'KCODE', 'HCODE', HKANA:STR, HNAME:STR, REC, TAX_LCODE, TAX_RCODE, TAX_NUM, 'BPFLG', 'KENSAKU_KEY', OPCODE, 'XSTR', RTIME:DATETIME", "SIME, SAITO, CODATE, GENDO, WARIAISW, WARI1, WARI2, WARI3, TEGATA, YOKKMK, YOKHOJ, ADDRESS, KOUZA, BANK, SITEN, KANKEI, TORIHIK, RIRITU, RIYUU, TANPO, YOUTO, FURIKOMI, KARINAME, KARIDADD", false},
    {"JOBCONTROL", "PROC_ID", "", "#, =200, =0, =0, ='', 'PROC_ID'", "LEVELNO, PROC_OPTION", false},
    {"KAKOSIWAKE1", "REC", "", kJournal, "", true},
    {"KAKOSIWAKE2", "REC", "", kJournal, "", true},
    {"KAKOZAN", "NENDO, SCODE, BCODE, KCODE, HCODE", "", "NENDO, 'SCODE', 'BCODE', 'KCODE', 'HCODE', KISHU, KOMIZAN_1, NUKIZAN_1, IKKATSU_1, HAIBUN_1, KOMIZAN_2, NUKIZAN_2, IKKATSU_2, HAIBUN_2, KOMIZAN_3, NUKIZAN_3, IKKATSU_3, HAIBUN_3, KOMIZAN_4, NUKIZAN_4, IKKATSU_4, HAIBUN_4, KOMIZAN_5, NUKIZAN_5, IKKATSU_5, HAIBUN_5, KOMIZAN_6, NUKIZAN_6, IKKATSU_6, HAIBUN_6, KOMIZAN_7, NUKIZAN_7, IKKATSU_7, HAIBUN_7, KOMIZAN_8, NUKIZAN_8, IKKATSU_8, HAIBUN_8, KOMIZAN_9, NUKIZAN_9, IKKATSU_9, HAIBUN_9, KOMIZAN_10, NUKIZAN_10, IKKATSU_10, HAIBUN_10, KOMIZAN_11, NUKIZAN_11, IKKATSU_11, HAIBUN_11, KOMIZAN_12, NUKIZAN_12, IKKATSU_12, HAIBUN_12, KOMIZAN_13, NUKIZAN_13, IKKATSU_13, HAIBUN_13, KOMIZAN_14, NUKIZAN_14, IKKATSU_14, HAIBUN_14, KOMIZAN_15, NUKIZAN_15, IKKATSU_15, HAIBUN_15, KOMIZAN_16, NUKIZAN_16, IKKATSU_16, HAIBUN_16", "TRIGGER_SWITCH", false},
    {"KAMOKUMST", "KCODE", "", "'KCODE', 'USERCODE', REC, 'GROUPM0', 'GROUPM1', 'GROUPM2', 'GROUPR1', 'GROUPR2', KKANA:STR, KNAME:STR, USE, USEDEF, BLDAC, DAC, DELFLG, TAX_LCODE, TAX_RCODE, TAX_NUM, FUN_LCODE, FUN_RCODE, 'HOJOSW', 'BPFLG', 'KEIHKUBU', EXT1_A4:INT, EXT1_A3:INT, EXT1_KS:INT, TESSALY_BADRATE:FLOAT, TESSALY_BADKIND:INT, TESSALY_GOODRATE:FLOAT, TESSALY_GOODKIND:INT, TESSALY_YOJITU_RATE1:FLOAT, TESSALY_YOJITU_KIND1:INT, TESSALY_YOJITU_RATE2:FLOAT, TESSALY_YOJITU_KIND2:INT, @FUNDS, 'KENSAKU_KEY', 'XSTR', OPCODE, RTIME:DATETIME, GROUPM3:STR, EXT2_A4:STR, EXT2_A3:STR, EXT3_A4:STR, EXT3_A3:STR, EXT4_A4:STR, EXT4_A3:STR", "", false},
    {"KAMOKU_MS", "SCODE, KCODE, HCODE, BCODE, MNUM", "", "'SCODE', 'KCODE', 'HCODE', 'BCODE', MNUM, KAR_NUK, KAR_TAX, KAR_IKKATSU, KAS_NUK, KAS_TAX, KAS_IKKATSU, BYOSAN, BYOSOKU, RYOSAN, BYOSAN2, BYOSAN3", "", true},
    {"KAMOKU_SZ", "SCODE, KCODE, HCODE, BCODE", "", "'SCODE', 'KCODE', 'HCODE', 'BCODE', KISHU_KOMI, KISHU_NUKI, HAIBUN01, HAIBUN02, HAIBUN03, HAIBUN04, HAIBUN05, HAIBUN06, HAIBUN07, HAIBUN08, HAIBUN09, HAIBUN10, HAIBUN11, HAIBUN12, HAIBUN13, HAIBUN14, HAIBUN15, HAIBUN16, KAKOZAN", "KAISIZAN", true},
    {"KAMOKU_TAX", "SCODE, BCODE, KKUBUN, MNUM", "", "'SCODE', 'BCODE', KKUBUN, MNUM, KAR, KAS", "", false},
    {"MB_KMKGROUP", "GCODE, KCODE", "", "'GCODE', 'KCODE'", "", false},
    {"TESSALY_HIKAKU", "REC", "", "REC, BUNRUI, 'MEISHOU', 'TANIMEI', BADRATE, BADKIND, GOODRATE, GOODKIND, 'GROUPA1', 'GROUPA2', 'GROUPB1', 'GROUPB2'", "", false},
    {"TESSALY_HIKAKU_COL", "REC", "", "REC, NUM, MEISHOU:STR", "", false},
    {"TESSALY_YOJITUHENDOU", "REC", "", "REC, MEISHOU:STR, RATE1, KIND1, RATE2, KIND2", "", false},
    {"SISETUBUM", "SCODE, BCODE", "", "'SCODE', 'BCODE', HAIBUN", "", false},
    {"SISETUGROUP", "GCODE", "", "'GCODE', GNAME:STR", "", false},
    {"SISETUGROUPLIST", "GCODE, SCODE", "", "'GCODE', 'SCODE'", "", false},
    {"SISETUMST", "SCODE", "", "'SCODE', SNAME:STR, ADDUP, BUMEX, 'XSTR1', 'XSTR2', 'XSTR3', 'XSTR4', 'XSTR5', 'XSTR6', ='', ='', SIWAKECOUNT, 'KENSAKU_KEY', 'XSTR', MB_JIGYOU, MB_SINRYOZYO, 'MB_SISETU_NUM', 'MB_SYOZAITI'", "XSTR7, XSTR8", false},
    {"SIWAKE", "REC", "", kJournal, "", true},
    {"SIWAKE2", "REC", "", "REC, SWKREC, 'LINKKEY', LINKKUB:INT, LINKREC:INT", "", true},
    {"SWK_SEARCH", "REC", "INSERT INTO SWK_SEARCH(REC,NAME,KIND,STYPE,SSTR) VALUES", "REC, NAME:STR, KIND, STYPE, 'SSTR'", "SBIN", false},
    {"TAXMST", "TAX_CODE", "", "TAX_CODE, TAX_REC, 'TAX_GNAM', 'TAX_NAME', TAX_HOUSIKI, TAX_UH, TAX_DAC, 'TAX_NAME2'", "", false},
    {"MSD_HOUKOKU", "MDGROUP, MDCODE", "INSERT INTO MSD_HOUKOKU(MDGROUP,MDCODE,MDTYPE,MDTEXT1,MDTEXT2,MDTEXT3) VALUES", "MDGROUP:STR, MDCODE:STR, MDTYPE:STR, MDTEXT1:STR, MDTEXT2:STR, MDTEXT3:STR", "MDNOTE", false},
    {"AOPRO_YOSAN_KANRI", "FYOSAN_ID", "INSERT INTO AOPRO_YOSAN_KANRI(FYOSAN_ID,FYOSAN_NAME,FYOSAN_HOUHOU,FJISSEKI_TUKI16,FYOSOKU_HOUHOU,FZOUGENRITU,FIS_DIRECT_ZANDAKA,FANBUN_HOUHOU,FTOUKI_BUILD) VALUES", "FYOSAN_ID:INT, FYOSAN_NAME:STR, FYOSAN_HOUHOU:INT, FJISSEKI_TUKI16:INT, FYOSOKU_HOUHOU:INT, FZOUGENRITU:DOUBLE, FIS_DIRECT_ZANDAKA:INT, FANBUN_HOUHOU:INT, FTOUKI_BUILD:INT", "", false},
    {"AOPRO_KAMOKU_YOSAN", "FYOSAN_ID, FNENDO, FSCODE, FKCODE, FHCODE, FBCODE, FMNUM", "INSERT INTO AOPRO_KAMOKU_YOSAN(FYOSAN_ID,FNENDO,FSCODE,FKCODE,FHCODE,FBCODE,FMNUM,FYOSAN) VALUES", "FYOSAN_ID:INT, FNENDO:INT, FSCODE:STR, FKCODE:STR, FHCODE:STR, FBCODE:STR, FMNUM:INT, FYOSAN:CURR", "", false},
    {"AOPRO_YOSAN_KIHONRULE", "", "", "#, FKOMOKU:STR, FROW:INT, FKBN:STR, FWARIAI:DOUBLE, FSITE:INT, FMEMO:STR, FHIZUKE:DATETIME, FKINGAKU:CURR", "", false},
    {"KAMOKU_KOSEI_GROUP", "FGNAME, FKCODE", "INSERT INTO KAMOKU_KOSEI_GROUP(FGNAME,FKCODE,FHCODE) VALUES", "FGNAME:STR, FKCODE:STR, FHCODE:STR", "", false},
    {"TESSALY_YOJITU_HYOKARULE", "FGCODE", "INSERT INTO TESSALY_YOJITU_HYOKARULE(FGCODE,FMEISHOU,FBAD_RATE,FBAD_HANI,FGOOD_RATE,FGOOD_HANI) VALUES", "FGCODE:STR, FMEISHOU:STR, FBAD_RATE:DOUBLE, FBAD_HANI:INT, FGOOD_RATE:DOUBLE, FGOOD_HANI:INT", "", false},
};

const TSectionDef& Def(const std::string& table) {
  for (const auto& d : kSections)
    if (table == d.Table) return d;
  throw Exception("unknown dump section " + table);
}

std::string Trim(const std::string& s) {
  const auto b = s.find_first_not_of(' ');
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

std::vector<std::string> SplitList(const std::string& text) {
  std::vector<std::string> out;
  std::string::size_type start = 0;
  while (start <= text.size()) {
    const auto comma = text.find(',', start);
    const std::string item = Trim(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (!item.empty()) out.push_back(item);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return out;
}

// The chart kind of CTYPE1.
int ChartKind(int ctype1) {
  switch (ctype1) {
    case 2:
    case 5: return 2;
    case 3:
    case 4: return 3;
    default: return 0;
  }
}

int FundsClass(const TIBXSQLVAR& f) {
  if (f.IsNull()) return 0;
  try {
    std::size_t used = 0;
    const std::string text = Trim(f.AsString());
    const int value = std::stoi(text, &used);
    return used == text.size() ? value : 0;
  } catch (const std::exception&) {
    return 0;
  }
}

// Twenty-five operator settings that the service receives as ACCREG rows.
struct TAccregSetting {
  const char* Group;
  const char* Key;
  bool Text;
  std::string Value;
};

std::vector<TAccregSetting> AccregSettings() {
  const TSystemDef& s = SystemDef;
  auto bit = [](std::int32_t v, int b) { return std::to_string((v >> b) & 1); };
  auto num = [](std::int32_t v) { return std::to_string(v); };
  return {
      {"環境設定", "証憑列表示区分", false, bit(s.Reserve4, 2)},
      {"環境設定", "支店毎連番表示区分", false, bit(s.Reserve4, 3)},
      {"環境設定", "３期比較年度出力順区分", false, bit(s.Reserve4, 10)},
      {"環境設定", "部門帳票２行印刷区分", false, num(s.SwkLine)},
      {"環境設定", "税額参考印刷区分", false, num(s.Reserve1)},
      {"環境設定", "元帳最終取引残高印刷区分", false, num(s.LedgerLastBalance)},
      {"環境設定", "元帳タイトル科目名称出力区分", false, num(s.LedgerTitleOutput)},
      {"環境設定", "両面印刷罫線出力区分", false, num(s.BackRulePrint)},
      {"環境設定", "インデックス出力区分", false, num(s.LedgerTagMark)},
      {"環境設定", "名称金額出力区分", false, num(s.KingakuPlus)},
      {"環境設定", "試算表集計区分印刷区分", false, num(s.SisanTotalOutput)},
      {"環境設定", "貸借対照表集計期間印刷区分", false, num(s.SisanPeriodOutput)},
      {"環境設定", "負債の部改ページ区分", false, num(s.SisanBsPageBreak)},
      {"環境設定", "試算表タイトル変更区分", false, num(s.SisanTitleOutput)},
      {"環境設定", "試算表タイトル", true, s.SisanTitle},
      {"環境設定", "２期試算表タイトル", true, s.Sisan2Title},
      {"環境設定", "試算表貸借対照表", true, s.BsTitles[0]},
      {"環境設定", "試算表資産の部", true, s.AssetTitles[0]},
      {"環境設定", "試算表負債・純資産の部", true, s.LiabilityTitles[0]},
      {"環境設定", "試算表損益計算書", true, s.PlTitles[0]},
      {"環境設定", "試算表販売費・一般管理費", true, ""},
      {"決算書", "損失金額△区分", false, num(s.SankakuPlus)},
      {"決算書", "残高０円科目出力区分", false, num(s.ZeroPrint)},
      {"決算書", "負債の部改ページ区分", false, bit(s.Reserve2, 0)},
      {"決算書", "外枠可変区分", false, bit(s.Reserve2, 1)},
  };
}

std::string Lit(const std::string& text) { return "'" + EscapeQuotes(text) + "'"; }

}  // namespace

std::vector<std::string> DumpSectionTables() {
  std::vector<std::string> out;
  for (const auto& d : kSections) out.emplace_back(d.Table);
  return out;
}

std::vector<TDumpColumn> ParseDumpColumns(const std::string& Values) {
  std::vector<TDumpColumn> out;
  for (const std::string& tok : SplitList(Values)) {
    TDumpColumn c;
    if (tok == "#") {
      c.From = TDumpColumn::Source::RowNumber;
    } else if (tok[0] == '=') {
      c.From = TDumpColumn::Source::Literal;
      c.Name = tok.substr(1);
    } else if (tok == "@ZZKISHU") {
      c.From = TDumpColumn::Source::PrevPrevStart;
    } else if (tok == "@ZKISHU") {
      c.From = TDumpColumn::Source::PrevStart;
    } else if (tok == "@CHART") {
      c.From = TDumpColumn::Source::ChartKind;
      c.Name = "CTYPE1";
    } else if (tok == "@FUNDS") {
      c.From = TDumpColumn::Source::FundsClass;
      c.Name = "SIKINGURIKUBUN";
    } else if (tok.size() > 2 && tok.front() == '\'' && tok.back() == '\'') {
      c.Name = tok.substr(1, tok.size() - 2);
      c.Kind = TDumpKind::Quoted;
    } else if (const auto colon = tok.find(':'); colon != std::string::npos) {
      c.Name = tok.substr(0, colon);
      const std::string kind = tok.substr(colon + 1);
      c.Kind = kind == "COLOUR" ? TDumpKind::Colour : DumpKindOf(kind);
    } else {
      c.Name = tok;
    }
    out.push_back(std::move(c));
  }
  return out;
}

namespace {

// SELECT of a catalogue section: the written columns (Expressions may give a
// column's value instead of reading it) and the also-read columns.
std::string SelectOf(const TSectionDef& d, const std::map<std::string, std::string>& Expressions,
                     const std::string& Source, const std::string& Where) {
  std::vector<std::string> names;
  for (const auto& c : ParseDumpColumns(d.Values))
    if (!c.Name.empty() && c.From != TDumpColumn::Source::Literal) names.push_back(c.Name);
  for (const auto& n : SplitList(d.AlsoRead)) names.push_back(n);
  if (std::string(d.Table) == "ACCDEF1") names.insert(names.end(), {"ZZKISHU", "ZKISHU"});
  std::string sql = "SELECT ";
  bool first = true;
  std::vector<std::string> seen;
  for (const auto& n : names) {
    if (std::find(seen.begin(), seen.end(), n) != seen.end()) continue;
    seen.push_back(n);
    if (!first) sql += ", ";
    first = false;
    const auto e = Expressions.find(n);
    sql += e == Expressions.end() ? n : e->second + " AS " + n;
  }
  sql += " FROM " + (Source.empty() ? std::string(d.Table) : Source);
  if (!Where.empty()) sql += " WHERE " + Where;
  if (d.Order[0]) sql += std::string(" ORDER BY ") + d.Order;
  return sql;
}

std::string HeaderOf(const TSectionDef& d) {
  if (d.Header[0]) return d.Header;
  const std::string t = d.Table;
  if (t == "KAMOKU_MS")
    return "INSERT INTO KAMOKU_MS\r\n(SCODE,KCODE,HCODE,BCODE,MNUM,KAR_NUK,KAR_TAX,KAR_IKKATSU,KAS_NUK,KAS_TAX,"
           "KAS_IKKATSU,BYOSAN,BYOSOKU,RYOSAN,BYOSAN2,BYOSAN3)\r\nVALUES";
  if (t == "KAMOKU_SZ")
    return "INSERT INTO KAMOKU_SZ\r\n(SCODE,KCODE,HCODE,BCODE,KISHU_KOMI,KISHU_NUKI,\r\n"
           "HAIBUN01,HAIBUN02,HAIBUN03,HAIBUN04,HAIBUN05,HAIBUN06,HAIBUN07,HAIBUN08,HAIBUN09,HAIBUN10,HAIBUN11,"
           "HAIBUN12,HAIBUN13,HAIBUN14,HAIBUN15,HAIBUN16,KAKOZAN)\r\nVALUES";
  return "INSERT INTO " + t + " VALUES";
}

}  // namespace

std::string TDumpWriter::Row(const std::vector<TDumpColumn>& Columns, int RowNumber) {
  TIBSQL& q = dump_.query_;
  std::string row = "(";
  bool first = true;
  for (const auto& c : Columns) {
    if (!first) row += ",";
    first = false;
    switch (c.From) {
      case TDumpColumn::Source::Column: row += FieldValue(q.FieldByName(c.Name), c.Kind); break;
      case TDumpColumn::Source::RowNumber: row += std::to_string(RowNumber); break;
      case TDumpColumn::Source::Literal: row += c.Name; break;
      case TDumpColumn::Source::PrevPrevStart:
        row += "'" + FormatDateTime("yyyy/mm/dd", AccInf.KishuTable[2]) + "'";
        break;
      case TDumpColumn::Source::PrevStart: row += "'" + FormatDateTime("yyyy/mm/dd", AccInf.KishuTable[1]) + "'"; break;
      case TDumpColumn::Source::ChartKind: {
        const auto& f = q.FieldByName(c.Name);
        row += std::to_string(f.IsNull() ? 0 : ChartKind(f.AsInteger()));
        break;
      }
      case TDumpColumn::Source::FundsClass: row += std::to_string(FundsClass(q.FieldByName(c.Name))); break;
    }
  }
  return row + ")";
}

int TDumpWriter::Section(const std::string& Table, const std::string& Sql, const std::string& Header,
                         const std::vector<TDumpColumn>& Columns, bool Batched, int Limit, int* RowNumber,
                         bool DeleteLine, TSectionEnd End,
                         const std::vector<std::pair<std::string, std::string>>& TextParams) {
  TIBSQL& q = dump_.query_;
  if (DeleteLine) Line("DELETE FROM " + Table + ";");
  q.Close();
  q.SQL.SetText(Sql);
  for (const auto& [name, value] : TextParams) q.ParamByName(name).AsString(value);
  int local = 0;
  int& number = RowNumber ? *RowNumber : local;
  int written = 0;
  q.ExecQuery();
  while (!q.Eof()) {
    if (written == 0) Line(Header);
    ++number;
    ++written;
    std::string row = Row(Columns, number);
    q.Next();
    if (q.Eof() || (Limit > 0 && written >= Limit)) {
      row += ";";
      Raw(row);
      break;
    }
    if (Batched && written % dump_.RowsPerStatement == 0)
      row += ";\r\n" + Utf8ToCp932Lossy(Header) + "\r\n";
    else
      row += ",";
    Raw(row);
  }
  q.Close();
  if ((written > 0 && End != TSectionEnd::None) || (written == 0 && End == TSectionEnd::Always)) Line("");
  return written;
}

void TDumpWriter::AccregRows() {
  for (const auto& s : AccregSettings())
    ScriptLine(std::string("INSERT INTO ACCREG VALUES(") + Lit(s.Group) + "," + Lit(s.Key) + "," +
               Lit(s.Text ? "文字" : "整数") + "," + (s.Text ? Lit(s.Value) : s.Value) + ",'');");
}

void TDumpWriter::AccVersion() {
  Line("DELETE FROM ACCVERSION;");
  Line("INSERT INTO ACCVERSION(MAJOR,MINOR,REV,MEMO) VALUES");
  Line("(" + std::to_string(AccInf.VerMajor) + "," + std::to_string(AccInf.VerMinor1) + "," +
       std::to_string(AccInf.VerMinor2) + "," + DateTimeValue(TDumpKind::DateTime, Now()) + ");");
}

void TDumpWriter::ChartInf() {
  const TSectionDef& d = Def("CHARTINF");
  const int rows = Section(d.Table, SelectOf(d, {}, "", "OPCODE = 100009999"), HeaderOf(d),
                           ParseDumpColumns(d.Values), false, 0, nullptr, true, TSectionEnd::RowsOnly);
  if (rows == 0)
    Line("INSERT INTO CHARTINF VALUES(100009999,0,0,0,0,16777215,0,3,2,255,16776960,16711680,65535,20,0,0,0,0,0,0);");
}

void TDumpWriter::KihonRule() {
  TIBSQL& q = dump_.query_;
  Line("DELETE FROM AOPRO_YOSAN_KIHONRULE;");
  if (!From802) {
    Line("");
    return;
  }
  q.Close();
  q.SQL.SetText("SELECT COUNT(*) FROM AOPRO_YOSAN_KIHONRULE");
  q.ExecQuery();
  const int count = q.Fields(0).AsInteger();
  q.Close();
  if (count == 0) {
    static const char* const kDefaults[] = {
        "('売上債権',1,'現金',100.0,0,'','1899/12/31',0)", "('売上債権',2,'掛',0.0,2,'','1899/12/31',0)",
        "('売上債権',3,'手形',0.0,2,'','1899/12/31',0)",   "('仕入債務',1,'現金',100,0.0,'','1899/12/31',0)",
        "('仕入債務',2,'掛',0.0,2,'','1899/12/31',0)",     "('仕入債務',3,'手形',0.0,2,'','1899/12/31',0)",
    };
    for (const char* values : kDefaults) {
      q.SQL.SetText(std::string("INSERT INTO AOPRO_YOSAN_KIHONRULE(FKOMOKU,FROW,FKBN,FWARIAI,FSITE,FMEMO,FHIZUKE,"
                             "FKINGAKU) VALUES") + values);
      q.ExecQuery();
      q.Close();
    }
    q.Transaction()->CommitRetaining();
  }
  const TSectionDef& d = Def("AOPRO_YOSAN_KIHONRULE");
  const auto columns = ParseDumpColumns(d.Values);
  const std::string header =
      "INSERT INTO AOPRO_YOSAN_KIHONRULE(FID,FKOMOKU,FROW,FKBN,FWARIAI,FSITE,FMEMO,FHIZUKE,FKINGAKU) VALUES";
  const std::string select =
      "SELECT FKOMOKU, FROW, FKBN, FWARIAI, FSITE, FMEMO, FHIZUKE, FKINGAKU FROM AOPRO_YOSAN_KIHONRULE ";
  int number = 0;
  Section(d.Table, select + "WHERE (FKOMOKU<>'納税')AND(FKOMOKU<>'その他') ORDER BY FKOMOKU, FROW", header,
          columns, false, 0, &number, false, TSectionEnd::RowsOnly);
  ScriptLine("DELETE FROM AOPRO_YOSAN_KIHONRULE WHERE (FKOMOKU='売上債権') AND (FKBN='設定単位');");
  ScriptLine("DELETE FROM AOPRO_YOSAN_KIHONRULE WHERE (FKOMOKU='仕入債務') AND (FKBN='設定単位');");
  ScriptLine("DELETE FROM AOPRO_YOSAN_KIHONRULE WHERE (FKOMOKU='未払金／未払費用');");
  Section(d.Table, select + "WHERE FKOMOKU='納税' ORDER BY FKOMOKU, FHIZUKE, FROW", header, columns, false, 10,
          &number, false, TSectionEnd::RowsOnly);
  Section(d.Table, select + "WHERE FKOMOKU='その他' ORDER BY FKOMOKU, FHIZUKE, FROW", header, columns, false, 10,
          &number, false, TSectionEnd::RowsOnly);
  Line("");
}

void TDumpWriter::KoseiGroup() {
  const TSectionDef& d = Def("KAMOKU_KOSEI_GROUP");
  ScriptLine("DELETE FROM KAMOKU_KOSEI_GROUP;");
  Line("");
  const std::string tail = "DELETE FROM KAMOKU_KOSEI_GROUP WHERE (FGNAME='未払金／未払費用');";
  if (From802) {
    // The closing statement follows the rows' ";" on the same line.
    Section(d.Table, SelectOf(d, {{"FHCODE", "CAST('' AS VARCHAR(10))"}}, "", ""), d.Header,
                             ParseDumpColumns(d.Values), false, 0, nullptr, false, TSectionEnd::None);
  }
  ScriptLine(tail);
}

void TDumpWriter::Sections() {
  const std::string null10 = "CAST(NULL AS VARCHAR(10))";
  for (const auto& d : kSections) {
    const std::string table = d.Table;
    const auto columns = ParseDumpColumns(d.Values);
    std::map<std::string, std::string> expr;
    std::string source, where;
    std::vector<std::pair<std::string, std::string>> params;
    bool limitMet = true;
    if (table == "ACCVERSION") {
      AccVersion();
      continue;
    }
    if (table == "CHARTINF") {
      ChartInf();
      continue;
    }
    if (table == "AOPRO_YOSAN_KIHONRULE") {
      KihonRule();
      continue;
    }
    if (table == "KAMOKU_KOSEI_GROUP") {
      KoseiGroup();
      continue;
    }
    if (table == "ACCREG") {
      where = "AGROUP <> :AGROUP";
      params = {{"AGROUP", "経営テサリー"}};
    }
    if (table == "ACCTOTALNAME" && !Medical) expr = {{"MB_JIGYOU", "0"}};
    if (table == "SISETUMST" && !Medical)
      expr = {{"MB_JIGYOU", "0"}, {"MB_SINRYOZYO", "0"}, {"MB_SISETU_NUM", "CAST('' AS VARCHAR(10))"},
              {"MB_SYOZAITI", "CAST('' AS VARCHAR(10))"}};
    if (table == "KAMOKUMST" && !Medical) {
      expr = {{"GROUPR1", "GROUPM1"}, {"GROUPR2", "GROUPM2"}};
      for (const char* n : {"GROUPM3", "EXT2_A4", "EXT2_A3", "EXT3_A4", "EXT3_A3", "EXT4_A4", "EXT4_A3"})
        expr[n] = null10;
    }
    if (table == "KAMOKU_MS" && !From802) expr = {{"BYOSAN2", "0"}, {"BYOSAN3", "0"}};
    if (table == "JOBCONTROL") {
      source = "JOBCONTROL2";
      where = "LEVELNO = " + std::to_string(dump_.MenuLevel);
      if (!From802) {
        Line("DELETE FROM JOBCONTROL;");
        continue;
      }
    }
    if (table == "MSD_HOUKOKU") limitMet = Medical;
    if (table.rfind("AOPRO_", 0) == 0 || table == "TESSALY_YOJITU_HYOKARULE") limitMet = From802;
    if (!limitMet) {
      Line("DELETE FROM " + table + ";");
      Line("");
      continue;
    }
    Section(table, SelectOf(d, expr, source, where), HeaderOf(d), columns, d.Batched, 0, nullptr, true,
            TSectionEnd::Always, params);
    if (table == "ACCREG") AccregRows();
  }
}
