// Application information: product and maker names, folders, file names,
// registry keys and captions, read once at start-up from "AppInfo.ini" (CP932)
// in the program's folder.
#pragma once

#include <cstdint>
#include <string>

struct TAppInfoRec {
  std::string OEM;
  std::string Since;
  std::string RegKey;
  std::string Qov;
  std::string QovAlias;
  std::int32_t VerMajorDiff = 0;
  std::int32_t VerMinorDiff = 0;
  std::int32_t VerRevDiff = 0;
  std::string VerTest;
  std::int32_t DizudovaBlind = 0;
  std::string CompanyName;
  std::string ZipCode;
  std::string Addr;
  std::string Tel;
  std::string Fax;
  std::string Mail;
  std::string Url;
  std::string AppName;
  std::string AppTitle;
  std::string AppTitleCl;
  std::string ZaimuRegKey;
  std::string HomeDir;
  std::string ShareDir;
  std::string ServerDir;
  std::string ServerTempDir;
  std::string DataDefFile;
  std::string DataFile;
  std::string DataBackupFile;
  std::string DataInitFile;       // a format with one integer, e.g. "acc%d.gbk"
  std::string DataIniFile;
  std::int32_t DataListCnt = 0;
  std::string ZEdoreAppTitle;
  std::string ZEdoreDataDir;
  std::string ZEdoreWriteDirFmt;
  std::string TessalyAppTitle;
  std::string TessalyRegKey;
  std::string TessalyHomeDir;
  std::string DizudovaAppTitle;
  std::string DizudovaRegKey;
  std::string DizudovaDataDir;
  std::string DizudovaBackupFile;
  std::string MenuDataCon;
  std::string MenuDataCon01;
  std::string MenuDataCon02;
  std::string MenuDataCon03;
  std::string MenuDataConQov01;
  std::string MenuDataConQov02;
  std::string WebTessalyServer;
  std::string TirvexServer;
  // [CLOUD]: the host name of the cloud share's member service and this
  // installation's identifier, sent with every status request. Missing or
  // empty keys keep the built-in values.
  std::string CloudMemberHost;
  std::string CloudInstallationId;
};

// Built-in values of the [CLOUD] keys.
inline constexpr const char* kDefaultCloudMemberHost = "member.norvane.example";
inline constexpr const char* kDefaultCloudInstallationId = "";

inline TAppInfoRec AppInfo;

inline constexpr const char* kAppInfoFileName = "AppInfo.ini";

// Results of ReadAppInfo.
enum : std::int32_t {
  aiRead = 1,          // the file was read
  aiNoFile = 0,        // no AppInfo.ini (Info untouched)
  aiNoOem = -1,        // OEM missing or empty: Info holds the built-in values
  aiReadError = -10,   // the file could not be read (Info partly filled)
};

// Reads "AppInfo.ini" in the folder of ProgramPath (the program's own file).
std::int32_t ReadAppInfo(const std::string& ProgramPath, TAppInfoRec& Info);
// Stores every built-in value.
void SetDefaultAppInfo(TAppInfoRec& Info);

// The start-up's copy of the application information into the settings
// constants (core/globals.h), in the stored order, and the OEM colour switch:
// OemKind becomes 1 for the OEM word, else 0, and OemKind 1 or 2 replaces
// DefaultGridColors 5, 6 and 7.
std::uint8_t OemKindOf(const TAppInfoRec& Info);
void CopyAppInfoToSettings(const TAppInfoRec& Info);
void ApplyOemGridColors(std::uint8_t oemKind);
