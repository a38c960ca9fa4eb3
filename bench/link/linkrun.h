// What the link-export command and the export benchmark share: opening a
// data set's database (a local path through the embedded engine, host:path
// through a Firebird server) as the data module's data set with its company
// information read, and running the export headless as the wizard does with
// its default choices.
#pragma once

#include <string>

namespace linkbench {

// Reads AppInfo.ini of the program folder, creates the data module and
// connects `database`; the login comes from VERUDA_DB_USER and
// VERUDA_DB_PASSWORD (default VFNZFR / dravon). Throws on failure.
void OpenDataSet(const std::string& database);
void CloseDataSet();

// The month "yyyy-mm" as the 1-based month of the connected data set's fiscal
// year; throws when it lies outside the year.
int FiscalMonthOf(const std::string& yearMonth);

// Exports the months FromMonth..ToMonth of the connected data set to Output.
// Throws EDataExportError and the errors of the database and the file.
void ExportLinkFile(const std::string& output, int fromMonth, int toMonth);

}  // namespace linkbench
