// The data-communication entry points that the data selection and the main
// window's data choice call: the cloud-share check-out and check-in, the
// release of a data set's cloud slot, the check-out into the work folder and
// its folder (TfmDataTusin), and the cloud-share settings of the
// communication-settings dialog (TfrmTusinSettei). Both windows are built
// after the data selection, so the program fills these calls where the
// cloud exchange is built in. While a call is empty its operation is not
// available: a data set that takes part in the cloud share cannot be checked
// out or in, and the data-selection dialog's cloud button says so.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// What the cloud-share settings leave for their caller.
struct TCloudShareChoice {
  std::int32_t Slot = 0;     // the chosen cloud slot; 0 when the data set takes no part
  std::int32_t SendNow = 0;  // 1: the chosen slot is empty, the local data is to be sent now
};

struct TCloudShareCalls {
  // Results of the transfers: 0 done; 1 to 9 not done (a message was shown or
  // a step failed).
  std::function<std::int32_t(const std::string& Folder, std::int32_t Auto, std::int32_t InUseQuiet)> CloudShareReceive;
  std::function<std::int32_t(const std::string& Folder, const std::string& Text, std::int32_t Auto)> CloudShareSend;
  std::function<std::int32_t(const std::string& Folder)> CloudShareRelease;
  std::function<std::int32_t(const std::string& Folder, std::int32_t Auto)> CloudShareReceiveToWork;
  // The folder into which the last check-out into the work folder went.
  std::function<std::string()> ReceiveFolder;
  // Opens the cloud-share settings of the data set in Folder: 0 when closed
  // with F12 (Choice then holds the chosen slot and the send-now choice);
  // 9 when cancelled, not opened or failed.
  std::function<std::int32_t(const std::string& Folder, TCloudShareChoice& Choice)> OpenCloudShareSettings;
};

inline TCloudShareCalls CloudShareCalls;
