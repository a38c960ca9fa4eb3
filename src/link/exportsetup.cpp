#include "link/exportsetup.h"

#include <algorithm>

#include "core/dates.h"
#include "core/globals.h"

namespace {

// Cell of the FromMonth-th month, the last month's cell capped at 14 so that
// the settlement cell is at most 15.
int MonthCell(int month) { return MonthSlotCell(std::clamp(month, 1, 12)); }

int SettlementCell() { return std::min(MonthCell(FiscalYearMonths()), 14) + 1; }

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
