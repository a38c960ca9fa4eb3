// Registry values and settings-file sections.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "platform/win/registry.h"

// A value read from the registry or written to a settings file.
using TRegValue = std::variant<std::int32_t, std::string>;

// Value starts as the integer 0. When Key exists under RootKey and has a value
// Name, a text value comes back as text and an integer value as an integer.
// "EnableLUA" on a system whose major version is 5 or lower stays 0.
void ReadRegistryValue(HKEY RootKey, const std::string& Key, const std::string& Name, TRegValue& Value);
// Deletes the key when Delete, else writes Value as text (the file is
// rewritten atomically).
void WriteOrDeleteIniValue(const std::string& FileName, const std::string& Section, const std::string& Key,
                           bool Delete, const TRegValue& Value);
// All name=value lines of the section joined with CR LF; Text is left
// unchanged when FileName or Section is empty.
void ReadIniSectionText(const std::string& FileName, const std::string& Section, std::string& Text);
// Erases the section, then writes each line's name with the value the list
// holds for it (the first line of a repeated name); nothing when FileName or
// Section is empty.
void WriteIniSection(const std::string& FileName, const std::string& Section, const std::vector<std::string>& Lines);
