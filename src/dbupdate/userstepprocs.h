// The step procedures of the accounting (data-set) database. Every step
// connects to the data set's database in SystemDef.DataDir; its fixed
// statements come from the script files under sql/<version digits>/.
#pragma once

#include <cstdint>
#include <string>

std::int32_t ExecUserDbUpdate011();
std::int32_t ExecUserDbUpdate012();
std::int32_t ExecUserDbUpdate013();
std::int32_t ExecUserDbUpdate014();
std::int32_t ExecUserDbUpdate015();
std::int32_t ExecUserDbUpdate020();
std::int32_t ExecUserDbUpdate021();
std::int32_t ExecUserDbUpdate022();

// Whether the data set's table has the column, asked through the data
// module's own connection (connected and disconnected again for the
// question). A question that cannot be answered counts as a missing column.
bool UserDbHasColumn(const std::string& Table, const std::string& Column);

// Whether the data set has the table, asked like UserDbHasColumn.
bool UserDbHasTable(const std::string& Table);

std::int32_t ExecUserDbUpdate030();
std::int32_t ExecUserDbUpdate031();
std::int32_t ExecUserDbUpdate032();
std::int32_t ExecUserDbUpdate033();
std::int32_t ExecUserDbUpdate034();
std::int32_t ExecUserDbUpdate040();
std::int32_t ExecUserDbUpdate041();
std::int32_t ExecUserDbUpdate100();
std::int32_t ExecUserDbUpdate105();
