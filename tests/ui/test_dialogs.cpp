// The framework message box, the input dialog, the progress dialog, help
// pages and the checked combo box.
#include <gtest/gtest.h>

#include <filesystem>

#include <unistd.h>

#include <QApplication>
#include <QFileDialog>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "core/dialogs.h"
#include "core/globals.h"
#include "core/uiservices.h"
#include "platform/vcl/application.h"
#include "platform/vcl/dpi.h"
#include "platform/vcl/responder.h"
#include "ui/checkedcombo.h"
#include "ui/coreservices.h"
#include "ui/corvexedit.h"
#include "ui/dateedit.h"
#include "ui/htmlhelp.h"
#include "ui/inputdlg.h"
#include "ui/messagebox.h"
#include "ui/plbutton.h"
#include "ui/progressdialog.h"
#include "ui/xcheckbox.h"
#include "ui/xcombobox.h"
#include "ui/xedit.h"

namespace {

struct DialogsTest : ::testing::Test {
  void SetUp() override {
    EnsureApplication();
    responder.Install();
  }
  ScriptedResponder responder{mrCancel};
};

}  // namespace

TEST_F(DialogsTest, MessageBoxKindsAgreementAndReuse) {
  TMessageInfoRec info;
  InitMessageInfo(info);
  EXPECT_EQ(info.Position, poOwnerFormCenter);
  EXPECT_EQ(info.TextColor, 255);
  info.Kind = 1;
  info.Caption = "確認";
  info.Text = "処理を続けます。";
  responder.Then([](const ShownDialog& shown) {
    auto* box = static_cast<TMessageBox*>(shown.window);
    EXPECT_TRUE(box->btnOK()->isHidden());
    box->btnCancel()->click();  // the one button reads OK and gives 1
    return mrCancel;
  });
  EXPECT_EQ(ShowMessageBox(info), mrOk);
  EXPECT_EQ(responder.Shown().back().buttons, (std::vector<std::string>{"OK"}));
  EXPECT_EQ(responder.Shown().back().colors.front(), 255);

  TMessageBox box;
  box.Kind = 2;
  box.CaptionText = "データの削除";
  box.MainText = "削除したデータは元に戻せません。";
  box.SetMessageLines({"会社A", "会社B"});
  box.Prepare(true);
  const int withLines = box.height();
  EXPECT_FALSE(box.btnOK()->isEnabled());
  responder.Then([](const ShownDialog& shown) {
    auto* b = static_cast<TMessageBox*>(shown.window);
    b->cboxAgree()->click();
    EXPECT_TRUE(b->btnOK()->isEnabled());
    b->cboxAgree()->click();
    EXPECT_FALSE(b->btnOK()->isEnabled());
    b->cboxAgree()->click();
    QTest::keyClick(b->cboxAgree(), Qt::Key_F12);  // F12 clicks OK
    return mrCancel;
  });
  EXPECT_EQ(box.ShowModal(), mrOk);
  EXPECT_EQ(responder.Shown().back().lines,
            (std::vector<std::string>{"削除したデータは元に戻せません。", "会社A", "会社B"}));
  // Reused without lines: the memo hidden and the box shorter; then the design size again.
  box.Kind = 0;
  box.SetMessageLines({});
  box.Prepare(true);
  EXPECT_TRUE(box.MessageArea()->isHidden());
  EXPECT_EQ(box.height(), withLines - Px(156));
  EXPECT_TRUE(box.cboxAgree()->isHidden());
  box.SetMessageLines({"一行"});
  box.Prepare(true);
  EXPECT_EQ(box.height(), withLines);
  responder.Then([](const ShownDialog& shown) {
    QTest::keyClick(static_cast<TMessageBox*>(shown.window)->btnCancel(), Qt::Key_Escape);
    return mrOk;
  });
  EXPECT_EQ(box.ShowModal(), mrCancel);
}

TEST_F(DialogsTest, InputDialogTextPasswordAndFilters) {
  TInputDlgBox dlg;
  dlg.InputMode = 1;
  dlg.CaptionText = "パスワード";
  dlg.MessageText = "パスワードを入力して下さい。";
  dlg.Prepare(true);
  EXPECT_TRUE(dlg.Required);
  EXPECT_EQ(dlg.txtInput()->echoMode(), QLineEdit::Password);
  EXPECT_FALSE(dlg.btnFuseji()->isHidden());
  dlg.btnFuseji()->click();
  EXPECT_EQ(dlg.txtInput()->echoMode(), QLineEdit::Normal);
  // Spaces only: refused, the dialog stays; then a real entry.
  responder.Then([&](const ShownDialog&) {
    dlg.txtInput()->setText("　  ");
    dlg.btnOK()->click();
    EXPECT_TRUE(dlg.isVisible());
    dlg.txtInput()->setText("secret");
    dlg.btnOK()->click();
    return mrCancel;
  });
  responder.Then(mrOk);  // the refusal box
  // (the refusal box comes first in the queue order of showing)
  EXPECT_EQ(dlg.ShowModal(), mrOk);
  EXPECT_EQ(dlg.InputText, "secret");
  const auto& shown = responder.Shown();
  ASSERT_GE(shown.size(), 2u);
  EXPECT_EQ(shown[shown.size() - 1].lines.front(), "入力してから[OK]ボタンを押して下さい。");
  // A second Prepare after a refused password shows the new message in red.
  dlg.MessageText = "パスワードが違います。";
  dlg.MessageColor = 255;
  dlg.InputText = "";
  dlg.Prepare(true);
  EXPECT_EQ(dlg.lblMain()->text().toStdString(), "パスワードが違います。");
  EXPECT_EQ(dlg.lblMain()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  EXPECT_EQ(dlg.txtInput()->text(), "");

  const struct { int filter; char16_t ch; bool passes; } keys[] = {
      {10, u'5', true},  {10, u'.', true},  {10, u'-', true},  {10, u'a', false}, {20, u'a', true},
      {20, u'5', false}, {30, u'Z', true},  {30, u'_', false}, {40, u'\\', false}, {40, u'|', false},
      {40, u'*', false}, {40, u'あ', true}, {40, u'a', true},  {0, u'|', true},   {10, 13, true}};
  for (const auto& k : keys) EXPECT_EQ(TInputDlgBox::FilterAccepts(k.filter, k.ch), k.passes) << k.filter << " " << int(k.ch);
  dlg.InputMode = 0;
  dlg.SetInputFilter(40);
  dlg.Prepare(true);
  dlg.show();
  QApplication::setActiveWindow(&dlg);
  dlg.txtInput()->setFocus();
  QTest::keyClicks(dlg.txtInput(), "a|b\\c");
  EXPECT_EQ(dlg.txtInput()->text(), "abc");
  QTest::keyClick(dlg.txtInput(), Qt::Key_Return);  // Enter passes and moves on
  EXPECT_NE(QApplication::focusWidget(), dlg.txtInput());
  dlg.Close();
}

TEST_F(DialogsTest, InputDialogAmountComboAndDates) {
  TInputDlgBox dlg;
  dlg.InputMode = 3;
  dlg.Prepare(true);
  responder.Then([&](const ShownDialog&) {
    dlg.btnOK()->click();
    return mrCancel;
  });
  EXPECT_EQ(dlg.ShowModal(), mrOk);
  EXPECT_EQ(dlg.InputText, "0");
  dlg.InputMode = 2;
  dlg.Required = true;
  dlg.ComboItems = {"データ領域1", "データ領域2"};
  dlg.InputText = "";
  dlg.Prepare(true);
  responder.Then([&](const ShownDialog&) {
    dlg.btnOK()->click();  // refused: nothing chosen
    EXPECT_TRUE(dlg.isVisible());
    dlg.cmbInput()->setCurrentIndex(1);
    dlg.btnOK()->click();
    return mrCancel;
  });
  responder.Then(mrOk);
  EXPECT_EQ(dlg.ShowModal(), mrOk);
  EXPECT_EQ(dlg.InputText, "データ領域2");
  EXPECT_EQ(responder.Shown().back().lines.front(), "入力または選択してから[OK]ボタンを押して下さい。");
  BuildGengoTable();
  dlg.InputMode = 4;
  dlg.Date1 = EncodeDate(2023, 4, 1);
  dlg.Date2 = EncodeDate(2024, 3, 31);
  dlg.Prepare(true);
  EXPECT_EQ(dlg.txtHizuke1()->EraBox()->currentText().toStdString(), "令和");
  responder.Then([&](const ShownDialog&) {
    dlg.txtHizuke2()->NumberField(TCorvexExDateEdit::fMonth)->setText("4");
    dlg.txtHizuke2()->NumberField(TCorvexExDateEdit::fDay)->setText("30");
    dlg.btnOK()->click();
    return mrCancel;
  });
  EXPECT_EQ(dlg.ShowModal(), mrOk);
  EXPECT_EQ(dlg.Date1, EncodeDate(2023, 4, 1));
  EXPECT_EQ(dlg.Date2, EncodeDate(2024, 4, 30));
}

TEST_F(DialogsTest, ProgressDialogShowCancelClose) {
  QWidget parent;
  parent.show();
  TxAnimeProgressDialog progress;
  progress.SetCaption("データの保存");
  progress.SetInfoLabel("保存しています...");
  progress.SetAviFile("/nonexistent/progress.avi");
  progress.Show(&parent);
  ASSERT_NE(progress.Handle(), nullptr);
  EXPECT_TRUE(progress.Running);
  EXPECT_FALSE(parent.isEnabled());
  EXPECT_EQ(progress.AviFile(), "");  // a missing file is dropped
  EXPECT_FALSE(progress.AnimeActive());
  auto* form = static_cast<TxProgressForm*>(progress.Handle());
  form->CancelButton->click();
  EXPECT_TRUE(progress.Cancelled);
  EXPECT_TRUE(form->isVisible());  // stays until the caller closes it
  progress.SetInfoLabel("もう少し");
  EXPECT_EQ(form->Info->text().toStdString(), "もう少し");
  EXPECT_EQ(progress.Close(), 0);
  EXPECT_TRUE(parent.isEnabled());
  EXPECT_EQ(progress.Close(), 0);  // twice: harmless
  // Without a parent: a topmost window; without the cancel button the label sits lower.
  TxAnimeProgressDialog loose;
  loose.SetCancelBtnShow(false);
  loose.SetCommonAVI(aviCopyFiles);
  loose.Show(nullptr);
  auto* f = static_cast<TxProgressForm*>(loose.Handle());
  EXPECT_TRUE(f->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(loose.AnimeActive());
  if (ScreenDpi() == 96) {
    EXPECT_EQ(f->Info->y(), 42);
    EXPECT_EQ(f->Animation->y(), 30);
  }
  loose.Close();
}

// While the program works (and processes its events) Esc and the window
// system's close leave the progress window on screen; Esc asks to cancel
// only where a cancel button is shown.
TEST_F(DialogsTest, ProgressDialogStaysThroughEscapeAndClose) {
  QWidget parent;
  parent.show();
  for (const bool cancelShown : {false, true}) {
    SCOPED_TRACE(cancelShown ? "with cancel" : "without cancel");
    TxAnimeProgressDialog progress;
    progress.SetCancelBtnShow(cancelShown);
    progress.Show(&parent);
    auto* form = static_cast<TxProgressForm*>(progress.Handle());
    QTest::keyClick(form, Qt::Key_Escape);
    form->close();
    QApplication::processEvents();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(progress.Cancelled, cancelShown);
    progress.Close();
  }
}

TEST_F(DialogsTest, HelpPagePaths) {
  const struct { int kind; const char* page; const char* path; } cases[] = {
      {0, "olm.html", "/opt/help/zaimu/olm.html"},
      {0, "data.html", "/opt/help/zaimu/olm.files/data.html"},
      {0, "OLM.html", "/opt/help/zaimu/olm.files/OLM.html"},
      {1, "ecbolm.html", "/opt/help/ecbolm.html"},
      {2, "x.html", "/opt/help/tessaly/tyhelp.files/x.html"},
      {3, "csbolm.html", "/opt/help/csbolm.html"},
      {4, "olm.html", ""},
      {0, "", ""}};
  for (const auto& c : cases) EXPECT_EQ(HtmlHelpPath("/opt/help", c.kind, c.page), c.path) << c.page;
  std::vector<std::string> opened;
  SetHelpOpener([&](const std::string& path) { opened.push_back(path); return true; });
  SystemDef.HelpDir = "/opt/help";
  AppKind = 0;
  EXPECT_EQ(OpenHtmlHelp(""), 0);
  EXPECT_EQ(OpenHtmlHelp("olm.html"), 0);
  EXPECT_EQ(opened, (std::vector<std::string>{"/opt/help/zaimu/olm.html"}));
  SetHelpOpener(nullptr);
}

TEST_F(DialogsTest, CheckedComboBoxSelection) {
  TxCheckedComboBox box;
  box.SetEmptyValue("選択なし");
  box.SetItems({"山田", "佐藤", "鈴木"});
  EXPECT_EQ(box.DisplayText(), "選択なし");
  int changes = 0;
  box.OnChange = [&](QObject*) { ++changes; };
  box.ClickCheck(2, true);
  box.ClickCheck(0, true);
  EXPECT_EQ(box.DisplayText(), "2件選択");
  EXPECT_EQ(box.SelectionText(), "鈴木,山田");
  box.SetDispStyle(dsItems);
  EXPECT_EQ(box.DisplayText(), "鈴木,山田");
  box.SetSortDisplay(true);
  EXPECT_EQ(box.DisplayText(), "山田,鈴木");
  box.SetDispStyle(dsKensu);
  box.ClickCheck(2, false);
  EXPECT_EQ(box.DisplayText(), "山田");
  box.ClickCheck(0, false);
  EXPECT_EQ(box.DisplayText(), "選択なし");
  EXPECT_EQ(changes, 4);
  box.SetMultiSelect(false);
  box.ClickCheck(0, true);
  box.ClickCheck(1, true);
  EXPECT_FALSE(box.Checked(0));
  EXPECT_EQ(box.DisplayText(), "佐藤");
  box.SetItems({"A", "B"});
  EXPECT_EQ(box.CheckedCount(), 0);
  EXPECT_EQ(box.DisplayText(), "選択なし");
  box.SetDropDownLines(0);
  box.SetDropDownLines(21);
  EXPECT_EQ(box.DropDownLines(), 15);
  std::vector<std::string> thirty;
  for (int i = 0; i < 30; ++i) thirty.push_back(std::to_string(i));
  box.SetItems(thirty);
  box.SetColumns(2);
  EXPECT_EQ(box.DropDownLineCount(), 16);
  box.SetMultiSelect(true);
  box.SelectAll();
  EXPECT_EQ(box.CheckedCount(), 30);
  box.DeSelectAll();
  EXPECT_EQ(box.DisplayText(), "選択なし");
  EXPECT_EQ(box.Version(), "1.0.3");
}

// The folder browser the framework gives the shared helpers: a directory
// dialog that starts in the current folder; cancelling keeps the folder.
TEST_F(DialogsTest, FolderBrowserOfTheFrameworkServices) {
  const TCoreUiServices saved = CoreUi;
  InstallFrameworkServices();
  const std::filesystem::path base = std::filesystem::temp_directory_path() / ("browse-" + std::to_string(::getpid()));
  std::filesystem::create_directories(base / "chosen");
  std::string folder = base.string();
  responder.Then([&](const ShownDialog& shown) {
    auto* dialog = qobject_cast<QFileDialog*>(shown.window);
    EXPECT_NE(dialog, nullptr);
    if (!dialog) return mrCancel;
    EXPECT_EQ(shown.caption, "フォルダの選択");
    EXPECT_EQ(dialog->fileMode(), QFileDialog::Directory);
    EXPECT_EQ(dialog->directory().absolutePath().toStdString(), base.string());
    dialog->setDirectory(QString::fromStdString((base / "chosen").string()));
    QMetaObject::invokeMethod(dialog, "accept");
    return mrNone;
  });
  EXPECT_TRUE(SelectFolder("フォルダの選択", folder, true));
  EXPECT_EQ(folder, (base / "chosen").string());
  responder.Then([](const ShownDialog&) { return mrCancel; });
  EXPECT_FALSE(SelectFolder("フォルダの選択", folder, true));
  EXPECT_EQ(folder, (base / "chosen").string());
  std::filesystem::remove_all(base);
  CoreUi = saved;
}
