#include "platform/vcl/msgdlg.h"

#include <QApplication>
#include <QPixmap>
#include <QStyle>

QPixmap MessageKindIcon(int kind, int size) {
  QStyle::StandardPixmap which;
  switch (kind) {
    case mkWarning: which = QStyle::SP_MessageBoxWarning; break;
    case mkError: which = QStyle::SP_MessageBoxCritical; break;
    case mkInformation: which = QStyle::SP_MessageBoxInformation; break;
    case mkConfirmation: which = QStyle::SP_MessageBoxQuestion; break;
    default: return QPixmap();
  }
  return QApplication::style()->standardIcon(which).pixmap(size, size);
}
