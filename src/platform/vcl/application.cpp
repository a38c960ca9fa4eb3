#include "platform/vcl/application.h"

#include <QPointer>
#include <QWidget>

namespace {
QPointer<QWidget> g_mainForm;
}

void SetMainForm(QWidget* form) { g_mainForm = form; }
QWidget* MainForm() { return g_mainForm.data(); }

#include <QApplication>

#include "platform/vcl/faces.h"

QApplication* EnsureApplication() {
  auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  if (!app) {
    static int argc = 1;
    static char name[] = "veruda";
    static char* argv[] = {name, nullptr};
    app = new QApplication(argc, argv);
  }
  InstallFaceNames();
  return app;
}
