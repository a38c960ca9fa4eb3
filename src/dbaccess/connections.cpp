// Connecting and disconnecting the system, file-manager and data-set
// databases, the in-use test of a database file and the drop of a data set.
#include <memory>

#include "core/globals.h"
#include "core/settings.h"
#include "dbaccess/datasetconnection.h"
#include "dbaccess/datasethooks.h"
#include "dbaccess/fberror.h"
#include "platform/fb/ibx.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/paths.h"

namespace {

const char* const kMsgDefConnect = "システムデータベースの接続処理に失敗しました。";
const char* const kMsgDatConnect =
    "ユーザーデータベースの接続処理に失敗しました。\rDBファイルが削除、破損 または "
    "使用中の可能性がありますので接続パスを確認して下さい。";
const char* const kMsgInConnection = "データベースの使用情報の取得に失敗しました。";
const char* const kMsgDrop = "ユーザーデータベースの削除処理に失敗しました。\r接続パスを確認して下さい。";

// The services manager refuses a request that needs its administrator.
constexpr std::int32_t kInsufficientServicePrivileges = 335544790;

std::string OrDefault(const std::string& value, const std::string& fallback) {
  return value.empty() ? fallback : value;
}

}  // namespace

bool TSystemStore::fnAccDefConnected(const std::string& Host, bool ShowErrors) {
  const std::string host = OrDefault(Host, SystemDef.HostName);
  if (IBDatabaseDEF.Connected()) return true;
  const std::string name = DatabaseNameFor(host, SystemDef.SysDir, DataDefFile);
  if (!ShowErrors) {
    ConnectDatabase(IBDatabaseDEF, name);
    return IBDatabaseDEF.Connected();
  }
  try {
    ConnectDatabase(IBDatabaseDEF, name);
  } catch (...) {
    ReportCurrentException("TDM.fnAccDefConnected", kMsgDefConnect, false);
    return false;
  }
  return IBDatabaseDEF.Connected();
}

bool TDataSetConnection::fnFileManConnected(const std::string& Host) {
  try {
    if (!ServerFExist(PathJoin(SystemDef.SysDir, kFileManFile), ConnectKind)) return false;
    const std::string host = OrDefault(Host, SystemDef.HostName);
    if (IBFileMan.Connected()) return true;
    ConnectDatabase(IBFileMan, DatabaseNameFor(host, SystemDef.SysDir, kFileManFile));
    return IBFileMan.Connected();
  } catch (...) {  // not reachable: the caller takes the other route
    return false;
  }
}

void TDataSetConnection::WriteInUseMark(const std::string& Folder) {
  // The per-data settings file is kept only in the stand-alone installation.
  if (ConnectKind != 0 || !DataSetHooks.CreateInUseRecord) return;
  std::unique_ptr<IDataSetInUseRecord> record = DataSetHooks.CreateInUseRecord();
  if (!record || !record->ReadFromConnectedDatabase()) return;
  record->SetInUse(2, SystemDef.OpCode, SystemDef.OpName);
  record->WriteIniFile(Folder);
}

bool TDataSetConnection::fnAccDatConnected(const std::string& Host, const std::string& Folder, bool WriteInfo) {
  const std::string host = OrDefault(Host, SystemDef.HostName);
  const std::string folder = OrDefault(Folder, SystemDef.DataDir);
  try {
    IBDatabaseDAT.Close();
    ConnectDatabase(IBDatabaseDAT, DatabaseNameFor(host, folder, DataFile));
    if (WriteInfo) WriteInUseMark(folder);
  } catch (...) {
    const std::int32_t status = CurrentFbStatus();
    ReportCurrentException("TDM.fnAccDatConnected", kMsgDatConnect, false);
    // A file that cannot be opened at all is not worth verifying.
    if (status != 0 && status != ibcodes::kIoError) VerifyData(host, folder, 1, 0);
    return false;
  }
  return IBDatabaseDAT.Connected();
}

bool TDataSetConnection::AccDatDisconnect(const std::string& Folder, bool WriteInfo, bool UpdateList) {
  const std::string folder = OrDefault(Folder, SystemDef.DataDir);
  const bool updateList = UpdateList && AppKind != 1;
  try {
    if ((WriteInfo || updateList) && IBDatabaseDAT.Connected() && DataSetHooks.CreateInUseRecord) {
      std::unique_ptr<IDataSetInUseRecord> record = DataSetHooks.CreateInUseRecord();
      // Only figures actually read may overwrite the file or the list row.
      if (record && record->ReadFromConnectedDatabase()) {
        record->SetInUse(1, 0, "");
        if (WriteInfo && ConnectKind == 0) record->WriteIniFile(folder);
        if (updateList && DataSetHooks.UpdateDataListRow) DataSetHooks.UpdateDataListRow(folder, record->Figures());
      }
    }
    if (IBDatabaseDAT.Connected()) IBDatabaseDAT.Close();
  } catch (...) {
    IBDatabaseDAT.Params.Clear();
    throw;
  }
  IBDatabaseDAT.Params.Clear();
  return true;
}

bool TDataSetConnection::AccDatInConnection(std::uint8_t Kind, const std::string& Host, const std::string& Folder,
                                            bool KeepConnected) {
  const std::string host = OrDefault(Host, SystemDef.HostName);
  if (Trim(Folder).empty()) return false;
  std::string target;
  ServerShortFileName(LowerCase(PathJoin(Folder, Kind == 0 ? DataDefFile : DataFile)), target, ConnectKind);

  TIBDatabase& own = Kind == 0 ? IBDatabaseDEF : IBDatabaseDAT;
  const bool wasOpen = own.Connected();
  TIBServerProperties service;
  service.LoginPrompt = false;
  const bool tcp = ConnectKind != 0 && host != "127.0.0.1";
  service.Protocol = tcp ? TProtocol::TCP : TProtocol::Local;
  service.ServerName = tcp ? host : "";
  service.Params.Add("user_name=" + SystemDef.DbUser);
  service.Params.Add("password=" + SystemDef.DbPassword);

  bool result = false;
  try {
    if (!KeepConnected && wasOpen) own.Close();
    try {
      service.Attach();
      service.FetchDatabaseInfo();
      for (const std::string& name : service.DatabaseInfo.DbName) {
        std::string shortName;
        ServerShortFileName(LowerCase(name), shortName, ConnectKind);
        if (shortName == target) result = true;
      }
    } catch (const EIBError& e) {
      // The server lists its attachments only to its administrator; the
      // installation's own user owns the databases and sees every
      // attachment in their monitoring tables instead.
      if (e.IBErrorCode() != kInsufficientServicePrivileges) throw;
      service.Detach();
      result = OtherAttachments(DatabaseNameFor(host, Folder, Kind == 0 ? DataDefFile : DataFile));
    }
  } catch (...) {
    ReportCurrentException("TDM.AccDatInConnection", kMsgInConnection, true);
  }
  service.Detach();
  if (!KeepConnected && wasOpen && !own.Connected()) {
    try {
      own.Open();
    } catch (...) {
      ReportCurrentException("TDM.AccDatInConnection", kMsgInConnection, true);
    }
  }
  return result;
}

bool TDataSetConnection::OtherAttachments(const std::string& Name) {
  TIBDatabase database;
  TIBTransaction transaction;
  transaction.SetDefaultDatabase(&database);
  transaction.Params = TIBStrings{"read_committed", "rec_version", "nowait", "read"};
  ConnectDatabase(database, Name);
  TIBSQL count;
  count.SetDatabase(&database);
  count.SetTransaction(&transaction);
  count.SQL.SetText(
      "SELECT COUNT(*) FROM MON$ATTACHMENTS\n"
      "WHERE (MON$ATTACHMENT_ID<>CURRENT_CONNECTION) AND (MON$SYSTEM_FLAG=0)");
  TTransactionGuard guard(transaction);
  guard.Begin();
  count.ExecQuery();
  const bool others = count.Fields(0).AsInteger() > 0;
  count.Close();
  guard.Commit();
  database.Close();
  return others;
}

bool TDataSetConnection::AccDatDropDatabase(const std::string& Host, const std::string& Folder) {
  const std::string host = OrDefault(Host, SystemDef.HostName);
  if (Folder.empty()) return false;
  TIBDatabase database;
  database.LoginPrompt = false;
  try {
    ConnectDatabase(database, DatabaseNameFor(host, Folder, DataFile, true));
    database.DropDatabase();
    return true;
  } catch (...) {
    ReportCurrentException("TDM.AccDatDropDatabase", kMsgDrop, true);
    return false;
  }
}
