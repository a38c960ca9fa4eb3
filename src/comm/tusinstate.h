// The state of the data-communication window that the exchange steps share:
// what an entry point sets before it works (operation code, data folder, work
// file name, wait caption, receive folder, Auto) and what the steps leave for
// one another (saved combine settings, the cloud data version, the restored
// flag).
#pragma once

#include <cstdint>
#include <string>

#include "core/globals.h"

// Operation codes (the window's SyoriType) of the cloud share.
enum : std::int32_t {
  opCloudSend = 20,
  opCloudReceive = 21,
  opCloudReceiveToWork = 22,
  opCloudRelease = 23,
  opCloudSelectArea = 25,
  opCloudSelectNextYearArea = 26,
};

// Backup file name inside the transfer files of the cloud share.
inline constexpr const char* kCloudWorkFile = "cpacc.fbk";

struct TTusinState {
  std::int32_t SyoriType = 0;     // operation code
  std::string DataFolder;         // the cloud data folder (operations 20 and up)
  std::string WorkFileName;       // backup file name inside the transfer files
  std::string WaitCaption;        // check-in: caption of the wait window
  std::string ReceiveFolder;      // receive to work: <TempDir>/receive
  bool Auto = false;
  std::int32_t DumpFlag = 0;      // 1: a relay send also uploads the analysis dump

  // Saved combine settings of a receive (ACCREG 基本設定).
  std::string SavedCombineKind;
  std::string SavedCombineCount;
  // The data version read before a cloud check-in.
  std::int32_t CloudVerMajor = 0, CloudVerMinor1 = 0, CloudVerMinor2 = 0;
  bool Restored = false;

  bool IsCloud() const { return SyoriType >= 20; }
  // The data set the operation works on: the current data set for a relay
  // operation, the stored cloud data folder for a cloud one.
  std::string WorkDataFolder() const { return IsCloud() ? DataFolder : SystemDef.DataDir; }
};
