// TVariant: the tagged value that the settings stores read and write (a text,
// a Boolean, an integer, a currency amount, a floating-point number or a
// date). The As... readers convert between the kinds the way the stores
// expect; a text that is not a number raises EConvertError.
#pragma once

#include <cstdint>
#include <string>

#include "platform/rtl/currency.h"
#include "platform/rtl/datetime.h"

class TVariant {
 public:
  enum class Kind { Empty, Text, Boolean, Integer, Currency, Float, Date };

  TVariant() = default;
  TVariant(const std::string& text) : kind_(Kind::Text), text_(text) {}
  TVariant(const char* text) : kind_(Kind::Text), text_(text) {}
  TVariant(bool value) : kind_(Kind::Boolean), boolean_(value) {}
  TVariant(int value) : kind_(Kind::Integer), integer_(value) {}
  TVariant(::Currency value) : kind_(Kind::Currency), currency_(value) {}
  static TVariant FromFloat(double value);
  static TVariant FromDate(TDateTime value);

  Kind kind() const { return kind_; }
  bool IsEmpty() const { return kind_ == Kind::Empty; }

  std::string AsString() const;
  bool AsBoolean() const;
  std::int32_t AsInteger() const;
  ::Currency AsCurrency() const;
  double AsFloat() const;
  TDateTime AsDateTime() const;

  friend bool operator==(const TVariant&, const TVariant&) = default;

 private:
  Kind kind_ = Kind::Empty;
  std::string text_;
  bool boolean_ = false;
  std::int32_t integer_ = 0;
  ::Currency currency_;
  double real_ = 0;   // Float and Date
};
