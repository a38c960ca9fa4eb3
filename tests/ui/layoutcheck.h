// Test support: a window's picture for people to look at, and the layout
// faults a picture would show: controls that overlap a sibling, stick out of
// their parent, or whose one-line text does not fit.
#pragma once

#include <string>
#include <vector>

class QWidget;

namespace layoutcheck {

// Saves the window's picture as <build>/screenshots/<name>.png.
void SaveShot(QWidget* window, const std::string& name);

// One text per fault ("btnOK overlaps F7", "Label3 is cut: ...").
std::vector<std::string> LayoutFaults(QWidget* window);

}  // namespace layoutcheck
