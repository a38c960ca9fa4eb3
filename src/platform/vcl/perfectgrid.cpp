#include "platform/vcl/perfectgrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

// Draws the current cell's frame in the grid's focus border colour.
class FocusFrameDelegate : public QStyledItemDelegate {
 public:
  explicit FocusFrameDelegate(TPerfectGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem o(option);
    o.state &= ~QStyle::State_HasFocus;
    QStyledItemDelegate::paint(painter, o, index);
    if (index == grid_->currentIndex()) {
      painter->save();
      painter->setPen(QPen(ColorToQColor(grid_->FocusBorderColor()), 2));
      painter->drawRect(option.rect.adjusted(1, 1, -1, -1));
      painter->restore();
    }
  }

 private:
  TPerfectGrid* grid_;
};

}  // namespace

TPerfectGrid::TPerfectGrid(QWidget* parent) : QTableWidget(parent) {
  setSelectionMode(QAbstractItemView::NoSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  verticalHeader()->hide();
  horizontalHeader()->setHighlightSections(false);
  setItemDelegate(new FocusFrameDelegate(this));
  SetCols(1);
  connect(this, &QTableWidget::cellClicked, this, [this](int r, int c) {
    if (OnCellClick) OnCellClick(r + 1, c - fixedLefts_);
  });
  connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int c) {
    if (OnCellClick) OnCellClick(0, c - fixedLefts_);
  });
  connect(this, &QTableWidget::cellDoubleClicked, this, [this](int, int) {
    if (OnDblClick) OnDblClick();
  });
  connect(this, &QTableWidget::currentCellChanged, this, [this](int r, int c, int pr, int pc) {
    if (pr >= 0 && pc >= 0 && OnCellLostFocus) OnCellLostFocus(pr + 1, pc - fixedLefts_);
    if (r >= 0 && c >= 0 && OnCellGotFocus) OnCellGotFocus(r + 1, c - fixedLefts_);
    viewport()->update();
  });
  Recolor();
}

void TPerfectGrid::SetCols(int cols) {
  cols_ = std::max(0, cols);
  const int before = columnCount();
  setColumnCount(fixedLefts_ + cols_);
  for (int c = before; c < columnCount(); ++c) setHorizontalHeaderItem(c, new QTableWidgetItem(QString()));
  kinds_.resize(static_cast<std::size_t>(fixedLefts_ + cols_), ckText);
  Recolor();
}

void TPerfectGrid::SetFixedLefts(int count) {
  count = std::max(0, count);
  while (fixedLefts_ < count) { insertColumn(0); setHorizontalHeaderItem(0, new QTableWidgetItem(QString())); kinds_.insert(kinds_.begin(), ckText); ++fixedLefts_; }
  while (fixedLefts_ > count) { removeColumn(0); kinds_.erase(kinds_.begin()); --fixedLefts_; }
  Recolor();
}

void TPerfectGrid::SetRows(int rows) {
  rows = std::max(0, rows);
  setRowCount(rows);
  rows_.resize(static_cast<std::size_t>(rows));
  for (int r = 0; r < rows; ++r) setRowHeight(r, defHeight_);
  Recolor();
}

int TPerfectGrid::InsertRow(int row) {
  if (row < 1 || row > Rows()) row = Rows() + 1;
  insertRow(TableRow(row));
  setRowHeight(TableRow(row), defHeight_);
  rows_.insert(rows_.begin() + TableRow(row), RowInfo{});
  for (auto& info : rows_)
    if (info.parent >= row) ++info.parent;
  Recolor();
  return row;
}

void TPerfectGrid::DeleteRow(int row) {
  if (row < 1 || row > Rows()) return;
  removeRow(TableRow(row));
  rows_.erase(rows_.begin() + TableRow(row));
  for (auto& info : rows_) {
    if (info.parent == row) info.parent = 0;
    else if (info.parent > row) --info.parent;
  }
  Recolor();
}

void TPerfectGrid::ClearRows() {
  setRowCount(0);
  rows_.clear();
}

void TPerfectGrid::SetColumnHeader(int col, const std::string& text) {
  if (col < -fixedLefts_ || col >= cols_) return;
  setHorizontalHeaderItem(TableCol(col), new QTableWidgetItem(QString::fromStdString(text)));
}

std::string TPerfectGrid::ColumnHeader(int col) const {
  const QTableWidgetItem* item = horizontalHeaderItem(TableCol(col));
  return item ? item->text().toStdString() : std::string();
}

void TPerfectGrid::SetColumnWidth(int col, int width) {
  if (col >= -fixedLefts_ && col < cols_) setColumnWidth(TableCol(col), width);
}

int TPerfectGrid::ColumnWidth(int col) const {
  return col >= -fixedLefts_ && col < cols_ ? columnWidth(TableCol(col)) : 0;
}

void TPerfectGrid::SetColumnAlignment(int col, Qt::Alignment alignment) {
  if (col < -fixedLefts_ || col >= cols_) return;
  for (int r = 1; r <= Rows(); ++r) Item(r, col)->setTextAlignment(alignment | Qt::AlignVCenter);
  horizontalHeader()->setProperty(("align" + std::to_string(col)).c_str(), static_cast<int>(alignment));
}

void TPerfectGrid::SetColumnKind(int col, TCellKind kind) {
  if (col >= -fixedLefts_ && col < cols_) kinds_[static_cast<std::size_t>(TableCol(col))] = kind;
}

TPerfectGrid::TCellKind TPerfectGrid::ColumnKind(int col) const {
  return col >= -fixedLefts_ && col < cols_ ? kinds_[static_cast<std::size_t>(TableCol(col))] : ckText;
}

bool TPerfectGrid::ValidCell(int row, int col) const {
  return row >= 1 && row <= Rows() && col >= -fixedLefts_ && col < cols_;
}

QTableWidgetItem* TPerfectGrid::Item(int row, int col) {
  QTableWidgetItem* item = this->item(TableRow(row), TableCol(col));
  if (!item) {
    item = new QTableWidgetItem;
    const QVariant a = horizontalHeader()->property(("align" + std::to_string(col)).c_str());
    if (a.isValid()) item->setTextAlignment(Qt::Alignment(a.toInt()) | Qt::AlignVCenter);
    setItem(TableRow(row), TableCol(col), item);
  }
  return item;
}

void TPerfectGrid::SetCellText(int row, int col, const std::string& text) {
  if (ValidCell(row, col)) Item(row, col)->setText(QString::fromStdString(text));
}

std::string TPerfectGrid::CellText(int row, int col) const {
  if (!ValidCell(row, col)) return {};
  const QTableWidgetItem* item = this->item(TableRow(row), TableCol(col));
  return item ? item->text().toStdString() : std::string();
}

void TPerfectGrid::SetCellNumber(int row, int col, double value) {
  if (ValidCell(row, col)) Item(row, col)->setData(Qt::DisplayRole, value);
}

double TPerfectGrid::CellNumber(int row, int col) const {
  if (!ValidCell(row, col)) return 0;
  const QTableWidgetItem* item = this->item(TableRow(row), TableCol(col));
  return item ? item->data(Qt::DisplayRole).toDouble() : 0;
}

void TPerfectGrid::SetCellPicture(int row, int col, const QPixmap& picture) {
  if (ValidCell(row, col)) Item(row, col)->setData(Qt::DecorationRole, picture);
}

void TPerfectGrid::SetRowValue(int row, int value) {
  if (row >= 1 && row <= Rows()) rows_[static_cast<std::size_t>(TableRow(row))].value = value;
}

int TPerfectGrid::RowValue(int row) const {
  return row >= 1 && row <= Rows() ? rows_[static_cast<std::size_t>(TableRow(row))].value : 0;
}

void TPerfectGrid::SetRowTextColor(int row, TColor color) {
  if (row < 1 || row > Rows()) return;
  rows_[static_cast<std::size_t>(TableRow(row))].textColor = color;
  for (int c = -fixedLefts_; c < cols_; ++c) Item(row, c)->setForeground(ColorToQColor(color));
}

TColor TPerfectGrid::RowTextColor(int row) const {
  return row >= 1 && row <= Rows() ? rows_[static_cast<std::size_t>(TableRow(row))].textColor : clWindowText;
}

void TPerfectGrid::SetRowFont(int row, const QFont& font) {
  if (row < 1 || row > Rows()) return;
  for (int c = -fixedLefts_; c < cols_; ++c) Item(row, c)->setFont(font);
}

void TPerfectGrid::SetRowParent(int row, int parentRow) {
  if (row < 1 || row > Rows() || parentRow == row) return;
  rows_[static_cast<std::size_t>(TableRow(row))].parent = parentRow;
  ApplyRowVisibility();
}

int TPerfectGrid::RowParent(int row) const {
  return row >= 1 && row <= Rows() ? rows_[static_cast<std::size_t>(TableRow(row))].parent : 0;
}

void TPerfectGrid::SetGroupExpanded(int parentRow, bool expanded) {
  if (parentRow < 1 || parentRow > Rows()) return;
  rows_[static_cast<std::size_t>(TableRow(parentRow))].expanded = expanded;
  ApplyRowVisibility();
}

bool TPerfectGrid::GroupExpanded(int parentRow) const {
  return parentRow >= 1 && parentRow <= Rows() && rows_[static_cast<std::size_t>(TableRow(parentRow))].expanded;
}

void TPerfectGrid::ApplyRowVisibility() {
  for (int r = 1; r <= Rows(); ++r) {
    const int parent = RowParent(r);
    setRowHidden(TableRow(r), parent > 0 && parent <= Rows() && !GroupExpanded(parent));
  }
}

int TPerfectGrid::Row() const { return currentRow() < 0 ? kNoRow : currentRow() + 1; }

void TPerfectGrid::SetRow(int row) {
  if (row < 1 || row > Rows()) { setCurrentCell(-1, -1); return; }
  setCurrentCell(TableRow(row), std::max(0, currentColumn() < 0 ? TableCol(0) : currentColumn()));
}

int TPerfectGrid::Col() const { return currentColumn() < 0 ? 0 : currentColumn() - fixedLefts_; }

void TPerfectGrid::SetCol(int col) {
  if (col >= -fixedLefts_ && col < cols_ && currentRow() >= 0) setCurrentCell(currentRow(), TableCol(col));
}

int TPerfectGrid::TopRow() const { return rowAt(0) + 1; }

void TPerfectGrid::SetTopRow(int row) {
  if (row >= 1 && row <= Rows()) scrollTo(model()->index(TableRow(row), 0), QAbstractItemView::PositionAtTop);
}

void TPerfectGrid::SetDefHeight(int height) {
  if (height == defHeight_) return;
  defHeight_ = height;
  verticalHeader()->setDefaultSectionSize(height);
  for (int r = 0; r < rowCount(); ++r) setRowHeight(r, height);
}

void TPerfectGrid::SetDefWidth(int width) {
  if (width == defWidth_) return;
  defWidth_ = width;
  // The header resets every column to a new default: the columns keep theirs.
  std::vector<int> widths;
  for (int c = 0; c < columnCount(); ++c) widths.push_back(columnWidth(c));
  horizontalHeader()->setDefaultSectionSize(width);
  for (int c = 0; c < columnCount(); ++c) setColumnWidth(c, widths[static_cast<std::size_t>(c)]);
}

void TPerfectGrid::SetColor(TColor& field, TColor value) {
  if (field == value) return;
  field = value;
  Recolor();
}

void TPerfectGrid::Recolor() {
  QPalette p = palette();
  p.setColor(QPalette::Base, ColorToQColor(backColor_));
  p.setColor(QPalette::AlternateBase, ColorToQColor(oddRowBackColor_));
  p.setColor(QPalette::Window, ColorToQColor(voidAreaColor_));
  p.setColor(QPalette::Mid, ColorToQColor(borderColor_));  // grid lines
  setPalette(p);
  setAlternatingRowColors(oddRowBackColor_ != backColor_);
  horizontalHeader()->setStyleSheet(QString("QHeaderView::section { background-color: %1; border: 1px solid %2; }")
                                        .arg(ColorToQColor(fixedBackColor_).name(), ColorToQColor(fixedBorderColor_).name()));
  for (int r = 1; r <= Rows(); ++r)
    for (int c = -fixedLefts_; c < 0; ++c) Item(r, c)->setBackground(ColorToQColor(fixedBackColor_));
  viewport()->update();
}

void TPerfectGrid::keyPressEvent(QKeyEvent* event) {
  Word key = QtKeyToVk(event->key());
  if (key != 0 && OnKeyDown) {
    OnKeyDown(key, event->modifiers());
    if (key == 0) { event->accept(); return; }
  }
  if (!event->text().isEmpty() && OnKeyPress) {
    char16_t ch = event->text().at(0).unicode();
    OnKeyPress(ch);
    if (ch == 0) { event->accept(); return; }
  }
  if (key != 0 && key != QtKeyToVk(event->key())) {
    QKeyEvent replaced(event->type(), VkToQtKey(key), event->modifiers());
    QTableWidget::keyPressEvent(&replaced);
    return;
  }
  QTableWidget::keyPressEvent(event);
}
