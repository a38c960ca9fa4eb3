// Two-part hints: "short|long". The short part is the tool tip; the long part
// is shown in a window's hint memo when its control gets the focus.
#pragma once

#include <string>
#include <string_view>

class QWidget;

// The part before the first '|' (the whole text when there is none).
std::string GetShortHint(std::string_view hint);
// The part after the first '|' (the whole text when there is none).
std::string GetLongHint(std::string_view hint);

// Stores the full hint on the control and shows its short part as tool tip.
void SetHint(QWidget* control, std::string_view hint);
std::string GetHint(const QWidget* control);
