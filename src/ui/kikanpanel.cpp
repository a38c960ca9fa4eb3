// The behaviour the period selectors share: cells, layout, colours, mouse
// drag and arrow-key selection.
#include "ui/kikanpanel.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

#include "platform/vcl/focus.h"

namespace {

// One cell: routes its mouse events to the selector.
class KikanCell : public QLabel {
 public:
  KikanCell(TxKikanPanelBase* panel, int index) : QLabel(panel), panel_(panel), index_(index) {
    setObjectName(QString("No%1").arg(index + 1));
    setProperty("Tag", index);
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
    setMouseTracking(false);
  }

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    panel_->CellMouseDown(index_, e->button(), e->modifiers(), e->position().toPoint().x(), e->position().toPoint().y());
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (panel_->hasFocus()) panel_->CellMouseMove(index_, e->position().toPoint().x(), e->position().toPoint().y());
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    panel_->CellMouseUp(index_, e->button(), e->modifiers(), e->position().toPoint().x(), e->position().toPoint().y());
  }
  void mouseDoubleClickEvent(QMouseEvent*) override { panel_->CellDblClick(); }

 private:
  TxKikanPanelBase* panel_;
  int index_;
};

}  // namespace

TxKikanPanelBase::TxKikanPanelBase(QWidget* parent, int cells, int width) : QFrame(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(1);
  setFocusPolicy(Qt::StrongFocus);
  setAutoFillBackground(true);
  layoutCells_ = cells;
  for (int i = 0; i < cells; ++i) {
    auto* cell = new KikanCell(this, i);
    cell->setGeometry(4 + 18 * i, 4, 18, 18);
    cells_.push_back(cell);
  }
  hitRects_.resize(static_cast<std::size_t>(cells));
  edno_ = cells - 1;
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  resize(width, 22);
}

std::string TxKikanPanelBase::CellCaption(int index) const { return Cell(index)->text().toStdString(); }

void TxKikanPanelBase::SetStno(int value) {
  if (value == stno_) return;
  stno_ = value;
  UpdateCellColors();
}

void TxKikanPanelBase::SetEdno(int value) {
  if (value == edno_) return;
  edno_ = value;
  UpdateCellColors();
}

void TxKikanPanelBase::SetKikanMove(bool on) {
  if (on == kikanMove_) return;
  kikanMove_ = on;
  if (!on) edno_ = stno_;
  UpdateCellColors();
}

void TxKikanPanelBase::SetColorField(TColor& field, TColor value) {
  if (field == value) return;
  field = value;
  UpdateCellColors();
}

void TxKikanPanelBase::SetCell(int index, const std::string& caption, bool enabled, TColor back, TColor text) {
  QLabel* cell = Cell(index);
  cell->setText(QString::fromStdString(caption));
  cell->setEnabled(enabled);
  QPalette p = cell->palette();
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    p.setColor(group, QPalette::Window, ColorToQColor(back));
    p.setColor(group, QPalette::WindowText, ColorToQColor(text));
  }
  cell->setPalette(p);
}

void TxKikanPanelBase::PaintCell(int index, bool selected) {
  QLabel* cell = Cell(index);
  const std::string caption = cell->text().toStdString();
  const bool enabled = cell->isEnabled();
  if (!isEnabled()) {
    SetCell(index, caption, enabled, selected ? DisabledSelectionColor() : clBtnFace, clGray);
  } else if (selected) {
    SetCell(index, caption, enabled, backColor_, fontColor_);
  } else if (UnselectedConfirmed(index)) {
    SetCell(index, caption, enabled, ConfirmedBackColor(), ConfirmedFontColor());
  } else {
    SetCell(index, caption, enabled, clBtnFace, clWindowText);
  }
}

void TxKikanPanelBase::UpdateCellColors() {
  for (int i = 0; i < CellCount(); ++i) PaintCell(i, stno_ <= i && i <= edno_);
  update();
}

void TxKikanPanelBase::PaintDrag() {
  const int lo = std::min(anchor_, dragEnd_), hi = std::max(anchor_, dragEnd_);
  for (int i = 0; i < CellCount(); ++i) PaintCell(i, lo <= i && i <= hi);
  update();
}

void TxKikanPanelBase::ArrangeCells() {
  const int n = layoutCells_;
  const int w = (width() - 8) / n;
  const int h = height() - 6;
  int spare = width() - (n * w + 8);
  int given = 0;
  for (int i = 0; i < CellCount(); ++i) {
    const bool extra = spare > 0;
    Cell(i)->setGeometry(4 + i * w + given, 3, w + (extra ? 1 : 0), h);
    Cell(i)->setFont(font());
    hitRects_[static_cast<std::size_t>(i)] = QRect(QPoint(i * w + given, 3), QPoint(i * w + w, h + 3));
    if (extra) { ++given; --spare; }
  }
  UpdateCellColors();
}

void TxKikanPanelBase::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  const int w = (width() - 8) / layoutCells_;
  const int snapped = layoutCells_ * w + 8;
  if (snapped != width()) {
    resize(snapped, height());
    return;
  }
  ArrangeCells();
}

void TxKikanPanelBase::changeEvent(QEvent* event) {
  QFrame::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    for (auto* c : cells_) c->setFont(font());
    UpdateCellColors();
  } else if (event->type() == QEvent::EnabledChange) {
    UpdateCellColors();
  }
}

void TxKikanPanelBase::ReportMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TxKikanPanelBase::CellMouseDown(int cell, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
  if (button == Qt::LeftButton) {
    setFocus(Qt::MouseFocusReason);
    if (cell > lastSel_) {
      anchor_ = stno_;
      dragEnd_ = edno_;
    } else {
      anchor_ = dragEnd_ = cell;
      dragging_ = true;
      PaintDrag();
    }
  }
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TxKikanPanelBase::CellMouseMove(int /*cell*/, int x, int y) {
  if (!kikanMove_ || !dragging_) return;
  const QPoint p(x + hitRects_[static_cast<std::size_t>(anchor_)].left(), y);
  for (int i = 0; i < CellCount(); ++i) {
    if (!hitRects_[static_cast<std::size_t>(i)].contains(p)) continue;
    if (Cell(i)->isEnabled()) dragEnd_ = i;
    break;
  }
  PaintDrag();
}

void TxKikanPanelBase::CellMouseUp(int /*cell*/, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
  if (button != Qt::LeftButton) return;
  dragging_ = false;
  stno_ = std::min(anchor_, dragEnd_);
  edno_ = std::max(anchor_, dragEnd_);
  UpdateCellColors();
  ReportMouseUp(button, shift, x, y);
}

void TxKikanPanelBase::CellDblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TxKikanPanelBase::keyPressEvent(QKeyEvent* event) {
  const bool shiftAlone = event->modifiers() == Qt::ShiftModifier;
  switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right: {
      kbdMouse_ = true;
      const bool left = event->key() == Qt::Key_Left;
      if (shiftAlone && kikanMove_) {
        if (left ? dragEnd_ > firstSel_ : dragEnd_ < lastSel_) {
          dragEnd_ += left ? -1 : 1;
          stno_ = anchor_;
          edno_ = dragEnd_;
          PaintDrag();
        }
      } else {
        if (left ? anchor_ > firstSel_ : anchor_ < lastSel_) {
          anchor_ += left ? -1 : 1;
          dragEnd_ = anchor_;
          PaintDrag();
        }
        stno_ = anchor_;
        edno_ = dragEnd_;
      }
      event->accept();
      return;
    }
    case Qt::Key_Up:
      event->accept();
      SelectNextControl(this, false);
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (EnterClearsKbdMouse()) kbdMouse_ = false;
      ReportMouseUp(Qt::LeftButton, Qt::NoModifier, 0, 0);
      event->accept();
      SelectNextControl(this, true);
      return;
    default:
      QFrame::keyPressEvent(event);
  }
}

void TxKikanPanelBase::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Shift) {
    stno_ = std::min(anchor_, dragEnd_);
    edno_ = std::max(anchor_, dragEnd_);
    UpdateCellColors();
  }
  QFrame::keyReleaseEvent(event);
}

void TxKikanPanelBase::focusInEvent(QFocusEvent* event) {
  QFrame::focusInEvent(event);
  kbdMouse_ = false;
  QPalette p = palette();
  p.setColor(QPalette::Window, ColorToQColor(clGray));
  setPalette(p);
}

void TxKikanPanelBase::focusOutEvent(QFocusEvent* event) {
  QFrame::focusOutEvent(event);
  QPalette p = palette();
  p.setColor(QPalette::Window, ColorToQColor(clBtnFace));
  setPalette(p);
  if (kbdMouse_) {
    ReportMouseUp(Qt::LeftButton, Qt::NoModifier, 0, 0);
    kbdMouse_ = false;
  }
}
