#include "dbaccess/variant.h"

#include <cmath>

#include "platform/rtl/sysutils.h"

TVariant TVariant::FromFloat(double value) {
  TVariant v;
  v.kind_ = Kind::Float;
  v.real_ = value;
  return v;
}

TVariant TVariant::FromDate(TDateTime value) {
  TVariant v;
  v.kind_ = Kind::Date;
  v.real_ = value;
  return v;
}

std::string TVariant::AsString() const {
  switch (kind_) {
    case Kind::Empty: return {};
    case Kind::Text: return text_;
    case Kind::Boolean: return boolean_ ? "True" : "False";
    case Kind::Integer: return IntToStr(integer_);
    case Kind::Currency: return CurrToStr(currency_);
    case Kind::Float: return FormatFloat("0.##############", real_);
    case Kind::Date: return std::floor(real_) == real_ ? DateToStr(real_) : DateTimeToStr(real_);
  }
  return {};
}

bool TVariant::AsBoolean() const {
  switch (kind_) {
    case Kind::Empty: return false;
    case Kind::Text: {
      const std::string t = UpperCase(Trim(text_));
      if (t == "TRUE") return true;
      if (t == "FALSE") return false;
      return StrToInt(t) != 0;
    }
    case Kind::Boolean: return boolean_;
    case Kind::Integer: return integer_ != 0;
    case Kind::Currency: return currency_.Raw() != 0;
    case Kind::Float:
    case Kind::Date: return real_ != 0;
  }
  return false;
}

std::int32_t TVariant::AsInteger() const {
  switch (kind_) {
    case Kind::Empty: return 0;
    case Kind::Text: return StrToInt(Trim(text_));
    case Kind::Boolean: return boolean_ ? 1 : 0;
    case Kind::Integer: return integer_;
    case Kind::Currency: return static_cast<std::int32_t>(currency_.RoundYen());
    case Kind::Float:
    case Kind::Date: return static_cast<std::int32_t>(Round(real_));
  }
  return 0;
}

::Currency TVariant::AsCurrency() const {
  switch (kind_) {
    case Kind::Empty: return {};
    case Kind::Text: return StrToCurr(Trim(text_));
    case Kind::Boolean: return boolean_ ? 1 : 0;
    case Kind::Integer: return ::Currency::FromYen(integer_);
    case Kind::Currency: return currency_;
    case Kind::Float:
    case Kind::Date: return ::Currency::FromDouble(real_);
  }
  return {};
}

double TVariant::AsFloat() const {
  switch (kind_) {
    case Kind::Empty: return 0;
    case Kind::Text: return StrToFloat(Trim(text_));
    case Kind::Boolean: return boolean_ ? 1 : 0;
    case Kind::Integer: return integer_;
    case Kind::Currency: return currency_.ToDouble();
    case Kind::Float:
    case Kind::Date: return real_;
  }
  return 0;
}

TDateTime TVariant::AsDateTime() const {
  if (kind_ == Kind::Text) {
    const std::string t = Trim(text_);
    if (t.empty()) return 0;
    return StrToDate(t);
  }
  return AsFloat();
}
