// Focus moves between the controls of a window in tab order (the "next
// dialog control" of Windows dialogs), and message pumping.
#pragma once

class QWidget;

// Moves the focus from `from` to the next (or previous) control of its window
// that can take the focus by Tab. Returns false when `from` lies on no window.
bool SelectNextControl(QWidget* from, bool forward = true);
// Processes pending events once (the window stays responsive during long work).
void ProcessMessages();
// Drops pending mouse and key input of the application.
void FlushInputMessages();
