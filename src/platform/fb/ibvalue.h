// TIBXSQLVAR: one parameter or one column of the current row.
//
// Readers work on both; writers only on parameters. Text goes in and out as
// UTF-8 and is CP932 on the wire; CHAR padding is kept as the database gives
// it (AsTrimString drops trailing blanks). Scaled numbers (NUMERIC(18,4))
// travel as their raw 64-bit integers, so Currency values are exact. Dates
// and times are TDateTime. A NULL reads as "", 0, false or the zero date.
// Blobs read and write as text (CP932-converted) or as raw bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/currency.h"
#include "platform/rtl/datetime.h"

class TIBCustomStatement;

// A value as it travels to and from Firebird.
struct TIBValue {
  enum class Kind { Null, Text, Bytes, Int, Double, Date, Time, Timestamp, Boolean, Blob };
  Kind kind = Kind::Null;
  std::string bytes;          // Text: CP932 bytes; Bytes: raw bytes
  std::int64_t integer = 0;   // Int: integer x 10^scale
  int scale = 0;
  double real = 0;            // Double
  std::int32_t date = 0;      // Date, Timestamp: days since 1858-11-17
  std::uint32_t time = 0;     // Time, Timestamp: 1/10000 s since midnight
  bool boolean = false;
  std::uint32_t blobHigh = 0, blobLow = 0;  // Blob: the blob id
  bool textBlob = false;      // Blob: sub type 1 (text)
};

class TIBXSQLVAR {
 public:
  // A parameter (owner null for a free-standing value).
  explicit TIBXSQLVAR(std::string name, TIBCustomStatement* owner = nullptr);
  // A column of the owner's current row.
  TIBXSQLVAR(std::string name, TIBCustomStatement* owner, int fieldIndex);

  const std::string& Name() const { return name_; }
  bool IsParam() const { return fieldIndex_ < 0; }

  bool IsNull() const;
  std::string AsString() const;
  std::string AsTrimString() const;   // trailing blanks removed
  int AsInteger() const;
  std::int64_t AsInt64() const;
  Currency AsCurrency() const;
  double AsFloat() const;
  TDateTime AsDateTime() const;
  bool AsBoolean() const;
  std::string AsBytes() const;        // raw bytes (blob contents, CP932 text)
  void SaveToFile(const std::string& path) const;  // raw bytes, written atomically

  // Parameters only (EIBError on a column).
  void Clear();                       // NULL
  void AsString(std::string_view utf8);
  void AsInteger(int value);
  void AsInt64(std::int64_t value);
  void AsCurrency(Currency value);
  void AsFloat(double value);
  void AsDateTime(TDateTime value);
  void AsDate(TDateTime value);
  void AsTime(TDateTime value);
  void AsBoolean(bool value);
  void AsBytes(std::string_view bytes);
  void LoadFromFile(const std::string& path);

  // The value as it stands (a column's value of the current row).
  TIBValue Value() const;
  void SetValue(TIBValue value);

 private:
  void CheckWritable() const;
  std::string BlobBytes(const TIBValue& v) const;

  std::string name_;
  TIBCustomStatement* owner_;
  int fieldIndex_ = -1;
  TIBValue value_;   // parameters
};

// Conversions used by the readers, exposed for the layer's own use.
namespace ibvalue {
TDateTime ToDateTime(std::int32_t iscDate, std::uint32_t iscTime);
void FromDateTime(TDateTime value, std::int32_t& iscDate, std::uint32_t& iscTime);
std::string ScaledToString(std::int64_t integer, int scale);
}  // namespace ibvalue
