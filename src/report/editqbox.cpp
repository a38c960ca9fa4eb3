#include "report/editqbox.h"

TEditQbox::TEditQbox(QWidget* parent) : TxEdit(parent) {}

void TEditQbox::SetAlignment(TQboxAlignment value) {
  alignment_ = value;
  switch (value) {
    case qaLeft: setAlignment(Qt::AlignLeft | Qt::AlignVCenter); break;
    case qaRight: setAlignment(Qt::AlignRight | Qt::AlignVCenter); break;
    case qaCenter: setAlignment(Qt::AlignHCenter | Qt::AlignVCenter); break;
  }
}

void TEditQbox::focusOutEvent(QFocusEvent* event) {
  TxEdit::focusOutEvent(event);
  if (OnExit) OnExit();
}
