// TIniFile: the settings-file semantics the program relies on. Sections and keys
// compare case-insensitively (ASCII), a missing key reads as the default, key and
// section order are kept, files are CP932 with CRLF, and every write rewrites the
// file atomically (temporary file in the same folder, then rename).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/atomicfile.h"

class TIniFile {
 public:
  explicit TIniFile(std::string path);
  ~TIniFile();
  TIniFile(const TIniFile&) = delete;
  TIniFile& operator=(const TIniFile&) = delete;

  const std::string& FileName() const;

  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
  int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
  bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;  // "0" false, other numbers true
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int value);
  void WriteBool(std::string_view section, std::string_view key, bool value);       // "1" / "0"

  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;
  std::vector<std::string> ReadSections() const;
  std::vector<std::string> ReadSection(std::string_view section) const;        // key names
  std::vector<std::string> ReadSectionValues(std::string_view section) const;  // "key=value" lines
  void EraseSection(std::string_view section);
  void DeleteKey(std::string_view section, std::string_view key);

  // Re-reads the file from disk (another program may have changed it).
  void Reload();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
