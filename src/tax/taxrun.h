// One run of the consumption-tax computation: the records an export fills,
// owned by whoever runs the computation (the link builder makes one per
// export, a test makes its own) and handed down to the engines, the
// aggregation and the refund statement by reference.
#pragma once

#include "tax/kanpu.h"
#include "tax/schedules.h"
#include "tax/taxcontext.h"
#include "tax/taxpar.h"
#include "tax/tokurei.h"

struct TTaxRun {
  // The company settings of the data set the run computes for: the link
  // builder copies the connected data set's (TaxCompany) when an export
  // starts; the computation reads these and nothing process-wide.
  TTaxCompanyInfo Company;
  // The parameters of the current pass and its accumulators.
  TTAXPAR TaxPar;
  TDAI1HYOU Dai1Hyou;
  // The refund statement: KanpuHojin for company kinds 1 and 3, KanpuKojin
  // for kind 2.
  TKanpuMeisai_Hojin KanpuHojin;
  TKanpuMeisai_Kojin KanpuKojin;
  // The specific purchases of the journal read, kept for every pass.
  TRefundReadTokutei RefundReadTokutei;
  // The special-measure records read with the journal.
  TTokureiKeisan_Uriage010_R011001 TokureiUriage010;
  TTokureiKeisan_Uriage020_R011001 TokureiUriage020;
  TTokureiKeisan_Siire010_R011001 TokureiSiire010;

  // Schedules and form 2 of the forms from 2019-10-01 (era 4).
  TFuhyou11_R01 Fuhyou11_R01;
  TFuhyou21_R01 Fuhyou21_R01;
  TFuhyou41_R01 Fuhyou41_R01;
  TFuhyou51_R01 Fuhyou51_R01;
  TDai2Hyou_R01 Dai2Hyou_R01;
  // Of the forms from 2014-04-01 (eras 1 to 3).
  TFuhyou1_H26 Fuhyou1_H26;
  TFuhyou2_H26 Fuhyou2_H26;
  TFuhyou4_H26 Fuhyou4_H26;
  TFuhyou5_H26 Fuhyou5_H26;
  TDai2Hyou_H26 Dai2Hyou_H26;
  // Of the earlier forms (era 0).
  TFuhyou1_Old Fuhyou1_Old;
  TFUHYOU22 Fuhyou22_Old;
  TFuhyou4_Old Fuhyou4_Old;
  TFuhyou5_Old Fuhyou5_Old;
};
