// The 12-cell and the 4-cell (or 2-cell) period selectors.
#include <QLabel>

#include "ui/kikancalc.h"
#include "ui/kikanpanel.h"

namespace {
int MonthCell12(int closingDay, TDateTime base, TDateTime date) {
  const int m = kikan::MonthOffset(closingDay, base, date);
  return m >= 0 && m <= 11 ? m : 11;
}
constexpr int kStandard12[12] = {0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14};
}  // namespace

TxKikanPanel12::TxKikanPanel12(QWidget* parent) : TxKikanPanelBase(parent, 12, 242) {
  setObjectName("KikanPanel12");
  const int year = YearOf(Date());
  SetKikan(99, EncodeDate(year, 1, 1), EncodeDate(year, 12, 31), EncodeDate(year, 1, 1));
}

void TxKikanPanel12::SetKikan(int closingDay, TDateTime fiscalStart, TDateTime fiscalEnd, TDateTime startDate) {
  lastSel_ = MonthCell12(closingDay, fiscalStart, fiscalEnd);
  firstSel_ = MonthCell12(closingDay, fiscalStart, startDate);
  stno_ = firstSel_;
  edno_ = kikanMove_ ? lastSel_ : stno_;
  for (int i = 0; i < 12; ++i) {
    Cell(i)->setVisible(true);
    const bool selectable = i >= firstSel_ && i <= lastSel_;
    const std::string label =
        i <= lastSel_ ? std::to_string(MonthOf(kikan::ClosingDateOf(i, closingDay, fiscalStart))) : std::string();
    SetCell(i, label, selectable, selectable ? backColor_ : clBtnFace, selectable ? fontColor_ : clWindowText);
  }
  anchor_ = stno_;
  dragEnd_ = edno_;
  ArrangeCells();
}

void TxKikanPanel12::Order() {
  stno_ = std::clamp(stno_, 0, lastSel_);
  edno_ = std::clamp(edno_, 0, lastSel_);
  if (stno_ > edno_) std::swap(stno_, edno_);
  UpdateCellColors();
}

void TxKikanPanel12::SetStno(int value) {
  stno_ = value;
  Order();
}

void TxKikanPanel12::SetEdno(int value) {
  edno_ = value;
  Order();
}

int TxKikanPanel12::StMonNo() const { return stno_ >= 0 && stno_ < 12 ? kStandard12[stno_] : stno_; }
int TxKikanPanel12::EdMonNo() const { return edno_ >= 0 && edno_ < 12 ? kStandard12[edno_] : edno_; }

TxKikanPanel4::TxKikanPanel4(QWidget* parent) : TxKikanPanelBase(parent, 4, 80) {
  setObjectName("KikanPanel4");
  SetBtnCnt(4);
  btnCnt_ = 4;
}

void TxKikanPanel4::SetBtnCnt(int count) {
  if (count != 2 && count != 4) return;
  btnCnt_ = count;
  layoutCells_ = count;
  static const char* const kQuarters[] = {"1", "2", "3", "4"};
  static const char* const kHalves[] = {"上", "下"};
  for (int i = 0; i < 4; ++i) {
    Cell(i)->setVisible(i < count);
    Cell(i)->setEnabled(true);
    Cell(i)->setText(i < count ? (count == 2 ? kHalves[i] : kQuarters[i]) : "");
  }
  stno_ = 0;
  edno_ = count - 1;
  firstSel_ = 0;
  lastSel_ = count - 1;
  anchor_ = stno_;
  dragEnd_ = edno_;
  resize(count * ((width() - 8) / count) + 8, height());
  ArrangeCells();
}

void TxKikanPanel4::SetKikan(int closingDay, TDateTime fiscalStart, TDateTime fiscalEnd, TDateTime startDate) {
  const int m1 = MonthCell12(closingDay, fiscalStart, startDate);
  const int m2 = MonthCell12(closingDay, fiscalStart, fiscalEnd);
  if (btnCnt_ == 4) {
    stno_ = m1 / 3;
    edno_ = m2 / 3;
  } else {
    stno_ = m1 < 6 ? 0 : 1;
    edno_ = m2 < 6 ? 0 : 1;
  }
  if (!kikanMove_) edno_ = stno_;
  // The arrow keys stay within the enabled cells.
  firstSel_ = stno_;
  lastSel_ = edno_;
  for (int i = 0; i < btnCnt_; ++i) {
    const bool on = i >= stno_ && i <= edno_;
    SetCell(i, CellCaption(i), on, on ? backColor_ : clBtnFace, on ? fontColor_ : clWindowText);
  }
  anchor_ = stno_;
  dragEnd_ = edno_;
  UpdateCellColors();
}
