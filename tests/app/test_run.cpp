// Whole runs of the program in one process: logon, every page, the link
// file, the summary, the period refusal, the caller's close codes and
// Veruda.ini.
#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "apptest.h"
#include "core/globals.h"
#include "link/exportobject.h"
#include "link/mainwindow.h"
#include "link/wizard.h"
#include "platform/rtl/cp932.h"
#include "platform/win/caller.h"
#include "dbaccess/dm.h"
#include "ui/kikanpanel.h"
#include "ui/plbutton.h"

namespace fs = std::filesystem;

namespace apptest {
namespace {

const char* const kPrinciple = "corporation, principle taxation";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> Drain(TCallerReceiver& caller) {
  std::vector<std::string> got;
  while (auto text = caller.Receive(200)) got.push_back(*text);
  return got;
}

class Run : public AppTest {};

TEST_F(Run, FromLogonThroughEveryPageToTheFile) {
  AnswerLogon();
  auto form = StartProgram({});
  ASSERT_TRUE(form->Created());
  ASSERT_TRUE(form->LoggedOn()) << ::testing::PrintToString(BoxTexts());
  EXPECT_EQ(form->windowTitle().toStdString(),
            "消費税のヴェルダ（令和元年度版 以降） from " + form->Export()->ProgramName);
  EXPECT_EQ(form->size(), QSize(677, 439));
  EXPECT_EQ(form->Wizard1->PageCount(), 5);
  EXPECT_EQ(form->Wizard1->ActivePage(), "page1");

  // Page 2 refuses to go on without a data set.
  ASSERT_EQ(Next(*form), "page2");
  EXPECT_EQ(Next(*form), "page2");
  EXPECT_TRUE(BoxShown("会計データの選択が行われていません。"));
  // A cancelled first choice leaves no data set.
  AnswerDataChoice("");
  form->btnDataSentaku->click();
  EXPECT_FALSE(form->DataConnected());
  EXPECT_EQ(form->DataInfoRowCount(), 1);

  AnswerDataChoice(DataSetFolder(kPrinciple));
  form->btnDataSentaku->click();
  ASSERT_TRUE(form->DataConnected()) << ::testing::PrintToString(BoxTexts());
  const auto info = form->DataInfoLines();
  ASSERT_GE(info.size(), 4u);
  EXPECT_EQ(info[1], "会社名=株式会社ヴェルダ商事");
  ASSERT_EQ(Next(*form), "page3");

  ASSERT_EQ(Next(*form), "page4");
  const std::string out = documentsDir_ + "/link out, 1.xml";
  form->Edit4a->setText(QString::fromStdString(out));
  ASSERT_EQ(Next(*form), "page5");
  EXPECT_EQ(form->Button2->text().toStdString(), "完了(&F)");
  const std::string summary = form->Memo5b->toPlainText().toStdString();
  EXPECT_NE(summary.find(" 会社名        : 株式会社ヴェルダ商事"), std::string::npos) << summary;
  EXPECT_NE(summary.find(" 課税区分      : 原則"), std::string::npos) << summary;
  EXPECT_NE(summary.find("【中間ﾌｧｲﾙ】\n " + out), std::string::npos) << summary;
  EXPECT_NE(summary.find("       771～773　課税輸入返還"), std::string::npos) << summary;

  form->Button2->click();  // finish: the export runs and the window closes
  QCoreApplication::processEvents();
  EXPECT_TRUE(BoxShown("中間ファイルが作成されました。")) << ::testing::PrintToString(BoxTexts());
  EXPECT_EQ(form->CloseCode(), 0);
  EXPECT_TRUE(form->Terminated());
  EXPECT_FALSE(form->LoggedOn()) << "the logon row was deleted on close";

  const std::string xml = ReadFile(out);
  ASSERT_FALSE(xml.empty());
  EXPECT_EQ(xml.rfind("<?xml version=\"1.0\" encoding=\"Shift_JIS\"", 0), 0u) << xml.substr(0, 80);
  const std::string text = Cp932ToUtf8(xml);
  EXPECT_NE(text.find("<GYOUMUPREFIX>SY31</GYOUMUPREFIX>"), std::string::npos);
  EXPECT_NE(text.find("<KOMONSAKINAME>株式会社ヴェルダ商事</KOMONSAKINAME>"), std::string::npos);
  EXPECT_NE(text.find("<DATA>"), std::string::npos);
  form.reset();

  // Veruda.ini keeps the client name and the file, and the next start offers them.
  FreeDataModule();
  AnswerLogon();
  auto again = StartProgram({});
  ASSERT_TRUE(again->Created());
  EXPECT_EQ(again->Edit4a->text().toStdString(), out);
  EXPECT_EQ(again->Export()->KomonsakiName, "株式会社ヴェルダ商事");
}

TEST_F(Run, PeriodEndingBeforeOctober2019IsRefused) {
  AnswerLogon();
  auto form = StartProgram({});
  ASSERT_TRUE(form->LoggedOn());
  ToPeriodPage(*form, DataSetFolder(kPrinciple));
  // Fiscal year 2019-04 to 2020-03: cell 6 is September 2019, cell 8 October.
  form->xKikanPanel3a->SetStno(0);
  form->xKikanPanel3a->SetEdno(6);
  responder_.Clear();
  EXPECT_EQ(Next(*form), "page3");
  ASSERT_EQ(responder_.Shown().size(), 1u);
  const ShownDialog& box = responder_.Shown()[0];
  EXPECT_EQ(box.lines.at(0), "指定した集計期間は本連動コンポーネントの対象外の期間です。");
  EXPECT_EQ(box.lines.at(1), "※本連動コンポーネントは令和元年度以降の申告書に対応しています");
  EXPECT_EQ(box.colors.at(1), 255);
  form->xKikanPanel3a->SetEdno(8);
  EXPECT_EQ(Next(*form), "page4");
}

TEST_F(Run, BareFileNameGoesToTheDocumentsFolder) {
  AnswerLogon();
  auto form = StartProgram({});
  ASSERT_TRUE(form->LoggedOn());
  ToPeriodPage(*form, DataSetFolder(kPrinciple));
  ASSERT_EQ(Next(*form), "page4");
  form->Edit4a->setText("bare.xml");
  ASSERT_EQ(Next(*form), "page5");
  EXPECT_EQ(form->Export()->ExportFile, form->MyDocumentsDir() + "/bare.xml");
  form->Button2->click();
  QCoreApplication::processEvents();
  EXPECT_EQ(form->CloseCode(), 0);
  EXPECT_TRUE(fs::exists(form->MyDocumentsDir() + "/bare.xml"));
}

// The output file is checked before the export: on the file page, and for
// the caller's path on the way to the summary. The box names the place and
// the reason, and the page stays.
TEST_F(Run, OutputFileCheckedBeforeTheExport) {
  AnswerLogon();
  auto form = StartProgram({});
  ASSERT_TRUE(form->LoggedOn());
  ToPeriodPage(*form, DataSetFolder(kPrinciple));
  ASSERT_EQ(Next(*form), "page4");
  std::ofstream(root_ + "/plain") << "a file";
  fs::create_directories(documentsDir_ + "/sub");
  struct Case {
    std::string path;
    std::string reason;
  } cases[] = {
      {root_ + "/no such folder/a.xml", "保存先のフォルダ「" + root_ + "/no such folder」がありません。"},
      {root_ + "/plain/a.xml", "保存先「" + root_ + "/plain」はフォルダではありません。"},
      {documentsDir_ + "/sub", "「" + documentsDir_ + "/sub」はフォルダです。ファイルの名前を指定してください。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    responder_.Clear();
    form->Edit4a->setText(QString::fromStdString(c.path));
    EXPECT_EQ(Next(*form), "page4");
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"中間ﾌｧｲﾙを保存できません。\r" + c.reason +
                                                   "\r別の場所を指定してから[次へ]をｸﾘｯｸしてください。"});
  }
  form->Edit4a->setText(QString::fromStdString(documentsDir_ + "/sub/a.xml"));
  EXPECT_EQ(Next(*form), "page5");
  form.reset();

  // A caller that gives no path: the summary is refused.
  FreeDataModule();
  responder_.Clear();
  AnswerLogon();
  auto called = StartProgram({"4300,32769,1,"});
  ASSERT_TRUE(called->LoggedOn());
  ToPeriodPage(*called, DataSetFolder(kPrinciple));
  EXPECT_EQ(Next(*called), "page3");
  EXPECT_TRUE(BoxShown("呼び出し元から指定された中間ファイルに保存できません。\r中間ファイルの名前が指定されていません。"))
      << ::testing::PrintToString(BoxTexts());
}

// A run started by a calling program: no output page, no success box, and the
// caller hears enable, front and its message with the value and close code.
TEST_F(Run, CallerHearsTheCloseCodes) {
  struct Case {
    const char* name;
    int closeCode;
  } cases[] = {{"export", 0}, {"close", 1}, {"failed", 2}};
  int handle = 4200;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FreeDataModule();
    responder_.Clear();
    TCallerReceiver caller;
    ASSERT_TRUE(caller.Bind(++handle)) << caller.LastError();
    // The failed export: the folder goes away after the summary.
    const bool failing = std::string(c.name) == "failed";
    const std::string out = failing ? root_ + "/vanishing folder/x.xml" : documentsDir_ + "/" + c.name + ".xml";
    if (failing) fs::create_directories(root_ + "/vanishing folder");
    AnswerLogon();
    auto form = StartProgram({std::to_string(handle) + ",32769,5," + out});
    ASSERT_TRUE(form->LoggedOn());
    EXPECT_FALSE(form->Wizard1->HasPage("page4"));
    EXPECT_EQ(form->Export()->ExportFile, out);
    if (std::string(c.name) == "close") {
      form->close();
    } else {
      ToPeriodPage(*form, DataSetFolder(kPrinciple));
      ASSERT_EQ(Next(*form), "page5");
      if (failing) fs::remove_all(root_ + "/vanishing folder");
      form->Button2->click();
      QCoreApplication::processEvents();
    }
    EXPECT_EQ(form->CloseCode(), c.closeCode);
    EXPECT_FALSE(BoxShown("中間ファイルが作成されました。"));
    EXPECT_EQ(BoxShown("中間ファイルの作成に失敗しました。"), c.closeCode == 2);
    form.reset();
    EXPECT_EQ(Drain(caller), (std::vector<std::string>{"ENABLE 0", "FRONT", "ENABLE 1",
                                                        "POST 32769 5 " + std::to_string(c.closeCode)}));
    EXPECT_EQ(fs::exists(out), c.closeCode == 0);
  }
  // The caller's path is never replaced by the file of Veruda.ini.
  const std::string ini = ReadFile(appDataDir_ + "/norvane/corvexzaimu/ini/Veruda.ini");
  EXPECT_EQ(ini.find("export.xml"), std::string::npos) << ini;
}

}  // namespace
}  // namespace apptest
