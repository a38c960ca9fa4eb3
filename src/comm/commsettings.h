// Where the exchange reaches the member service and its file store. The
// application information carries neither the member service's host nor the
// installation identifier, so they are held here; the start-up (or a test)
// fills them before the first request.
#pragma once

#include <string>

struct TCommSettings {
  std::string MemberHost = "member.norvane.example";  // the member service's host name
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
