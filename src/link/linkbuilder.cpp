#include "link/linkbuilder.h"

#include "core/dates.h"
#include "core/globals.h"
#include "core/textutil.h"
#include "core/uiservices.h"
#include "link/aggregationcopy.h"
#include "link/datanode.h"
#include "link/taxsettingsrow.h"
#include "platform/rtl/sysutils.h"
#include "tax/correction.h"
#include "tax/oldrate.h"
#include "tax/taxera.h"

namespace {

constexpr const char* kOldRateLine1 = "指定した集計期間内に旧税率（3% 又は 5%）の課税貨物に係る仕訳が存在するため";
constexpr const char* kOldRateLine2 = "連動ファイルは作成できません。";

Currency Cell(const TaxBlock& block, int slot, int category) {
  return block[static_cast<std::size_t>(slot)][static_cast<std::size_t>(category)];
}

}  // namespace

TSyohizeiDataMake::TSyohizeiDataMake() { TransitionalValue = 2; }

bool TSyohizeiDataMake::RateGroupEnabled(int Kind) const {
  if (Kind == 1 && TaxPar.Era == 0) return false;
  if (Kind == 4 && TaxPar.Era < 4) return false;
  return true;
}

Currency TSyohizeiDataMake::ReadPrincipleAmount(int Slot, int Category) const {
  const TTAXPAR& p = TaxPar;
  if (TumiageFlag != 0) return Cell(p.Nuki, Slot, Category) + Cell(p.Zei, Slot, Category) + Cell(p.Komi, Slot, Category);
  if (Category >= 78 && Category <= 83) return Cell(p.Zei, Slot, Category);
  if (Category >= 88 && Category <= 93) return Cell(p.Nuki, Slot, Category);
  return Cell(p.Komi, Slot, Category);
}

Currency TSyohizeiDataMake::ReadSimplifiedAmount(int Slot, int Category) const {
  const TTAXPAR& p = TaxPar;
  if (TumiageFlag != 0) return Cell(p.Nuki, Slot, Category) + Cell(p.Zei, Slot, Category) + Cell(p.Komi, Slot, Category);
  return Cell(p.Komi, Slot, Category);
}

void TSyohizeiDataMake::AddToValue(int Index, Currency Amount) {
  std::string& text = LinkValues[static_cast<std::size_t>(Index)];
  text = FormatFloat("#", AmountTextToValue(text) + Amount);
}

// Settings, period, pass and era of one pass in TaxPar.
void TSyohizeiDataMake::LoadPassSettings(std::int32_t SinkokuKubun) {
  TTAXPAR settings;
  LoadTaxSettingsRow(settings);
  TaxPar = std::move(settings);
  const TACCINF& a = AccInf;
  TaxPar.KikanFrom = PeriodSlotStartDate(StartCell, a.SIME, true, a.KISHU, a.KIMATU);
  TaxPar.KikanTo = PeriodSlotEndDate(EndCell, a.SIME, true, a.KISHU, a.KIMATU);
  if (LastCell != 15 && LastCell == EndCell) TaxPar.KikanTo = a.KIMATU;
  TaxPar.SinkokuKubun = SinkokuKubun;
  TaxPar.KeisanTokurei = false;
  TaxPar.Era = GetTaxEra(TaxPar);
}

std::int32_t TSyohizeiDataMake::BuildLinkData(TXmlSaveDoc& Doc) {
  ResultCode = kBuildRunning;

  // First pass: simplified taxation.
  LoadPassSettings(1);
  if (HasOldRateImportJournals(TaxPar.Era, TaxPar)) {
    ResultCode = kBuildOldRateImports;
    UiShowMessageLines(std::string(kOldRateLine1) + "," + kOldRateLine2, kMsgInformation);
    return ResultCode;
  }
  TAggregationCopy aggregation;
  ResetTaxResults();
  aggregation.Aggregate(ReuseJournalRead);
  CorrectMixedTaxCodes(false);
  FormatSimplifiedResults();

  // Second pass: principle taxation, from a fresh read of the settings row.
  LoadPassSettings(0);
  ResetTaxResults();
  aggregation.Aggregate(ReuseJournalRead);
  CorrectMixedTaxCodes(false);
  FormatPrincipleResults();

  TransitionalValue = TaxPar.RateColumnState >= 0 ? 2 : 1;
  WriteDataNode(Doc, *this, AccInf.DATATYPE);
  return ResultCode;
}
