// The link program's entry: the single-instance guard and the refusals while
// the accounting product or its tools run, the main window, its
// initialisation and the message loop.
#pragma once

#include <string>
#include <vector>

// Runs the program with the command-line arguments (without the program
// itself) and returns the process's exit code: 0 after a normal end (the file
// was made, or the window was closed by the user or by SIGTERM, SIGINT or
// SIGHUP), 1 when the program did not run (it refused to start, its
// initialisation failed, the logon was cancelled or refused), 2 when the
// export failed. A QApplication must exist.
int RunLinkProgram(const std::vector<std::string>& Args);
