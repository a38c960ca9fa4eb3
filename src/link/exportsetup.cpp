#include "link/exportsetup.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "core/dates.h"
#include "core/globals.h"
#include "platform/rtl/sysutils.h"

namespace {

// Cell of the FromMonth-th month, the last month's cell capped at 14 so that
// the settlement cell is at most 15.
int MonthCell(int month) { return MonthSlotCell(std::clamp(month, 1, 12)); }

int SettlementCell() { return std::min(MonthCell(FiscalYearMonths()), 14) + 1; }

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The sentence for an error met at the folder (or, with onFile, at the file).
std::string ProblemText(const std::string& path, const std::string& folder, int error, bool onFile) {
  switch (error) {
    case ENOENT:
      return Format("保存先のフォルダ「%s」がありません。", folder);
    case ENOTDIR:
      return Format("保存先「%s」はフォルダではありません。", folder);
    case EACCES:
    case EPERM:
      return onFile ? Format("ファイル「%s」に書き込む権限がありません。", path)
                    : Format("保存先のフォルダ「%s」に書き込む権限がありません。", folder);
    case EROFS:
      return Format("保存先のフォルダ「%s」は読み取り専用です。", folder);
    case ENOSPC:
    case EDQUOT:
      return Format("ディスクの空き容量が足りないため、「%s」を保存できません。", path);
    case EISDIR:
      return Format("「%s」はフォルダです。ファイルの名前を指定してください。", path);
    case ENAMETOOLONG:
      return Format("「%s」は名前が長すぎるため保存できません。", path);
    default:
      return Format("「%s」を保存できません。(エラー番号 %d)", path, error);
  }
}

}  // namespace

int FiscalYearMonths() { return MonthsBetween(AccInf.SIME, AccInf.KISHU, AccInf.KIMATU) + 1; }

void TakeDataSetIntoExport(TComDataExport& Export) {
  const TACCINF& a = AccInf;
  Export.DataDir = SystemDef.DataDir;
  Export.KomonsakiName = a.SHOUGOU;
  Export.FiscalTerm = a.NENDO;
  Export.PeriodFrom = a.KISHU;
  Export.PeriodTo = a.KIMATU;
  Export.ClosingDay = a.SIME;
  Export.TaxDefUH = a.TAXDEFUH;
  Export.TaxKanni = a.TAXKANNI;
  Export.TaxJigyou = a.TAXJIGYOU;
  Export.TumiageFlag = 0;
  Export.CompanyKind = a.DATATYPE;
  Export.CodeType = a.CODETYPE;
  Export.SyotokuSyurui = 0;
  if (a.DATATYPE == 2) Export.SyotokuSyurui = a.CODETYPE == 2 ? 3 : a.CODETYPE == 4 ? 4 : 1;
  SetExportPeriodMonths(Export, MonthsBetween(a.SIME, a.KISHU, a.KAISI) + 1, FiscalYearMonths());
}

void SetExportPeriodMonths(TComDataExport& Export, int FromMonth, int ToMonth) {
  Export.LastCell = SettlementCell();
  Export.StartCell = MonthCell(FromMonth);
  Export.EndCell = ToMonth >= FiscalYearMonths() ? Export.LastCell : MonthCell(ToMonth);
}

std::string ExportFileProblem(const std::string& Path) {
  if (Path.empty() || Path.back() == '/') return "中間ファイルの名前が指定されていません。";
  const std::string folder = FolderOf(Path);
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0) return ProblemText(Path, folder, errno, false);
  if (!S_ISDIR(st.st_mode)) return ProblemText(Path, folder, ENOTDIR, false);
  struct statvfs fs {};
  if (::statvfs(folder.c_str(), &fs) == 0 && (fs.f_flag & ST_RDONLY) != 0)
    return ProblemText(Path, folder, EROFS, false);
  if (::access(folder.c_str(), W_OK | X_OK) != 0) return ProblemText(Path, folder, errno, false);
  if (::stat(Path.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return ProblemText(Path, folder, EISDIR, true);
    if (::access(Path.c_str(), W_OK) != 0) return ProblemText(Path, folder, errno, true);
  }
  if (::statvfs(folder.c_str(), &fs) == 0 && (geteuid() == 0 ? fs.f_bfree : fs.f_bavail) == 0)
    return ProblemText(Path, folder, ENOSPC, false);
  return {};
}

std::string ExportWriteProblem(const std::string& Path, int Error) {
  if (Path.empty()) return "中間ファイルの名前が指定されていません。";
  struct stat st {};
  const bool fileThere = ::stat(Path.c_str(), &st) == 0;
  return ProblemText(Path, FolderOf(Path), Error, fileThere && (Error == EACCES || Error == EPERM));
}
