// Splitting, named lines, Boolean and amount conversions, bit flags and codes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/rtl/currency.h"

// Splits Text at Separator into Parts (a trailing "//" comment removed first)
// and returns the index of the last part written; an empty text returns 0 and
// leaves Parts untouched. When the text has more parts than Parts holds, the
// last element receives the unsplit rest.
int SplitToArray(std::string_view Text, char Separator, std::span<std::string> Parts);
// The Index-th (1-based) item of Text split at Delimiter (line breaks split
// too); "" when there is none.
void GetDelimitedItem(std::string_view Text, std::string_view Delimiter, int Index, std::string& Item);
// The whole line "Name=value" of Name (compared without regard to case) in a
// multi-line text; "" when Text or Name is empty or no line has that name.
void GetNamedLine(std::string_view Text, std::string_view Name, std::string& Line);

inline int BoolToInt(bool B) { return B ? 1 : 0; }
inline bool IntToBool(int I) { return I != 0; }

// The text as a decimal number; 0 when it is not one.
Currency StrToCurrDef0(std::string_view Text);
// "▲" becomes "-"; "," and the yen sign ("\" or "¥") are removed.
std::string NormalizeAmountText(std::string_view Text);
// StrToCurrDef0(NormalizeAmountText(Text)): "▲1,234" gives -1234.
Currency AmountTextToValue(std::string_view Text);
// Number formatted "#,##0".
void FormatThousands(std::int64_t Number, std::string& Text);

// Sets bit Bit-1 for Bit 1..24; other bits leave Flags unchanged.
void SetBitFlag(std::int32_t& Flags, int Bit);
// Bit (Bit-1) mod 32 of Flags, as 0 or 1.
int TestBitFlag(std::int32_t Flags, int Bit);
// Code := Low + High * Factor, kept to 16 bits.
void CombineCode(std::uint16_t& Code, std::int16_t High, std::int16_t Low, int Factor);
