// Printing a report: StartPrint prepares the printer from the settings,
// offers the print dialog and runs the page loop in the progress window.
#pragma once

#include "report/qboxdef.h"

// Non-zero when printing ran; 0 when it was refused, cancelled or failed
// before the page loop.
int StartPrint(TQBOXDEF& def);
