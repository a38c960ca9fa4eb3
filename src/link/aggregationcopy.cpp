#include "link/aggregationcopy.h"

#include "tax/aggregate.h"
#include "tax/refund.h"
#include "tax/taxcontext.h"
#include "tax/tokurei.h"
#include "taxdb/readers.h"

namespace {

// What the aggregation reads of the run's TaxPar and company settings besides
// the journal itself.
struct TSteering {
  std::int32_t Era = 0;
  TDateTime KikanFrom = 0, KikanTo = 0;
  bool KeisanTokurei = false;
  std::string SCode;
  std::int32_t TokureiOn = 0, UriageTokurei1On = 0, UriageTokurei2On = 0, SiireTokureiOn = 0;
  std::int32_t DataType = 0, CodeType = 0, TaxDefUH = 0;

  static TSteering Current(const TTaxRun& run) {
    const TTAXPAR& p = run.TaxPar;
    const TTaxCompanyInfo& c = run.Company;
    return {p.Era,       p.KikanFrom,        p.KikanTo,          p.KeisanTokurei,
            p.SCode,     p.TokureiOn,        p.UriageTokurei1On, p.UriageTokurei2On,
            p.SiireTokureiOn, c.DataType,         c.CodeType,         c.TaxDefUH};
  }
  bool operator==(const TSteering&) const = default;
};

}  // namespace

struct TAggregationCopy::Data {
  TSteering Steering;
  TaxBlock Nuki{}, Zei{}, Komi{};
  std::int32_t ImportCodesUsed = 0;
  bool OldRateImportsRead = false;
  TKanpuMeisai_Hojin Hojin;
  TKanpuMeisai_Kojin Kojin;
  TRefundReadTokutei Tokutei;
  TTokureiKeisan_Uriage010_R011001 Uriage010;
  TTokureiKeisan_Uriage020_R011001 Uriage020;
  TTokureiKeisan_Siire010_R011001 Siire010;

  void Take(const TTaxRun& run) {
    Steering = TSteering::Current(run);
    Nuki = run.TaxPar.Nuki;
    Zei = run.TaxPar.Zei;
    Komi = run.TaxPar.Komi;
    ImportCodesUsed = run.TaxPar.ImportCodesUsed;
    OldRateImportsRead = run.TaxPar.OldRateImportsRead;
    Hojin = run.KanpuHojin;
    Kojin = run.KanpuKojin;
    Tokutei = run.RefundReadTokutei;
    Uriage010 = run.TokureiUriage010;
    Uriage020 = run.TokureiUriage020;
    Siire010 = run.TokureiSiire010;
  }
  void Restore(TTaxRun& run) const {
    run.TaxPar.Nuki = Nuki;
    run.TaxPar.Zei = Zei;
    run.TaxPar.Komi = Komi;
    run.TaxPar.ImportCodesUsed = ImportCodesUsed;
    run.TaxPar.OldRateImportsRead = OldRateImportsRead;
    run.KanpuHojin = Hojin;
    run.KanpuKojin = Kojin;
    run.RefundReadTokutei = Tokutei;
    // The specific-purchase column is the one part of the read that depends
    // on the pass: set it as this pass has it.
    ApplyRefundReadTokutei(run);
    run.TokureiUriage010 = Uriage010;
    run.TokureiUriage020 = Uriage020;
    run.TokureiSiire010 = Siire010;
  }
};

TAggregationCopy::TAggregationCopy() = default;
TAggregationCopy::~TAggregationCopy() = default;

void TAggregationCopy::Aggregate(const TTaxDataConnection& DataSet, TTaxRun& Run, bool AllowReuse) {
  reused_ = false;
  if (AllowReuse && data_ && data_->Steering == TSteering::Current(Run)) {
    data_->Restore(Run);
    reused_ = true;
    return;
  }
  data_.reset();
  AggregateJournal(DataSet, Run);
  if (AllowReuse) {
    data_ = std::make_unique<Data>();
    data_->Take(Run);
  }
}
