// Sizes of the designs are given at 96 dots per inch and scaled by the
// screen's logical dpi.
#pragma once

constexpr int kDesignDpi = 96;

// value × numerator ÷ denominator in 64 bits, halves away from zero (0 when the denominator is 0).
int MulDiv(int value, int numerator, int denominator);
// value × to ÷ from, truncated; unchanged when the two are equal.
int ScaleByDpi(int value, int to, int from);
// Logical dots per inch of the primary screen (96 when there is none).
int ScreenDpi();
// A design size at 96 dpi on the current screen.
inline int Px(int value96) { return ScaleByDpi(value96, ScreenDpi(), kDesignDpi); }
