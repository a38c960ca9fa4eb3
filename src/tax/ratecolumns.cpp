// Which rate columns of the schedules computed for the current pass carry
// amounts (negative amounts count).
#include <initializer_list>

#include "tax/taxera.h"
#include "tax/taxrun.h"

namespace {

template <typename Array>
bool AnyNonZero(const Array& f, std::initializer_list<int> fields) {
  for (int n : fields)
    if (f[static_cast<std::size_t>(n)] != Currency(0)) return true;
  return false;
}

bool PrincipleColumnInUse(const TFuhyou1Column& s1, const TFuhyou2_H260401& s2) {
  return AnyNonZero(s1.F, {6}) || AnyNonZero(s2.F, {1, 9, 10, 11, 12, 19, 20, 23, 26, 27});
}

bool SimplifiedColumnInUse(const TFuhyou4Column& s4, const TFuhyou5Column& s5) {
  return AnyNonZero(s4.F, {7}) || AnyNonZero(s5.F, {1, 2, 3, 14, 15, 16, 17, 18, 19});
}

// Column of slot s in use, for the era's schedules of the pass.
bool SlotInUse(const TTaxRun& run, int era, int pass, int s) {
  if (era >= 4) {
    if (pass == 0) return PrincipleColumnInUse(run.Fuhyou11_R01[s], run.Fuhyou21_R01[s]);
    return SimplifiedColumnInUse(run.Fuhyou41_R01[s], run.Fuhyou51_R01[s]);
  }
  if (pass == 0) return PrincipleColumnInUse(run.Fuhyou1_H26[s + 1], run.Fuhyou2_H26[s + 1]);
  return SimplifiedColumnInUse(run.Fuhyou4_H26[s + 1], run.Fuhyou5_H26[s]);
}

}  // namespace

int CheckRateColumnsInUse(TTAXPAR& par, const TTaxRun& run, bool) {
  const int pass = par.SinkokuKubun;
  par.RateColumnState = -1;
  if (par.Era >= 4) par.RateColumnState10 = 0;
  if (pass != 0 && pass != 1) return par.RateColumnState;

  if (par.Era >= 4) {
    bool old = SlotInUse(run, 4, pass, 0) || SlotInUse(run, 4, pass, 1) || SlotInUse(run, 4, pass, 2);
    if (!old && SlotInUse(run, 4, pass, 3) && SlotInUse(run, 4, pass, 4)) par.RateColumnState = 4;
    if (old) par.RateColumnState10 = 1;
  } else {
    if (!SlotInUse(run, par.Era, pass, 0) && !SlotInUse(run, par.Era, pass, 1) && SlotInUse(run, par.Era, pass, 2))
      par.RateColumnState = 2;
  }
  return par.RateColumnState;
}
