// The cash-book loader's window on real data sets (the office's data set 1,
// the cash book's database 2): the timed start with its progress while the
// window stays alive, the log list and detail box, the log file through the
// save dialog, and the automatic run that shows the window only on failure.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "cashbooktest.h"
#include "comm/cashbookloaderform.h"
#include "core/globals.h"
#include "platform/rtl/cp932.h"
#include "platform/vcl/application.h"
#include "platform/vcl/responder.h"

namespace fs = std::filesystem;

namespace {

using cashbooktest::CashBookTest;

class CashBookLoaderForm : public CashBookTest {
 protected:
  void SetUp() override {
    EnsureApplication();
    CashBookTest::SetUp();
    ExecOn(DataFile(1),
           "UPDATE SIWAKE SET RESERVE1=1, LINKKEY='1', LINKKUB=10 WHERE SWKREC=1;"
           "UPDATE SIWAKE SET RESERVE1=3, LINKKEY='3', LINKKUB=10 WHERE SWKREC=2");
    ConnectDataSet(1);
    responder_.Install();
  }
  static std::string Text(const QLabel* l) { return l->text().toStdString(); }
  static std::string Text(const QPushButton* b) { return b->text().toStdString(); }
  static std::vector<std::string> Rows(const QTreeWidget* list) {
    std::vector<std::string> out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
      out.push_back(list->topLevelItem(i)->text(0).toStdString() + " " + list->topLevelItem(i)->text(1).toStdString());
    return out;
  }
  static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  ScriptedResponder responder_{mrCancel};
};

TEST_F(CashBookLoaderForm, CashBookImportStartsByItselfShowsProgressAndTheLog) {
  TCashBookLoaderForm form;
  form.Loader().ReceiveKind = 0;
  form.Loader().ImportKind = 1;
  form.SetReceivedFile(DataFile(2));
  // Every move of the bar with the step then on screen; the window is asked
  // to close half way (Cancel, Escape) and must stay.
  std::vector<std::string> steps;
  bool stayedOpen = true;
  QObject::connect(form.ProgressBar, &QProgressBar::valueChanged, [&](int value) {
    steps.push_back(std::to_string(value) + " " + Text(form.LabelProgress));
    stayedOpen = stayedOpen && form.isVisible() && form.PanelProgress->isVisible() && !form.btnCancel->isEnabled();
    form.btnCancelClick();
    form.reject();
    form.btnOkClick();  // a second run is refused
  });
  std::string savedCsv;
  responder_.Then([&](const ShownDialog& shown) {
    EXPECT_EQ(shown.kind, "TCashBookLoaderForm");
    EXPECT_EQ(shown.caption, "現金出納帳の取り込み");
    // Before the run: titles, the waiting panel, no buttons to press.
    EXPECT_EQ(Text(form.Label1), "現金出納帳データの取り込みを行います。");
    EXPECT_EQ(Text(form.Label2), "この処理を実行することにより、顧問先と現金残高の同期が行われます。");
    EXPECT_TRUE(form.PanelProgress->isVisible());
    EXPECT_EQ(Text(form.LabelProgress), "準備中です…");
    EXPECT_TRUE(form.btnOk->isHidden());
    EXPECT_FALSE(form.btnCancel->isEnabled());
    EXPECT_EQ(Text(form.btnCancel), "閉じる");
    EXPECT_FALSE(form.btnFileOut->isEnabled());
    const auto shownAt = std::chrono::steady_clock::now();
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.btnCancel->isEnabled(); }, 30000));
    EXPECT_GE(std::chrono::steady_clock::now() - shownAt, std::chrono::milliseconds(1400));
    // After the run: the log, its first row chosen and shown below.
    EXPECT_EQ(Rows(form.ListView),
              (std::vector<std::string>{
                  "警告 (仕訳番号:1 日付:2019/10/01 相手科目:売上高 摘要:現金売上 金額:12,000) "
                  "受信データの訂正仕訳が優先されました。",
                  "警告 (仕訳番号:2 日付:2019/10/02 相手科目:普通預金 摘要:預入 金額:5,000) "
                  "受信データの削除仕訳が優先されました。",
                  "情報 取り込み処理が成功しました。"}));
    EXPECT_EQ(form.ListView->currentItem(), form.ListView->topLevelItem(0));
    EXPECT_EQ(form.Memo->toPlainText().toStdString(), form.Loader().Log()[0].Text);
    form.ListView->setCurrentItem(form.ListView->topLevelItem(2));
    EXPECT_EQ(form.Memo->toPlainText().toStdString(), "取り込み処理が成功しました。");
    EXPECT_EQ(Text(form.Label1), "現金出納帳データの取り込みを行いました。");
    EXPECT_EQ(Text(form.Label2), "下記の情報を確認して下さい。");
    EXPECT_FALSE(form.PanelProgress->isVisible());
    EXPECT_TRUE(form.btnFileOut->isEnabled());

    // The log file: the save dialog opens in the Documents folder with the log's name.
    savedCsv = temp_.File("受信ログ.csv");
    responder_.Then([&](const ShownDialog& box) {
      EXPECT_EQ(box.kind, "QFileDialog");
      EXPECT_EQ(box.caption, "ファイル出力");
      auto* dialog = qobject_cast<QFileDialog*>(box.window);
      EXPECT_NE(dialog, nullptr);
      if (!dialog) return mrCancel;
      EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
      EXPECT_EQ(dialog->defaultSuffix().toStdString(), "csv");
      EXPECT_EQ(dialog->nameFilters().size(), 2);
      EXPECT_EQ(dialog->directory().absolutePath().toStdString(), fs::path(SystemDef.UserDocDir).lexically_normal().string());
      auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
      EXPECT_NE(edit, nullptr);
      if (!edit) return mrCancel;
      EXPECT_EQ(edit->text().toStdString(), "現金出納帳の受信ログ");
      edit->setText(QString::fromStdString(savedCsv));
      return mrOk;
    });
    form.btnFileOut->click();
    // A file that cannot be written is named in an error box.
    const std::string unwritable = temp_.File("なし/受信ログ.csv");
    responder_.Then([&](const ShownDialog& box) {
      auto* dialog = qobject_cast<QFileDialog*>(box.window);
      if (auto* edit = dialog ? dialog->findChild<QLineEdit*>("fileNameEdit") : nullptr)
        edit->setText(QString::fromStdString(unwritable));
      return mrOk;
    });
    std::string error;
    responder_.Then([&](const ShownDialog& box) {
      error = box.lines.empty() ? "" : box.lines[0];
      return mrOk;
    });
    form.btnFileOut->click();
    EXPECT_EQ(error, "「" + unwritable + "」に書き込めませんでした。");
    // A cancelled save dialog writes nothing.
    responder_.Then(mrCancel);
    form.btnFileOut->click();
    form.btnCancel->click();  // "閉じる"
    return mrCancel;
  });
  EXPECT_EQ(form.ShowModal(), mrOk);
  EXPECT_EQ(form.ResultCode(), 1);
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(steps, (std::vector<std::string>{"0 準備中です…", "1 準備中です…", "2 準備中です…", "3 補助科目の移行中です…",
                                             "4 開始残高の移行中です…", "5 現金仕訳の移行中です…",
                                             "6 データ整合中です…", "7 データ確定中です…"}));
  EXPECT_EQ(Cp932ToUtf8(ReadFile(savedCsv)), PelorinLogText(form.Loader().Log(), true));
  EXPECT_EQ(QueryOn(DataFile(1), "SELECT COUNT(*) FROM SIWAKE WHERE DELFLG=0 AND TAISHAKU=1 AND RESERVE1=105"), "1");
}

TEST_F(CashBookLoaderForm, AutomaticRunShowsTheWindowOnlyWhenItFails) {
  // Success: nothing is shown.
  {
    TCashBookLoaderForm form;
    form.Loader().ReceiveKind = 1;
    form.Loader().ImportKind = 1;
    form.SetReceivedFile(DataFile(2));
    form.ExecuteAuto();
    EXPECT_EQ(form.ResultCode(), 1);
    EXPECT_TRUE(responder_.Shown().empty());
    EXPECT_FALSE(form.ShownAfterFailure());
  }
  // Failure (the account systems differ): the window comes up with the log.
  ExecOn(DataFile(2), "UPDATE ACCDEF1 SET SITEN=1");
  TCashBookLoaderForm form;
  form.Loader().ReceiveKind = 1;
  form.Loader().ImportKind = 1;
  form.SetReceivedFile(DataFile(2));
  responder_.Then([&](const ShownDialog& shown) {
    EXPECT_EQ(shown.kind, "TCashBookLoaderForm");
    EXPECT_EQ(Text(form.Label1), "データの取り込みが中止されました。");
    EXPECT_EQ(Text(form.Label2), "下記の情報より、中止された理由を確認して下さい。");
    EXPECT_FALSE(form.PanelProgress->isVisible());
    EXPECT_TRUE(form.btnOk->isHidden());
    EXPECT_TRUE(form.btnCancel->isEnabled());
    const std::vector<std::string> rows = Rows(form.ListView);
    EXPECT_FALSE(rows.empty());
    if (!rows.empty()) {
      EXPECT_EQ(rows[0].substr(0, rows[0].find(' ')), "エラー");
    }
    form.btnCancel->click();
    return mrCancel;
  });
  form.ExecuteAuto();
  EXPECT_TRUE(form.ShownAfterFailure());
  EXPECT_EQ(form.ResultCode(), -106);
  ASSERT_EQ(responder_.Shown().size(), 1u);
}

TEST_F(CashBookLoaderForm, StartedByHandWithOkOrLeftWithCancel) {
  struct Case {
    const char* what;
    bool pressOk;
    TModalResult result;
    const char* title;
  } cases[] = {
      {"Cancel before any run", false, mrCancel, "現金出納帳データの取り込みを行います。"},
      // Cash book with the replace kind: nothing to do, the run counts as stopped.
      {"OK with nothing to do", true, mrOk, "現金出納帳データの取り込みが中止されました。"},
  };
  for (const Case& c : cases) {
    TCashBookLoaderForm form;
    form.Loader().ReceiveKind = 0;
    form.Loader().ImportKind = 0;
    form.SetReceivedFile(DataFile(2));
    form.SetAutoStart(false);
    std::string title;
    responder_.Then([&](const ShownDialog&) {
      EXPECT_TRUE(form.btnOk->isVisible()) << c.what;
      EXPECT_EQ(Text(form.btnCancel), "キャンセル") << c.what;
      EXPECT_FALSE(form.PanelProgress->isVisible()) << c.what;
      QTest::qWait(1700);  // no timed start
      EXPECT_EQ(form.Loader().Log().size(), 0u) << c.what;
      if (c.pressOk) {
        form.btnOk->click();
        EXPECT_EQ(Text(form.btnCancel), "閉じる") << c.what;
        EXPECT_FALSE(form.btnFileOut->isEnabled()) << c.what;  // an empty log
      }
      title = Text(form.Label1);
      form.btnCancel->click();
      return mrNone;
    });
    EXPECT_EQ(form.ShowModal(), c.result) << c.what;
    EXPECT_EQ(title, c.title) << c.what;
    EXPECT_EQ(form.ResultCode(), 0) << c.what;
  }
}

}  // namespace
