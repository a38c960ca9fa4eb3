// Engines of the return forms in use from 2014-04-01 until the forms of
// 2019-10-01 (eras 1 to 3): principle and simplified taxation. They fill
// Fuhyou1_H26, Fuhyou2_H26, Dai2Hyou_H26 (principle), Fuhyou4_H26,
// Fuhyou5_H26 (simplified) and Dai1Hyou, and set TaxPar.RateColumnState.
#pragma once

#include "tax/schedules.h"
#include "tax/taxpar.h"

bool CalcGensokuH26(TTAXPAR& par, TDAI1HYOU& form1);
bool CalcKaniH26(TTAXPAR& par, TDAI1HYOU& form1);
