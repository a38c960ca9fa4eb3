// The schema version of a database: three signed integers (major, minor1,
// minor2), compared part by part.
#pragma once

#include <cstdint>
#include <string_view>

struct TDbVersion {
  std::int32_t Major = 0;
  std::int32_t Minor = 0;
  std::int32_t Rev = 0;
};

// Negative, zero or positive as A is older than, equal to or newer than B.
int CompareDbVersion(const TDbVersion& A, const TDbVersion& B);

// Parses "major.minor1.minor2" (a part may be put in double quotes; blanks
// around a part are ignored). True with Version set when the text has exactly
// three parts and each is a 32-bit integer; otherwise false with Version 0.0.0.
bool ParseDbVersionText(std::string_view Text, TDbVersion& Version);
