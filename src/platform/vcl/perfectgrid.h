// TPerfectGrid: the list grid of the data-selection, data-place, shared-server
// and logged-in users windows, over a Qt table. One header row and fixed left
// columns; columns are numbered from -FixedLefts to Cols-1, data rows from 1
// (row 0 is the header row). Row and column selection are off; the current
// cell is the one the user works on.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QFont>
#include <QPixmap>
#include <QTableWidget>

#include "platform/vcl/color.h"
#include "platform/vcl/keys.h"

class TPerfectGrid : public QTableWidget {
  Q_OBJECT
 public:
  static constexpr int kNoRow = 32700;
  enum TCellKind { ckText, ckNumber, ckPicture };

  explicit TPerfectGrid(QWidget* parent = nullptr);

  // Layout.
  int Cols() const { return cols_; }
  void SetCols(int cols);
  int FixedLefts() const { return fixedLefts_; }
  void SetFixedLefts(int count);
  int Rows() const { return rowCount(); }
  void SetRows(int rows);
  // Inserts an empty row before `row` (appends when row > Rows); returns its number.
  int InsertRow(int row);
  void DeleteRow(int row);
  void ClearRows();
  void SetColumnHeader(int col, const std::string& text);
  std::string ColumnHeader(int col) const;
  void SetColumnWidth(int col, int width);
  int ColumnWidth(int col) const;
  void SetColumnAlignment(int col, Qt::Alignment alignment);
  void SetColumnKind(int col, TCellKind kind);
  TCellKind ColumnKind(int col) const;

  // Cells and rows.
  void SetCellText(int row, int col, const std::string& text);
  std::string CellText(int row, int col) const;
  void SetCellNumber(int row, int col, double value);
  double CellNumber(int row, int col) const;
  void SetCellPicture(int row, int col, const QPixmap& picture);
  void SetRowValue(int row, int value);
  int RowValue(int row) const;
  void SetRowTextColor(int row, TColor color);
  TColor RowTextColor(int row) const;
  void SetRowFont(int row, const QFont& font);

  // Grouping: child rows folded under their parent row.
  void SetRowParent(int row, int parentRow);  // 0: a top-level row
  int RowParent(int row) const;
  void SetGroupExpanded(int parentRow, bool expanded);
  bool GroupExpanded(int parentRow) const;

  // Current cell (kNoRow when there is no current row) and scrolling.
  int Row() const;
  void SetRow(int row);
  int Col() const;
  void SetCol(int col);
  int TopRow() const;
  void SetTopRow(int row);

  // Look. Setters store a value only when it differs and repaint at once.
  TColor FixedBackColor() const { return fixedBackColor_; }
  void SetFixedBackColor(TColor c) { SetColor(fixedBackColor_, c); }
  TColor FixedBorderColor() const { return fixedBorderColor_; }
  void SetFixedBorderColor(TColor c) { SetColor(fixedBorderColor_, c); }
  TColor BackColor() const { return backColor_; }
  void SetBackColor(TColor c) { SetColor(backColor_, c); }
  TColor OddRowBackColor() const { return oddRowBackColor_; }
  void SetOddRowBackColor(TColor c) { SetColor(oddRowBackColor_, c); }
  TColor FocusBorderColor() const { return focusBorderColor_; }
  void SetFocusBorderColor(TColor c) { SetColor(focusBorderColor_, c); }
  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor c) { SetColor(borderColor_, c); }
  TColor ThruBorderColor() const { return thruBorderColor_; }
  void SetThruBorderColor(TColor c) { SetColor(thruBorderColor_, c); }
  TColor DisabledColor() const { return disabledColor_; }
  void SetDisabledColor(TColor c) { SetColor(disabledColor_, c); }
  TColor VoidAreaColor() const { return voidAreaColor_; }
  void SetVoidAreaColor(TColor c) { SetColor(voidAreaColor_, c); }
  int DefHeight() const { return defHeight_; }
  void SetDefHeight(int height);
  int DefWidth() const { return defWidth_; }
  void SetDefWidth(int width);

  // Events, bound by the windows as PerfectGrid1CellClick and so on.
  std::function<void(int row, int col)> OnCellClick;
  std::function<void(int row, int col)> OnCellGotFocus;
  std::function<void(int row, int col)> OnCellLostFocus;
  std::function<void(Word& key, Qt::KeyboardModifiers shift)> OnKeyDown;
  std::function<void(char16_t& key)> OnKeyPress;
  std::function<void()> OnDblClick;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  struct RowInfo {
    int value = 0;
    int parent = 0;
    TColor textColor = clWindowText;
    bool expanded = true;
  };

  int TableRow(int row) const { return row - 1; }
  int TableCol(int col) const { return col + fixedLefts_; }
  bool ValidCell(int row, int col) const;
  QTableWidgetItem* Item(int row, int col);
  void SetColor(TColor& field, TColor value);
  void Recolor();
  void ApplyRowVisibility();

  int cols_ = 0;
  int fixedLefts_ = 1;
  std::vector<TCellKind> kinds_;
  std::vector<RowInfo> rows_;
  TColor fixedBackColor_ = clBtnFace, fixedBorderColor_ = clGray, backColor_ = clWindow,
         oddRowBackColor_ = clWindow, focusBorderColor_ = clNavy, borderColor_ = clGray,
         thruBorderColor_ = clGreen, disabledColor_ = clGray, voidAreaColor_ = clGrayText;
  int defHeight_ = 18;
  int defWidth_ = 64;
};
