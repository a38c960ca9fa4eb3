// What the consumption-tax computation takes from its surroundings: the
// company settings of the connected data set and the hooks of the user
// interface. The data module and the main window hand these over; the
// computation itself never reaches for a window, the data module or a
// database (the readers of taxdb/ fill its records).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/rtl/datetime.h"
#include "platform/rtl/msgkind.h"

// Company kinds (DATATYPE).
constexpr int kCompanyCorporation = 1;
constexpr int kCompanyIndividual = 2;
constexpr int kCompanyMedical = 3;

// The company settings the computation reads (from the company information
// record of the connected data set).
struct TTaxCompanyInfo {
  std::int32_t DataType = kCompanyCorporation;  // DATATYPE
  std::int32_t CodeType = 1;                    // CODETYPE
  TDateTime Kishu = 0;                          // KISHU: first day of the fiscal year
  TDateTime Kimatu = 0;                         // KIMATU: last day
  std::int32_t Sime = 99;                       // SIME: closing day (99 = month end)
  std::int32_t TaxKanni = 0;                    // TAXKANNI: 1 simplified taxation
  std::int32_t TaxJigyou = 0;                   // TAXJIGYOU: main business type
  std::int32_t TaxUHasuu = 0;                   // TAXU_HASUU
  std::int32_t TaxHHasuu = 0;                   // TAXH_HASUU
  std::int32_t TaxDefUH = 0;                    // TAXDEFUH
  // Internal account codes (KCODE) and displayed codes (USERCODE) of the
  // fixed accounts 仮払消費税, 仮受消費税 and 諸口.
  std::string KaribaraiKCode;
  std::string KariukeKCode;
  std::string KaribaraiUserCode;
  std::string KariukeUserCode;
  std::string ShokuchiUserCode;
  // Data version of the data set (newest ACCVERSION row).
  std::int32_t VerMajor = 0, VerMinor1 = 0, VerMinor2 = 0;
};

// The settings of the connected data set, set through SetTaxCompanyInfo. They
// belong to the connection, not to a computation: the journal helpers (the
// tax-code checks, the tax of a journal entry, the rate lookups) check entries
// of the connected data set against them, and a run of the computation takes
// its own copy when it starts (TTaxRun::Company) and reads only that.
extern TTaxCompanyInfo TaxCompany;

// Stores the company settings of the connected data set; the company
// information reader calls it after every read.
void SetTaxCompanyInfo(const TTaxCompanyInfo& info);

// Hooks set by the user interface and the data module; each may be empty.
struct TTaxHooks {
  // Lets the application process its pending window messages. The
  // aggregation calls it between journal rows, at most every few milliseconds.
  std::function<void()> ProcessMessages;
  // Shows a message of a kind (TMsgKind). Lines are separated by "\r\n".
  std::function<void(int kind, const std::string& text)> ShowMessage;
  // The tax method of the asset amounts of the refund statement: the value
  // itself, or, when it is 0, 1 if linked journal lines of kind 9 exist.
  std::function<std::int32_t(std::int32_t taxDefUH)> TaxDefUHWithLinkSiwake;
  // A date as "yyyy/mm/dd" (or in the era calendar when the era display is on)
  // for messages; empty: the plain "yyyy/mm/dd".
  std::function<std::string(TDateTime date)> FormatDateSlash;
};
extern TTaxHooks TaxHooks;
