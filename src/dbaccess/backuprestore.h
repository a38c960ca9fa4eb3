// TBackupRestore: the data module's backup, restore and validation of a
// database, through the server's services or gbak, on top of the data-set
// connection and the server files (work files of a server installation are
// removed through them).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dbaccess/datasetconnection.h"

// Protocol numbers of the backup, restore and validation routines.
enum : std::uint8_t { kProtocolTcp = 0, kProtocolLocal = 3 };

struct TRestoreJob;

class TBackupRestore : public TDataSetConnection {
 public:
  bool BackupFDB(std::uint8_t Protocol, const std::string& Host, const std::string& DatabaseName,
                 const std::string& BackupFile, bool Direct);
  bool RestoreFDB(std::uint8_t Protocol, const std::string& Host, const std::string& DatabaseName,
                  const std::string& BackupFile, bool KeepIndexes);
  bool BackupFDBGbak(std::uint8_t Protocol, const std::string& Host, const std::string& DatabaseName,
                     const std::string& BackupFile, bool Direct);
  bool RestoreFDBGbak(std::uint8_t Protocol, const std::string& Host, const std::string& DatabaseName,
                      const std::string& BackupFile, bool KeepIndexes);
  std::int32_t ValidateFDB(std::uint8_t Protocol, const std::string& Host, const std::string& DatabaseName);

 protected:
  TBackupRestore() = default;

 private:
  // The one restore of both tools: a new database beside the old one, the
  // tool's whole output read, the new database checked, then put in place.
  bool RestoreReplacing(TRestoreJob& Job);
  std::vector<std::string> RunRestoreService(const TRestoreJob& Job);
  std::vector<std::string> RunRestoreGbak(const TRestoreJob& Job);
  void VerifyRestored(const TRestoreJob& Job);
  void ReplaceByRestored(const TRestoreJob& Job);
  // Work files of killed backups and restores: in Folder on this computer
  // (FileKind 0), or on the server through the notes of this computer.
  void RemoveWorkLeftovers(const std::string& Folder, std::uint8_t FileKind);
  void RemoveWorkFile(const std::string& Path, std::uint8_t FileKind);
};

TBackupRestore& BackupRestore();
