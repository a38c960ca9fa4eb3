#include "ui/xcheckbox.h"

#include <QKeyEvent>

#include "ui/keynav.h"

TxCheckBox::TxCheckBox(QWidget* parent) : QCheckBox(parent) { setFocusPolicy(Qt::StrongFocus); }

void TxCheckBox::keyPressEvent(QKeyEvent* event) {
  if (!HandleNavigationKey(this, event, keyStyles_)) QCheckBox::keyPressEvent(event);
}

TxRadioButton::TxRadioButton(QWidget* parent) : QRadioButton(parent) { setFocusPolicy(Qt::StrongFocus); }

void TxRadioButton::keyPressEvent(QKeyEvent* event) {
  if (!HandleNavigationKey(this, event, keyStyles_)) QRadioButton::keyPressEvent(event);
}
