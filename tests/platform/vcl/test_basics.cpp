// Colours, dpi scaling, hints, function-key captions, key codes and docking.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QWidget>

#include "platform/vcl/align.h"
#include "platform/vcl/application.h"
#include "platform/vcl/color.h"
#include "platform/vcl/dpi.h"
#include "platform/vcl/fkeybar.h"
#include "platform/vcl/hint.h"
#include "platform/vcl/keys.h"
#include "platform/vcl/msgdlg.h"

TEST(Color, BgrValuesAndSystemColours) {
  EXPECT_EQ(ColorToQColor(0x0000FF), QColor(255, 0, 0));   // red is the low byte
  EXPECT_EQ(ColorToQColor(0x800000), QColor(0, 0, 128));   // navy
  EXPECT_EQ(ColorToQColor(0x4080FF), QColor(255, 128, 64));
  EXPECT_EQ(QColorToColor(QColor(255, 128, 64)), 0x4080FF);
  EXPECT_TRUE(IsSystemColor(clBtnFace));
  EXPECT_FALSE(IsSystemColor(clWhite));
  EXPECT_EQ(static_cast<std::uint32_t>(clGrayText), 0x80000011u);
  EXPECT_EQ(ColorToQColor(clWindowText), QColor(0, 0, 0));
}

TEST(Dpi, ScaleAndMulDiv) {
  EXPECT_EQ(ScaleByDpi(648, 96, 96), 648);
  EXPECT_EQ(ScaleByDpi(648, 128, 96), 864);
  EXPECT_EQ(ScaleByDpi(100, 120, 96), 125);
  EXPECT_EQ(ScaleByDpi(7, 96, 120), 5);     // truncated
  EXPECT_EQ(MulDiv(12, 96, 96), 12);
  EXPECT_EQ(MulDiv(9, 120, 96), 11);        // 11.25
  EXPECT_EQ(MulDiv(5, 3, 2), 8);            // 7.5 rounds away from zero
  EXPECT_EQ(MulDiv(5, 3, 0), 0);
}

TEST(Hint, ShortAndLongParts) {
  EXPECT_EQ(GetShortHint("内容を確定します。|詳しい説明"), "内容を確定します。");
  EXPECT_EQ(GetLongHint("内容を確定します。|詳しい説明"), "詳しい説明");
  EXPECT_EQ(GetLongHint("a|b|c"), "b|c");
  EXPECT_EQ(GetLongHint("だけ"), "だけ");
  EXPECT_EQ(GetShortHint(""), "");
  EnsureApplication();
  QWidget w;
  SetHint(&w, "短い|長い説明");
  EXPECT_EQ(GetHint(&w), "短い|長い説明");
  EXPECT_EQ(w.toolTip().toStdString(), "短い");
}

TEST(FunctionKeys, PrefixMarksInertKey) {
  EXPECT_EQ(FunctionKeyPrefix(0), "ESC:");
  EXPECT_EQ(FunctionKeyPrefix(12), "F12:");
  EXPECT_EQ(FunctionKeyCaption(1, "ヘルプ"), "F1:ヘルプ");
  EXPECT_FALSE(IsFunctionKeyActive("F5:", 5));
  EXPECT_TRUE(IsFunctionKeyActive("F5:検索", 5));
  EXPECT_EQ(FunctionKeyOfVk(VK_ESCAPE), 0);
  EXPECT_EQ(FunctionKeyOfVk(VK_F12), 12);
  EXPECT_EQ(FunctionKeyOfVk(VK_RETURN), -1);

  EnsureApplication();
  QWidget form;
  auto* f5 = new QPushButton(&form);
  int clicks = 0;
  QObject::connect(f5, &QPushButton::clicked, [&] { ++clicks; });
  FunctionKeyBar bar;
  bar.Bind(5, f5);
  form.show();
  bar.SetLabel(5, "");
  EXPECT_EQ(f5->text().toStdString(), "F5:");
  EXPECT_FALSE(bar.PressVk(QtKeyToVk(Qt::Key_F5)));
  bar.SetLabel(5, "検索");
  EXPECT_TRUE(bar.PressVk(QtKeyToVk(Qt::Key_F5)));
  f5->setEnabled(false);
  EXPECT_FALSE(bar.Press(5));
  EXPECT_EQ(clicks, 1);
}

TEST(Keys, VirtualKeyNumbers) {
  const struct { int qt; Word vk; } cases[] = {
      {Qt::Key_Return, 13}, {Qt::Key_Enter, 13}, {Qt::Key_Escape, 27}, {Qt::Key_Up, 38}, {Qt::Key_F1, 112},
      {Qt::Key_F12, 123},   {Qt::Key_A, 'A'},    {Qt::Key_5, '5'},     {Qt::Key_Delete, 46}};
  for (const auto& c : cases) {
    EXPECT_EQ(QtKeyToVk(c.qt), c.vk) << c.qt;
    if (c.qt != Qt::Key_Enter) {
      EXPECT_EQ(VkToQtKey(c.vk), c.qt);
    }
  }
  EXPECT_EQ(QtKeyToVk(Qt::Key_Launch0), 0);
}

TEST(Align, DockedPanelsAndAnchors) {
  EnsureApplication();
  QWidget form;
  form.resize(500, 335);
  auto* bottom = new QWidget(&form);
  bottom->resize(10, 38);
  SetAlign(bottom, alBottom);
  auto* agree = new QWidget(&form);
  agree->resize(10, 32);
  SetAlign(agree, alBottom);
  auto* client = new QWidget(&form);
  SetAlign(client, alClient);
  auto* ok = new QWidget(bottom);
  ok->setGeometry(400, 6, 90, 26);
  SetAnchors(ok, akTop | akRight);
  auto* memo = new QWidget(client);
  memo->setGeometry(24, 72, 465, 156);
  SetAnchors(memo, akAll);
  ArrangeChildren(&form);
  EXPECT_EQ(bottom->geometry(), QRect(0, 297, 500, 38));
  EXPECT_EQ(agree->geometry(), QRect(0, 265, 500, 32));
  EXPECT_EQ(client->geometry(), QRect(0, 0, 500, 265));
  const int memoRightGap = client->width() - memo->geometry().right();
  form.resize(600, 435);
  ArrangeChildren(&form);
  EXPECT_EQ(ok->x(), 500);                   // kept 10 pixels from the right edge
  EXPECT_EQ(client->geometry(), QRect(0, 0, 600, 365));
  EXPECT_EQ(memo->width(), 565);             // stretched with its parent
  EXPECT_EQ(memo->height(), 256);
  EXPECT_EQ(client->width() - memo->geometry().right(), memoRightGap);
  agree->hide();
  ArrangeChildren(&form);
  EXPECT_EQ(client->height(), 397);
}

TEST(MessageKinds, IconsForTheFourKinds) {
  EnsureApplication();
  for (int kind = 0; kind <= 3; ++kind) EXPECT_FALSE(MessageKindIcon(kind, 32).isNull()) << kind;
  EXPECT_TRUE(MessageKindIcon(4, 32).isNull());
}
