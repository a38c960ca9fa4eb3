#include "dbaccess/mynumber.h"

#include <array>
#include <chrono>
#include <thread>

#include "core/globals.h"
#include "core/protect.h"
#include "core/settings.h"
#include "core/sjis.h"
#include "dbaccess/accreg.h"
#include "dbaccess/datasetconnection.h"
#include "dbaccess/dbui.h"
#include "dbaccess/fberror.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/sysutils.h"

namespace {

constexpr std::int32_t kUniqueKeyViolation = 335544665;
constexpr std::int32_t kPrimaryKeyViolation = 335544349;  // "violation of PRIMARY or UNIQUE KEY"
constexpr const char* kGroup = "基本設定";

const std::array<const char*, 11> kStateTexts = {"**",         "が登録", "が変更", "が削除", "が参照",
                                                 "が印刷",     "を含むデータが保存", "を含むデータが復元",
                                                 "を含めずにデータが保存", "が既定値に設定", "が変更"};

bool IsDuplicate(const EIBError& e) {
  return e.IBErrorCode() == kUniqueKeyViolation || e.IBErrorCode() == kPrimaryKeyViolation;
}

std::string FolderOf(const std::string& DatabaseFile) {
  return StringReplaceAll(DatabaseFile, "/" + DataFile, "");
}

}  // namespace

bool AskMyNumberPassword(const std::string& Key) {
  if (SystemDef.MyNumberAdmin == 0) return true;
  if (Key.empty()) return false;
  TInputDlgRequest request;
  request.InputMode = 1;
  request.Caption = "マイナンバー管理パスワードの確認";
  request.Message = "マイナンバー管理パスワードを入力して下さい。";
  request.MessageColor = kWindowTextColor;
  request.MaxLength = 8;
  request.ImeMode = 0;
  request.InputFilter = 30;
  request.Hint = "パスワード(英数字8文字以内)を入力し、[OK]ボタンを押して下さい。3回続けて失敗すると呼出し元の画面に戻ります。";
  for (int attempt = 1; attempt <= 3; ++attempt) {
    if (attempt > 1) {
      request.Message = "正しいパスワードを入力して下さい。";
      request.MessageColor = kRedColor;
    }
    request.InputText.clear();
    if (DbInputDialog(request) != kModalOk) return false;
    if (TrimZen(request.InputText) == Key) return true;
  }
  return false;
}

TMyNumberIO::TMyNumberIO() {
  for (TIBSQL* q : {&query1_, &query2_}) {
    q->SetDatabase(&DataSetConnection().IBDatabaseDAT);
    q->SetTransaction(&DataSetConnection().IBTransactionDAT);
  }
}

void TMyNumberIO::MakeLogRec(TMyNumberLogRec& Rec, std::uint8_t State, const std::string& ProcName) const {
  Rec.FHIZUKE = 0;
  Rec.FSERIAL = SystemDef.Serial;
  Rec.FOPCODE = IntToStr(SystemDef.LoginCode);
  Rec.FOPNAME = SystemDef.OpName;
  Rec.FHOST = Trim(FixLen(SystemDef.PcName, 60));
  Rec.FSTATE = State;
  Rec.FPROCNAME = Trim(FixLen(ProcName, 40));
  std::string comment =
      std::string("マイナンバー情報") + (State < kStateTexts.size() ? kStateTexts[State] : "") + "されました。";
  const bool sent = Rec.FPROCNAME.find("送信") != std::string::npos;
  if (State == 6 && sent) comment = "マイナンバー情報を含むデータが送信されました。";
  if (State == 7 && Rec.FPROCNAME.find("受信") != std::string::npos)
    comment = "マイナンバー情報を含むデータが受信されました。";
  if (State == 8 && sent) comment = "マイナンバー情報を含めずにデータが送信されました。";
  if (State == 9) comment = "マイナンバー管理パスワードを既定値に設定しました。";
  if (State == 10) comment = "マイナンバー管理パスワードを変更しました。";
  Rec.FCOMMENT = Trim(FixLen(comment, 100));
}

template <typename Body>
void TMyNumberIO::OnDataSet(const std::string& Host, const std::string& File, bool TestFile, Body body) {
  TDataSetConnection& dm = DataSetConnection();
  if (TestFile && !dm.ServerFExist(File, ConnectKind)) return;
  const bool wasConnected = dm.IBDatabaseDAT.Connected();
  const std::string folder = FolderOf(File);
  if (!wasConnected && !dm.fnAccDatConnected(Host.empty() ? SystemDef.HostName : Host, folder, false)) return;
  try {
    body();
  } catch (...) {
    if (!wasConnected) dm.AccDatDisconnect(folder, false, false);
    throw;
  }
  if (!wasConnected) dm.AccDatDisconnect(folder, false, false);
}

void TMyNumberIO::ReadLog(std::int32_t Descending) {
  LogCount = 0;
  Log.clear();
  TTransactionGuard transaction(DataSetConnection().IBTransactionDAT);
  try {
    transaction.Begin();
    SetSql(query1_, "SELECT SHOUGOU FROM ACCDEF1\nWHERE REC=1");
    query1_.ExecQuery();
    CompanyName = query1_.Eof() ? std::string() : query1_.Fields(0).AsTrimString();
    SetSql(query1_, "SELECT COUNT(FSERIAL) AS RECCNT FROM MYNUMBER_LOG");
    query1_.ExecQuery();
    const std::int32_t count = query1_.Fields(0).AsInteger();
    query1_.Close();
    if (count > 0) {
      SetSql(query1_, std::string("SELECT FHIZUKE,FSERIAL,FOPCODE,FOPNAME,FHOST,FSTATE,FPROCNAME,FCOMMENT\n"
                                  "FROM MYNUMBER_LOG\n") +
                          (Descending == 1 ? "ORDER BY FHIZUKE DESC,FSERIAL,FOPCODE" : "ORDER BY FHIZUKE,FSERIAL,FOPCODE"));
      for (query1_.ExecQuery(); !query1_.Eof(); query1_.Next()) {
        TMyNumberLogRec rec;
        rec.FHIZUKE = query1_.FieldByName("FHIZUKE").AsDateTime();
        rec.FSERIAL = query1_.FieldByName("FSERIAL").AsString();
        rec.FOPCODE = query1_.FieldByName("FOPCODE").AsString();
        rec.FOPNAME = query1_.FieldByName("FOPNAME").AsString();
        rec.FHOST = query1_.FieldByName("FHOST").AsString();
        rec.FSTATE = static_cast<std::uint8_t>(query1_.FieldByName("FSTATE").AsInteger());
        rec.FPROCNAME = query1_.FieldByName("FPROCNAME").AsString();
        rec.FCOMMENT = query1_.FieldByName("FCOMMENT").AsString();
        Log.push_back(rec);
      }
      query1_.Close();
    }
    LogCount = static_cast<std::int32_t>(Log.size());
    transaction.Commit();
  } catch (const std::exception& e) {
    query1_.Close();
    transaction.Rollback();
    ShowErrorDetail("管理ログリストの取得に失敗しました。", e.what(), kMsgError);
  }
}

void TMyNumberIO::InsertLog(TMyNumberLogRec& Rec, bool Restamp) {
  for (int attempt = 1;; ++attempt) {
    TTransactionGuard transaction(DataSetConnection().IBTransactionDAT);
    try {
      transaction.Begin();
      if (Rec.FHIZUKE == 0) Rec.FHIZUKE = Now();
      SetSql(query2_,
             "INSERT INTO MYNUMBER_LOG(FHIZUKE,FSERIAL,FOPCODE,FOPNAME,FHOST,FSTATE,FPROCNAME,FCOMMENT)\n"
             "VALUES(:FHIZUKE,:FSERIAL,:FOPCODE,:FOPNAME,:FHOST,:FSTATE,:FPROCNAME,:FCOMMENT)");
      query2_.ParamByName("FHIZUKE").AsDateTime(Rec.FHIZUKE);
      query2_.ParamByName("FSERIAL").AsString(Rec.FSERIAL);
      query2_.ParamByName("FOPCODE").AsString(Rec.FOPCODE);
      query2_.ParamByName("FOPNAME").AsString(Rec.FOPNAME);
      query2_.ParamByName("FHOST").AsString(Rec.FHOST);
      query2_.ParamByName("FSTATE").AsInteger(Rec.FSTATE);
      query2_.ParamByName("FPROCNAME").AsString(Rec.FPROCNAME);
      query2_.ParamByName("FCOMMENT").AsString(Rec.FCOMMENT);
      query2_.ExecQuery();
      query2_.Close();
      transaction.Commit();
      return;
    } catch (const EIBError& e) {
      query2_.Close();
      transaction.Rollback();
      if (!Restamp || !IsDuplicate(e)) throw;
      if (attempt >= 4) return;  // dropped without a message
      Rec.FHIZUKE = 0;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }
}

void TMyNumberIO::AddLog(TMyNumberLogRec& Rec) {
  try {
    InsertLog(Rec, true);
  } catch (...) {
    ReportCurrentException("TMyNumberIO.AddLog", "管理ログリストの追加に失敗しました。", true);
  }
}

void TMyNumberIO::DeleteLog(const TMyNumberLogRec& Rec) {
  TTransactionGuard transaction(DataSetConnection().IBTransactionDAT);
  try {
    transaction.Begin();
    SetSql(query2_, "DELETE FROM MYNUMBER_LOG\nWHERE (FHIZUKE=:FHIZUKE) AND (FSERIAL=:FSERIAL) AND (FOPCODE=:FOPCODE)");
    query2_.ParamByName("FHIZUKE").AsDateTime(Rec.FHIZUKE);
    query2_.ParamByName("FSERIAL").AsString(Rec.FSERIAL);
    query2_.ParamByName("FOPCODE").AsString(Rec.FOPCODE);
    query2_.ExecQuery();
    query2_.Close();
    transaction.Commit();
  } catch (const std::exception& e) {
    query2_.Close();
    transaction.Rollback();
    ShowErrorDetail("管理ログリストの削除に失敗しました。", e.what(), kMsgError);
  }
}

void TMyNumberIO::LoadLog(const std::string& Host, const std::string& File) {
  OnDataSet(Host, File, true, [&] { ReadLog(0); });
}

void TMyNumberIO::AddLogTo(TMyNumberLogRec& Rec, const std::string& Host, const std::string& File) {
  OnDataSet(Host, File, true, [&] { AddLog(Rec); });
}

void TMyNumberIO::MergeLog(const std::string& Host, const std::string& File) {
  if (CompanyName.empty()) return;
  OnDataSet(Host, File, true, [&] {
    TTransactionGuard transaction(DataSetConnection().IBTransactionDAT);
    try {
      transaction.Begin();
      SetSql(query1_, "SELECT SHOUGOU FROM ACCDEF1\nWHERE REC=1");
      query1_.ExecQuery();
      const std::string target = query1_.Eof() ? std::string() : query1_.Fields(0).AsTrimString();
      query1_.Close();
      std::int32_t failed = 0;
      if (target == CompanyName) {
        for (TMyNumberLogRec rec : Log) {
          // The unique key decides whether the row is there already.
          SetSql(query1_,
                 "SELECT COUNT(FHIZUKE) AS RECCNT FROM MYNUMBER_LOG\n"
                 "WHERE (FHIZUKE=:FHIZUKE) AND (FSERIAL=:FSERIAL) AND (FOPCODE=:FOPCODE)");
          query1_.ParamByName("FHIZUKE").AsDateTime(rec.FHIZUKE);
          query1_.ParamByName("FSERIAL").AsString(rec.FSERIAL);
          query1_.ParamByName("FOPCODE").AsString(rec.FOPCODE);
          query1_.ExecQuery();
          const bool present = query1_.Fields(0).AsInteger() > 0;
          query1_.Close();
          if (present) continue;
          try {
            InsertLog(rec, false);   // a merged row keeps its own time stamp
          } catch (const EIBError&) {
            ++failed;
          }
        }
      }
      transaction.Commit();
      if (failed > 0)
        ShowErrorDetail("管理ログリストのマージに失敗しました。",
                        Format("%d件の管理ログを追加できませんでした。", failed), kMsgError);
    } catch (const std::exception& e) {
      query1_.Close();
      transaction.Rollback();
      ShowErrorDetail("管理ログリストのマージに失敗しました。", e.what(), kMsgError);
    }
  });
}

void TMyNumberIO::ReadSettings(const std::string& Host, const std::string& File, const std::string& Command,
                               const std::string& Comment) {
  UseFlag = 0;
  Key.clear();
  Value.clear();
  storedKey_.clear();
  storedValue_.clear();
  OnDataSet(Host, File, true, [&] {
    TTransactionGuard transaction(DataSetConnection().IBTransactionDAT);
    try {
      transaction.Begin();
      TVariant value;
      GetAccReg(kGroup, "＃USE", "整数", "0", value);
      UseFlag = value.AsInteger();
      GetAccReg(kGroup, "＃KEY", "文字", "", value);
      storedKey_ = value.AsString();
      GetAccReg(kGroup, "＃VALUE", "文字", "", value);
      storedValue_ = value.AsString();
      if (!storedKey_.empty()) UnprotectText(storedKey_, "", 0, Key);
      if (!storedValue_.empty()) UnprotectText(storedValue_, "", 0, Value);
      if (UpperCase(Command) == "MYNUMBER_CLEAR") {
        PutAccReg(kGroup, "＃USE", "整数", TVariant(0));
        DeleteAccReg(kGroup, "＃KEY");
        DeleteAccReg(kGroup, "＃VALUE");
        MakeLogRec(LogRec, 3, Comment.empty() ? std::string("アプリケーション") : Comment);
        AddLog(LogRec);
      }
      transaction.Commit();
    } catch (const std::exception& e) {
      transaction.Rollback();
      ShowErrorDetail("マイナンバー情報の取得に失敗しました。", e.what(), kMsgError);
    }
  });
}

void TMyNumberIO::WriteSettings(const std::string& Host, const std::string& File) {
  if (UseFlag != 1) return;
  OnDataSet(Host, File, false, [&] {
    TTransactionGuard transaction(DataSetConnection().IBTransactionDAT);
    try {
      transaction.Begin();
      PutAccReg(kGroup, "＃USE", "整数", TVariant(UseFlag));
      // The stored forms go back exactly as they were read.
      if (!storedKey_.empty()) PutAccReg(kGroup, "＃KEY", "文字", TVariant(storedKey_));
      if (!storedValue_.empty()) PutAccReg(kGroup, "＃VALUE", "文字", TVariant(storedValue_));
      transaction.Commit();
    } catch (const std::exception& e) {
      transaction.Rollback();
      ShowErrorDetail("マイナンバー情報の取得に失敗しました。", e.what(), kMsgError);
      return;
    }
    DeleteLog(LogRec);
  });
}
