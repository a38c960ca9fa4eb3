// Backup, restore and validation of a database file through the server's
// services, or through the command-line tool gbak for a database reached
// over the network.
#include <chrono>
#include <thread>

#include "core/globals.h"
#include "core/settings.h"
#include "dbaccess/dbui.h"
#include "dbaccess/dm.h"
#include "dbaccess/fberror.h"
#include "platform/rtl/cp932.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/childprocess.h"
#include "platform/win/paths.h"

namespace {

const char* const kMsgBackup = "データベースのバックアップに失敗しました。";
const char* const kMsgRestore = "データベースのリストアに失敗しました。";

void SetUpService(TIBCustomService& service, std::uint8_t protocol, const std::string& host) {
  service.LoginPrompt = false;
  service.Protocol = protocol == kProtocolTcp ? TProtocol::TCP : TProtocol::Local;
  service.ServerName = service.Protocol == TProtocol::Local ? std::string() : host;
  service.Params.Clear();
  service.Params.Add("user_name=" + SystemDef.DbUser);
  service.Params.Add("password=" + SystemDef.DbPassword);
}

// Reads the running service's output to its end, keeping the window alive.
void DrainOutput(TIBControlService& service) {
  while (!service.Eof()) {
    service.GetNextLine();
    DbProcessMessages();
  }
}

std::string GbakTool() {
  const std::string beside = PathJoin(SystemDef.ExeDir, "gbak");
  return FileExists(beside) ? beside : std::string("gbak");
}

std::string GbakLog() { return PathJoin(SystemDef.WinTempDir, "gbak.log"); }

std::string ReadLog(const std::string& path) {
  std::string bytes;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    std::fclose(f);
  }
  return Cp932ToUtf8Lossy(bytes);
}

struct TGbakRun {
  bool started = false;
  std::string startError;
  int exitCode = -1;
  bool logExists = false;
  std::string log;
  bool Succeeded() const { return exitCode == 0 && logExists && log.find("ERROR") == std::string::npos; }
};

// Runs gbak hidden (never through a shell: the password is one argument of
// its own), polling it while the window keeps processing its events.
TGbakRun RunGbak(const std::vector<std::string>& args) {
  TGbakRun run;
  const std::string log = GbakLog();
  DeleteFile(log);
  TChildProcess child;
  if (!child.Start(GbakTool(), args)) {
    run.startError = child.LastError();
    return run;
  }
  run.started = true;
  while (child.Running()) {
    DbProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  run.exitCode = child.ExitCode();
  run.logExists = FileExists(log);
  run.log = ReadLog(log);
  return run;
}

std::string GbakDatabaseName(const std::string& host, const std::string& path) {
  return host.empty() ? path : host + ":" + path;
}

std::vector<std::string> Credentials() {
  return {"-user", SystemDef.DbUser, "-pas", SystemDef.DbPassword, "-y", GbakLog()};
}

bool IsDataSetFile(const std::string& databaseName) { return databaseName.find(DataFile) != std::string::npos; }

// Status codes of a validation that could not start or went on without its
// database: bad attach parameters, the file cannot be opened, locks, the
// login, an unavailable or shut-down database, privileges, the network.
bool ValidationCouldNotRun(std::int32_t status) {
  switch (status) {
    case 335544325: case 335544344: case 335544345: case 335544510: case 335544472: case 335544375:
    case 335544528: case 335544506: case 335544790: case 335544721: case 335544726: case 335544727:
    case 335544856: case 335544648:
      return true;
    default:
      return false;
  }
}

// The name a new backup is written under before it replaces the old one.
std::string PartialName(const std::string& backupFile) { return backupFile + ".part"; }

}  // namespace

bool TDM::BackupFDB(std::uint8_t Protocol, const std::string& Host, const std::string& DatabaseName,
                    const std::string& BackupFile, bool Direct) {
  // The service writes a work file first; the old backup stays until the new
  // one is complete.
  const std::string work = Direct ? PartialName(BackupFile)
                                  : PathJoin(ExtractFileDir(DatabaseName), ChangeFileExt(BackupFileName, ".fb_"));
  const bool needsMove = LowerCase(work) != LowerCase(BackupFile);
  try {
    SetUpService(IBBackupService1, Protocol, Host);
    IBBackupService1.DatabaseName = DatabaseName;
    IBBackupService1.BackupFile.Clear();
    IBBackupService1.BackupFile.Add(needsMove ? work : BackupFile);
    IBBackupService1.Verbose = true;
    IBBackupService1.Options =
        backup_options::IgnoreLimbo | backup_options::NoGarbageCollection | backup_options::NonTransportable;
    IBBackupService1.Attach();
    IBBackupService1.ServiceStart();
    DrainOutput(IBBackupService1);
    IBBackupService1.Detach();
    if (needsMove) {
      bool moved;
      if (ConnectKind == 0) {
        moved = RenameFile(work, BackupFile);  // replaces the old file in one step
      } else {
        if (ServerFExist(BackupFile, ConnectKind)) ServerFDel(BackupFile, false, ConnectKind);
        moved = ServerFMove(work, BackupFile, ConnectKind);
      }
      if (!moved) throw Exception("データベースバックアップファイルのMoveに失敗しました。");
    }
    return true;
  } catch (...) {
    IBBackupService1.Detach();
    if (needsMove && ServerFExist(work, ConnectKind)) ServerFDel(work, false, ConnectKind);
    ReportCurrentException("TDM.BackupFDB", kMsgBackup, true);
    return false;
  }
}

bool TDM::ReconnectRestored(const std::string& Host, const std::string& DatabaseName) {
  if (!fnAccDatConnected(Host, ExtractFileDir(DatabaseName), false)) return false;
  DeleteOpInf();
  return true;
}

bool TDM::RestoreFDB(std::uint8_t Protocol, const std::string& Host, const std::string& DatabaseName,
                     const std::string& BackupFile, bool KeepIndexes) {
  bool result = true;
  bool started = false;
  try {
    SetUpService(IBRestoreService1, Protocol, Host);
    IBRestoreService1.DatabaseName.Clear();
    IBRestoreService1.DatabaseName.Add(DatabaseName);
    IBRestoreService1.BackupFile.Clear();
    IBRestoreService1.BackupFile.Add(BackupFile);
    IBRestoreService1.PageBuffers = 4096;
    IBRestoreService1.PageSize = 16384;
    IBRestoreService1.Verbose = true;
    IBRestoreService1.Options = restore_options::Replace;
    if (!KeepIndexes) IBRestoreService1.Options |= restore_options::DeactivateIndexes;
    IBRestoreService1.Attach();
    IBRestoreService1.ServiceStart();
    started = true;
    DrainOutput(IBRestoreService1);
    IBRestoreService1.Detach();
    if (IsDataSetFile(DatabaseName)) {
      std::string host = Host;
      if ((ConnectKind == 1 || ConnectKind == 2) && Protocol == kProtocolLocal && host.empty()) host = "127.0.0.1";
      result = ReconnectRestored(host, DatabaseName);
    }
  } catch (...) {
    ReportCurrentException("TDM.RestoreFDB", kMsgRestore, true);
    result = false;
  }
  IBRestoreService1.Detach();
  if (started) AccDatDisconnect(ExtractFileDir(DatabaseName), false, false);
  return result;
}

bool TDM::BackupFDBGbak(std::uint8_t /*Protocol*/, const std::string& Host, const std::string& DatabaseName,
                        const std::string& BackupFile, bool Direct) {
  if (Host == "127.0.0.1") return BackupFDB(kProtocolLocal, Host, DatabaseName, BackupFile, Direct);
  const std::string partial = PartialName(BackupFile);
  DeleteFile(partial);
  std::vector<std::string> args = {"-b", "-g"};
  for (const std::string& a : Credentials()) args.push_back(a);
  args.push_back(GbakDatabaseName(Host, DatabaseName));
  args.push_back(partial);
  const TGbakRun run = RunGbak(args);
  if (!run.started) throw Exception("バックアップツール(gbak.exe)が起動出来ませんでした。\r処理を終了します。");
  if (!run.Succeeded() || !FileExists(partial) || !RenameFile(partial, BackupFile)) {
    DeleteFile(partial);
    throw Exception(std::string("バックアップ中にエラーが発生しました。\r") + run.log);
  }
  return true;
}

bool TDM::RestoreFDBGbak(std::uint8_t /*Protocol*/, const std::string& Host, const std::string& DatabaseName,
                         const std::string& BackupFile, bool KeepIndexes) {
  if (Host == "127.0.0.1") return RestoreFDB(kProtocolLocal, Host, DatabaseName, BackupFile, KeepIndexes);
  DeleteFile(GbakLog());
  if (!FileExists(BackupFile)) return false;
  bool result = true;
  try {
    // Firebird 3 restores over an existing database only with -rep.
    std::vector<std::string> args = {"-rep", "-bu", "4096", "-p", "16384"};
    if (!KeepIndexes) args.push_back("-i");
    for (const std::string& a : Credentials()) args.push_back(a);
    args.push_back(BackupFile);
    args.push_back(GbakDatabaseName(Host, DatabaseName));
    const TGbakRun run = RunGbak(args);
    if (!run.started) throw Exception("リストアツール(gbak.exe)が起動出来ませんでした。\r処理を終了します。");
    if (!run.Succeeded()) throw Exception(std::string("リストア中にエラーが発生しました。\r") + run.log);
    if (IsDataSetFile(DatabaseName)) result = ReconnectRestored(Host, DatabaseName);
  } catch (...) {
    ReportCurrentException("TDM.RestoreFDB", kMsgRestore, true);
    result = false;
  }
  AccDatDisconnect(ExtractFileDir(DatabaseName), false, false);
  return result;
}

std::int32_t TDM::ValidateFDB(std::uint8_t Protocol, const std::string& Host, const std::string& DatabaseName) {
  const bool wasConnected = IBDatabaseDAT.Connected();
  try {
    if (wasConnected) IBDatabaseDAT.Close();
    SetUpService(IBValidationService1, Protocol, Host);
    IBValidationService1.DatabaseName = DatabaseName;
    IBValidationService1.Options = validation_options::ValidateFull | validation_options::IgnoreChecksum;
    IBValidationService1.Attach();
    IBValidationService1.ServiceStart();
    DrainOutput(IBValidationService1);
    // Any line that is not blank is a finding: the database is damaged.
    std::int32_t result = 1;
    for (const std::string& line : IBValidationService1.Lines())
      if (!Trim(line).empty()) result = 0;
    IBValidationService1.Detach();
    if (wasConnected) IBDatabaseDAT.Open();
    return result;
  } catch (const EIBError& e) {
    IBValidationService1.Detach();
    // A validation that could not run (no file, no access, a lock, the
    // network) has found nothing: it is logged and the database is not called
    // damaged. Any other database error comes from the check itself.
    if (!ValidationCouldNotRun(e.IBErrorCode())) return 0;
    ShowFbError(e, "TDM.ValidateFDB", "", false);
    return 1;
  } catch (...) {  // not a database error: nothing was found, the database counts as sound
    IBValidationService1.Detach();
    return 1;
  }
}
