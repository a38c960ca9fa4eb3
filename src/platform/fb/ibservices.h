// Database services through the services manager ("service_mgr"): backup,
// restore, validation and server properties. Protocol Local uses the
// embedded engine (or, with a password, the local server when the embedded
// engine cannot open the file); TCP goes to "ServerName:service_mgr".
// Output lines of a running service are read with GetNextLine until Eof.
#pragma once

#include <string>
#include <vector>

#include "platform/fb/iberror.h"
#include "platform/fb/ibstrings.h"

namespace Firebird {
class IService;
}

enum class TProtocol { TCP = 0, SPX = 1, NamedPipe = 2, Local = 3 };

class TIBCustomService {
 public:
  TIBCustomService() = default;
  virtual ~TIBCustomService();
  TIBCustomService(const TIBCustomService&) = delete;
  TIBCustomService& operator=(const TIBCustomService&) = delete;

  std::string ServerName;
  TProtocol Protocol = TProtocol::Local;
  TIBStrings Params;        // "user_name=", "password=", "sql_role_name="
  bool LoginPrompt = false; // kept for the callers' settings; never prompts

  bool Active() const { return service_ != nullptr; }
  void SetActive(bool value) { value ? Attach() : Detach(); }
  void Attach();
  void Detach() noexcept;

 protected:
  // Sends the action block of a service start.
  void Start(const std::vector<unsigned char>& spb);
  // One round of isc_info_svc_line; false when the service has finished.
  bool QueryLine(std::string& line);
  // Raw info query (with the send items, e.g. input for the service);
  // returns the answer buffer.
  std::vector<unsigned char> Query(const std::vector<unsigned char>& items,
                                   const std::vector<unsigned char>& send = {});
  void CheckActive() const;

 private:
  Firebird::IService* service_ = nullptr;
};

// Services that run a task and report lines.
class TIBControlService : public TIBCustomService {
 public:
  bool Verbose = false;
  // Starts the task (attach first).
  virtual void ServiceStart() = 0;
  // The next output line; Eof() becomes true after the last one.
  std::string GetNextLine();
  bool Eof() const { return eof_; }
  bool IsServiceRunning() const { return Active() && !eof_; }
  // Every line read so far.
  const std::vector<std::string>& Lines() const { return lines_; }

 protected:
  void StartAction(const std::vector<unsigned char>& spb);
  // Ends the output with the lines of a report that came as an error.
  void EndWithReport(const std::string& text);

 private:
  bool eof_ = true;
  std::vector<std::string> lines_;
};

// Backup options: the services manager's isc_spb_bkp_* flags.
namespace backup_options {
inline constexpr unsigned IgnoreChecksums = 0x01;
inline constexpr unsigned IgnoreLimbo = 0x02;
inline constexpr unsigned MetadataOnly = 0x04;
inline constexpr unsigned NoGarbageCollection = 0x08;
inline constexpr unsigned OldMetadataDesc = 0x10;
inline constexpr unsigned NonTransportable = 0x20;
inline constexpr unsigned ConvertExtTables = 0x40;
}  // namespace backup_options

class TIBBackupService : public TIBControlService {
 public:
  std::string DatabaseName;   // path on the server
  TIBStrings BackupFile;      // one or more backup files (path on the server)
  unsigned Options = 0;       // backup_options
  int BlockingFactor = 0;
  void ServiceStart() override;
};

// Restore options: the services manager's isc_spb_res_* flags.
namespace restore_options {
inline constexpr unsigned DeactivateIndexes = 0x0100;
inline constexpr unsigned NoShadow = 0x0200;
inline constexpr unsigned NoValidityCheck = 0x0400;
inline constexpr unsigned OneRelationAtATime = 0x0800;
inline constexpr unsigned Replace = 0x1000;
inline constexpr unsigned CreateNewDB = 0x2000;
inline constexpr unsigned UseAllSpace = 0x4000;
}  // namespace restore_options

class TIBRestoreService : public TIBControlService {
 public:
  TIBStrings DatabaseName;    // target file(s) on the server
  TIBStrings BackupFile;
  unsigned Options = restore_options::CreateNewDB;
  int PageSize = 0;           // 0: as in the backup
  int PageBuffers = 0;        // 0: server default
  void ServiceStart() override;
};

// Validation options. The validation only reads: the database is never
// repaired; problems are reported as output lines.
namespace validation_options {
inline constexpr unsigned ValidateFull = 0x80;     // records and pages
inline constexpr unsigned IgnoreChecksum = 0x20;
}  // namespace validation_options

class TIBValidationService : public TIBControlService {
 public:
  std::string DatabaseName;
  unsigned Options = validation_options::ValidateFull;
  void ServiceStart() override;
  // Reads all output; true when a non-blank line reported a problem. The
  // engine hands its summary of problems back as an error of the service
  // (at ServiceStart or while reading): that text becomes the report's lines. Errors that mean the database
  // cannot be reached (bad parameters, file not opened, network) are thrown.
  bool ErrorsFound();

 private:
  void ReportOrRethrow(const EIBError& e);
};

struct TDatabaseInfo {
  int NoOfAttachments = 0;
  int NoOfDatabases = 0;
  std::vector<std::string> DbName;   // attached database files
};

struct TVersionInfo {
  std::string ServerVersion;
  std::string ServerImplementation;
  int ServiceVersion = 0;
};

class TIBServerProperties : public TIBCustomService {
 public:
  // Reads the database and version information (attach first).
  void Fetch();
  void FetchDatabaseInfo();
  void FetchVersionInfo();
  TDatabaseInfo DatabaseInfo;
  TVersionInfo VersionInfo;
};
