// Modal-result codes of the program's dialogs. A dialog ends its modal run
// with one of these; 0 keeps it open.
#pragma once

using TModalResult = int;

constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;
constexpr TModalResult mrNoToAll = 9;
constexpr TModalResult mrYesToAll = 10;

class QWidget;
// Gives the window that holds `control` the modal result: a value other than
// mrNone ends the window's modal run (the window is a QDialog) and hides it.
void SetFormModalResult(QWidget* control, TModalResult result);
