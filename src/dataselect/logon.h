// The operator logon without its window: connecting the system database,
// the server's logon check LOGONUSERTEST (TE_LOGONUSERTEST in connection kind
// 2), and the operator fields of SystemDef that every later write and the
// operator's rights rest on. The logon window (logondialog.h) runs
// OperatorLogon on its OK button.
#pragma once

#include <cstdint>
#include <string>

inline constexpr const char* kMsgWrongCodeOrPassword =
    "コードまたはパスワードが違います。\r正しいコードまたはパスワードを入力して下さい。";
inline constexpr const char* kMsgAlreadyLoggedOn =
    "指定したユーザーは既にシステムへログインしているため、ログインできませんでした。";
inline constexpr const char* kMsgIniReadFailed = "iniファイルよりデータベース情報の取得に失敗しました。";

// What the logon window passes from its fields.
struct TLogonInput {
  int Kind = 0;                 // the chosen connection kind (GetSelectedConnectKind)
  std::string OpCodeText;       // the code field
  std::string Password;         // as typed: case kept, not trimmed
  bool GroupShown = false;      // the group field is shown
  std::string GroupText;
};

// What the window does afterwards.
enum class TLogonOutcome {
  LoggedOn,    // modal result OK
  FocusCode,   // a message was shown; the focus goes to the code field
  StayOpen,    // the window stays open as it is
  Fatal,       // the logon failed for good; modal result Cancel ends the program
};

// The answer of the server's logon check.
struct TLogonAnswer {
  std::int32_t Num = 0;         // 0 or 1 accepted, -1 wrong code or password, -3 already logged on
  std::int32_t LoginCode = 0;
  std::int32_t JobLevel = 0;
};

// The OK handler of the operator logon: reads the connection section of the
// kind, checks the code, connects, runs the logon check and fills SystemDef
// (OpCode, OpName, Jimusho, JobLevel, LoginCode, MyNumberAdmin, Approver,
// ServerWorkDir); records the kind in the settings file on success. Shows
// its own messages (error boxes with an OK button).
TLogonOutcome OperatorLogon(const TLogonInput& Input);

// Reconnects DM->IBDatabaseDEF; on failure shows the causes (an information
// box) and returns false.
bool ConnectSystemDb();
// Runs the logon check on the system database's transaction (errors pass on).
TLogonAnswer RunLogonTest(std::int32_t OpCode, const std::string& Password, std::int32_t AppVersion);
// OPNAME and JIMUSHO / MYNUMBER_ADM and SHONIN of the operator LoginCode of
// SystemDef.GroupId into SystemDef; an error keeps what was read.
void ReadOperatorName(std::int32_t LoginCode);
void ReadOperatorRights(std::int32_t LoginCode);

// Splits a message at "\r" into the lines of an error box with one button
// (mbOK or mbYes) and shows it; returns its modal result.
int ShowErrorBox(const std::string& Text, bool YesButton = false);
