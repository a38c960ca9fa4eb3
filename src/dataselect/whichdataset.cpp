#include "dataselect/whichdataset.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>

#include "platform/vcl/dpi.h"
#include "platform/vcl/hint.h"
#include "platform/vcl/keys.h"
#include "ui/plbutton.h"
#include "ui/xcheckbox.h"

TWhichDataSetBox::TWhichDataSetBox(QWidget* owner) : TBSDI(owner, bsDialog, "TWhichDataSetBox") {
  NotifyMenu = KeepHistory = AllowOtherProcess = SaveFormSize = ReloadAccInf = NotifyActivate = false;
  setWindowTitle("データの持ち出し／持ち帰り");
  resize(Px(492), Px(246));
  pnlClient = new QWidget(this);
  pnlClient->setObjectName("pnlClient");
  pnlClient->setGeometry(0, 0, Px(492), Px(130));
  auto* label = new QLabel("データの処理方法:", pnlClient);
  label->setGeometry(Px(16), Px(12), Px(200), Px(20));
  auto* group = new QGroupBox(pnlClient);
  group->setObjectName("GroupBox1");
  group->setGeometry(Px(16), Px(36), Px(460), Px(84));
  btnMochidashi = new TxRadioButton(group);
  btnMochidashi->setObjectName("btnMochidashi");
  btnMochidashi->setText("データを持ち出します");
  btnMochidashi->setGeometry(Px(16), Px(16), Px(420), Px(24));
  btnMochikaeri = new TxRadioButton(group);
  btnMochikaeri->setObjectName("btnMochikaeri");
  btnMochikaeri->setText("データを持ち帰りました");
  btnMochikaeri->setGeometry(Px(16), Px(48), Px(420), Px(24));
  pnlBottom = new QWidget(this);
  pnlBottom->setObjectName("pnlBottom");
  pnlBottom->setGeometry(0, Px(130), Px(492), Px(116));
  HintArea = new QPlainTextEdit(pnlBottom);
  HintArea->setObjectName("HintArea");
  HintArea->setReadOnly(true);
  HintArea->setFocusPolicy(Qt::NoFocus);
  HintArea->setGeometry(Px(16), Px(4), Px(460), Px(64));
  btnOK = NewPlButton(pnlBottom, "btnOK", "OK", 290, 76, 90, 28);
  btnOK->OnClick = [this](QObject*) { btnOKClick(); };
  btnCancel = NewPlButton(pnlBottom, "btnCancel", "キャンセル", 386, 76, 90, 28);
  btnCancel->OnClick = [this](QObject*) { done(mrCancel); };
  HintMemo = HintArea;
  F12Button = btnOK;
  btnMochidashi->setChecked(true);
  Initialized = true;
}

void TWhichDataSetBox::Prepare(bool Ready) {
  ready_ = Ready;
  SetHint(btnMochidashi,
          "データの処理方法を選択します。|データを持ち出すため、「データ選択（サーバ）」画面で選択した場所にあるデータを"
          "コンピュータ内のデータエリアへコピーします。");
  SetHint(btnMochikaeri,
          "データの処理方法を選択します。|データを持ち帰ったため、「データ選択（サーバ）」画面で選択した場所へ"
          "コンピュータ内のデータエリアよりコピーします。");
  SetHint(btnOK, "内容を登録して画面を閉じます。|内容を登録して画面を閉じます。");
  SetHint(btnCancel, "画面を閉じます。|画面を閉じます。");
  btnMochidashi->setEnabled(Locked == 0);
  btnMochikaeri->setEnabled(true);
  if (Locked != 0 || Choice == 1) btnMochikaeri->setChecked(true);
  else btnMochidashi->setChecked(true);
  FirstPlacement = false;
}

void TWhichDataSetBox::btnOKClick() {
  Choice = 0;
  if (btnMochidashi->isEnabled() && btnMochidashi->isChecked()) Choice = 0;
  else if (btnMochikaeri->isEnabled() && btnMochikaeri->isChecked()) Choice = 1;
  done(mrOk);
}

void TWhichDataSetBox::FormKeyUp(Word& key, Qt::KeyboardModifiers shift) {
  if ((key >= VK_F1 && key <= VK_F1 + 7) || key == VK_F12) {
    key = 0;
    return;
  }
  TBSDI::FormKeyUp(key, shift);
}

ShownDialog TWhichDataSetBox::Describe() const {
  ShownDialog shown = TBSDI::Describe();
  for (const TxRadioButton* b : {btnMochidashi, btnMochikaeri})
    if (b->isEnabled()) shown.lines.push_back(b->text().toStdString());
  shown.buttons = {"OK", "キャンセル"};
  return shown;
}
