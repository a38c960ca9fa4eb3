#include "dbaccess/regtypes.h"

#include "core/datetext.h"
#include "core/textutil.h"
#include "platform/rtl/sysutils.h"

namespace {

const std::string kText = "文字";
const std::string kBoolean = "論理";
const std::string kDate = "日付";
const std::string kInteger = "整数";
const std::string kCurrency = "金額";
const std::string kFloat = "実数";
const std::string kDateTime = "日時";

}  // namespace

TVariant RegTextToValue(TRegStore Store, const std::string& Type, std::string Text) {
  if (Text.empty()) Text.push_back(' ');
  const bool dataSet = Store == TRegStore::DataSet;
  if (Type == kText) return TVariant(Text);
  if (Type == kBoolean) return TVariant(dataSet ? UpperCase(Text) == "TRUE" : Text == "TRUE");
  if (Type == kDate) return TVariant::FromDate(StrToDateDef0(Text));
  if (Type == kInteger) return TVariant(StrToIntDef(Trim(Text), 0));
  if (Type == kCurrency) return TVariant(StrToCurrDef0(Text));
  if (dataSet && Type == kFloat) return TVariant::FromFloat(StrToFloatDef(Trim(Text), 0));
  if (dataSet && Type == kDateTime) return TVariant::FromDate(StrToDateFixed(Text));
  return TVariant("Data Type Error");
}

std::optional<std::string> RegValueToText(TRegStore Store, const std::string& Type, const TVariant& Value) {
  const bool dataSet = Store == TRegStore::DataSet;
  if (Type == kText) return Value.AsString();
  if (Type == kBoolean) return std::string(Value.AsBoolean() ? "TRUE" : "FALSE");
  if (Type == kDate) {
    std::string text;
    DateToText(4, text, Value.AsDateTime());
    return text;
  }
  if (Type == kInteger) return IntToStr(Value.AsInteger());
  if (Type == kCurrency) return CurrToStr(Value.AsCurrency());
  if (dataSet && Type == kFloat) return Format("%.15g", Value.AsFloat());
  if (dataSet && Type == kDateTime) return FormatDateTime("yyyy/mm/dd hh:nn:ss", Value.AsDateTime());
  return std::nullopt;
}
