// TWhichDataSetBox ("データの持ち出し／持ち帰り"): asks whether the selected
// server data set is to be taken out to this computer or brought back from
// it. A row already taken out offers only the bring-back.
#pragma once

#include <cstdint>

#include "ui/sdi.h"

class QPlainTextEdit;
class TxPlButton;
class TxRadioButton;

class TWhichDataSetBox : public TBSDI {
  Q_OBJECT
 public:
  explicit TWhichDataSetBox(QWidget* owner = nullptr);

  std::int32_t Choice = 0;   // 0 take out, 1 bring back
  std::int32_t Locked = 0;   // 1 when the row is already taken out
  void Prepare(bool Ready);
  void btnOKClick();
  void FormKeyUp(Word& key, Qt::KeyboardModifiers shift) override;

  QWidget* pnlClient = nullptr;
  QWidget* pnlBottom = nullptr;
  TxRadioButton* btnMochidashi = nullptr;
  TxRadioButton* btnMochikaeri = nullptr;
  QPlainTextEdit* HintArea = nullptr;
  TxPlButton* btnOK = nullptr;
  TxPlButton* btnCancel = nullptr;

 protected:
  ShownDialog Describe() const override;

 private:
  bool ready_ = false;
};
