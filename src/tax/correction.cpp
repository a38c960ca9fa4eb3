#include "tax/correction.h"

#include <array>
#include <string>

#include "tax/engines_2014.h"
#include "tax/engines_early.h"
#include "tax/engines_r01.h"
#include "tax/refund.h"
#include "tax/schedules.h"
#include "tax/taxcontext.h"
#include "tax/taxpar.h"
#include "tax/taxrates.h"
#include "platform/rtl/sysutils.h"

namespace {

// One group of the correction: the principle category and the categories of
// business types 1..6.
struct CategoryGroup {
  int principle;
  std::array<int, 6> types;
};

constexpr std::array<CategoryGroup, 4> kGroups = {{
    {1, {2, 3, 4, 5, 6, 84}},      // sales 110 / 111-116
    {16, {17, 18, 19, 20, 21, 85}},  // returns 310 / 311-316
    {47, {48, 49, 50, 51, 52, 86}},  // tax received on sales 610 / 611-616
    {54, {55, 56, 57, 58, 59, 87}},  // tax received on returns 630 / 631-636
}};

constexpr std::array<const char*, 6> kBusinessNames = {"第一種事業", "第二種事業", "第三種事業",
                                                       "第四種事業", "第五種事業", "第六種事業"};

template <typename F>
void ForEachBlock(TTAXPAR& par, F f) {
  for (TaxBlock* block : {&par.Komi, &par.Nuki, &par.Zei})
    for (int s = 0; s < kRateSlots; ++s) f((*block)[static_cast<std::size_t>(s)]);
}

Currency SumCategories(TTAXPAR& par, std::initializer_list<int> cats) {
  Currency sum;
  ForEachBlock(par, [&](TaxRow& row) {
    for (int c : cats) sum += row[static_cast<std::size_t>(c)];
  });
  return sum;
}

// Shows a message given as comma-separated lines.
void ShowLines(const std::string& commaText) {
  if (!TaxHooks.ShowMessage) return;
  std::string text;
  for (char ch : commaText) {
    if (ch == ',') text += "\r\n";
    else text += ch;
  }
  TaxHooks.ShowMessage(kMsgWarning, text);
}

void MovePrincipleCodes(TTAXPAR& par, bool showDialogs) {
  if (SumCategories(par, {1, 16, 47, 54}) == Currency(0)) return;
  const int main = par.MainBusiness;
  // A main business type outside 1..6 names no target: leave the amounts.
  if (main < 1 || main > 6) return;
  if (showDialogs) {
    ShowLines(std::string("《消費税コードエラー（原則課税コードの混在）》,,　原則課税コード[110、310、610、630]が含まれています。,") +
              Format("  消費税コードを%sへ読み替えて集計を行います。,", std::string(kBusinessNames[static_cast<std::size_t>(main - 1)])) +
              Format("    110～116 ---> 11%d,", main) + Format("    310～316 ---> 31%d,", main) +
              Format("    610～616 ---> 61%d,", main) + Format("    630～636 ---> 63%d", main));
  }
  ForEachBlock(par, [&](TaxRow& row) {
    for (const auto& g : kGroups) {
      Currency& target = row[static_cast<std::size_t>(g.types[static_cast<std::size_t>(main - 1)])];
      Currency sum = row[static_cast<std::size_t>(g.principle)];
      row[static_cast<std::size_t>(g.principle)] = Currency(0);
      for (int k = 1; k <= 6; ++k) {
        if (k == main) continue;
        Currency& other = row[static_cast<std::size_t>(g.types[static_cast<std::size_t>(k - 1)])];
        sum += other;
        other = Currency(0);
      }
      target += sum;
    }
  });
}

void MoveSixthType(TTAXPAR& par, bool showDialogs) {
  if (par.Era != 1) return;
  if (SumCategories(par, {84, 85, 86, 87}) == Currency(0)) return;
  if (showDialogs) {
    ShowLines("《消費税コードエラー（第六種事業コードの混在）》,,　簡易課税コード[116、316、616、636]が含まれています。,"
              "　消費税コードを第五事業へ読み替えて集計を行います。,    116 ---> 115,    316 ---> 315,    616 ---> 615,"
              "    636 ---> 635");
  }
  ForEachBlock(par, [](TaxRow& row) {
    for (const auto& g : kGroups) {
      const auto six = static_cast<std::size_t>(g.types[5]);
      row[static_cast<std::size_t>(g.types[4])] += row[six];
      row[six] = Currency(0);
    }
  });
}

// Purchase-tax total of the refund statement from the schedule-2 total column.
}  // namespace

void StoreRefundPurchaseTax(TTaxRun& run) {
  const TTAXPAR& par = run.TaxPar;
  Currency a, b, c, ratio;
  bool ratioTerm = true;
  switch (par.Era) {
    case 0:
      a = run.Fuhyou22_Old.F[23];
      b = run.Fuhyou22_Old.F[29];
      ratioTerm = false;
      break;
    case 1:
    case 2:
    case 3: {
      const auto& col = run.Fuhyou2_H26[0];
      a = col.F[10]; b = col.F[11]; c = col.F[27]; ratio = col.F[8];
      break;
    }
    case 4: {
      const auto& col = run.Fuhyou21_R01[-1];
      a = col.F[10]; b = col.F[11]; c = col.F[27]; ratio = col.F[8];
      break;
    }
    default: return;
  }
  if (ratioTerm) FoldRefundStatementColumns(run);
  Currency total = a + b;
  if (ratioTerm && ratio < Currency(95)) total += c;
  switch (run.Company.DataType) {
    case kCompanyCorporation:
    case kCompanyMedical:
      run.KanpuHojin.SiireZeigaku = RoundYen(0, Fraction(total) / Fraction(1000));
      run.KanpuHojin.InputSiireZeigaku = run.KanpuHojin.SiireZeigaku;
      break;
    case kCompanyIndividual:
      run.KanpuKojin.SiireZeigaku = total;
      run.KanpuKojin.InputSiireZeigaku = total;
      break;
    default: break;
  }
}

void ClearFormRecords(TTaxRun& run) {
  run.Dai1Hyou = TDAI1HYOU{};
  run.Fuhyou1_Old = TFuhyou1_Old{};
  run.Fuhyou4_Old = TFuhyou4_Old{};
  for (int n = 1; n <= 67; ++n) run.Fuhyou22_Old.F[static_cast<std::size_t>(n)] = Currency(0);
  run.Fuhyou22_Old.F[54] = run.TaxPar.Koujyozei18A;
  run.Fuhyou22_Old.F[55] = run.TaxPar.Koujyozei18B;
  run.Fuhyou22_Old.F[57] = run.TaxPar.Koujyozei19A;
  run.Fuhyou22_Old.F[58] = run.TaxPar.Koujyozei19B;
  run.Fuhyou5_Old = TFuhyou5_Old{};
  run.Fuhyou5_Old.F[61] = Currency(1);
  run.Fuhyou5_Old.F[64] = Currency(1);
  run.Dai2Hyou_H26 = TDai2Hyou_H26{};
}

void ResetTaxResults(TTaxRun& run) {
  ClearFormRecords(run);
  ResetRefundStatement(run);
  for (int c = TFuhyou1_H26::kLo; c <= TFuhyou1_H26::kHi; ++c) ResetFuhyou1Column(run.Fuhyou1_H26[c]);
  for (int c = TFuhyou11_R01::kLo; c <= TFuhyou11_R01::kHi; ++c) ResetFuhyou1Column(run.Fuhyou11_R01[c]);
  for (int c = TFuhyou2_H26::kLo; c <= TFuhyou2_H26::kHi; ++c) ResetFuhyou2Column(run.Fuhyou2_H26[c]);
  for (int c = TFuhyou21_R01::kLo; c <= TFuhyou21_R01::kHi; ++c) ResetFuhyou2Column(run.Fuhyou21_R01[c]);
  for (int c = TFuhyou4_H26::kLo; c <= TFuhyou4_H26::kHi; ++c) ResetFuhyou4Column(run.Fuhyou4_H26[c]);
  for (int c = TFuhyou41_R01::kLo; c <= TFuhyou41_R01::kHi; ++c) ResetFuhyou4Column(run.Fuhyou41_R01[c]);
  for (int c = TFuhyou5_H26::kLo; c <= TFuhyou5_H26::kHi; ++c) ResetFuhyou5Column(run.Fuhyou5_H26[c]);
  for (int c = TFuhyou51_R01::kLo; c <= TFuhyou51_R01::kHi; ++c) ResetFuhyou5Column(run.Fuhyou51_R01[c]);
}

void CorrectMixedTaxCodes(TTaxRun& run, bool showDialogs) {
  TTAXPAR& par = run.TaxPar;
  if (par.SinkokuKubun == 0) {
    if (par.ImportCodesUsed != 0 && showDialogs && TaxHooks.ShowMessage) {
      TaxHooks.ShowMessage(
          kMsgWarning,
          "課税輸入に関する消費税区分として以下が入力されてるため、概算で計算します。\r\n"
          "　521～523　課税輸入\r\n　571～573　課税輸入返還\r\n　721～723　課税輸入\r\n　771～773　課税輸入返還\r\n\r\n"
          "実額で計算する場合、国税分の消費税仕訳は「仮払消費税」に以下の消費税区分を\r\n使用してください。\r\n"
          "　724～726　課税輸入(国税)\r\n　774～776　課税輸入返還(国税)\r\n\r\n"
          "本体分の仕訳、及び地方消費税分の仕訳は「810:対象外」をご利用ください。");
    }
  } else if (par.SinkokuKubun == 1) {
    MovePrincipleCodes(par, showDialogs);
    MoveSixthType(par, showDialogs);
  }
  ClearFormRecords(run);
  run.Dai2Hyou_R01 = TDai2Hyou_R01{};
  RunTaxEngines(run);
}

void RunTaxEngines(TTaxRun& run) {
  TTAXPAR& par = run.TaxPar;
  const int pass = par.SinkokuKubun;
  if (pass != 0 && pass != 1) return;
  switch (par.Era) {
    case 0:
      if (pass == 0) CalcGensokuOld(run.Company, par, run.Dai1Hyou, run.Fuhyou1_Old, run.Fuhyou22_Old);
      else CalcKaniOld(par, run.Dai1Hyou, run.Fuhyou4_Old, run.Fuhyou5_Old);
      break;
    case 1:
    case 2:
    case 3:
      if (pass == 0) CalcGensokuH26(run);
      else CalcKaniH26(run);
      break;
    case 4:
      if (pass == 0) CalcGensokuR01(run);
      else CalcKaniR01(run);
      break;
    default: return;
  }
  if (pass == 0) StoreRefundPurchaseTax(run);
}
