// link-export: writes the consumption-tax link file of a data set headless,
// as the wizard does with its default choices.
//
//   link-export <database> <first month yyyy-mm> <last month yyyy-mm> <output.xml>
//
// <database> is a local path (embedded engine) or host:path (Firebird server).
// The special folders come from the VERUDA_* variables (make-installation
// prints them); boxes are written to the standard error stream, and the
// database error log goes to the installation's log folder.
//
// Exit status: 0 written (the output path is printed), 3 stopped as the wizard
// stops, 4 failed, 64 refused before anything ran (wrong arguments, a month
// that is no yyyy-mm, a period that ends before it begins, no AppInfo.ini).
#include <charconv>
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "core/appinfo.h"
#include "core/globals.h"
#include "core/settings.h"
#include "core/sysinfo.h"
#include "link/exportobject.h"
#include "linkrun.h"
#include "platform/win/paths.h"

namespace {

int Usage(const char* program) {
  std::fprintf(stderr, "usage: %s <database> <first month yyyy-mm> <last month yyyy-mm> <output.xml>\n", program);
  return 64;
}

int Refuse(const char* program, const std::string& reason) {
  std::fprintf(stderr, "%s\n", reason.c_str());
  return Usage(program);
}

// A whole number of decimal digits only, within int.
bool Digits(std::string_view text, int& value) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

// "yyyy-mm" and nothing else: a month of a plausible year.
bool YearMonth(std::string_view text, int& year, int& month) {
  const std::size_t dash = text.find('-');
  if (dash == std::string_view::npos) return false;
  return Digits(text.substr(0, dash), year) && Digits(text.substr(dash + 1), month) && year >= 1900 &&
         year <= 9999 && month >= 1 && month <= 12;
}

// The installation's log folder (the data root's "log"), where the database
// error reporter writes; created when missing.
void UseInstallationLogFolder() {
  std::string common;
  GetAppDataDir(true, common);
  std::string home = HomeDir;
  for (char& c : home)
    if (c == '\\') c = '/';
  SystemDef.DataRoot = PathJoin(common, home);
  SystemDef.LogDir = PathJoin(SystemDef.DataRoot, "log");
  ForceDirectories(SystemDef.LogDir);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) return Usage(argv[0]);
  const std::string notAMonth = "月は yyyy-mm で指定して下さい: ";
  int firstYear = 0, firstMonth = 0, lastYear = 0, lastMonth = 0;
  if (!YearMonth(argv[2], firstYear, firstMonth)) return Refuse(argv[0], notAMonth + argv[2]);
  if (!YearMonth(argv[3], lastYear, lastMonth)) return Refuse(argv[0], notAMonth + argv[3]);
  if (lastYear * 12 + lastMonth < firstYear * 12 + firstMonth)
    return Refuse(argv[0], std::string("最後の月が最初の月より前です: ") + argv[2] + " " + argv[3]);
  std::string programDir;
  GetSpecialFolder("program", programDir);
  const std::int32_t read = ReadAppInfo(PathJoin(programDir, "link-export"), AppInfo);
  if (read == aiNoFile || read == aiReadError)
    return Refuse(argv[0], kAppInfoFileName + std::string(" を読めません: ") + PathJoin(programDir, kAppInfoFileName));
  CopyAppInfoToSettings(AppInfo);
  UseInstallationLogFolder();
  try {
    linkbench::OpenDataSet(argv[1]);
    linkbench::ExportLinkFile(argv[4], linkbench::FiscalMonthOf(argv[2]), linkbench::FiscalMonthOf(argv[3]));
    linkbench::CloseDataSet();
  } catch (const EDataExportError& e) {
    std::fprintf(stderr, "%s\n%s\n", e.what(), e.Detail.c_str());
    return e.Code == 16 || e.Code == 6 ? 3 : 4;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 4;
  }
  std::printf("%s\n", argv[4]);
  return 0;
}
