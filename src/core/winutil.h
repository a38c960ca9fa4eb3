// Small window-side utilities that need no window system: waiting while the
// application keeps processing its events, frame-size adjustment and grey
// colours. (Scaling by dpi and window activation live in the window layer.)
#pragma once

#include <cstdint>

// Waits Milliseconds while processing the application's events (through
// CoreUi.ProcessMessages) about every millisecond; returns true. Callers must
// tolerate re-entry from event handlers.
bool WaitWithMessages(int Milliseconds);
// With F the sizing-frame height (SystemDef.FrameHeight): Value unchanged when
// 2F is 8 or at most 6; else Value - 2F + 8 for Kind 0, Value - 4F + 16 for
// Kind 1; unchanged for other kinds.
int AdjustForFrameSize(int Value, int Kind);
// Colours 0x00BBGGRR: white and black unchanged, otherwise the grey of the
// rounded average of the three components; 0x808080 for a value that is not
// a plain colour.
std::int32_t GrayColor(std::int32_t Color);
