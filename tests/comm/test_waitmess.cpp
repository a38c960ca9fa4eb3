// The wait windows keep animating while their caller works between message
// pumps, and draw each step in its look; the comparison window's answer.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>

#include "comm/hikakumess.h"
#include "comm/waitmess.h"
#include "platform/vcl/application.h"
#include "platform/vcl/responder.h"
#include "ui/progressdialog.h"

namespace {

TEST(WaitMess, AnimationRestartedByItsTimer) {
  EnsureApplication();
  TfmWaitMess2 wait(nullptr);
  wait.ShowAndPaint();
  ASSERT_TRUE(wait.Animate1->Active());
  wait.Animate1->SetActive(false);  // stopped, as a busy caller may leave it
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < 400) QApplication::processEvents();  // the caller pumps now and then
  EXPECT_TRUE(wait.Animate1->Active());
  EXPECT_EQ(wait.Animate1->y(), wait.height() / 2 - 20);
}

TEST(WaitMess, StepLooks) {
  EnsureApplication();
  TfmWaitMess wait(nullptr);
  EXPECT_TRUE(wait.CheckBox1->isChecked());
  TfmWaitMessBase::SetStep(wait.CheckBox2, "送信用データ圧縮　実行中", TWaitStep::Running);
  EXPECT_TRUE(wait.CheckBox2->isChecked());
  EXPECT_NE(wait.CheckBox2->styleSheet().indexOf("#0000ff"), -1);
  TfmWaitMessBase::SetStep(wait.CheckBox2, "送信用データ圧縮　終了", TWaitStep::Finished);
  EXPECT_TRUE(wait.CheckBox2->isChecked());
  EXPECT_NE(wait.CheckBox2->styleSheet().indexOf("#808080"), -1);
  TfmWaitMessBase::SetStep(wait.CheckBox3, "送信用データ暗号化", TWaitStep::Pending);
  EXPECT_FALSE(wait.CheckBox3->isChecked());
  EXPECT_EQ(wait.Box(5)->text().toStdString(), "経営テサリー（クラウド）へデータ送信");
}

TEST(HikakuMess, AnswerFollowsTheButton) {
  EnsureApplication();
  ScriptedResponder responder;
  responder.Install();
  responder.Then([](const ShownDialog& shown) {
    static_cast<TfmHikakuMess2*>(shown.window)->Button2->click();
    return mrNo;
  });
  TfmHikakuMess2 box;
  EXPECT_EQ(HikakuAnswer, 1);
  box.Label3->hide();
  box.ShowModal();
  EXPECT_EQ(HikakuAnswer, 0);
  ASSERT_EQ(responder.Shown().size(), 1u);
  EXPECT_EQ(responder.Shown()[0].caption, "確認");
  EXPECT_EQ(responder.Shown()[0].lines.size(), 8u);
}

}  // namespace
