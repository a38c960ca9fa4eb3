// TCorvexExDateEdit: a composite control for a date, a time or both, entered
// field by field (era, year, month, day, AM/PM, hour, minute, second), with
// the year in the Western calendar or as a Japanese era year. It converts the
// fields into one date-time value, checks it and reports errors in a message
// box of its own.
//
// The empty state is a value of its own (IsEmpty); every date from 1873 on,
// and a time of exactly midnight, is kept as typed. DateTime reads 0 for an
// empty control; assigning 0 to a control that shows the year clears it.
#pragma once

#include <array>
#include <functional>
#include <stdexcept>
#include <string>

#include <QWidget>

#include "platform/rtl/eras.h"
#include "platform/rtl/datetime.h"
#include "platform/vcl/color.h"

class QComboBox;
class QLineEdit;

// The silent end of an operation after the user was told what is wrong.
class EAbort : public std::runtime_error {
 public:
  EAbort() : std::runtime_error("Operation aborted") {}
};

enum TCorvexExDateEditStyle {
  desYearMonthDayHMS, desYearMonthDayHM, desYearMonthDayH, desYearMonthDay, desYearMonth, desYear,
  desHourMinuteSecond, desHourMinute, desHour
};
enum TCorvexExYeardigitSet { yddigit2, yddigit4 };
enum TCorvexExRekiSet { rsSeireki, rsWareki, rsBoth };

// A unit label: a small framed cell with its caption centred.
class TCorvexExDateEditLabel : public QWidget {
  Q_OBJECT
 public:
  explicit TCorvexExDateEditLabel(QWidget* owner);
  std::string Caption() const { return caption_; }
  void SetCaption(const std::string& caption) { caption_ = caption; update(); }
  void SetColor(TColor color) { color_ = color; update(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::string caption_;
  TColor color_ = 0xE4E4E4;
};

class TCorvexExDateEdit : public QWidget {
  Q_OBJECT
 public:
  enum Field { fEra, fYear, fMonth, fDay, fAmpm, fHour, fMinute, fSecond, kFieldCount };

  explicit TCorvexExDateEdit(QWidget* parent = nullptr);

  // The value: 0 for an empty control. Reading checks the fields first; on an
  // error the user is told and EAbort is thrown.
  TDateTime DateTime();
  void SetDateTime(TDateTime value);
  bool IsEmpty() const { return empty_; }
  // Checks and converts the fields; false (after the message) when they are wrong.
  bool CheckInput();
  void Clear();

  TDateTime MinDate() const { return minDate_; }
  void SetMinDate(TDateTime value);  // 0: no bound
  TDateTime MaxDate() const { return maxDate_; }
  void SetMaxDate(TDateTime value);  // 0: no bound
  TCorvexExDateEditStyle EditStyle() const { return style_; }
  void SetEditStyle(TCorvexExDateEditStyle style);
  bool EditGengo() const { return editGengo_; }
  void SetEditGengo(bool on);
  bool EditAmpm() const { return editAmpm_; }
  void SetEditAmpm(bool on);
  TColor LabelColor() const { return labelColor_; }
  void SetLabelColor(TColor color);
  std::string LabelCaption(int index) const;  // 1 年 … 6 秒
  void SetLabelCaption(int index, const std::string& caption);
  int SpaceWidth() const { return spaceWidth_; }
  void SetSpaceWidth(int width);
  TCorvexExYeardigitSet Yeardigit() const { return yearDigit_; }
  void SetYeardigit(TCorvexExYeardigitSet digits);
  bool UseWarekiTable() const { return useWarekiTable_; }
  void SetUseWarekiTable(bool on);
  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool on) { autoSelect_ = on; }
  bool CanEmpty() const { return canEmpty_; }
  void SetCanEmpty(bool on) { canEmpty_ = on; }
  TCorvexExRekiSet Gengo() const { return gengo_; }
  void SetGengo(TCorvexExRekiSet value);
  bool DropDownKey() const { return dropDownKey_; }
  void SetDropDownKey(bool on) { dropDownKey_ = on; }
  bool EnterNext() const { return enterNext_; }
  void SetEnterNext(bool on) { enterNext_ = on; }
  bool ExitCheck() const { return exitCheck_; }
  void SetExitCheck(bool on) { exitCheck_ = on; }
  bool DisplayError() const { return displayError_; }
  void SetDisplayError(bool on) { displayError_ = on; }
  TColor FocusedColor() const { return focusedColor_; }
  void SetFocusedColor(TColor c) { focusedColor_ = c; }
  std::string DialogCaption() const { return dialogCaption_; }
  void SetDialogCaption(const std::string& caption) { dialogCaption_ = caption; }
  TColor Color() const { return color_; }
  void SetColor(TColor c) { color_ = c; ApplyColors(); }
  TColor DisableColor() const { return disableColor_; }
  void SetDisableColor(TColor c) { disableColor_ = c; ApplyColors(); }
  TColor DisableFontColor() const { return disableFontColor_; }
  void SetDisableFontColor(TColor c) { disableFontColor_ = c; ApplyColors(); }
  void SetTabStops(bool on);
  void SetHint(const std::string& hint);

  // The era table (newest first); switches UseWarekiTable on.
  void SetEraTable(const TGengoArray& table);
  // Era names the era box offers after "西暦" (when shown).
  std::vector<std::string> EraItems() const;

  QComboBox* EraBox() const { return eraBox_; }
  QComboBox* AmpmBox() const { return ampmBox_; }
  QLineEdit* NumberField(Field f) const;  // year, month, day, hour, minute, second
  QWidget* FieldWidget(Field f) const { return fields_[f]; }
  bool FieldShown(Field f) const;

  std::function<void(QObject* sender)> OnChange, OnClick;
  std::function<void(QObject* sender, char16_t& key)> OnKeyPress;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  struct Era {
    std::string name;
    TDateTime start;
    int startYear;
  };
  const std::vector<Era>& ActiveEras() const;
  void BuildVisibleEras();
  void FillEraList();
  void ArrangeFields(bool clear);
  void ApplyColors();
  void ShowValue();
  void ClearFields();
  TDateTime ClampValue(TDateTime v) const;
  bool ShowInputError(const std::string& text, QWidget* field);
  void FocusField(QWidget* field);
  bool HasYear() const;
  bool HasHour() const;
  bool IsAllBlank() const;
  void FocusLeft();

  std::array<QWidget*, kFieldCount> fields_{};
  QComboBox* eraBox_;
  QComboBox* ampmBox_;
  std::array<TCorvexExDateEditLabel*, 6> labels_{};
  TDateTime value_ = 0;
  bool empty_ = true;
  TDateTime minDate_ = 0, maxDate_ = 0;  // 0: no bound
  TCorvexExDateEditStyle style_ = desYearMonthDay;
  bool editGengo_ = true, editAmpm_ = false;
  TColor labelColor_ = 0xE4E4E4;
  int spaceWidth_ = 7;
  TCorvexExYeardigitSet yearDigit_ = yddigit4;
  bool useWarekiTable_ = false, autoSelect_ = true, canEmpty_ = true;
  TCorvexExRekiSet gengo_ = rsWareki;
  TColor disableColor_ = clGrayText, disableFontColor_ = 0xFFFFFF;
  bool dropDownKey_ = true, enterNext_ = true, exitCheck_ = false, displayError_ = true;
  TColor focusedColor_ = 0xFFFFFF;
  std::string dialogCaption_ = "日付時刻入力";
  TColor color_ = 0xFFFFFF;
  bool tabStop_ = true;
  std::vector<Era> eraTable_, visibleEras_;
  bool checking_ = false;
};
