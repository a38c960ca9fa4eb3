// The program stays alive and speaks through its own boxes while the
// consumption-tax computation runs: its hooks are installed at start-up, the
// events are processed during the aggregation, its messages reach the user,
// and the summary's memo lines up its colons.
#include <QCoreApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <filesystem>

#include "apptest.h"
#include "core/globals.h"
#include "link/mainwindow.h"
#include "tax/taxcodes.h"
#include "tax/taxcontext.h"
#include "ui/progressdialog.h"

namespace fs = std::filesystem;

namespace apptest {
namespace {

const char* const kPrinciple = "corporation, principle taxation";

class Live : public AppTest {};

// While the journal is aggregated the progress window shows its text and a
// timer of the program fires (the events are processed between rows, at most
// every few milliseconds).
TEST_F(Live, ProgressWindowAndTimersLiveDuringTheExport) {
  AnswerLogon();
  auto form = StartProgram({});
  ASSERT_TRUE(form->LoggedOn());
  ToPeriodPage(*form, DataSetFolder(kPrinciple));
  ASSERT_EQ(Next(*form), "page4");
  form->Edit4a->setText(QString::fromStdString(documentsDir_ + "/live.xml"));
  ASSERT_EQ(Next(*form), "page5");

  int ticks = 0;
  std::string shownText;
  QTimer timer;
  timer.setInterval(1);
  QObject::connect(&timer, &QTimer::timeout, [&] {
    QWidget* progress = form->xAnimeProgressDialog1->Handle();
    if (!progress || !progress->isVisible()) return;
    ++ticks;
    if (auto* info = progress->findChild<QLabel*>("InfoLabel"); info && info->isVisible())
      shownText = info->text().toStdString();
  });
  timer.start();
  form->Button2->click();
  timer.stop();
  EXPECT_EQ(form->CloseCode(), 0) << ::testing::PrintToString(BoxTexts());
  // Once while the progress window settles, then again during the
  // aggregation (it processes the events between journal rows).
  EXPECT_GE(ticks, 2) << "the events were not processed during the export";
  EXPECT_EQ(shownText, "連動データの作成中です…");
}

// What the start-up installs for the windows and the computation: every hook
// of the computation (a missing one is named), and the face of the summary's
// memo, a fixed-pitch one in which the colons of its lines stand one under
// the other.
TEST_F(Live, StartUpInstallsTaxHooksAndFaces) {
  AnswerLogon();
  auto form = StartProgram({});
  ASSERT_TRUE(form->LoggedOn());
  EXPECT_EQ(MissingTaxHooks(), std::vector<std::string>{});

  // A journal line whose tax cannot be computed: the error box of the
  // computation, as the computation shows it.
  responder_.Clear();
  TaxHooks.ShowMessage(kMsgError, "仕訳の消費税額が計算できません。");
  ASSERT_EQ(responder_.Shown().size(), 1u);
  EXPECT_EQ(responder_.Shown()[0].kind, "エラー");
  EXPECT_EQ(responder_.Shown()[0].lines.at(0), "仕訳の消費税額が計算できません。");

  // The date of the specific-purchase message follows the era display.
  SystemDef.WarekiDisplay = 1;
  std::string message;
  int code = 551;
  EXPECT_FALSE(CheckTokuteiShiireCode(message, code, 5, EncodeDate(2015, 9, 30)));
  EXPECT_NE(message.find("[H27/10/01]"), std::string::npos) << message;
  SystemDef.WarekiDisplay = 0;

  const auto saved = TaxHooks.FormatDateSlash;
  TaxHooks.FormatDateSlash = nullptr;
  EXPECT_EQ(MissingTaxHooks(), std::vector<std::string>{"FormatDateSlash"});
  TaxHooks.FormatDateSlash = saved;

  EXPECT_EQ(QFontInfo(form->Memo5b->font()).family().toStdString(), "Noto Sans Mono CJK JP");
  const QFontMetrics metrics(form->Memo5b->font());
  const int width = metrics.horizontalAdvance(QString::fromUtf8(" 会社名        :"));
  for (const char* head : {" 会計年度      :", " 法人個人区分  :", " 計算対象期間  :"})
    EXPECT_EQ(metrics.horizontalAdvance(QString::fromUtf8(head)), width) << head;
}

}  // namespace
}  // namespace apptest
