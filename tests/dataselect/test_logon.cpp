// The operator logon against the real logon check of the system database:
// the right code and password, a wrong password, codes of 9 or less, an
// operator logged on from another computer, the client kind (embedded
// through 127.0.0.1, and over TCP to the server), and connection failures.
#include <filesystem>

#include "core/globals.h"
#include "dataselect/connsettings.h"
#include "dataselect/logon.h"
#include "dbaccess/systemstore.h"
#include "dstest.h"
#include "platform/rtl/inifile.h"

namespace {

using dstest::DsTest;

class LogonTest : public DsTest {
 protected:
  TLogonOutcome Logon(int kind, const std::string& code, const std::string& password) {
    ConnectKind = static_cast<std::uint8_t>(kind);
    TLogonInput input;
    input.Kind = kind;
    input.OpCodeText = code;
    input.Password = password;
    return OperatorLogon(input);
  }
  std::string Connect() {
    TIniFile ini(SystemDef.ConnectIniFile);
    return ini.ReadString("APPLICATION", "CONNECT", "");
  }
  void ServerSection(const std::string& host, const std::string& sysDir) {
    TIniFile ini(SystemDef.ConnectIniFile);
    ini.WriteString("SERVER", "HOSTNAME", host);
    ini.WriteString("SERVER", "SYSDIR", sysDir);
  }
  std::string LogonRows() {
    std::string rows;
    for (const std::string& r : RowsDef("SELECT OPCODE,PCNAME FROM LOGONUSERLIST ORDER BY OPCODE")) rows += r + ";";
    return rows;
  }
};

TEST_F(LogonTest, RightCodeAndPasswordFillTheOperatorFields) {
  struct Case {
    const char* code;
    const char* password;
    int loginCode;
    const char* name;
    int jobLevel, jimusho, myNumber, approver;
  } cases[] = {
      {"10", "test10", 10, "試験担当", 9, 1, 1, 0},
      {"0011", "Pass11", 11, "一般担当", 3, 0, 0, 1},  // "0011" counts as 11
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    ASSERT_EQ(Logon(0, c.code, c.password), TLogonOutcome::LoggedOn);
    EXPECT_EQ(SystemDef.OpCode, 10000 * 10000 + c.loginCode);
    EXPECT_EQ(SystemDef.LoginCode, c.loginCode);
    EXPECT_EQ(SystemDef.OpName, c.name);
    EXPECT_EQ(SystemDef.JobLevel, c.jobLevel);
    EXPECT_EQ(SystemDef.Jimusho, c.jimusho);
    EXPECT_EQ(SystemDef.MyNumberAdmin, c.myNumber);
    EXPECT_EQ(SystemDef.Approver, c.approver);
    EXPECT_EQ(SystemDef.ServerWorkDir, "");
    EXPECT_EQ(Connect(), "0");
  }
  EXPECT_EQ(LogonRows(), "100000010|testpc;100000011|testpc;");
  EXPECT_TRUE(BoxTexts().empty());
  // The program removes its logon row when it ends.
  SystemDef.OpCode = 100000010;
  SystemStore().DeleteLogonInfo();
  EXPECT_EQ(LogonRows(), "100000011|testpc;");
}

TEST_F(LogonTest, WrongPasswordAndShortCodesAreRefusedWithoutWriting) {
  struct Case {
    const char* code;
    const char* password;
    bool connects;
  } cases[] = {
      {"10", "TEST10", true},    // the password is compared with its case
      {"10", "test10 ", true},   // and as typed, not trimmed
      {"99", "test10", true},    // no such operator
      {"9", "test10", false},    // refused before any database access
      {"", "test10", false},
      {"abc", "test10", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.code) + "/" + c.password);
    SystemStore().IBDatabaseDEF.Close();
    responder_.Clear();
    EXPECT_EQ(Logon(0, c.code, c.password), TLogonOutcome::FocusCode);
    EXPECT_EQ(SystemStore().IBDatabaseDEF.Connected(), c.connects);
    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_EQ(BoxTexts()[0], "コードまたはパスワードが違います。\r正しいコードまたはパスワードを入力して下さい。");
    EXPECT_EQ(responder_.Shown()[0].caption, "エラー");
    EXPECT_EQ(responder_.Shown()[0].buttons, std::vector<std::string>{"OK(&O)"});
  }
  EXPECT_EQ(LogonRows(), "");
  EXPECT_EQ(SystemDef.OpCode, 0);
}

TEST_F(LogonTest, AnOperatorLoggedOnFromAnotherComputerIsRefused) {
  // A second attachment: the operator logs on from another computer.
  EXPECT_EQ(QueryDef("SELECT NUM FROM LOGONUSERTEST('otherpc', 10000, 12, 2, 'test12')"), "0");
  EXPECT_EQ(Logon(0, "12", "test12"), TLogonOutcome::StayOpen);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"指定したユーザーは既にシステムへログインしているため、ログインできませんでした。"});
  EXPECT_EQ(LogonRows(), "100000012|otherpc;");
  EXPECT_EQ(Connect(), "0");
  // The same computer logs on again (NUM 1).
  SystemDef.PcName = "otherpc";
  EXPECT_EQ(Logon(0, "12", "test12"), TLogonOutcome::LoggedOn);
}

TEST_F(LogonTest, ClientLogonThroughTheLoopbackAddressRecordsTheClientKind) {
  ServerSection("127.0.0.1", sysDir_);
  ASSERT_EQ(Logon(1, "10", "test10"), TLogonOutcome::LoggedOn);
  EXPECT_EQ(Connect(), "1");
  EXPECT_EQ(SystemDef.ServerWorkDir, root_ + "/appdata/norvane/corvexzaimu/temp");
  EXPECT_EQ(SystemStore().IBDatabaseDEF.DatabaseName, sysDir_ + "/rqaccdef.fdb");
}

TEST_F(LogonTest, ClientLogonOverTcp) {
  const std::string server = dstest::ServerHost();
  if (server.empty()) GTEST_SKIP() << "VERUDA_TEST_FB_SERVER is not set";
  for (const std::string& host : {std::string("localhost"), server}) {
    SCOPED_TRACE(host);
    if (SystemStore().IBDatabaseDEF.Connected()) {
      SystemDef.OpCode = 100000010;
      SystemStore().DeleteLogonInfo();
      SystemStore().IBDatabaseDEF.Close();
    }
    // "127.0.0.1" names the local file; any other host goes over TCP.
    const std::string written = host == "127.0.0.1" ? "localhost" : host;
    ServerSection(written, sysDir_);
    TIniFile(SystemDef.ConnectIniFile).WriteString("APPLICATION", "CONNECT", "0");
    ASSERT_EQ(Logon(1, "10", "test10"), TLogonOutcome::LoggedOn);
    EXPECT_EQ(SystemStore().IBDatabaseDEF.DatabaseName, written + ":" + sysDir_ + "/rqaccdef.fdb");
    EXPECT_EQ(Connect(), "1");
    EXPECT_EQ(SystemDef.OpName, "試験担当");
  }
  SystemDef.OpCode = 100000010;
  SystemStore().DeleteLogonInfo();
  SystemStore().IBDatabaseDEF.Close();
}

TEST_F(LogonTest, ClientKindWithoutServerSettingsIsRefusedBeforeConnecting) {
  ServerSection("", sysDir_);
  EXPECT_EQ(Logon(1, "10", "test10"), TLogonOutcome::StayOpen);
  ServerSection("dbhost", "");
  EXPECT_EQ(Logon(1, "10", "test10"), TLogonOutcome::StayOpen);
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{
                            "データサーバーのコンピュータ名が設定されていません。\r[サーバー設定]ボタンを押して正しい情報を入力して下さい。",
                            "データサーバー上のデータパスが設定されていません。\r[サーバー設定]ボタンを押して正しい情報を入力して下さい。"}));
  EXPECT_FALSE(SystemStore().IBDatabaseDEF.Connected());
  EXPECT_EQ(Connect(), "0");
}

TEST_F(LogonTest, AFailedConnectionListsTheCausesOfTheKindAndStaysOpen) {
  // Stand-alone: the system database's folder does not exist.
  TIniFile(SystemDef.ConnectIniFile).WriteString("LOCAL", "SYSDIR", root_ + "/missing");
  EXPECT_EQ(Logon(0, "10", "test10"), TLogonOutcome::StayOpen);
  // Client: a server that does not answer (or has no such file).
  ServerSection("localhost/1", root_ + "/missing");
  EXPECT_EQ(Logon(1, "10", "test10"), TLogonOutcome::StayOpen);
  const std::vector<std::string> boxes = BoxTexts();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0],
            "ログイン処理に失敗しました。以下の理由が考えられます。\r１）データファイルが見つからない。\r"
            "２）別のプロセスがデータファイルを使用中。");
  EXPECT_EQ(boxes[1].substr(0, boxes[1].find("\r３）")),
            "ログイン処理に失敗しました。以下の理由が考えられます。\r"
            "１）サーバー上でFireBirdサービスが起動しているか確認して下さい。\r"
            "２）ログイン画面の[サーバー設定]ボタンを押して正しい情報が設定されているか確認して下さい。");
  EXPECT_EQ(responder_.Shown()[0].caption, "情報");
  EXPECT_EQ(Connect(), "0");
}

}  // namespace
