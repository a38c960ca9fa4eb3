// TFileOperationBoxEx1: the file-choice dialog with the choice between the
// chosen place (btnSelect1) and the default place (btnSelect2).
#include <QLabel>
#include <QPlainTextEdit>

#include "dataselect/fileoperationdlg.h"
#include "platform/vcl/align.h"
#include "platform/vcl/dpi.h"
#include "platform/vcl/hint.h"
#include "ui/plbutton.h"
#include "ui/xcheckbox.h"
#include "ui/xcombobox.h"
#include "ui/xedit.h"

namespace {

TxRadioButton* MakeRadio(QWidget* parent, const char* name, const char* caption, int y) {
  auto* r = new TxRadioButton(parent);
  r->setObjectName(name);
  r->setText(QString::fromUtf8(caption));
  r->setGeometry(Px(16), Px(y), Px(463), Px(20));
  return r;
}

}  // namespace

TFileOperationBoxEx1::TFileOperationBoxEx1(QWidget* owner) : TFileOperationBox(owner, "TFileOperationBoxEx1") {
  // The radio buttons frame the place controls: the first above them, the second below.
  const int shift = Px(28);
  for (QWidget* w : std::initializer_list<QWidget*>{lblFileSelect, cmbFileSelect, btnSansyo, btnHistDelete,
                                                    lblFileName, txtFileName})
    w->move(w->x(), w->y() + shift);
  for (QWidget* w : std::initializer_list<QWidget*>{HintArea, btnOK, btnCancel}) w->move(w->x(), w->y() + 2 * shift);
  resize(Px(495), Px(327));
  SetAnchors(HintArea, akAll);
  SetAnchors(btnOK, akRight | akBottom);
  SetAnchors(btnCancel, akRight | akBottom);
  btnSelect1 = MakeRadio(this, "btnSelect1", "ファイルの場所を選択する", 56);
  select2Top_ = txtFileName->y() + txtFileName->height() + Px(6);
  btnSelect2 = MakeRadio(this, "btnSelect2", "既定の場所から実行する", 0);
  btnSelect2->move(btnSelect2->x(), select2Top_);
  connect(btnSelect1, &QRadioButton::clicked, this, [this] { btnSelect1Click(); });
  connect(btnSelect2, &QRadioButton::clicked, this, [this] { btnSelect1Click(); });
  SelectMode = 1;
  SetSelectMode(1);
}

void TFileOperationBoxEx1::SetSelect1Caption(const std::string& text) {
  btnSelect1->setText(QString::fromStdString(text));
}

void TFileOperationBoxEx1::SetSelect2Caption(const std::string& text) {
  btnSelect2->setText(QString::fromStdString(text));
}

void TFileOperationBoxEx1::SetSelectMode(int mode) {
  if (mode == 1) btnSelect1->setChecked(true);
  if (mode == 2) btnSelect2->setChecked(true);
  btnSelect1Click();
}

void TFileOperationBoxEx1::Prepare(std::uint8_t Mode) {
  const bool folder = FileKind != fkOpenFile && FileKind != fkSaveFile;
  btnSelect2->move(btnSelect2->x(), folder ? txtFileName->y() : select2Top_);
  TFileOperationBox::Prepare(Mode);
}

void TFileOperationBoxEx1::Fill() {
  TFileOperationBox::Fill();
  if (!filled_) {
    resize(width(), Px(360));
    filled_ = true;
  }
  btnSelect1Click();
}

void TFileOperationBoxEx1::LoadHints() {
  TFileOperationBox::LoadHints();
  SetHint(btnSelect1,
          "選択した場所に保存されているﾃﾞｰﾀを復元する場合に選択します。|選択した場所に保存されているﾃﾞｰﾀを復元する場合に選択します。");
  SetHint(btnSelect2,
          "ｼｽﾃﾑが随所で行う自動ﾊﾞｯｸｱｯﾌﾟﾃﾞｰﾀを復元し、ﾃﾞｰﾀを元に戻す場合に選択します。|"
          "「仕訳の全削除」、「仕訳のｲﾝﾎﾟｰﾄ」は処理実行時に実行前ﾃﾞｰﾀをﾊﾞｯｸｱｯﾌﾟするように設定されています。\r\n"
          "［OK］を押すと現在のﾃﾞｰﾀをこれらの処理を実行する前の状態に戻す事ができます。\r\n"
          "尚、ﾊﾞｯｸｱｯﾌﾟを取らずにこれらの処理を実行することも出来ますので、確実に実行前の状態に戻せるとは限りません。");
}

void TFileOperationBoxEx1::btnSelect1Click() {
  const bool chosen = btnSelect1->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{lblFileSelect, cmbFileSelect, btnSansyo, btnHistDelete,
                                                    lblFileName, txtFileName})
    w->setEnabled(chosen);
}

void TFileOperationBoxEx1::btnOKClick() {
  if (btnSelect1->isChecked()) {
    SelectMode = 1;
    TFileOperationBox::btnOKClick();
    return;
  }
  SelectMode = 2;
  done(mrOk);
}
