// A list of text lines, the shape of the parameter lists ("user_name=...")
// and SQL texts of the database components: Add, Clear, Text, Values.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class TIBStrings {
 public:
  TIBStrings() = default;
  TIBStrings(std::initializer_list<std::string> lines) : lines_(lines) {}

  void Add(std::string_view line) { lines_.emplace_back(line); }
  void Clear() { lines_.clear(); }
  int Count() const { return static_cast<int>(lines_.size()); }
  bool Empty() const { return lines_.empty(); }
  const std::string& operator[](int index) const { return lines_.at(static_cast<std::size_t>(index)); }
  const std::string& Strings(int index) const { return (*this)[index]; }
  const std::vector<std::string>& Lines() const { return lines_; }

  // All lines, each followed by "\n" (Delphi's TStrings.Text).
  std::string Text() const;
  // Replaces the lines by the text split at "\r\n", "\n" or "\r".
  void SetText(std::string_view text);
  TIBStrings& operator=(std::string_view text) { SetText(text); return *this; }

  // "name=value" lines: the value of the first line whose name matches
  // (case-insensitive), or an empty text.
  std::string Values(std::string_view name) const;
  int IndexOfName(std::string_view name) const;

  friend bool operator==(const TIBStrings&, const TIBStrings&) = default;

 private:
  std::vector<std::string> lines_;
};
