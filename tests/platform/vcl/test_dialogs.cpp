// The responder seam, modal results, key preview and focus moves.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "platform/vcl/application.h"
#include "platform/vcl/focus.h"
#include "platform/vcl/keypreview.h"
#include "platform/vcl/modalresult.h"
#include "platform/vcl/responder.h"

namespace {

struct SmallDialog : QDialog {
  QPushButton* ok = new QPushButton("OK", this);
  QPushButton* keep = new QPushButton("Keep", this);
  SmallDialog() {
    QObject::connect(ok, &QPushButton::clicked, this, [this] { SetFormModalResult(ok, mrOk); });
    QObject::connect(keep, &QPushButton::clicked, this, [this] { SetFormModalResult(keep, mrNone); });
  }
};

ShownDialog Describe() { return ShownDialog{"確認", "タイトル", {"一行目"}, {0}, {"OK", "Keep"}, nullptr}; }

}  // namespace

TEST(Responder, AnswersRecordsAndLetsTheDialogDecide) {
  EnsureApplication();
  ScriptedResponder responder(mrCancel);
  responder.Install();
  SmallDialog dialog;
  responder.Then(mrYes);
  EXPECT_EQ(ExecModal(dialog, Describe), mrYes);
  EXPECT_FALSE(dialog.isVisible());
  // The responder drives the window: a button that sets no result keeps the
  // dialog open, the responder's answer then ends it.
  responder.Then([](const ShownDialog& shown) {
    static_cast<SmallDialog*>(shown.window)->keep->click();
    EXPECT_TRUE(shown.window->isVisible());
    return mrAbort;
  });
  EXPECT_EQ(ExecModal(dialog, Describe), mrAbort);
  responder.Then([](const ShownDialog& shown) {
    static_cast<SmallDialog*>(shown.window)->ok->click();
    return mrCancel;  // too late: OK already ended the dialog
  });
  EXPECT_EQ(ExecModal(dialog, Describe), mrOk);
  EXPECT_EQ(ExecModal(dialog, Describe), mrCancel);  // queue empty: the fallback
  ASSERT_EQ(responder.Shown().size(), 4u);
  EXPECT_EQ(responder.Shown()[0].kind, "確認");
  EXPECT_EQ(responder.Shown()[0].caption, "タイトル");
  EXPECT_EQ(responder.Shown()[0].buttons, (std::vector<std::string>{"OK", "Keep"}));
  EXPECT_EQ(responder.Shown()[0].window, &dialog);
}

TEST(Responder, UninstallsOnDestruction) {
  {
    ScriptedResponder inner;
    inner.Install();
    EXPECT_EQ(CurrentDialogResponder(), &inner);
  }
  EXPECT_EQ(CurrentDialogResponder(), nullptr);
}

TEST(KeyPreview, FormSeesKeysFirstAndMayConsumeThem) {
  EnsureApplication();
  QWidget form;
  auto* edit = new QLineEdit(&form);
  std::vector<Word> downs, ups;
  KeyPreview preview(
      &form, [&](Word& key, Qt::KeyboardModifiers) { downs.push_back(key); if (key == 'X') key = 0; },
      [&](Word& key, Qt::KeyboardModifiers) { ups.push_back(key); });
  form.show();
  edit->setFocus();
  QApplication::setActiveWindow(&form);
  QTest::keyClick(edit, Qt::Key_A);
  QTest::keyClick(edit, Qt::Key_X);
  QTest::keyClick(edit, Qt::Key_F12);
  EXPECT_EQ(edit->text().toStdString(), "a");  // X consumed by the form
  EXPECT_EQ(downs, (std::vector<Word>{'A', 'X', VK_F12}));
  EXPECT_EQ(ups, (std::vector<Word>{'A', 'X', VK_F12}));
}

TEST(Focus, NextAndPreviousControlInTabOrder) {
  EnsureApplication();
  QWidget form;
  auto* a = new QLineEdit(&form);
  auto* hidden = new QLineEdit(&form);
  auto* b = new QLineEdit(&form);
  auto* disabled = new QLineEdit(&form);
  auto* c = new QLineEdit(&form);
  hidden->hide();
  disabled->setEnabled(false);
  form.show();
  QApplication::setActiveWindow(&form);
  a->setFocus();
  EXPECT_TRUE(SelectNextControl(a, true));
  EXPECT_TRUE(b->hasFocus());
  SelectNextControl(b, true);
  EXPECT_TRUE(c->hasFocus());
  SelectNextControl(c, true);
  EXPECT_TRUE(a->hasFocus());  // wraps round
  SelectNextControl(a, false);
  EXPECT_TRUE(c->hasFocus());
  QLineEdit loose;
  EXPECT_FALSE(SelectNextControl(&loose, true));
}
