// TNowPrintingdlg: the window shown while a report is printed. Its timer
// starts the page loop once the window is on screen; its cancel button asks
// "印刷を中止しますか？" and, on Yes, sets the cancel flag that the loop
// looks at after each page.
#pragma once

#include <functional>

#include <QDialog>

class QLabel;
class QPushButton;
class QTimer;

class TNowPrintingdlg : public QDialog {
 public:
  // `pageLoop` runs once from the timer; the window closes when it returns.
  TNowPrintingdlg(std::function<void()> pageLoop, bool& cancelFlag, QWidget* parent = nullptr);
  void ShowPage(int page);  // "(Page=%d)"; 0 clears the line
  void CancelButtonClick();

  QLabel* PrintMessage;
  QLabel* PageMessage;
  QPushButton* CancelButton;
  QTimer* Timer;

 private:
  std::function<void()> pageLoop_;
  bool& cancel_;
};
