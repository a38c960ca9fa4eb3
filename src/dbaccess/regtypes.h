// The typed text forms of the two settings stores: SYSREG of the system
// database and ACCREG of a data set. Five type names serve both stores; the
// data-set store knows two more (実数, 日時) and reads 論理 without regard to case.
#pragma once

#include <optional>
#include <string>

#include "dbaccess/variant.h"

enum class TRegStore { System, DataSet };

// The value a stored text reads as under Type ("Data Type Error" for an
// unknown type). An empty text reads as one space first.
TVariant RegTextToValue(TRegStore Store, const std::string& Type, std::string Text);
// The text form of Value under Type; nothing (a null column) for an unknown
// type. A value that does not convert raises EConvertError.
std::optional<std::string> RegValueToText(TRegStore Store, const std::string& Type, const TVariant& Value);
