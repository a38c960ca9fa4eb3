// The operator's settings in the system database: table SYSDEF (one row per
// operator), the typed store SYSREG and the SYSTEMINI rows of the office and
// the operator restriction, read into SystemDef after the logon and written
// back from it.
#include <functional>
#include <vector>

#include "core/globals.h"
#include "core/settings.h"
#include "core/textutil.h"
#include "dbaccess/dbui.h"
#include "dbaccess/fberror.h"
#include "dbaccess/systemstore.h"
#include "platform/fb/ibx.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/sysutils.h"

namespace {

bool AltOem() { return OemKind == 1 || OemKind == 2; }

// The integer columns of SYSDEF that the operator settings carry, with their fields.
struct TSysDefIntColumn {
  const char* Column;
  std::int32_t TSystemDef::*Field;
};

// clang-format off
const TSysDefIntColumn kIntColumns[] = {
    {"MFTop", &TSystemDef::MFTop}, {"MFLeft", &TSystemDef::MFLeft}, {"MFWidth", &TSystemDef::MFWidth},
    {"MFHeight", &TSystemDef::MFHeight}, {"LastMenu", &TSystemDef::LastMenu},
    {"FontSize", &TSystemDef::FontSize}, {"FontStyle", &TSystemDef::FontStyle},
    {"FontCharset", &TSystemDef::FontCharSet}, {"FontHeight", &TSystemDef::FontHeight},
    {"GridResize", &TSystemDef::GridResize}, {"ShowHint", &TSystemDef::ShowHint},
    {"GridMaxRow", &TSystemDef::GridMaxRow}, {"GridRsiz", &TSystemDef::GridRsiz},
    {"ClientColor", &TSystemDef::ClientColor}, {"ClientColor1", &TSystemDef::ClientColor1},
    {"ClientColor2", &TSystemDef::ClientColor2}, {"ClientColor3", &TSystemDef::ClientColor3},
    {"ForeColor", &TSystemDef::ForeColor}, {"BorderColor", &TSystemDef::BorderColor},
    {"ActiveColor", &TSystemDef::ActiveColor}, {"ThruBorderColor", &TSystemDef::ThruBorderColor},
    {"ColHeaderColor", &TSystemDef::ColHeaderColor}, {"FixedTopColor", &TSystemDef::FixedTopColor},
    {"RowHeaderColor", &TSystemDef::RowHeaderColor}, {"FixedLeftColor", &TSystemDef::FixedLeftColor},
    {"TotalColor", &TSystemDef::TotalColor}, {"NetColor1", &TSystemDef::NetColor1},
    {"NetColor2", &TSystemDef::NetColor2}, {"PLineColor1", &TSystemDef::PLineColor1},
    {"PLineColor2", &TSystemDef::PLineColor2}, {"PreviewZOOM", &TSystemDef::PreviewZOOM},
    {"PanelColor", &TSystemDef::PanelColor}, {"PanelBackColor", &TSystemDef::PanelBackColor},
    {"MenuPrintSw", &TSystemDef::MenuPrintSw}, {"HojWait", &TSystemDef::HojWait},
    {"DicSwitch", &TSystemDef::DicSwitch}, {"DicTekAuto", &TSystemDef::DicTekAuto},
    {"DicTorAuto", &TSystemDef::DicTorAuto}, {"DicUsednt", &TSystemDef::DicUsednt},
    {"DicType", &TSystemDef::DicType}, {"DicNum1", &TSystemDef::DicNum1}, {"DicNum2", &TSystemDef::DicNum2},
    {"DicSortType", &TSystemDef::DicSortType}, {"ColHeaderGradColor1", &TSystemDef::ColHeaderGradColor1},
    {"ColHeaderGradColor2", &TSystemDef::ColHeaderGradColor2}, {"ShowDataSentaku", &TSystemDef::ShowDataSentaku},
    {"UserPrint", &TSystemDef::UserPrint}, {"SwkTotal", &TSystemDef::SwkTotal}, {"SwkLine", &TSystemDef::SwkLine},
    {"KingakuPlus", &TSystemDef::KingakuPlus}, {"ZeroPrint", &TSystemDef::ZeroPrint},
    {"SankakuPlus", &TSystemDef::SankakuPlus}, {"TEK_AUTOUP", &TSystemDef::TekAutoUp},
    {"TOR_AUTOUP", &TSystemDef::TorAutoUp}, {"Reserve1", &TSystemDef::Reserve1},
    {"Reserve2", &TSystemDef::Reserve2}, {"Reserve3", &TSystemDef::Reserve3},
    {"Reserve4", &TSystemDef::Reserve4}, {"Reserve5", &TSystemDef::Reserve5},
};
// clang-format on

struct TSysDefTextColumn {
  const char* Column;
  std::string TSystemDef::*Field;
};
const TSysDefTextColumn kTextColumns[] = {
    {"DataDir", &TSystemDef::DataDir},       {"PrinterName", &TSystemDef::PrinterName},
    {"FontName", &TSystemDef::FontName},     {"ZenkaiDrive", &TSystemDef::ZenkaiDrive},
    {"SSTR", &TSystemDef::SysDefText},
};

// Bits of Reserve4 and the flag each one carries (bits 5 and 6 are the choice).
struct TReserve4Bit {
  int Bit;
  std::int32_t TSystemDef::*Field;
};
const TReserve4Bit kReserve4Bits[] = {
    {1, &TSystemDef::KyoyuDataAuto},  {2, &TSystemDef::ServerListUpdate}, {3, &TSystemDef::Reserve4Flag3},
    {4, &TSystemDef::Reserve4Flag4},  {7, &TSystemDef::LedgerLastBalance}, {8, &TSystemDef::Reserve4Flag8},
    {9, &TSystemDef::Reserve4Flag9},  {10, &TSystemDef::WarekiDisplay},    {11, &TSystemDef::Reserve4Flag11},
};

void UnpackFlags() {
  TSystemDef& s = SystemDef;
  s.Reserve2Flag1 = TestBitFlag(s.Reserve2, 1);
  s.Reserve2Flag2 = TestBitFlag(s.Reserve2, 2);
  for (const TReserve4Bit& bit : kReserve4Bits) s.*bit.Field = TestBitFlag(s.Reserve4, bit.Bit);
  s.Reserve4Choice56 = TestBitFlag(s.Reserve4, 5) ? 1 : TestBitFlag(s.Reserve4, 6) ? 2 : 0;
}

void PackFlags() {
  TSystemDef& s = SystemDef;
  s.Reserve2 = 0;
  if (s.Reserve2Flag1 == 1) SetBitFlag(s.Reserve2, 1);
  if (s.Reserve2Flag2 == 1) SetBitFlag(s.Reserve2, 2);
  s.Reserve4 = 0;
  for (const TReserve4Bit& bit : kReserve4Bits)
    if (s.*bit.Field == 1) SetBitFlag(s.Reserve4, bit.Bit);
  if (s.Reserve4Choice56 == 1) SetBitFlag(s.Reserve4, 5);
  else if (s.Reserve4Choice56 == 2) SetBitFlag(s.Reserve4, 6);
}

const char* const kMsgGet = "システム情報の取得に失敗しました。\rアプリケーションを終了します。";
const char* const kMsgPut = "システム情報の書き込みに失敗しました。\r現在のシステム設定は保存されません。";

const std::string kInt = "整数";
const std::string kText = "文字";

// The eight input keys and their fields, in the order they are read and written.
struct TInputKey {
  const char* Key;
  std::int32_t TSystemDef::*Field;
  const char* Default;
};
const TInputKey kInputKeys[] = {
    {"摘要＿辞書開く区分", &TSystemDef::TekDicOpen, "1"},    {"摘要＿連想開く区分", &TSystemDef::TekRensouOpen, "0"},
    {"摘要＿自動開く区分", &TSystemDef::TekAutoOpen, "0"},   {"摘要＿入力なし区分", &TSystemDef::TekNoInput, "0"},
    {"取引先＿辞書開く区分", &TSystemDef::TorDicOpen, "1"},  {"取引先＿連想開く区分", &TSystemDef::TorRensouOpen, "0"},
    {"取引先＿自動開く区分", &TSystemDef::TorAutoOpen, "0"}, {"取引先＿入力なし区分", &TSystemDef::TorNoInput, "0"},
};

// First-use input defaults: the ordinary ones, then those of the alternative edition.
const int kInputFirstUse[8] = {1, 0, 1, 0, 1, 0, 1, 0};
const int kInputFirstUseAlt[8] = {0, 1, 1, 0, 1, 0, 0, 0};

}  // namespace

bool TSystemStore::fnGetSysDef() {
  TSystemDef& s = SystemDef;
  const std::int32_t op = s.OpCode;
  TTransactionGuard scope(IBTransactionDEF);
  try {
    scope.Begin();
    auto openSelect = [&]() {
      SetSql(IBQSysDefGet, "SELECT * FROM SYSDEF WHERE OPCODE=:OPCODE");
      if (!IBQSysDefGet.Prepared()) IBQSysDefGet.Prepare();
      IBQSysDefGet.ParamByName("OPCODE").AsInteger(op);
      IBQSysDefGet.Open();
    };
    openSelect();
    if (IBQSysDefGet.Eof()) {
      IBQSysDefGet.Close();
      SetSql(IBQSysDefPut, 
          "INSERT INTO SYSDEF(OPCODE,SankakuPlus,ColHeaderColor,ColHeaderGradColor1,ColHeaderGradColor2,\n"
          "ClientColor,ClientColor1,ClientColor2,TotalColor,ActiveColor,NetColor1,NetColor2,PLineColor1,PLineColor2,"
          "DICSWITCH,DicTekAuto,DicTorAuto)\n"
          "VALUES(:OPCODE,1,:ColHeaderColor,:ColHeaderGradColor1,:ColHeaderGradColor2,\n"
          ":ClientColor,:ClientColor1,:ClientColor2,:TotalColor,:ActiveColor,:NetColor1,:NetColor2,:PLineColor1,"
          ":PLineColor2,:DICSWITCH,:DicTekAuto,:DicTorAuto)");
      const auto& colors = DefaultGridColors;
      const std::pair<const char*, std::int32_t> values[] = {
          {"OPCODE", op},
          {"ColHeaderColor", colors[0]},
          {"ColHeaderGradColor1", colors[1]},
          {"ColHeaderGradColor2", colors[2]},
          {"ClientColor", colors[3]},
          {"ClientColor1", colors[4]},
          {"ClientColor2", colors[5]},
          {"TotalColor", colors[6]},
          {"ActiveColor", colors[7]},
          {"NetColor1", 0xD7FFD7},
          {"NetColor2", 0xD7FFD7},
          {"PLineColor1", 0x7900},
          {"PLineColor2", 0x7900},
          {"DICSWITCH", AltOem() ? 2 : 0},
          {"DicTekAuto", AltOem() ? 2 : 1},
          {"DicTorAuto", AltOem() ? 0 : 1},
      };
      for (const auto& [name, value] : values) IBQSysDefPut.ParamByName(name).AsInteger(value);
      IBQSysDefPut.ExecSQL();
      for (int i = 0; i < 8; ++i) funcPutSysReg(kInputKeys[i].Key, kInt, op, TVariant(kInputFirstUse[i]));
      if (AltOem()) {
        const std::pair<const char*, int> alt[] = {
            {"次項目移動区分", 1},       {"科目コード桁数", 0},       {"補助コード桁数", 0},
            {"部門コード桁数", 1},       {"仕訳日付フォーカス", 1},   {"元帳最終行残高出力区", 1},
            {"試算表集計出力区分", 1},   {"元帳１行出力区分", 0},     {"元帳付箋マーク出力区", 0},
            {"連想辞書抽出条件区分", 1},
        };
        for (const auto& [key, value] : alt) funcPutSysReg(key, kInt, op, TVariant(value));
        for (int i = 0; i < 8; ++i) funcPutSysReg(kInputKeys[i].Key, kInt, op, TVariant(kInputFirstUseAlt[i]));
      }
      openSelect();
    }

    s.MenuRequestResult = 0;
    if (!IBQSysDefGet.Eof()) {
      for (const TSysDefTextColumn& c : kTextColumns) s.*c.Field = IBQSysDefGet.FieldByName(c.Column).AsString();
      for (const TSysDefIntColumn& c : kIntColumns) s.*c.Field = IBQSysDefGet.FieldByName(c.Column).AsInteger();
    }
    if (s.ColHeaderGradColor1 == 0) s.ColHeaderGradColor1 = 0xFFFFFF;
    if (s.ColHeaderGradColor2 == 0) s.ColHeaderGradColor2 = 0xBBBBBB;
    IBQSysDefGet.Close();
    UnpackFlags();

    s.OfficeName.clear();
    s.OfficeAddress.clear();
    s.OfficeTel.clear();
    TSystemIniRec office;
    office.REC = 10;
    if (GetSysIni(office) && !office.SSTR.empty()) {
      GetParamValue(office.SSTR, "NAME", s.OfficeName);
      GetParamValue(office.SSTR, "JYUSHO", s.OfficeAddress);
      GetParamValue(office.SSTR, "TEL", s.OfficeTel);
    }
    s.UnrestrictedOperators = 0;
    TSystemIniRec restriction;
    restriction.REC = 20;
    if (GetSysIni(restriction)) s.UnrestrictedOperators = restriction.RESERVE1;

    s.NextItemMove = 0;
    s.KamokuCodeDigits = s.HojoCodeDigits = s.BumonCodeDigits = 0;
    s.SiwakeDateFocus = 2;
    s.SisanTotalOutput = s.LedgerOneLine = s.LedgerTagMark = s.RensouExtract = 0;

    TVariant v;
    auto readInt = [&](const char* key, const std::string& def, std::int32_t opCode = -1) {
      funcGetSysReg(key, kInt, def, opCode < 0 ? op : opCode, v);
      return v.AsInteger();
    };
    auto readText = [&](const char* key, const char* def) {
      funcGetSysReg(key, kText, def, op, v);
      return v.AsString();
    };
    auto oem = [](const char* alt, const char* other) { return AltOem() ? alt : other; };

    if (AltOem()) {
      s.NextItemMove = readInt("次項目移動区分", "1");
      s.KamokuCodeDigits = static_cast<std::uint8_t>(readInt("科目コード桁数", "0"));
      s.HojoCodeDigits = static_cast<std::uint8_t>(readInt("補助コード桁数", "0"));
      s.BumonCodeDigits = static_cast<std::uint8_t>(readInt("部門コード桁数", "1"));
      if (OemKind == 2) s.UnrestrictedOperators = 1;
      s.SiwakeDateFocus = static_cast<std::uint8_t>(readInt("仕訳日付フォーカス", "1"));
      s.LedgerLastBalance = 1;
      s.SisanTotalOutput = 1;
      s.LedgerOneLine = readInt("元帳１行出力区分", "0");
      s.LedgerTagMark = readInt("元帳付箋マーク出力区", "0");
      s.RensouExtract = readInt("連想辞書抽出条件区分", "1");
    }
    s.LedgerLastBalance = readInt("元帳最終行残高出力区", IntToStr(s.LedgerLastBalance));
    s.SisanTotalOutput = readInt("試算表集計出力区分", IntToStr(s.SisanTotalOutput));
    s.LedgerTitleOutput = readInt("元帳タイトル出力区分", oem("1", "0"));
    s.SisanBsPageBreak = readInt("試算表ＢＳ改ページ区", oem("0", "1"));
    s.SisanTitleOutput = readInt("試算表タイトル出力区", oem("1", "0"));
    s.SisanPeriodOutput = readInt("試算表期間出力区分", oem("1", "0"));
    s.SisanTitle = readText("試算表タイトル", "試　算　表");
    s.Sisan2Title = readText("２期試算表タイトル", "２期比較試算表");
    s.BsTitles[0] = readText("全科目ＢＳタイトル", "資産・負債・純資産");
    s.BsTitles[1].clear();
    s.AssetTitles[0] = readText("全科目資産タイトル", "資産の部");
    s.LiabilityTitles[0] = readText("全科目負債タイトル", "負債・純資産の部");
    s.PlTitles[0] = readText("全科目ＰＬタイトル", "損益");
    s.SgaTitles[0].clear();
    s.AssetTitles[1] = readText("定形A4資産タイトル", "資産の部");
    s.LiabilityTitles[1] = readText("定形A4負債タイトル", "負債・純資産の部");
    s.PlTitles[1] = readText("定形A4ＰＬタイトル", "損益");
    s.SgaTitles[1] = readText("定形A4販売費タイトル", "販売費・一般管理費");
    s.BsTitles[2] = readText("定形A3ＢＳタイトル", "資産・負債・純資産");
    s.AssetTitles[2].clear();
    s.LiabilityTitles[2].clear();
    s.PlTitles[2] = readText("定形A3ＰＬタイトル", "損益");
    s.SgaTitles[2].clear();
    s.DataCheckMode = readInt("データ破損チェック区", "1", s.GroupId * 10000 + 9999);
    s.DataPlace = readInt("サーバのデータの場所", "0");
    s.TekiyouEditMode = readInt("摘要項目の編集モード", "0");
    s.TekiyouInputKind = readInt("摘要項目の入力区分", "0");
    s.TorihikiInputKind = readInt("取引先項目の入力区分", "0");
    s.BackRulePrint = readInt("裏面の罫線印刷区分", "0");
    s.TaxCodePrint = readInt("消費税コード印刷区分", "1");
    if (!AltOem()) s.TaxCodePrint = 1;
    s.KessanTegata = readInt("決算書手形相殺区分", "0");
    s.KessanHanbai = readInt("決算書販売費組入区分", "0");
    s.SisanLineAdjust = readInt("試算表行数調整区分", "0");
    s.RensouCodeInput = readInt("連想辞書コード入力区", "0");
    s.RensouListOrder = readInt("連想辞書リスト並び順", "0");
    s.LedgerTagMark = readInt("元帳付箋マーク出力区", IntToStr(s.LedgerTagMark));
    for (const TInputKey& key : kInputKeys) s.*key.Field = readInt(key.Key, key.Default);
    s.KyoyuTakeState = 0;

    fnGetSysVersion();
    if (DbUi.FontInstalled && DbUi.FontInstalled(s.FontName)) {
      s.SysFont.Name = s.FontName;
      s.SysFont.Size = s.FontSize;
      if (s.FontStyle >= 0 && s.FontStyle <= 3) s.SysFont.Style = s.FontStyle;
      s.SysFont.CharSet = s.FontCharSet & 0xFF;
    }
    scope.Commit();
    return true;
  } catch (...) {
    IBQSysDefGet.Close();
    IBQSysDefPut.Close();
    ReportCurrentException("TDM.fnGetSysDef", kMsgGet, true);
    scope.Rollback();
    return false;
  }
}

bool TSystemStore::fnPutSysDef() {
  TSystemDef& s = SystemDef;
  PackFlags();
  TTransactionGuard scope(IBTransactionDEF);
  try {
    scope.Begin();
    // Every column the settings carry; Shouhyou is nobody's and stays as stored.
    std::string sql = "UPDATE SYSDEF SET\n";
    for (const TSysDefTextColumn& c : kTextColumns)
      if (std::string(c.Column) != "SSTR") sql += std::string(c.Column) + "=:" + c.Column + ",\n";
    for (const TSysDefIntColumn& c : kIntColumns) sql += std::string(c.Column) + "=:" + c.Column + ",\n";
    sql += "SSTR=:SSTR\nWHERE OPCODE=:OPCODE";
    SetSql(IBQSysDefPut, sql);
    for (const TSysDefTextColumn& c : kTextColumns) IBQSysDefPut.ParamByName(c.Column).AsString(s.*c.Field);
    for (const TSysDefIntColumn& c : kIntColumns) IBQSysDefPut.ParamByName(c.Column).AsInteger(s.*c.Field);
    IBQSysDefPut.ParamByName("OPCODE").AsInteger(s.OpCode);
    IBQSysDefPut.ExecSQL();
    scope.Commit();
  } catch (...) {
    IBQSysDefPut.Close();
    ReportCurrentException("TDM.fnPutSysDef", kMsgPut, true);
    scope.Rollback();
    return false;
  }

  auto put = [&](const char* key, std::int32_t value) { PutSysRegOp(key, kInt, TVariant(value)); };
  auto putText = [&](const char* key, const std::string& value) { PutSysRegOp(key, kText, TVariant(value)); };
  if (AltOem()) {
    put("次項目移動区分", s.NextItemMove);
    put("科目コード桁数", s.KamokuCodeDigits);
    put("補助コード桁数", s.HojoCodeDigits);
    put("部門コード桁数", s.BumonCodeDigits);
    put("仕訳日付フォーカス", s.SiwakeDateFocus);
    put("元帳１行出力区分", s.LedgerOneLine);
    put("元帳付箋マーク出力区", s.LedgerTagMark);
    put("連想辞書抽出条件区分", s.RensouExtract);
  }
  put("試算表集計出力区分", s.SisanTotalOutput);
  put("元帳タイトル出力区分", s.LedgerTitleOutput);
  put("試算表ＢＳ改ページ区", s.SisanBsPageBreak);
  put("試算表タイトル出力区", s.SisanTitleOutput);
  putText("試算表タイトル", s.SisanTitle);
  putText("２期試算表タイトル", s.Sisan2Title);
  putText("全科目ＢＳタイトル", s.BsTitles[0]);
  putText("全科目資産タイトル", s.AssetTitles[0]);
  putText("全科目負債タイトル", s.LiabilityTitles[0]);
  putText("全科目ＰＬタイトル", s.PlTitles[0]);
  putText("定形A4資産タイトル", s.AssetTitles[1]);
  putText("定形A4負債タイトル", s.LiabilityTitles[1]);
  putText("定形A4ＰＬタイトル", s.PlTitles[1]);
  putText("定形A4販売費タイトル", s.SgaTitles[1]);
  putText("定形A3ＢＳタイトル", s.BsTitles[2]);
  putText("定形A3ＰＬタイトル", s.PlTitles[2]);
  put("元帳最終行残高出力区", s.LedgerLastBalance);
  put("サーバのデータの場所", s.DataPlace);
  put("摘要項目の編集モード", s.TekiyouEditMode);
  put("摘要項目の入力区分", s.TekiyouInputKind);
  put("取引先項目の入力区分", s.TorihikiInputKind);
  put("裏面の罫線印刷区分", s.BackRulePrint);
  put("消費税コード印刷区分", s.TaxCodePrint);
  put("決算書手形相殺区分", s.KessanTegata);
  put("決算書販売費組入区分", s.KessanHanbai);
  put("連想辞書コード入力区", s.RensouCodeInput);
  put("連想辞書リスト並び順", s.RensouListOrder);
  put("元帳付箋マーク出力区", s.LedgerTagMark);
  put("試算表期間出力区分", s.SisanPeriodOutput);
  for (const TInputKey& key : kInputKeys) put(key.Key, s.*key.Field);
  return true;
}
