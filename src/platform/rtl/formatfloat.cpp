// FormatFloat / FormatCurr: the picture formats of the runtime ("#,##0",
// "0.00", sections "positive;negative;zero", quoted literals). Values are
// rounded on their decimal digits, halves away from zero.
#include <cmath>
#include <string>
#include <vector>

#include "platform/rtl/decimal.h"
#include "platform/rtl/sysutils.h"

namespace {

struct SectionInfo {
  int intPlaceholders = 0;
  int firstIntZero = -1;  // index of the first mandatory integer placeholder
  int fracPlaceholders = 0;
  int lastFracZero = -1;  // index of the last mandatory fraction placeholder
  bool thousands = false;
  bool hasPoint = false;
};

// Splits at ";" outside quotes.
std::vector<std::string_view> SplitSections(std::string_view pattern) {
  std::vector<std::string_view> sections;
  std::size_t start = 0;
  char quote = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    char c = pattern[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == ';') {
      sections.push_back(pattern.substr(start, i - start));
      start = i + 1;
    }
  }
  sections.push_back(pattern.substr(start));
  return sections;
}

SectionInfo Analyse(std::string_view section) {
  SectionInfo info;
  char quote = 0;
  for (char c : section) {
    if (quote) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == '.' && !info.hasPoint) {
      info.hasPoint = true;
    } else if (c == ',' && !info.hasPoint) {
      info.thousands = true;
    } else if (c == '0' || c == '#') {
      if (info.hasPoint) {
        if (c == '0') info.lastFracZero = info.fracPlaceholders;
        ++info.fracPlaceholders;
      } else {
        if (c == '0' && info.firstIntZero < 0) info.firstIntZero = info.intPlaceholders;
        ++info.intPlaceholders;
      }
    }
  }
  return info;
}

class IntegerEmitter {
 public:
  IntegerEmitter(std::string& out, const std::string& digits, bool thousands)
      : out_(out), digits_(digits), thousands_(thousands) {}
  // Emits the digit for position `fromRight` (1 = units); `mandatory` writes a
  // zero where the value has no digit.
  void Emit(int fromRight, bool mandatory) {
    int len = static_cast<int>(digits_.size());
    if (len >= fromRight) out_ += digits_[len - fromRight];
    else if (mandatory) out_ += '0';
    else return;
    if (thousands_ && fromRight > 1 && (fromRight - 1) % 3 == 0) out_ += ',';
  }
  // Digits beyond the placeholders go in front of the first placeholder.
  void EmitExcess(int placeholders) {
    for (int p = static_cast<int>(digits_.size()); p > placeholders; --p) Emit(p, false);
  }

 private:
  std::string& out_;
  const std::string& digits_;
  bool thousands_;
};

std::string FormatSection(std::string_view section, const DecimalDigits& rounded, bool minus) {
  SectionInfo info = Analyse(section);
  std::string out = minus ? "-" : "";
  IntegerEmitter ints(out, rounded.intDigits, info.thousands);
  const std::string& frac = rounded.fracDigits;
  int significantFrac = static_cast<int>(frac.size());
  while (significantFrac > 0 && frac[significantFrac - 1] == '0') --significantFrac;
  int fracShown = std::max(significantFrac, info.lastFracZero + 1);
  int intIndex = 0, fracIndex = 0;
  bool afterPoint = false, integerDone = false;
  auto finishInteger = [&] {
    if (!integerDone && info.intPlaceholders == 0) ints.EmitExcess(0);
    integerDone = true;
  };
  char quote = 0;
  for (char c : section) {
    if (quote) {
      if (c == quote) quote = 0;
      else out += c;
      continue;
    }
    if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == '.' && !afterPoint) {
      afterPoint = true;
      finishInteger();
      if (fracShown > 0) out += '.';
    } else if (c == ',') {
      // grouping marker only
    } else if (c == '0' || c == '#') {
      if (!afterPoint) {
        if (intIndex == 0) ints.EmitExcess(info.intPlaceholders);
        ints.Emit(info.intPlaceholders - intIndex, info.firstIntZero >= 0 && intIndex >= info.firstIntZero);
        ++intIndex;
      } else {
        if (fracIndex < fracShown) out += frac[fracIndex];
        ++fracIndex;
      }
    } else {
      out += c;
    }
  }
  return out;
}

std::string FormatDecimal(std::string_view pattern, const DecimalDigits& value,
                          std::string (*general)(const DecimalDigits&)) {
  std::vector<std::string_view> sections = SplitSections(pattern);
  bool negative = value.negative && !value.IsZero();
  std::size_t index = (negative && sections.size() > 1 && !sections[1].empty()) ? 1 : 0;
  if (sections[index].empty()) return general(value);
  DecimalDigits rounded = value;
  rounded.negative = false;
  rounded.RoundHalfAwayFromZero(Analyse(sections[index]).fracPlaceholders);
  if (rounded.IsZero()) {
    // A value that rounds to zero shows no minus sign.
    if (sections.size() > 2 && !sections[2].empty()) index = 2;
    else index = 0;
    if (sections[index].empty()) return general(DecimalDigits());
    rounded = DecimalDigits();
    rounded.RoundHalfAwayFromZero(Analyse(sections[index]).fracPlaceholders);
    return FormatSection(sections[index], rounded, false);
  }
  return FormatSection(sections[index], rounded, negative && index == 0);
}

std::string GeneralPlain(const DecimalDigits& d) { return d.ToPlainString(); }

}  // namespace

std::string FormatFloat(std::string_view pattern, Currency value) {
  return FormatDecimal(pattern, DecimalDigits::FromScaled(value.Raw(), 4), GeneralPlain);
}

std::string FormatFloat(std::string_view pattern, double value) {
  if (!std::isfinite(value)) return value != value ? "NAN" : (value > 0 ? "INF" : "-INF");
  return FormatDecimal(pattern, DecimalDigits::FromDoubleSignificant(value, 15), GeneralPlain);
}

std::string FormatFloat(std::string_view pattern, std::int64_t value) {
  return FormatDecimal(pattern, DecimalDigits::FromInt(value), GeneralPlain);
}

std::string FormatCurr(std::string_view pattern, Currency value) { return FormatFloat(pattern, value); }
