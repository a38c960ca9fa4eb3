// Dotted version numbers ("11.1.0.3"). Comparisons pack Major * 65536 +
// Minor * 256 + Release into an unsigned 32-bit value (wrapping); Build is
// never compared, so "1.256.0" equals "2.0.0".
#pragma once

#include <cstdint>
#include <string_view>

#include "core/globals.h"  // TVersionRec

void ParseVersion(std::string_view Text, TVersionRec& Version);
std::uint32_t PackVersion(const TVersionRec& Version);
bool VersionGreater(std::string_view A, std::string_view B);
bool VersionGreaterOrEqual(std::string_view A, std::string_view B);
bool VersionRecGreater(const TVersionRec& A, const TVersionRec& B);
bool VersionRecLess(const TVersionRec& A, const TVersionRec& B);
