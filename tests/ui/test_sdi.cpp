// The base form: switches, size memory per operator, operation history,
// keys, hints, zoom and layout capture.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>

#include "core/globals.h"
#include "memoryformstore.h"
#include "platform/vcl/application.h"
#include "platform/vcl/dpi.h"
#include "platform/vcl/hint.h"
#include "platform/vcl/perfectgrid.h"
#include "ui/plbutton.h"
#include "ui/sdi.h"
#include "ui/xedit.h"

namespace {

struct SdiTest : ::testing::Test {
  void SetUp() override {
    EnsureApplication();
    SetFormDataStore(&store);
    SetDbErrorReporter([this](const std::string& where, const std::string&) { errors.push_back(where); });
    saved = SystemDef;
    SystemDef.OpCode = 100010001;
    SystemDef.PcName = "PC01";
  }
  void TearDown() override {
    SetFormDataStore(nullptr);
    SetDbErrorReporter(nullptr);
    SystemDef = saved;
  }
  MemoryFormStore store;
  std::vector<std::string> errors;
  TSystemDef saved;
};

struct Sizeable : TBSDI {
  Sizeable() : TBSDI(nullptr, bsSizeable, "frmSample") {
    setWindowTitle("サンプル処理");
    resize(800, 600);
    edit = new TxEdit(this);
    edit->setGeometry(4, 10, 100, 21);
    Initialized = true;
  }
  TxEdit* edit;
};

struct DialogForm : TBSDI {
  DialogForm() : TBSDI(nullptr, bsDialog, "frmDialog") {
    memo = new QPlainTextEdit(this);
    memo->setGeometry(10, 100, 200, 50);
    HintMemo = memo;
    edit = new TxEdit(this);
    edit->setGeometry(10, 10, 100, 21);
    SetHint(edit, "コード|データのコードを入力します。");
    ok = new TxPlButton(this);
    ok->setGeometry(10, 60, 90, 26);
    ok->OnClick = [this](QObject*) { ++clicks; SetFormModalResult(this, mrOk); };
    F12Button = ok;
    Initialized = true;
  }
  QPlainTextEdit* memo;
  TxEdit* edit;
  TxPlButton* ok;
  int clicks = 0;
};

}  // namespace

TEST_F(SdiTest, SwitchesByBorderStyle) {
  Sizeable s;
  DialogForm d;
  EXPECT_TRUE(s.KeepHistory && s.AllowOtherProcess && s.SaveFormSize && s.ReloadAccInf && s.NotifyActivate);
  EXPECT_FALSE(s.NotifyMenu);
  EXPECT_FALSE(d.KeepHistory || d.AllowOtherProcess || d.SaveFormSize || d.ReloadAccInf || d.NotifyActivate ||
               d.NotifyMenu);
}

TEST_F(SdiTest, SizeMemoryRoundTripAndHistory) {
  if (ScreenDpi() != 96) GTEST_SKIP();
  auto* form = new Sizeable;
  form->KeepOnClose = true;
  form->show();
  // No row: the default size, placed at 0,0, and exactly one row inserted.
  // (a window is never larger than the screen)
  EXPECT_EQ(form->size(), QSize(1012, 648).boundedTo(QGuiApplication::primaryScreen()->size()));
  ASSERT_EQ(store.sizes.size(), 1u);
  const TFormSizeRow& row = store.sizes.at({100010001, "frmSample"});
  EXPECT_EQ(row.Width, 1012);
  EXPECT_EQ(row.DefHeight, 648);
  EXPECT_EQ(store.calls, (std::vector<std::string>{"opinf_delete:サンプル処理:エラー終了",
                                                   "opinf_insert:サンプル処理:PC01", "insert"}));
  // 60 % of the design size is the minimum.
  EXPECT_EQ(form->minimumSize(), QSize(480, 360));
  form->move(30, 40);
  form->resize(700, 500);
  form->Close();
  EXPECT_EQ(store.calls.back(), "opinf_delete:サンプル処理:正常終了");
  const TFormSizeRow& stored = store.sizes.at({100010001, "frmSample"});
  EXPECT_EQ(stored.Left, 30);
  EXPECT_EQ(stored.Top, 40);
  EXPECT_EQ(stored.Width, 700);
  EXPECT_EQ(stored.Height, 500);
  delete form;
  // The next window of that name opens where the last one was left.
  Sizeable again;
  again.KeepOnClose = true;
  again.show();
  EXPECT_EQ(again.pos(), QPoint(30, 40));
  EXPECT_EQ(again.size(), QSize(700, 500));
  EXPECT_EQ(std::count(store.calls.begin(), store.calls.end(), "insert"), 1);
  // A left edge beyond the main window is stored as 0.
  QWidget main;
  main.resize(640, 480);
  SetMainForm(&main);
  again.move(900, 20);
  again.Close();
  EXPECT_EQ(store.sizes.at({100010001, "frmSample"}).Left, 0);
  SetMainForm(nullptr);
}

TEST_F(SdiTest, DatabaseErrorsAreReportedAndTheWindowGoesOn) {
  store.failSizes = true;
  Sizeable form;
  form.KeepOnClose = true;
  form.resize(800, 600);
  form.show();
  EXPECT_EQ(form.size(), QSize(800, 600));  // keeps its bounds
  form.Close();
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(errors, (std::vector<std::string>{"TBSDI.GetFormSize", "TBSDI.PutFormSize"}));
  // A failed history start leaves the first-show work for the next showing.
  store.failSizes = false;
  store.failHistory = true;
  errors.clear();
  Sizeable other;
  other.KeepOnClose = true;
  other.show();
  EXPECT_FALSE(other.Shown);
  other.hide();
  store.failHistory = false;
  other.show();
  EXPECT_TRUE(other.Shown);
  EXPECT_EQ(errors, (std::vector<std::string>{"TBSDI.PutProcRirekiInfo"}));
}

TEST_F(SdiTest, EscAndF12) {
  DialogForm d;
  d.show();
  QApplication::setActiveWindow(&d);
  d.edit->setFocus();
  QTest::keyClick(d.edit, Qt::Key_F12);
  EXPECT_EQ(d.clicks, 1);
  EXPECT_EQ(d.LastKey, 0);  // consumed
  EXPECT_FALSE(d.isVisible());
  d.show();
  QApplication::setActiveWindow(&d);
  d.edit->setFocus();
  QTest::keyClick(d.edit, Qt::Key_Escape);
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(d.result(), mrCancel);
  // A dialog without F12 button: nothing, the key not consumed.
  d.F12Button = nullptr;
  d.show();
  QApplication::setActiveWindow(&d);
  d.edit->setFocus();
  QTest::keyClick(d.edit, Qt::Key_F12);
  EXPECT_TRUE(d.isVisible());
  EXPECT_EQ(d.LastKey, VK_F12);
  // A sizeable form: Esc does nothing, F12 closes it.
  Sizeable s;
  s.KeepOnClose = true;
  s.show();
  QApplication::setActiveWindow(&s);
  s.edit->setFocus();
  QTest::keyClick(s.edit, Qt::Key_Escape);
  EXPECT_TRUE(s.isVisible());
  QTest::keyClick(s.edit, Qt::Key_F12);
  EXPECT_FALSE(s.isVisible());
}

TEST_F(SdiTest, FocusHintAndFreeOnClose) {
  auto* d = new DialogForm;
  QPointer<DialogForm> alive(d);
  d->show();
  QApplication::setActiveWindow(d);
  d->edit->setFocus();
  EXPECT_EQ(d->memo->toPlainText().toStdString(), "データのコードを入力します。");
  d->Close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(alive.isNull());  // freed on close
  QLabel target;
  QWidget plain;
  SetHint(&plain, "一部だけ");
  TBSDI::ShowFocusHint(&plain, &target);
  EXPECT_EQ(target.text().toStdString(), "一部だけ");
  TBSDI::ShowFocusHint(nullptr, &target);
  EXPECT_EQ(target.text().toStdString(), "一部だけ");
}

TEST_F(SdiTest, HostMenuHookNotifiedUntilItRefuses) {
  std::vector<int> requests;
  int answer10 = 0;
  MenuRequestProc = [&](int code, const std::string&) {
    requests.push_back(code);
    return code == 10 ? answer10 : 0;
  };
  Sizeable s;
  s.KeepOnClose = true;
  s.NotifyMenu = true;
  s.show();
  EXPECT_EQ(requests, (std::vector<int>{10, 11, 4}));
  s.hide();
  answer10 = 1;
  requests.clear();
  s.show();
  EXPECT_EQ(requests, (std::vector<int>{10}));
  s.hide();
  requests.clear();
  s.show();
  EXPECT_TRUE(requests.empty());  // switched off for good
  MenuRequestProc = nullptr;
}

TEST_F(SdiTest, ZoomByOperatorFontAndLayoutShift) {
  if (ScreenDpi() != 96) GTEST_SKIP();
  SystemDef.MainFont.Size = 9;
  SystemDef.SysFont.Size = 12;
  SystemDef.FrameHeight = 8;  // shift 8
  SetFormDataStore(nullptr);
  Sizeable s;
  s.KeepOnClose = true;
  auto* grid = new TPerfectGrid(&s);
  grid->SetCols(2);
  grid->SetColumnWidth(0, 90);
  auto* far = new QWidget(&s);
  far->setGeometry(100, 50, 40, 20);
  s.show();
  EXPECT_EQ(s.ZoomPercent, 133);
  EXPECT_EQ(s.PixelsPerInch, 128);
  EXPECT_EQ(s.edit->x(), 0);                 // 4 - 8 -> 0, then zoomed
  EXPECT_EQ(far->x(), 92 * 128 / 96);        // 100 - 8, zoomed by 128/96
  EXPECT_EQ(grid->ColumnWidth(0), 90 * 128 / 96);  // columns rescaled by p/96
  ASSERT_FALSE(s.LayoutRecords().empty());
  const auto it = std::find_if(s.LayoutRecords().begin(), s.LayoutRecords().end(),
                               [&](const TLayoutRec& r) { return r.Control == grid; });
  ASSERT_NE(it, s.LayoutRecords().end());
  ASSERT_TRUE(it->Grid);
  EXPECT_EQ(it->Grid->ColWidths.size(), 3u);  // the fixed column and two columns
}

TEST_F(SdiTest, GridColoursAndPeriodSlot) {
  SystemDef.ColHeaderColor = 0xC0C0C0;
  SystemDef.ClientColor = 0xFFFFFF;
  SystemDef.ClientColor1 = 0xF0F0F0;
  SystemDef.ClientColor2 = 0xE0FFFF;
  SystemDef.ActiveColor = 0x0000FF;
  TPerfectGrid grid;
  TBSDI::ColorPerfectGrid(&grid, 1);
  EXPECT_EQ(grid.BackColor(), 0xFFFFFF);
  EXPECT_EQ(grid.ThruBorderColor(), 0x008000);
  EXPECT_EQ(grid.FocusBorderColor(), 0x0000FF);
  TBSDI::ColorPerfectGrid(&grid, 0);
  EXPECT_EQ(grid.BackColor(), 0xF0F0F0);
  EXPECT_EQ(grid.OddRowBackColor(), 0xE0FFFF);
  const int cases[][2] = {{1, 0}, {3, 2}, {4, 4}, {7, 8}, {10, 12}, {12, 14}, {0, 0}, {13, 0}};
  for (const auto& s : cases) EXPECT_EQ(TBSDI::MonthToPeriodSlot(s[0]), s[1]) << s[0];
}
