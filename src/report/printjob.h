// The print run behind StartPrint, once the files have passed their checks:
// the printer prepared from the settings, the print dialog with its page
// range, and the page loop inside the printing window. Pages are sent as one
// job whose page layout changes where a page's orientation does.
#pragma once

#include "report/qboxdef.h"

// True when printing ran; false when it was cancelled or failed before the loop.
bool RunPrintJob(TQBOXDEF& def);
// Prints page `page` of the report alone, in `orientation`, without the print
// dialog (the preview's current-page print).
void PrintOnePage(TQBOXDEF& def, int page, int orientation);
