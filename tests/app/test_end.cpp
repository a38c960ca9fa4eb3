// The program's end as a user and a calling program meet it: the whole entry
// (RunLinkProgram) with its message loop, driven from inside the loop, after
// a failed export, a cancelled logon and a closed window.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <filesystem>

#include "app/entry.h"
#include "apptest.h"
#include "dbaccess/dm.h"
#include "link/mainwindow.h"
#include "link/wizard.h"
#include "platform/vcl/application.h"
#include "platform/win/caller.h"
#include "platform/win/namedmutex.h"
#include "ui/plbutton.h"

namespace fs = std::filesystem;

namespace apptest {
namespace {

const char* const kPrinciple = "corporation, principle taxation";

std::vector<std::string> Drain(TCallerReceiver& caller) {
  std::vector<std::string> got;
  while (auto text = caller.Receive(200)) got.push_back(*text);
  return got;
}

class End : public AppTest {
 protected:
  // Runs the whole program with Args; once the main window is logged on,
  // `walk` drives it from inside the message loop. A program that has not
  // ended 30 seconds later is ended by force and the test fails.
  int RunProgram(const std::vector<std::string>& Args, std::function<void(TForm1&)> walk) {
    bool walked = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto* form = dynamic_cast<TForm1*>(MainForm());
      if (walked || !form || !form->LoggedOn()) return;
      walked = true;
      if (walk) walk(*form);
    });
    poll.start();
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [this] {
      hung_ = true;
      QCoreApplication::exit(99);
    });
    watchdog.start(30000);
    const int status = RunLinkProgram(Args);
    EXPECT_FALSE(hung_) << "the program did not end";
    return status;
  }

  // From page 1 to the summary page, with `out` as the output file when the
  // wizard has its file page.
  void ToSummary(TForm1& form, const std::string& out) {
    ToPeriodPage(form, DataSetFolder(kPrinciple));
    if (form.Wizard1->HasPage("page4")) {
      ASSERT_EQ(Next(form), "page4");
      form.Edit4a->setText(QString::fromStdString(out));
    }
    ASSERT_EQ(Next(form), "page5");
  }

  bool hung_ = false;
};

// The output folder disappears between the summary and the finish: the
// failure box names the file and the reason, and the program ends: the
// caller hears its window enabled and close code 2, the single-instance name
// is free, the exit status says the export failed.
TEST_F(End, FailedExportEndsTheProgramAndTellsTheCaller) {
  for (const bool withCaller : {false, true}) {
    SCOPED_TRACE(withCaller ? "caller" : "no caller");
    responder_.Clear();
    FreeDataModule();
    const std::string folder = root_ + (withCaller ? "/gone-c" : "/gone");
    fs::create_directories(folder);
    const std::string out = folder + "/link.xml";
    TCallerReceiver caller;
    const int handle = withCaller ? 7411 : 0;
    if (withCaller) {
      ASSERT_TRUE(caller.Bind(handle)) << caller.LastError();
    }
    std::vector<std::string> args;
    if (withCaller) args.push_back(std::to_string(handle) + ",32771,3," + out);
    AnswerLogon();
    const int status = RunProgram(args, [&](TForm1& form) {
      ToSummary(form, out);
      fs::remove_all(folder);
      form.Button2->click();
    });
    EXPECT_EQ(status, 2);
    // One message, in Japanese, with the file's folder and the reason.
    std::vector<std::string> messages;
    for (const std::string& text : BoxTexts())
      if (!text.empty()) messages.push_back(text);
    EXPECT_EQ(messages, std::vector<std::string>{"中間ファイルの作成に失敗しました。\r保存先のフォルダ「" + folder +
                                                 "」がありません。"});
    EXPECT_FALSE(MutexExists("VERUDA_RENDO"));
    if (withCaller) {
      EXPECT_EQ(Drain(caller), (std::vector<std::string>{"ENABLE 0", "FRONT", "ENABLE 1", "POST 32771 3 2"}));
    }
  }
}

// A caller that gives no path: the summary is refused with the reason, and
// the user can only close the wizard; the program ends and tells the caller.
TEST_F(End, EmptyCallerPathEndsByTheUsersCancel) {
  TCallerReceiver caller;
  ASSERT_TRUE(caller.Bind(7430)) << caller.LastError();
  AnswerLogon();
  const int status = RunProgram({"7430,32774,8,"}, [&](TForm1& form) {
    ToPeriodPage(form, DataSetFolder(kPrinciple));
    EXPECT_EQ(Next(form), "page3");
    responder_.Then(mrYes);  // "[キャンセル]ボタンが押されました。…よろしいですか？"
    form.btnCancel->click();
  });
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(BoxShown("呼び出し元から指定された中間ファイルに保存できません。\r中間ファイルの名前が指定されていません。"))
      << ::testing::PrintToString(BoxTexts());
  EXPECT_EQ(Drain(caller), (std::vector<std::string>{"ENABLE 0", "FRONT", "ENABLE 1", "POST 32774 8 1"}));
  EXPECT_FALSE(MutexExists("VERUDA_RENDO"));
}

// A cancelled logon ends the program as one that did not run: close code 2
// for the caller and exit status 1; a window closed after the logon tells the
// caller 1 and exits with 0.
TEST_F(End, CancelledLogonAndClosedWindow) {
  struct Case {
    const char* name;
    bool logOn;
    int status;
    int closeCode;
  } cases[] = {{"logon cancelled", false, 1, 2}, {"window closed", true, 0, 1}};
  int handle = 7420;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FreeDataModule();
    TCallerReceiver caller;
    ASSERT_TRUE(caller.Bind(++handle)) << caller.LastError();
    if (c.logOn) AnswerLogon();
    else responder_.Then(mrCancel);
    bool walked = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
      auto* form = dynamic_cast<TForm1*>(MainForm());
      if (walked || !form || !form->LoggedOn()) return;
      walked = true;
      form->close();
    });
    closer.start(20);
    const int status = RunProgram({std::to_string(handle) + ",32772,4," + documentsDir_ + "/x.xml"}, nullptr);
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(Drain(caller), (std::vector<std::string>{"ENABLE 0", "FRONT", "ENABLE 1",
                                                        "POST 32772 4 " + std::to_string(c.closeCode)}));
    EXPECT_FALSE(MutexExists("VERUDA_RENDO"));
  }
}

// Qt's own dialogs speak Japanese: the output file's chooser and the
// standard buttons.
TEST_F(End, QtDialogsAreJapanese) {
  std::vector<std::string> labels;
  AnswerLogon();
  RunProgram({}, [&](TForm1& form) {
    ToPeriodPage(form, DataSetFolder(kPrinciple));
    ASSERT_EQ(Next(form), "page4");
    responder_.Then([&](const ShownDialog& shown) {
      for (const char* name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"})
        if (auto* label = shown.window->findChild<QLabel*>(name)) labels.push_back(label->text().toStdString());
      for (auto* button : shown.window->findChildren<QPushButton*>())
        if (button->isVisible()) labels.push_back(button->text().toStdString());
      return mrCancel;
    });
    form.BitBtn4a->click();
    form.close();
  });
  ASSERT_GE(labels.size(), 5u);
  for (const std::string& text : {std::string("Look in:"), std::string("File &name:"), std::string("&Save"),
                                  std::string("Cancel"), std::string("Files of type:")})
    EXPECT_EQ(std::find(labels.begin(), labels.end(), text), labels.end()) << text;
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel").toStdString(), "キャンセル");
  // The file list's type column.
  EXPECT_EQ(QCoreApplication::translate("QAbstractFileIconProvider", "Folder").toStdString(), "フォルダ");
}

}  // namespace
}  // namespace apptest
