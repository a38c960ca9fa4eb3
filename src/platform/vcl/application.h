// The application's main window (owner of message boxes and the reference of
// window placement), recorded by the program when it creates it.
#pragma once

class QWidget;

void SetMainForm(QWidget* form);
// The main window, or nullptr when the program has none (yet).
QWidget* MainForm();

class QApplication;
// The running application, created (without command-line arguments) when
// there is none yet, with the face names of the windows mapped
// (InstallFaceNames): for tools and tests that build windows.
QApplication* EnsureApplication();
