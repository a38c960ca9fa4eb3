// The main window's data choice. The cloud-share check-out and check-in
// around it go through the data-communication calls of
// dataselect/cloudcalls.h, which the program fills at start-up; while they
// are empty a data set that takes part in the cloud share cannot be checked
// out or in, and its choice fails.
#pragma once

#include <string>

#include "dataselect/cloudcalls.h"

// The parameter lines of the data-selection dialog for an export kind
// (0 consumption tax, 1 and 2 other link targets), joined with "\r".
std::string DataSelectionParams(int ExportKind, const std::string& DataVerMajor);
