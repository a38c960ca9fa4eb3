// TCorvexExDateEdit: eras, the value and the check of the typed fields.
#include <cmath>

#include <QComboBox>
#include <QLineEdit>

#include "platform/rtl/sysutils.h"
#include "ui/dateedit.h"
#include "ui/messagebox2.h"

namespace {

const TDateTime kFloorDate = EncodeDate(1873, 1, 1);
const TDateTime kEraEnd = EncodeDate(2101, 1, 1);

int NumberOf(const QLineEdit* e) { return StrToIntDef(Trim(e->text().toStdString()), 0); }

}  // namespace

// ---- eras --------------------------------------------------------------------

const std::vector<TCorvexExDateEdit::Era>& TCorvexExDateEdit::ActiveEras() const {
  if (useWarekiTable_ && !visibleEras_.empty()) return visibleEras_;
  // The desktop offers no Japanese calendar: the built-in eras stand in for it.
  static const std::vector<Era> system = [] {
    std::vector<Era> eras;
    for (const auto& g : BuiltInGengo) eras.push_back({g.Name, StrToDate(g.StartDate), g.StartYear});
    return eras;
  }();
  return system;
}

void TCorvexExDateEdit::SetEraTable(const TGengoArray& table) {
  useWarekiTable_ = true;
  eraTable_.clear();
  for (const auto& g : table) eraTable_.push_back({g.Name, g.StartDate, g.StartYear});
  BuildVisibleEras();
}

void TCorvexExDateEdit::BuildVisibleEras() {
  const int n = static_cast<int>(eraTable_.size());
  auto containing = [&](TDateTime d, int fallback) {
    for (int i = 0; i < n; ++i) {
      const TDateTime next = i == 0 ? kEraEnd : eraTable_[static_cast<std::size_t>(i - 1)].start;
      if (eraTable_[static_cast<std::size_t>(i)].start <= d && d < next) return i;
    }
    return fallback;
  };
  const int newest = 0, oldest = n - 1;
  const bool maxSet = maxDate_ != 0 && maxDate_ > EncodeDate(1873, 1, 2);
  const bool minSet = minDate_ != 0 && minDate_ > EncodeDate(1873, 1, 2);
  int top = !maxSet || maxDate_ >= kEraEnd ? newest : containing(maxDate_, newest);
  int bottom = minSet ? containing(minDate_, oldest) : oldest;
  if (top > bottom) { top = newest; bottom = oldest; }
  visibleEras_.clear();
  for (int i = top; i <= bottom && i >= 0; ++i) visibleEras_.push_back(eraTable_[static_cast<std::size_t>(i)]);
  FillEraList();
}

void TCorvexExDateEdit::FillEraList() {
  eraBox_->clear();
  for (const auto& item : EraItems()) eraBox_->addItem(QString::fromStdString(item));
  eraBox_->setCurrentIndex(-1);
}

std::vector<std::string> TCorvexExDateEdit::EraItems() const {
  std::vector<std::string> items;
  if (gengo_ != rsWareki) items.push_back("西暦");
  int count = 0;
  for (const auto& era : ActiveEras()) {
    if (era.name.empty() || (!useWarekiTable_ && ++count > 7)) break;
    items.push_back(era.name);
  }
  return items;
}

// ---- settings ------------------------------------------------------------------

void TCorvexExDateEdit::SetMinDate(TDateTime value) {
  if (value == minDate_) return;
  minDate_ = value;
  BuildVisibleEras();
  if (!empty_) SetDateTime(value_);
}

void TCorvexExDateEdit::SetMaxDate(TDateTime value) {
  if (value == maxDate_) return;
  maxDate_ = value;
  BuildVisibleEras();
  if (!empty_) SetDateTime(value_);
}

void TCorvexExDateEdit::SetEditStyle(TCorvexExDateEditStyle style) {
  if (style == style_) return;
  style_ = style;
  ArrangeFields(true);
}

void TCorvexExDateEdit::SetEditGengo(bool on) {
  editGengo_ = on;
  if (!on) gengo_ = rsSeireki;
  FillEraList();
  ArrangeFields(false);
  ShowValue();
}

void TCorvexExDateEdit::SetEditAmpm(bool on) {
  editAmpm_ = on;
  ArrangeFields(false);
  ShowValue();
}

void TCorvexExDateEdit::SetYeardigit(TCorvexExYeardigitSet digits) {
  yearDigit_ = digits;
  ArrangeFields(false);
  ShowValue();
}

void TCorvexExDateEdit::SetUseWarekiTable(bool on) {
  useWarekiTable_ = on;
  FillEraList();
}

void TCorvexExDateEdit::SetGengo(TCorvexExRekiSet value) {
  const TCorvexExRekiSet next = editGengo_ ? value : rsSeireki;
  const bool valid = checking_ || CheckInput();
  gengo_ = next;
  FillEraList();
  ArrangeFields(false);
  if (valid) ShowValue();
}

// ---- value -----------------------------------------------------------------------

void TCorvexExDateEdit::ClearFields() {
  for (Field f : {fYear, fMonth, fDay, fHour, fMinute, fSecond}) NumberField(f)->clear();
  eraBox_->setCurrentIndex(-1);
  ampmBox_->setCurrentIndex(-1);
  empty_ = true;
  value_ = 0;
  if (style_ == desYear) NumberField(fMonth)->setText("1");
}

void TCorvexExDateEdit::Clear() { ClearFields(); }

TDateTime TCorvexExDateEdit::ClampValue(TDateTime v) const {
  if (minDate_ != 0 && v < minDate_) return minDate_;
  if (maxDate_ != 0 && v > maxDate_) return maxDate_;
  return v;
}

void TCorvexExDateEdit::SetDateTime(TDateTime value) {
  if (!std::isfinite(value) || value < -693593 || value > 2958466) {
    ShowInputError("正しくない日付時刻型の値がセットされました．　　", nullptr);
    return;
  }
  // 0 is the program's "no date" for a control that shows the year.
  if (HasYear() && value == 0) {
    ClearFields();
    return;
  }
  TDateTime v = value;
  if (HasYear() && !HasHour()) v = std::trunc(value);
  else if (!HasYear() && HasHour()) v = std::fabs(value - std::trunc(value));
  value_ = ClampValue(v);
  empty_ = false;
  ShowValue();
}

void TCorvexExDateEdit::ShowValue() {
  if (empty_) return;
  if (HasYear() && value_ >= kFloorDate) {
    int y, m, d;
    DecodeDate(value_, y, m, d);
    int eraIndex = -1;
    const auto& eras = ActiveEras();
    if (gengo_ != rsSeireki)
      for (std::size_t i = 0; i < eras.size() && eraIndex < 0; ++i)
        if (eras[i].start <= value_) eraIndex = static_cast<int>(i);
    if (eraIndex >= 0) {
      eraBox_->setCurrentIndex(eraIndex + (gengo_ == rsBoth ? 1 : 0));
      NumberField(fYear)->setText(QString::number(y - eras[static_cast<std::size_t>(eraIndex)].startYear + 1));
    } else {
      eraBox_->setCurrentIndex(gengo_ == rsWareki ? -1 : 0);
      NumberField(fYear)->setText(QString::number(yearDigit_ == yddigit2 ? y % 100 : y));
    }
    NumberField(fMonth)->setText(QString::number(m));
    NumberField(fDay)->setText(QString::number(d));
  }
  if (HasHour()) {
    int h, n, s, ms;
    DecodeTime(value_, h, n, s, ms);
    if (editAmpm_) {
      ampmBox_->setCurrentIndex(h > 11 ? 1 : 0);
      if (h > 11) h -= 12;
    }
    NumberField(fHour)->setText(QString::number(h));
    NumberField(fMinute)->setText(QString::number(n));
    NumberField(fSecond)->setText(QString::number(s));
  }
}

bool TCorvexExDateEdit::IsAllBlank() const {
  for (int f = 0; f < kFieldCount; ++f) {
    if (!FieldShown(static_cast<Field>(f))) continue;
    if (auto* box = qobject_cast<QComboBox*>(fields_[f])) {
      if (!box->currentText().isEmpty()) return false;
    } else if (!static_cast<QLineEdit*>(fields_[f])->text().trimmed().isEmpty()) {
      return false;
    }
  }
  return true;
}

bool TCorvexExDateEdit::ShowInputError(const std::string& text, QWidget* field) {
  if (displayError_) {
    TMessage2InfoRec info;
    InitMessage2Info(kMsgInformation, info);
    info.Caption = dialogCaption_;
    info.Lines[0].Text = text;
    ShowMessageBox2(info);
  }
  FocusField(field);
  return false;
}

bool TCorvexExDateEdit::CheckInput() {
  checking_ = true;
  struct Reset { bool& f; ~Reset() { f = false; } } reset{checking_};
  if (!editGengo_) eraBox_->setCurrentIndex(-1);
  for (Field f : {fYear, fMonth, fDay, fHour, fMinute, fSecond})
    NumberField(f)->setText(NumberField(f)->text().trimmed());
  const int today = YearOf(maxDate_ != 0 ? maxDate_ : Date());
  if (!HasYear()) NumberField(fYear)->setText(QString::number(yearDigit_ == yddigit2 ? today % 100 : today));
  if (!FieldShown(fMonth)) NumberField(fMonth)->setText("1");
  if (!FieldShown(fDay)) NumberField(fDay)->setText("1");
  for (Field f : {fHour, fMinute, fSecond})
    if (!FieldShown(f)) NumberField(f)->setText("0");
  if (IsAllBlank()) {
    if (canEmpty_) {
      ClearFields();
      return true;
    }
    return ShowInputError("入力欄が全て空白です．　　", nullptr);
  }
  QWidget* firstEmpty = nullptr;
  bool missing = false;
  for (int f = 0; f < kFieldCount; ++f) {
    if (!FieldShown(static_cast<Field>(f))) continue;
    auto* box = qobject_cast<QComboBox*>(fields_[f]);
    const bool isEmpty = box ? box->currentText().isEmpty() : static_cast<QLineEdit*>(fields_[f])->text().isEmpty();
    if (!isEmpty) continue;
    if (!firstEmpty) firstEmpty = fields_[f];
    if (f != fEra) missing = true;  // an empty era box alone is no error
  }
  if (missing) return ShowInputError("空白の入力欄があります．　　", firstEmpty);

  // Year: a Western year, or an era year counted from the era's start year.
  int f = editGengo_ && eraBox_->currentIndex() >= 0 ? eraBox_->currentIndex() : 0;
  if (gengo_ == rsWareki) ++f;
  int year = NumberOf(NumberField(fYear));
  if (f == 0) {
    if (yearDigit_ == yddigit2) year += YearOf(Date()) / 100 * 100;
  } else {
    const auto& eras = ActiveEras();
    if (static_cast<std::size_t>(f - 1) < eras.size()) year += eras[static_cast<std::size_t>(f - 1)].startYear - 1;
  }

  // Time.
  TDateTime time = 0;
  if (HasHour()) {
    const bool twelveHour = FieldShown(fAmpm) && ampmBox_->currentIndex() >= 0;
    const char* limit = twelveHour ? "時刻の入力可能な値は11時59分59秒までです．　　"
                                   : "時刻の入力可能な値は23時59分59秒までです．　　";
    int h = NumberOf(NumberField(fHour));
    const int n = NumberOf(NumberField(fMinute)), s = NumberOf(NumberField(fSecond));
    if (h >= (twelveHour ? 12 : 24)) return ShowInputError(limit, NumberField(fHour));
    if (n > 59 || s > 59) return ShowInputError(limit, NumberField(fMinute));
    if (twelveHour && ampmBox_->currentIndex() == 1) h += 12;
    try {
      time = EncodeTime(h, n, s, 0);
    } catch (const std::exception&) {
      return ShowInputError("時刻が正しくありません．　　", FieldShown(fAmpm) ? static_cast<QWidget*>(ampmBox_) : NumberField(fHour));
    }
  }

  // Date.
  TDateTime date = 0;
  if (HasYear()) {
    if (year < 1873)
      return ShowInputError("1873年01月01日(明治6年01月01日)より前の日付は処理できません．　　", NumberField(fYear));
    if (year >= 2999 && gengo_ != rsSeireki)
      return ShowInputError("2999年以降は元号に変換できません．　　", NumberField(fYear));
    if (!TryEncodeDate(year, NumberOf(NumberField(fMonth)), NumberOf(NumberField(fDay)), date))
      return ShowInputError("日付が正しくありません（変換できません）．　　", NumberField(fYear));
  } else {
    date = std::trunc(maxDate_ != 0 ? maxDate_ : Date());
  }
  const TDateTime value = date + (date < 0 ? -time : time);
  if (!std::isfinite(value)) return ShowInputError("日付または時刻が正しくありません．　　", nullptr);
  value_ = ClampValue(value);
  empty_ = false;
  ShowValue();
  return true;
}

TDateTime TCorvexExDateEdit::DateTime() {
  if (!CheckInput()) throw EAbort();
  return empty_ ? 0 : value_;
}
