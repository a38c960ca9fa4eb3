// The catalogue of the three-digit consumption-tax codes that journal sides
// carry, their tax categories (the accumulator index), and the checks that a
// journal entry's tax codes fit its accounts.
#pragma once

#include <string>

#include "platform/rtl/datetime.h"

// Fills the attributes of a code and returns true; for an unknown code the
// group is "Error" padded to 20 characters, the detail " ", MethodKind 9,
// TaxUH and TaxDC 0, and the result false. DetailName takes exactly 24 bytes
// in CP932 (padded on the right).
bool GetTaxCodeInfo(int code, std::string& groupName, std::string& detailName,
                    int& methodKind, int& taxUH, int& taxDC);

// Tax category 1..93 of a code; 0 for any other code.
int TaxCodeToCategory(int code);

// Codes whose net and tax are always kept apart in the aggregation (taxable
// imports, specific taxable purchases, their returns, import tax paid).
bool IsSeparateTaxCode(int code);

// 551-553 and 581-583.
bool IsTokuteiShiireCode(int code);

// With simplified taxation the undivided codes 110, 310, 610, 630 take the
// main business type; otherwise the business-type codes fall back to them.
int NormalizeKaniTaxCode(int& code);

// Account checks of a journal side (account codes are user codes). Msg is left
// unchanged when they return true without a note.
bool CheckTaxCodeForAccount(std::string& msg, const std::string& accountCode, int taxCode);
bool CheckCounterTaxCode(std::string& msg, const std::string& accountCode, int& counterTaxCode);
bool CheckShokuchiTaxCode(std::string& msg, const std::string& accountCode, int& taxCode);
bool CheckTokuteiShiireCode(std::string& msg, int& taxCode, int rateNo, TDateTime date);
