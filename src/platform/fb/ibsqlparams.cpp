#include "platform/fb/ibstatement.h"
TIBParsedSQL ParseSQLParams(const std::string& sql) { return {sql, {}}; }
