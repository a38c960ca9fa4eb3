#include "comm/cashbookloader.h"

#include <exception>

#include "core/globals.h"
#include "core/settings.h"
#include "dbaccess/datasetconnection.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/paths.h"

namespace {

constexpr const char* kSuccess = "取り込み処理が成功しました。";
constexpr const char* kMasterNote = " （次回の送信時は、マスター送信を行って下さい。）";
constexpr const char* kAborted = "取り込み処理を中止しました。";
constexpr const char* kInUse =
    "現在、他のユーザーがデータを使用中です。他のユーザーがデータを使用している間は現金出納帳の取り込みは行えません。";
constexpr const char* kConnectFailed = "会計データの接続に失敗しました。";
constexpr const char* kCopyFailed = "受信データの移行処理後のコピーに失敗しました。";

}  // namespace

TCashBookLoaderBox::TCashBookLoaderBox() {
  recvDb_.SQLDialect = 3;
  recvDb_.LoginPrompt = false;
  recvTr_.Params = TIBStrings{"read_committed", "rec_version", "nowait"};
  recvTr_.DefaultAction = TTransactionAction::taRollback;
  recvTr_.SetDefaultDatabase(&recvDb_);
  recvTr_.AddDatabase(&DataSetConnection().IBDatabaseDAT);
  recvDb_.SetDefaultTransaction(&recvTr_);
  for (TIBSQL* q : {&recv1_, &recv2_}) {
    q->SetDatabase(&recvDb_);
    q->SetTransaction(&recvTr_);
  }
  for (TIBSQL* q : {&dat1_, &dat2_}) q->SetDatabase(&DataSetConnection().IBDatabaseDAT);
  SetTransaction(&DataSetConnection().IBTransactionDAT);
}

TCashBookLoaderBox::~TCashBookLoaderBox() {
  recv1_.Close();
  recv2_.Close();
  recvDb_.ForceClose();
  recvTr_.RemoveDatabase(&DataSetConnection().IBDatabaseDAT);
}

void TCashBookLoaderBox::SetTransaction(TIBTransaction* Transaction) {
  dat1_.SetTransaction(Transaction);
  dat2_.SetTransaction(Transaction);
  writer_.SetTransaction(Transaction);
}

void TCashBookLoaderBox::SetReceivedFile(const std::string& FileName) {
  receivedFile_ = FileName;
  if (!FileExists(FileName)) return;
  recvDb_.DatabaseName = FileName;
  recvDb_.Params.Clear();
  recvDb_.Params.Add("user_name=" + SystemDef.DbUser);
  recvDb_.Params.Add("password=" + SystemDef.DbPassword);
  recvDb_.Params.Add("lc_ctype=SJIS_0208");
}

void TCashBookLoaderBox::AddLog(std::uint8_t Kind, std::int32_t Number, const std::string& Text) {
  log_.push_back({"", Kind, Number, Text});
}

void TCashBookLoaderBox::SetProgress(const char* Text) {
  progress_ = Text;
  if (OnProgress) OnProgress();
}

void TCashBookLoaderBox::StepBar() {
  ++bar_;
  if (OnProgress) OnProgress();
}

void TCashBookLoaderBox::Step(const char* FailText, const std::function<void()>& Work) {
  try {
    Work();
  } catch (const std::exception& e) {
    AddLog(kSyoriError, -100, std::string(FailText) + "原因: " + e.what());
    throw;
  }
}

void TCashBookLoaderBox::ExecuteAuto() {
  if (ReceiveKind != 1) return;
  if (autoStart_) Execute();
}

void TCashBookLoaderBox::Execute() {
  if (running_) return;
  running_ = true;
  log_.clear();
  const std::string folder = SystemDef.DataDir;
  if (DataSetConnection().AccDatInConnection(1, SystemDef.HostName, folder, false)) {
    AddLog(kSyoriError, -100, kInUse);
  } else {
    bool connected = false;
    try {
      recvDb_.Open();
      connected = DataSetConnection().IBDatabaseDAT.Connected() || DataSetConnection().fnAccDatConnected(SystemDef.HostName, folder, false);
    } catch (const std::exception&) {
      connected = false;
    }
    if (!connected) {
      recvDb_.ForceClose();
      AddLog(kSyoriError, -100, kConnectFailed);
    } else {
      RunImport();
    }
  }
  autoStart_ = false;
  const bool cash = ReceiveKind == 0;
  if (ResultCode() <= 0) {
    title1_ = cash ? "現金出納帳データの取り込みが中止されました。" : "データの取り込みが中止されました。";
    title2_ = "下記の情報より、中止された理由を確認して下さい。";
  } else {
    title1_ = cash ? "現金出納帳データの取り込みを行いました。" : "データの取り込みを行いました。";
    title2_ = "下記の情報を確認して下さい。";
  }
  if (!DataSetConnection().IBDatabaseDAT.Connected()) DataSetConnection().fnAccDatConnected(SystemDef.HostName, folder, false);
  if (ResultCode() > 0 && DataSetConnection().IBDatabaseDAT.Connected()) DataSetConnection().fnGetAccInfo();
  running_ = false;
}

void TCashBookLoaderBox::EndTransaction(bool Commit) {
  SetProgress(Commit ? "データ確定中です…" : "データ廃棄中です…");
  if (!wasActive_ && recvTr_.InTransaction()) {
    if (Commit) {
      recvTr_.Commit();
    } else {
      try {
        recvTr_.Rollback();
      } catch (...) {
        // a rollback always ends the transaction
      }
    }
  }
  StepBar();
}

void TCashBookLoaderBox::RunImport() {
  log_.clear();
  bar_ = 0;
  SetProgress("準備中です…");
  if (ReceiveKind == 0 && ImportKind == 0) return;
  SetTransaction(&recvTr_);
  jisyo_.SetTransaction(&recvTr_);
  wasActive_ = recvTr_.InTransaction();
  bool replaced = false;
  try {
    if (!wasActive_) recvTr_.StartTransaction();
    siten_.Flags = slBranches;
    siten_.SetTransaction(&recvTr_);
    siten_.Execute(-1);
    StepBar();
    if (ImportKind == 1) {
      // The received data must have the required version (none is required
      // in this system, so every received database passes).
      recv1_.Close();
      SetSql(recv1_, "SELECT MAJOR,MINOR1,MINOR2 FROM ACCVERSION ORDER BY MAJOR DESC,MINOR1 DESC,MINOR2 DESC");
      recv1_.ExecQuery();
      recv1_.Close();
      StepBar();
    }
    bool merged = true;
    if (ImportKind == 0) {
      SetProgress("現金仕訳の整合中です…");
      StepBar();
      if (ResultCode() >= 0) {
        SetProgress("摘要／取引先辞書の移行中です…");
        MigrateJisyo();
        StepBar();
      }
      if (ResultCode() >= 0) {
        SetProgress("データリスト名称の移行中です…");
        MigrateDataListName();
        StepBar();
      }
    } else {
      SetProgress("科目体系の整合チェック中です…");
      merged = CheckKamokuTaikei();
      if (merged && ResultCode() >= 0) {
        SetProgress("補助科目の移行中です…");
        ImportHojo();
        StepBar();
      }
      if (merged && ResultCode() >= 0) {
        // Only data from a sending installation carries opening balances.
        SetProgress("開始残高の移行中です…");
        if (ReceiveKind == 1) ImportKaisizan();
        StepBar();
      }
      if (merged && ResultCode() >= 0) {
        SetProgress("現金仕訳の移行中です…");
        ImportCashSiwake();
        StepBar();
      }
      if (merged && ResultCode() >= 0 && ReceiveKind == 0) {
        SetProgress("現金残高の比較中です…");
        CompareCashBalance();
      }
    }
    if (!merged) {
      EndTransaction(false);
    } else if (ResultCode() < 0) {
      EndTransaction(false);
      AddLog(kSyoriError, -100, kAborted);
    } else {
      SetProgress("データ整合中です…");
      Step("取り込み後処理に失敗しました。 ", [&] {
        if (ImportKind == 0) CleanReceived();
        StepBar();
        EndTransaction(true);
      });
      replaced = true;
    }
  } catch (...) {
    EndTransaction(false);
  }
  recv1_.Close();
  recv2_.Close();
  dat1_.Close();
  dat2_.Close();
  recvDb_.ForceClose();
  try {
    DataSetConnection().IBDatabaseDAT.Close();
  } catch (...) {
    DataSetConnection().IBDatabaseDAT.ForceClose();
  }
  SetTransaction(&DataSetConnection().IBTransactionDAT);
  if (!replaced) return;
  // The success entry follows the file replacement, which must succeed first.
  if (ImportKind == 0 && !ReplaceDataFile(SystemDef.DataDir, receivedFile_)) {
    AddLog(kSyoriError, -100, kCopyFailed);
    AddLog(kSyoriError, -100, kAborted);
    return;
  }
  bool note = false;
  for (const TPelorinSyoriInfo& e : log_) note = note || e.Number == 101;
  AddLog(kSyoriInfo, 1, std::string(kSuccess) + (note ? kMasterNote : ""));
}

bool TCashBookLoaderBox::ReplaceDataFile(const std::string& DataDir, const std::string& ReceivedFile) {
  const std::string dataFile = PathJoin(DataDir, DataFile.empty() ? "rqacc.fdb" : DataFile);
  const std::string backup = ChangeFileExt(dataFile, ".f00");
  const std::uint8_t kind = static_cast<std::uint8_t>(ConnectKind);
  const bool moved = ServerFiles().ServerFMove(dataFile, backup, kind);
  bool copied = moved && ServerFiles().ServerFCopy(ReceivedFile, dataFile, kind);
  if (moved && !copied) {
    if (ServerFiles().ServerFExist(dataFile, kind)) ServerFiles().ServerFDel(dataFile, false, kind);
    // A backup that cannot be moved back stays: it is the only copy.
    ServerFiles().ServerFMove(backup, dataFile, kind);
    return false;
  }
  if (copied && ServerFiles().ServerFExist(backup, kind)) ServerFiles().ServerFDel(backup, false, kind);
  return copied;
}

void TCashBookLoaderBox::MigrateJisyo() {
  int count = 0;
  Step("辞書分類件数の取得」に失敗しました。 ", [&] {
    SetSql(dat1_, "SELECT COUNT(TEKCODE) AS RECCNT FROM TEKDIC");
    dat1_.ExecQuery();
    count = dat1_.FieldByName("RECCNT").AsInteger();
    dat1_.Close();
  });
  if (count == 0) return;
  const std::string file = PathJoin(SystemDef.TempDir, "rqzjisyo.txt");
  jisyo_.JisyoKind = 0;
  jisyo_.AllSisetu = 1;
  jisyo_.SetFileVersion("1.1");
  Step("「摘要・取引先辞書の移行(エクスポート)」に失敗しました。 ", [&] {
    jisyo_.SetDatabase(&DataSetConnection().IBDatabaseDAT);
    jisyo_.SetTransaction(&recvTr_);
    if (!jisyo_.ExportFile(file)) throw Exception(file);
  });
  Step("「摘要・取引先辞書の移行(インポート)」に失敗しました。 ", [&] {
    jisyo_.SetDatabase(&recvDb_);
    jisyo_.SetTransaction(&recvTr_);
    if (!jisyo_.ImportFile(file)) throw Exception(file);
  });
}

void TCashBookLoaderBox::MigrateDataListName() {
  Step("「データリスト名称の更新」に失敗しました。 ", [&] {
    SetSql(dat1_, "SELECT ENTTEXT,DATALOCK FROM ACCDEF1 WHERE REC=1");
    dat1_.ExecQuery();
    const std::string entText = dat1_.Eof() ? std::string() : dat1_.FieldByName("ENTTEXT").AsTrimString();
    const int dataLock = dat1_.Eof() ? 0 : dat1_.FieldByName("DATALOCK").AsInteger();
    dat1_.Close();
    SetSql(recv1_,
           "UPDATE ACCDEF1 SET ENTTEXT=:ENTTEXT,PASWORD=:PASWORD,WEB_HOLDER=:WEB_HOLDER,DATALOCK=:DATALOCK WHERE REC=1");
    recv1_.ParamByName("ENTTEXT").AsString(entText);
    recv1_.ParamByName("PASWORD").AsString("");
    recv1_.ParamByName("WEB_HOLDER").AsString("");
    recv1_.ParamByName("DATALOCK").AsInteger(dataLock);
    recv1_.ExecQuery();
    recv1_.Close();
  });
}

void TCashBookLoaderBox::CleanReceived() {
  for (const char* table : {"OPINF", "OPHIST", "OPLICENSE", "OPDEFSISETU"}) {
    SetSql(recv1_, std::string("DELETE FROM ") + table);
    recv1_.ExecQuery();
  }
  SetSql(recv1_, "DELETE FROM ACCREG WHERE (AGROUP=:AGROUP) AND (ACODE=:ACODE)");
  for (const char* key : {"合算データ区分", "合算データ数"}) {
    recv1_.ParamByName("AGROUP").AsString("基本設定");
    recv1_.ParamByName("ACODE").AsString(key);
    recv1_.ExecQuery();
  }
  recv1_.Close();
}
