#include "platform/rtl/currency.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "platform/rtl/decimal.h"
#include "platform/rtl/sysutils.h"

Currency Currency::FromDouble(double value) {
  if (!std::isfinite(value)) throw EConvertError("Invalid floating point value for a currency");
  // The shortest decimal text that reads back as the same double is the value
  // the user meant; round that text, not the binary approximation.
  DecimalDigits d = DecimalDigits::FromDoubleShortest(value);
  d.RoundHalfAwayFromZero(4);
  std::int64_t raw = 0;
  if (!d.ToScaledInt64(4, raw)) throw EConvertError("Currency value out of range");
  return FromRaw(raw);
}

std::int64_t Currency::RoundYen() const {
  std::int64_t whole = raw_ / kScale;
  std::int64_t rest = raw_ % kScale;
  if (rest >= kScale / 2) ++whole;
  else if (rest <= -kScale / 2) --whole;
  return whole;
}

std::string CurrToStr(Currency value) {
  DecimalDigits d = DecimalDigits::FromScaled(value.Raw(), 4);
  return d.ToPlainString();
}
