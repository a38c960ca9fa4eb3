#include "link/linkbuilder.h"

#include <functional>
#include <optional>
#include <utility>

#include "core/dates.h"
#include "core/globals.h"
#include "core/textutil.h"
#include "core/uiservices.h"
#include "dbaccess/datasetconnection.h"
#include "link/aggregationcopy.h"
#include "link/datanode.h"
#include "link/taxsettingsrow.h"
#include "platform/rtl/sysutils.h"
#include "tax/correction.h"
#include "tax/taxcontext.h"
#include "tax/taxera.h"
#include "taxdb/readers.h"

namespace {

constexpr const char* kOldRateLine1 = "指定した集計期間内に旧税率（3% 又は 5%）の課税貨物に係る仕訳が存在するため";
constexpr const char* kOldRateLine2 = "連動ファイルは作成できません。";

Currency Cell(const TaxBlock& block, int slot, int category) {
  return block[static_cast<std::size_t>(slot)][static_cast<std::size_t>(category)];
}

// The tax method of the refund statement's asset amounts asks the data set
// whether linked journal lines of kind 9 exist, a look at the whole journal.
// Both passes reset the statement with the same setting, so during one build
// the data set is asked once and the answer reused.
class TLinkSiwakeAnsweredOnce {
 public:
  TLinkSiwakeAnsweredOnce() : ask_(TaxHooks.TaxDefUHWithLinkSiwake) {
    if (!ask_) return;
    TaxHooks.TaxDefUHWithLinkSiwake = [this](std::int32_t value) {
      if (!answer_ || answer_->first != value) answer_.emplace(value, ask_(value));
      return answer_->second;
    };
  }
  ~TLinkSiwakeAnsweredOnce() { TaxHooks.TaxDefUHWithLinkSiwake = ask_; }
  TLinkSiwakeAnsweredOnce(const TLinkSiwakeAnsweredOnce&) = delete;
  TLinkSiwakeAnsweredOnce& operator=(const TLinkSiwakeAnsweredOnce&) = delete;

 private:
  std::function<std::int32_t(std::int32_t)> ask_;
  std::optional<std::pair<std::int32_t, std::int32_t>> answer_;
};

}  // namespace

TSyohizeiDataMake::TSyohizeiDataMake() { TransitionalValue = 2; }

bool TSyohizeiDataMake::RateGroupEnabled(int Kind) const {
  if (Kind == 1 && Run.TaxPar.Era == 0) return false;
  if (Kind == 4 && Run.TaxPar.Era < 4) return false;
  return true;
}

Currency TSyohizeiDataMake::ReadPrincipleAmount(int Slot, int Category) const {
  const TTAXPAR& p = Run.TaxPar;
  if (TumiageFlag != 0) return Cell(p.Nuki, Slot, Category) + Cell(p.Zei, Slot, Category) + Cell(p.Komi, Slot, Category);
  if (Category >= 78 && Category <= 83) return Cell(p.Zei, Slot, Category);
  if (Category >= 88 && Category <= 93) return Cell(p.Nuki, Slot, Category);
  return Cell(p.Komi, Slot, Category);
}

Currency TSyohizeiDataMake::ReadSimplifiedAmount(int Slot, int Category) const {
  const TTAXPAR& p = Run.TaxPar;
  if (TumiageFlag != 0) return Cell(p.Nuki, Slot, Category) + Cell(p.Zei, Slot, Category) + Cell(p.Komi, Slot, Category);
  return Cell(p.Komi, Slot, Category);
}

void TSyohizeiDataMake::AddToValue(int Index, Currency Amount) {
  std::string& text = LinkValues[static_cast<std::size_t>(Index)];
  text = FormatFloat("#", AmountTextToValue(text) + Amount);
}

// Settings, period, pass and era of one pass in Run.TaxPar.
void TSyohizeiDataMake::LoadPassSettings(std::int32_t SinkokuKubun) {
  TTAXPAR settings;
  LoadTaxSettingsRow(Data, settings);
  Run.TaxPar = std::move(settings);
  const TACCINF& a = AccInf;
  Run.TaxPar.KikanFrom = PeriodSlotStartDate(StartCell, a.SIME, true, a.KISHU, a.KIMATU);
  Run.TaxPar.KikanTo = PeriodSlotEndDate(EndCell, a.SIME, true, a.KISHU, a.KIMATU);
  if (LastCell != 15 && LastCell == EndCell) Run.TaxPar.KikanTo = a.KIMATU;
  Run.TaxPar.SinkokuKubun = SinkokuKubun;
  Run.TaxPar.KeisanTokurei = false;
  Run.TaxPar.Era = GetTaxEra(Run.Company, Run.TaxPar);
}

std::int32_t TSyohizeiDataMake::RefuseOldRateImports() {
  ResultCode = kBuildOldRateImports;
  UiShowMessageLines(std::string(kOldRateLine1) + "," + kOldRateLine2, kMsgInformation);
  return ResultCode;
}

std::int32_t TSyohizeiDataMake::BuildLinkData(TXmlSaveDoc& Doc) {
  ResultCode = kBuildRunning;
  TLinkSiwakeAnsweredOnce linkSiwake;
  Run = TTaxRun{};
  Run.Company = TaxCompany;
  Data = ConnectedTaxData();

  // First pass: simplified taxation. The old-rate import check of an era-4
  // return rides on the pass's journal read, which takes every line of the
  // period that the check counts; when a facility restricts the read, the
  // check counts the whole journal of the period on its own first.
  LoadPassSettings(1);
  const bool checkInRead = Trim(Run.TaxPar.SCode).empty();
  if (!checkInRead && HasOldRateImportJournals(Data, Run.TaxPar.Era, Run.TaxPar)) return RefuseOldRateImports();
  TAggregationCopy aggregation;
  ResetTaxResults(Run);
  aggregation.Aggregate(Data, Run, ReuseJournalRead);
  if (checkInRead && Run.TaxPar.Era >= 4 && Run.TaxPar.OldRateImportsRead) return RefuseOldRateImports();
  CorrectMixedTaxCodes(Run, false);
  FormatSimplifiedResults();

  // Second pass: principle taxation, from a fresh read of the settings row.
  LoadPassSettings(0);
  ResetTaxResults(Run);
  aggregation.Aggregate(Data, Run, ReuseJournalRead);
  CorrectMixedTaxCodes(Run, false);
  FormatPrincipleResults();

  TransitionalValue = Run.TaxPar.RateColumnState >= 0 ? 2 : 1;
  WriteDataNode(Doc, *this, AccInf.DATATYPE);
  return ResultCode;
}
