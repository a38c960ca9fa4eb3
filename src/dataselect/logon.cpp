#include "dataselect/logon.h"

#include <vector>

#include "core/globals.h"
#include "core/settings.h"
#include "dataselect/connsettings.h"
#include "dbaccess/fberror.h"
#include "dbaccess/fberrortable.h"
#include "dbaccess/systemstore.h"
#include "platform/fb/ibsql.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/sysutils.h"
#include "ui/messagebox2.h"

namespace {

const char* const kConnectFailed = "財務システムデータベースの接続処理に失敗しました。";
const char* const kCausesHead = "ログイン処理に失敗しました。以下の理由が考えられます。";
const char* const kFirewall =
    "Windowsファイヤーウォール(市販のセキュリティソフト含む)が有効の場合は、このアプリケーションがサーバーと通信できる状態か確認して下さい。";

void ShowLines(std::uint8_t Kind, const std::vector<std::string>& Lines, TMsgDlgButtons Buttons) {
  TMessage2InfoRec info;
  InitMessage2Info(Kind, info);
  info.Buttons = Buttons;
  for (std::size_t i = 0; i < Lines.size() && i < info.Lines.size(); ++i) info.Lines[i].Text = Lines[i];
  ShowMessageBox2(info);
}

std::vector<std::string> CausesOfKind(std::uint8_t Kind) {
  switch (Kind) {
    case 0:
      return {kCausesHead, "１）データファイルが見つからない。", "２）別のプロセスがデータファイルを使用中。"};
    case 1:
      return {kCausesHead, "１）サーバー上でFireBirdサービスが起動しているか確認して下さい。",
              "２）ログイン画面の[サーバー設定]ボタンを押して正しい情報が設定されているか確認して下さい。",
              std::string("３）") + kFirewall};
    default: {
      const std::string product = SbcKind < SbcProductNames.size() ? SbcProductNames[SbcKind] : "";
      return {kCausesHead, Format("１）%sソリューションが正常に動作しているか確認して下さい。", product),
              "２）サーバー上でFireBirdサービスが起動しているか確認して下さい。",
              "３）ログイン画面の[サーバー設定]ボタンを押して正しい情報が設定されているか確認して下さい。",
              std::string("４）") + kFirewall};
    }
  }
}

// A statement of its own on the system database and its transaction.
struct TDefQuery {
  TIBSQL q;
  TDefQuery() {
    q.SetDatabase(&SystemStore().IBDatabaseDEF);
    q.SetTransaction(&SystemStore().IBTransactionDEF);
  }
};

}  // namespace

int ShowErrorBox(const std::string& Text, bool YesButton) {
  TMessage2InfoRec info;
  InitMessage2Info(kMsgError, info);
  info.Buttons = YesButton ? MsgButtons({mbYes}) : MsgButtons({mbOK});
  const std::vector<std::string> lines = SplitString(Text, '\r');
  std::size_t n = 0;
  for (const std::string& line : lines) {
    if (n == info.Lines.size()) break;
    info.Lines[n++].Text = line;
  }
  // A trailing "\r" adds no empty last line.
  while (n > 1 && info.Lines[n - 1].Text.empty()) info.Lines[--n].Text.clear();
  return ShowMessageBox2(info);
}

bool ConnectSystemDb() {
  try {
    SystemStore().IBDatabaseDEF.Close();
    return SystemStore().fnAccDefConnected(SystemDef.HostName, false);
  } catch (const EIBError& e) {
    const std::int32_t code = e.IBErrorCode();
    if (code == ibcodes::kIoError || code == ibcodes::kNetworkError)
      ShowLines(kMsgInformation, CausesOfKind(ConnectKind), MsgButtons({mbOK}));
    else
      ShowLines(kMsgInformation,
                {kConnectFailed, "[例外内容]",
                 Format("(IBXエラーコード:%d) %s", code, FbErrorMessage(code, e.SQLCode()))},
                MsgButtons({mbOK}));
  } catch (const std::exception& e) {
    ShowLines(kMsgInformation, {kConnectFailed, "[例外内容]", e.what()}, MsgButtons({mbOK}));
  }
  return false;
}

TLogonAnswer RunLogonTest(std::int32_t OpCode, const std::string& Password, std::int32_t AppVersion) {
  TDefQuery d;
  d.q.SQL.SetText(std::string("SELECT NUM,LOGINCODE,JOBLEVEL FROM ") +
                  (ConnectKind == 2 ? "TE_LOGONUSERTEST" : "LOGONUSERTEST") +
                  "(:PCNAME,:GROUPID,:OPCODE,:APPVERSION,:PASWORD)");
  d.q.ParamByName("PCNAME").AsString(ConnectKind == 2 ? SystemDef.WinUserName : SystemDef.PcName);
  d.q.ParamByName("GROUPID").AsInteger(SystemDef.GroupId);
  d.q.ParamByName("OPCODE").AsInteger(OpCode);
  d.q.ParamByName("APPVERSION").AsInteger(AppVersion);
  d.q.ParamByName("PASWORD").AsString(Password);
  d.q.ExecQuery();
  TLogonAnswer answer;
  if (!d.q.Eof()) {
    answer.Num = d.q.FieldByName("NUM").AsInteger();
    answer.LoginCode = d.q.FieldByName("LOGINCODE").AsInteger();
    answer.JobLevel = d.q.FieldByName("JOBLEVEL").AsInteger();
  } else {
    answer.Num = -1;
  }
  d.q.Close();
  return answer;
}

namespace {

// Reads the operator's row with Read for each row found; its own transaction
// when none is active; an error ends it and keeps what was read.
template <class Read>
void ReadOperatorRow(const char* sql, std::int32_t LoginCode, Read read) {
  TDefQuery d;
  TTransactionGuard scope(SystemStore().IBTransactionDEF);
  try {
    scope.Begin();
    d.q.SQL.SetText(sql);
    d.q.ParamByName("GROUPID").AsInteger(SystemDef.GroupId);
    d.q.ParamByName("OPCODE").AsInteger(LoginCode);
    for (d.q.ExecQuery(); !d.q.Eof(); d.q.Next()) read(d.q);
    d.q.Close();
    scope.Commit();
  } catch (...) {  // what was read before the error is kept (see above)
    d.q.Close();
    scope.Rollback();
  }
}

}  // namespace

void ReadOperatorName(std::int32_t LoginCode) {
  SystemDef.OpName.clear();
  SystemDef.Jimusho = 0;
  ReadOperatorRow("SELECT OPNAME,JIMUSHO,OKINIIRI FROM OPERATOR\nWHERE GROUPID=:GROUPID\nAND OPCODE=:OPCODE", LoginCode,
                  [](TIBSQL& q) {
                    SystemDef.OpName = q.FieldByName("OPNAME").AsTrimString();
                    SystemDef.Jimusho = q.FieldByName("JIMUSHO").AsInteger() == 1 ? 1 : 0;
                  });
}

void ReadOperatorRights(std::int32_t LoginCode) {
  SystemDef.MyNumberAdmin = 0;
  SystemDef.Approver = 0;
  ReadOperatorRow("SELECT MYNUMBER_ADM,SHONIN FROM OPERATOR\nWHERE (GROUPID=:GROUPID) AND (OPCODE=:OPCODE)", LoginCode,
                  [](TIBSQL& q) {
                    SystemDef.MyNumberAdmin = q.FieldByName("MYNUMBER_ADM").AsInteger() == 1 ? 1 : 0;
                    SystemDef.Approver = q.FieldByName("SHONIN").AsInteger() == 1 ? 1 : 0;
                  });
}

namespace {

void ApplyAnswer(const TLogonAnswer& answer, int Kind) {
  SystemDef.OpCode = SystemDef.GroupId * 10000 + answer.LoginCode;
  ReadOperatorName(answer.LoginCode);
  SystemDef.JobLevel = answer.JobLevel;
  SystemDef.LoginCode = answer.LoginCode;
  ReadOperatorRights(answer.LoginCode);
  SystemDef.ServerWorkDir = (Kind == 1 || Kind == 2) ? ServerWorkDirOf(SystemDef.SysDir) : "";
  if (OemKind == 2) {
    SystemDef.JobLevel = 0;
    SystemDef.Jimusho = 0;
  }
  WriteConnectType(Kind);
}

}  // namespace

TLogonOutcome OperatorLogon(const TLogonInput& Input) {
  const int kind = Input.Kind;
  if (!ReadIniSection(kind)) {
    ShowErrorBox(kMsgIniReadFailed);
    return TLogonOutcome::StayOpen;
  }
  if (Input.GroupShown) {
    SystemDef.GroupId = StrToIntDef(Trim(Input.GroupText), 0);
    if (SystemDef.GroupId > 99999 || SystemDef.GroupId < 0) SystemDef.GroupId = 0;
  }
  const int code = StrToIntDef(Trim(Input.OpCodeText), 0);
  if (code <= 9) {
    ShowErrorBox(kMsgWrongCodeOrPassword);
    return TLogonOutcome::FocusCode;
  }
  if (kind == 1 || kind == 2) {
    const std::string hint = kind == 1 ? "[サーバー設定]ボタンを押して正しい情報を入力して下さい。"
                                       : "[データサーバーの設定]を起動し正しい情報を入力して下さい。";
    if (SystemDef.HostName.empty()) {
      ShowErrorBox(std::string("データサーバーのコンピュータ名が設定されていません。\r") + hint);
      return TLogonOutcome::StayOpen;
    }
    if (SystemDef.SysDir.empty()) {
      ShowErrorBox(std::string("データサーバー上のデータパスが設定されていません。\r") + hint);
      return TLogonOutcome::StayOpen;
    }
  }
  if (!ConnectSystemDb()) return TLogonOutcome::StayOpen;

  TTransactionGuard scope(SystemStore().IBTransactionDEF);
  const std::string fatal = Format("ログイン処理に失敗しました。\r%sを終了します。", SystemDef.AppTitle);
  try {
    scope.Begin();
    SystemDef.OpCode = 0;
    const TLogonAnswer answer = RunLogonTest(code, Input.Password, 2);
    scope.Commit();
    switch (answer.Num) {
      case 0:
      case 1:
        ApplyAnswer(answer, kind);
        return TLogonOutcome::LoggedOn;
      case -1:
        ShowErrorBox(kMsgWrongCodeOrPassword);
        return TLogonOutcome::FocusCode;
      case -3:
        ShowErrorBox(kMsgAlreadyLoggedOn);
        return TLogonOutcome::StayOpen;
      default:
        return TLogonOutcome::StayOpen;
    }
  } catch (const EIBError& e) {
    scope.Rollback();
    ShowFbError(e, "TLogonBox.OKBtnClick", "", true);
    ShowErrorBox(fatal);
  } catch (const std::exception& e) {
    scope.Rollback();
    ShowErrorDetail(fatal, e.what(), kMsgError);
  }
  return TLogonOutcome::Fatal;
}
