#include "taxtestutil.h"

#include "platform/rtl/fraction.h"

namespace taxtest {
Currency Dec(const char* text) { return Fraction::FromDecimal(text).ToCurrency(); }
}  // namespace taxtest
