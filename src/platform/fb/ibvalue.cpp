#include "platform/fb/ibvalue.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <limits>

#include "platform/fb/fbapi.h"
#include "platform/fb/ibstatement.h"
#include "platform/rtl/cp932.h"
#include "platform/rtl/inifile.h"
#include "platform/rtl/sysutils.h"

namespace {

constexpr std::int32_t kDelphiEpoch = 15018;          // 1899-12-30 as days since 1858-11-17
constexpr std::int64_t kTimeUnitsPerDay = 864000000;  // 1/10000 s

std::int64_t Pow10(int exponent) {
  std::int64_t result = 1;
  for (int i = 0; i < exponent; ++i) result *= 10;
  return result;
}

[[noreturn]] void ConversionFailed(const std::string& text, const char* target) {
  fbapi::Fail("Conversion error from string \"" + text + "\" to " + target, ibcodes::kConvertError, -413);
}

// The raw integer rescaled from `scale` to `target` decimals (half away from zero).
std::int64_t Rescale(std::int64_t value, int scale, int target) {
  if (scale == target) return value;
  if (scale > target) {
    const std::int64_t factor = Pow10(scale - target);
    if (value > std::numeric_limits<std::int64_t>::max() / factor ||
        value < std::numeric_limits<std::int64_t>::min() / factor)
      fbapi::Fail("Arithmetic overflow converting a scaled number", ibcodes::kArithExcept, -802);
    return value * factor;
  }
  const std::int64_t divisor = Pow10(target - scale);
  std::int64_t quotient = value / divisor;
  std::int64_t remainder = value % divisor;
  if (remainder * 2 >= divisor) ++quotient;
  else if (remainder * 2 <= -divisor) --quotient;
  return quotient;
}

std::string FormatDouble(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  return buffer;
}

TDateTime ParseDateTime(const std::string& text) {
  std::string trimmed = Trim(text);
  std::size_t space = trimmed.find(' ');
  TDateTime date = 0;
  if (!TryStrToDate(trimmed.substr(0, space), date)) ConversionFailed(text, "date");
  if (space == std::string::npos) return date;
  int h = 0, m = 0, s = 0;
  if (std::sscanf(trimmed.c_str() + space + 1, "%d:%d:%d", &h, &m, &s) < 2) ConversionFailed(text, "date");
  TDateTime time = EncodeTime(h, m, s, 0);
  return date >= 0 ? date + time : date - time;
}

}  // namespace

namespace ibvalue {

TDateTime ToDateTime(std::int32_t iscDate, std::uint32_t iscTime) {
  const double days = static_cast<double>(iscDate - kDelphiEpoch);
  const double fraction = static_cast<double>(iscTime) / static_cast<double>(kTimeUnitsPerDay);
  return days >= 0 ? days + fraction : days - fraction;
}

void FromDateTime(TDateTime value, std::int32_t& iscDate, std::uint32_t& iscTime) {
  double days = std::trunc(value);
  double fraction = std::fabs(value - days);
  std::int64_t ms = std::llround(fraction * 86400000.0);
  if (ms >= 86400000) {
    ms -= 86400000;
    days += value < 0 ? -1 : 1;
  }
  iscDate = static_cast<std::int32_t>(days) + kDelphiEpoch;
  iscTime = static_cast<std::uint32_t>(ms * 10);
}

std::string ScaledToString(std::int64_t integer, int scale) {
  const bool negative = integer < 0;
  std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(integer) : static_cast<std::uint64_t>(integer);
  std::string digits = std::to_string(magnitude);
  if (scale > 0) return (negative ? "-" : "") + digits + std::string(static_cast<std::size_t>(scale), '0');
  const std::size_t decimals = static_cast<std::size_t>(-scale);
  if (digits.size() <= decimals) digits.insert(0, decimals - digits.size() + 1, '0');
  std::string whole = digits.substr(0, digits.size() - decimals);
  std::string fraction = digits.substr(digits.size() - decimals);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  std::string text = (negative ? "-" : "") + whole;
  if (!fraction.empty()) text += "." + fraction;
  return text;
}

}  // namespace ibvalue

TIBXSQLVAR::TIBXSQLVAR(std::string name, TIBCustomStatement* owner) : name_(std::move(name)), owner_(owner) {}

TIBXSQLVAR::TIBXSQLVAR(std::string name, TIBCustomStatement* owner, int fieldIndex)
    : name_(std::move(name)), owner_(owner), fieldIndex_(fieldIndex) {}

TIBValue TIBXSQLVAR::Value() const {
  if (fieldIndex_ >= 0 && owner_) return owner_->FieldValue(fieldIndex_);
  return value_;
}

void TIBXSQLVAR::SetValue(TIBValue value) {
  CheckWritable();
  value_ = std::move(value);
}

void TIBXSQLVAR::CheckWritable() const {
  if (fieldIndex_ >= 0) fbapi::Fail("Field " + name_ + " is read only", 0, -151);
}

std::string TIBXSQLVAR::BlobBytes(const TIBValue& v) const {
  if (!owner_) fbapi::Fail("Blob " + name_ + " cannot be read here");
  return owner_->ReadBlob(v);
}

bool TIBXSQLVAR::IsNull() const { return Value().kind == TIBValue::Kind::Null; }

namespace {

// CP932 and UTF-8 agree on every byte below 0x80, so such text needs no conversion.
bool IsAscii(std::string_view bytes) {
  for (char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace

std::string TIBXSQLVAR::AsString() const {
  TIBValue v = Value();
  switch (v.kind) {
    case TIBValue::Kind::Null: return {};
    case TIBValue::Kind::Text: return IsAscii(v.bytes) ? std::move(v.bytes) : Cp932ToUtf8Lossy(v.bytes);
    case TIBValue::Kind::Bytes: return v.bytes;
    case TIBValue::Kind::Int: return ibvalue::ScaledToString(v.integer, v.scale);
    case TIBValue::Kind::Double: return FormatDouble(v.real);
    case TIBValue::Kind::Date: return FormatDateTime("yyyy/mm/dd", ibvalue::ToDateTime(v.date, 0));
    case TIBValue::Kind::Time: return FormatDateTime("hh:nn:ss", ibvalue::ToDateTime(kDelphiEpoch, v.time));
    case TIBValue::Kind::Timestamp:
      return FormatDateTime(v.time == 0 ? "yyyy/mm/dd" : "yyyy/mm/dd hh:nn:ss", ibvalue::ToDateTime(v.date, v.time));
    case TIBValue::Kind::Boolean: return v.boolean ? "True" : "False";
    case TIBValue::Kind::Blob: return Cp932ToUtf8Lossy(BlobBytes(v));
  }
  return {};
}

std::string TIBXSQLVAR::AsTrimString() const { return TrimRight(AsString()); }

std::int64_t TIBXSQLVAR::AsInt64() const {
  const TIBValue v = Value();
  switch (v.kind) {
    case TIBValue::Kind::Null: return 0;
    case TIBValue::Kind::Int:
      if (v.scale >= 0) return Rescale(v.integer, v.scale, 0);
      return v.integer / Pow10(-v.scale);   // toward zero
    case TIBValue::Kind::Double:
      if (!(std::fabs(v.real) < 9.2e18)) fbapi::Fail("Arithmetic overflow", ibcodes::kArithExcept, -802);
      return static_cast<std::int64_t>(std::trunc(v.real));
    case TIBValue::Kind::Boolean: return v.boolean ? 1 : 0;
    case TIBValue::Kind::Date:
    case TIBValue::Kind::Timestamp: return v.date - kDelphiEpoch;
    case TIBValue::Kind::Time: return 0;
    default: {
      std::string text = Trim(AsString());
      try {
        return StrToInt64(text);
      } catch (const std::exception&) {
        ConversionFailed(text, "integer");
      }
    }
  }
}

int TIBXSQLVAR::AsInteger() const {
  std::int64_t value = AsInt64();
  if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
    fbapi::Fail("Integer overflow reading " + name_, ibcodes::kArithExcept, -802);
  return static_cast<int>(value);
}

Currency TIBXSQLVAR::AsCurrency() const {
  const TIBValue v = Value();
  switch (v.kind) {
    case TIBValue::Kind::Null: return Currency();
    case TIBValue::Kind::Int: return Currency::FromRaw(Rescale(v.integer, v.scale, -4));
    case TIBValue::Kind::Double: return Currency::FromDouble(v.real);
    case TIBValue::Kind::Boolean: return Currency(v.boolean ? 1 : 0);
    default: {
      std::string text = Trim(AsString());
      try {
        return StrToCurr(text);
      } catch (const std::exception&) {
        ConversionFailed(text, "currency");
      }
    }
  }
}

double TIBXSQLVAR::AsFloat() const {
  const TIBValue v = Value();
  switch (v.kind) {
    case TIBValue::Kind::Null: return 0;
    case TIBValue::Kind::Int:
      if (v.scale >= 0) return static_cast<double>(v.integer) * static_cast<double>(Pow10(v.scale));
      return static_cast<double>(static_cast<long double>(v.integer) / static_cast<long double>(Pow10(-v.scale)));
    case TIBValue::Kind::Double: return v.real;
    case TIBValue::Kind::Boolean: return v.boolean ? 1 : 0;
    case TIBValue::Kind::Date:
    case TIBValue::Kind::Time:
    case TIBValue::Kind::Timestamp: return AsDateTime();
    default: {
      std::string text = Trim(AsString());
      try {
        return StrToFloat(text);
      } catch (const std::exception&) {
        ConversionFailed(text, "float");
      }
    }
  }
}

TDateTime TIBXSQLVAR::AsDateTime() const {
  const TIBValue v = Value();
  switch (v.kind) {
    case TIBValue::Kind::Null: return 0;
    case TIBValue::Kind::Date: return ibvalue::ToDateTime(v.date, 0);
    case TIBValue::Kind::Time: return ibvalue::ToDateTime(kDelphiEpoch, v.time);
    case TIBValue::Kind::Timestamp: return ibvalue::ToDateTime(v.date, v.time);
    case TIBValue::Kind::Double: return v.real;
    case TIBValue::Kind::Int: return AsFloat();
    default: return ParseDateTime(AsString());
  }
}

bool TIBXSQLVAR::AsBoolean() const {
  const TIBValue v = Value();
  switch (v.kind) {
    case TIBValue::Kind::Null: return false;
    case TIBValue::Kind::Boolean: return v.boolean;
    case TIBValue::Kind::Int: return v.integer != 0;
    case TIBValue::Kind::Double: return v.real != 0;
    default: {
      std::string text = UpperCase(Trim(AsString()));
      if (text == "TRUE" || text == "T" || text == "Y" || text == "YES") return true;
      if (text == "FALSE" || text == "F" || text == "N" || text == "NO" || text.empty()) return false;
      try {
        return StrToInt64(text) != 0;
      } catch (const std::exception&) {
        ConversionFailed(text, "boolean");
      }
    }
  }
}

std::string TIBXSQLVAR::AsBytes() const {
  const TIBValue v = Value();
  switch (v.kind) {
    case TIBValue::Kind::Text:
    case TIBValue::Kind::Bytes: return v.bytes;
    case TIBValue::Kind::Blob: return BlobBytes(v);
    case TIBValue::Kind::Null: return {};
    default: return fbapi::Utf8ToServerText(AsString());
  }
}

void TIBXSQLVAR::SaveToFile(const std::string& path) const {
  std::string bytes = AsBytes();
  try {
    WriteFileAtomically(path, bytes);
  } catch (const std::exception& e) {
    fbapi::Fail("Cannot write " + path + ": " + e.what(), ibcodes::kIoError, -902);
  }
}

void TIBXSQLVAR::Clear() { SetValue(TIBValue{}); }

void TIBXSQLVAR::AsString(std::string_view utf8) {
  CheckWritable();
  TIBValue v;
  v.kind = TIBValue::Kind::Text;
  v.bytes = fbapi::Utf8ToServerText(utf8);
  value_ = std::move(v);
}

void TIBXSQLVAR::AsInteger(int value) { AsInt64(value); }

void TIBXSQLVAR::AsInt64(std::int64_t value) {
  TIBValue v;
  v.kind = TIBValue::Kind::Int;
  v.integer = value;
  SetValue(std::move(v));
}

void TIBXSQLVAR::AsCurrency(Currency value) {
  TIBValue v;
  v.kind = TIBValue::Kind::Int;
  v.integer = value.Raw();
  v.scale = -4;
  SetValue(std::move(v));
}

void TIBXSQLVAR::AsFloat(double value) {
  TIBValue v;
  v.kind = TIBValue::Kind::Double;
  v.real = value;
  SetValue(std::move(v));
}

void TIBXSQLVAR::AsDateTime(TDateTime value) {
  TIBValue v;
  v.kind = TIBValue::Kind::Timestamp;
  ibvalue::FromDateTime(value, v.date, v.time);
  SetValue(std::move(v));
}

void TIBXSQLVAR::AsDate(TDateTime value) {
  TIBValue v;
  v.kind = TIBValue::Kind::Date;
  ibvalue::FromDateTime(value, v.date, v.time);
  v.time = 0;
  SetValue(std::move(v));
}

void TIBXSQLVAR::AsTime(TDateTime value) {
  TIBValue v;
  v.kind = TIBValue::Kind::Time;
  ibvalue::FromDateTime(value, v.date, v.time);
  v.date = 0;
  SetValue(std::move(v));
}

void TIBXSQLVAR::AsBoolean(bool value) {
  TIBValue v;
  v.kind = TIBValue::Kind::Boolean;
  v.boolean = value;
  SetValue(std::move(v));
}

void TIBXSQLVAR::AsBytes(std::string_view bytes) {
  TIBValue v;
  v.kind = TIBValue::Kind::Bytes;
  v.bytes = std::string(bytes);
  SetValue(std::move(v));
}

void TIBXSQLVAR::LoadFromFile(const std::string& path) {
  CheckWritable();
  std::ifstream in(path, std::ios::binary);
  if (!in) fbapi::Fail("Cannot open " + path, ibcodes::kIoError, -902);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) fbapi::Fail("Cannot read " + path, ibcodes::kIoError, -902);
  AsBytes(bytes);
}
