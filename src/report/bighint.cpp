#include "report/bighint.h"

#include <QApplication>
#include <QToolTip>
#include <QWidget>

#include "platform/vcl/faces.h"

QFont TBigHintWindow::HintFont() {
  QFont font = QToolTip::font();
  font.setFamilies({QStringLiteral("System")});
  return font;
}

void TBigHintWindow::Install() {
  InstallFaceNames();
  const QFont font = HintFont();
  // Hints off and on again: a hint on screen keeps the face it was made with
  // (a new text would even reuse it), so it goes at once; the next hint is
  // made anew in the new face.
  QToolTip::hideText();
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->inherits("QTipLabel") && w->isVisible()) w->close();
  QToolTip::setFont(font);
}
