// One run of the consumption-tax computation: the records an export fills,
// owned by whoever runs the computation (the link builder makes one per
// export, a test makes its own) and handed down to the engines, the
// aggregation and the refund statement by reference.
#pragma once

#include "tax/kanpu.h"
#include "tax/taxpar.h"

struct TTaxRun {
  TDAI1HYOU Dai1Hyou;
  // The refund statement: KanpuHojin for company kinds 1 and 3, KanpuKojin
  // for kind 2.
  TKanpuMeisai_Hojin KanpuHojin;
  TKanpuMeisai_Kojin KanpuKojin;
};
