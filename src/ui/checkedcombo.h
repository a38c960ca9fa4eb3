// TxCheckedComboBox: looks like a combo box but drops down a list with check
// boxes, so that several items can be chosen; the closed control shows how
// many items are checked ("%d件選択") or the checked items themselves.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QFrame>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;

enum TCHBDispStyle { dsKensu, dsItems };
enum TCHBQuoteStyle { qsNone, qsSingle, qsDouble };

class TxCheckedComboBox : public QFrame {
  Q_OBJECT
 public:
  explicit TxCheckedComboBox(QWidget* parent = nullptr);

  const std::vector<std::string>& Items() const { return items_; }
  void SetItems(const std::vector<std::string>& items);
  std::string CapSelectAll() const { return capSelectAll_; }
  void SetCapSelectAll(const std::string& c) { capSelectAll_ = c; }
  std::string CapDeSelectAll() const { return capDeSelectAll_; }
  void SetCapDeSelectAll(const std::string& c) { capDeSelectAll_ = c; }
  bool Sorted() const { return sorted_; }
  void SetSorted(bool on);
  int Columns() const { return columns_; }
  void SetColumns(int columns) { columns_ = columns; }
  int DropDownLines() const { return dropDownLines_; }
  void SetDropDownLines(int lines) { if (lines >= 1 && lines <= 20) dropDownLines_ = lines; }
  std::string EmptyValue() const { return emptyValue_; }
  void SetEmptyValue(const std::string& v);
  bool SortDisplay() const { return sortDisplay_; }
  void SetSortDisplay(bool on) { sortDisplay_ = on; RefreshDisplay(); }
  int DropDownWidth() const { return dropDownWidth_; }
  void SetDropDownWidth(int w) { dropDownWidth_ = w; }
  TCHBDispStyle DispStyle() const { return dispStyle_; }
  void SetDispStyle(TCHBDispStyle s) { dispStyle_ = s; RefreshDisplay(); }
  std::string KensuValueFormat() const { return kensuFormat_; }
  void SetKensuValueFormat(const std::string& f) { kensuFormat_ = f; RefreshDisplay(); }
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool on) { multiSelect_ = on; }
  std::string Version() const { return "1.0.3"; }
  TCHBQuoteStyle QuoteStyle = qsNone;  // no effect
  bool KeyUse = false;                  // no effect
  int KeyLength = 0;                    // no effect
  std::string KeyDelimiter = ":";       // no effect

  // The checked items joined by "," in the order they were checked, and their number.
  std::string SelectionText() const { return selection_; }
  int CheckedCount() const { return count_; }
  std::string DisplayText() const;
  bool Checked(int index) const;
  // Checks or unchecks an item as a click in the list does.
  void ClickCheck(int index, bool checked);
  void SelectAll();
  void DeSelectAll();

  void DropDown();
  void CloseUp();
  bool DroppedDown() const;
  // Lines and geometry of the drop-down the next DropDown gives.
  int DropDownLineCount() const;
  QWidget* DropDownWindow() const { return popup_; }

  std::function<void(QObject*)> OnChange, OnCloseUp, OnClickCheck, OnPanelClick, OnButtonClick;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void RefreshDisplay();
  void LoadList();
  void SetButtonState(const char* resource);

  std::vector<std::string> items_;
  std::string capSelectAll_ = "&全て選択", capDeSelectAll_ = "&選択解除";
  bool sorted_ = false;
  int columns_ = 0;
  int dropDownLines_ = 15;
  std::string emptyValue_ = "未選択";
  bool sortDisplay_ = false;
  int dropDownWidth_ = 120;
  TCHBDispStyle dispStyle_ = dsKensu;
  std::string kensuFormat_ = "%d件選択";
  bool multiSelect_ = true;
  std::string selection_;
  int count_ = 0;
  QLabel* display_;
  QLabel* button_;
  QFrame* popup_;
  QListWidget* list_;
  bool closedByButton_ = false;
  bool loading_ = false;
};
