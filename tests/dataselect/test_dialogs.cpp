// The logon window, the connection settings dialog and the password dialog,
// offscreen, with the responder answering their boxes and driving them.
#include <unistd.h>

#include <QLabel>
#include <QListWidget>
#include <QTest>

#include <cstdio>
#include <fstream>

#include "core/globals.h"
#include "dataselect/connsettingsdialog.h"
#include "dataselect/logondialog.h"
#include "dataselect/passworddialog.h"
#include "dbaccess/systemstore.h"
#include "dstest.h"
#include "ui/layoutcheck.h"
#include "platform/rtl/inifile.h"
#include "ui/computerlist.h"
#include "ui/coreservices.h"
#include "ui/plbutton.h"
#include "ui/xcheckbox.h"
#include "ui/xcombobox.h"
#include "ui/xedit.h"

namespace {

using dstest::DsTest;

class DialogTest : public DsTest {
 protected:
  std::string Ini(const char* section, const char* key) {
    return TIniFile(SystemDef.ConnectIniFile).ReadString(section, key, "<missing>");
  }
  static void Type(TxEdit* edit, const std::string& text) { edit->SetText(text); }
};

TEST_F(DialogTest, LogonWindowLogsOnAfterAWrongPassword) {
  TLogonBox box;
  ASSERT_TRUE(box.Created());
  EXPECT_EQ(box.Label1->text().toStdString(), "試験システム を利用するには、");
  EXPECT_EQ(box.Label2->text().toStdString(), "オペレータコードとパスワードを入力して下さい。");
  EXPECT_FALSE(box.GroupEntryShown());
  EXPECT_TRUE(box.btnSA->isChecked());  // CONNECT 0
  responder_.Then([&](const ShownDialog& shown) {
    EXPECT_EQ(shown.kind, "TLogonBox");
    EXPECT_EQ(shown.caption, "ログイン");
    EXPECT_FALSE(box.btnServerSettei->isEnabled());
    Type(box.txtOpCode, "10");
    Type(box.txtPassword, "wrong");
    box.OKBtn->click();  // the error box is answered with OK; the window stays
    EXPECT_TRUE(box.isVisible());
    Type(box.txtPassword, "test10");
    box.OKBtn->click();
    return mrNone;
  });
  EXPECT_EQ(box.Execute(), mrOk);
  ASSERT_EQ(BoxTexts().size(), 2u);
  EXPECT_EQ(BoxTexts()[1], "コードまたはパスワードが違います。\r正しいコードまたはパスワードを入力して下さい。");
  EXPECT_EQ(SystemDef.OpCode, 100000010);
  EXPECT_EQ(Ini("APPLICATION", "CONNECT"), "0");
}

TEST_F(DialogTest, LogonWindowFollowsTheConnectionKindAndCancels) {
  TIniFile(SystemDef.ConnectIniFile).WriteString("APPLICATION", "CONNECT", "1");
  TLogonBox box;
  EXPECT_TRUE(box.btnCS->isChecked());
  EXPECT_EQ(ConnectKind, 1);
  EXPECT_EQ(box.GetSelectedConnectKind(), 1);
  responder_.Then([&](const ShownDialog&) {
    EXPECT_TRUE(box.btnServerSettei->isEnabled());
    box.btnSA->setChecked(true);
    EXPECT_EQ(ConnectKind, 0);
    EXPECT_FALSE(box.btnServerSettei->isEnabled());
    box.CancelBtn->click();
    return mrNone;
  });
  EXPECT_EQ(box.Execute(), mrCancel);
  EXPECT_EQ(Ini("APPLICATION", "CONNECT"), "1");  // a cancelled logon changes nothing
  EXPECT_FALSE(SystemStore().IBDatabaseDEF.Connected());
}

TEST_F(DialogTest, ServerSettingsFromTheLogonWindowThenAClientLogon) {
  TIniFile(SystemDef.ConnectIniFile).WriteString("APPLICATION", "CONNECT", "1");
  TLogonBox box;
  TAppIniCreateBox* settings = box.SettingsDialog();
  responder_.Then([&](const ShownDialog&) {
    box.btnServerSettei->click();  // the settings dialog, answered below
    Type(box.txtOpCode, "10");
    Type(box.txtPassword, "test10");
    box.OKBtn->click();
    return mrNone;
  });
  responder_.Then([&](const ShownDialog& shown) {
    EXPECT_EQ(shown.kind, "TAppIniCreateBox");
    EXPECT_EQ(shown.caption, "データサーバーの設定");
    EXPECT_EQ(settings->txtDataPath->Text(), "/corvexzaimu/data");
    EXPECT_FALSE(settings->txtDataPath->isEnabled());
    EXPECT_EQ(settings->cmbDrive->currentText().toStdString(), "/");  // SERVER has no folder yet
    Type(settings->txtHostName, "   ");
    settings->btnOK->click();  // refused: no host
    EXPECT_TRUE(settings->isVisible());
    Type(settings->txtHostName, "127.0.0.1");
    settings->cmbDrive->setEditText(QString::fromStdString(root_ + "/appdata/norvane/"));
    settings->txtPassWord->SetText("DRAVON");
    settings->btnOK->click();
    return mrNone;
  });
  EXPECT_EQ(box.Execute(), mrOk);
  const std::vector<std::string> boxes = BoxTexts();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[2], "コンピュータ名が指定されていません。\r入力してください。");
  EXPECT_EQ(responder_.Shown()[2].buttons, std::vector<std::string>{"はい(&Y)"});
  EXPECT_EQ(Ini("SERVER", "HOSTNAME"), "127.0.0.1");
  EXPECT_EQ(Ini("SERVER", "SYSDIR"), sysDir_);
  EXPECT_EQ(Ini("SERVER", "PASSWORD"), "dravon");
  EXPECT_EQ(Ini("SERVER", "GOGLOBAL"), "NO");
  EXPECT_EQ(Ini("APPLICATION", "CONNECT"), "1");
  EXPECT_EQ(SystemDef.OpName, "試験担当");
}

TEST_F(DialogTest, ConnectionDialogShowsTheStoredPlaceAndEscapeCancels) {
  TIniFile ini(SystemDef.ConnectIniFile);
  ini.WriteString("SERVER", "HOSTNAME", "dbhost");
  ini.WriteString("SERVER", "SYSDIR", "/srv/Corvex/corvexzaimu/data");
  ini.WriteString("SHAREDRIVES", "F", "/mnt/share");
  ConnectKind = 1;
  TAppIniCreateBox dialog;
  responder_.Then([&](const ShownDialog&) {
    EXPECT_EQ(dialog.txtHostName->Text(), "dbhost");
    EXPECT_EQ(dialog.cmbDrive->currentText().toStdString(), "/srv/Corvex");
    EXPECT_GE(dialog.cmbDrive->findText("/mnt/share"), 0);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    return mrNone;
  });
  EXPECT_EQ(dialog.Execute(), mrCancel);
  // Showing loaded the SERVER section; cancelling keeps it in SystemDef.
  EXPECT_EQ(SystemDef.HostName, "dbhost");
  EXPECT_EQ(Ini("SERVER", "SYSDIR"), "/srv/Corvex/corvexzaimu/data");
}

// "参照" lists the hosts this machine knows, the one connected to before
// first; the chosen one becomes the host name.
TEST_F(DialogTest, ConnectionDialogBrowsesTheKnownHosts) {
  InstallFrameworkServices();
  TIniFile(SystemDef.ConnectIniFile).WriteString("SERVER", "HOSTNAME", "dbhost");
  ConnectKind = 1;
  TAppIniCreateBox dialog;
  std::vector<std::string> offered;
  responder_.Then([&](const ShownDialog&) {
    layoutcheck::SaveShot(&dialog, "connsettings");
    EXPECT_EQ(layoutcheck::LayoutFaults(&dialog), std::vector<std::string>{});
    EXPECT_TRUE(dialog.btnCompShow->isVisible());
    dialog.btnCompShow->click();
    EXPECT_EQ(dialog.txtHostName->Text(), "localhost");
    QTest::keyClick(&dialog, Qt::Key_Escape);
    return mrNone;
  });
  responder_.Then([&](const ShownDialog& shown) {
    EXPECT_EQ(shown.kind, "TComputerListBox");
    offered = shown.lines;
    auto* box = dynamic_cast<TComputerListBox*>(shown.window);
    if (!box) return mrCancel;
    layoutcheck::SaveShot(box, "computerlist");
    EXPECT_EQ(layoutcheck::LayoutFaults(box), std::vector<std::string>{});
    const auto found = box->lstComputers->findItems("localhost", Qt::MatchExactly);
    if (found.isEmpty()) return mrCancel;
    box->lstComputers->setCurrentItem(found.first());
    return mrOk;
  });
  EXPECT_EQ(dialog.Execute(), mrCancel);
  ASSERT_FALSE(offered.empty());
  EXPECT_EQ(offered.front(), "dbhost");
  EXPECT_NE(std::find(offered.begin(), offered.end(), "localhost"), offered.end());
}

TEST(HostsFile, NamesInOrderWithoutRepeatsOrSpecialAddresses) {
  const std::string file = testing::TempDir() + "/hosts-" + std::to_string(::getpid());
  std::ofstream(file) << "127.0.0.1\tlocalhost\n# 10.0.0.9 commented\n10.0.0.5 dbserver db  # the server\n"
                         "::1 localhost ip6-localhost\nff02::1 ip6-allnodes\n\n10.0.0.6 DBSERVER other\n";
  EXPECT_EQ(HostsFileNames(file),
            (std::vector<std::string>{"localhost", "dbserver", "db", "ip6-localhost", "other"}));
  std::remove(file.c_str());
}

TEST_F(DialogTest, PasswordDialogChecksItsInput) {
  TUpPasswordBox box;
  struct Case {
    const char* current;  // "" set mode
    const char* now;
    const char* new1;
    const char* new2;
    const char* message;  // nullptr: accepted
  } cases[] = {
      {"", "", "abc1", "abc1", nullptr},
      {"", "", "abc1", "ABC1", "入力されたパスワードは一致しません。"},
      {"", "", "", "abc1", "新しいパスワードが入力されていません。両方のボックスに入力して下さい。"},
      {"", "", "   ", "   ", "新しいパスワードが入力されていません。両方のボックスに入力して下さい。"},
      {"Old1", "old1", "x", "x", "現在のパスワードが入力されたパスワードと一致しません。"},
      {"Old1", "　", "x", "x", "現在のパスワードが入力されていません。"},
      {"Old1", "Old1", "New2", "New2", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.current) + "/" + c.new1 + "/" + c.new2);
    box.SetCurrentPassword(c.current);
    EXPECT_EQ(box.ChangeMode(), *c.current != 0);
    EXPECT_EQ(box.windowTitle().toStdString(), *c.current ? "パスワードの変更" : "パスワードの設定");
    responder_.Clear();
    responder_.Then([&](const ShownDialog&) {
      box.txtPasswordNow->SetText(c.now);
      box.txtPasswordNew1->SetText(c.new1);
      box.txtPasswordNew2->SetText(c.new2);
      box.btnOk->click();
      if (box.isVisible()) box.btnCancel->click();
      return mrNone;
    });
    const TModalResult result = box.Execute();
    if (c.message) {
      EXPECT_EQ(result, mrCancel);
      ASSERT_EQ(BoxTexts().size(), 2u);
      EXPECT_EQ(BoxTexts()[1], c.message);
      EXPECT_EQ(responder_.Shown()[1].caption, "警告");
      EXPECT_EQ(box.NewPassword, "");
    } else {
      EXPECT_EQ(result, mrOk);
      EXPECT_EQ(box.NewPassword, c.new1);
    }
  }
  // Only digits and letters are typed.
  box.SetCurrentPassword("");
  box.show();
  QTest::keyClicks(box.txtPasswordNew1, "a b-9!Z");
  EXPECT_EQ(box.txtPasswordNew1->Text(), "ab9Z");
  box.hide();
}

}  // namespace
