// Placeholder entries of the engines of the earlier forms until those engines
// are in place: they compute nothing and leave the records as reset.
#include "tax/engines_early.h"

bool CalcGensokuOld(TTAXPAR&, TDAI1HYOU&, TFuhyou1_Old&, TFUHYOU22&) { return true; }
bool CalcKaniOld(TTAXPAR&, TDAI1HYOU&, TFuhyou4_Old&, TFuhyou5_Old&) { return true; }
