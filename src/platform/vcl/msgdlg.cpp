#include "platform/vcl/msgdlg.h"

#include <QApplication>
#include <QPixmap>
#include <QStyle>

QPixmap MessageKindIcon(int kind, int size) {
  QStyle::StandardPixmap which;
  switch (kind) {
    case kMsgWarning: which = QStyle::SP_MessageBoxWarning; break;
    case kMsgError: which = QStyle::SP_MessageBoxCritical; break;
    case kMsgInformation: which = QStyle::SP_MessageBoxInformation; break;
    case kMsgConfirmation: which = QStyle::SP_MessageBoxQuestion; break;
    default: return QPixmap();
  }
  return QApplication::style()->standardIcon(which).pixmap(size, size);
}
