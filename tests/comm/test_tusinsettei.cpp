// The communication-settings dialog and the password dialog on a real data
// set, shown offscreen and driven through the dialog responder: the ID mask
// and its 14-character rule, the password rules, the cloud radio buttons and
// area choice, and the values written to ACCDEF1, TUSIN_ID and ACCREG and read
// back.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

#include "comm/commsettings.h"
#include "comm/tusinsettei.h"
#include "core/globals.h"
#include "dbaccess/datasetconnection.h"
#include "dmtest.h"
#include "platform/vcl/application.h"
#include "platform/vcl/responder.h"
#include "ui/xedit.h"
#include "ui/xmaskedit.h"

namespace {

TEST(TusinSetteiText, CommIdMaskAndKeyFilter) {
  struct Case {
    const char* masked;
    const char* stored;
  } cases[] = {
      {"abcd-1234-5678", "abcd12345678"},
      {"ab  -1234-5678", "ab  12345678"},
      {"    -    -    ", "            "},
  };
  for (const Case& c : cases) EXPECT_EQ(StoredCommId(c.masked), c.stored) << c.masked;
  EXPECT_EQ(MaskedCommId("abcd12345678"), "abcd-1234-5678");
  EXPECT_EQ(MaskedCommId(" abcd 1234 5678 "), "abcd-1234-5678");  // spaces removed first
  EXPECT_EQ(MaskedCommId("abcd1234567"), "");                     // not 12 characters: shown empty
  EXPECT_EQ(MaskedCommId("abcd123456789"), "");
  for (char16_t ch : {u'a', u'Z', u'0', u'9', char16_t(13), char16_t(3), char16_t(8), char16_t(22)})
    EXPECT_TRUE(TusinKeyAccepted(ch)) << int(ch);
  for (char16_t ch : {u' ', u'-', u'_', u'!', u'ａ', char16_t(27)}) EXPECT_FALSE(TusinKeyAccepted(ch)) << int(ch);
}

class TusinSetteiTest : public dmtest::DmTest {
 protected:
  void SetUp() override {
    DmTest::SetUp();
    EnsureApplication();
    responder_ = std::make_unique<ScriptedResponder>(mrCancel);
    responder_->Install();
    ExecOn(Db(), "UPDATE ACCDEF1 SET WEB_HOLDER='abcd12345678', PASWORD='pw1', CLOUD_LINE=0 WHERE REC=1");
    ExecOn(Db(), "UPDATE OR INSERT INTO TUSIN_ID (REC, HOLDER, PASWORD) VALUES (1, 'genk00001111', 'gp1') MATCHING (REC)");
    savedAppKind_ = AppKind;
    savedOemKind_ = OemKind;
    AppKind = 0;
    OemKind = 0;
  }
  void TearDown() override {
    dialog_.reset();
    responder_.reset();
    AppKind = savedAppKind_;
    OemKind = savedOemKind_;
    DmTest::TearDown();
  }
  std::string Db() const { return DataFolder(1) + "/rqacc.fdb"; }
  std::string Query(const std::string& sql) {
    const bool was = DataSetConnection().IBDatabaseDAT.Connected();
    if (!was) ConnectDataSet(1);
    const std::string v = QueryDat(sql);
    if (!was) DataSetConnection().AccDatDisconnect(DataFolder(1), false, false);
    return v;
  }
  TfrmTusinSettei& Dialog() {
    if (!dialog_) dialog_ = std::make_unique<TfrmTusinSettei>();
    return *dialog_;
  }
  // Runs the dialog in Mode on the connected data set 1; Drive acts on it.
  int RunMode(int mode, std::function<void(TfrmTusinSettei&)> drive) {
    ConnectDataSet(1);
    DataSetConnection().fnGetAccInfo();
    Dialog().SyoriType = mode;
    responder_->Then([drive](const ShownDialog& shown) {
      drive(*static_cast<TfrmTusinSettei*>(shown.window));
      return mrNone;
    });
    const int r = Dialog().Execute(true);
    DataSetConnection().AccDatDisconnect(DataFolder(1), false, false);
    return r;
  }
  bool Shown(const std::string& text) const {
    for (const ShownDialog& d : responder_->Shown())
      for (const std::string& l : d.lines)
        if (l.find(text) != std::string::npos) return true;
    return false;
  }
  static void Type(QWidget* w, const char* text) {
    w->setFocus();
    QTest::keyClicks(w, QString::fromUtf8(text));
  }

  std::unique_ptr<ScriptedResponder> responder_;
  std::unique_ptr<TfrmTusinSettei> dialog_;
  std::uint8_t savedAppKind_ = 0, savedOemKind_ = 0;
};

TEST_F(TusinSetteiTest, Mode1StoresIdPasswordAndDumpFlagAndReadsThemBack) {
  std::string shownId;
  bool boxShown = false, radioShown = true;
  RunMode(1, [&](TfrmTusinSettei& d) {
    shownId = d.IdText();
    boxShown = d.CheckBox1->isVisibleTo(&d);
    radioShown = d.RadioButton1->isVisibleTo(&d);
    d.txtConID->clear();
    d.txtConID->setCursorPosition(0);
    Type(d.txtConID, "wx-yz!9876_5432 10");  // "-", "!", "_" and spaces are dropped; the mask adds its own "-"
    d.txtConPasswd->clear();
    Type(d.txtConPasswd, "NEW 9");
    d.CheckBox1->setChecked(true);
    d.F12Click();
  });
  EXPECT_EQ(shownId, "abcd-1234-5678");
  EXPECT_TRUE(boxShown);
  EXPECT_FALSE(radioShown);
  EXPECT_EQ(Query("SELECT WEB_HOLDER FROM ACCDEF1 WHERE REC=1"), "wxyz98765432");
  EXPECT_EQ(Query("SELECT PASWORD FROM ACCDEF1 WHERE REC=1"), "NEW9");
  EXPECT_EQ(Query("SELECT ATEXT FROM ACCREG WHERE AGROUP='通信設定' AND ACODE='クラウド区分'"), "1");

  bool ticked = false;
  std::string idAgain;
  RunMode(1, [&](TfrmTusinSettei& d) {
    ticked = d.CheckBox1->isChecked();
    idAgain = d.IdText();
    d.ESCClick();
    d.done(mrCancel);
  });
  EXPECT_TRUE(ticked);
  EXPECT_EQ(idAgain, "wxyz-9876-5432");
}

TEST_F(TusinSetteiTest, PasswordWithSpaceAndShortIdAreRefusedOnClosing) {
  ExecOn(Db(), "UPDATE ACCDEF1 SET WEB_HOLDER='abc' WHERE REC=1");  // not 12 characters: shown empty
  std::string shownId = "?";
  RunMode(1, [&](TfrmTusinSettei& d) {
    shownId = d.IdText();
    d.txtConPasswd->setText("a b");
    d.F12Click();  // refused: the password holds a space
    EXPECT_TRUE(d.isVisible());
    d.txtConPasswd->setText("ab");
    responder_->Then(mrNo);  // "通信設定を終了しますか？" No: stays open
    d.F12Click();
    EXPECT_TRUE(d.isVisible());
    responder_->Then(mrYes);
    d.F12Click();
  });
  EXPECT_EQ(shownId, "    -    -    ");
  EXPECT_TRUE(Shown("パスワードはスペース（空白）なしの英数６桁以内で入力して下さい。"));
  EXPECT_TRUE(Shown("通信設定を終了しますか？"));
  EXPECT_EQ(Query("SELECT PASWORD FROM ACCDEF1 WHERE REC=1"), "ab");
  EXPECT_EQ(Query("SELECT '[' || WEB_HOLDER || ']' FROM ACCDEF1 WHERE REC=1"), "[            ]");
}

TEST_F(TusinSetteiTest, Mode2KeepsTheCashBookIdInTusinId) {
  std::string shownId, caption;
  bool boxShown = true;
  RunMode(2, [&](TfrmTusinSettei& d) {
    shownId = d.IdText();
    caption = d.windowTitle().toStdString();
    boxShown = d.CheckBox1->isVisibleTo(&d);
    d.SetIdText("cash-0000-2222");
    d.txtConPasswd->setText("gp2");
    d.F12Click();
  });
  EXPECT_EQ(shownId, "genk-0000-1111");
  EXPECT_EQ(caption, "現金出納帳通信設定");
  EXPECT_FALSE(boxShown);
  EXPECT_EQ(Query("SELECT HOLDER || '/' || PASWORD FROM TUSIN_ID WHERE REC=1"), "cash00002222/gp2");
  EXPECT_EQ(Query("SELECT WEB_HOLDER FROM ACCDEF1 WHERE REC=1"), "abcd12345678");  // untouched
  EXPECT_EQ(AccInf.TusinHolder[1], "cash00002222");
}

TEST_F(TusinSetteiTest, Mode2IsRefusedOnDataWithApprovedJournals) {
  ConnectDataSet(1);
  const std::string journals = QueryDat("SELECT COUNT(*) FROM SIWAKE");
  DataSetConnection().AccDatDisconnect(DataFolder(1), false, false);
  if (journals == "0") ExecOn(Db(), "INSERT INTO SIWAKE (SWKREC) VALUES (1)");
  ExecOn(Db(), "INSERT INTO SIWAKE_SHONIN (SWKREC, SHONIN_OPCODE) SELECT FIRST 1 SWKREC, 10 FROM SIWAKE");
  ConnectDataSet(1);
  Dialog().SyoriType = 2;
  EXPECT_EQ(Dialog().Execute(true), -1);
  DataSetConnection().AccDatDisconnect(DataFolder(1), false, false);
  EXPECT_TRUE(Shown("現金出納帳通信処理は行えません。"));
}

TEST_F(TusinSetteiTest, Mode5EscStoresNothingAndReturns9) {
  ExecOn(Db(), "UPDATE ACCDEF1 SET CLOUD_LINE=4 WHERE REC=1");
  TCloudShareChoice choice;
  std::string area;
  bool useChecked = false;
  responder_->Then([&](const ShownDialog& shown) {
    auto& d = *static_cast<TfrmTusinSettei*>(shown.window);
    area = d.Label5->text().toStdString();
    useChecked = d.RadioButton1->isChecked();
    d.SetIdText("zzzz-zzzz-zzzz");
    d.txtConPasswd->setText("x");
    d.ESCClick();
    return mrNone;
  });
  EXPECT_EQ(Dialog().OpenCloudShareSettings(DataFolder(1), choice), 9);
  EXPECT_EQ(area, "領域選択：　　 No. 4");
  EXPECT_TRUE(useChecked);
  EXPECT_EQ(Query("SELECT WEB_HOLDER || '/' || PASWORD || '/' || CLOUD_LINE FROM ACCDEF1 WHERE REC=1"),
            "abcd12345678/pw1/4");
  EXPECT_FALSE(DataSetConnection().IBDatabaseDAT.Connected());
}

TEST_F(TusinSetteiTest, Mode5NotUsingTheCloudAfterConfirmationStoresArea0) {
  ExecOn(Db(), "UPDATE ACCDEF1 SET CLOUD_LINE=4 WHERE REC=1");
  TCloudShareChoice choice;
  choice.Slot = 7;
  responder_->Then([&](const ShownDialog& shown) {
    auto& d = *static_cast<TfrmTusinSettei*>(shown.window);
    d.RadioButton2->setChecked(true);
    responder_->Then(mrNo);  // "クラウドシェアを解除します。よろしいですか？" No keeps it open
    d.F12Click();
    EXPECT_TRUE(d.isVisible());
    responder_->Then(mrYes);
    d.F12Click();
    return mrNone;
  });
  EXPECT_EQ(Dialog().OpenCloudShareSettings(DataFolder(1), choice), 0);
  EXPECT_EQ(choice.Slot, 0);
  EXPECT_TRUE(Shown("クラウドシェアを解除します。よろしいですか？"));
  EXPECT_EQ(Query("SELECT CLOUD_LINE FROM ACCDEF1 WHERE REC=1"), "0");
}

TEST_F(TusinSetteiTest, Mode5AreaButtonChecksStoresTheIdAndTakesTheChosenArea) {
  TCloudShareChoice choice;
  std::vector<std::string> seenIds;
  Dialog().SelectArea = [&](QWidget*, const std::string& folder, std::int32_t mode, bool& empty) {
    EXPECT_EQ(folder, DataFolder(1));
    EXPECT_EQ(mode, 5);
    seenIds.push_back(AccInf.WEB_HOLDER);
    empty = true;
    return 6;
  };
  std::string areaAfterIdChange;
  responder_->Then([&](const ShownDialog& shown) {
    auto& d = *static_cast<TfrmTusinSettei*>(shown.window);
    d.btnKyouyuClick();  // "利用しない" is selected
    d.RadioButton1->setChecked(true);
    d.SetIdText("abcd-1234-567");
    d.btnKyouyuClick();  // 13 characters
    d.SetIdText("efgh-1234-5678");
    d.txtConPasswd->setText("  ");
    d.btnKyouyuClick();  // no password
    d.txtConPasswd->setText("pw9");
    d.CurrentArea = 3;
    d.txtConIDExit();  // a new ID invalidates the area
    areaAfterIdChange = d.Label5->text().toStdString();
    d.btnKyouyuClick();  // stores, chooses area 6 and closes
    return mrNone;
  });
  EXPECT_EQ(Dialog().OpenCloudShareSettings(DataFolder(1), choice), 0);
  EXPECT_TRUE(Shown("「クラウドシェアを利用する」を選択してください。"));
  EXPECT_TRUE(Shown("(-を含めると14桁)"));
  EXPECT_TRUE(Shown("「パスワード」が入力されていません。"));
  EXPECT_EQ(areaAfterIdChange, "領域選択：　　 No. --");
  EXPECT_EQ(seenIds, std::vector<std::string>{"efgh12345678"});
  EXPECT_EQ(choice.Slot, 6);
  EXPECT_EQ(choice.SendNow, 1);
  EXPECT_EQ(Query("SELECT WEB_HOLDER || '/' || PASWORD || '/' || CLOUD_LINE FROM ACCDEF1 WHERE REC=1"),
            "efgh12345678/pw9/6");
}

TEST_F(TusinSetteiTest, Mode6AsksForAnAreaBeforeClosing) {
  std::vector<std::string> shownAreas;
  RunMode(6, [&](TfrmTusinSettei& d) {
    EXPECT_TRUE(d.RadioButton1->isChecked());
    responder_->Then(mrNo);
    d.F12Click();
    EXPECT_TRUE(d.isVisible());
    responder_->Then(mrYes);
    d.F12Click();
  });
  EXPECT_TRUE(Shown("選択せずに、画面を閉じますか？"));
  EXPECT_EQ(Query("SELECT CLOUD_LINE FROM ACCDEF1 WHERE REC=1"), "0");
}

TEST_F(TusinSetteiTest, NoMemberServiceMeansNotConnected) {
  const TCommSettings saved = CommSettings;
  CommSettings.MemberHost = "127.0.0.1";
  CommSettings.MemberPort = 9;  // nothing listens on the discard port here
  CommSettings.ConnectTimeout = 2;
  EXPECT_FALSE(Dialog().IsInternetConnected());
  CommSettings = saved;
  EXPECT_TRUE(Shown("インターネットに接続されていません。"));
}

TEST_F(TusinSetteiTest, OpenCloudShareSettingsRefusesAnEmptyFolder) {
  TCloudShareChoice choice;
  EXPECT_EQ(Dialog().OpenCloudShareSettings("", choice), 9);
  EXPECT_TRUE(responder_->Shown().empty());
}

// The password dialog: OK only with the box ticked and the same password.
TEST_F(TusinSetteiTest, PasswordDialogOkRule) {
  struct Case {
    bool tick;
    const char* typed;
    const char* caption;  // the check box's caption; the caller may change it
    int result;
    const char* message;
  } cases[] = {
      {true, "pw1", "削除処理を実行します", mrOk, nullptr},
      {true, "PW1", "削除処理を実行します", mrCancel, "パスワードが違います。"},
      {true, "", "削除処理を実行します", mrCancel, "パスワードが違います。"},
      {false, "pw1", "削除処理を実行します", mrCancel, "「削除処理を実行します」をチェックしてください。"},
      {false, "pw1", "解除処理を実行します", mrCancel, "「解除処理を実行します」をチェックしてください。"},
  };
  for (const Case& c : cases) {
    responder_->Clear();
    TfmTusinSettiPas pas;
    pas.Label2->setText("pw1");
    pas.CheckBox1->setText(QString::fromUtf8(c.caption));
    responder_->Then([&](const ShownDialog& shown) {
      auto& p = *static_cast<TfmTusinSettiPas*>(shown.window);
      p.CheckBox1->setChecked(c.tick);
      p.txtConPasswd->setText(QString::fromUtf8(c.typed));
      p.btnOKClick();
      if (p.isVisible()) p.done(mrCancel);
      return mrNone;
    });
    EXPECT_EQ(pas.ShowModal(), c.result) << c.typed << " " << c.caption;
    if (c.message) {
      EXPECT_TRUE(Shown(c.message)) << c.message;
    }
  }
}

}  // namespace
