// The error reporter: the code table, the two error logs written from a real
// database error, what is shown, the end on an internal failure, and the
// companions ShowErrorDetail and ShowMessageLines.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/globals.h"
#include "dbaccess/fberror.h"
#include "dbaccess/fberrortable.h"
#include "dmtest.h"
#include "platform/rtl/cp932.h"

using namespace dmtest;

namespace {

std::string ReadUtf8(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return Cp932ToUtf8(s.str());
}

int CountLines(const std::string& text) {
  int n = 0;
  for (std::size_t p = text.find("\r\n"); p != std::string::npos; p = text.find("\r\n", p + 2)) ++n;
  return n;
}

}  // namespace

TEST(FbErrorTable, ExplainsCodesWithTheirConditions) {
  struct Case {
    int status;
    int sqlCode;
    const char* text;
  };
  const Case cases[] = {
      {335544721, -902, " "},
      {335544788, -901, "（操作を実行することができません。データベースのSYSDBAか所有者のどちらかでなければなりません。）"},
      {335544788, -551, " "},
      {335544788, 0, " "},
      {336330817, -902, "（ディレクトリ名・データーベスに全角文字は使用できません。）"},
      {336330817, -901, " "},
      {335544335, 0, "（データベースファイルが破損している可能性があります"},
      {335544450, 0, " "},
      {335544379, 0, " "},
      {335544665, -803, "（同じコードが登録されています。「PRIMARY KEY またはUNIQUE KEY 制約に違反」）"},
      {335544333, 0, "（isc 内部のソフトウェア一貫性チェック）"},
      {335544384, 0, "（内部エラー）"},
      {335544579, 0, "（内部エラー）"},
      {0, 0, " "},
  };
  for (const Case& c : cases) EXPECT_EQ(FbErrorMessage(c.status, c.sqlCode), c.text) << c.status << " " << c.sqlCode;
}

TEST(FbErrorTable, EveryRowButOneHasAParenthesisedText) {
  int rows = 0, texts = 0;
  for (int code = 335544300; code < 335544800; ++code) {
    const std::string t = FbErrorMessage(code, code == 335544788 ? -901 : 0);
    if (t == " ") continue;
    ++rows;
    if (t.rfind("（", 0) == 0) ++texts;
  }
  rows += FbErrorMessage(336330766, 0) != " ";
  rows += FbErrorMessage(336330817, -902) != " ";
  EXPECT_EQ(rows, 367);
  EXPECT_EQ(texts, 365);
}

TEST(ShowErrorDetailTest, JoinsMessageHeadingAndDetail) {
  std::vector<std::pair<std::string, int>> shown;
  DbUi.MessageDlg = [&](const std::string& t, int k) { shown.emplace_back(t, k); };
  ShowErrorDetail("", "", kMsgError);
  ShowErrorDetail("", "detail", kMsgWarning);
  ShowErrorDetail("msg", "", kMsgInformation);
  ShowErrorDetail("msg", "detail", kMsgError);
  ShowMessageLines("a,,c", kMsgWarning);
  ShowMessageLines("x,y // comment", kMsgError);
  DbUi = TDbUiServices{};
  ASSERT_EQ(shown.size(), 5u);
  EXPECT_EQ(shown[0], std::make_pair(std::string("\r\r[詳細情報]\rdetail"), int(kMsgWarning)));
  EXPECT_EQ(shown[1], std::make_pair(std::string("msg"), int(kMsgInformation)));
  EXPECT_EQ(shown[2].first, "msg\r\r[詳細情報]\rdetail");
  EXPECT_EQ(shown[3].first, "a\r\rc\r");
  EXPECT_EQ(shown[4].first, "x\ry \r");
}

class ErrorReporter : public DmTest {
 protected:
  // A real database error: a duplicate key in the connected data set.
  EIBError RealError() {
    ConnectDataSet(1);
    try {
      ExecOn(DataFolder(1) + "/rqacc.fdb", "INSERT INTO ACCVERSION(REC,MAJOR,MINOR1,MINOR2) VALUES(1,1,1,1)");
    } catch (const EIBError& e) {
      return e;
    }
    ADD_FAILURE() << "no error";
    return EIBError("", 0, 0);
  }
  std::string LogFile() const { return SystemDef.LogDir + "/ErrFbAccess.log"; }
  std::string TxtFile() const { return SystemDef.LogDir + "/ErrFbAccess.txt"; }
};

TEST_F(ErrorReporter, LogsTwoLinesPerErrorAndShowsOnlyWithAMessage) {
  SystemDef.HostName = "";
  SystemDef.Serial = "S1";
  SystemDef.AppVer = "1.2";
  DataVer = "11.1.0";
  const EIBError e = RealError();
  ASSERT_EQ(e.IBErrorCode(), 335544665);

  ShowFbError(e, "TDM.Test", "", true);
  EXPECT_TRUE(shown_.empty());
  ShowFbError(e, "TDM.Second", "保存に失敗しました。", true);
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].kind, kMsgError);
  EXPECT_EQ(shown_[0].text.rfind("保存に失敗しました。\r\r[詳細情報]\rIBXエラーコード:335544665\r", 0), 0u);
  EXPECT_NE(shown_[0].text.find("（同じコードが登録されています。"), std::string::npos);

  const std::string log = ReadUtf8(LogFile());
  const std::string txt = ReadUtf8(TxtFile());
  EXPECT_GE(CountLines(log), 4);
  const std::string firstLinePrefix = ",testpc,100000010,Serial=S1,AppVer=1.2,DBName=:" + DataFolder(1) + "/rqacc.fdb,DataVer=11.1.0\r\n";
  EXPECT_NE(log.find(firstLinePrefix), std::string::npos) << log;
  EXPECT_NE(log.find("Error=TDM.Test [335544665] (-803) （同じコードが登録されています。"), std::string::npos);
  EXPECT_EQ(txt.find("TDM.Test"), std::string::npos) << "the .txt file holds only the last error";
  EXPECT_EQ(txt.find("Error=TDM.Second [335544665] (-803) "), txt.find("\r\n") + 2);
  EXPECT_EQ(txt.substr(4, 1), "/");
  EXPECT_EQ(txt.substr(19, 2), ",t") << "date and time as yyyy/mm/dd hh:nn:ss";
}

TEST_F(ErrorReporter, NoDataSetEverConnectedLeavesTheColonAlone) {
  SystemDef.HostName = "";
  ShowFbError(EIBError("boom", -901, 335544344), "TDM.X", "", true);
  EXPECT_NE(ReadUtf8(TxtFile()).find(",DBName=:,DataVer=\r\n"), std::string::npos);
}

TEST_F(ErrorReporter, AnUnwritableLogFolderStillShowsTheError) {
  SystemDef.LogDir = temp_.File("missing/log");
  ShowFbError(EIBError("boom", -901, 335544344), "TDM.X", "失敗しました。", true);
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].text.rfind("失敗しました。", 0), 0u);
}

TEST_F(ErrorReporter, AnInternalFailureEndsTheProgramAndSilencesLaterErrors) {
  struct Case {
    int connectKind;
    bool note;
  };
  for (const Case c : {Case{0, true}, Case{1, false}}) {
    DbFatalError = 0;
    shown_.clear();
    terminateRequests_ = 0;
    std::filesystem::remove(LogFile());
    ConnectKind = static_cast<std::uint8_t>(c.connectKind);
    ShowFbError(EIBError("bugcheck", -902, 335544333), "TDM.X", "", true);
    EXPECT_EQ(DbFatalError, 1);
    EXPECT_EQ(terminateRequests_, 1);
    ASSERT_EQ(shown_.size(), 1u);
    const std::string expected = std::string("（isc 内部のソフトウェア一貫性チェック）") + kFatalEndText +
                                 (c.note ? kStandAloneNote : "");
    EXPECT_EQ(shown_[0].text, expected);
    const std::string before = ReadUtf8(LogFile());
    ShowFbError(EIBError("later", -901, 335544344), "TDM.Y", "見せない", true);
    EXPECT_EQ(ReadUtf8(LogFile()), before);
    EXPECT_EQ(shown_.size(), 1u);
  }
  ConnectKind = 0;
}

TEST_F(ErrorReporter, ANetworkLossWithoutRecoveryIsOnlyLogged) {
  ShowFbError(EIBError("net", -902, kFbStatusNetworkLoss), "TDM.fnAccDatConnected", "接続失敗", false);
  EXPECT_TRUE(shown_.empty());
  EXPECT_EQ(DbFatalError, 0);
  EXPECT_NE(ReadUtf8(TxtFile()).find("[335544721]"), std::string::npos);
}
