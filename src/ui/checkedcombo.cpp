#include "ui/checkedcombo.h"

#include <algorithm>

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include "platform/rtl/sysutils.h"
#include "platform/vcl/focus.h"

namespace {

std::vector<std::string> SplitParts(const std::string& text) {
  return text.empty() ? std::vector<std::string>{} : SplitString(text, ',');
}

std::string JoinParts(const std::vector<std::string>& parts) {
  std::string out;
  for (const auto& p : parts) out += (out.empty() ? "" : ",") + p;
  return out;
}

// The four button pictures, drawn in place of the bitmap resources
// "DROPDOWN_NORMAL", "DROPDOWN_HOT", "DROPDOWN_PRESS" and "DROPDOWN_GRAY".
QPixmap DropDownPicture(const char* resource, int size) {
  QPixmap pm(16, 16);
  const std::string r = resource;
  pm.fill(r == "DROPDOWN_HOT" ? QColor(229, 241, 251) : r == "DROPDOWN_PRESS" ? QColor(204, 228, 247) : QColor(240, 240, 240));
  QPainter p(&pm);
  p.setPen(QColor(160, 160, 160));
  p.drawRect(0, 0, 15, 15);
  p.setBrush(r == "DROPDOWN_GRAY" ? QColor(160, 160, 160) : QColor(0, 0, 0));
  p.setPen(Qt::NoPen);
  const QPointF tri[3] = {{4.5, 6.5}, {11.5, 6.5}, {8, 10.5}};
  p.drawPolygon(tri, 3);
  p.end();
  return pm.scaled(size, size);
}

}  // namespace

TxCheckedComboBox::TxCheckedComboBox(QWidget* parent) : QFrame(parent) {
  setFocusPolicy(Qt::StrongFocus);
  resize(120, 20);
  display_ = new QLabel(this);
  display_->setObjectName("Display");
  display_->setAutoFillBackground(true);
  display_->setFrameStyle(QFrame::Box | QFrame::Plain);
  display_->installEventFilter(this);
  button_ = new QLabel(this);
  button_->setObjectName("DropButton");
  button_->installEventFilter(this);
  button_->setAttribute(Qt::WA_Hover);
  popup_ = new QFrame(this, Qt::Popup);
  popup_->setObjectName("DropDown");
  popup_->installEventFilter(this);
  list_ = new QListWidget(popup_);
  list_->setObjectName("CheckList");
  list_->setContextMenuPolicy(Qt::CustomContextMenu);
  list_->installEventFilter(this);
  auto* layout = new QVBoxLayout(popup_);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(list_);
  connect(list_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
    if (!loading_) ClickCheck(list_->row(item), item->checkState() == Qt::Checked);
  });
  connect(list_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    QMenu menu;
    QAction* all = menu.addAction(QString::fromStdString(capSelectAll_));
    all->setEnabled(multiSelect_);
    QAction* none = menu.addAction(QString::fromStdString(capDeSelectAll_));
    QAction* chosen = menu.exec(list_->mapToGlobal(at));
    if (chosen == all) SelectAll();
    else if (chosen == none) DeSelectAll();
  });
  SetButtonState("DROPDOWN_NORMAL");
  RefreshDisplay();
}

void TxCheckedComboBox::SetButtonState(const char* resource) {
  button_->setPixmap(DropDownPicture(resource, std::max(8, height() - 4)));
}

void TxCheckedComboBox::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  const int b = height() - 4;
  button_->setGeometry(width() - b, 0, b, b);
  display_->setGeometry(0, 0, width() - b - 3, height());
  SetButtonState(isEnabled() ? "DROPDOWN_NORMAL" : "DROPDOWN_GRAY");
}

void TxCheckedComboBox::SetItems(const std::vector<std::string>& items) {
  items_ = items;
  if (sorted_) std::sort(items_.begin(), items_.end());
  selection_.clear();
  count_ = 0;
  RefreshDisplay();
  LoadList();
}

void TxCheckedComboBox::SetSorted(bool on) {
  sorted_ = on;
  if (on) SetItems(items_);
}

void TxCheckedComboBox::SetEmptyValue(const std::string& v) {
  if (v == emptyValue_) return;
  emptyValue_ = v;
  RefreshDisplay();
}

void TxCheckedComboBox::LoadList() {
  loading_ = true;
  list_->clear();
  for (const auto& item : items_) {
    auto* it = new QListWidgetItem(QString::fromStdString(item), list_);
    it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    it->setCheckState(Qt::Unchecked);
  }
  loading_ = false;
}

bool TxCheckedComboBox::Checked(int index) const {
  const QListWidgetItem* it = list_->item(index);
  return it && it->checkState() == Qt::Checked;
}

std::string TxCheckedComboBox::DisplayText() const {
  if (count_ == 0 || selection_.empty()) return emptyValue_;
  if (dispStyle_ == dsKensu) return count_ == 1 ? selection_ : Format(kensuFormat_, count_);
  if (!sortDisplay_) return selection_;
  std::vector<std::string> ordered;
  for (int i = 0; i < static_cast<int>(items_.size()); ++i)
    if (Checked(i)) ordered.push_back(items_[static_cast<std::size_t>(i)]);
  return JoinParts(ordered);
}

void TxCheckedComboBox::RefreshDisplay() {
  display_->setText(" " + QString::fromStdString(DisplayText()));
  QPalette p = display_->palette();
  const bool focused = hasFocus();
  p.setColor(QPalette::Window, focused ? palette().color(QPalette::Highlight) : QColor(255, 255, 255));
  p.setColor(QPalette::WindowText, !isEnabled() ? QColor(109, 109, 109) : focused ? QColor(255, 255, 255) : palette().color(QPalette::WindowText));
  display_->setPalette(p);
}

void TxCheckedComboBox::ClickCheck(int index, bool checked) {
  if (index < 0 || index >= static_cast<int>(items_.size())) return;
  const std::string item = items_[static_cast<std::size_t>(index)];
  loading_ = true;
  if (QListWidgetItem* it = list_->item(index)) it->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
  std::vector<std::string> parts = SplitParts(selection_);
  if (checked) {
    if (!multiSelect_) {
      for (int i = 0; i < list_->count(); ++i)
        if (i != index) list_->item(i)->setCheckState(Qt::Unchecked);
      parts.clear();
      count_ = 0;
    }
    if (std::find(parts.begin(), parts.end(), item) == parts.end()) {
      parts.push_back(item);
      ++count_;
    }
  } else {
    auto it = std::find(parts.begin(), parts.end(), item);
    if (it != parts.end()) {
      parts.erase(it);
      --count_;
    }
  }
  loading_ = false;
  selection_ = JoinParts(parts);
  RefreshDisplay();
  if (OnChange) OnChange(this);
  if (OnClickCheck) OnClickCheck(this);
}

void TxCheckedComboBox::SelectAll() {
  if (!multiSelect_) return;
  loading_ = true;
  for (int i = 0; i < list_->count(); ++i) list_->item(i)->setCheckState(Qt::Checked);
  loading_ = false;
  selection_ = JoinParts(items_);
  count_ = static_cast<int>(items_.size());
  RefreshDisplay();
  display_->repaint();
  if (OnChange) OnChange(this);
}

void TxCheckedComboBox::DeSelectAll() {
  loading_ = true;
  for (int i = 0; i < list_->count(); ++i) list_->item(i)->setCheckState(Qt::Unchecked);
  loading_ = false;
  selection_.clear();
  count_ = 0;
  RefreshDisplay();
  if (OnChange) OnChange(this);
}

int TxCheckedComboBox::DropDownLineCount() const {
  const int n = static_cast<int>(items_.size());
  int lines = columns_ < 2 ? std::min(dropDownLines_, n) : n / columns_ + 1;
  return std::clamp(lines, 1, 20);
}

bool TxCheckedComboBox::DroppedDown() const { return popup_->isVisible(); }

void TxCheckedComboBox::DropDown() {
  SetButtonState("DROPDOWN_PRESS");
  setFocus();
  if (items_.empty() || closedByButton_) {
    closedByButton_ = false;
    SetButtonState("DROPDOWN_NORMAL");
    return;
  }
  const int lines = DropDownLineCount();
  list_->setFont(font());
  if (columns_ >= 2) {
    list_->setFlow(QListView::TopToBottom);
    list_->setWrapping(true);
  }
  const int itemHeight = std::max(list_->sizeHintForRow(0), QFontMetrics(font()).height() + 2);
  const int w = std::max(width(), dropDownWidth_);
  const int h = lines * itemHeight + 4;
  QPoint at = mapToGlobal(QPoint(0, height()));
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen && at.y() + h > screen->geometry().bottom() - 20) at = mapToGlobal(QPoint(0, -h));
  popup_->setGeometry(at.x(), at.y(), w, h);
  popup_->show();
  list_->setFocus();
  update();
}

void TxCheckedComboBox::CloseUp() {
  if (!popup_->isVisible()) return;
  SetButtonState("DROPDOWN_NORMAL");
  closedByButton_ = button_->underMouse();
  popup_->hide();
  setFocus();
  if (OnCloseUp) OnCloseUp(this);
}

void TxCheckedComboBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F4) {
    DropDown();
    if (OnButtonClick) OnButtonClick(this);
    return;
  }
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    SelectNextControl(this, true);
    return;
  }
  QFrame::keyPressEvent(event);
}

void TxCheckedComboBox::focusInEvent(QFocusEvent* event) {
  QFrame::focusInEvent(event);
  RefreshDisplay();
}

void TxCheckedComboBox::focusOutEvent(QFocusEvent* event) {
  QFrame::focusOutEvent(event);
  RefreshDisplay();
}

bool TxCheckedComboBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == button_) {
    if (event->type() == QEvent::MouseButtonPress) {
      if (DroppedDown()) CloseUp();
      DropDown();
      if (OnButtonClick) OnButtonClick(this);
      return true;
    }
    if (!DroppedDown() && event->type() == QEvent::HoverEnter) SetButtonState("DROPDOWN_HOT");
    if (!DroppedDown() && event->type() == QEvent::HoverLeave) SetButtonState("DROPDOWN_NORMAL");
  } else if (watched == display_ && event->type() == QEvent::MouseButtonPress) {
    if (!hasFocus()) setFocus();
    if (OnPanelClick) OnPanelClick(this);
    return true;
  } else if (watched == popup_ && event->type() == QEvent::Hide) {
    SetButtonState("DROPDOWN_NORMAL");
    closedByButton_ = button_->underMouse();
  } else if (watched == list_ && event->type() == QEvent::KeyPress) {
    const auto* k = static_cast<QKeyEvent*>(event);
    const bool tab = k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab;
    if (k->key() == Qt::Key_Escape || tab || k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
      CloseUp();
      closedByButton_ = false;
      if (tab || k->key() != Qt::Key_Escape) {
        if (k->modifiers() == Qt::NoModifier && k->key() != Qt::Key_Backtab) SelectNextControl(this, true);
        else if (k->key() == Qt::Key_Backtab || (k->modifiers() & Qt::ShiftModifier)) SelectNextControl(this, false);
      }
      return true;
    }
  }
  return QFrame::eventFilter(watched, event);
}
