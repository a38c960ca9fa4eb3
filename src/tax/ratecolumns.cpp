// Which rate columns of the schedules computed for the current pass carry
// amounts (negative amounts count).
#include <initializer_list>

#include "tax/schedules.h"
#include "tax/taxera.h"
#include "tax/taxpar.h"

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
bool SlotInUse(int era, int pass, int s) {
  if (era >= 4) {
    if (pass == 0) return PrincipleColumnInUse(Fuhyou11_R01[s], Fuhyou21_R01[s]);
    return SimplifiedColumnInUse(Fuhyou41_R01[s], Fuhyou51_R01[s]);
  }
  if (pass == 0) return PrincipleColumnInUse(Fuhyou1_H26[s + 1], Fuhyou2_H26[s + 1]);
  return SimplifiedColumnInUse(Fuhyou4_H26[s + 1], Fuhyou5_H26[s]);
}

}  // namespace

int CheckRateColumnsInUse(bool) {
  TTAXPAR& par = TaxPar;
  const int pass = par.SinkokuKubun;
  par.RateColumnState = -1;
  if (par.Era >= 4) par.RateColumnState10 = 0;
  if (pass != 0 && pass != 1) return par.RateColumnState;

  if (par.Era >= 4) {
    bool old = SlotInUse(4, pass, 0) || SlotInUse(4, pass, 1) || SlotInUse(4, pass, 2);
    if (!old && SlotInUse(4, pass, 3) && SlotInUse(4, pass, 4)) par.RateColumnState = 4;
    if (old) par.RateColumnState10 = 1;
  } else {
    if (!SlotInUse(par.Era, pass, 0) && !SlotInUse(par.Era, pass, 1) && SlotInUse(par.Era, pass, 2))
      par.RateColumnState = 2;
  }
  return par.RateColumnState;
}
