// Period selectors: a row of cells for the months of one fiscal year (with
// quarter and settlement cells in the 16-cell selector) in which the user
// picks one cell or a run of cells with the mouse or the arrow keys. The
// owner lays the cells out with SetKikan and reads Stno/Edno (cell indexes)
// when OnMouseUp reports a finished selection.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QFrame>

#include "platform/rtl/datetime.h"
#include "platform/vcl/color.h"

class QLabel;

class TxKikanPanelBase : public QFrame {
  Q_OBJECT
 public:
  using MouseEvent = std::function<void(QObject* sender, Qt::MouseButton, Qt::KeyboardModifiers, int x, int y)>;

  int CellCount() const { return static_cast<int>(cells_.size()); }
  QLabel* Cell(int index) const { return cells_[static_cast<std::size_t>(index)]; }
  std::string CellCaption(int index) const;

  int Stno() const { return stno_; }
  virtual void SetStno(int value);
  int Edno() const { return edno_; }
  virtual void SetEdno(int value);
  TColor BackColor() const { return backColor_; }
  void SetBackColor(TColor c) { SetColorField(backColor_, c); }
  TColor FontColor() const { return fontColor_; }
  void SetFontColor(TColor c) { SetColorField(fontColor_, c); }
  bool KikanMove() const { return kikanMove_; }
  void SetKikanMove(bool on);
  bool KBDMOUSE() const { return kbdMouse_; }
  int FirstSelectable() const { return firstSel_; }
  int LastSelectable() const { return lastSel_; }

  // Colours every cell by the selection (and the disabled state).
  void UpdateCellColors();

  MouseEvent OnMouseUp, OnMouseDown;
  std::function<void(QObject* sender)> OnDblClick;

  // Cell events, routed here by the cells.
  void CellMouseDown(int cell, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
  void CellMouseMove(int cell, int x, int y);
  void CellMouseUp(int cell, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
  void CellDblClick();

 protected:
  TxKikanPanelBase(QWidget* parent, int cells, int width);

  virtual TColor DisabledSelectionColor() const { return 0xC0C0C0; }
  virtual bool UnselectedConfirmed(int /*cell*/) const { return false; }
  virtual TColor ConfirmedBackColor() const { return clBtnFace; }
  virtual TColor ConfirmedFontColor() const { return clWindowText; }
  virtual bool EnterClearsKbdMouse() const { return false; }

  void SetCell(int index, const std::string& caption, bool enabled, TColor back, TColor text);
  void PaintCell(int index, bool selected);
  void PaintDrag();  // cells between anchor and end selected, the others not
  void ArrangeCells();
  void SetColorField(TColor& field, TColor value);
  void ReportMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

  QSize sizeHint() const override { return QSize(layoutCells_ * 14 + 8, 22); }
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

  std::vector<QLabel*> cells_;
  int layoutCells_ = 0;  // cells the row is laid out for
  std::vector<QRect> hitRects_;
  bool dragging_ = false;
  int anchor_ = 0, dragEnd_ = 0;
  int stno_ = 0, edno_ = 0;
  int firstSel_ = 0, lastSel_ = 0;
  TColor backColor_ = 0x800000, fontColor_ = 0xFFFFFF;
  bool kikanMove_ = true;
  bool kbdMouse_ = false;
};

class TxKikanPanel16 : public TxKikanPanelBase {
  Q_OBJECT
 public:
  explicit TxKikanPanel16(QWidget* parent = nullptr);

  void SetKikan(int closingDay, TDateTime fiscalStart, TDateTime fiscalEnd, TDateTime startDate);
  void SetEdno(int value) override;

  TColor DisabelColor() const { return disabelColor_; }
  void SetDisabelColor(TColor c) { SetColorField(disabelColor_, c); }
  bool KESSAN() const { return kessan_; }
  void SetKESSAN(bool on);
  int LastNo() const { return lastNo_; }
  int StMonthNo() const;
  int EdMonthNo() const;
  bool KakuteiMode() const { return kakuteiMode_; }
  void SetKakuteiMode(bool on);
  int KakuteiMNo() const { return kakuteiMNo_; }
  void SetKakuteiMNo(int n);
  TColor KakuteiBackColor() const { return kakuteiBack_; }
  void SetKakuteiBackColor(TColor c) { SetColorField(kakuteiBack_, c); }
  TColor KakuteiFontColor() const { return kakuteiFont_; }
  void SetKakuteiFontColor(TColor c) { SetColorField(kakuteiFont_, c); }
  int StandardNumber(int cell) const { return std_[static_cast<std::size_t>(cell)]; }

 protected:
  TColor DisabledSelectionColor() const override { return disabelColor_; }
  bool UnselectedConfirmed(int cell) const override { return kakuteiMode_ && cell <= kakuteiMNo_ - 1; }
  TColor ConfirmedBackColor() const override { return kakuteiBack_; }
  TColor ConfirmedFontColor() const override { return kakuteiFont_; }
  bool EnterClearsKbdMouse() const override { return true; }

 private:
  std::vector<int> std_ = std::vector<int>(16, -1);
  int lastNo_ = 15;
  TColor disabelColor_ = 0xC0C0C0;
  bool kessan_ = true;
  bool kakuteiMode_ = false;
  int kakuteiMNo_ = 0;
  TColor kakuteiBack_ = 0x4080FF, kakuteiFont_ = 0xFFFFFF;
};

class TxKikanPanel12 : public TxKikanPanelBase {
  Q_OBJECT
 public:
  explicit TxKikanPanel12(QWidget* parent = nullptr);

  void SetKikan(int closingDay, TDateTime fiscalStart, TDateTime fiscalEnd, TDateTime startDate);
  void SetStno(int value) override;
  void SetEdno(int value) override;
  int LastNo() const { return lastSel_; }
  // The 16-cell index of the month of the first / last selected cell.
  int StMonNo() const;
  int EdMonNo() const;
  bool KakuteiMode() const { return kakuteiMode_; }
  void SetKakuteiMode(bool on) { kakuteiMode_ = on; UpdateCellColors(); }
  int KakuteiMNo() const { return kakuteiMNo_; }
  void SetKakuteiMNo(int n) { kakuteiMNo_ = n; UpdateCellColors(); }

 protected:
  bool UnselectedConfirmed(int cell) const override { return kakuteiMode_ && cell <= kakuteiMNo_ - 1; }
  TColor ConfirmedBackColor() const override { return 0x4080FF; }
  TColor ConfirmedFontColor() const override { return 0xFFFFFF; }

 private:
  void Order();
  bool kakuteiMode_ = false;
  int kakuteiMNo_ = 0;
};

class TxKikanPanel4 : public TxKikanPanelBase {
  Q_OBJECT
 public:
  explicit TxKikanPanel4(QWidget* parent = nullptr);

  void SetKikan(int closingDay, TDateTime fiscalStart, TDateTime fiscalEnd, TDateTime startDate);
  int BtnCnt() const { return btnCnt_; }
  void SetBtnCnt(int count);  // 2 (half years) or 4 (quarters)

 private:
  int btnCnt_ = 4;
};
