// The main window's end on a termination signal, and the exit status that
// the process reports when the window has closed.
#include <QApplication>
#include <QDialog>
#include <QTimer>

#include "link/mainwindow.h"

int TForm1::ExitStatus() const {
  if (!ran_) return 1;
  return FCloseCode == 2 ? 2 : 0;
}

void TForm1::EndOnSignal() {
  if (!endTimer_) {
    endTimer_ = new QTimer(this);
    endTimer_->setInterval(50);
    connect(endTimer_, &QTimer::timeout, this, [this] { ContinueEnd(); });
  }
  endTimer_->start();
}

// Runs from the end timer until the window has closed: an open dialog is
// cancelled (its caller goes on as after the user's Cancel); a running export
// or logon is left to finish; then the window closes as by its close button.
void TForm1::ContinueEnd() {
  if (QWidget* modal = QApplication::activeModalWidget()) {
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    else modal->close();
    return;
  }
  if (exportRunning_ || firstShowingRunning_ || startBusy_) return;
  endTimer_->stop();
  if (closed_) {
    QCoreApplication::quit();
    return;
  }
  close();
}
