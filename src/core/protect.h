// Protection of the personal-number management key and value: a reversible
// transform into a printable text of at most 255 bytes. Function code "160"
// protects, "161" restores. Not a cipher in the cryptographic sense.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

inline constexpr std::size_t kProtectedMaxBytes = 255;
// The longest text (in bytes) whose protected form still fits.
inline constexpr std::size_t kProtectMaxPlainBytes = 189;

// The transform behind both calls: returns 1 and the result in Output on
// success; any other value leaves Output empty (input too long, unknown
// function code, a text that is not a protected form).
std::int32_t ProtectTransform(std::string_view Input, std::string_view FunctionCode, std::string& Output);

// The protected / plain form of Text; "" for a blank text or when the
// transform fails. KeyName and KeyLength do not influence the transform.
void ProtectText(std::string_view Text, std::string_view KeyName, int KeyLength, std::string& Result);
void UnprotectText(std::string_view Text, std::string_view KeyName, int KeyLength, std::string& Result);
