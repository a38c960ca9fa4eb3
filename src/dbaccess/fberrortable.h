// The Japanese explanation of a Firebird status code for the error log and
// the error box: a short text in full-width parentheses, or " " (one space)
// for a code without one.
#pragma once

#include <cstdint>
#include <string>

std::string FbErrorMessage(std::int32_t Status, std::int32_t SqlCode);
