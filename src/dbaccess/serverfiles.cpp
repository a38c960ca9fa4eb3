// File and folder operations on a data set's files: on this computer in the
// stand-alone installation, through the database server's procedures
// FILEOPERATION, DIRECTORYTEST and LONGTOSHORTFILENAME in a server
// installation.
#include "dbaccess/serverfiles.h"

#include "core/fileutil.h"
#include "core/globals.h"
#include "core/sysinfo.h"
#include "dbaccess/fberror.h"
#include "platform/fb/ibx.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/paths.h"

namespace {

bool IsFileMode(const std::string& mode) { return mode == "FEXIST" || mode == "FCOPY" || mode == "FDEL"; }
bool IsFolderMode(const std::string& mode) { return mode == "DEXIST" || mode == "MKDIR" || mode == "RMDIR"; }
bool IsServerKind(std::uint8_t kind) { return kind == 1 || kind == 2; }

// Keeps the system database connected for one server call and leaves it as
// it was found.
class TSystemDatabaseUse {
 public:
  explicit TSystemDatabaseUse(TSystemStore& dm) : dm_(dm), wasConnected_(dm.IBDatabaseDEF.Connected()) {
    if (!wasConnected_) dm_.fnAccDefConnected(SystemDef.HostName, true);
  }
  ~TSystemDatabaseUse() {
    if (!wasConnected_ && dm_.IBDatabaseDEF.Connected()) {
      try {
        dm_.IBDatabaseDEF.Close();
      } catch (...) {  // a destructor must not throw: the connection is dropped instead
        dm_.IBDatabaseDEF.ForceClose();
      }
    }
  }

 private:
  TSystemStore& dm_;
  bool wasConnected_;
};

}  // namespace

bool TServerFiles::ServerFileOperation(const std::string& Mode, const std::string& Path1, const std::string& Path2) {
  const std::string mode = UpperCase(Mode);
  if (!IsFileMode(mode) && !IsFolderMode(mode)) return false;
  if (Trim(Path1).empty() || (mode == "FCOPY" && Trim(Path2).empty())) return false;

  TSystemDatabaseUse use(*this);
  TTransactionGuard scope(IBTransactionDEF);
  bool result = false;
  try {
    scope.Begin();
    IBSQLDEF.Close();
    if (IsFileMode(mode)) {
      IBSQLDEF.SQL.SetText("SELECT WBOOL FROM FILEOPERATION(:MODE,:FILEPATH1,:FILEPATH2)");
    } else {
      IBSQLDEF.SQL.SetText("SELECT WBOOL FROM DIRECTORYTEST(:MODE,:FILEPATH1)");
    }
    if (!IBSQLDEF.Prepared()) IBSQLDEF.Prepare();
    IBSQLDEF.ParamByName("MODE").AsString(mode);
    IBSQLDEF.ParamByName("FILEPATH1").AsString(Path1);
    if (IsFileMode(mode)) IBSQLDEF.ParamByName("FILEPATH2").AsString(Path2);
    IBSQLDEF.ExecQuery();
    result = !IBSQLDEF.Eof() && IBSQLDEF.FieldByName("WBOOL").AsInteger() == 1;
    IBSQLDEF.Close();
    scope.Commit();
  } catch (...) {
    IBSQLDEF.Close();
    ReportCurrentException("TDM.ServerFileOperation", Format("サーバーへのファイル操作(%s)に失敗しました。", mode), true);
    scope.Rollback();
    return false;
  }
  return result;
}

void TServerFiles::ServerLongToShortFileName(const std::string& Path, std::string& ShortName) {
  ShortName.clear();
  if (Trim(Path).empty()) return;
  TSystemDatabaseUse use(*this);
  TTransactionGuard scope(IBTransactionDEF);
  try {
    scope.Begin();
    IBSQLDEF.Close();
    IBSQLDEF.SQL.SetText("SELECT SHORTNAME FROM LONGTOSHORTFILENAME(:LONGNAME)");
    if (!IBSQLDEF.Prepared()) IBSQLDEF.Prepare();
    IBSQLDEF.ParamByName("LONGNAME").AsString(Path);
    IBSQLDEF.ExecQuery();
    const std::string name = IBSQLDEF.Eof() ? std::string() : IBSQLDEF.FieldByName("SHORTNAME").AsTrimString();
    IBSQLDEF.Close();
    scope.Commit();
    ShortName = name;
  } catch (...) {
    IBSQLDEF.Close();
    ReportCurrentException("TDM.ServerLongToShortFileName",
                           "サーバーからのファイル名の変換(LongToShort)に失敗しました。", true);
    scope.Rollback();
    ShortName.clear();
  }
}

bool TServerFiles::ServerDExist(const std::string& Path, std::uint8_t Kind) {
  if (Kind == 0) return DirectoryExists(Path);
  return IsServerKind(Kind) && ServerFileOperation("DExist", Path, "");
}

bool TServerFiles::ServerMkDir(const std::string& Path, std::uint8_t Kind) {
  if (Kind == 0) return ForceFolder(Path);
  return IsServerKind(Kind) && ServerFileOperation("MkDir", Path, "");
}

bool TServerFiles::ServerRmDir(const std::string& Path, bool AllowUndo, std::uint8_t Kind) {
  if (Kind == 0) return ShellDeleteOrRename(Path, foDelete, AllowUndo, true);
  return IsServerKind(Kind) && ServerFileOperation("RmDir", Path, "");
}

bool TServerFiles::ServerFExist(const std::string& Path, std::uint8_t Kind) {
  if (Kind == 0) return FileExists(Path);
  return IsServerKind(Kind) && ServerFileOperation("FExist", Path, "");
}

bool TServerFiles::ServerFDel(const std::string& Path, bool AllowUndo, std::uint8_t Kind) {
  if (Kind == 0) return ShellDeleteOrRename(Path, foDelete, AllowUndo, true);
  return IsServerKind(Kind) && ServerFileOperation("FDel", Path, "");
}

bool TServerFiles::ServerFMove(const std::string& Source, const std::string& Target, std::uint8_t Kind) {
  if (Kind == 0) return RenameFile(Source, Target);
  if (!IsServerKind(Kind)) return false;
  if (!ServerFileOperation("FCopy", Source, Target)) return false;
  return ServerFileOperation("FDel", Source, "");
}

bool TServerFiles::ServerFCopy(const std::string& Source, const std::string& Target, std::uint8_t Kind) {
  if (Kind == 0) return ShellCopyOrMove(Source, Target, foCopy);
  return IsServerKind(Kind) && ServerFileOperation("FCopy", Source, Target);
}

void TServerFiles::ServerShortFileName(const std::string& Path, std::string& ShortName, std::uint8_t Kind) {
  ShortName.clear();
  if (Kind == 0) {
    try {
      GetShortPath(Path, ShortName);
    } catch (const std::exception&) {
      ShortName.clear();
    }
    if (ShortName.empty()) ShortName = Path;
  } else if (IsServerKind(Kind)) {
    ServerLongToShortFileName(Path, ShortName);
  }
}
