// Key navigation of a small form built from the key-navigation controls, and
// the numeric edit's amount input.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "platform/vcl/application.h"
#include "ui/corvexedit.h"
#include "ui/sdi.h"
#include "ui/xcheckbox.h"
#include "ui/xcombobox.h"
#include "ui/xedit.h"
#include "ui/xmaskedit.h"

namespace {

struct NavForm : TBSDI {
  NavForm() : TBSDI(nullptr, bsDialog, "frmNav") {
    edit = new TxEdit(this);
    check = new TxCheckBox(this);
    radio = new TxRadioButton(this);
    combo = new TxComboBox(this);
    mask = new TxMaskEdit(this);
    amount = new TCorvexEdit(this);
    int y = 0;
    for (QWidget* w : std::initializer_list<QWidget*>{edit, check, radio, combo, mask, amount}) {
      w->setGeometry(10, y += 26, 200, 22);
    }
    KeepOnClose = true;
    Initialized = true;
  }
  TxEdit* edit;
  TxCheckBox* check;
  TxRadioButton* radio;
  TxComboBox* combo;
  TxMaskEdit* mask;
  TCorvexEdit* amount;
};

struct KeyNavTest : ::testing::Test {
  void SetUp() override {
    EnsureApplication();
    form = std::make_unique<NavForm>();
    form->show();
    QApplication::setActiveWindow(form.get());
  }
  QWidget* Focused() { return QApplication::focusWidget(); }
  std::unique_ptr<NavForm> form;
};

}  // namespace

TEST_F(KeyNavTest, EnterMovesOnUpMovesBackEscClosesF12Nothing) {
  NavForm& f = *form;
  f.edit->setFocus();
  const std::vector<QWidget*> order{f.check, f.radio, f.combo, f.mask, f.amount};
  for (QWidget* next : order) {
    QWidget* from = Focused();
    QTest::keyClick(from, Qt::Key_Return);
    EXPECT_EQ(Focused(), next) << from->metaObject()->className() << " -> "
                               << (Focused() ? Focused()->metaObject()->className() : "none");
  }
  for (auto it = order.rbegin() + 1; it != order.rend(); ++it) {
    // The numeric edit moves back with Up only when ksUp is set.
    if (Focused() == f.amount) f.amount->SetKeyStyles(KeyStyleBit(ksEnter) | KeyStyleBit(ksUp));
    QTest::keyClick(Focused(), Qt::Key_Up);
    EXPECT_EQ(Focused(), *it) << (*it)->metaObject()->className();
  }
  // Left and Right do nothing special with the default styles.
  f.edit->setFocus();
  f.edit->selectAll();
  QTest::keyClick(f.edit, Qt::Key_Right);
  EXPECT_EQ(Focused(), f.edit);
  QTest::keyClick(f.edit, Qt::Key_F12);
  EXPECT_TRUE(f.isVisible());
  QTest::keyClick(f.edit, Qt::Key_Escape);
  EXPECT_FALSE(f.isVisible());
}

TEST_F(KeyNavTest, EditArrowsDependOnTheSelection) {
  NavForm& f = *form;
  f.edit->SetKeyStyles(kKeyStylesMask);
  f.edit->setText("ABCDE");
  f.edit->setFocus();
  f.edit->setCursorPosition(2);
  QTest::keyClick(f.edit, Qt::Key_Left);
  EXPECT_EQ(Focused(), f.edit);
  EXPECT_EQ(f.edit->cursorPosition(), 1);
  QTest::keyClick(f.edit, Qt::Key_Right);
  EXPECT_EQ(Focused(), f.edit);
  f.edit->selectAll();
  QTest::keyClick(f.edit, Qt::Key_Right);  // whole text selected: on to the next control
  EXPECT_EQ(Focused(), f.check);
  f.edit->setFocus();
  f.edit->setCursorPosition(0);
  QTest::keyClick(f.edit, Qt::Key_Left);
  EXPECT_NE(Focused(), f.edit);
  // Numeric accessors: writing 0 keeps the text.
  f.edit->setText("1500");
  f.edit->SetCurr(Currency());
  EXPECT_EQ(f.edit->Text(), "1500");
  EXPECT_EQ(f.edit->Curr(), Currency(1500));
  f.edit->SetLong(7);
  EXPECT_EQ(f.edit->Long(), 7);
}

TEST_F(KeyNavTest, ComboKeyPartSearchAndDelete) {
  NavForm& f = *form;
  TxComboBox* c = f.combo;
  c->setEditable(true);
  c->addItems({"001:本社", "002:大阪支店", "003:福岡支店"});
  c->SetKeyLen(3);
  c->setCurrentIndex(0);
  c->setFocus();
  c->lineEdit()->clear();
  QTest::keyClicks(c->lineEdit(), "002");
  EXPECT_EQ(c->RememberedIndex(), 1);
  f.mask->setFocus();  // leaving selects the remembered item
  EXPECT_EQ(c->currentIndex(), 1);
  EXPECT_EQ(c->currentText().toStdString(), "002:大阪支店");
  c->setFocus();
  c->lineEdit()->setCursorPosition(0);
  QTest::keyClick(c->lineEdit(), Qt::Key_Delete);
  EXPECT_EQ(c->currentIndex(), 0);
  EXPECT_EQ(c->RememberedIndex(), 0);
}

TEST_F(KeyNavTest, AmountFieldOfTheInputDialog) {
  TCorvexEdit* a = form->amount;
  a->SetEditStyle(esNumericMinus);
  a->SetAlignment(Qt::AlignRight);
  a->SetMaxLength(11);
  a->SetOutputFormat("#,##0");
  a->SetComma(true);
  a->SetZero3Key(zkDot);
  a->SetKeyStyles(KeyStyleBit(ksEnter) | KeyStyleBit(ksUp));
  a->setFocus();
  QTest::keyClicks(a, "1234");
  EXPECT_EQ(a->Text(), "1,234");
  EXPECT_EQ(a->cursorPosition(), 5);
  QTest::keyClick(a, Qt::Key_Period);
  EXPECT_EQ(a->Text(), "1,234,000");
  QTest::keyClick(a, Qt::Key_Minus);
  EXPECT_EQ(a->Text(), "-1,234,000");
  EXPECT_EQ(a->cursorPosition(), 10);
  QTest::keyClick(a, Qt::Key_A);  // filtered out
  EXPECT_EQ(a->Text(), "-1,234,000");
  // "-" on an empty field is typed as a character.
  a->clear();
  QTest::keyClick(a, Qt::Key_Minus);
  EXPECT_EQ(a->Text(), "-");
}

TEST_F(KeyNavTest, NumericStylesLimitsAndBlankFields) {
  TCorvexEdit* a = form->amount;
  a->SetEditStyle(esFloat);
  a->setFocus();
  QTest::keyClick(a, Qt::Key_Period);  // not as the first character
  EXPECT_EQ(a->Text(), "");
  QTest::keyClicks(a, "1.5.");
  EXPECT_EQ(a->Text(), "1.5");
  // Full field: the third digit moves on and the result says why.
  a->clear();
  a->SetEditStyle(esNumeric);
  a->SetMaxLength(3);
  a->SetAutoNextCtls(AutoNextBit(acMaxLength));
  QTest::keyClicks(a, "12");
  EXPECT_EQ(QApplication::focusWidget(), a);
  QTest::keyClick(a, Qt::Key_3);
  EXPECT_EQ(a->Text(), "123");
  EXPECT_NE(QApplication::focusWidget(), a);
  EXPECT_TRUE(Has(a->AutoNextCtls_Result(), acMaxLength) || a->AutoNextCtls_Result() == 0);
  // Leaving an empty field: the format of 0, unless blanks are allowed.
  a->SetMaxLength(0);
  a->SetAutoNextCtls(0);
  a->SetOutputFormat("#,##0");
  a->setFocus();
  a->clear();
  form->edit->setFocus();
  EXPECT_EQ(a->Text(), "0");
  a->SetAllowBlank(true);
  a->setFocus();
  a->clear();
  form->edit->setFocus();
  EXPECT_EQ(a->Text(), "");
  // Left at the start with ksLeft moves back.
  a->SetKeyStyles(KeyStyleBit(ksLeft));
  a->setFocus();
  a->setText("12");
  a->setCursorPosition(0);
  QTest::keyClick(a, Qt::Key_Left);
  EXPECT_EQ(QApplication::focusWidget(), form->mask);
}
