// Date entry: Western and era years, times, limits, the empty state and the
// error messages with the field that gets the focus.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

#include "platform/vcl/application.h"
#include "platform/vcl/responder.h"
#include "ui/dateedit.h"

namespace {

struct DateEditTest : ::testing::Test {
  void SetUp() override {
    EnsureApplication();
    responder.Install();
    BuildGengoTable();
    form = std::make_unique<QWidget>();
    form->show();
    QApplication::setActiveWindow(form.get());
  }
  TCorvexExDateEdit* Make(TCorvexExDateEditStyle style, TCorvexExRekiSet gengo) {
    auto* e = new TCorvexExDateEdit(form.get());
    e->SetEditStyle(style);
    e->SetGengo(gengo);
    e->SetEraTable(GengoTable);
    e->show();
    return e;
  }
  void Type(TCorvexExDateEdit* e, TCorvexExDateEdit::Field f, const char* text) {
    e->NumberField(f)->setText(QString::fromUtf8(text));
  }
  // The message the control showed last (empty when none).
  std::string LastMessage() {
    if (responder.Shown().size() == seen) return {};
    seen = responder.Shown().size();
    const auto& s = responder.Shown().back();
    EXPECT_EQ(s.caption, "日付時刻入力");
    EXPECT_EQ(s.kind, "情報");
    return s.lines.empty() ? std::string() : s.lines[0];
  }
  ScriptedResponder responder{mrOk};
  std::size_t seen = 0;
  std::unique_ptr<QWidget> form;
};

}  // namespace

TEST_F(DateEditTest, EraYearReiwa2Is2020) {
  auto* e = Make(desYearMonthDay, rsWareki);
  EXPECT_EQ(e->EraItems(), (std::vector<std::string>{"令和", "平成", "昭和", "大正", "明治"}));
  e->EraBox()->setCurrentIndex(0);
  Type(e, TCorvexExDateEdit::fYear, "2");
  Type(e, TCorvexExDateEdit::fMonth, "4");
  Type(e, TCorvexExDateEdit::fDay, "1");
  EXPECT_EQ(e->DateTime(), EncodeDate(2020, 4, 1));
  EXPECT_EQ(LastMessage(), "");
  // Shown back as an era date; a Heisei date chooses its era.
  e->SetDateTime(EncodeDate(1990, 3, 31));
  EXPECT_EQ(e->EraBox()->currentText().toStdString(), "平成");
  EXPECT_EQ(e->NumberField(TCorvexExDateEdit::fYear)->text(), "2");
}

TEST_F(DateEditTest, WesternYearsAndTwoDigitYears) {
  auto* e = Make(desYearMonthDay, rsBoth);
  EXPECT_EQ(e->EraItems().front(), "西暦");
  e->EraBox()->setCurrentIndex(0);
  Type(e, TCorvexExDateEdit::fYear, "2023");
  Type(e, TCorvexExDateEdit::fMonth, "12");
  Type(e, TCorvexExDateEdit::fDay, "31");
  EXPECT_EQ(e->DateTime(), EncodeDate(2023, 12, 31));
  EXPECT_EQ(e->EraBox()->currentText().toStdString(), "令和");  // shown in the era again
  auto* w = Make(desYearMonthDay, rsSeireki);
  w->SetYeardigit(yddigit2);
  Type(w, TCorvexExDateEdit::fYear, "5");
  Type(w, TCorvexExDateEdit::fMonth, "1");
  Type(w, TCorvexExDateEdit::fDay, "2");
  EXPECT_EQ(YearOf(w->DateTime()), YearOf(Date()) / 100 * 100 + 5);
}

TEST_F(DateEditTest, ErrorMessagesAndTheFocusedField) {
  auto* e = Make(desYearMonthDay, rsBoth);
  auto* w = Make(desYearMonthDay, rsSeireki);
  w->SetEditGengo(false);
  const struct {
    TCorvexExDateEdit* edit;
    const char *year, *month, *day;
    const char* message;
    TCorvexExDateEdit::Field focus;
  } cases[] = {
      {e, "1872", "12", "31", "1873年01月01日(明治6年01月01日)より前の日付は処理できません．　　", TCorvexExDateEdit::fYear},
      {e, "3000", "1", "1", "2999年以降は元号に変換できません．　　", TCorvexExDateEdit::fYear},
      {e, "2023", "2", "30", "日付が正しくありません（変換できません）．　　", TCorvexExDateEdit::fYear},
      {e, "2023", "", "1", "空白の入力欄があります．　　", TCorvexExDateEdit::fMonth},
      {w, "3000", "1", "1", "", TCorvexExDateEdit::fYear},  // accepted without era display
  };
  for (const auto& c : cases) {
    c.edit->EraBox()->setCurrentIndex(0);
    Type(c.edit, TCorvexExDateEdit::fYear, c.year);
    Type(c.edit, TCorvexExDateEdit::fMonth, c.month);
    Type(c.edit, TCorvexExDateEdit::fDay, c.day);
    const bool ok = c.edit->CheckInput();
    EXPECT_EQ(LastMessage(), c.message) << c.year << "-" << c.month << "-" << c.day;
    EXPECT_EQ(ok, std::string(c.message).empty());
    if (!ok) {
      EXPECT_EQ(form->focusWidget(), c.edit->NumberField(c.focus)) << c.message;
    }
  }
  EXPECT_THROW(
      {
        Type(e, TCorvexExDateEdit::fYear, "1800");
        Type(e, TCorvexExDateEdit::fMonth, "1");
        e->DateTime();
      },
      EAbort);
  EXPECT_EQ(LastMessage(), "1873年01月01日(明治6年01月01日)より前の日付は処理できません．　　");
}

TEST_F(DateEditTest, EmptyStateIsItsOwnValue) {
  auto* e = Make(desYearMonthDay, rsBoth);
  EXPECT_TRUE(e->IsEmpty());
  EXPECT_EQ(e->DateTime(), 0);
  e->SetCanEmpty(false);
  EXPECT_FALSE(e->CheckInput());
  EXPECT_EQ(LastMessage(), "入力欄が全て空白です．　　");
  // Dates from 1873 to 1899 are kept and read back.
  e->SetDateTime(EncodeDate(1880, 5, 6));
  EXPECT_FALSE(e->IsEmpty());
  EXPECT_EQ(e->DateTime(), EncodeDate(1880, 5, 6));
  EXPECT_EQ(e->EraBox()->currentText().toStdString(), "明治");
  e->SetDateTime(0);
  EXPECT_TRUE(e->IsEmpty());
  // A time of exactly midnight is kept in a time-only control.
  auto* t = Make(desHourMinuteSecond, rsSeireki);
  t->SetDateTime(0);
  EXPECT_FALSE(t->IsEmpty());
  EXPECT_EQ(t->NumberField(TCorvexExDateEdit::fHour)->text(), "0");
  EXPECT_EQ(t->DateTime(), std::trunc(Date()));
  t->SetDateTime(EncodeTime(10, 30, 0, 0));
  EXPECT_NEAR(t->DateTime(), std::trunc(Date()) + EncodeTime(10, 30, 0, 0), 1e-9);
}

TEST_F(DateEditTest, TimesWithAndWithoutAmPm) {
  auto* t = Make(desHourMinuteSecond, rsSeireki);
  t->SetEditAmpm(true);
  t->AmpmBox()->setCurrentIndex(1);  // 午後
  Type(t, TCorvexExDateEdit::fHour, "11");
  Type(t, TCorvexExDateEdit::fMinute, "59");
  Type(t, TCorvexExDateEdit::fSecond, "59");
  EXPECT_NEAR(t->DateTime() - std::trunc(Date()), EncodeTime(23, 59, 59, 0), 1e-9);
  t->AmpmBox()->setCurrentIndex(0);
  Type(t, TCorvexExDateEdit::fHour, "12");
  Type(t, TCorvexExDateEdit::fMinute, "0");
  Type(t, TCorvexExDateEdit::fSecond, "0");
  EXPECT_FALSE(t->CheckInput());
  EXPECT_EQ(LastMessage(), "時刻の入力可能な値は11時59分59秒までです．　　");
  auto* u = Make(desHourMinuteSecond, rsSeireki);
  Type(u, TCorvexExDateEdit::fHour, "10");
  Type(u, TCorvexExDateEdit::fMinute, "60");
  Type(u, TCorvexExDateEdit::fSecond, "0");
  EXPECT_FALSE(u->CheckInput());
  EXPECT_EQ(LastMessage(), "時刻の入力可能な値は23時59分59秒までです．　　");
  EXPECT_EQ(form->focusWidget(), u->NumberField(TCorvexExDateEdit::fMinute));
}

TEST_F(DateEditTest, LimitsClampTheValue) {
  auto* e = Make(desYearMonthDay, rsBoth);
  e->SetMaxDate(EncodeDate(2024, 3, 31));
  e->SetDateTime(EncodeDate(2025, 1, 1));
  EXPECT_EQ(e->DateTime(), EncodeDate(2024, 3, 31));
  e->SetMinDate(EncodeDate(2023, 4, 1));
  e->SetDateTime(EncodeDate(2020, 1, 1));
  EXPECT_EQ(e->DateTime(), EncodeDate(2023, 4, 1));
  EXPECT_EQ(e->EraItems(), (std::vector<std::string>{"西暦", "令和"}));  // only the eras the range touches
  e->SetMinDate(0);
  e->SetDateTime(EncodeDate(2020, 1, 1));
  EXPECT_EQ(e->DateTime(), EncodeDate(2020, 1, 1));
}
