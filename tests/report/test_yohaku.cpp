// The margins dialog: its key filter and clamps, the spacing values in and
// out, and the fields' Enter and Up navigation.
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/vcl/application.h"
#include "report/editqbox.h"
#include "report/yohaku.h"

namespace {

struct Yohaku : ::testing::Test {
  void SetUp() override {
    EnsureApplication();
    dialog = std::make_unique<Tfmyohaku>();
    dialog->show();
    QApplication::setActiveWindow(dialog.get());
  }
  std::unique_ptr<Tfmyohaku> dialog;
};

}  // namespace

TEST(YohakuKeys, SignedIntegerFilter) {
  struct Case {
    char key;
    const char* text;
    bool allSelected;
    bool allowed;
  };
  const Case cases[] = {
      {'5', "", false, true},   {'5', "12", false, true},  {'\b', "12", false, true}, {'\r', "12", false, true},
      {'a', "", false, false},  {'.', "1", false, false},  {'+', "", false, false},   {'-', "", false, true},
      {'-', "1", false, false}, {'-', "1", true, true},    {'-', "-", false, false},  {'0', "0", false, false},
      {'0', "-", false, false}, {'0', "0", true, true},    {'0', "1", false, true},   {'0', "", false, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(YohakuKeyAllowed(c.key, c.text, c.allSelected), c.allowed)
        << "key '" << c.key << "' into \"" << c.text << "\" selected " << c.allSelected;
}

TEST(YohakuKeys, ClampsOnLeaving) {
  struct Case {
    const char* text;
    int limit;
    const char* shown;
  };
  const Case cases[] = {{"150", 100, "100"}, {"-120", 100, "-100"}, {"100", 100, "100"}, {"-5", 100, "-5"},
                        {"51", 50, "50"},    {"-99", 50, "-50"},    {"-", 50, "-"},      {"", 100, ""}};
  for (const Case& c : cases) EXPECT_EQ(ClampYohakuField(c.text, c.limit), c.shown) << c.text;
}

TEST_F(Yohaku, TypedValuesAreFilteredClampedAndReturned) {
  Tfmyohaku& d = *dialog;
  d.SetTopMargin(0);
  d.SetLeftMargin(-30);
  d.SetVSpacing(1040);
  d.SetHSpacing(900);
  EXPECT_EQ(d.LeftEdit->Text(), "-30");
  EXPECT_EQ(d.VEdit->Text(), "40");
  EXPECT_EQ(d.HEdit->Text(), "0");

  d.TopEdit->setFocus();
  d.TopEdit->setCursorPosition(1);  // after the "0": a further "0" and "-" are refused
  QTest::keyClicks(d.TopEdit, "0-x");
  EXPECT_EQ(d.TopEdit->Text(), "0");
  d.TopEdit->selectAll();
  QTest::keyClicks(d.TopEdit, "150");
  EXPECT_EQ(d.TopEdit->Text(), "150");
  QTest::keyClick(d.TopEdit, Qt::Key_Return);  // Enter moves on and the field is clamped
  EXPECT_EQ(QApplication::focusWidget(), d.LeftEdit);
  EXPECT_EQ(d.TopEdit->Text(), "100");
  d.LeftEdit->selectAll();
  QTest::keyClicks(d.LeftEdit, "-120");  // three characters at most
  EXPECT_EQ(d.LeftEdit->Text(), "-12");
  QTest::keyClick(d.LeftEdit, Qt::Key_Up);
  EXPECT_EQ(QApplication::focusWidget(), d.TopEdit);
  d.VEdit->setFocus();
  d.VEdit->selectAll();
  QTest::keyClicks(d.VEdit, "-99");
  d.HEdit->setFocus();
  EXPECT_EQ(d.VEdit->Text(), "-50");

  QTest::mouseClick(d.OkButton, Qt::LeftButton);
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(d.TopMargin(), 100);
  EXPECT_EQ(d.LeftMargin(), -12);
  EXPECT_EQ(d.VSpacing(), 950);
  EXPECT_EQ(d.HSpacing(), 1000);
}

TEST_F(Yohaku, SpacingGroupSetsTheHeight) {
  dialog->ShowSpacing(false);
  EXPECT_FALSE(dialog->SpacingShown());
  EXPECT_EQ(dialog->height(), 220);
  dialog->ShowSpacing(true);
  EXPECT_TRUE(dialog->SpacingShown());
  EXPECT_EQ(dialog->height(), 320);
}
