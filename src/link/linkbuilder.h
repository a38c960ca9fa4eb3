// TSyohizeiDataMake: the link builder of the consumption-tax export. It runs
// the consumption-tax computation twice over the chosen period, first as
// simplified and then as principle taxation, turns the totals of each pass
// into value texts (whole yen, "" for zero) and writes them, grouped by kind
// of amount and tax rate, with the refund-statement group as the DATA node of
// the link file.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "link/zaimudataload.h"
#include "platform/rtl/currency.h"
#include "tax/taxpar.h"
#include "tax/taxrun.h"
#include "taxdb/taxdata.h"

class TXmlSaveDoc;

// Value texts: 0..504 the principle results (101 per rate slot, slot s at
// 101 * s), 505..804 the simplified results (60 per slot, at 505 + 60 * s).
constexpr int kLinkValueCount = 805;
constexpr int kPrincipleSlotSize = 101;
constexpr int kSimplifiedBase = 505;
constexpr int kSimplifiedSlotSize = 60;

// Results of BuildLinkData.
constexpr std::int32_t kBuildRunning = 3;
constexpr std::int32_t kBuildDone = 1;
constexpr std::int32_t kBuildOldRateImports = 17;

class TSyohizeiDataMake : public TZaimuDataLoad {
 public:
  TSyohizeiDataMake();

  // Runs both passes and writes DATA under the document element. 1 when the
  // node was written, 17 when old-rate import journals stop the build (after
  // the two-line information box; nothing is added to the document).
  // Exceptions of the computation and the database pass through.
  std::int32_t BuildLinkData(TXmlSaveDoc& Doc);

  // False for kind 1 when Run's era is 0 and for kind 4 when it is below 4.
  bool RateGroupEnabled(int Kind) const;

  // The category amount of the principle pass: the tax amount for categories
  // 78-83, the net amount for 88-93, else the tax-inclusive amount (the sum of
  // the three with TumiageFlag).
  Currency ReadPrincipleAmount(int Slot, int Category) const;
  // The category amount of the simplified pass: the tax-inclusive amount (the
  // sum of the three with TumiageFlag).
  Currency ReadSimplifiedAmount(int Slot, int Category) const;

  // Fill the value texts from Run's accumulators (set ResultCode to 1).
  void FormatPrincipleResults();   // texts 0..504, after the principle pass
  void FormatSimplifiedResults();  // texts 505..804, after the simplified pass

  // Value text Index := its amount read back + Amount, formatted "#".
  void AddToValue(int Index, Currency Amount);

  std::int32_t ResultCode = kBuildRunning;
  std::array<std::string, kLinkValueCount> LinkValues{};
  // KEIKASHOCHIKAZEISHISAN: 2 when the principle pass found amounts only in
  // the reduced 8 % and 10 % columns (both), else 1.
  std::int32_t TransitionalValue = 2;
  // Let the principle pass start from the simplified pass's journal
  // aggregation when both read the same period with the same settings
  // (the journal is then read once; the results are the same).
  bool ReuseJournalRead = true;
  // The computation's records of this build: each BuildLinkData starts a
  // fresh run with the connected data set's company settings.
  TTaxRun Run;
  // The data set the build reads: the connected one, taken by BuildLinkData.
  TTaxDataConnection Data;

 private:
  void LoadPassSettings(std::int32_t SinkokuKubun);
  // The two-line information box of old-rate import journals; result 17.
  std::int32_t RefuseOldRateImports();
};
