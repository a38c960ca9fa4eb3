// TMojiBunkatu: splits a text into items by the class library's delimited-text
// rules (the version check splits "11.1.0" at "."): items end at the delimiter
// and at blanks and control characters outside double quotes, leading blanks
// are skipped, a quoted item keeps its delimiters and blanks (a doubled quote
// inside stands for one), and a delimiter at the very end adds an empty item.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class TMojiBunkatu {
 public:
  TMojiBunkatu() { Clear(); }

  void Split(std::string_view Text);
  // The item at Index, "" outside 0..Count-1.
  std::string GetItem(int Index) const;
  void Clear();

  char Delimiter = ',';
  std::vector<std::string> Items;
  int Count = 0;
};
