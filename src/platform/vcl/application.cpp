#include "platform/vcl/application.h"

#include <QPointer>
#include <QWidget>

namespace {
QPointer<QWidget> g_mainForm;
}

void SetMainForm(QWidget* form) { g_mainForm = form; }
QWidget* MainForm() { return g_mainForm.data(); }

#include <QApplication>

QApplication* EnsureApplication() {
  if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) return app;
  static int argc = 1;
  static char name[] = "veruda";
  static char* argv[] = {name, nullptr};
  return new QApplication(argc, argv);
}
