// The data-communication window without a data set: entries given no folder
// do nothing, and Escape is swallowed while the archiver works.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>

#include "comm/cloudshare.h"
#include "core/globals.h"
#include "platform/vcl/application.h"
#include "platform/vcl/responder.h"

namespace {

TEST(DataTusin, EmptyFolderDoesNothing) {
  EnsureApplication();
  ScriptedResponder responder(mrOk);
  responder.Install();
  TfmDataTusin window;
  EXPECT_EQ(window.CloudShareSend("", "", 1), 1);
  EXPECT_EQ(window.CloudShareReceive("", 1, 0), 1);
  EXPECT_EQ(window.CloudShareReceiveToWork("", 0), 1);
  EXPECT_EQ(window.CloudShareRelease(""), 1);
  EXPECT_TRUE(responder.Shown().empty());
  EXPECT_EQ(window.State.SyoriType, opCloudRelease);
}

TEST(DataTusin, EscapeSwallowedWhileTheHookIsInstalled) {
  EnsureApplication();
  TfmDataTusin window;
  QDialog dialog;
  dialog.show();
  auto press = [&] {
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &down);
  };
  window.InstallEscapeKeyHook();
  press();
  EXPECT_TRUE(dialog.isVisible());
  window.RemoveEscapeKeyHook();
  press();
  EXPECT_FALSE(dialog.isVisible());
}

}  // namespace
