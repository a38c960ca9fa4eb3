// The cloud-share setting of a data set, read and written on its own
// database through the data module's data-set connection.
#include "dataselect/cloudshareio.h"

#include <filesystem>

#include "core/globals.h"
#include "core/settings.h"
#include "core/versions.h"
#include "dbaccess/datainfo.h"
#include "dbaccess/datasetconnection.h"
#include "dbaccess/fberror.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/sysutils.h"

namespace {

const char* const kLocation = "TComCloudShare.ClearSetting";
const char* const kMsgSetFailed = "クラウドシェアの設定に失敗しました。";
const char* const kMsgGetFailed = "クラウドシェアの参照に失敗しました。";
const char* const kMsgGetOther = "クラウドシェアの設定に参照しました。";
const char* const kMsgReconnect =
    "ユーザーデータベースの接続処理に失敗しました。\rDBファイルが削除、破損 または "
    "使用中の可能性がありますので接続パスを確認して下さい。";

bool SameDatabase(const std::string& A, const std::string& B) {
  namespace fs = std::filesystem;
  return fs::path(A).lexically_normal() == fs::path(B).lexically_normal();
}

// IBDatabaseDAT on the data set of Folder for the time of one operation. A
// connection to that folder is kept as it is. Otherwise the folder is
// connected quietly, and on leaving disconnected quietly; a data set that was
// connected before is then connected again with its own name and parameters.
class TDataSetUse {
 public:
  TDataSetUse(const std::string& Host, const std::string& Folder) : dm_(DataSetConnection()), folder_(Folder) {
    TIBDatabase& db = dm_.IBDatabaseDAT;
    const std::string host = Host.empty() ? SystemDef.HostName : Host;
    const std::string folder = Folder.empty() ? SystemDef.DataDir : Folder;
    if (db.Connected() && SameDatabase(db.DatabaseName, TSystemStore::DatabaseNameFor(host, folder, DataFile))) {
      ready_ = true;
      return;
    }
    if (db.Connected()) {
      previousName_ = db.DatabaseName;
      previousParams_ = db.Params;
      restore_ = true;
      try {
        dm_.AccDatDisconnect("", false, false);
      } catch (...) {
        ReportCurrentException(kLocation, kMsgReconnect, false);
        return;
      }
    }
    ready_ = dm_.fnAccDatConnected(Host, Folder, false);
    connectedHere_ = ready_;
  }

  ~TDataSetUse() {
    if (connectedHere_) {
      try {
        dm_.AccDatDisconnect(folder_, false, false);
      } catch (...) {  // a destructor must not throw: the connection is dropped instead
        dm_.IBDatabaseDAT.ForceClose();
      }
    }
    if (!restore_) return;
    TIBDatabase& db = dm_.IBDatabaseDAT;
    try {
      if (db.Connected()) db.Close();
      db.DatabaseName = previousName_;
      db.Params = previousParams_;
      db.Open();
    } catch (...) {
      ReportCurrentException(kLocation, kMsgReconnect, false);
    }
  }

  TDataSetUse(const TDataSetUse&) = delete;
  TDataSetUse& operator=(const TDataSetUse&) = delete;

  bool Ready() const { return ready_; }

 private:
  TDataSetConnection& dm_;
  std::string folder_;
  bool ready_ = false;
  bool connectedHere_ = false;
  bool restore_ = false;
  std::string previousName_;
  TIBStrings previousParams_;
};

}  // namespace

TCloudShareIO::TCloudShareIO() {
  IBTransaction1.Params = TIBStrings{"read_committed", "rec_version", "nowait"};
  IBSQL1.SetTransaction(&IBTransaction1);
}

void TCloudShareIO::Bind() {
  TIBDatabase* db = &DataSetConnection().IBDatabaseDAT;
  if (IBTransaction1.DefaultDatabase() != db && !IBTransaction1.InTransaction()) IBTransaction1.SetDefaultDatabase(db);
  IBSQL1.SetDatabase(db);
}

bool TCloudShareIO::Run(const std::string& Host, const std::string& Folder, bool Write, std::int32_t& Value) {
  TDataSetUse use(Host, Folder);
  if (!use.Ready()) return false;
  Bind();
  TTransactionGuard transaction(IBTransaction1);
  std::int32_t read = 0;
  try {
    transaction.Begin();
    std::string version = "0.0.0";
    IBSQL1.SQL.SetText("SELECT MAJOR,MINOR1,MINOR2 FROM ACCVERSION\nORDER BY MAJOR DESC,MINOR1 DESC,MINOR2 DESC");
    IBSQL1.ExecQuery();
    if (!IBSQL1.Eof())
      version = Format("%d.%d.%d", IBSQL1.FieldByName("MAJOR").AsInteger(), IBSQL1.FieldByName("MINOR1").AsInteger(),
                       IBSQL1.FieldByName("MINOR2").AsInteger());
    IBSQL1.Close();
    const bool carries = VersionGreater(version, "11.0.0");
    if (carries && Write) {
      IBSQL1.SQL.SetText("UPDATE ACCDEF1 SET CLOUD_LINE=:CLOUD_LINE\nWHERE REC=1");
      IBSQL1.ParamByName("CLOUD_LINE").AsInteger(Value);
      IBSQL1.ExecQuery();
      IBSQL1.Close();
    } else if (carries) {
      IBSQL1.SQL.SetText("SELECT CLOUD_LINE FROM ACCDEF1\nWHERE REC=1");
      IBSQL1.ExecQuery();
      if (!IBSQL1.Eof()) read = IBSQL1.FieldByName("CLOUD_LINE").AsInteger();
      IBSQL1.Close();
    }
    transaction.Commit();
    // The settings file follows the database only once the database holds the value.
    if (carries && Write && ConnectKind == 0) {
      TDataInfomation info;
      info.ConnectKind = 0;
      info.WriteIniValue(Folder, kSectionDataInfo, false, Value > 0 ? 1 : 0, "CLOUD_SHARE");
    }
  } catch (...) {
    IBSQL1.Close();
    if (transaction.WasActive()) return false;
    try {
      throw;
    } catch (const EIBError& e) {
      ShowFbError(e, kLocation, Write ? kMsgSetFailed : kMsgGetFailed, Write);
    } catch (const std::exception& e) {
      ShowErrorDetail(Write ? kMsgSetFailed : kMsgGetOther, e.what(), kMsgError);
    } catch (...) {
      ShowErrorDetail(Write ? kMsgSetFailed : kMsgGetOther, "", kMsgError);
    }
    transaction.Rollback();
    return false;
  }
  if (!Write) Value = read;
  return true;
}

bool TCloudShareIO::SetCloudShare(const std::string& Host, const std::string& Folder, std::int32_t Value) {
  return Run(Host, Folder, true, Value);
}

bool TCloudShareIO::ClearCloudShare(const std::string& Host, const std::string& Folder) {
  return SetCloudShare(Host, Folder, 0);
}

std::int32_t TCloudShareIO::GetCloudShare(const std::string& Host, const std::string& Folder) {
  std::int32_t value = 0;
  return Run(Host, Folder, false, value) ? value : 0;
}

TCloudShareIO& CloudShareIOOf(std::shared_ptr<TCloudShareIO>& Holder) {
  if (!Holder) Holder = std::make_shared<TCloudShareIO>();
  return *Holder;
}
