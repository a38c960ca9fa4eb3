// Backup, restore and validation of a database file through the server's
// services, or through the command-line tool gbak for a database reached
// over the network.
//
// Nothing is replaced before its successor is complete: a backup is written
// into a work file beside its place and renamed over the old backup; a
// restore builds a new database beside the one it replaces, reads the whole
// output of the service or the tool, checks the new database (it opens, its
// tables and keys are there, the data set's ACCDEF1 has its row) and only then
// puts it in place. A failure or a kill at any moment leaves the old file or
// the complete new one; the work files of a killed run are removed by the
// next run of the same operation.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <fstream>
#include <optional>
#include <thread>

#include "core/globals.h"
#include "core/settings.h"
#include "dbaccess/backuprestore.h"
#include "dbaccess/dbui.h"
#include "dbaccess/fberror.h"
#include "platform/fb/ibx.h"
#include "platform/rtl/cp932.h"
#include "platform/rtl/faultpoint.h"
#include "platform/rtl/sysutils.h"
#include "platform/rtl/workfile.h"
#include "platform/win/childprocess.h"
#include "platform/win/paths.h"

enum class TRestoreTool { Services, Gbak };

// One restore: the database to replace, the tool that builds its successor
// and where the files are (on this computer, or on the server at Host).
struct TRestoreJob {
  TRestoreTool Tool = TRestoreTool::Services;
  std::uint8_t Protocol = kProtocolLocal;  // the services'
  std::string ServiceHost;                 // the services' server name
  bool Tcp = false;                        // the files are reached through the server at Host
  std::string Host;
  std::string DatabaseName;
  std::string BackupFile;
  bool KeepIndexes = false;
  std::string Folder;                      // of DatabaseName
  std::string Work;                        // the new database beside it
  std::uint8_t FileKind = 0;               // 0: this computer's files, else ConnectKind
  std::string ConnectName(const std::string& file) const { return Tcp ? Host + ":" + file : file; }
};

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
TGbakRun RunGbak(const std::vector<std::string>& args, std::string_view runningPoint = {}) {
  TGbakRun run;
  const std::string log = GbakLog();
  DeleteFile(log);
  TChildProcess child;
  if (!child.Start(GbakTool(), args)) {
    run.startError = child.LastError();
    return run;
  }
  run.started = true;
  if (!runningPoint.empty()) FaultPoint(runningPoint);
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

// What a restored database must hold before it may replace the old one: the
// tables every version of its kind has, each with its primary key, and the
// table that must have a row.
struct TRestoredKind {
  bool DataSet = false;
  std::vector<const char*> Tables;
  const char* RowTable = nullptr;
};

TRestoredKind RestoredKindOf(const std::string& databaseName) {
  if (IsDataSetFile(databaseName)) return {true, {"ACCVERSION", "ACCDEF1", "ACCREG", "KAMOKUMST", "SIWAKE"}, "ACCDEF1"};
  if (databaseName.find(DataDefFile) != std::string::npos)
    return {false, {"VERSION", "OPERATOR", "SYSDEF", "SYSREG", "DATALIST"}, "VERSION"};
  if (databaseName.find(kFileManFile) != std::string::npos) return {false, {"FILETRANS"}, nullptr};
  return {};
}

// The lines of a restore's output that say it went wrong; a backup that ends
// too early is reported by the tool without failing it.
void CheckRestoreOutput(const std::vector<std::string>& lines) {
  std::string errors;
  for (const std::string& line : lines) {
    if (line.find("ERROR") != std::string::npos || line.find("Backup incomplete") != std::string::npos ||
        line.find("Exiting before completion") != std::string::npos)
      errors += line + "\r";
  }
  if (!errors.empty()) throw Exception("リストア中にエラーが発生しました。\r" + errors);
}

// Holds an exclusive lock on a database file while it is replaced; a
// database engine that has the file open holds a lock of its own.
class TFileLockProbe {
 public:
  explicit TFileLockProbe(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) != 0) inUse_ = errno == EWOULDBLOCK;
  }
  ~TFileLockProbe() {
    if (fd_ >= 0) ::close(fd_);
  }
  TFileLockProbe(const TFileLockProbe&) = delete;
  TFileLockProbe& operator=(const TFileLockProbe&) = delete;
  bool InUse() const { return inUse_; }

 private:
  int fd_ = -1;
  bool inUse_ = false;
};

// The new database takes over the permissions (and, where allowed, the owner)
// of the one it replaces, so that the same server and users can open it.
void KeepFileOwnership(const std::string& oldFile, const std::string& newFile) {
  struct stat st {};
  if (::stat(oldFile.c_str(), &st) != 0) return;
  ::chmod(newFile.c_str(), st.st_mode & 07777);
  if (::chown(newFile.c_str(), st.st_uid, st.st_gid) != 0) {
    // Only an administrator may hand a file to another owner; the permissions stay.
  }
}

// Notes of the work files a run has on the database server, kept in this
// computer's temporary folder while the run lasts: the server's folders
// cannot be listed from here, so a later run finds what a killed run left
// there through the notes nobody holds any more.
std::string NoteFolder() {
  for (const std::string* dir : {&SystemDef.TempDir, &SystemDef.WinTempDir})
    if (!dir->empty() && DirectoryExists(*dir)) return *dir;
  return "/tmp";
}

constexpr const char* kNoteExtension = ".srv";

class TServerWorkNote {
 public:
  TServerWorkNote(const std::string& serverFile, std::uint8_t fileKind) {
    if (fileKind == 0) return;
    try {
      note_.emplace(NoteFolder(), kNoteExtension);
      const std::string text = serverFile + "\n";
      if (::write(note_->Descriptor(), text.data(), text.size()) != static_cast<ssize_t>(text.size())) note_.reset();
    } catch (const std::exception&) {
      note_.reset();  // without a note only the clean-up after a killed run is lost
    }
  }

 private:
  std::optional<TWorkFile> note_;
};

std::string NotedServerFile(const std::string& note) {
  std::ifstream in(note, std::ios::binary);
  std::string line;
  std::getline(in, line);
  return line;
}

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

}  // namespace

void TBackupRestore::RemoveWorkLeftovers(const std::string& Folder, std::uint8_t FileKind) {
  if (FileKind == 0) {
    RemoveLeftoverWorkFiles(Folder);
    return;
  }
  RemoveLeftoverWorkFiles(NoteFolder(), [&](const std::string& note) {
    if (note.size() < 4 || note.compare(note.size() - 4, 4, kNoteExtension) != 0) return false;
    const std::string serverFile = NotedServerFile(note);
    if (!IsWorkFileName(serverFile) || !ServerFExist(serverFile, FileKind)) return true;
    return ServerFDel(serverFile, false, FileKind);
  });
}

void TBackupRestore::RemoveWorkFile(const std::string& Path, std::uint8_t FileKind) {
  if (FileKind == 0) {
    DeleteFile(Path);
    return;
  }
  if (ServerFExist(Path, FileKind)) ServerFDel(Path, false, FileKind);
}

bool TBackupRestore::BackupFDB(std::uint8_t Protocol, const std::string& Host, const std::string& DatabaseName,
                               const std::string& BackupFile, bool Direct) {
  // The service writes a work file (beside the backup, or beside the database
  // when not Direct); the old backup stays until the new one is complete and
  // takes its place in one step.
  const std::uint8_t kind = ConnectKind;
  const std::string folder = ExtractFileDir(Direct ? BackupFile : DatabaseName);
  std::string work;
  std::optional<TWorkFile> local;  // held while the service writes into it
  std::optional<TServerWorkNote> note;
  try {
    RemoveWorkLeftovers(folder, kind);
    if (kind == 0) {
      local.emplace(folder, ".fbk");
      work = local->Path();
    } else {
      work = NewWorkFileName(folder, ".fbk");
      note.emplace(work, kind);
    }
    SetUpService(IBBackupService1, Protocol, Host);
    IBBackupService1.DatabaseName = DatabaseName;
    IBBackupService1.BackupFile.Clear();
    IBBackupService1.BackupFile.Add(work);
    IBBackupService1.Verbose = true;
    IBBackupService1.Options =
        backup_options::IgnoreLimbo | backup_options::NoGarbageCollection | backup_options::NonTransportable;
    IBBackupService1.Attach();
    IBBackupService1.ServiceStart();
    DrainOutput(IBBackupService1);
    IBBackupService1.Detach();
    FaultPoint("backup.written");
    // The server's copy replaces its target in one step too: the old backup
    // is not deleted first.
    const bool moved = kind == 0 ? RenameFile(work, BackupFile) : ServerFMove(work, BackupFile, kind);
    if (!moved) throw Exception("データベースバックアップファイルのMoveに失敗しました。");
    if (local) local->Keep();
    return true;
  } catch (...) {
    IBBackupService1.Detach();
    if (!work.empty()) RemoveWorkFile(work, kind);
    ReportCurrentException("TDM.BackupFDB", kMsgBackup, true);
    return false;
  }
}

bool TBackupRestore::BackupFDBGbak(std::uint8_t /*Protocol*/, const std::string& Host, const std::string& DatabaseName,
                                   const std::string& BackupFile, bool Direct) {
  if (Host == "127.0.0.1") return BackupFDB(kProtocolLocal, Host, DatabaseName, BackupFile, Direct);
  // The tool writes the backup on this computer.
  const std::string folder = ExtractFileDir(BackupFile);
  RemoveWorkLeftovers(folder, 0);
  TWorkFile workFile(folder, ".fbk");  // held while the tool writes into it
  const std::string work = workFile.Path();
  std::vector<std::string> args = {"-b", "-g"};
  for (const std::string& a : Credentials()) args.push_back(a);
  args.push_back(GbakDatabaseName(Host, DatabaseName));
  args.push_back(work);
  const TGbakRun run = RunGbak(args);
  if (!run.started) throw Exception("バックアップツール(gbak.exe)が起動出来ませんでした。\r処理を終了します。");
  if (!run.Succeeded() || !FileExists(work) || !RenameFile(work, BackupFile))
    throw Exception(std::string("バックアップ中にエラーが発生しました。\r") + run.log);
  workFile.Keep();
  return true;
}

bool TBackupRestore::RestoreFDB(std::uint8_t Protocol, const std::string& Host, const std::string& DatabaseName,
                                const std::string& BackupFile, bool KeepIndexes) {
  const bool tcp = Protocol == kProtocolTcp;
  // Through the local services the files are this computer's (also in a
  // server installation, where the restored data set is opened there).
  TRestoreJob job;
  job.Tool = TRestoreTool::Services;
  job.Protocol = Protocol;
  job.ServiceHost = Host;
  job.Tcp = tcp;
  job.Host = tcp ? Host : std::string();
  job.DatabaseName = DatabaseName;
  job.BackupFile = BackupFile;
  job.KeepIndexes = KeepIndexes;
  return RestoreReplacing(job);
}

bool TBackupRestore::RestoreFDBGbak(std::uint8_t /*Protocol*/, const std::string& Host, const std::string& DatabaseName,
                                    const std::string& BackupFile, bool KeepIndexes) {
  if (Host == "127.0.0.1") return RestoreFDB(kProtocolLocal, Host, DatabaseName, BackupFile, KeepIndexes);
  DeleteFile(GbakLog());
  if (!FileExists(BackupFile)) return false;
  TRestoreJob job;
  job.Tool = TRestoreTool::Gbak;
  job.Tcp = !Host.empty();
  job.Host = Host;
  job.DatabaseName = DatabaseName;
  job.BackupFile = BackupFile;
  job.KeepIndexes = KeepIndexes;
  return RestoreReplacing(job);
}

bool TBackupRestore::RestoreReplacing(TRestoreJob& Job) {
  Job.Folder = ExtractFileDir(Job.DatabaseName);
  Job.FileKind = Job.Tcp ? ConnectKind : 0;
  bool result = false;
  bool started = false;
  std::optional<TServerWorkNote> note;
  try {
    RemoveWorkLeftovers(Job.Folder, Job.FileKind);
    Job.Work = NewWorkFileName(Job.Folder, ".fdb");
    note.emplace(Job.Work, Job.FileKind);
    started = true;
    const std::vector<std::string> output =
        Job.Tool == TRestoreTool::Services ? RunRestoreService(Job) : RunRestoreGbak(Job);
    FaultPoint("restore.restored");
    CheckRestoreOutput(output);
    VerifyRestored(Job);
    FaultPoint("restore.verified");
    ReplaceByRestored(Job);
    FaultPoint("restore.replaced");
    result = true;
  } catch (...) {
    IBRestoreService1.Detach();
    if (!Job.Work.empty()) RemoveWorkFile(Job.Work, Job.FileKind);
    ReportCurrentException("TDM.RestoreFDB", kMsgRestore, true);
  }
  IBRestoreService1.Detach();
  if (started) AccDatDisconnect(Job.Folder, false, false);
  return result;
}

std::vector<std::string> TBackupRestore::RunRestoreService(const TRestoreJob& Job) {
  SetUpService(IBRestoreService1, Job.Protocol, Job.ServiceHost);
  IBRestoreService1.DatabaseName.Clear();
  IBRestoreService1.DatabaseName.Add(Job.Work);
  IBRestoreService1.BackupFile.Clear();
  IBRestoreService1.BackupFile.Add(Job.BackupFile);
  IBRestoreService1.PageBuffers = 4096;
  IBRestoreService1.PageSize = 16384;
  IBRestoreService1.Verbose = true;
  // A new file: the database being replaced is not touched before the new
  // one is complete and checked.
  IBRestoreService1.Options = restore_options::CreateNewDB;
  if (!Job.KeepIndexes) IBRestoreService1.Options |= restore_options::DeactivateIndexes;
  IBRestoreService1.Attach();
  IBRestoreService1.ServiceStart();
  std::size_t read = 0;
  while (!IBRestoreService1.Eof()) {
    IBRestoreService1.GetNextLine();
    if (++read == 20) FaultPoint("restore.running");
    DbProcessMessages();
  }
  std::vector<std::string> lines = IBRestoreService1.Lines();
  IBRestoreService1.Detach();
  return lines;
}

std::vector<std::string> TBackupRestore::RunRestoreGbak(const TRestoreJob& Job) {
  std::vector<std::string> args = {"-c", "-bu", "4096", "-p", "16384"};
  if (!Job.KeepIndexes) args.push_back("-i");
  for (const std::string& a : Credentials()) args.push_back(a);
  args.push_back(Job.BackupFile);
  args.push_back(GbakDatabaseName(Job.Host, Job.Work));
  const TGbakRun run = RunGbak(args, "restore.running");
  if (!run.started) throw Exception("リストアツール(gbak.exe)が起動出来ませんでした。\r処理を終了します。");
  if (!run.Succeeded()) throw Exception(std::string("リストア中にエラーが発生しました。\r") + run.log);
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < run.log.size()) {
    std::size_t end = run.log.find('\n', start);
    if (end == std::string::npos) end = run.log.size();
    lines.push_back(run.log.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

void TBackupRestore::VerifyRestored(const TRestoreJob& Job) {
  const TRestoredKind kind = RestoredKindOf(Job.DatabaseName);
  TIBDatabase database;
  TIBTransaction transaction;
  transaction.SetDefaultDatabase(&database);
  transaction.Params = TIBStrings{"read_committed", "rec_version", "nowait", "write"};
  try {
    ConnectDatabase(database, Job.ConnectName(Job.Work));
  } catch (const std::exception& e) {
    throw Exception(std::string("リストアしたデータベースを開けません。\r") + e.what());
  }
  TIBSQL sql;
  sql.SetDatabase(&database);
  sql.SetTransaction(&transaction);
  transaction.StartTransaction();
  auto count = [&](const std::string& text) {
    sql.Close();
    sql.SQL.SetText(text);
    sql.ExecQuery();
    const std::int32_t n = sql.Fields(0).AsInteger();
    sql.Close();
    return n;
  };
  std::vector<std::string> missing;
  for (const char* table : kind.Tables) {
    if (count(std::string("SELECT COUNT(*) FROM RDB$RELATION_CONSTRAINTS\nWHERE RDB$RELATION_NAME='") + table +
              "' AND RDB$CONSTRAINT_TYPE='PRIMARY KEY'") == 0)
      missing.push_back(table);
  }
  if (!missing.empty()) {
    std::string list;
    for (const std::string& t : missing) list += (list.empty() ? "" : ", ") + t;
    throw Exception("リストアしたデータベースにテーブルまたは主キーがありません。\r" + list);
  }
  // A restore that stopped early leaves constraints without their indexes, or
  // indexes still waiting to be built at its end (state 3).
  if (count("SELECT COUNT(*) FROM RDB$RELATION_CONSTRAINTS C\n"
            "WHERE C.RDB$INDEX_NAME IS NOT NULL AND NOT EXISTS (SELECT 1 FROM RDB$INDICES I\n"
            "WHERE I.RDB$INDEX_NAME=C.RDB$INDEX_NAME)") != 0 ||
      count("SELECT COUNT(*) FROM RDB$INDICES WHERE RDB$INDEX_INACTIVE=3") != 0)
    throw Exception("リストアしたデータベースの索引が完成していません。");
  if (kind.RowTable != nullptr && count(std::string("SELECT COUNT(*) FROM ") + kind.RowTable) == 0)
    throw Exception(std::string("リストアしたデータベースの") + kind.RowTable + "にデータがありません。");
  // A restored data set starts without an operation history.
  if (kind.DataSet) {
    sql.SQL.SetText("DELETE FROM OPINF");
    sql.ExecQuery();
    sql.Close();
  }
  transaction.Commit();
  database.Close();
}

void TBackupRestore::ReplaceByRestored(const TRestoreJob& Job) {
  if (Job.FileKind == 0) {
    // An engine that has the database open holds a lock on it; the file that
    // somebody still uses is not replaced under their feet.
    TFileLockProbe probe(Job.DatabaseName);
    if (probe.InUse())
      throw Exception(Format("データベース(%s)が使用中のため置き換えられません。", Job.DatabaseName));
    KeepFileOwnership(Job.DatabaseName, Job.Work);
    if (!RenameFile(Job.Work, Job.DatabaseName))
      throw Exception(Format("リストアしたデータベースで%sを置き換えられませんでした。", Job.DatabaseName));
    return;
  }
  bool inUse = false;
  try {
    inUse = OtherAttachments(Job.ConnectName(Job.DatabaseName));
  } catch (...) {
    inUse = false;  // a database that cannot be opened is used by nobody
  }
  if (inUse) throw Exception(Format("データベース(%s)が使用中のため置き換えられません。", Job.DatabaseName));
  if (!ServerFMove(Job.Work, Job.DatabaseName, Job.FileKind))
    throw Exception(Format("リストアしたデータベースで%sを置き換えられませんでした。", Job.DatabaseName));
}

std::int32_t TBackupRestore::ValidateFDB(std::uint8_t Protocol, const std::string& Host, const std::string& DatabaseName) {
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
