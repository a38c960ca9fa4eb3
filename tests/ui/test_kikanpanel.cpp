// Period selectors: cell layout for fiscal years, quarter and settlement
// cells, selection by mouse and keys, and the report through OnMouseUp.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include "platform/vcl/application.h"
#include "ui/kikancalc.h"
#include "ui/kikanpanel.h"

namespace {

std::vector<std::string> Labels(const TxKikanPanelBase& p) {
  std::vector<std::string> out;
  for (int i = 0; i < p.CellCount(); ++i) out.push_back(p.CellCaption(i));
  return out;
}

struct Report {
  int count = 0;
  int stno = -1, edno = -1;
};

void Watch(TxKikanPanelBase& p, Report& r) {
  p.OnMouseUp = [&p, &r](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
    ++r.count;
    r.stno = p.Stno();
    r.edno = p.Edno();
  };
}

}  // namespace

TEST(KikanPanel16, AprilYearWithMonthEnd) {
  EnsureApplication();
  TxKikanPanel16 p;
  p.SetKikan(99, EncodeDate(2023, 4, 1), EncodeDate(2024, 3, 31), EncodeDate(2023, 4, 1));
  EXPECT_EQ(Labels(p), (std::vector<std::string>{"4", "5", "6", "・", "7", "8", "9", "・", "10", "11", "12", "・", "1",
                                                 "2", "3", "決"}));
  EXPECT_EQ(p.LastNo(), 15);
  EXPECT_EQ(p.Stno(), 0);
  EXPECT_EQ(p.Edno(), 15);
  EXPECT_EQ(p.StandardNumber(15), 15);
  EXPECT_EQ(p.StandardNumber(3), 3);
  p.SetKikanMove(false);
  p.SetKikan(99, EncodeDate(2023, 4, 1), EncodeDate(2024, 3, 31), EncodeDate(2023, 4, 1));
  EXPECT_EQ(p.Edno(), 0);
  // Selected cells in the selection colours (navy and white).
  EXPECT_EQ(p.Cell(0)->palette().color(QPalette::Window), ColorToQColor(0x800000));
  EXPECT_EQ(p.Cell(1)->palette().color(QPalette::Window), ColorToQColor(clBtnFace));
}

TEST(KikanPanel16, ClosingDay20StartsWithTheMayPeriod) {
  EnsureApplication();
  TxKikanPanel16 p;
  p.SetKikan(20, EncodeDate(2023, 4, 21), EncodeDate(2024, 4, 20), EncodeDate(2023, 4, 21));
  EXPECT_EQ(p.CellCaption(0), "5");
  EXPECT_EQ(p.CellCaption(14), "4");
  EXPECT_EQ(p.CellCaption(15), "決");
  EXPECT_EQ(p.LastNo(), 15);
}

TEST(KikanPanel16, ShortYearStartDatesAndLongYears) {
  EnsureApplication();
  TxKikanPanel16 p;
  p.SetKikan(99, EncodeDate(2023, 4, 1), EncodeDate(2023, 9, 30), EncodeDate(2023, 4, 1));
  EXPECT_EQ(p.LastNo(), 7);
  EXPECT_EQ(p.CellCaption(7), "決");
  EXPECT_EQ(p.StandardNumber(7), 15);
  EXPECT_EQ(p.StandardNumber(8), -1);
  for (int i = 8; i < 16; ++i) {
    EXPECT_FALSE(p.Cell(i)->isEnabled()) << i;
    EXPECT_EQ(p.CellCaption(i), "") << i;
  }
  p.SetKESSAN(false);
  EXPECT_FALSE(p.Cell(7)->isEnabled());
  EXPECT_EQ(p.LastSelectable(), 6);
  p.SetKESSAN(true);
  // Start date in the fifth month: cells 0 to 4 disabled.
  p.SetKikan(99, EncodeDate(2023, 4, 1), EncodeDate(2024, 3, 31), EncodeDate(2023, 8, 1));
  EXPECT_EQ(p.Stno(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(p.Cell(i)->isEnabled()) << i;
  EXPECT_TRUE(p.Cell(5)->isEnabled());
  // A start date before the fiscal start: the first selectable cell is 15.
  p.SetKikan(99, EncodeDate(2023, 4, 1), EncodeDate(2024, 3, 31), EncodeDate(2023, 1, 1));
  EXPECT_EQ(p.FirstSelectable(), 15);
  // A fiscal year of 15 months ends in the last cell, never beyond it.
  p.SetKikan(99, EncodeDate(2023, 4, 1), EncodeDate(2024, 6, 30), EncodeDate(2023, 4, 1));
  EXPECT_EQ(p.LastNo(), 15);
  EXPECT_LE(p.Edno(), 15);
  EXPECT_EQ(p.CellCaption(15), "決");
  p.SetEdno(20);
  EXPECT_EQ(p.Edno(), 15);
  EXPECT_EQ(kikan::CellIndexOf16(99, EncodeDate(2023, 4, 1), EncodeDate(2024, 5, 31)), 15);
  EXPECT_EQ(kikan::MonthToPeriodSlot(4), 4);
  EXPECT_EQ(kikan::MonthToPeriodSlot(12), 14);
  EXPECT_EQ(kikan::MonthToPeriodSlot(13), 0);
}

TEST(KikanPanel16, QuarterCellsAndSnappedWidth) {
  EnsureApplication();
  TxKikanPanel16 p;
  p.SetKikan(99, EncodeDate(2023, 1, 1), EncodeDate(2023, 12, 31), EncodeDate(2023, 1, 1));
  for (int q : {3, 7, 11}) {
    EXPECT_EQ(p.CellCaption(q), "・");
    EXPECT_EQ(p.StandardNumber(q), q);
  }
  p.show();  // a size change reaches a shown selector at once
  p.resize(248, 22);
  EXPECT_EQ(p.width(), 248);
  p.resize(242, 22);
  EXPECT_EQ(p.width(), 232);
  EXPECT_EQ(p.Cell(1)->x(), 4 + 14);
}

TEST(KikanPanel16, MouseDragAndRightButton) {
  EnsureApplication();
  TxKikanPanel16 p;
  p.SetKikan(99, EncodeDate(2023, 4, 1), EncodeDate(2024, 3, 31), EncodeDate(2023, 4, 1));
  p.resize(248, 22);
  p.show();
  QApplication::setActiveWindow(&p);
  Report r;
  Watch(p, r);
  int downs = 0;
  p.OnMouseDown = [&](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { ++downs; };
  QTest::mousePress(p.Cell(9), Qt::LeftButton, {}, QPoint(5, 5));
  // Drag to cell 4: coordinates relative to the anchor cell.
  const int dx = p.Cell(4)->x() - p.Cell(9)->x() + 5;
  QMouseEvent move(QEvent::MouseMove, QPointF(dx, 5), QPointF(), QPointF(), Qt::NoButton, Qt::LeftButton, {});
  QApplication::sendEvent(p.Cell(9), &move);
  QTest::mouseRelease(p.Cell(9), Qt::LeftButton, {}, QPoint(dx, 5));
  EXPECT_EQ(r.count, 1);
  EXPECT_EQ(r.stno, 4);
  EXPECT_EQ(r.edno, 9);
  p.SetKikanMove(false);
  QTest::mousePress(p.Cell(9), Qt::LeftButton, {}, QPoint(5, 5));
  QApplication::sendEvent(p.Cell(9), &move);
  QTest::mouseRelease(p.Cell(9), Qt::LeftButton, {}, QPoint(dx, 5));
  EXPECT_EQ(r.stno, 9);
  EXPECT_EQ(r.edno, 9);
  QTest::mousePress(p.Cell(2), Qt::RightButton, {}, QPoint(5, 5));
  QTest::mouseRelease(p.Cell(2), Qt::RightButton, {}, QPoint(5, 5));
  EXPECT_EQ(downs, 3);
  EXPECT_EQ(r.count, 2);  // the right button reports no selection
}

TEST(KikanPanel16, KeyboardSelectionReportsOnEnterOrWhenLeaving) {
  EnsureApplication();
  QWidget form;
  auto* panel = new TxKikanPanel16(&form);
  auto* before = new QLineEdit(&form);
  auto* after = new QLineEdit(&form);
  auto* layout = new QVBoxLayout(&form);
  layout->addWidget(before);
  layout->addWidget(panel);
  layout->addWidget(after);
  QWidget::setTabOrder(before, panel);
  QWidget::setTabOrder(panel, after);
  panel->SetKikan(99, EncodeDate(2023, 4, 1), EncodeDate(2024, 3, 31), EncodeDate(2023, 4, 1));
  panel->SetKikanMove(true);
  form.show();
  QApplication::setActiveWindow(&form);
  Report r;
  Watch(*panel, r);
  panel->setFocus();
  QTest::keyClick(panel, Qt::Key_Right);  // anchor to 1, a one-cell selection
  EXPECT_EQ(panel->Stno(), 1);
  EXPECT_EQ(panel->Edno(), 1);
  QTest::keyPress(panel, Qt::Key_Right, Qt::ShiftModifier);
  QTest::keyPress(panel, Qt::Key_Right, Qt::ShiftModifier);
  QTest::keyRelease(panel, Qt::Key_Shift, Qt::NoModifier);
  EXPECT_EQ(panel->Stno(), 1);
  EXPECT_EQ(panel->Edno(), 3);
  EXPECT_EQ(r.count, 0);  // nothing reported yet
  EXPECT_TRUE(panel->KBDMOUSE());
  QTest::keyClick(panel, Qt::Key_Return);
  EXPECT_EQ(r.count, 1);
  EXPECT_EQ(r.edno, 3);
  EXPECT_TRUE(after->hasFocus());
  EXPECT_FALSE(panel->KBDMOUSE());
  // An arrow-key selection reported when the focus leaves.
  panel->setFocus();
  QTest::keyClick(panel, Qt::Key_Left);
  QTest::keyClick(panel, Qt::Key_Up);  // back to the previous control
  EXPECT_TRUE(before->hasFocus());
  EXPECT_EQ(r.count, 2);
  EXPECT_EQ(r.stno, 0);
}

TEST(KikanPanel12And4, LayoutsAndSetters) {
  EnsureApplication();
  TxKikanPanel12 p12;
  p12.SetKikan(99, EncodeDate(2023, 4, 1), EncodeDate(2024, 3, 31), EncodeDate(2023, 6, 1));
  EXPECT_EQ(p12.CellCaption(0), "4");
  EXPECT_EQ(p12.CellCaption(11), "3");
  EXPECT_EQ(p12.Stno(), 2);
  EXPECT_EQ(p12.LastNo(), 11);
  p12.SetEdno(-3);  // raised to 0 and put in order
  EXPECT_EQ(p12.Stno(), 0);
  EXPECT_EQ(p12.Edno(), 2);
  EXPECT_EQ(p12.EdMonNo(), 2);
  p12.SetEdno(11);
  EXPECT_EQ(p12.EdMonNo(), 14);
  TxKikanPanel4 p4;
  EXPECT_EQ(p4.CellCaption(3), "4");
  p4.SetKikan(99, EncodeDate(2023, 4, 1), EncodeDate(2024, 3, 31), EncodeDate(2023, 8, 1));
  EXPECT_EQ(p4.Stno(), 1);
  EXPECT_EQ(p4.Edno(), 3);
  EXPECT_FALSE(p4.Cell(0)->isEnabled());
  p4.SetBtnCnt(2);
  EXPECT_EQ(p4.CellCaption(0), "上");
  EXPECT_TRUE(p4.Cell(2)->isHidden());
  EXPECT_EQ(p4.Edno(), 1);
  p4.SetBtnCnt(3);
  EXPECT_EQ(p4.BtnCnt(), 2);
}
