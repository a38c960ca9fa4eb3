// The merge kind of the cash-book loader: the account systems compared, then
// the received sub-accounts, the cash account's opening balances and the cash
// entries merged into the data set, and the cash balances compared. Every
// step reads the received database through recv1_/recv2_ and writes the data
// set through dat1_/dat2_ and the journal writer, all in the one transaction.
#include <map>

#include "comm/cashbookloader.h"
#include "core/globals.h"
#include "core/sjis.h"
#include "platform/rtl/sysutils.h"

using TRecord = siwakeio::TSWKREC;

namespace {

struct TReceiveKamokuInfo {
  std::string GROUPM0, USERCODE, KNAME;
  std::int32_t USE = 0;
  std::string HOJOSW;
};

// One received debit row, as far as the merge reads it.
struct TReceivedRow {
  std::int32_t REC = 0, SWKNO = 0, DELFLG = 0, RESERVE1 = 0, LINKREC = 0;
  std::string SCODE, KCODE, KNAME, R_KNAME;
  TRecord values;   // the fields that the merge copies
};

std::string Fmt(const char* pattern, const std::string& a, const std::string& b) {
  std::string s = pattern;
  s.replace(s.find("%s"), 2, a);
  s.replace(s.find("%s"), 2, b);
  return s;
}

std::string Described(const std::string& text) {
  const std::string t = TrimZen(text);
  return t.empty() ? "－" : t;
}

}  // namespace

bool TCashBookLoaderBox::CheckKamokuTaikei() {
  bool same = true;
  Step("「科目体系の整合チェック」に失敗しました。 ", [&] {
    SetSql(recv1_, "SELECT SITEN,BUMON FROM ACCDEF1 WHERE REC=1");
    recv1_.ExecQuery();
    const int siten = recv1_.Eof() ? 0 : recv1_.FieldByName("SITEN").AsInteger();
    const int bumon = recv1_.Eof() ? 0 : recv1_.FieldByName("BUMON").AsInteger();
    recv1_.Close();
    if (siten != AccInf.SITEN) {
      auto text = [](int v) { return std::string(v == 1 ? "本・支店管理を行う" : "本・支店管理を行わない"); };
      AddLog(kSyoriError, -106,
             Fmt("(使用データ:%s ≠ 受信データ:%s) 受信データの本・支店管理区分の設定内容に違いがありました。",
                 text(AccInf.SITEN), text(siten)));
    }
    if (bumon != AccInf.BUMON) {
      auto text = [](int v) {
        return std::string(v == 1 ? "部門管理を行う[損益]" : v == 2 ? "部門管理を行う[全科目]" : "部門管理を行わない");
      };
      AddLog(kSyoriError, -107,
             Fmt("(使用データ:%s ≠ 受信データ:%s) 受信データの部門管理区分の設定内容に違いがありました。",
                 text(AccInf.BUMON), text(bumon)));
    }
    SetSql(recv1_, "SELECT MAJOR,MINOR1,MINOR2 FROM ACCVERSION ORDER BY MAJOR DESC,MINOR1 DESC,MINOR2 DESC");
    recv1_.ExecQuery();
    RecvMajor = recv1_.Eof() ? 0 : recv1_.FieldByName("MAJOR").AsInteger();
    RecvMinor = recv1_.Eof() ? 0 : recv1_.FieldByName("MINOR1").AsInteger();
    RecvRevision = recv1_.Eof() ? 0 : recv1_.FieldByName("MINOR2").AsInteger();
    recv1_.Close();

    // Group codes that older received data carries differently.
    auto oldGroup = [&](const std::string& kcode) {
      if (RecvMajor >= 6) return false;
      const bool general = AccInf.DATATYPE == 1 || (AccInf.DATATYPE == 2 && AccInf.CODETYPE == 1);
      if (OemKind == 0)
        return kcode == "5601" && (general || (AccInf.DATATYPE == 2 && AccInf.CODETYPE == 3));
      if (OemKind == 1 || OemKind == 2) return general && (kcode == "52100" || kcode == "52200" || kcode == "52300");
      return false;
    };
    std::map<std::string, TReceiveKamokuInfo> received;
    SetSql(recv1_, "SELECT KCODE,USERCODE,GROUPM0,USE,HOJOSW,KNAME FROM KAMOKUMST ORDER BY KCODE");
    for (recv1_.ExecQuery(); !recv1_.Eof(); recv1_.Next()) {
      TReceiveKamokuInfo k;
      const std::string kcode = recv1_.FieldByName("KCODE").AsTrimString();
      k.USERCODE = recv1_.FieldByName("USERCODE").AsTrimString();
      k.GROUPM0 = oldGroup(kcode) ? "5685" : recv1_.FieldByName("GROUPM0").AsTrimString();
      k.USE = recv1_.FieldByName("USE").AsInteger();
      k.HOJOSW = recv1_.FieldByName("HOJOSW").AsTrimString();
      k.KNAME = Trim(recv1_.FieldByName("KNAME").AsString()).empty() ? "名称登録なし" : recv1_.FieldByName("KNAME").AsTrimString();
      received.emplace(k.USERCODE, k);
    }
    recv1_.Close();
    SetSql(dat1_, "SELECT KCODE,USERCODE,GROUPM0,USE,HOJOSW,KNAME FROM KAMOKUMST ORDER BY KCODE");
    for (dat1_.ExecQuery(); !dat1_.Eof(); dat1_.Next()) {
      const std::string user = dat1_.FieldByName("USERCODE").AsTrimString();
      std::string name = dat1_.FieldByName("KNAME").AsTrimString();
      if (name.empty()) name = "名称登録なし";
      const int use = dat1_.FieldByName("USE").AsInteger();
      const auto it = received.find(user);
      if (it == received.end()) {
        AddLog(kSyoriError, -104, Fmt("(使用データ:%s %s) 科目コードが見つかりません。", user, name));
        continue;
      }
      const TReceiveKamokuInfo& r = it->second;
      const std::string mine = dat1_.FieldByName("GROUPM0").AsTrimString() + "-" + std::to_string(use) + "-" +
                               dat1_.FieldByName("HOJOSW").AsTrimString();
      if (mine == r.GROUPM0 + "-" + std::to_string(r.USE) + "-" + r.HOJOSW) continue;
      if (ReceiveKind == 0 && ImportKind == 1 && use > 0 && r.USE == 0) {
        AddLog(kSyoriWarning, 101, Fmt("(使用データ:%s %s) 受信データの当科目は[使用しない]に設定されています。", user, name));
      } else {
        std::string text = "(使用データ:" + user + " " + name + " ≠ 受信データ:" + r.USERCODE + " " + r.KNAME +
                           ") 受信データの科目の設定内容に違いがありました。";
        AddLog(kSyoriError, -105, text);
      }
    }
    dat1_.Close();
    if (ResultCode() < 0) {
      AddLog(kSyoriError, -103,
             ReceiveKind == 1 ? "データ送信元の設定変更により科目体系に差異が発生しています。データ送信元にご連絡して下さい。"
                              : "データの設定変更により科目体系に差異が発生しています。マスター送信を行って下さい。");
      same = false;
    }
  });
  return same;
}

void TCashBookLoaderBox::ImportHojo() {
  Step("「補助科目の取り込み」に失敗しました。 ", [&] {
    SetSql(dat1_, "SELECT HOJO_INS_MODE FROM ACCDEF1 WHERE REC=1");
    dat1_.ExecQuery();
    const int saved = dat1_.Eof() ? 0 : dat1_.FieldByName("HOJO_INS_MODE").AsInteger();
    dat1_.Close();
    SetSql(dat1_, "UPDATE ACCDEF1 SET HOJO_INS_MODE=0 WHERE REC=1");
    dat1_.ExecQuery();
    std::map<std::string, int> existing;
    SetSql(dat1_, "SELECT KCODE,HCODE,HKANA,HNAME,TAX_LCODE,TAX_RCODE FROM HOJOMST ORDER BY KCODE,HCODE");
    for (dat1_.ExecQuery(); !dat1_.Eof(); dat1_.Next())
      existing[dat1_.FieldByName("KCODE").AsString() + "-" + dat1_.FieldByName("HCODE").AsString()] = 0;
    dat1_.Close();
    std::string firstFacility;
    if (siten_.Count > 0) siten_.GetCode(0, firstFacility);
    SetSql(recv1_, "SELECT KCODE,HCODE,HKANA,HNAME,TAX_LCODE,TAX_RCODE,BPFLG FROM HOJOMST ORDER BY KCODE,HCODE");
    for (recv1_.ExecQuery(); !recv1_.Eof(); recv1_.Next()) {
      const std::string kcode = recv1_.FieldByName("KCODE").AsString(), hcode = recv1_.FieldByName("HCODE").AsString();
      const bool isNew = existing.find(kcode + "-" + hcode) == existing.end();
      SetSql(dat1_, isNew ? "INSERT INTO HOJOMST(KCODE,HCODE,HKANA,HNAME,TAX_LCODE,TAX_RCODE,BPFLG,OPCODE)"
                            " VALUES(:KCODE,:HCODE,:HKANA,:HNAME,:TAX_LCODE,:TAX_RCODE,:BPFLG,:OPCODE)"
                          : "UPDATE HOJOMST SET HKANA=:HKANA,HNAME=:HNAME,TAX_LCODE=:TAX_LCODE,TAX_RCODE=:TAX_RCODE,"
                            "RTIME=:RTIME,OPCODE=:OPCODE WHERE (KCODE=:KCODE)AND(HCODE=:HCODE)");
      dat1_.ParamByName("KCODE").AsString(kcode);
      dat1_.ParamByName("HCODE").AsString(hcode);
      dat1_.ParamByName("HKANA").AsString(recv1_.FieldByName("HKANA").AsString());
      dat1_.ParamByName("HNAME").AsString(recv1_.FieldByName("HNAME").AsString());
      dat1_.ParamByName("TAX_LCODE").AsInteger(recv1_.FieldByName("TAX_LCODE").AsInteger());
      dat1_.ParamByName("TAX_RCODE").AsInteger(recv1_.FieldByName("TAX_RCODE").AsInteger());
      dat1_.ParamByName("OPCODE").AsInteger(SystemDef.OpCode);
      if (isNew)
        dat1_.ParamByName("BPFLG").AsString(recv1_.FieldByName("BPFLG").AsString());
      else
        dat1_.ParamByName("RTIME").AsDateTime(Now());
      dat1_.ExecQuery();
      dat1_.Close();
      if (!isNew) continue;
      SetSql(dat2_, "SELECT OUT_SCODE FROM SP_HOJO_KAMOKUSZ_INS(:SCODE,:KCODE,:HCODE)");
      dat2_.ParamByName("SCODE").AsString(firstFacility);
      dat2_.ParamByName("KCODE").AsString(kcode);
      dat2_.ParamByName("HCODE").AsString(hcode);
      for (dat2_.ExecQuery(); !dat2_.Eof(); dat2_.Next()) {
      }
      dat2_.Close();
    }
    recv1_.Close();
    SetSql(dat1_, "UPDATE ACCDEF1 SET HOJO_INS_MODE=" + std::to_string(saved) + " WHERE REC=1");
    dat1_.ExecQuery();
    dat1_.Close();
  });
}

void TCashBookLoaderBox::ImportKaisizan() {
  Step("「現金科目の開始残高の取り込み」に失敗しました。 ", [&] {
    const std::string cash = AccInf.SystemKCode[scGenkin];
    SetSql(recv1_, RecvMajor < 6 ? "SELECT SCODE,KCODE,HCODE,BCODE,KAISIZAN,KAISIZAN AS KISHU_KOMI,KAISIZAN AS KISHU_NUKI"
                                   " FROM KAMOKU_SZ WHERE KCODE=:KCODE ORDER BY SCODE,KCODE,HCODE,BCODE"
                                 : "SELECT SCODE,KCODE,HCODE,BCODE,KAISIZAN,KISHU_KOMI,KISHU_NUKI FROM KAMOKU_SZ"
                                   " WHERE KCODE=:KCODE ORDER BY SCODE,KCODE,HCODE,BCODE");
    recv1_.ParamByName("KCODE").AsString(cash);
    SetSql(dat1_, "UPDATE KAMOKU_SZ SET KAISIZAN=0,KISHU_KOMI=:KISHU_KOMI,KISHU_NUKI=:KISHU_NUKI"
                  " WHERE (SCODE=:SCODE)AND(KCODE=:KCODE)AND(HCODE=:HCODE)AND(BCODE=:BCODE)");
    for (recv1_.ExecQuery(); !recv1_.Eof(); recv1_.Next()) {
      dat1_.ParamByName("KISHU_KOMI").AsCurrency(recv1_.FieldByName("KISHU_KOMI").AsCurrency());
      dat1_.ParamByName("KISHU_NUKI").AsCurrency(recv1_.FieldByName("KISHU_NUKI").AsCurrency());
      for (const char* c : {"SCODE", "KCODE", "HCODE", "BCODE"}) dat1_.ParamByName(c).AsString(recv1_.FieldByName(c).AsString());
      dat1_.ExecQuery();
    }
    recv1_.Close();
    dat1_.Close();
  });
}

void TCashBookLoaderBox::ImportCashSiwake() {
  Step("「現金仕訳の取り込み」に失敗しました。 ", [&] {
    const std::string cash = AccInf.SystemKCode[scGenkin];
    writer_.MessageMode = 1;
    writer_.AutoCommit = 0;
    writer_.SetSisetuCode(SystemDef.DefSisetuCode.empty() ? " " : SystemDef.DefSisetuCode);
    // The received rows are read first: the merge reads the received database again per row.
    std::vector<TReceivedRow> rows;
    SetSql(recv1_,
           "SELECT SWK.*,K1.USERCODE AS USERCODE,K2.USERCODE AS R_USERCODE FROM SIWAKE SWK"
           " INNER JOIN KAMOKUMST K1 ON(SWK.KCODE=K1.KCODE)"
           " INNER JOIN KAMOKUMST K2 ON(SWK.R_KCODE=K2.KCODE)"
           " WHERE (SWK.DELFLG IN (0,1)) AND (SWK.TAISHAKU=1) AND ((SWK.KCODE=:KCODE OR SWK.R_KCODE=:R_KCODE) OR"
           " (SWK.LINKREC>0)) ORDER BY SWK.HIZUKE,SWK.KESSAN,SWK.SWKNO");
    recv1_.ParamByName("KCODE").AsString(cash);
    recv1_.ParamByName("R_KCODE").AsString(cash);
    for (recv1_.ExecQuery(); !recv1_.Eof(); recv1_.Next()) {
      TReceivedRow r;
      auto f = [&](const char* n) -> TIBXSQLVAR& { return recv1_.FieldByName(n); };
      r.REC = f("REC").AsInteger();
      r.SWKNO = f("SWKNO").AsInteger();
      r.DELFLG = f("DELFLG").AsInteger();
      r.RESERVE1 = f("RESERVE1").AsInteger();
      r.LINKREC = f("LINKREC").AsInteger();
      r.SCODE = f("SCODE").AsTrimString();
      r.KCODE = f("KCODE").AsTrimString();
      r.KNAME = f("KNAME").AsTrimString();
      r.R_KNAME = f("R_KNAME").AsTrimString();
      TRecord& v = r.values;
      v.HIZUKE = f("HIZUKE").AsDateTime();
      v.KESSAN = f("KESSAN").AsInteger();
      v.DNUM = f("DNUM").AsInteger();
      v.SNUM = f("SNUM").AsInteger();
      v.SCODE = f("SCODE").AsTrimString();
      v.Debit.KGROUP = f("KGROUP").AsTrimString();
      v.Debit.KCODE = f("USERCODE").AsTrimString();
      v.Debit.HCODE = f("HCODE").AsString();
      v.Debit.BCODE = f("BCODE").AsString();
      v.Debit.TAXCODE = f("TAXCODE").AsInteger();
      v.Credit.KGROUP = f("R_KGROUP").AsTrimString();
      v.Credit.KCODE = f("R_USERCODE").AsTrimString();
      v.Credit.HCODE = f("R_HCODE").AsString();
      v.Credit.BCODE = f("R_BCODE").AsString();
      v.Credit.TAXCODE = f("R_TAXCODE").AsInteger();
      v.KINGAKU = f("KINGAKU").AsCurrency();
      v.ZEIGAKU = f("ZEIGAKU").AsCurrency();
      v.ZEIRITUNO = f("ZEIRITUNO").AsInteger();
      v.AUTCALCU = f("AUTCALCU").AsInteger();
      v.TAXCALCU = f("TAXCALCU").AsInteger();
      v.OLDRATE = f("OLDRATE").AsInteger();
      v.TEKTEXT = f("TEKTEXT").AsTrimString();
      v.TORTEXT = f("TORTEXT").AsTrimString();
      v.FUSEN1 = f("FUSEN1").AsInteger();
      v.FUSEN2 = f("FUSEN2").AsInteger();
      v.COMMENT = f("COMMENT").AsTrimString();
      v.AO_COMMENT = f("AO_COMMENT").AsTrimString();
      rows.push_back(std::move(r));
    }
    recv1_.Close();

    for (const TReceivedRow& r : rows) {
      bool found = false;
      int mREC = 0, mRESERVE1 = 0, mRESERVE2 = 0, mDELFLG = 0;
      if (r.SCODE != writer_.SisetuCode()) writer_.SetSisetuCode(r.SCODE);
      const bool deleted = r.DELFLG == 1;
      if (r.DELFLG != 0 && r.DELFLG != 1) continue;
      const bool fromCashBook = r.RESERVE1 == 0;
      if (!fromCashBook && r.RESERVE1 < 0) continue;
      auto lookup = [&](const std::string& where, auto&& bind) {
        SetSql(dat1_, "SELECT COUNT(REC) AS RECCNT,REC,SWKNO,LINKREC,RESERVE1,RESERVE2,DELFLG FROM SIWAKE " + where +
                          " GROUP BY REC,SWKNO,LINKREC,RESERVE1,RESERVE2,DELFLG");
        bind();
        dat1_.ExecQuery();
        found = !dat1_.Eof();
        if (found) {
          mREC = dat1_.FieldByName("REC").AsInteger();
          mRESERVE1 = dat1_.FieldByName("RESERVE1").AsInteger();
          mRESERVE2 = dat1_.FieldByName("RESERVE2").AsInteger();
          mDELFLG = dat1_.FieldByName("DELFLG").AsInteger();
        }
        dat1_.Close();
      };
      if (fromCashBook) {
        lookup("WHERE (DELFLG IN (0,1)) AND (RESERVE1=:RESERVE1)", [&] { dat1_.ParamByName("RESERVE1").AsInteger(r.REC); });
        if (!found) {
          // A re-numbered entry: the RECs of the received rows of its journal number.
          std::string recs;
          SetSql(recv2_, "SELECT REC FROM SIWAKE WHERE (TAISHAKU=1) AND (SWKNO=:SWKNO)");
          recv2_.ParamByName("SWKNO").AsInteger(r.SWKNO);
          for (recv2_.ExecQuery(); !recv2_.Eof(); recv2_.Next())
            recs += (recs.empty() ? "" : ",") + std::to_string(recv2_.Fields(0).AsInteger());
          recv2_.Close();
          lookup("WHERE (DELFLG IN (0,1)) AND (RESERVE1 IN (" + (recs.empty() ? std::string("-1") : recs) + "))", [] {});
        }
      } else {
        lookup("WHERE (DELFLG IN (0,1)) AND (LINKKEY=:LINKKEY AND LINKKUB=:LINKKUB)", [&] {
          dat1_.ParamByName("LINKKEY").AsString(std::to_string(r.RESERVE1));
          dat1_.ParamByName("LINKKUB").AsInteger(10);
        });
        if (!found)
          lookup("WHERE (DELFLG IN (0,1)) AND (TAISHAKU=1) AND (SWKNO=(SELECT SWKNO FROM SIWAKE WHERE REC=:REC))",
                 [&] { dat1_.ParamByName("REC").AsInteger(r.RESERVE1); });
      }

      TRecord rec;
      auto fill = [&] {
        const TRecord& v = r.values;
        rec.HIZUKE = v.HIZUKE; rec.KESSAN = v.KESSAN; rec.DNUM = v.DNUM; rec.SNUM = v.SNUM; rec.SCODE = v.SCODE;
        rec.Debit = siwakeio::TSwkBalance{};
        rec.Credit = siwakeio::TSwkBalance{};
        rec.Debit.KGROUP = v.Debit.KGROUP; rec.Debit.KCODE = v.Debit.KCODE; rec.Debit.HCODE = v.Debit.HCODE;
        rec.Debit.BCODE = v.Debit.BCODE; rec.Debit.TAXCODE = v.Debit.TAXCODE;
        rec.Credit.KGROUP = v.Credit.KGROUP; rec.Credit.KCODE = v.Credit.KCODE; rec.Credit.HCODE = v.Credit.HCODE;
        rec.Credit.BCODE = v.Credit.BCODE; rec.Credit.TAXCODE = v.Credit.TAXCODE;
        rec.KINGAKU = v.KINGAKU; rec.ZEIGAKU = v.ZEIGAKU; rec.ZEIRITUNO = v.ZEIRITUNO; rec.AUTCALCU = v.AUTCALCU;
        rec.TAXCALCU = v.TAXCALCU; rec.OLDRATE = v.OLDRATE; rec.TEKTEXT = v.TEKTEXT; rec.TORTEXT = v.TORTEXT;
        rec.FUSEN1 = v.FUSEN1; rec.FUSEN2 = v.FUSEN2; rec.COMMENT = v.COMMENT; rec.AO_COMMENT = v.AO_COMMENT;
        rec.MNUM = 0; rec.TEKCODE = 0; rec.TORCODE = 0;
        rec.RTIME = Now();
        rec.OPCODE = SystemDef.OpCode;
        rec.Debit.SideRateNo = rec.OLDRATE;
        rec.Credit.SideRateNo = rec.OLDRATE;
      };
      auto linkMarks = [&] {
        SetSql(dat1_, "UPDATE SIWAKE SET RESERVE1=:RESERVE1,RESERVE2=:RESERVE2 WHERE (SWKREC=:SWKREC)");
        dat1_.ParamByName("RESERVE1").AsInteger(found && rec.RESERVE1 > 0 ? rec.RESERVE1 : r.REC);
        dat1_.ParamByName("RESERVE2").AsInteger(r.LINKREC);
        dat1_.ParamByName("SWKREC").AsInteger(rec.SWKREC);
        dat1_.ExecQuery();
        dat1_.Close();
      };
      auto texts = [&](const std::string& number, const std::string& message) {
        const std::string counter = r.KCODE != cash ? r.KNAME : r.R_KNAME;
        return "(仕訳番号:" + number + " 日付:" + FormatDateTime("yyyy/mm/dd", r.values.HIZUKE) + " 相手科目:" + counter +
               " 摘要:" + Described(r.values.TEKTEXT) + " 金額:" + FormatFloat("#,##0", r.values.KINGAKU) + ") " + message;
      };

      if (!deleted) {
        writer_.InitSiwake(rec, 0, 0);
        if (found) {
          const bool update = (mRESERVE1 == 0 && r.LINKREC > 0) || (r.LINKREC > 0 && r.RESERVE1 == 0) ||
                              (r.LINKREC > 0 && mRESERVE2 < r.LINKREC);
          if (!update) {
            if (mRESERVE1 == 0) {
              writer_.GetSiwake(rec, mREC, false);
              linkMarks();
            }
            continue;
          }
          writer_.GetSiwake(rec, mREC, false);
        }
        const bool wasDeleted = found && rec.DELFLG == 1;
        if (wasDeleted) {
          writer_.RestoreSiwake(rec.SWKREC);
          SetSql(dat1_, "UPDATE SIWAKE SET LINKKEY=:LINKKEY,LINKKUB=:LINKKUB WHERE (SWKREC=:SWKREC)");
          dat1_.ParamByName("LINKKEY").AsString(std::to_string(r.RESERVE1));
          dat1_.ParamByName("LINKKUB").AsInteger(10);
          dat1_.ParamByName("SWKREC").AsInteger(rec.SWKREC);
          dat1_.ExecQuery();
          dat1_.Close();
          writer_.GetSiwake(rec, mREC, false);
        }
        const std::int32_t oldRec = rec.REC;
        fill();
        std::int32_t code = 0, result = -1;
        std::string msg;
        if (writer_.TestSiwake(rec, code, msg)) {
          CalcSiwakeRecTax(rec);
          if (rec.Debit.RIT == Currency(0) && rec.Credit.RIT == Currency(0)) rec.TAXCALCU = 2;
          rec.LOCALFLG = 10;
          result = writer_.PutSiwake(rec);
          if (result >= 0) linkMarks();
        }
        if (result < 0)
          AddLog(kSyoriError, -111, texts("- ", msg));
        else if (result == 0 && (wasDeleted || rec.REC != oldRec))
          AddLog(kSyoriWarning, 11, texts(std::to_string(rec.SWKREC), "受信データの訂正仕訳が優先されました。"));
      } else if (found && mDELFLG != 1) {
        writer_.GetSiwake(rec, mREC, false);
        fill();
        writer_.DeleteSiwake(rec.SWKREC);
        linkMarks();
        AddLog(kSyoriWarning, 12, texts(std::to_string(rec.SWKREC), "受信データの削除仕訳が優先されました。"));
      }
    }
  });
}

void TCashBookLoaderBox::CompareCashBalance() {
  Step("「科目残高の比較」に失敗しました。 ", [&] {
    const std::string cash = AccInf.SystemKCode[scGenkin];
    SetSql(dat1_, "SELECT DAC FROM KAMOKUMST WHERE KCODE=:KCODE");
    dat1_.ParamByName("KCODE").AsString(cash);
    dat1_.ExecQuery();
    const int dac = dat1_.Eof() ? 0 : dat1_.FieldByName("DAC").AsInteger();
    dat1_.Close();
    const int uh = AccInf.TAXDEFUH;
    if ((uh != 0 && uh != 1) || dac < 1 || dac > 4) return;   // no balance is defined for these
    const bool debit = dac == 1 || dac == 4;
    const std::string movement =
        uh == 0 ? (debit ? "SELECT SUM(KAR_NUK+KAR_TAX)-SUM(KAS_NUK+KAS_TAX) AS ZANDAKA FROM KAMOKU_MS"
                         : "SELECT SUM(KAS_NUK+KAS_TAX)-SUM(KAR_NUK+KAR_TAX) AS ZANDAKA FROM KAMOKU_MS")
                : (debit ? "SELECT SUM(KAR_NUK-KAR_IKKATSU)-SUM(KAS_NUK-KAS_IKKATSU) AS ZANDAKA FROM KAMOKU_MS"
                         : "SELECT SUM(KAS_NUK-KAS_IKKATSU)-SUM(KAR_NUK-KAR_IKKATSU) AS ZANDAKA FROM KAMOKU_MS");
    auto balance = [&](TIBSQL& q, bool old) {
      SetSql(q, old ? "SELECT SUM(KAISIZAN) AS KAISI_KOMIZAN,SUM(KAISIZAN) AS KAISI_NUKIZAN FROM KAMOKU_SZ WHERE KCODE=:KCODE"
                    : "SELECT SUM(KISHU_KOMI) AS KAISI_KOMIZAN,SUM(KISHU_NUKI) AS KAISI_NUKIZAN FROM KAMOKU_SZ WHERE KCODE=:KCODE");
      q.ParamByName("KCODE").AsString(cash);
      q.ExecQuery();
      Currency total = q.Eof() ? Currency() : q.FieldByName(uh == 0 ? "KAISI_KOMIZAN" : "KAISI_NUKIZAN").AsCurrency();
      q.Close();
      SetSql(q, movement + " WHERE KCODE=:KCODE");
      q.ParamByName("KCODE").AsString(cash);
      for (q.ExecQuery(); !q.Eof(); q.Next()) total += q.FieldByName("ZANDAKA").AsCurrency();
      q.Close();
      return total;
    };
    if (balance(dat1_, false) != balance(recv1_, RecvMajor < 6))
      AddLog(kSyoriWarning, 201,
             "本データと出納帳データの間で現金残高の違いが発生しました。前回のデータ送信後に現金取引の追加・訂正を行っていると"
             "残高の違いは発生します。");
  });
}
