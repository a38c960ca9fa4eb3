// The report engine's error log: "Quillbox_Error.log" in the Documents folder,
// one CP932 line per error: the local time as "yy/mm/dd hh:nn:ss", two spaces
// and the message (place, ":" and the error text).
#pragma once

#include <string>
#include <string_view>

inline constexpr const char* kQuillboxErrorLogName = "Quillbox_Error.log";

std::string QuillboxErrorLogPath();
// Appends one line (the file is created when missing); a log that cannot be
// written loses the line and nothing else.
void QuillboxLogError(std::string_view message);
// "place:text", the form of every entry.
void QuillboxLogError(std::string_view place, std::string_view text);
