// The cloud-share check-out and check-in that the main window's data choice
// calls (the data-communication window's CloudShareReceive and
// CloudShareSend). The program fills them where the cloud exchange is built
// in; while they are empty a data set that takes part in the cloud share
// cannot be checked out or in, and its choice fails.
#pragma once

#include <functional>
#include <string>

struct TCloudShareCalls {
  // Result 0 done; 1 to 9 not done.
  std::function<int(const std::string& Folder, int Auto, int InUseQuiet)> Receive;
  std::function<int(const std::string& Folder, const std::string& Text, int Auto)> Send;
};

inline TCloudShareCalls CloudShareCalls;

// The parameter lines of the data-selection dialog for an export kind
// (0 consumption tax, 1 and 2 other link targets), joined with "\r".
std::string DataSelectionParams(int ExportKind, const std::string& DataVerMajor);
