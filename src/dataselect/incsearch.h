// The incremental search of the data lists: the digits, letters and
// punctuation typed on a list gather, up to eight characters, in a small box
// above it; when the typing pauses (the search timer fires), the next row
// whose code begins with them becomes the current row.
#pragma once

#include <string>

#include "platform/vcl/keys.h"

class QPoint;
class QTimer;
class TPerfectGrid;
class TxEdit;

// The character of a virtual key for the search (0 for other keys): digits and
// letters as they are, the numeric pad's digits and "*+,-./", and the
// punctuation keys 186-226.
char IncSearchChar(Word Key);

// A key typed on the list. A search key is consumed (Key := 0, result true);
// while Text holds fewer than eight characters its character is added, the
// box (at At) shows the text and the timer restarts, 500 ms after the first
// key and 1000 ms after later ones. Other keys are left alone (false).
bool IncSearchKeyDown(Word& Key, std::string& Text, TxEdit& Box, QTimer& Timer, const QPoint& At);

// The end of a search, when the timer fires. With Search, the first visible
// row after the current one (wrapping to the top) whose column Column begins
// with Text, case ignored, becomes the current row at column 0 and is scrolled
// into view. Then the timer stops (interval 0) and the text and the box are
// cleared and the box hidden.
void IncSearchFinish(TPerfectGrid& Grid, int Column, bool Search, std::string& Text, TxEdit& Box, QTimer& Timer);
