#include "platform/vcl/modalresult.h"

#include <QDialog>
#include <QWidget>

void SetFormModalResult(QWidget* control, TModalResult result) {
  if (!control) return;
  auto* dialog = qobject_cast<QDialog*>(control->window());
  if (!dialog) return;
  dialog->setResult(result);
  if (result != mrNone) dialog->done(result);
}
