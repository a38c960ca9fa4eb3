// The big hint window: once the report engine has started, every hint of the
// program is drawn in the "System" face (the installed Japanese face), and a
// hint already on screen is taken down so that the next one has that face.
#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QToolTip>
#include <gtest/gtest.h>

#include "report/bighint.h"
#include "report/engine.h"
#include "reporttest.h"

namespace {

class BigHint : public ReportTest {
 protected:
  void TearDown() override {
    QToolTip::hideText();
    ReportTest::TearDown();
  }
  // The hint label on screen, or null.
  static QWidget* HintOnScreen() {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->inherits("QTipLabel") && w->isVisible()) return w;
    return nullptr;
  }
  void SetUp() override {
    ReportTest::SetUp();
    // Hints appear at once, without fading in.
    QApplication::setEffectEnabled(Qt::UI_FadeTooltip, false);
    QApplication::setEffectEnabled(Qt::UI_AnimateTooltip, false);
  }
  // The window's own events come first: its activation would take a hint down.
  static void ShowHint(QWidget& owner, const char* text) {
    QApplication::processEvents();
    QToolTip::showText(owner.mapToGlobal(QPoint(5, 5)), QString::fromUtf8(text), &owner);
  }
};

TEST_F(BigHint, EngineStartDrawsEveryLaterHintInTheSystemFace) {
  // The program as it was before the engine started: the plain hint face.
  StopQuillboxEngine();
  const QFont plain = QApplication::font();
  QToolTip::setFont(plain);
  QWidget owner;
  owner.resize(200, 100);
  owner.show();
  ShowHint(owner, "前の書体");
  QWidget* before = HintOnScreen();
  ASSERT_NE(before, nullptr);
  EXPECT_NE(before->font().family(), "System");

  StartQuillboxEngine();
  ASSERT_TRUE(QuillboxEngine().Ready);
  EXPECT_EQ(HintOnScreen(), nullptr) << "the hint made with the old face is taken down";
  EXPECT_EQ(QToolTip::font().family(), "System");
  EXPECT_EQ(QToolTip::font().pointSizeF(), plain.pointSizeF());

  ShowHint(owner, "印刷");
  QWidget* after = HintOnScreen();
  ASSERT_NE(after, nullptr);
  EXPECT_EQ(QToolTip::text().toStdString(), "印刷");
  EXPECT_EQ(after->font().family(), "System");
  EXPECT_EQ(QFontInfo(after->font()).family(), "Noto Sans CJK JP");

  // Installing again changes nothing.
  TBigHintWindow::Install();
  EXPECT_EQ(QToolTip::font(), TBigHintWindow::HintFont());
}

}  // namespace
