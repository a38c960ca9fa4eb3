#include "comm/siwakewrite.h"

#include <chrono>
#include <tuple>
#include <type_traits>
#include <thread>

#include "core/dates.h"
#include "core/globals.h"
#include "core/sjis.h"
#include "dbaccess/datasetconnection.h"
#include "dbaccess/fberror.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/sysutils.h"
#include "tax/siwaketax.h"
#include "tax/taxcodes.h"
#include "tax/taxrates.h"

using TRecord = siwakeio::TSWKREC;
using TSide = siwakeio::TSwkBalance;

namespace {

// Texts of TestSiwake: the wording for entry by hand and for imported data.
struct TTestText {
  const char* hand;
  const char* imported;
};

enum TTestMessage {
  tmPeriod, tmAudited, tmAuditDate, tmDebitAccount, tmDebitHojo, tmDebitBumon, tmDebitTax,
  tmCreditAccount, tmCreditHojo, tmCreditBumon, tmCreditTax, tmNoAmount, tmNegative, tmTooLong,
  tmGenka, tmSisetu, tmApproved, tmRates
};

constexpr TTestText kTexts[] = {
    {"日付が会計期間外または、決算区分の指定が不正です。", "日付が会計期間外または、決算区分の設定が不正です。"},
    {"監査済みの仕訳は訂正できません。", "監査済みの仕訳が設定されました。"},
    {"監査済みの日付は入力できません。", "日付に監査済みの日付が設定されました。"},
    {"借方の科目コードが見つかりません。", "借方の科目コードの設定が不正です。"},
    {"借方の補助コードを入力してください。", "借方の補助コードの設定が不正です。"},
    {"借方の部門コードが見つかりません。", "借方の部門コードの設定が不正です。"},
    {"借方の消費税コードを確認してください。", "借方の消費税コードの設定が不正です。"},
    {"貸方の科目コードが見つかりません。", "貸方の科目コードの設定が不正です。"},
    {"貸方の補助コードを入力してください。", "貸方の補助コードの設定が不正です。"},
    {"貸方の部門コードが見つかりません。", "貸方の部門コードの設定が不正です。"},
    {"貸方の消費税コードを確認してください。", "貸方の消費税コードの設定が不正です。"},
    {"金額を入力してください。", "金額の設定が不正です。（０円 または null）"},
    {"マイナス金額は入力できません。", "金額にマイナス値が設定されました。"},
    {"金額桁数がオーバーしています。", "金額の設定が不正です。（桁数オーバー）"},
    {"個別原価コードが見つかりません。", "個別原価コードの設定が不正です。"},
    {"本・支店コードが不正です。データを選択し直してください。", "本・支店コードが不正です。"},
    {"承認済みの仕訳は訂正できません。", "承認済みの仕訳が設定されました。"},
    {"借方と貸方の消費税率が違います。", "借方と貸方の消費税率が違います。"},
};

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

bool IsLockConflict(std::int32_t status) {
  return status == ibcodes::kLockConflict || status == ibcodes::kDeadlock;
}

const Currency kMaxKingaku = Currency::FromYen(9999999999LL);

// The look-up's columns of the account, sub-account, department and facility.
std::string LookupColumns() {
  std::string columns =
      "SELECT SZ.SCODE,S.SNAME,SZ.HCODE,SZ.BCODE,K.KCODE,K.USERCODE,K.REC,K.GROUPM1,K.GROUPM2,K.KNAME,"
      "K.BLDAC,K.DAC,K.DELFLG,K.TAX_LCODE,K.TAX_RCODE,K.FUN_LCODE,K.FUN_RCODE,K.HOJOSW,K.BPFLG,"
      "K.KEIHKUBU,K.EXT1_A4,K.EXT1_A3,K.EXT1_KS,H.HNAME,H.TAX_LCODE AS H_TAX_LCODE,"
      "H.TAX_RCODE AS H_TAX_RCODE,B.BNAME";
  if (std::make_tuple(AccInf.VerMajor, AccInf.VerMinor1, AccInf.VerMinor2) >= std::make_tuple(11, 1, 0))
    columns += ",K.ZEIRITUKBN,H.ZEIRITUKBN AS H_ZEIRITUKBN";
  return columns +
         " FROM KAMOKU_SZ SZ"
         " INNER JOIN SISETUMST S ON (S.SCODE=SZ.SCODE)"
         " INNER JOIN BUMONMST B ON (B.BCODE=SZ.BCODE)"
         " INNER JOIN KAMOKUMST K ON (K.KCODE=SZ.KCODE)"
         " INNER JOIN HOJOMST H ON (H.KCODE=SZ.KCODE AND H.HCODE=SZ.HCODE)";
}

int FieldInt(TIBSQL& q, const char* name) {
  TIBXSQLVAR* f = q.FindField(name);
  return f ? f->AsInteger() : 0;
}

void ReadKamoku(TIBSQL& q, TKMKREC& k, THOJREC& h) {
  k.KCODE = q.FieldByName("KCODE").AsTrimString();
  k.USERCODE = q.FieldByName("USERCODE").AsTrimString();
  k.REC = q.FieldByName("REC").AsInteger();
  k.GROUPM1 = q.FieldByName("GROUPM1").AsTrimString();
  k.GROUPM2 = q.FieldByName("GROUPM2").AsTrimString();
  k.KNAME = q.FieldByName("KNAME").AsTrimString();
  k.BLDAC = q.FieldByName("BLDAC").AsInteger();
  k.DAC = q.FieldByName("DAC").AsInteger();
  k.DELFLG = q.FieldByName("DELFLG").AsInteger();
  k.TAX_LCODE = q.FieldByName("TAX_LCODE").AsInteger();
  k.TAX_RCODE = q.FieldByName("TAX_RCODE").AsInteger();
  k.FUN_LCODE = q.FieldByName("FUN_LCODE").AsInteger();
  k.FUN_RCODE = q.FieldByName("FUN_RCODE").AsInteger();
  k.HOJOSW = Trim(q.FieldByName("HOJOSW").AsString());
  k.BPFLG = q.FieldByName("BPFLG").AsTrimString();
  k.KEIHKUBU = Trim(q.FieldByName("KEIHKUBU").AsString());
  k.EXT1_A4 = q.FieldByName("EXT1_A4").AsInteger();
  k.EXT1_A3 = q.FieldByName("EXT1_A3").AsInteger();
  k.EXT1_KS = q.FieldByName("EXT1_KS").AsInteger();
  k.ZEIRITUKBN = FieldInt(q, "ZEIRITUKBN");
  h.HCODE = q.FieldByName("HCODE").AsString();
  h.HNAME = q.FieldByName("HNAME").AsTrimString();
  h.H_TAX_LCODE = q.FieldByName("H_TAX_LCODE").AsInteger();
  h.H_TAX_RCODE = q.FieldByName("H_TAX_RCODE").AsInteger();
  h.H_ZEIRITUKBN = FieldInt(q, "H_ZEIRITUKBN");
}

void ReadRecord(TIBSQL& q, TRecord& r) {
  auto s = [&](const char* n) { TIBXSQLVAR* f = q.FindField(n); return f ? f->AsTrimString() : std::string(); };
  auto raw = [&](const char* n) { TIBXSQLVAR* f = q.FindField(n); return f ? f->AsString() : std::string(); };
  auto i = [&](const char* n) { return FieldInt(q, n); };
  auto c = [&](const char* n) { TIBXSQLVAR* f = q.FindField(n); return f ? f->AsCurrency() : Currency(); };
  auto d = [&](const char* n) { TIBXSQLVAR* f = q.FindField(n); return f && !f->IsNull() ? f->AsDateTime() : TDateTime(0); };
  r.REC = i("REC"); r.SITREC = i("SITREC"); r.SWKREC = i("SWKREC"); r.SWKNO = i("SWKNO");
  r.DELFLG = i("DELFLG"); r.TAISHAKU = i("TAISHAKU"); r.HIZUKE = d("HIZUKE"); r.MNUM = i("MNUM");
  r.KESSAN = i("KESSAN"); r.SDAYNUM = i("SDAYNUM"); r.MDAYNUM = i("MDAYNUM"); r.DNUM = i("DNUM");
  r.SNUM = i("SNUM"); r.SCODE = s("SCODE");
  auto side = [&](TSide& b, const std::string& p, const char* userCode) {
    b.KGROUP = s((p + "KGROUP").c_str()); b.KCODE = s(userCode);
    b.HCODE = raw((p + "HCODE").c_str()); b.BCODE = raw((p + "BCODE").c_str());
    b.KNAME = s((p + "KNAME").c_str()); b.HNAME = s((p + "HNAME").c_str()); b.BNAME = s((p + "BNAME").c_str());
    b.TAXCODE = i((p + "TAXCODE").c_str()); b.TAXUH = i((p + "TAXUH").c_str()); b.TAXDC = i((p + "TAXDC").c_str());
    b.NUK = c((p + "NUK").c_str()); b.ZEI = c((p + "ZEI").c_str()); b.RIT = c((p + "RIT").c_str());
    b.SIKIN = i((p + "SIKIN").c_str());
  };
  side(r.Debit, "", "USERCODE");
  side(r.Credit, "R_", "R_USERCODE");
  r.KINGAKU = c("KINGAKU"); r.ZEIGAKU = c("ZEIGAKU"); r.ZEIRITUNO = i("ZEIRITUNO");
  r.AUTCALCU = i("AUTCALCU"); r.TAXCALCU = i("TAXCALCU"); r.OLDRATE = i("OLDRATE");
  r.TEKCODE = i("TEKCODE"); r.TEKTEXT = s("TEKTEXT"); r.TORCODE = i("TORCODE"); r.TORTEXT = s("TORTEXT");
  r.FUSEN1 = i("FUSEN1"); r.FUSEN2 = i("FUSEN2"); r.FUSEN3 = i("FUSEN3"); r.FUSEN4 = i("FUSEN4");
  r.FUSEN5 = i("FUSEN5"); r.CTIME = d("CTIME"); r.COMMENT = s("COMMENT"); r.AO_COMMENT = s("AO_COMMENT");
  r.LINKKEY = s("LINKKEY"); r.LINKKUB = i("LINKKUB"); r.LINKREC = i("LINKREC"); r.LOCALFLG = i("LOCALFLG");
  r.RESERVE1 = i("RESERVE1"); r.RESERVE2 = i("RESERVE2"); r.RTIME = d("RTIME"); r.OPCODE = i("OPCODE");
  r.SHONIN_HIZUKE = d("SHONIN_HIZUKE"); r.SHONIN_OPCODE = i("SHONIN_OPCODE"); r.SHONIN_NAME = s("SHONIN_NAME");
  r.Debit.SideRateNo = r.OLDRATE;
  r.Credit.SideRateNo = r.OLDRATE;
}

void SetDate(TIBXSQLVAR& p, TDateTime value) {
  if (value > 0) p.AsDateTime(value); else p.Clear();
}

}  // namespace

TSiwakeWrite::TSiwakeWrite() {
  if (DataModuleExists()) sql_.SetDatabase(&DataSetConnection().IBDatabaseDAT);
}

void TSiwakeWrite::SetTransaction(TIBTransaction* Transaction) {
  transaction_ = Transaction;
  sql_.Close();
  // The statements stay on the data set's database; the transaction may span others too.
  if (DataModuleExists()) sql_.SetDatabase(&DataSetConnection().IBDatabaseDAT);
  sql_.SetTransaction(Transaction);
}

template <class Work>
auto TSiwakeWrite::Run(const char* Location, bool RollbackOnFailure, Work&& work) -> decltype(work()) {
  TIBTransaction& tr = *sql_.Transaction();
  // The operation owns a transaction that it starts itself: with AutoCommit,
  // or when nobody has started one.
  TTransactionGuard guard(tr);
  guard.Begin();
  try {
    if constexpr (std::is_void_v<decltype(work())>) {
      work();
      sql_.Close();
      guard.Commit();
      AutoCommit = 0;
    } else {
      auto result = work();
      sql_.Close();
      guard.Commit();
      AutoCommit = 0;
      return result;
    }
  } catch (...) {
    sql_.Close();
    if (RollbackOnFailure) guard.Rollback(); else guard.CommitQuietly();
    AutoCommit = 0;
    if (CurrentFbStatus() != 0) ReportCurrentException(Location, "", true);
    throw;
  }
}

void TSiwakeWrite::SetSisetuCode(const std::string& SCode) {
  sisetuCode_ = SCode;
  GetKamokuArray(SCode);
}

void TSiwakeWrite::InitSiwake(TRecord& Rec, std::int32_t Kessan, TDateTime Date) {
  Rec = TRecord{};
  Rec.PcName = SystemDef.PcName;
  Rec.TAISHAKU = 1;
  Rec.HIZUKE = Date;
  Rec.KESSAN = Kessan;
  Rec.RTIME = Now();
  Rec.OPCODE = SystemDef.OpCode;
  Rec.OLDRATE = GetZeiRituNo(0, Date);
  Rec.Debit.SideRateNo = Rec.OLDRATE;
  Rec.Credit.SideRateNo = Rec.OLDRATE;
}

bool TSiwakeWrite::FindKamoku(const std::string& SCode, const std::string& BCode, const std::string& HCode,
                              const std::string& UserCode) {
  if (SCode.size() > 6 || BCode.size() > 6 || HCode.size() > 6 || UserCode.size() > 6) return false;
  SCODE.clear(); SNAME.clear(); BCODE.clear(); BNAME.clear();
  Kamoku = TKMKREC{};
  Hojo = THOJREC{};
  const std::string hcode = HCode.empty() ? " " : HCode;
  return Run("TSiwakeWrite.FindKamoku", false, [&] {
    std::string text = LookupColumns() + " WHERE (SZ.SCODE=:SCODE) AND (K.USERCODE=:USERCODE) AND (SZ.HCODE=:HCODE)";
    if (!BCode.empty()) text += " AND (SZ.BCODE=:BCODE)";
    SetSql(sql_, text);
    sql_.ParamByName("SCODE").AsString(SCode);
    sql_.ParamByName("USERCODE").AsString(UserCode);
    sql_.ParamByName("HCODE").AsString(hcode);
    if (!BCode.empty()) sql_.ParamByName("BCODE").AsString(BCode);
    sql_.ExecQuery();
    if (sql_.Eof()) return false;
    SCODE = SCode;
    SNAME = sql_.FieldByName("SNAME").AsTrimString();
    ReadKamoku(sql_, Kamoku, Hojo);
    Hojo.HCODE = hcode;
    BCODE = BCode;
    BNAME = sql_.FieldByName("BNAME").AsTrimString();
    return true;
  });
}

bool TSiwakeWrite::GetKamokuArray(const std::string& SCode) {
  KamokuArray.clear();
  KamokuIndex.clear();
  return Run("TSiwakeWrite.GetKamokuArray", false, [&] {
    const std::string from = LookupColumns() + " WHERE (SZ.SCODE=:SCODE)";
    SetSql(sql_, from + " ORDER BY SZ.SCODE,K.USERCODE,SZ.HCODE,SZ.BCODE");
    sql_.ParamByName("SCODE").AsString(SCode);
    std::size_t first = 0;
    std::string userCode;
    auto closeAccount = [&] {
      if (first >= KamokuArray.size()) return;
      for (std::size_t i = first; i < KamokuArray.size(); ++i) {
        if (KamokuArray[i].Hojo.HCODE != " ") KamokuArray[first].UsesHojo = true;
        if (KamokuArray[i].BCODE != " ") KamokuArray[first].UsesBumon = true;
      }
    };
    for (sql_.ExecQuery(); !sql_.Eof(); sql_.Next()) {
      TKamokuRec row;
      ReadKamoku(sql_, row.Kamoku, row.Hojo);
      row.BCODE = sql_.FieldByName("BCODE").AsString();
      row.BNAME = sql_.FieldByName("BNAME").AsTrimString();
      if (KamokuArray.empty() || row.Kamoku.USERCODE != userCode) {
        closeAccount();
        first = KamokuArray.size();
        userCode = row.Kamoku.USERCODE;
        KamokuIndex.push_back(userCode + "=" + std::to_string(first));
      }
      KamokuArray.push_back(std::move(row));
    }
    closeAccount();
    return true;
  });
}

bool TSiwakeWrite::TestSide(TRecord& Rec, bool Debit, const std::vector<std::string>& Stored, std::int32_t& Code,
                            std::string& Msg) {
  TSide& side = Debit ? Rec.Debit : Rec.Credit;
  TSide& other = Debit ? Rec.Credit : Rec.Debit;
  const int base = Debit ? 11 : 21;
  auto fail = [&](int code, TTestMessage m) {
    Code = code;
    Msg = MessageMode == 0 ? kTexts[m].hand : kTexts[m].imported;
    return false;
  };
  if (CheckKamoku) {
    if (!FindKamoku(Rec.SCODE, side.BCODE, side.HCODE, side.KCODE))
      return fail(base, Debit ? tmDebitAccount : tmCreditAccount);
    side.KGROUP = Kamoku.GROUPM1;
    side.SIKIN = Debit ? Kamoku.FUN_LCODE : Kamoku.FUN_RCODE;
    side.HCODE = Trim(Hojo.HCODE).empty() ? " " : Hojo.HCODE;
    // Names: from the master for a new entry, or where the stored entry's code or name differs.
    const std::size_t o = Debit ? 0 : 7;   // KCODE,USERCODE,HCODE,BCODE,KNAME,HNAME,BNAME
    if (Rec.REC == 0 || Stored.empty()) {
      side.KNAME = Kamoku.KNAME;
      side.HNAME = Hojo.HNAME;
      side.BNAME = BNAME;
    } else {
      const std::string& sUser = Stored[o + 1];
      const std::string& sH = Stored[o + 2];
      const std::string& sB = Stored[o + 3];
      if (side.KNAME != Stored[o + 4] || side.KCODE != sUser) side.KNAME = Kamoku.KNAME;
      if (side.HNAME != Stored[o + 5] || side.KCODE != sUser || Trim(side.HCODE) != Trim(sH)) side.HNAME = Hojo.HNAME;
      if (side.BNAME != Stored[o + 6] || Trim(side.BCODE) != Trim(sB)) side.BNAME = BNAME;
    }
    // Sub-account and department required by the account's balance rows.
    const int hojoRows = Run("TSiwakeWrite.TestSiwake", false, [&] {
      SetSql(sql_,
             "SELECT COUNT(*) FROM KAMOKU_SZ SZ INNER JOIN KAMOKUMST K ON (K.KCODE=SZ.KCODE)"
             " WHERE (SZ.SCODE=:SCODE) AND (K.USERCODE=:USERCODE) AND (SZ.BCODE=' ')");
      sql_.ParamByName("SCODE").AsString(Rec.SCODE);
      sql_.ParamByName("USERCODE").AsString(side.KCODE);
      sql_.ExecQuery();
      return sql_.Fields(0).AsInteger();
    });
    if (hojoRows > 1 && Trim(side.HCODE).empty()) return fail(base, Debit ? tmDebitHojo : tmCreditHojo);
    const int bumonRows = Run("TSiwakeWrite.TestSiwake", false, [&] {
      SetSql(sql_,
             "SELECT COUNT(*) FROM KAMOKU_SZ SZ INNER JOIN KAMOKUMST K ON (K.KCODE=SZ.KCODE)"
             " WHERE (SZ.SCODE=:SCODE) AND (K.USERCODE=:USERCODE) AND (SZ.HCODE=' ') AND (SZ.BCODE<>' ')");
      sql_.ParamByName("SCODE").AsString(Rec.SCODE);
      sql_.ParamByName("USERCODE").AsString(side.KCODE);
      sql_.ExecQuery();
      return sql_.Fields(0).AsInteger();
    });
    if (bumonRows > 0 && Trim(side.BCODE).empty()) return fail(base, Debit ? tmDebitBumon : tmCreditBumon);
  }
  if (CheckTax) {
    NormalizeKaniTaxCode(side.TAXCODE);
    std::string group, detail, msg;
    int kind = 0, uh = 0, dc = 0;
    if (!GetTaxCodeInfo(side.TAXCODE, group, detail, kind, uh, dc))
      return fail(base + 1, Debit ? tmDebitTax : tmCreditTax);
    side.TAXUH = uh;
    side.TAXDC = dc;
    auto failWith = [&](int code) { Code = code; Msg = msg; return false; };
    if (!CheckTaxCodeForAccount(msg, side.KCODE, side.TAXCODE)) return failWith(base + 2);
    msg.clear();
    if (!CheckCounterTaxCode(msg, side.KCODE, other.TAXCODE)) return failWith(base + 3);
    msg.clear();
    if (!CheckShokuchiTaxCode(msg, side.KCODE, side.TAXCODE)) return failWith(base + 4);
    msg.clear();
    if (!CheckTokuteiShiireCode(msg, side.TAXCODE, Rec.OLDRATE, Rec.HIZUKE)) return failWith(base + 5);
  }
  return true;
}

bool TSiwakeWrite::TestSiwake(TRecord& Rec, std::int32_t& Code, std::string& Msg) {
  Code = 0;
  Msg.clear();
  auto fail = [&](int code, TTestMessage m) {
    Code = code;
    Msg = MessageMode == 0 ? kTexts[m].hand : kTexts[m].imported;
    return false;
  };
  // 1. The stored entry's codes and names.
  std::vector<std::string> stored;
  if (Rec.REC != 0) {
    stored = Run("TSiwakeWrite.TestSiwake", false, [&] {
      std::vector<std::string> values;
      SetSql(sql_,
             "SELECT KCODE,USERCODE,HCODE,BCODE,KNAME,HNAME,BNAME,R_KCODE,R_USERCODE,R_HCODE,R_BCODE,R_KNAME,R_HNAME,"
             "R_BNAME FROM SIWAKE_VIEW WHERE REC=:REC");
      sql_.ParamByName("REC").AsInteger(Rec.REC);
      sql_.ExecQuery();
      if (!sql_.Eof())
        for (int i = 0; i < sql_.FieldCount(); ++i) values.push_back(sql_.Fields(i).AsTrimString());
      return values;
    });
  }
  // 2. Period cell.
  Rec.MNUM = PeriodSlotIndex(AccInf.SIME, Rec.KESSAN, AccInf.KISHU, Rec.HIZUKE, AccInf.KIMATU);
  if (Rec.MNUM == -1 || Rec.HIZUKE < AccInf.KAISI || Rec.HIZUKE > AccInf.KIMATU) return fail(1, tmPeriod);
  if (SystemDef.PeriodShiftMode > 0)
    Rec.MNUM += 16;
  else if (Rec.KESSAN == 1 && Rec.HIZUKE == AccInf.KIMATU)
    Rec.MNUM = 16;
  // 3. Audit lock.
  if (AccInf.KANSA_LOCK == 1 && !SystemDef.Jimusho && SystemDef.JobLevel != 9) {
    if (Rec.CTIME > 0) return fail(2, tmAudited);
    if (AccInf.KANSA_DATE > 0 && AccInf.KANSA_FIXDATE > 0 && Rec.HIZUKE <= AccInf.KANSA_FIXDATE)
      return fail(3, tmAuditDate);
  }
  // 4. Approval.
  if (CheckShonin && Rec.SHONIN_HIZUKE > 0) return fail(40, tmApproved);
  // 5. Individual cost.
  if (CheckGenka && AccInf.KobetuGenkaUse == 1 && Rec.SNUM != 0) {
    static const int kWidth[] = {3, 4, 5, 6};
    const std::string code = ZeroPadLeft(std::to_string(Rec.SNUM), kWidth[AccInf.KobetuGenkaDigits < 4 ? AccInf.KobetuGenkaDigits : 0]);
    bool found = false;
    for (const auto& [text, value] : GenkaCodes) found = found || text == code;
    if (!found) {
      fail(4, tmGenka);
      const std::string name = AccInf.KobetuGenkaName.empty() ? "個別原価" : AccInf.KobetuGenkaName;
      Msg = ReplaceAll(Msg, "個別原価", name);
      return false;
    }
  }
  // 6. Facility.
  if (AccInf.SITEN == 1 && Trim(Rec.SCODE).empty()) {
    fail(5, tmSisetu);
    if (AccInf.DATATYPE == 3) Msg = ReplaceAll(Msg, "本・支店", "施設");
    return false;
  }
  // 7 to 9. Both sides.
  if (!TestSide(Rec, true, stored, Code, Msg)) return false;
  if (!TestSide(Rec, false, stored, Code, Msg)) return false;
  // 10. Rates.
  if (Rec.Debit.RIT > Currency(0) && Rec.Credit.RIT > Currency(0) && Rec.Debit.SideRateNo != Rec.Credit.SideRateNo)
    return fail(41, tmRates);
  if (Rec.Debit.RIT == Currency(0) && Rec.Credit.RIT == Currency(0)) Rec.OLDRATE = GetZeiRituNo(0, Rec.HIZUKE);
  // 11. Amount.
  if (CheckKingaku) {
    if (Rec.KINGAKU < Currency(1)) return fail(31, Rec.KINGAKU < Currency(0) ? tmNegative : tmNoAmount);
    if (Rec.KINGAKU > kMaxKingaku) return fail(31, tmTooLong);
  }
  // 12. Texts.
  if (CheckText) {
    Rec.TEKTEXT = RemoveTabsAndBreaks(Rec.TEKTEXT);
    Rec.TORTEXT = RemoveTabsAndBreaks(Rec.TORTEXT);
  }
  return true;
}

void TSiwakeWrite::SetParams(const TRecord& Rec) {
  auto p = [&](const char* name) -> TIBXSQLVAR& { return sql_.ParamByName(name); };
  SetDate(p("HIZUKE"), Rec.HIZUKE);
  p("MNUM").AsInteger(Rec.MNUM);
  p("KESSAN").AsInteger(Rec.KESSAN);
  p("SDAYNUM").AsInteger(Rec.SDAYNUM);
  p("MDAYNUM").AsInteger(Rec.MDAYNUM);
  p("DNUM").AsInteger(Rec.DNUM);
  p("SNUM").AsInteger(Rec.SNUM);
  p("SCODE").AsString(Rec.SCODE);
  auto side = [&](const TSide& b, const std::string& x) {
    sql_.ParamByName(x + "KGROUP").AsString(b.KGROUP);
    sql_.ParamByName(x + "KCODE").AsString(b.KCODE);
    sql_.ParamByName(x + "HCODE").AsString(b.HCODE);
    sql_.ParamByName(x + "BCODE").AsString(b.BCODE);
    sql_.ParamByName(x + "KNAME").AsString(b.KNAME);
    sql_.ParamByName(x + "HNAME").AsString(b.HNAME);
    sql_.ParamByName(x + "BNAME").AsString(b.BNAME);
    sql_.ParamByName(x + "TAXCODE").AsInteger(b.TAXCODE);
    sql_.ParamByName(x + "TAXUH").AsInteger(b.TAXUH);
    sql_.ParamByName(x + "TAXDC").AsInteger(b.TAXDC);
    sql_.ParamByName(x + "NUK").AsCurrency(b.NUK);
    sql_.ParamByName(x + "ZEI").AsCurrency(b.ZEI);
    sql_.ParamByName(x + "RIT").AsCurrency(b.RIT);
    sql_.ParamByName(x + "SIKIN").AsInteger(b.SIKIN);
  };
  side(Rec.Debit, "L_");
  side(Rec.Credit, "R_");
  p("KINGAKU").AsCurrency(Rec.KINGAKU);
  p("ZEIGAKU").AsCurrency(Rec.ZEIGAKU);
  p("ZEIRITUNO").AsInteger(Rec.ZEIRITUNO);
  p("AUTCALCU").AsInteger(Rec.AUTCALCU);
  p("TAXCALCU").AsInteger(Rec.TAXCALCU);
  p("OLDRATE").AsInteger(Rec.OLDRATE);
  p("TEKCODE").AsInteger(Rec.TEKCODE);
  p("TEKTEXT").AsString(Rec.TEKTEXT);
  p("TORCODE").AsInteger(Rec.TORCODE);
  p("TORTEXT").AsString(Rec.TORTEXT);
  p("FUSEN1").AsInteger(Rec.FUSEN1);
  p("FUSEN2").AsInteger(Rec.FUSEN2);
  p("FUSEN3").AsInteger(Rec.FUSEN3);
  p("FUSEN4").AsInteger(Rec.FUSEN4);
  p("FUSEN5").AsInteger(Rec.FUSEN5);
  SetDate(p("CTIME"), Rec.CTIME);
  p("COMMENT").AsString(Rec.COMMENT);
  p("AO_COMMENT").AsString(Rec.AO_COMMENT);
  p("LINKKEY").AsString(Rec.LINKKEY);
  p("LINKKUB").AsInteger(Rec.LINKKUB);
  p("LINKREC").AsInteger(Rec.LINKREC);
  p("LOCALFLG").AsInteger(Rec.LOCALFLG);
  p("RESERVE1").AsInteger(Rec.RESERVE1);
  p("RESERVE2").AsInteger(Rec.RESERVE2);
  p("OPNCODE").AsInteger(SystemDef.OpCode);
}

std::int32_t TSiwakeWrite::PutOnce(TRecord& Rec) {
  static const std::string kParams =
      ":HIZUKE,:MNUM,:KESSAN,:SDAYNUM,:MDAYNUM,:DNUM,:SNUM,:SCODE,:L_KGROUP,:L_KCODE,:L_HCODE,:L_BCODE,:L_KNAME,"
      ":L_HNAME,:L_BNAME,:L_TAXCODE,:L_TAXUH,:L_TAXDC,:L_NUK,:L_ZEI,:L_RIT,:L_SIKIN,:R_KGROUP,:R_KCODE,:R_HCODE,"
      ":R_BCODE,:R_KNAME,:R_HNAME,:R_BNAME,:R_TAXCODE,:R_TAXUH,:R_TAXDC,:R_NUK,:R_ZEI,:R_RIT,:R_SIKIN,:KINGAKU,"
      ":ZEIGAKU,:ZEIRITUNO,:AUTCALCU,:TAXCALCU,:OLDRATE,:TEKCODE,:TEKTEXT,:TORCODE,:TORTEXT, :FUSEN1,:FUSEN2,"
      ":FUSEN3,:FUSEN4,:FUSEN5,:CTIME,:COMMENT,:AO_COMMENT,:LINKKEY,:LINKKUB,:LINKREC,:LOCALFLG,:Reserve1,"
      ":Reserve2,:OPNCODE ";
  if (Rec.REC == 0) {
    const bool oldData = AccInf.VerMajor < 6 || (AccInf.VerMajor == 6 && AccInf.VerMinor1 == 0);
    SetSql(sql_, std::string(oldData ? "SELECT NEWREC,NEWSWKREC,NEWSDAYNUM,0 AS NEWSITREC FROM SP_SIWAKE_INS("
                                     : "SELECT NEWREC,NEWSWKREC,NEWSDAYNUM,NEWSITREC FROM SP_SIWAKE_INS(") +
                     kParams + ")");
    SetParams(Rec);
    sql_.ExecQuery();
    Rec.REC = sql_.FieldByName("NEWREC").AsInteger();
    Rec.SWKREC = sql_.FieldByName("NEWSWKREC").AsInteger();
    Rec.SDAYNUM = sql_.FieldByName("NEWSDAYNUM").AsInteger();
    Rec.SWKNO = Rec.SWKREC;
    Rec.SITREC = sql_.FieldByName("NEWSITREC").AsInteger();
    Rec.RTIME = Now();
    return Rec.REC;
  }
  SetSql(sql_, "SELECT NEWREC,NEWSWKREC,NEWSWKNO,UPREC,NEWSDAYNUM FROM SP_SIWAKE_UPD(:REC,:SWKREC,:SWKNO,:DELFLG," +
                   kParams + ")");
  sql_.ParamByName("REC").AsInteger(Rec.REC);
  sql_.ParamByName("SWKREC").AsInteger(Rec.SWKREC);
  sql_.ParamByName("SWKNO").AsInteger(Rec.SWKNO);
  sql_.ParamByName("DELFLG").AsInteger(Rec.DELFLG);
  SetParams(Rec);
  sql_.ExecQuery();
  const int upRec = sql_.FieldByName("UPREC").AsInteger();
  if (upRec == -2) {
    Rec.REC = sql_.FieldByName("NEWREC").AsInteger();
    return -2;
  }
  if (upRec == -1) return -1;
  Rec.REC = sql_.FieldByName("NEWREC").AsInteger();
  Rec.SWKREC = sql_.FieldByName("NEWSWKREC").AsInteger();
  Rec.SWKNO = sql_.FieldByName("NEWSWKNO").AsInteger();
  Rec.SDAYNUM = sql_.FieldByName("NEWSDAYNUM").AsInteger();
  Rec.RTIME = Now();
  return 0;
}

std::int32_t TSiwakeWrite::PutSiwake(TRecord& Rec) {
  TIBTransaction& tr = *sql_.Transaction();
  for (;;) {
    TTransactionGuard guard(tr);
    guard.Begin();
    try {
      const TRecord before = Rec;
      try {
        const std::int32_t result = PutOnce(Rec);
        sql_.Close();
        guard.Commit();
      AutoCommit = 0;
        return result;
      } catch (const EIBError& e) {
        if (!IsLockConflict(e.IBErrorCode())) throw;
        // Someone else holds the entry: report, undo our part and try again
        // once the other transaction lets go.
        ShowFbError(e, "TSiwakeWrite.PutSiwake", "", true);
        sql_.Close();
        guard.Rollback();
        Rec = before;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        continue;
      }
    } catch (...) {
      sql_.Close();
      guard.Rollback();
      AutoCommit = 0;
      if (CurrentFbStatus() != 0) ReportCurrentException("TSiwakeWrite.PutSiwake", "", true);
      throw;
    }
  }
}

std::int32_t TSiwakeWrite::DeleteSiwake(std::int32_t SwkRec) {
  return Run("TSiwakeWrite.DeleteSiwake", true, [&] {
    SetSql(sql_, "SELECT RESULT+1 AS RES FROM SP_SIWAKE_DEL(:SWKREC,:OPCODE)");
    sql_.ParamByName("SWKREC").AsInteger(SwkRec);
    sql_.ParamByName("OPCODE").AsInteger(SystemDef.OpCode);
    sql_.ExecQuery();
    return sql_.FieldByName("RES").AsInteger();
  });
}

bool TSiwakeWrite::RestoreSiwake(std::int32_t SwkRec) {
  return Run("TSiwakeWrite.RestoreSiwake", true, [&] {
    SetSql(sql_, "SELECT HIZUKE,SDAYNUM FROM SIWAKE WHERE (SWKREC=:SWKREC) AND (TAISHAKU=1)");
    sql_.ParamByName("SWKREC").AsInteger(SwkRec);
    TDateTime hizuke = 0;
    for (sql_.ExecQuery(); !sql_.Eof(); sql_.Next()) hizuke = sql_.FieldByName("HIZUKE").AsDateTime();
    SetSql(sql_, "SELECT MAX(SDAYNUM) AS MAX_SDAYNUM FROM SIWAKE WHERE (HIZUKE=:HIZUKE) AND (DELFLG=0)");
    sql_.ParamByName("HIZUKE").AsDateTime(hizuke);
    sql_.ExecQuery();
    const int highest = sql_.Eof() ? 0 : sql_.FieldByName("MAX_SDAYNUM").AsInteger();
    SetSql(sql_,
           "UPDATE SIWAKE SET DELFLG=0,OPCODE=:OPCODE,RTIME=:RTIME,SDAYNUM=:SDAYNUM WHERE SWKREC=:SWKREC");
    sql_.ParamByName("OPCODE").AsInteger(SystemDef.OpCode);
    sql_.ParamByName("RTIME").AsDateTime(Now());
    sql_.ParamByName("SDAYNUM").AsInteger(highest > 0 ? highest + 1 : 0);
    sql_.ParamByName("SWKREC").AsInteger(SwkRec);
    sql_.ExecQuery();
    return true;
  });
}

void TSiwakeWrite::GetSiwake(TRecord& Rec, std::int32_t Rec_, bool UseView) {
  InitSiwake(Rec, 0, Date());
  Run("TSiwakeWrite.GetSiwake", false, [&] {
    switch (PastYear) {
      case 1: SetSql(sql_, "SELECT * FROM KAKOSIWAKE1_VIEW WHERE REC=:REC"); break;
      case 2: SetSql(sql_, "SELECT * FROM KAKOSIWAKE2_VIEW WHERE REC=:REC"); break;
      default:
        SetSql(sql_, UseView ? "SELECT * FROM SIWAKE_VIEW WHERE REC=:REC"
                             : "SELECT S.*,K1.USERCODE AS USERCODE,K2.USERCODE AS R_USERCODE,"
                               "CAST(NULL AS TIMESTAMP) AS SHONIN_HIZUKE,0 AS SHONIN_OPCODE,'' AS SHONIN_NAME"
                               " FROM SIWAKE S LEFT JOIN KAMOKUMST K1 ON (K1.KCODE=S.KCODE)"
                               " LEFT JOIN KAMOKUMST K2 ON (K2.KCODE=S.R_KCODE) WHERE S.REC=:REC");
    }
    sql_.ParamByName("REC").AsInteger(Rec_);
    sql_.ExecQuery();
    if (!sql_.Eof()) ReadRecord(sql_, Rec);
  });
}

bool CalcSiwakeRecTax(TRecord& Rec) {
  ::TSWKREC line;
  line.HIZUKE = Rec.HIZUKE;
  line.KINGAKU = Rec.KINGAKU;
  line.ZEIGAKU = Rec.ZEIGAKU;
  line.AUTCALCU = Rec.AUTCALCU;
  line.TAXCALCU = Rec.TAXCALCU;
  line.OLDRATE = Rec.OLDRATE;
  auto in = [](const TSide& b, ::TSwkBalance& t) {
    t.USERCODE = b.KCODE; t.TAXCODE = b.TAXCODE; t.TAXUH = b.TAXUH; t.TAXDC = b.TAXDC;
    t.NUK = b.NUK; t.ZEI = b.ZEI; t.RIT = b.RIT; t.SideRateNo = b.SideRateNo;
  };
  auto out = [](const ::TSwkBalance& t, TSide& b) {
    b.TAXUH = t.TAXUH; b.TAXDC = t.TAXDC; b.NUK = t.NUK; b.ZEI = t.ZEI; b.RIT = t.RIT;
  };
  in(Rec.Debit, line.Debit);
  in(Rec.Credit, line.Credit);
  const bool ok = CalcSiwakeTax(line);
  out(line.Debit, Rec.Debit);
  out(line.Credit, Rec.Credit);
  Rec.ZEIGAKU = line.ZEIGAKU;
  Rec.TAXCALCU = line.TAXCALCU;
  return ok;
}
