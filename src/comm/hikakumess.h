// TfmHikakuMess2: the differences between the local data and the data in a
// relay slot, with the question whether to overwrite it. The caller fills
// the texts, hides the lines that do not apply, places and sizes it and shows
// it modally; the answer is HikakuAnswer: 1 (yes) at creation and after
// "はい", 0 after "いいえ".
#pragma once

#include <QDialog>

#include "platform/vcl/modalresult.h"

class QLabel;
class QPushButton;

inline int HikakuAnswer = 1;

class TfmHikakuMess2 : public QDialog {
  Q_OBJECT
 public:
  explicit TfmHikakuMess2(QWidget* owner = nullptr);

  QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8, *Label9;
  QPushButton* Button1;
  QPushButton* Button2;

  void Button1Click();
  void Button2Click();
  // Modal run (through the responder seam in tests).
  TModalResult ShowModal();
};
