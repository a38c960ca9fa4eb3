// The upload of the accounting-data dump to the management-analysis service
// (経営テサリー): the dump is written, packed into a password-protected zip
// archive, the service is asked over HTTPS for an upload account, the
// archive is stored by FTP in the slot's folder and the upload is reported.
// The outcome is a three-digit result code ("000" = success).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "comm/commnotice.h"
#include "comm/sqldump.h"

// The zip program that packs the archive (Debian's zip); tests may name
// another.
inline std::string ZipProgram = "zip";

// Packs Files into Archive with Options, given as the archiver's command line
// "<options> <archive> <files>" (paths between double quotes). 0 on success;
// -1 when the zip program cannot be run; -2 when it does not answer as a zip
// program; -3 when the options ask for "-P" encryption and it cannot encrypt;
// otherwise the program's own non-zero exit code.
int ZipFiles(const std::string& Options, const std::string& Archive, const std::string& Files);

class TFtpWebDbSqlDump {
 public:
  TFtpWebDbSqlDump();
  virtual ~TFtpWebDbSqlDump();
  TFtpWebDbSqlDump(const TFtpWebDbSqlDump&) = delete;
  TFtpWebDbSqlDump& operator=(const TFtpWebDbSqlDump&) = delete;

  // Dumps, packs and uploads the connected data set for the communication ID
  // and the slot number (1 to 10); returns the result code.
  std::string SendDump(const std::string& CommId, std::int32_t DataNo);
  // The text of a result code; an unknown code gives "原因不明のエラー発生".
  static std::string ResultMessage(const std::string& Code);

  TWebDbSqlDump DumpWriter;
  std::string ServiceHost;                     // AppInfo.WebTessalyServer, "host[:port]"
  std::string ArchivePassword = "Bendal6072";
  // Filled by SendDump.
  std::string FtpHost, FtpPassword, ResultCode, CommId, DatabaseName, ScriptName, ArchiveName, DataVersion;
  std::int32_t DataNo = 0;
  std::vector<std::pair<std::string, std::string>> Headers;  // of the last reply
  double SizeCheckPause = 0.48;                // of the FTP put

 protected:
  // Has the dump writer write the script; false when the dump failed.
  virtual bool WriteScript();

 private:
  // One request; false when it failed (the code is then "831").
  bool Request(const std::string& PathAndQuery);
  std::string Header(const std::string& Name) const;
};

// The analysis part of the data-communication window's send: uploads the
// connected data set's dump for the communication ID and the slot number
// (the grid's chosen row + 1). True for "000"; otherwise false with the
// error notice that the window shows (kind error, Yes button).
bool SendAnalysisDump(const std::string& CommId, std::int32_t DataNo, TCommNotice& Notice);
