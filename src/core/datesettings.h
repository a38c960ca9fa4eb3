// The process-wide date and time settings used by every conversion of dates
// and times to and from text in the program. They are fixed when the program
// loads and never changed; nothing touches the C or Qt locale for them.
#pragma once

#include <string>

struct TDateFormatSettings {
  char DateSeparator = '/';
  char TimeSeparator = ':';
  std::string ShortDateFormat = "yyyy/MM/dd";
  std::string LongDateFormat = "yyyy年MM月dd日";
  std::string ShortTimeFormat = "hh:mm";
  std::string LongTimeFormat = "hh:mm:ss";
};

inline const TDateFormatSettings DateFormatSettings{};
