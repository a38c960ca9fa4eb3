#include "platform/fb/ibvalue.h"
#include "platform/fb/fbapi.h"
TIBXSQLVAR::TIBXSQLVAR(std::string name, TIBCustomStatement* owner) : name_(std::move(name)), owner_(owner) {}
TIBXSQLVAR::TIBXSQLVAR(std::string name, TIBCustomStatement* owner, int i) : name_(std::move(name)), owner_(owner), fieldIndex_(i) {}
bool TIBXSQLVAR::IsNull() const { return true; }
std::string TIBXSQLVAR::AsString() const { return {}; }
std::string TIBXSQLVAR::AsTrimString() const { return {}; }
int TIBXSQLVAR::AsInteger() const { return 0; }
std::int64_t TIBXSQLVAR::AsInt64() const { return 0; }
Currency TIBXSQLVAR::AsCurrency() const { return {}; }
double TIBXSQLVAR::AsFloat() const { return 0; }
TDateTime TIBXSQLVAR::AsDateTime() const { return 0; }
bool TIBXSQLVAR::AsBoolean() const { return false; }
std::string TIBXSQLVAR::AsBytes() const { return {}; }
void TIBXSQLVAR::SaveToFile(const std::string&) const {}
void TIBXSQLVAR::Clear() {}
void TIBXSQLVAR::AsString(std::string_view) {}
void TIBXSQLVAR::AsInteger(int) {}
void TIBXSQLVAR::AsInt64(std::int64_t) {}
void TIBXSQLVAR::AsCurrency(Currency) {}
void TIBXSQLVAR::AsFloat(double) {}
void TIBXSQLVAR::AsDateTime(TDateTime) {}
void TIBXSQLVAR::AsDate(TDateTime) {}
void TIBXSQLVAR::AsTime(TDateTime) {}
void TIBXSQLVAR::AsBoolean(bool) {}
void TIBXSQLVAR::AsBytes(std::string_view) {}
void TIBXSQLVAR::LoadFromFile(const std::string&) {}
TIBValue TIBXSQLVAR::Value() const { return value_; }
void TIBXSQLVAR::SetValue(TIBValue v) { value_ = std::move(v); }
void TIBXSQLVAR::CheckWritable() const {}
std::string TIBXSQLVAR::BlobBytes(const TIBValue&) const { return {}; }
