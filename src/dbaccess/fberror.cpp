#include "dbaccess/fberror.h"

#include <array>
#include <cstdio>
#include <exception>

#include "core/globals.h"
#include "core/textutil.h"
#include "dbaccess/datasetconnection.h"
#include "dbaccess/fberrortable.h"
#include "platform/fb/ibdatabase.h"
#include "platform/fb/iberror.h"
#include "platform/rtl/cp932.h"
#include "platform/rtl/inifile.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/paths.h"

namespace {

// Appends the two lines to the .log file and makes them the whole .txt
// file. Logging is best effort: a folder or file that cannot be written is
// skipped, so that the error is still shown and acted on.
void WriteErrorLogs(const std::string& line1, const std::string& line2) {
  const std::string bytes = Utf8ToCp932Lossy(line1 + "\r\n" + line2 + "\r\n");
  const std::string base = PathJoin(SystemDef.LogDir, kFbErrorLogName);
  try {
    if (std::FILE* f = std::fopen((base + ".log").c_str(), "ab")) {
      std::fwrite(bytes.data(), 1, bytes.size(), f);
      std::fclose(f);
    }
  } catch (...) {
    // logging is best effort: the error is still shown
  }
  try {
    WriteFileAtomically(base + ".txt", bytes);
  } catch (...) {
    // logging is best effort: the error is still shown
  }
}

void ShowFatal(const std::string& message) {
  std::string text = message;
  if (ConnectKind == 0) text += kStandAloneNote;
  DbShowMessage(text, kMsgError);
}

// Closes a database whatever state its connection is in: up to five forced
// closes, stopping as soon as it reports itself disconnected.
void ForceDisconnect(TIBDatabase& database) {
  for (int attempt = 0; attempt < 5 && database.Connected(); ++attempt) {
    try {
      database.ForceClose();
      database.SetConnected(false);
    } catch (...) {
      // tried again, up to five times
    }
  }
}

// Reopens the system database and, when one is connected, the data set's
// database after a lost network connection. Returns false when the program
// must end.
bool RecoverNetworkLoss() {
  if (!DataModuleExists()) return false;
  bool failed = false;
  ForceDisconnect(SystemStore().IBDatabaseDEF);
  if (SystemStore().IBDatabaseDEF.Connected()) {
    failed = true;
  } else {
    SystemStore().fnAccDefConnected(SystemDef.HostName, true);
    if (!SystemStore().IBDatabaseDEF.Connected()) failed = true;
  }
  if (failed) {
    DbFatalError = 1;
    ShowFatal(kNetworkLossMessage);
    DbTerminate();
  }
  ForceDisconnect(DataSetConnection().IBDatabaseDAT);
  // A disconnect empties the parameters: then no data set was in use.
  if (!DataSetConnection().IBDatabaseDAT.Params.Empty()) {
    if (DataSetConnection().IBDatabaseDAT.Connected()) {
      failed = true;
    } else {
      DataSetConnection().fnAccDatConnected(SystemDef.HostName, SystemDef.DataDir, false);
      if (!DataSetConnection().IBDatabaseDAT.Connected()) failed = true;
    }
  }
  if (failed) {
    DbFatalError = 1;
    ShowFatal(kNetworkLossMessage);
    DbTerminate();
  }
  return !failed;
}

std::string DetailOf(const EIBError& error, const std::string& explanation) {
  return Format("IBXエラーコード:%d", error.IBErrorCode()) + "\r" + error.what() + "\r" + explanation;
}

}  // namespace

bool IsNetworkLoss(std::int32_t Status) {
  return Status == kFbStatusNetworkLoss || Status == 335544726 /* read */ || Status == 335544727 /* write */ ||
         Status == 335544856 /* connection shut down */;
}

std::string FbErrorLogLine1() {
  const std::string dbName = DataModuleExists() ? DataSetConnection().IBDatabaseDAT.DatabaseName : std::string();
  return Format("%s,%s,%d,%s,%s,%s,%s", FormatDateTime("yyyy/mm/dd hh:nn:ss", Now()), SystemDef.PcName,
                SystemDef.OpCode, "Serial=" + SystemDef.Serial, "AppVer=" + SystemDef.AppVer,
                "DBName=" + SystemDef.HostName + ":" + dbName, "DataVer=" + DataVer);
}

std::string FbErrorLogLine2(const EIBError& Error, const std::string& Location) {
  return Format("Error=%s [%d] (%d) %s,%s", Location, Error.IBErrorCode(), Error.SQLCode(),
                FbErrorMessage(Error.IBErrorCode(), Error.SQLCode()), std::string(Error.what()));
}

void ShowFbError(const EIBError& Error, const std::string& Location, const std::string& Message, bool Recover) {
  if (DbFatalError) return;
  const std::int32_t status = Error.IBErrorCode();
  const std::string explanation = FbErrorMessage(status, Error.SQLCode());
  try {
    WriteErrorLogs(FbErrorLogLine1(), FbErrorLogLine2(Error, Location));
  } catch (...) {
    // logging is best effort: the error is still shown
  }

  std::string message = Message;
  if (status == kFbStatusBugCheck) {
    DbFatalError = 1;
    message = explanation + kFatalEndText;
  }
  if (!message.empty()) {
    if (DbFatalError) ShowFatal(message);
    else if (!IsNetworkLoss(status)) ShowErrorDetail(message, DetailOf(Error, explanation), kMsgError);
  }
  if (DbFatalError) {
    DbTerminate();
    return;
  }
  if (Recover && IsNetworkLoss(status) && RecoverNetworkLoss() && !Message.empty()) {
    // The connection is back, but the operation that failed did not happen:
    // the user is told so and may repeat it. Only the caller's first line,
    // which names the operation, is kept: its further lines may announce an
    // end that does not come.
    const std::string operation = Message.substr(0, Message.find('\r'));
    ShowErrorDetail(operation + "\r\r" + kRecoveredText, DetailOf(Error, explanation), kMsgError);
  }
}

void ShowErrorDetail(const std::string& Message, const std::string& Detail, int Kind) {
  if (Message.empty() && Detail.empty()) return;
  std::string text = Message;
  if (!Detail.empty()) text += std::string("\r\r") + kDetailHeading + "\r" + Detail;
  DbShowMessage(text, Kind);
}

void ShowMessageLines(const std::string& Text, int Kind) {
  std::array<std::string, 51> parts;
  const int last = SplitToArray(Text, ',', parts);
  std::string text;
  for (int i = 0; i <= last && i < static_cast<int>(parts.size()); ++i) text += parts[static_cast<std::size_t>(i)] + "\r";
  DbShowMessage(text, Kind);
}

void ReportCurrentException(const std::string& Location, const std::string& Message, bool Recover) {
  try {
    throw;
  } catch (const EIBError& e) {
    ShowFbError(e, Location, Message, Recover);
  } catch (const std::exception& e) {
    ShowErrorDetail(Message, e.what(), kMsgError);
  } catch (...) {
    ShowErrorDetail(Message, "", kMsgError);
  }
}

std::int32_t CurrentFbStatus() {
  try {
    throw;
  } catch (const EIBError& e) {
    return e.IBErrorCode();
  } catch (...) {  // not a database error: no status
    return 0;
  }
}
