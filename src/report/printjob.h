// The print run behind StartPrint, once the files have passed their checks:
// the printer prepared from the settings, the print dialog with its page
// range, and the page loop inside the printing window. Pages are sent as one
// job whose page layout changes where a page's orientation does.
#pragma once

#include "report/qboxdef.h"

// True when printing ran; false when it was cancelled or failed before the loop.
bool RunPrintJob(TQBOXDEF& def);
