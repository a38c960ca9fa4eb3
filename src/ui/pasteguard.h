// Paste guard of the edits: while `active` answers true, paste (by keyboard,
// middle button or menu) and the context menu of the edit are discarded.
#pragma once

#include <functional>

class QWidget;

void InstallPasteGuard(QWidget* edit, std::function<bool()> active);
