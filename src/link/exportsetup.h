// The wizard's hand-over of the connected data set and of the calculation
// period into the export object, for runs without the wizard's pages (and for
// the wizard itself): the company and fiscal-year fields from the company
// information (AccInf), and the period as cells of the 16-cell period selector;
// and what stands in the way of writing the link file at its path.
#pragma once

#include <string>

#include "link/exportobject.h"

// DataDir (SystemDef.DataDir), KomonsakiName (SHOUGOU), FiscalTerm, PeriodFrom,
// PeriodTo, ClosingDay, TaxDefUH, TaxKanni, TaxJigyou, TumiageFlag 0,
// CompanyKind, CodeType and SyotokuSyurui, and the default period: from the
// data's first month to the settlement cell of the fiscal year.
void TakeDataSetIntoExport(TComDataExport& Export);

// Number of months of the connected data set's fiscal year (1..12 and more).
int FiscalYearMonths();
// The period from the FromMonth-th to the ToMonth-th month of the fiscal year
// (1-based); the last month of the year selects the settlement cell.
void SetExportPeriodMonths(TComDataExport& Export, int FromMonth, int ToMonth);

// Why the link file cannot be written at Path, as a Japanese sentence that
// names the file or its folder ("保存先のフォルダ「…」がありません。"); empty
// when nothing stands in the way as far as can be told before writing. A
// relative path is taken from the current folder.
std::string ExportFileProblem(const std::string& Path);
// The same sentence for an error of the system (an errno value) met while
// writing the file at Path.
std::string ExportWriteProblem(const std::string& Path, int Error);
