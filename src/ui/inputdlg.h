// TInputDlgBox: asks for one value: a text, a masked text (password), a
// choice from a combo box, an amount in yen or a date range. Set the public
// fields, optionally SetInputFilter, Prepare(true) and ShowModal; after OK (1)
// read the value back from the same fields. Closing hides the dialog, so a
// kept instance can be prepared and shown again.
#pragma once

#include <string>
#include <vector>

#include "platform/rtl/datetime.h"
#include "platform/vcl/color.h"
#include "ui/keystyles.h"
#include "ui/sdi.h"

class QLabel;
class QPlainTextEdit;
class TCorvexEdit;
class TCorvexExDateEdit;
class TxCheckBox;
class TxComboBox;
class TxEdit;
class TxPlButton;

class TInputDlgBox : public TBSDI {
  Q_OBJECT
 public:
  explicit TInputDlgBox(QWidget* owner = nullptr);

  int InputMode = 0;  // 0 text, 1 masked text, 2 combo box, 3 amount, 4 date range
  std::string CaptionText;
  std::string MessageText;
  TColor MessageColor = 0;
  std::string InputText;
  TDateTime Date1 = 0, MinDate1 = 0, MaxDate1 = 0;
  TDateTime Date2 = 0, MinDate2 = 0, MaxDate2 = 0;
  std::string HintText;
  int InputMaxLength = 0;
  TImeMode InputImeMode = imDontCare;
  bool Required = false;
  std::vector<std::string> ComboItems;

  int InputFilter() const { return inputFilter_; }
  // 10 digits, "." and "-"; 20 letters; 30 letters and digits; 40 no characters
  // that a file name may not hold; 0 every key.
  void SetInputFilter(int filter) { inputFilter_ = filter; }
  void Prepare(bool ready);
  // Whether the key filter lets the character through.
  static bool FilterAccepts(int filter, char16_t ch);

  QLabel* lblMain() const { return lblMain_; }
  TxEdit* txtInput() const { return txtInput_; }
  TxCheckBox* btnFuseji() const { return btnFuseji_; }
  TxComboBox* cmbInput() const { return cmbInput_; }
  TCorvexEdit* txtKingaku() const { return txtKingaku_; }
  TCorvexExDateEdit* txtHizuke1() const { return txtHizuke1_; }
  TCorvexExDateEdit* txtHizuke2() const { return txtHizuke2_; }
  QPlainTextEdit* HintArea() const { return hintArea_; }
  TxPlButton* btnOK() const { return btnOK_; }
  TxPlButton* btnCancel() const { return btnCancel_; }

  void FormClose(TCloseAction& action) override;
  void btnOKClick();

 protected:
  ShownDialog Describe() const override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowPanel(QWidget* panel);
  void ApplyMask();

  bool ready_ = false;
  int inputFilter_ = 0;
  QLabel* lblMain_;
  QWidget *pnlText_, *pnlCombo_, *pnlKingaku_, *pnlDate_;
  TxEdit* txtInput_;
  TxCheckBox* btnFuseji_;
  TxComboBox* cmbInput_;
  TCorvexEdit* txtKingaku_;
  TCorvexExDateEdit *txtHizuke1_, *txtHizuke2_;
  QPlainTextEdit* hintArea_;
  TxPlButton *btnHelp_, *btnOK_, *btnCancel_;
};
