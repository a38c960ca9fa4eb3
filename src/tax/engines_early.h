// Engines of the return forms before 2014-04-01 (era 0): principle taxation
// (schedules 1 and 2-(2)) and simplified taxation (schedules 4 and 5).
#pragma once

#include "tax/schedules.h"
#include "tax/taxpar.h"

bool CalcGensokuOld(TTAXPAR& par, TDAI1HYOU& form1, TFuhyou1_Old& sch1, TFUHYOU22& sch22);
bool CalcKaniOld(TTAXPAR& par, TDAI1HYOU& form1, TFuhyou4_Old& sch4, TFuhyou5_Old& sch5);
