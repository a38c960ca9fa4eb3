// Where the exchange reaches the member service and its file store. The
// start-up takes the member service's host and the installation identifier
// from the application information ([CLOUD] of AppInfo.ini) with
// ApplyCloudSettings; tests set them directly.
#pragma once

#include <string>

#include "core/appinfo.h"

struct TCommSettings {
  std::string MemberHost = kDefaultCloudMemberHost;  // the member service's host name
  int MemberPort = 443;
  // File of trusted CA certificates for the member service; empty = the
  // system's trust store.
  std::string CaFile;
  // The installation identifier sent with every status request (sSno).
  std::string InstallationId;
  // File-store port used when the slot table's host carries none.
  int FileStorePort = 21;
  // Seconds allowed for a connection to be made, and for a transfer to go on
  // without any data moving, before it counts as broken.
  long ConnectTimeout = 30;
  long StallTimeout = 60;
};

inline TCommSettings CommSettings;

// The member service's host and the installation identifier of the
// application information.
inline void ApplyCloudSettings(const TAppInfoRec& Info) {
  CommSettings.MemberHost = Info.CloudMemberHost;
  CommSettings.InstallationId = Info.CloudInstallationId;
}
