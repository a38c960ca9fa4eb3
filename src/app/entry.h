// The link program's entry: the single-instance guard and the refusals while
// the accounting product or its tools run, the main window, its
// initialisation and the message loop.
#pragma once

#include <string>
#include <vector>

// Runs the program with the command-line arguments (without the program
// itself) and returns the process's exit code: 0 after a normal end, 1 when
// the program refused to start or its initialisation failed. A QApplication
// must exist.
int RunLinkProgram(const std::vector<std::string>& Args);
