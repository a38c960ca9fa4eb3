#include "dbupdate/updatescript.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "core/globals.h"
#include "core/settings.h"
#include "core/winutil.h"
#include "dbaccess/dbui.h"
#include "dbaccess/systemstore.h"
#include "platform/fb/ibx.h"
#include "platform/rtl/cp932.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/msgkind.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/childprocess.h"
#include "platform/win/paths.h"

namespace {

// Words with which the tool marks a failed statement in its output.
const char* const kErrorMarkers[] = {"Statement failed", "SQLSTATE", "failed", "Error"};

std::string Timestamp() { return FormatDateTime("yyyy/mm/dd hh:nn:ss", Now()); }

std::string ReadBytes(const std::string& Path) {
  std::ifstream in(Path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + Path);
  std::stringstream s;
  s << in.rdbuf();
  if (in.bad()) throw std::runtime_error("cannot read " + Path);
  return s.str();
}

std::vector<std::string> SplitLines(const std::string& Text) {
  std::vector<std::string> lines;
  std::string line;
  for (char c : Text) {
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
      line.clear();
    } else {
      line.push_back(c);
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

// The tool echoes the CONNECT statement; its password never reaches a log.
std::string WithoutPassword(const std::string& Output) {
  if (SystemDef.DbPassword.empty()) return Output;
  return StringReplaceAll(Output, "PASSWORD '" + Utf8ToCp932Lossy(SqlQuoted(SystemDef.DbPassword)) + "'",
                          "PASSWORD '***'");
}

void AppendErrorLog(const std::string& Output) {
  std::ofstream log(PathJoin(SystemDef.LogDir, std::string(kUpdateErrorLog) + ".log"),
                    std::ios::binary | std::ios::app);
  for (const std::string& line : SplitLines(Output)) log << line << "\r\n";
}

void WriteErrorLogs(const std::string& Output) {
  ForceDirectories(SystemDef.LogDir);
  const std::string text = WithoutPassword(Output);
  std::ofstream(PathJoin(SystemDef.LogDir, std::string(kUpdateErrorLog) + ".txt"), std::ios::binary | std::ios::trunc)
      << text;
  AppendErrorLog(text);
}

bool ShowsError(const std::string& Output) {
  for (const char* marker : kErrorMarkers)
    if (Output.find(marker) != std::string::npos) return true;
  return false;
}

}  // namespace

std::string SqlQuoted(const std::string& Value) { return StringReplaceAll(Value, "'", "''"); }

std::string UpdateWorkFolder() { return SystemDef.WinTempDir; }
std::string UpdateScriptPath() { return PathJoin(UpdateWorkFolder(), kUpdateScriptFile); }
std::string UpdateOutputPath() { return PathJoin(UpdateWorkFolder(), kUpdateOutputFile); }

std::string StepScriptFolder(const TDbVersion& Version) {
  return PathJoin(SystemDef.SqlDir, Format("%d%d%d", Version.Major, Version.Minor, Version.Rev));
}

std::string UpdateDatabaseName(std::uint8_t Kind) {
  // The connection string of the database layer; a GOGLOBAL installation
  // takes the same form (its ":folder" form has no meaning here).
  return Kind == 0 ? TSystemStore::DatabaseNameFor(SystemDef.HostName, SystemDef.SysDir, DataDefFile)
                   : TSystemStore::DatabaseNameFor(SystemDef.HostName, SystemDef.DataDir, DataFile);
}

bool ReadStoredDbVersion(std::uint8_t Kind, TDbVersion& Version) {
  Version = TDbVersion{};
  try {
    TIBDatabase db;
    db.DatabaseName = UpdateDatabaseName(Kind);
    db.Params.Add("user_name=" + SystemDef.DbUser);
    db.Params.Add("password=" + SystemDef.DbPassword);
    db.Params.Add("lc_ctype=SJIS_0208");
    db.Open();
    TIBTransaction tr;
    tr.SetDefaultDatabase(&db);
    TIBSQL q;
    q.SetDatabase(&db);
    q.SetTransaction(&tr);
    q.SQL.Add(Kind == 0 ? "SELECT MAJOR,MINOR1,MINOR2 FROM VERSION" : "SELECT MAJOR,MINOR1,MINOR2 FROM ACCVERSION");
    q.SQL.Add("ORDER BY MAJOR DESC,MINOR1 DESC,MINOR2 DESC");
    tr.StartTransaction();
    q.ExecQuery();
    const bool found = !q.Eof();
    if (found) Version = {q.Fields(0).AsInteger(), q.Fields(1).AsInteger(), q.Fields(2).AsInteger()};
    q.Close();
    tr.Commit();
    db.Close();
    return found;
  } catch (...) {
    Version = TDbVersion{};
    return false;
  }
}

TUpdateScript::TUpdateScript(std::uint8_t Kind, const TDbVersion& Version, bool SetNames)
    : kind_(Kind), version_(Version) {
  lines_.push_back(Format("/* %s,%s,%d */", Timestamp(), SystemDef.PcName, SystemDef.OpCode));
  lines_.push_back("");
  lines_.push_back(Format("CONNECT '%s' USER '%s' PASSWORD '%s';", SqlQuoted(UpdateDatabaseName(Kind)),
                          SqlQuoted(SystemDef.DbUser), SqlQuoted(SystemDef.DbPassword)));
  if (SetNames) lines_.push_back("SET NAMES SJIS_0208;");
}

std::string TUpdateScript::VersionText() const {
  return Format("%d.%d.%d", version_.Major, version_.Minor, version_.Rev);
}

void TUpdateScript::Add(std::initializer_list<const char*> Lines) {
  for (const char* line : Lines) lines_.push_back(line);
}

bool TUpdateScript::AddScriptFiles(std::initializer_list<const char*> Files, bool Required) {
  return AddScriptFilesOf(version_, Files, Required);
}

bool TUpdateScript::AddScriptFilesOf(const TDbVersion& Step, std::initializer_list<const char*> Files, bool Required) {
  std::vector<std::string> added;
  for (const char* name : Files) {
    const std::string path = PathJoin(StepScriptFolder(Step), name);
    if (!FileExists(path)) {
      if (Required) return false;
      continue;
    }
    for (const std::string& line : SplitLines(ReadBytes(path)))
      if (!line.empty()) added.push_back(line);
  }
  lines_.insert(lines_.end(), added.begin(), added.end());
  return true;
}

void TUpdateScript::Finish() {
  if (kind_ == 0) {
    if (version_.Major == 11 && version_.Minor == 0 && version_.Rev == 1) {
      const std::string memo = Format("%s,%d,%s,%s", Timestamp(), SystemDef.LoginCode, SystemDef.OpName,
                                      SystemDef.PcName);
      lines_.push_back("INSERT INTO VERSION(MAJOR,MINOR1,MINOR2,MEMO)");
      lines_.push_back(Format("VALUES(%d,%d,%d,'%s');", version_.Major, version_.Minor, version_.Rev,
                              SqlQuoted(TrimRight(Cp932Cut(memo, 127)))));
    } else {
      lines_.push_back(Format("INSERT INTO VERSION(MAJOR,MINOR1,MINOR2,MEMO) VALUES(%d,%d,%d,'%s');", version_.Major,
                              version_.Minor, version_.Rev, Timestamp()));
    }
  } else {
    lines_.push_back(Format("UPDATE ACCVERSION SET MAJOR=%d,MINOR1=%d,MINOR2=%d,MEMO='%s'", version_.Major,
                            version_.Minor, version_.Rev, Timestamp()));
    lines_.push_back("WHERE REC=1;");
  }
  lines_.push_back("COMMIT;");
  lines_.push_back("EXIT;");
}

void TUpdateScript::Save() const {
  std::string bytes;
  for (const std::string& line : lines_) {
    bytes += Utf8ToCp932(line);
    bytes += "\r\n";
  }
  const std::string path = UpdateScriptPath();
  ForceDirectories(UpdateWorkFolder());
  // The script holds the database password: a fresh file that only its owner reads.
  ::unlink(path.c_str());
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int error = errno;
      ::close(fd);
      ::unlink(path.c_str());
      throw std::runtime_error("cannot write " + path + ": " + std::strerror(error));
    }
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
}

std::int32_t TUpdateScript::Run() {
  Finish();
  try {
    Save();
  } catch (...) {
    DeleteFile(UpdateScriptPath());
    throw;
  }
  return RunIsqlScript(VersionText(), kind_);
}

std::int32_t RunIsqlScript(const std::string& VersionText, std::uint8_t Kind) {
  const std::string script = UpdateScriptPath();
  const std::string output = UpdateOutputPath();
  std::int32_t result = urDone;
  if (!FileExists(script)) {
    DbShowMessage(Format("更新ファイル(%s)が見つかりません。\r処理を中止します。", script), kMsgInformation);
    result = urFileMissing;
  } else {
    DeleteFile(output);
    TChildProcess tool;
    if (!tool.Start(IsqlTool, {"-b", "-i", script, "-e", "-m", "-o", output})) {
      DbShowMessage("ISQL.EXEが起動できません。\r処理を中止します。", kMsgInformation);
      result = urToolNotStarted;
    } else {
      while (tool.Running()) WaitWithMessages(300);
      std::string text;
      if (FileExists(output)) {
        try {
          text = ReadBytes(output);
        } catch (...) {
          text.clear();
        }
      }
      bool failed = tool.Signaled() || tool.ExitCode() != 0 || text.empty() || ShowsError(text);
      if (!failed && (Kind == 0 || Kind == 1)) {
        TDbVersion expected, stored;
        failed = !ParseDbVersionText(VersionText, expected) || !ReadStoredDbVersion(Kind, stored) ||
                 CompareDbVersion(expected, stored) != 0;
        if (failed)
          text += Format("\r\nVersion %s was not recorded in the database (%d.%d.%d found).\r\n", VersionText,
                         stored.Major, stored.Minor, stored.Rev);
      }
      if (failed) {
        if (text.empty())
          text = Format("isql-fb ended with status %d without output.\r\n", tool.ExitCode());
        result = urScriptFailed;
        DbShowMessage(Format("Ver %sのデータベース更新に失敗しました。", VersionText), kMsgError);
        WriteErrorLogs(text);
      }
    }
  }
  DeleteFile(script);
  DeleteFile(output);
  return result;
}

std::int32_t RunDbUpdateStep(TDbUpdateStepCall Proc) {
  std::int32_t result = urDone;
  try {
    result = Proc ? Proc() : urConversionFailed;  // a step without its work cannot succeed
  } catch (...) {
    result = urConversionFailed;
  }
  DeleteFile(UpdateScriptPath());
  return result;
}
