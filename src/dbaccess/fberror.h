// The one reporter of database errors and its companions. ShowFbError logs a
// database error into the two ErrFbAccess files of the log folder, shows it
// when the caller gave a message, ends the program on an internal consistency
// failure and, when asked, recovers from a lost network connection by
// reopening the system database and the data set's database. All run on the
// user-interface thread from inside the failing routine's handler and return
// normally, so the caller's own failure path (rollback, failure value) runs.
#pragma once

#include <cstdint>
#include <string>

#include "dbaccess/dbui.h"

class EIBError;

// Status codes with a fixed meaning for the reporter.
inline constexpr std::int32_t kFbStatusBugCheck = 335544333;    // internal consistency check
inline constexpr std::int32_t kFbStatusNetworkLoss = 335544721; // network request failed

// True for the status codes of a lost connection to the database server: the
// failed network request itself, and the read and write errors and the
// shut-down connection by which the client notices a connection broken
// under it.
bool IsNetworkLoss(std::int32_t Status);

// Base name of the error logs: <LogDir>/ErrFbAccess.log (two lines appended
// per error) and <LogDir>/ErrFbAccess.txt (the last error's two lines).
inline constexpr const char* kFbErrorLogName = "ErrFbAccess";

inline constexpr const char* kNetworkLossMessage =
    "何らかの原因でネットワークが物理的に切断されている か Firebirdサービス(RDBMS)との通信が切断されました。\r\r"
    "[OK]ボタンを押すとアプリケーションの終了処理に入ります。（[OK]後、何回かメッセージが表示される場合があります）\r"
    "アプリケーションが終了しましたら再起動して下さい。\r";
inline constexpr const char* kFatalEndText =
    "\r\r[OK]ボタンを押すとアプリケーションの終了処理に入ります。（[OK]後、何回かメッセージが表示される場合があります）\r"
    "アプリケーションが終了しましたら再起動して下さい。\r";
inline constexpr const char* kStandAloneNote = "\r※注意 共有サーバーのデータ利用時は自動保管されません。\r";
inline constexpr const char* kDetailHeading = "[詳細情報]";
// Put after the failed operation's line when a lost connection has been
// recovered: the operation did not happen, the program goes on.
inline constexpr const char* kRecoveredText =
    "データベースとの通信が一時的に切断されましたが、接続は回復しました。\r"
    "この処理は行われていません。もう一度操作を行って下さい。";

// Logs, shows, ends or recovers as described above. Never throws: a log file
// that cannot be written is skipped.
void ShowFbError(const EIBError& Error, const std::string& Location, const std::string& Message, bool Recover);
// Message, an empty line, "[詳細情報]" and the detail in a message dialog of
// the given kind; nothing when both are empty.
void ShowErrorDetail(const std::string& Message, const std::string& Detail, int Kind);
// The comma-separated parts of Text (at most 51; a "//" comment dropped) as
// the lines of a message dialog of the given kind.
void ShowMessageLines(const std::string& Text, int Kind);

// Inside a catch block: reports the exception being handled the system's way
// (a database error to ShowFbError, anything else to ShowErrorDetail with the
// exception's text as detail and the error kind).
void ReportCurrentException(const std::string& Location, const std::string& Message, bool Recover);
// Inside a catch block: the status code of the database error being handled,
// 0 for any other exception.
std::int32_t CurrentFbStatus();

// The two log lines of an error, as ShowFbError writes them (without line ends).
std::string FbErrorLogLine1();
std::string FbErrorLogLine2(const EIBError& Error, const std::string& Location);
