// Reading the company and accounting information of the connected data set
// into AccInf, the names of the data and code types, the account-group total
// names and the medical-layout test.
#include <cctype>

#include "core/accountlayout.h"
#include "core/dates.h"
#include "core/globals.h"
#include "core/protect.h"
#include "core/scramble.h"
#include "core/sjis.h"
#include "core/textutil.h"
#include "dbaccess/accreg.h"
#include "dbaccess/datasetconnection.h"
#include "dbaccess/fberror.h"
#include "platform/fb/ibx.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/sysutils.h"
#include "tax/taxcontext.h"
#include "taxdb/taxcompany.h"

namespace {

const char* const kBasic = "基本設定";

struct TTypeNames {
  std::int32_t DataType;
  const char* DataTypeName;
  std::vector<const char*> CodeTypeNames;  // by CODETYPE 1..n
};

const TTypeNames kTypeNames[] = {
    {1, "法人", {""}},
    {2, "個人", {"一般", "不動産", "クリニック", "農業"}},
    {3, "医療法人", {""}},
};

const TTypeNames& TypeNamesOf(std::int32_t dataType) {
  for (const TTypeNames& names : kTypeNames)
    if (names.DataType == dataType) return names;
  throw Exception("このプログラムでは、該当のデータタイプを処理することが出来ません。" +
                  Format("(DataType=%d)", dataType));
}

bool IsIdentifier(const std::string& name) {
  if (name.empty()) return false;
  for (unsigned char c : name)
    if (!std::isalnum(c) && c != '_' && c != '$') return false;
  return true;
}

// Reads one ACCREG setting of the basic group (or another group) as an integer.
std::int32_t AccRegInt(const char* group, const char* key, const char* def = "0") {
  TVariant v;
  GetAccReg(group, key, "整数", def, v);
  return v.AsInteger();
}

std::string AccRegText(const char* key, const char* def) {
  TVariant v;
  GetAccReg(kBasic, key, "文字", def, v);
  return v.AsString();
}

}  // namespace

std::string fnGetDataTypeName(std::int32_t DataType) { return TypeNamesOf(DataType).DataTypeName; }

std::string fnGetCodeTypeName(std::int32_t DataType, std::int32_t CodeType, bool Combined) {
  const TTypeNames& names = TypeNamesOf(DataType);
  if (CodeType < 1 || CodeType > static_cast<std::int32_t>(names.CodeTypeNames.size()))
    throw Exception("このプログラムでは、該当のコードタイプを処理することが出来ません。" +
                    Format("(CodeType=%d)", CodeType));
  const std::string codeName = names.CodeTypeNames[static_cast<std::size_t>(CodeType - 1)];
  if (!Combined) return codeName;
  return codeName.empty() ? std::string(names.DataTypeName) : std::string(names.DataTypeName) + "／" + codeName;
}

bool TDataSetConnection::IsMedicalLayout(std::int32_t DataType, std::int32_t CodeType) {
  const bool medical = DataType == 3 && CodeType == 1;
  SetupAccountLayout(medical);
  SetupSikinguriItems(medical);
  return medical;
}

bool TDataSetConnection::IsMedicalData() { return IsMedicalLayout(AccInf.DATATYPE, AccInf.CODETYPE); }

std::string TDataSetConnection::fnGetAccTotalName(const std::string& Group, const std::string& Column) {
  std::string result;
  TTransactionGuard scope(IBTransactionDAT);
  try {
    // The column name is part of the statement: only a plain identifier is taken.
    if (!IsIdentifier(Column)) throw Exception("列名が正しくありません: " + Column);
    scope.Begin();
    SetSql(IBQACC1, Format("SELECT %s FROM ACCTOTALNAME", Column) + "\nWHERE KGROUP=:KGROUP");
    IBQACC1.ParamByName("KGROUP").AsString(Group);
    for (IBQACC1.Open(); !IBQACC1.Eof(); IBQACC1.Next()) result = IBQACC1.Fields(0).AsTrimString();
    IBQACC1.Close();
    scope.Commit();
  } catch (...) {
    IBQACC1.Close();
    ReportCurrentException("TDM.fnGetAccTotalName", "集計名称の取得に失敗しました。", true);
    scope.CommitQuietly();
  }
  return result;
}

bool TDataSetConnection::fnGetAccInfo() {
  TACCINF& a = AccInf;
  TTransactionGuard scope(IBTransactionDAT);
  try {
    scope.Begin();
    SetSql(IBQACC1, "SELECT * FROM ACCDEF1");
    IBQACC1.Open();
    if (IBQACC1.Eof()) throw Exception("基本設定(ACCDEF1)のレコードが見つかりませんでした。");
    TIBQuery& q = IBQACC1;
    auto text = [&](const char* column) { return q.FieldByName(column).AsTrimString(); };
    auto integer = [&](const char* column) { return q.FieldByName(column).AsInteger(); };
    auto date = [&](const char* column) { return q.FieldByName(column).AsDateTime(); };
    auto optional = [&](const char* column) { return q.FindField(column); };

    a.GROUPID = integer("GROUPID");
    a.ENTTEXT = text("ENTTEXT");
    a.SERIAL = text("SERIAL");
    a.TANTOU = integer("TANTOU");
    a.GYOUSHU = integer("GYOUSHU");
    a.DATATYPE = integer("DATATYPE");
    a.DataTypeName = fnGetDataTypeName(a.DATATYPE);
    a.CODETYPE = integer("CODETYPE");
    a.CodeTypeName = fnGetCodeTypeName(a.DATATYPE, a.CODETYPE, false);
    a.SCODE1 = text("SCODE1");
    a.SCODE2 = text("SCODE2");
    a.SKANA = text("SKANA");
    a.SHOUGOU = text("SHOUGOU");
    a.POST = text("POST");
    a.ADD1 = text("ADD1");
    a.ADD2 = text("ADD2");
    a.TEL = text("TEL");
    a.AO_ADD1 = text("AO_ADD1");
    a.AO_ADD2 = text("AO_ADD2");
    a.AO_KANA = text("AO_KANA");
    a.AO_SIMEI = text("AO_SIMEI");
    a.AO_GYOUSHU = text("AO_GYOUSHU");
    a.AO_YAGO = text("AO_YAGO");
    a.AO_KANYU = text("AO_KANYU");
    a.AO_TEL = text("AO_TEL");
    a.AO_SHOKUGYO1 = text("AO_SHOKUGYO1");
    a.AO_SHOKUGYO2 = text("AO_SHOKUGYO2");
    a.MAIL = text("MAIL");
    a.zzKISHU = date("ZZKISHU");
    a.zKISHU = date("ZKISHU");
    a.NENDO = integer("NENDO");
    a.KISHU = date("KISHU");
    a.KIMATU = date("KIMATU");
    a.KAISI = date("KAISI");
    a.SIME = integer("SIME");
    a.KAISINO = integer("KAISINO");
    a.GENGOU_FLG = integer("GENGOU_FLG");
    a.GENGOU_HOSEI = integer("GENGOU_HOSEI");
    a.GENGOU_NAME = text("GENGOU_NAME");
    for (int i = 1; i <= 3; ++i) a.YAKUMEI[i] = text(("YAKUMEI" + IntToStr(i)).c_str());
    for (int i = 1; i <= 5; ++i) {
      a.OLD_TAX_RATE[i] = q.FieldByName("OLD_TAX_RATE" + IntToStr(i)).AsCurrency();
      a.NEW_TAX_RATE[i] = q.FieldByName("NEW_TAX_RATE" + IntToStr(i)).AsCurrency();
      a.CHG_DAYS[i] = q.FieldByName("CHG_DAYS" + IntToStr(i)).AsDateTime();
    }
    a.KANSA_FIXDATE = date("KANSA_FIXDATE");
    a.KANSA_DATE = date("KANSA_DATE");
    a.CALCU = integer("CALCU");
    a.TAXU_HASUU = integer("TAXU_HASUU");
    a.TAXH_HASUU = integer("TAXH_HASUU");
    a.TAXDEFUH = integer("TAXDEFUH");
    a.TAXKANNI = integer("TAXKANNI");
    a.TAXJIGYOU = integer("TAXJIGYOU");
    a.GENKAPRINT = integer("GENKAPRINT");
    a.KANSA_LOCK = integer("KANSA_LOCK");
    a.TEGATADICSW = integer("TEGATADICSW");
    if (auto* f = optional("KESSAN_KIKAN")) a.KESSAN_KIKAN = f->AsInteger();
    if (auto* f = optional("CASHFLOW_KIKAN1")) a.CASHFLOW_KIKAN1 = f->AsInteger();
    if (auto* f = optional("CASHFLOW_KIKAN2")) a.CASHFLOW_KIKAN2 = f->AsInteger();
    a.CASHFLOWSW = integer("CASHFLOWSW");
    a.SDAI_HASUU1 = integer("SDAI_HASUU1");
    a.SDAI_HASUU2 = integer("SDAI_HASUU2");
    a.SDAI_HASUU3 = 0;
    if (auto* f = optional("SDAI_HASUU3")) a.SDAI_HASUU3 = f->AsInteger();
    a.CONVERT = integer("CONVERT");
    a.SHOUHYOU = integer("SHOUHYOU");
    a.SITEN = integer("SITEN");
    a.BUMON = integer("BUMON");
    a.DATALOCK = integer("DATALOCK");
    a.GENKA_USE = integer("GENKA_USE");
    for (int i = 1; i <= 5; ++i) a.GENKA_HWORD[i] = text(("GENKA_HWORD" + IntToStr(i)).c_str());
    a.PASWORD = text("PASWORD");
    a.WEB_HOLDER.clear();
    if (auto* f = optional("WEB_HOLDER")) a.WEB_HOLDER = f->AsTrimString();
    a.FUMEI_KCODE = text("FUMEI_KCODE");
    a.TaxDefUHCopy = a.TAXDEFUH;
    a.KURIKOSI1 = a.KURIKOSI2 = a.TAXDEFUH;
    if (auto* f = optional("KURIKOSI1")) a.KURIKOSI1 = f->AsInteger();
    if (auto* f = optional("KURIKOSI2")) a.KURIKOSI2 = f->AsInteger();
    if (auto* f = optional("GENKA_HWORD6")) a.GenkaHWord6 = f->AsTrimString();
    a.CLOUD_LINE = 0;
    a.CLOUD_TIME = 0;
    if (auto* f = optional("CLOUD_LINE")) {
      a.CLOUD_LINE = f->AsInteger();
      if (auto* t = optional("CLOUD_TIME")) a.CLOUD_TIME = t->AsDateTime();
    }
    IBQACC1.Close();

    for (std::size_t i = 0; i < PlusNameGroups.size(); ++i) {
      const std::string name = fnGetAccTotalName(PlusNameGroups[i], "PLUSNAME");
      if (i < 4) a.PlusNames[i + 1] = name;
      else if (i == 4) a.PlusName6 = name;
      else a.PlusNames[5] = name;
    }

    if (SystemDef.PeriodShiftMode > 0) {
      const int day = DayOf(a.KIMATU);
      a.SIME = day > 27 ? 99 : day;
      a.KISHU = a.KIMATU + 1;
      a.KIMATU = ClosingDayDate(2, a.SIME, a.KISHU);
      a.KAISI = a.KISHU;
    }

    a.MedicalLayout = IsMedicalData() ? 1 : 0;
    a.KaisiCell = MonthSlotCell(a.KAISINO);
    a.KimatuCell = PeriodSlotIndex(a.SIME, 0, a.KISHU, a.KIMATU, a.KIMATU);
    a.KaisiMonths = MonthsBetween(a.SIME, a.KISHU, a.KAISI);
    a.YearMonths = MonthsBetween(a.SIME, a.KISHU, a.KIMATU);

    auto fixed = [&](int index, const char* name) {
      SetSystemCode(name, a.SystemKCode[static_cast<std::size_t>(index)],
                    a.SystemUserCode[static_cast<std::size_t>(index)]);
    };
    fixed(scGenkin, "現金");
    fixed(scKaribaraiTax, "仮払消費税");
    fixed(scKariukeTax, "仮受消費税");
    fixed(scKurikosiRieki, "繰越利益剰余金");
    fixed(scShokuchi, "諸口");
    if (a.DATATYPE == 1) {
      const char* bills[] = {"受取手形", "割引手形", "裏書手形"};
      for (std::size_t i = 0; i < 3; ++i) SetSystemCode(bills[i], a.BillKCode[i], a.BillUserCode[i]);
    }
    for (int i = scJigyonushiKasi; i <= scMotoireKin; ++i) {
      a.SystemKCode[static_cast<std::size_t>(i)].clear();
      a.SystemUserCode[static_cast<std::size_t>(i)].clear();
    }
    if (a.DATATYPE == 2) {
      fixed(scJigyonushiKasi, "事業主貸");
      fixed(scJigyonushiKari, "事業主借");
      fixed(scMotoireKin, "元入金");
    }
    for (int i = scKyuryo; i <= scTaishokuKyufu; ++i) {
      a.SystemKCode[static_cast<std::size_t>(i)].clear();
      a.SystemUserCode[static_cast<std::size_t>(i)].clear();
    }
    if (a.DATATYPE == 3 && a.CODETYPE == 1) {
      fixed(scKyuryo, "給料");
      fixed(scShoyo, "賞与");
      fixed(scShoyoHikiate, "賞与引当金繰入額");
      fixed(scTaishokuKyufu, "退職給付費用");
      fixed(scKurikosiRieki, "前期繰越利益");
    }

    UserCodeOfKCode(a.FUMEI_KCODE, a.FumeiUserCode);
    a.TusinHolder[0] = a.WEB_HOLDER;
    a.TusinPassword[0] = a.PASWORD;
    fnGetTusinId(1, 1);

    a.KishuTable[0] = a.KISHU;
    a.KimatuTable[0] = a.KIMATU;
    a.KaisiTable[0] = a.KAISI;
    a.KishuTable[1] = a.zKISHU != 0 ? a.zKISHU : IncMonth(a.KishuTable[0], -12);
    a.KimatuTable[1] = a.KishuTable[0] - 1;
    a.KaisiTable[1] = a.KishuTable[1];
    a.KishuTable[2] = a.zzKISHU != 0 ? a.zzKISHU : IncMonth(a.KishuTable[1], -12);
    a.KimatuTable[2] = a.KishuTable[1] - 1;
    a.KaisiTable[2] = a.KishuTable[2];

    a.KakoMeisai = AccRegInt(kBasic, "過去明細取り込み");
    try {
      a.GassanKbn = static_cast<std::uint8_t>(AccRegInt(kBasic, "合算データ区分"));
    } catch (...) {  // an unreadable entry reads as 0
      a.GassanKbn = 0;
    }
    a.GassanCount = AccRegInt(kBasic, "合算データ数");
    AccRegInt(kBasic, "一括税抜処理");
    a.IkkatuZeinuki = 0;
    a.KamokuDigits = static_cast<std::uint8_t>(AccRegInt(kBasic, "科目コード桁数"));
    a.HojoDigits = static_cast<std::uint8_t>(AccRegInt(kBasic, "補助コード桁数"));
    a.BumonDigits = static_cast<std::uint8_t>(AccRegInt(kBasic, "部門コード桁数"));
    AccRegInt("減価償却設定", "250%定率法で償却する経過措置");
    AccRegInt("減価償却設定", "200%定率法で償却する経過措置");
    a.PrintPeriodUse = AccRegInt(kBasic, "印刷用期間使用区分");
    TVariant v;
    GetAccReg(kBasic, "印刷用期間（期首）", "日付", "0", v);
    a.PrintPeriodFrom = v.AsDateTime();
    GetAccReg(kBasic, "印刷用期間（期末）", "日付", "0", v);
    a.PrintPeriodTo = v.AsDateTime();
    a.KobetuGenkaUse = AccRegInt(kBasic, "個別原価使用区分");
    a.KobetuGenkaName = AccRegText("個別原価別名", "個別原価");
    a.KobetuGenkaDigits = static_cast<std::uint8_t>(AccRegInt(kBasic, "個別原価コード桁数"));
    a.MyNumberUse = AccRegInt(kBasic, "＃USE");
    a.MyNumberKey = AccRegText("＃KEY", "");
    a.MyNumberValue = AccRegText("＃VALUE", "");
    a.CloudKbn = AccRegInt("通信設定", "クラウド区分");

    if (!Trim(a.MyNumberKey).empty()) {
      std::string plain;
      UnprotectText(a.MyNumberKey, kDataPasswordKey, kDataPasswordLength, plain);
      a.MyNumberKey = plain;
    }
    if (!Trim(a.MyNumberValue).empty()) {
      std::string plain;
      UnprotectText(a.MyNumberValue, kDataPasswordKey, static_cast<int>(a.MyNumberValue.size()), plain);
      a.MyNumberValue = plain;
    }

    a.BumonCount = 0;
    if (a.BUMON != 0) {
      SetSql(IBQACC1, "SELECT COUNT(BCODE) AS RECCNT FROM BUMONMST\nWHERE BCODE<>''");
      IBQACC1.Open();
      a.BumonCount = IBQACC1.FieldByName("RECCNT").AsInteger();
      IBQACC1.Close();
    }

    a.VerMajor = a.VerMinor1 = a.VerMinor2 = 0;
    SetSql(IBQACC1, "SELECT MAJOR,MINOR1,MINOR2 FROM ACCVERSION\nORDER BY MAJOR DESC,MINOR1 DESC,MINOR2 DESC");
    IBQACC1.Open();
    if (!IBQACC1.Eof()) {
      a.VerMajor = IBQACC1.FieldByName("MAJOR").AsInteger();
      a.VerMinor1 = IBQACC1.FieldByName("MINOR1").AsInteger();
      a.VerMinor2 = IBQACC1.FieldByName("MINOR2").AsInteger();
    }
    IBQACC1.Close();
    scope.Commit();

    a.DataPassword = RemoveAllSpaces(AccRegText("データパスワード", ""));
    if (a.VerMajor > 6) {
      TEasyEncodeInfo info;
      info.Key = kDataPasswordKey;
      info.PadLength = kDataPasswordLength;
      info.TextLength = kDataPasswordLength;
      info.Encoded = RemoveAllSpaces(AccRegText("データパスワードV2", ""));
      a.DataPassword = UnscrambleText(info) ? info.Plain : std::string();
    }
    a.BranchAll = a.SITEN == 0 ? 1 : SystemDef.Reserve4Flag4;

    auto rateUse = [&](const char* key, const char* def) {
      GetAccReg(kBasic, key, "論理", def, v);
      return static_cast<std::uint8_t>(v.AsBoolean() ? 1 : 0);
    };
    a.RateUse[0] = rateUse("使用税率3%", "FALSE");
    a.RateUse[1] = rateUse("使用税率5%", "FALSE");
    a.RateUse[2] = rateUse("使用税率8%", "TRUE");
    a.RateUse[3] = a.RateUse[4] = 1;

    HandCompanyToTax();
    return true;
  } catch (...) {
    IBQACC1.Close();
    ReportCurrentException("TDM.fnGetAccInfo", "基本情報の取得に失敗しました。\r", true);
    scope.CommitQuietly();
    return false;
  }
}

void TDataSetConnection::HandCompanyToTax() {
  // Stores the settings and rebuilds the tax-rate table of the fiscal year.
  SetTaxCompanyInfo(TaxCompanyInfoOf(AccInf));
}

void TDataSetConnection::InstallTaxContext() {
  TaxHooks.TaxDefUHWithLinkSiwake = [this](std::int32_t value) { return TaxDefUHWithLinkSiwake(value, 0, 0); };
}
