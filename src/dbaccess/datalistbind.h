// The parts every statement of the data-set list tables shares (used by the
// table repositories of datalistrepo.h only): the CLOUD column, the
// parameters of a row and of the operator's group, and the reading of rows.
#pragma once

#include <string>

#include "dbaccess/datalistrepo.h"

namespace datalistbind {

// ",CLOUD", or ",0 AS CLOUD" for tables without the column.
std::string CloudPart(bool Cloud);
// "A,B,C" -> ":A,:B,:C".
std::string ValueList(const std::string& Columns);
// Binds the parameter Name when the statement names it.
void BindIfNamed(TIBSQL& Statement, const char* Name, int Value);
void BindIfNamed(TIBSQL& Statement, const char* Name, const std::string& Value);
// GROUPID: the operator's group, when named.
void BindGroup(TIBSQL& Statement);
// Every column parameter of Row that the statement names (GROUPID the operator's group).
void BindRow(TIBSQL& Statement, const TDataListRec& Row);
// Runs Statement (set up) and closes it.
void Run(TIBSQL& Statement);
// Runs Statement (set up) and delivers each row read with How.
void ReadRows(TIBSQL& Statement, TRowRead How, const TListRowSink& Take);

}  // namespace datalistbind
