#include "core/datetext.h"

#include <initializer_list>
#include <vector>

#include "core/datesettings.h"
#include "platform/rtl/eras.h"
#include "core/globals.h"
#include "core/sjis.h"
#include "platform/rtl/sysutils.h"

namespace {

bool EraDisplayOn() { return SystemDef.WarekiDisplay == 1; }

bool OneOf(const std::string& s, std::initializer_list<const char*> names) {
  for (const char* n : names)
    if (s == n) return true;
  return false;
}

// Era prefix by EraKind: 0 none, 1 era name, 2 short name, 3 short name
// (only where shortNameFor3), any other the era name.
std::string EraPrefix(const TWarekiRec& w, int eraKind, bool shortNameFor3) {
  if (eraKind == 0) return "";
  if (eraKind == 2 || (eraKind == 3 && shortNameFor3)) return w.EraShortName;
  return w.EraName;
}

// The first `count` of (year, month, day), after an optional prefix.
std::string FormatParts(const char* pattern, const std::string* prefix, int year, int month, int day, int count) {
  std::vector<FormatArg> args;
  if (prefix) args.emplace_back(*prefix);
  const int parts[3] = {year, month, day};
  for (int i = 0; i < count; ++i) args.emplace_back(static_cast<std::int64_t>(parts[i]));
  return FormatV(pattern, args);
}

bool ParseTimePart(std::string_view text, TDateTime& out) {
  int values[3] = {0, 0, 0};
  int count = 0;
  std::size_t i = 0;
  while (count < 3) {
    std::size_t start = i;
    int v = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i - start < 3) v = v * 10 + (text[i++] - '0');
    if (i == start) return false;
    values[count++] = v;
    if (i == text.size()) break;
    if (text[i] != DateFormatSettings.TimeSeparator) return false;
    ++i;
  }
  if (i != text.size() || count < 2) return false;
  if (values[0] > 23 || values[1] > 59 || values[2] > 59) return false;
  out = EncodeTime(values[0], values[1], values[2], 0);
  return true;
}

bool TryParseDateTime(std::string_view text, bool allowTime, TDateTime& out) {
  const std::string t = Trim(text);
  if (t.empty()) return false;
  const std::size_t blank = t.find(' ');
  const std::string datePart = blank == std::string::npos ? t : t.substr(0, blank);
  TDateTime date = 0;
  try {
    if (!TryStrToDate(datePart, date)) return false;
  } catch (const std::exception&) {
    return false;
  }
  TDateTime time = 0;
  if (blank != std::string::npos) {
    if (!allowTime) return false;
    if (!ParseTimePart(Trim(t.substr(blank + 1)), time)) return false;
  }
  out = date + time;
  return true;
}

std::string SafeFormatDateTime(const char* pattern, TDateTime date) {
  try {
    return FormatDateTime(pattern, date);
  } catch (const std::exception&) {
    return "";
  }
}

struct SlashLayout {
  std::initializer_list<const char*> names;
  const char* format;
  int parts;
};

struct KanjiLayout {
  std::initializer_list<const char*> names;
  const char* eraFormat;
  int eraParts;
  const char* westernFormat;  // nullptr: the layout itself is the date format
  bool twoDigitYear;
};

}  // namespace

void DateToText(int Kind, std::string& Text, TDateTime Date) {
  if (Date == 0) {
    Text.clear();
    return;
  }
  const char* pattern = Kind == 2 ? "yy/mm/dd" : Kind == 4 ? "yyyy/mm/dd" : "yyyy/mm/dd hh:nn";
  Text = SafeFormatDateTime(pattern, Date);
}

TDateTime StrToDateDef0(std::string_view Text) {
  TDateTime value = 0;
  return TryParseDateTime(Text, false, value) ? value : 0;
}

TDateTime StrToDateFixed(std::string_view Text) {
  TDateTime value = 0;
  return TryParseDateTime(Text, true, value) ? value : 0;
}

void FormatDateRange(std::string& Text, TDateTime FromDate, TDateTime ToDate) {
  auto one = [](TDateTime date) -> std::string {
    if (EraDisplayOn()) {
      TWarekiRec w;
      DateToWareki(w, date);
      return FormatParts("%s %.2d/%.2d/%.2d", &w.EraShortName, w.Year, w.Month, w.Day, 3);
    }
    return SafeFormatDateTime("yyyy/mm/dd", date);
  };
  try {
    Text = Format(kDateRangeFormat, one(FromDate), one(ToDate));
  } catch (const std::exception&) {
    Text.clear();
  }
}

void FormatDateSlash(const std::string& Layout, int EraKind, std::string& Text, TDateTime Date) {
  static const SlashLayout kEra[] = {
      {{"yyyy/mm/dd", "yy/mm/dd"}, "%s %.2d/%.2d/%.2d", 3},
      {{"yyyy/mm", "yy/mm"}, "%s %.2d/%.2d", 2},
      {{"yyyy", "yy"}, "%s %.2d", 1},
      {{"yyyy/m/d", "yy/m/d", "y/m/d"}, "%s %2d/%2d/%2d", 3},
      {{"yyyy/m", "yy/m", "y/m"}, "%s %2d/%2d", 2},
      {{"y"}, "%s %2d", 1},
      {{"yy2/mm/dd"}, "%s%.2d/%.2d/%.2d", 3},
  };
  Text.clear();
  try {
    if (EraDisplayOn()) {
      TWarekiRec w;
      DateToWareki(w, Date);
      const std::string prefix = EraPrefix(w, EraKind, true);
      for (const SlashLayout& l : kEra) {
        if (OneOf(Layout, l.names)) {
          Text = FormatParts(l.format, &prefix, w.Year, w.Month, w.Day, l.parts);
          break;
        }
      }
      if (EraKind == 0) Text = Trim(Text);
      if (EraKind == 3) Text = RemoveAllSpaces(Text);
      return;
    }
    const TDateParts p = DecodeDate(Date);
    const int yy = p.year % 100;
    if (Layout == "yyyy/m/d")
      Text = FormatParts("%4d/%2d/%2d", nullptr, p.year, p.month, p.day, 3);
    else if (OneOf(Layout, {"yy/m/d", "y/m/d"}))
      Text = FormatParts("%2d/%2d/%2d", nullptr, yy, p.month, p.day, 3);
    else if (Layout == "yyyy/m")
      Text = FormatParts("%4d/%2d", nullptr, p.year, p.month, 0, 2);
    else if (OneOf(Layout, {"yy/m", "y/m/"}))
      Text = FormatParts("%2d/%2d", nullptr, yy, p.month, 0, 2);
    else if (Layout == "yy2/mm/dd")
      Text = FormatDateTime("yy/mm/dd", Date);
    else
      Text = FormatDateTime(Layout, Date);
  } catch (const std::exception&) {
    Text = SafeFormatDateTime("yyyy/mm/dd", Date);
  }
}

void FormatDateKanji(const std::string& Layout, int EraKind, std::string& Text, TDateTime Date) {
  static const KanjiLayout kLayouts[] = {
      {{"yyyy年mm月dd日", "yy年mm月dd日"}, "%s %.2d年%.2d月%.2d日", 3, nullptr, false},
      {{"yyyy年mm月", "yy年mm月"}, "%s %.2d年%.2d月", 2, nullptr, false},
      {{"yyyy年", "yy年"}, "%s %.2d年", 1, nullptr, false},
      {{"yyyy年m月d日"}, "%s %2d年%2d月%2d日", 3, "%4d年%2d月%2d日", false},
      {{"yy年m月d日", "y年m月d日"}, "%s %2d年%2d月%2d日", 3, "%2d年%2d月%2d日", true},
      {{"yyyy年m月"}, "%s %2d年%2d月", 2, "%4d年%2d月", false},
      {{"yy年m月", "y年m月"}, "%s %2d年%2d月", 2, "%.2d年%2d月", true},
      {{"y"}, "%s %2d年", 1, nullptr, false},
      {{"yyyy年 m月 d日"}, "%s %2d年 %d月 %d日", 3, "%4d年 %d月 %d日", false},
      {{"yy年 m月 d日", "y年 m月 d日"}, "%s %2d年 %d月 %d日", 3, "%.2d年 %d月 %d日", true},
      {{"yyyy年 m月"}, "%s %2d年 %d月", 2, "%4d年 %d月", false},
      {{"yy年 m月", "y年 m月"}, "%s %2d年 %d月", 2, "%.2d年 %d月", true},
      {{"yyyy年 mm月 dd日", "yy年 mm月 dd日"}, "%s %.2d年 %.2d月 %.2d日", 3, nullptr, false},
      {{"yyyy年 mm月", "yy年 mm月"}, "%s %.2d年 %.2d月", 2, nullptr, false},
  };
  Text.clear();
  try {
    const KanjiLayout* layout = nullptr;
    for (const KanjiLayout& l : kLayouts)
      if (OneOf(Layout, l.names)) layout = &l;
    if (EraDisplayOn()) {
      TWarekiRec w;
      DateToWareki(w, Date);
      const std::string prefix = EraPrefix(w, EraKind, false);
      if (layout) Text = FormatParts(layout->eraFormat, &prefix, w.Year, w.Month, w.Day, layout->eraParts);
      if (EraKind == 0) Text = Trim(Text);
      return;
    }
    if (layout && layout->westernFormat) {
      const TDateParts p = DecodeDate(Date);
      const int year = layout->twoDigitYear ? p.year % 100 : p.year;
      Text = FormatParts(layout->westernFormat, nullptr, year, p.month, p.day, layout->eraParts);
    } else {
      Text = FormatDateTime(Layout, Date);
    }
  } catch (const std::exception&) {
    Text = SafeFormatDateTime("yyyy年mm月dd日", Date);
  }
}

void FormatDateWareki(const std::string& Layout, int EraKind, std::string& Text, TDateTime Date) {
  Text.clear();
  try {
    const std::string layout = Layout.empty() ? "gg ee年" : Layout;
    TWarekiRec w;
    DateToWareki(w, Date);
    const std::string p = EraPrefix(w, EraKind, false);
    const bool zero = Date == 0;
    const int y = w.Year, m = w.Month, d = w.Day;
    if (layout == "gg ee年")
      Text = FormatParts("%s %.2d年", &p, y, m, d, 1);
    else if (layout == "gg 2e年")
      Text = FormatParts("%s %2d年", &p, y, m, d, 1);
    else if (layout == "gg e年")
      Text = FormatParts("%s %d年", &p, y, m, d, 1);
    else if (layout == "gg ee年mm月dd日")
      Text = FormatParts("%s %.2d年%.2d月%.2d日", &p, y, m, d, 3);
    else if (layout == "e")
      Text = zero ? "" : FormatParts("%d", nullptr, y, m, d, 1);
    else if (layout == "ee")
      Text = zero ? "" : FormatParts("%.2d", nullptr, y, m, d, 1);
    else if (layout == "ggee･mm･dd")
      Text = zero ? Format("%3s･%2s･%2s", "", "", "") : FormatParts("%s%.2d･%.2d･%.2d", &p, y, m, d, 3);
    else if (layout == "ggee.mm.dd")
      Text = zero ? Format("%3s･%2s･%2s", "", "", "") : FormatParts("%s%.2d.%.2d.%.2d", &p, y, m, d, 3);
    else if (layout == "ee.mm.dd")
      Text = zero ? Format("%2s･%2s･%2s", "", "", "") : FormatParts("%.2d.%.2d.%.2d", nullptr, y, m, d, 3);
    else if (layout == "gg")
      Text = p;
    else if (layout == "ee mm")
      Text = zero ? "" : FormatParts("%.2d %.2d", nullptr, y, m, d, 2);
    if (EraKind == 0) Text = Trim(Text);
  } catch (const std::exception&) {
    Text = SafeFormatDateTime("yyyy年", Date);
  }
}
