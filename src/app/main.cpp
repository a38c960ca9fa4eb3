// Entry of the link program. Until the wizard is in place this shows a plain
// window that says so.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8("連動ﾃﾞｰﾀの作成"));
  QLabel label(QString::fromUtf8("連動ﾃﾞｰﾀの作成 — the wizard is not built yet."));
  label.setMinimumSize(480, 120);
  label.setAlignment(Qt::AlignCenter);
  label.show();
  return app.exec();
}
