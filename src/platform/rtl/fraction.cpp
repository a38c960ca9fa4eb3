#include "platform/rtl/fraction.h"

#include <stdexcept>
#include <string_view>

#include "platform/rtl/sysutils.h"

using I128 = Fraction::Int;

namespace {

I128 Abs(I128 v) { return v < 0 ? -v : v; }

I128 Gcd(I128 a, I128 b) {
  a = Abs(a);
  b = Abs(b);
  while (b != 0) {
    I128 t = a % b;
    a = b;
    b = t;
  }
  return a;
}

[[noreturn]] void Overflow() { throw std::overflow_error("Fraction arithmetic overflow"); }

I128 Mul(I128 a, I128 b) {
  I128 r;
  if (__builtin_mul_overflow(a, b, &r)) Overflow();
  return r;
}

I128 Add(I128 a, I128 b) {
  I128 r;
  if (__builtin_add_overflow(a, b, &r)) Overflow();
  return r;
}

// Floor division for a positive divisor.
I128 FloorDiv(I128 n, I128 d) {
  I128 q = n / d;
  if ((n % d != 0) && (n < 0)) --q;
  return q;
}

// Compares n1/d1 with n2/d2 (positive denominators) without overflow:
// integer parts first, then the reciprocals of the remainders.
std::strong_ordering Compare(I128 n1, I128 d1, I128 n2, I128 d2) {
  for (;;) {
    I128 l, r;
    if (!__builtin_mul_overflow(n1, d2, &l) && !__builtin_mul_overflow(n2, d1, &r)) return l <=> r;
    I128 q1 = FloorDiv(n1, d1), q2 = FloorDiv(n2, d2);
    if (q1 != q2) return q1 <=> q2;
    I128 r1 = n1 - q1 * d1, r2 = n2 - q2 * d2;  // 0 <= r < d
    if (r1 == 0 || r2 == 0) return r1 <=> r2;
    // r1/d1 < r2/d2  <=>  d1/r1 > d2/r2
    I128 nn1 = d2, nd1 = r2, nn2 = d1, nd2 = r1;
    n1 = nn1; d1 = nd1; n2 = nn2; d2 = nd2;
  }
}

}  // namespace

Fraction::Fraction(I128 num, I128 den) : num_(num), den_(den) { Normalize(); }

Fraction::Fraction(Currency c) : num_(c.Raw()), den_(Currency::kScale) { Normalize(); }

void Fraction::Normalize() {
  if (den_ == 0) throw std::domain_error("Fraction with a zero denominator");
  if (den_ < 0) {
    num_ = -num_;
    den_ = -den_;
  }
  I128 g = Gcd(num_, den_);
  if (g > 1) {
    num_ /= g;
    den_ /= g;
  }
  if (num_ == 0) den_ = 1;
}

Fraction Fraction::FromDecimal(const char* text) {
  std::string_view s(text ? text : "");
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  I128 num = 0, den = 1;
  bool digits = false, point = false;
  for (; i < s.size(); ++i) {
    char c = s[i];
    if (c == '.' && !point) {
      point = true;
      continue;
    }
    if (c < '0' || c > '9') throw EConvertError("'" + std::string(s) + "' is not a valid decimal number");
    digits = true;
    num = Add(Mul(num, 10), c - '0');
    if (point) den = Mul(den, 10);
  }
  if (!digits) throw EConvertError("'" + std::string(s) + "' is not a valid decimal number");
  return Fraction(negative ? -num : num, den);
}

Fraction Fraction::operator-() const {
  Fraction f = *this;
  f.num_ = -f.num_;
  return f;
}

Fraction operator+(const Fraction& a, const Fraction& b) {
  I128 g = Gcd(a.den_, b.den_);
  I128 t = Add(Mul(a.num_, b.den_ / g), Mul(b.num_, a.den_ / g));
  I128 g2 = Gcd(t, g);
  if (g2 == 0) g2 = 1;
  return Fraction(t / g2, Mul(a.den_ / g, b.den_ / g2));
}

Fraction operator-(const Fraction& a, const Fraction& b) { return a + (-b); }

Fraction operator*(const Fraction& a, const Fraction& b) {
  // Cross-reduce before multiplying so that intermediate values stay small.
  I128 g1 = Gcd(a.num_, b.den_), g2 = Gcd(b.num_, a.den_);
  if (g1 == 0) g1 = 1;
  if (g2 == 0) g2 = 1;
  return Fraction(Mul(a.num_ / g1, b.num_ / g2), Mul(a.den_ / g2, b.den_ / g1));
}

Fraction operator/(const Fraction& a, const Fraction& b) {
  if (b.num_ == 0) throw std::domain_error("Fraction division by zero");
  Fraction inv;
  inv.num_ = b.den_;
  inv.den_ = b.num_;
  if (inv.den_ < 0) {
    inv.num_ = -inv.num_;
    inv.den_ = -inv.den_;
  }
  return a * inv;
}

bool operator==(const Fraction& a, const Fraction& b) { return a.num_ == b.num_ && a.den_ == b.den_; }

std::strong_ordering operator<=>(const Fraction& a, const Fraction& b) {
  if (a.den_ == b.den_) return a.num_ <=> b.num_;
  return Compare(a.num_, a.den_, b.num_, b.den_);
}

Fraction::Int Fraction::ToInteger(RoundingMode mode) const {
  I128 q = num_ / den_;  // toward zero
  I128 r = num_ % den_;  // same sign as num_
  if (r == 0) return q;
  switch (mode) {
    case RoundingMode::TowardZero:
      return q;
    case RoundingMode::Floor:
      return r < 0 ? q - 1 : q;
    case RoundingMode::Ceiling:
      return r > 0 ? q + 1 : q;
    case RoundingMode::HalfAwayFromZero: {
      I128 ar = Abs(r);
      if (ar >= den_ - ar) return r > 0 ? q + 1 : q - 1;
      return q;
    }
  }
  return q;
}

namespace {
std::int64_t ToInt64(I128 v) {
  if (v > INT64_MAX || v < INT64_MIN) throw std::overflow_error("Amount out of the currency range");
  return static_cast<std::int64_t>(v);
}
}  // namespace

Currency Fraction::ToYen(RoundingMode mode, std::int64_t step) const {
  if (step <= 0) throw std::invalid_argument("Rounding step must be positive");
  I128 units = (*this / Fraction(step)).ToInteger(mode);
  return Currency::FromRaw(ToInt64(Mul(Mul(units, step), Currency::kScale)));
}

Currency Fraction::ToCurrency(RoundingMode mode) const {
  return Currency::FromRaw(ToInt64((*this * Fraction(Currency::kScale)).ToInteger(mode)));
}

double Fraction::ToDouble() const { return static_cast<double>(num_) / static_cast<double>(den_); }
