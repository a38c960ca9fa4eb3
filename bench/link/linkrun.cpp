#include "linkrun.h"

#include <cstdlib>

#include "core/appinfo.h"
#include "core/dates.h"
#include "core/globals.h"
#include "dbaccess/dm.h"
#include "link/exportsetup.h"
#include "link/linkbody.h"
#include "platform/fb/ibdatabase.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/paths.h"
#include "platform/win/specialfolders.h"

namespace linkbench {

namespace {

std::string EnvOr(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != 0 ? value : fallback;
}

}  // namespace

void OpenDataSet(const std::string& database) {
  ReadAppInfo(PathJoin(ProgramDir(), "link-export"), AppInfo);
  CopyAppInfoToSettings(AppInfo);
  SystemDef.DbUser = EnvOr("VERUDA_DB_USER", "VFNZFR");
  SystemDef.DbPassword = EnvOr("VERUDA_DB_PASSWORD", "dravon");
  const std::size_t colon = database.find(':');
  const bool remote = colon != std::string::npos && colon > 0 && database.find('/') > colon;
  ConnectKind = remote ? 1 : 0;
  SystemDef.DataDir = ExtractFileDir(remote ? database.substr(colon + 1) : database);
  CreateDataModule();
  TIBDatabase& db = DataSetConnection().IBDatabaseDAT;
  db.SQLDialect = 3;
  db.Params.Clear();
  db.DatabaseName = database;
  db.Params.Add("user_name=" + SystemDef.DbUser);
  db.Params.Add("password=" + SystemDef.DbPassword);
  db.Params.Add("lc_ctype=SJIS_0208");
  db.Open();
  if (!DataSetConnection().fnGetAccInfo()) throw Exception("基本情報の取得に失敗しました。");
}

void CloseDataSet() { FreeDataModule(); }

int FiscalMonthOf(const std::string& yearMonth) {
  int year = 0, month = 0;
  if (std::sscanf(yearMonth.c_str(), "%d-%d", &year, &month) != 2 || month < 1 || month > 12)
    throw Exception("月は yyyy-mm で指定して下さい: " + yearMonth);
  const int index = MonthsBetween(AccInf.SIME, AccInf.KISHU, ClosingDayDate(0, AccInf.SIME, EncodeDate(year, month, 1))) + 1;
  if (index < 1 || index > FiscalYearMonths()) throw Exception("会計年度の外の月です: " + yearMonth);
  return index;
}

void ExportLinkFile(const std::string& output, int fromMonth, int toMonth) {
  TSyohizeiDataExport exporter("", 0);
  TakeDataSetIntoExport(exporter);
  SetExportPeriodMonths(exporter, fromMonth, toMonth);
  exporter.ExportFile = output;
  WriteLinkFile(exporter);
}

}  // namespace linkbench
