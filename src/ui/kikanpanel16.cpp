// The 16-cell period selector: twelve month cells, three quarter cells and
// the settlement cell.
#include <QLabel>

#include "ui/kikancalc.h"
#include "ui/kikanpanel.h"

TxKikanPanel16::TxKikanPanel16(QWidget* parent) : TxKikanPanelBase(parent, 16, 242) {
  setObjectName("KikanPanel16");
  const int year = YearOf(Date());
  SetKikan(99, EncodeDate(year, 1, 1), EncodeDate(year, 12, 31), EncodeDate(year, 1, 1));
}

void TxKikanPanel16::SetKikan(int closingDay, TDateTime fiscalStart, TDateTime fiscalEnd, TDateTime startDate) {
  // The fiscal year's last month never lies beyond cell 14, so that the
  // settlement cell is at most cell 15 (longer years end in the last cell).
  const int c = std::min(kikan::CellIndexOf16(closingDay, fiscalStart, fiscalEnd), 14);
  lastNo_ = c + 1;
  lastSel_ = kessan_ ? c + 1 : c;
  firstSel_ = kikan::CellIndexOf16(closingDay, fiscalStart, startDate);
  stno_ = firstSel_;
  edno_ = kikanMove_ ? lastSel_ : stno_;
  for (int i = 0; i < 16; ++i) {
    std_[static_cast<std::size_t>(i)] = -1;
    Cell(i)->setVisible(true);
    SetCell(i, "", true, backColor_, fontColor_);
  }
  for (int i = 0; i < std::min(firstSel_, 16); ++i) SetCell(i, "", false, clBtnFace, clWindowText);
  for (int j = 0; j <= lastNo_; ++j) {
    std::string label;
    int number = j;
    if (j == lastNo_ || j == 15) {
      label = "決";
      number = 15;
    } else if (j == 3 || j == 7 || j == 11) {
      label = "・";
    } else {
      label = std::to_string(MonthOf(kikan::ClosingDateOf(j - j / 4, closingDay, fiscalStart)));
    }
    std_[static_cast<std::size_t>(j)] = number;
    Cell(j)->setText(QString::fromStdString(label));
  }
  for (int j = kessan_ ? lastNo_ + 1 : lastNo_; j < 16; ++j) SetCell(j, "", false, clBtnFace, clWindowText);
  anchor_ = stno_;
  dragEnd_ = edno_;
  ArrangeCells();
}

void TxKikanPanel16::SetEdno(int value) {
  TxKikanPanelBase::SetEdno(std::min(value, lastNo_));
}

void TxKikanPanel16::SetKESSAN(bool on) {
  if (on == kessan_) return;
  kessan_ = on;
  if (!on) {
    SetCell(lastSel_, "", false, clBtnFace, clWindowText);
    --lastSel_;
  } else {
    ++lastSel_;
    Cell(lastSel_)->setEnabled(true);
    Cell(lastSel_)->setText("決");
  }
  UpdateCellColors();
}

int TxKikanPanel16::StMonthNo() const { return stno_ >= 0 && stno_ <= 15 ? std_[static_cast<std::size_t>(stno_)] : stno_; }
int TxKikanPanel16::EdMonthNo() const { return edno_ >= 0 && edno_ <= 15 ? std_[static_cast<std::size_t>(edno_)] : edno_; }

void TxKikanPanel16::SetKakuteiMode(bool on) {
  if (on == kakuteiMode_) return;
  kakuteiMode_ = on;
  UpdateCellColors();
}

void TxKikanPanel16::SetKakuteiMNo(int n) {
  if (n == kakuteiMNo_) return;
  kakuteiMNo_ = n;
  UpdateCellColors();
}
