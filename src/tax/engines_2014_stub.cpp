// Placeholder entries of the engines of the forms from 2014 until those
// engines are in place: they compute nothing and leave the records as reset.
#include "tax/engines_2014.h"

bool CalcGensokuH26(TTAXPAR&, TDAI1HYOU&) { return true; }
bool CalcKaniH26(TTAXPAR&, TDAI1HYOU&) { return true; }
