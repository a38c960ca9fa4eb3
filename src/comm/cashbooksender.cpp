#include "comm/cashbooksender.h"

#include <exception>

#include "core/globals.h"
#include "dbaccess/datasetconnection.h"
#include "dbaccess/dbui.h"
#include "platform/fb/transactionguard.h"

namespace {

constexpr const char* kName = "CashBookSender";

}  // namespace

TCashBookSender::TCashBookSender() {
  for (TIBSQL* q : {&select_, &update_}) {
    q->SetDatabase(&DataSetConnection().IBDatabaseDAT);
    q->SetTransaction(&DataSetConnection().IBTransactionDAT);
  }
}

void TCashBookSender::Execute() {
  log_.clear();
  if (SendModeOverride == 1) SendMode = 1;
  const std::string cash = AccInf.SystemKCode[scGenkin];
  TTransactionGuard guard(DataSetConnection().IBTransactionDAT);
  try {
    guard.Begin();
    struct TRow {
      std::int32_t REC, SWKREC, DELFLG;
      bool cash;
    };
    std::vector<TRow> rows;
    if (SendMode == 0) {
      SetSql(select_,
             "SELECT REC,SWKREC,DELFLG,KCODE,R_KCODE FROM SIWAKE WHERE (DELFLG IN (0,1)) AND (TAISHAKU=1) AND"
             " ((KCODE=:KCODE OR R_KCODE=:R_KCODE) OR (LINKREC>0))");
    } else {
      SetSql(select_,
             "SELECT REC,SWKREC,LINKKUB,LINKKEY,RESERVE1,DELFLG,KCODE,R_KCODE FROM SIWAKE WHERE (DELFLG=0) AND"
             " (LINKKUB=0) AND (TAISHAKU=1) AND ((KCODE=:KCODE OR R_KCODE=:R_KCODE) OR (LINKREC>0))");
    }
    select_.ParamByName("KCODE").AsString(cash);
    select_.ParamByName("R_KCODE").AsString(cash);
    for (select_.ExecQuery(); !select_.Eof(); select_.Next())
      rows.push_back({select_.FieldByName("REC").AsInteger(), select_.FieldByName("SWKREC").AsInteger(),
                      select_.FieldByName("DELFLG").AsInteger(),
                      select_.FieldByName("KCODE").AsTrimString() == cash ||
                          select_.FieldByName("R_KCODE").AsTrimString() == cash});
    select_.Close();
    if (SendMode == 0) {
      SetSql(update_,
             "UPDATE SIWAKE SET RESERVE1=:RESERVE1,RESERVE2=:RESERVE2,LINKKEY=:LINKKEY,LINKKUB=:LINKKUB,LINKREC=:LINKREC"
             ",LOCALFLG=:LOCALFLG WHERE SWKREC=:SWKREC");
      for (const TRow& r : rows) {
        const bool live = r.cash && r.DELFLG == 0;
        update_.ParamByName("RESERVE1").AsInteger(r.cash ? r.REC : 0);
        update_.ParamByName("RESERVE2").AsInteger(0);
        update_.ParamByName("LINKKEY").AsString(live ? std::to_string(r.REC) : std::string());
        update_.ParamByName("LINKKUB").AsInteger(live ? 10 : 0);
        update_.ParamByName("LINKREC").AsInteger(0);
        update_.ParamByName("LOCALFLG").AsInteger(0);
        update_.ParamByName("SWKREC").AsInteger(r.SWKREC);
        update_.ExecQuery();
      }
    } else {
      SetSql(update_, "UPDATE SIWAKE SET LINKKEY=:LINKKEY,LINKKUB=:LINKKUB WHERE SWKREC=:SWKREC");
      for (const TRow& r : rows) {
        update_.ParamByName("LINKKEY").AsString(std::to_string(r.REC));
        update_.ParamByName("LINKKUB").AsInteger(10);
        update_.ParamByName("SWKREC").AsInteger(r.SWKREC);
        update_.ExecQuery();
      }
    }
    update_.Close();
    guard.Commit();
    log_.push_back({kName, kSyoriInfo, 1, "出納帳データの送信処理が成功しました。"});
  } catch (const std::exception& e) {
    select_.Close();
    update_.Close();
    guard.Rollback();
    log_.push_back({kName, kSyoriError, -100, std::string("出納帳データの送信処理に失敗しました。 原因: ") + e.what()});
    DbShowMessage(std::string("出納帳データの送信処理中にエラーが発生しました。\r\r原因: ") + e.what(), kMsgError);
  }
}
