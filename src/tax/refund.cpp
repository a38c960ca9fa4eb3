#include "tax/refund.h"

#include <array>

#include "platform/rtl/accountgroups.h"
#include "platform/rtl/eras.h"
#include "platform/rtl/fraction.h"
#include "platform/rtl/sysutils.h"
#include "tax/schedules.h"
#include "tax/taxcodes.h"
#include "tax/taxcontext.h"
#include "tax/taxpar.h"
#include "tax/taxrates.h"

namespace {

bool IsHojinKind(int kind) { return kind == kCompanyCorporation || kind == kCompanyMedical; }

// A journal purchase row found for an account group with its cell of the
// read's specific-purchase tally, and whether it is a profit-and-loss or
// expense row (credit lines count there) or an asset row.
struct RowRef {
  TKanpuSiireRow* row = nullptr;
  Currency* tokutei = nullptr;
  bool profitAndLoss = false;
};

bool InGroup(const std::string& g, const std::string& from, const std::string& to) { return g >= from && g <= to; }

// Row of the journal tables that an account group feeds; none for a line that
// is not classified.
RowRef FindRow(TTaxRun& run, const std::string& g) {
  const int kind = run.Company.DataType;
  TRefundReadTokutei& read = run.RefundReadTokutei;
  if (IsHojinKind(kind)) {
    const bool medical = kind == kCompanyMedical;
    auto& soneki = run.KanpuHojin.SiireSoneki.Row;
    auto& sisan = run.KanpuHojin.SiireSisan.Row;
    if (InGroup(g, GroupFixedAssetsFrom, GroupFixedAssetsTo)) return {&sisan[0], &read.Sisan[0], false};
    if (InGroup(g, GroupDeferredAssetsFrom, GroupDeferredAssetsTo)) return {&sisan[1], &read.Sisan[1], false};
    if (InGroup(g, GroupPurchasesFrom, GroupPurchasesTo)) {
      if (SkipInventoryGroup("SHOHIN", g)) return {};
      return {&soneki[0], &read.Soneki[0], true};
    }
    if (medical ? InGroup(g, GroupMedicalExpensesFrom, GroupMedicalExpensesTo)
                : InGroup(g, GroupExpensesFrom, GroupExpensesTo))
      return {&soneki[1], &read.Soneki[1], true};
    if (InGroup(g, GroupNonOperatingFrom, GroupNonOperatingTo)) return {&soneki[2], &read.Soneki[2], true};
    if (InGroup(g, GroupOtherFrom, GroupOtherTo)) return {&soneki[3], &read.Soneki[3], true};
    return {};
  }
  if (kind == kCompanyIndividual) {
    const int code = run.Company.CodeType;
    if (code == 1 || code == 3) {
      auto& jigyou = run.KanpuKojin.SiireJigyou.Row;
      if (InGroup(g, GroupFixedAssetsFrom, GroupFixedAssetsTo)) return {&jigyou[2], &read.Jigyou[2], false};
      if (InGroup(g, GroupPurchasesFrom, GroupPurchasesTo)) {
        if (SkipInventoryGroup("SHOHIN", g)) return {};
        return {&jigyou[0], &read.Jigyou[0], true};
      }
      if (InGroup(g, GroupExpensesFrom, GroupExpensesTo)) return {&jigyou[1], &read.Jigyou[1], true};
    } else if (code == 2 || code == 4) {
      auto& fudousan = run.KanpuKojin.SiireFudousan.Row;
      if (InGroup(g, GroupFixedAssetsFrom, GroupFixedAssetsTo)) return {&fudousan[1], &read.Fudousan[1], false};
      if (InGroup(g, GroupExpensesFrom, GroupExpensesTo)) return {&fudousan[0], &read.Fudousan[0], true};
    }
  }
  return {};
}

template <int Rows, std::size_t N>
void SetTokutei(TKanpuSiireTable<Rows>& table, const std::array<Currency, N>& read, bool principle) {
  static_assert(N == static_cast<std::size_t>(Rows));
  for (std::size_t r = 0; r < N; ++r) table.Row[r].Tokutei = principle ? read[r] : Currency(0);
}

const TKanpuHead* HeadOfKind(const TTaxRun& run, int kind) {
  if (IsHojinKind(kind)) return &run.KanpuHojin;
  if (kind == kCompanyIndividual) return &run.KanpuKojin;
  return nullptr;
}

template <int Rows>
void ClearAmounts(TKanpuSiireTable<Rows>& table) {
  table = TKanpuSiireTable<Rows>{};
}

template <int Rows>
void SumTotal(TKanpuSiireTable<Rows>& table) {
  TKanpuSiireRow& total = table.Total();
  total.Kessan = total.NotKazei = total.Kazei = Currency(0);
  for (int r = 0; r < Rows; ++r) {
    total.Kessan += table.Row[static_cast<std::size_t>(r)].Kessan;
    total.NotKazei += table.Row[static_cast<std::size_t>(r)].NotKazei;
    total.Kazei += table.Row[static_cast<std::size_t>(r)].Kazei;
  }
}

template <int Rows>
void CountTokuteiAsNotTaxable(TKanpuSiireTable<Rows>& table) {
  for (int r = 0; r < Rows; ++r) table.Row[static_cast<std::size_t>(r)].NotKazei += table.Row[static_cast<std::size_t>(r)].Tokutei;
}

template <int Rows>
void FoldThousands(TKanpuSiireTable<Rows>& table) {
  for (int r = 0; r < Rows; ++r) {
    auto& row = table.Row[static_cast<std::size_t>(r)];
    row.Kessan = RoundYen(0, Fraction(row.Kessan) / Fraction(1000));
    row.NotKazei = RoundYen(0, Fraction(row.NotKazei) / Fraction(1000));
    row.Kazei = row.Kessan - row.NotKazei;
  }
  SumTotal(table);
}

template <int Rows>
void FoldYen(TKanpuSiireTable<Rows>& table) {
  for (int r = 0; r < Rows; ++r) {
    auto& row = table.Row[static_cast<std::size_t>(r)];
    row.Kazei = row.Kessan - row.NotKazei;
  }
  SumTotal(table);
}

}  // namespace

int EraYearOf(TDateTime date) {
  if (GengoTable.empty()) BuildGengoTable();
  TWarekiRec rec;
  DateToWareki(rec, date);
  return rec.Year;
}

void ResetRefundStatement(TTaxRun& run) {
  const int kind = run.Company.DataType;
  const std::int32_t defUH = run.Company.TaxDefUH;
  auto initHead = [&](TKanpuHead& head) {
    head.ZeiKbn = defUH;
    head.KessanZeiKbn = defUH;  // the export value is the setting itself
    head.SisanZeiKbn = TaxHooks.TaxDefUHWithLinkSiwake ? TaxHooks.TaxDefUHWithLinkSiwake(defUH) : defUH;
    head.KanpuRiyuu01 = 1;
    head.KanpuRiyuu02 = 0;
    head.KanpuRiyuuOther = 0;
  };
  if (IsHojinKind(kind)) {
    run.KanpuHojin = TKanpuMeisai_Hojin{};
    initHead(run.KanpuHojin);
  } else if (kind == kCompanyIndividual) {
    run.KanpuKojin = TKanpuMeisai_Kojin{};
    initHead(run.KanpuKojin);
    run.KanpuKojin.TokusyuJijyoNen = EraYearOf(run.TaxPar.KikanTo);
  }
}

void ApplyRefundReadTokutei(TTaxRun& run) {
  const int kind = run.Company.DataType;
  const bool principle = run.TaxPar.SinkokuKubun == 0;
  if (IsHojinKind(kind)) {
    SetTokutei(run.KanpuHojin.SiireSoneki, run.RefundReadTokutei.Soneki, principle);
    SetTokutei(run.KanpuHojin.SiireSisan, run.RefundReadTokutei.Sisan, principle);
  } else if (kind == kCompanyIndividual) {
    SetTokutei(run.KanpuKojin.SiireJigyou, run.RefundReadTokutei.Jigyou, principle);
    SetTokutei(run.KanpuKojin.SiireFudousan, run.RefundReadTokutei.Fudousan, principle);
  }
}

void ClearRefundJournalTables(TTaxRun& run) {
  run.RefundReadTokutei = TRefundReadTokutei{};
  const int kind = run.Company.DataType;
  if (IsHojinKind(kind)) {
    ClearAmounts(run.KanpuHojin.SiireSoneki);
    ClearAmounts(run.KanpuHojin.SiireSisan);
  } else if (kind == kCompanyIndividual) {
    ClearAmounts(run.KanpuKojin.SiireJigyou);
    ClearAmounts(run.KanpuKojin.SiireFudousan);
    ClearAmounts(run.KanpuKojin.SiireSonota);
    run.KanpuKojin.KazeiTotal = Currency(0);
  }
}

bool SkipInventoryGroup(const std::string& kind, const std::string& groupM0) {
  if (!SameText(kind, "SHOHIN")) return false;
  for (const std::string& g : InventoryGroupCodes)
    if (groupM0 == g) return true;
  return false;
}

Currency SignedKanpuAmount(Currency current, Currency amount, int dac, int taishaku) {
  if (dac < 1 || dac > 4) return current;
  if (taishaku == 1) return current + amount;
  if (taishaku == 2) return current - amount;
  return current;
}

void ClassifyRefundStatementLine(TTaxRun& run, bool counterIsTaxAccount, int taishaku, const std::string& groupM0, int dac,
                                 int taxCode, Currency nuk, Currency zei, int linkKub) {
  const TKanpuHead* head = HeadOfKind(run, run.Company.DataType);
  const int m = head ? head->KessanZeiKbn : 0;
  if (m == 1 && linkKub == 9) return;
  const Currency amount = m == 0 ? nuk + zei : m == 1 ? nuk : Currency(0);

  RowRef ref = FindRow(run, groupM0);
  if (ref.row == nullptr) return;
  const bool debit = taishaku == 1;

  if (debit || ref.profitAndLoss || counterIsTaxAccount)
    ref.row->Kessan = SignedKanpuAmount(ref.row->Kessan, amount, dac, taishaku);

  const bool partRow = debit || ref.profitAndLoss;
  if (!counterIsTaxAccount && (taxCode == 540 || taxCode == 810 || taxCode == 910) && partRow)
    ref.row->NotKazei = SignedKanpuAmount(ref.row->NotKazei, amount, dac, taishaku);
  if (IsTokuteiShiireCode(taxCode) && partRow) {
    *ref.tokutei = SignedKanpuAmount(*ref.tokutei, amount, dac, taishaku);
    if (run.TaxPar.SinkokuKubun == 0) ref.row->Tokutei = SignedKanpuAmount(ref.row->Tokutei, amount, dac, taishaku);
  }
}

void FoldRefundStatementColumns(TTaxRun& run) {
  if (run.TaxPar.EntryMode == "手書") return;
  Currency ratio;
  if (run.TaxPar.Era >= 1 && run.TaxPar.Era <= 3) ratio = run.Fuhyou2_H26[0].F[8];
  else if (run.TaxPar.Era == 4) ratio = run.Fuhyou21_R01[-1].F[8];
  const bool tokuteiNotTaxable = run.TaxPar.SinkokuKubun == 0 && ratio >= Currency(95);

  const int kind = run.Company.DataType;
  if (IsHojinKind(kind)) {
    if (tokuteiNotTaxable) {
      CountTokuteiAsNotTaxable(run.KanpuHojin.SiireSoneki);
      CountTokuteiAsNotTaxable(run.KanpuHojin.SiireSisan);
    }
    FoldThousands(run.KanpuHojin.SiireSoneki);
    FoldThousands(run.KanpuHojin.SiireSisan);
    run.KanpuHojin.SiireZeigaku = Currency(0);
  } else if (kind == kCompanyIndividual) {
    if (tokuteiNotTaxable) {
      CountTokuteiAsNotTaxable(run.KanpuKojin.SiireJigyou);
      CountTokuteiAsNotTaxable(run.KanpuKojin.SiireFudousan);
      CountTokuteiAsNotTaxable(run.KanpuKojin.SiireSonota);
    }
    FoldYen(run.KanpuKojin.SiireJigyou);
    FoldYen(run.KanpuKojin.SiireFudousan);
    FoldYen(run.KanpuKojin.SiireSonota);
    run.KanpuKojin.KazeiTotal = run.KanpuKojin.SiireJigyou.Total().Kazei + run.KanpuKojin.SiireFudousan.Total().Kazei +
                            run.KanpuKojin.SiireSonota.Total().Kazei;
    run.KanpuKojin.SiireZeigaku = Currency(0);
  }
}

// ---- Entered inputs --------------------------------------------------------

TRefundInputBuilder::TRefundInputBuilder(TTaxRun& run, int companyKind) : run_(run), kind_(companyKind) {}

void TRefundInputBuilder::Count(int rec) {
  if (rec != lastRec_) {
    lastRec_ = rec;
    counter_ = 1;
  }
}

namespace {

// Fills row `counter` (1-based) of a fixed list when it fits.
template <typename Row, std::size_t N>
bool FillRow(std::array<Row, N>& list, int& counter, const Row& value) {
  if (counter < 1 || counter > static_cast<int>(N)) return false;
  list[static_cast<std::size_t>(counter - 1)] = value;
  ++counter;
  return true;
}

template <int Rows>
bool FillPurchaseRow(TKanpuSiireTable<Rows>& table, int& counter, Currency kessan, Currency notKazei, Currency kazei) {
  if (counter < 1 || counter > Rows) return false;
  auto& row = table.Row[static_cast<std::size_t>(counter - 1)];
  row.Kessan = kessan;
  row.NotKazei = notKazei;
  row.Kazei = kazei;
  table.Total().Kessan += kessan;
  table.Total().NotKazei += notKazei;
  table.Total().Kazei += kazei;
  ++counter;
  return true;
}

}  // namespace

void TRefundInputBuilder::AddTransaction(int rec, const TKanpuSisan& asset, const TKanpuTorihiki& exportRow) {
  Count(rec);
  if (IsHojinKind(kind_)) {
    switch (rec) {
      case 10: FillRow(run_.KanpuHojin.SyuyouSisan, counter_, asset); break;
      case 20: FillRow(run_.KanpuHojin.Yusyutu, counter_, exportRow); break;
      case 30: FillRow(run_.KanpuHojin.Tanaorosi, counter_, asset); break;
      case 40: FillRow(run_.KanpuHojin.KoteiSisan, counter_, asset); break;
      default: break;
    }
  } else if (kind_ == kCompanyIndividual) {
    switch (rec) {
      case 10: FillRow(run_.KanpuKojin.SyuyouSisan, counter_, asset); break;
      case 20: FillRow(run_.KanpuKojin.Yusyutu, counter_, exportRow); break;
      case 30: FillRow(run_.KanpuKojin.Tanaorosi, counter_, asset); break;
      case 40: FillRow(run_.KanpuKojin.KoteiSisan, counter_, asset); break;
      default: break;
    }
  }
}

void TRefundInputBuilder::AddPurchase(int rec, Currency kessan, Currency notKazei, Currency kazei) {
  Count(rec);
  if (IsHojinKind(kind_)) {
    if (rec == 10) FillPurchaseRow(run_.KanpuHojin.InputSiireSoneki, counter_, kessan, notKazei, kazei);
    else if (rec == 20) FillPurchaseRow(run_.KanpuHojin.InputSiireSisan, counter_, kessan, notKazei, kazei);
  } else if (kind_ == kCompanyIndividual) {
    bool filled = false;
    if (rec == 10) filled = FillPurchaseRow(run_.KanpuKojin.InputSiireJigyou, counter_, kessan, notKazei, kazei);
    else if (rec == 20) filled = FillPurchaseRow(run_.KanpuKojin.InputSiireFudousan, counter_, kessan, notKazei, kazei);
    else if (rec == 30) filled = FillPurchaseRow(run_.KanpuKojin.InputSiireSonota, counter_, kessan, notKazei, kazei);
    if (filled)
      run_.KanpuKojin.InputKazeiTotal = run_.KanpuKojin.InputSiireJigyou.Total().Kazei +
                                   run_.KanpuKojin.InputSiireFudousan.Total().Kazei +
                                   run_.KanpuKojin.InputSiireSonota.Total().Kazei;
  }
}
