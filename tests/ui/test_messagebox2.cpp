// The message box with kinds: buttons, captions, line colours, sizes,
// agreement box, canned messages, Esc and the clipboard copy.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "platform/vcl/application.h"
#include "platform/vcl/dpi.h"
#include "platform/vcl/responder.h"
#include "ui/messagebox2.h"
#include "ui/xcheckbox.h"

namespace {

struct MessageBox2Test : ::testing::Test {
  void SetUp() override {
    EnsureApplication();
    responder.Install();
  }
  ScriptedResponder responder{mrCancel};
};

TMessage2InfoRec Request(int kind, std::initializer_list<const char*> lines) {
  TMessage2InfoRec info;
  InitMessage2Info(static_cast<std::uint8_t>(kind), info);
  int i = 0;
  for (const char* l : lines) info.Lines[static_cast<std::size_t>(i++)].Text = l;
  return info;
}

}  // namespace

TEST_F(MessageBox2Test, EachKindWithItsCaptionAndButtons) {
  const struct {
    int kind;
    const char* caption;
    std::vector<std::string> buttons;
  } cases[] = {{0, "警告", {"OK(&O)"}},
               {1, "エラー", {"OK(&O)"}},
               {2, "情報", {"OK(&O)"}},
               {3, "確認", {"OK(&O)", "ｷｬﾝｾﾙ(&C)"}}};
  for (const auto& c : cases) {
    TMessage2InfoRec info = Request(c.kind, {"本文"});
    info.Lines[1] = {"赤い行", 255};
    responder.Then(mrOk);
    EXPECT_EQ(ShowMessageBox2(info), mrOk);
    const ShownDialog& shown = responder.Shown().back();
    EXPECT_EQ(shown.kind, c.caption);
    EXPECT_EQ(shown.caption, c.caption);
    EXPECT_EQ(shown.buttons, c.buttons);
    EXPECT_EQ(shown.lines, (std::vector<std::string>{"本文", "赤い行"}));
    EXPECT_EQ(shown.colors, (std::vector<int>{0, 255}));
  }
  TMessage2InfoRec other;
  InitMessage2Info(7, other);
  EXPECT_EQ(other.Kind, 4);
  EXPECT_EQ(other.Caption, "");
  EXPECT_EQ(other.Buttons, MsgButtons({mbOK}));
}

TEST_F(MessageBox2Test, LineColoursAndSizesAtDesignDpi) {
  if (ScreenDpi() != 96) GTEST_SKIP() << "sizes are checked at 96 dpi";
  TMessageBox2 box;
  TMessage2InfoRec one = Request(2, {"一行"});
  box.Prepare(one);
  EXPECT_EQ(box.height(), 38 + 72);
  EXPECT_GE(box.width(), 530);
  TMessage2InfoRec three = Request(2, {"一", "二", "三"});
  three.Lines[2].Color = 255;
  box.Prepare(three);
  EXPECT_EQ(box.height(), 38 + 120);
  EXPECT_EQ(box.Label(2)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  EXPECT_EQ(box.Label(0)->palette().color(QPalette::WindowText), QColor(0, 0, 0));
  // Gaps between lines: the box reaches below the last line with text.
  TMessage2InfoRec gaps = Request(2, {"一"});
  gaps.Lines[5].Text = "六行目";
  box.Prepare(gaps);
  EXPECT_EQ(box.height(), 38 + 24 * 8);
  EXPECT_GT(box.height() - 38, box.Label(5)->y() + box.Label(5)->height());
  TMessage2InfoRec ten = Request(2, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"});
  box.Prepare(ten);
  EXPECT_EQ(box.height(), 38 + 265);
  // A long line widens the box.
  TMessage2InfoRec wide = Request(2, {std::string(120, 'W').c_str()});
  box.Prepare(wide);
  EXPECT_EQ(box.width(), box.Label(0)->x() + box.Label(0)->width() + 30);
}

TEST_F(MessageBox2Test, ThreeOfFourButtonsInTableOrder) {
  TMessage2InfoRec info = Request(3, {"保存しますか？"});
  info.Buttons = MsgButtons({mbCancel, mbNo, mbYes});
  const TModalResult expected[] = {mrYes, mrNo, mrCancel};
  for (int i = 0; i < 3; ++i) {
    responder.Then([i](const ShownDialog& shown) {
      static_cast<TMessageBox2*>(shown.window)->Button(i)->click();
      return mrNone;
    });
    EXPECT_EQ(ShowMessageBox2(info), expected[i]);
  }
  EXPECT_EQ(responder.Shown().back().buttons, (std::vector<std::string>{"はい(&Y)", "いいえ(&N)", "ｷｬﾝｾﾙ(&C)"}));
  info.Buttons = MsgButtons({mbRetry, mbAbort, mbIgnore, mbOK});
  ShowMessageBox2(info);
  EXPECT_EQ(responder.Shown().back().buttons, (std::vector<std::string>{"OK(&O)", "中断(&A)", "再試行(&R)"}));
  // The help button does not close the box.
  info.Buttons = MsgButtons({mbOK, mbHelp});
  responder.Then([](const ShownDialog& shown) {
    auto* box = static_cast<TMessageBox2*>(shown.window);
    box->Button(1)->click();
    EXPECT_TRUE(box->isVisible());
    return mrOk;
  });
  EXPECT_EQ(ShowMessageBox2(info), mrOk);
  if (ScreenDpi() == 96) {
    TMessageBox2 box;
    info.Buttons = MsgButtons({mbOK, mbCancel});
    box.Prepare(info);
    EXPECT_EQ(box.Button(0)->x(), box.width() / 2 - 10 - 75);
    EXPECT_EQ(box.Button(1)->x(), box.width() / 2 + 10);
  }
}

TEST_F(MessageBox2Test, AgreementBoxGuardsTheFirstButton) {
  TMessage2InfoRec info = Request(3, {"規約に同意しますか？"});
  info.AgreeMode = 1;
  info.AgreeCaption = "同意する";
  responder.Then([](const ShownDialog& shown) {
    auto* box = static_cast<TMessageBox2*>(shown.window);
    EXPECT_FALSE(box->Button(0)->isEnabled());
    EXPECT_TRUE(box->btnAgree()->hasFocus() || QApplication::focusWidget() == nullptr);
    box->btnAgree()->click();
    EXPECT_TRUE(box->Button(0)->isEnabled());
    box->btnAgree()->click();
    EXPECT_FALSE(box->Button(0)->isEnabled());
    box->btnAgree()->click();
    box->Button(0)->click();
    return mrNone;
  });
  EXPECT_EQ(ShowMessageBox2(info), mrOk);
  EXPECT_TRUE(info.AgreeChecked);
  // A caption of blanks switches the box off.
  info.AgreeCaption = "   ";
  info.AgreeChecked = false;
  TMessageBox2 box;
  box.Prepare(info);
  EXPECT_TRUE(box.btnAgree()->parentWidget()->isHidden());
  EXPECT_TRUE(box.Button(0)->isEnabled());
}

TEST_F(MessageBox2Test, CannedMessageReplacesTheCallersLines) {
  TMessage2InfoRec info = Request(0, {"呼び出し側の行"});
  info.MessageNo = 0x1011;
  info.AgreeMode = 1;
  info.AgreeCaption = "同意する";
  responder.Then([](const ShownDialog& shown) {
    EXPECT_TRUE(static_cast<TMessageBox2*>(shown.window)->btnAgree()->parentWidget()->isHidden());
    return mrOk;
  });
  ShowMessageBox2(info);
  const ShownDialog& shown = responder.Shown().back();
  EXPECT_EQ(shown.kind, "情報");
  EXPECT_EQ(shown.caption, "情報");
  ASSERT_EQ(shown.lines.size(), 4u);
  EXPECT_EQ(shown.lines[0], "このデータは、「データの更新」処理を行うことが禁止されています。");
  EXPECT_EQ(shown.lines[3], "または、過去バージョンのプログラムを起動し選択してください。");
  EXPECT_EQ(shown.buttons, (std::vector<std::string>{"OK(&O)"}));
  // Red lines of a canned message, and an unknown number: an empty information box.
  TMessage2InfoRec red;
  ASSERT_TRUE(ResolveCannedMessage(0x10003011, red));
  EXPECT_EQ(red.Caption, "内訳書の削除");
  EXPECT_EQ(red.Lines[1].Color, 255);
  EXPECT_NE(red.Lines[1].Text.find("金融機関名"), std::string::npos);
  TMessage2InfoRec unknown;
  EXPECT_FALSE(ResolveCannedMessage(0x4242, unknown));
  EXPECT_EQ(unknown.Caption, "情報");
  EXPECT_EQ(unknown.Lines[0].Text, "");
}

TEST_F(MessageBox2Test, EscapeAndCloseButtonGiveCancelAndCtrlCCopies) {
  TMessage2InfoRec info = Request(2, {"一行目", "二行目"});
  responder.Then([](const ShownDialog& shown) {
    QTest::keyClick(shown.window, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(shown.window, Qt::Key_Escape);
    return mrOk;  // too late: Esc closed the box
  });
  EXPECT_EQ(ShowMessageBox2(info), mrCancel);
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
            "---------------------------\r\n情報\r\n---------------------------\r\n一行目\r\n二行目\r\n"
            "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
  responder.Then([](const ShownDialog& shown) {
    shown.window->close();
    return mrOk;
  });
  EXPECT_EQ(ShowMessageBox2(info), mrCancel);
}
