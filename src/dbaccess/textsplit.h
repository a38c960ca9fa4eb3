// TMojiBunkatu: one line of text split into items at a delimiter character,
// with the double quote as quote character (the comma-text rules of a string
// list, in their non-strict form: an unquoted item also ends at a blank).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using TMojiArray = std::vector<std::string>;

class TMojiBunkatu {
 public:
  char Delimiter = ',';
  std::int32_t Count = 0;

  // Replaces the items by those of Text; never leaves Count at 0.
  void Split(std::string_view Text);
  // The item; empty for an index outside 0 .. Count - 1.
  void GetItem(std::int32_t Index, std::string& Text) const;
  std::string Item(std::int32_t Index) const;
  void Clear();

 private:
  TMojiArray items_;
};
