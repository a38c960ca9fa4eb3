#include "ui/inputdlg.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>

#include "core/sjis.h"
#include "platform/vcl/align.h"
#include "platform/vcl/dpi.h"
#include <algorithm>
#include "platform/vcl/hint.h"
#include "ui/corvexedit.h"
#include "ui/dateedit.h"
#include "ui/messagebox.h"
#include "ui/plbutton.h"
#include "ui/xcheckbox.h"
#include "ui/xcombobox.h"
#include "ui/xedit.h"

namespace {

QWidget* Panel(QWidget* parent, const char* name) {
  auto* p = new QWidget(parent);
  p->setObjectName(name);
  p->setGeometry(Px(24), Px(72), Px(390), Px(28));
  return p;
}

void Inform(const char* text) {
  TMessage2InfoRec info;
  InitMessage2Info(kMsgInformation, info);
  info.Lines[0].Text = text;
  ShowMessageBox2(info);
}

}  // namespace

bool TInputDlgBox::FilterAccepts(int filter, char16_t ch) {
  if (ch == 13) return true;
  const bool digit = ch >= u'0' && ch <= u'9';
  const bool letter = (ch >= u'A' && ch <= u'Z') || (ch >= u'a' && ch <= u'z');
  switch (filter) {
    case 10: return ch == 8 || ch == u'-' || ch == u'.' || digit;
    case 20: return ch == 8 || letter;
    case 30: return ch == 8 || digit || letter;
    case 40:
      if (ch < 32 || ch >= 128) return true;
      return std::u16string_view(u"\"*,/:;<>?\\|").find(ch) == std::u16string_view::npos;
    default: return true;
  }
}

TInputDlgBox::TInputDlgBox(QWidget* owner) : TBSDI(owner, bsDialog, "TInputDlgBox") {
  NotifyMenu = AllowOtherProcess = SaveFormSize = NotifyActivate = false;
  resize(Px(427), Px(251));
  auto* pnlBottom = new QWidget(this);
  pnlBottom->setObjectName("pnlBottom");
  pnlBottom->resize(width(), Px(128));
  SetAlign(pnlBottom, alBottom);
  auto* pnlClient = new QWidget(this);
  pnlClient->setObjectName("pnlClient");
  SetAlign(pnlClient, alClient);
  lblMain_ = new QLabel(pnlClient);
  lblMain_->setObjectName("lblMain");
  lblMain_->setGeometry(Px(16), Px(16), Px(393), Px(49));
  lblMain_->setWordWrap(true);
  lblMain_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  pnlText_ = Panel(pnlClient, "pnlText");
  txtInput_ = new TxEdit(pnlText_);
  txtInput_->setObjectName("txtInput");
  txtInput_->setGeometry(0, 0, Px(250), Px(21));
  txtInput_->SetKeyStyles(KeyStyleBit(ksEnter));
  txtInput_->SetKeyEdit3D(false);
  txtInput_->installEventFilter(this);
  btnFuseji_ = new TxCheckBox(pnlText_);
  btnFuseji_->setObjectName("btnFuseji");
  btnFuseji_->setText("伏字にせず入力");
  btnFuseji_->setGeometry(Px(258), 0, Px(130), Px(21));
  btnFuseji_->setFocusPolicy(Qt::ClickFocus);
  connect(btnFuseji_, &QCheckBox::clicked, this, [this] { ApplyMask(); });

  pnlCombo_ = Panel(pnlClient, "pnlCombo");
  cmbInput_ = new TxComboBox(pnlCombo_);
  cmbInput_->setObjectName("cmbInput");
  cmbInput_->setEditable(true);
  cmbInput_->setGeometry(0, 0, Px(265), Px(22));
  cmbInput_->setMaxVisibleItems(16);
  cmbInput_->SetImeMode(imDisable);

  pnlKingaku_ = Panel(pnlClient, "pnlKingaku");
  txtKingaku_ = new TCorvexEdit(pnlKingaku_);
  txtKingaku_->setObjectName("txtKingaku");
  txtKingaku_->setGeometry(0, 0, Px(120), Px(21));
  txtKingaku_->SetImeMode(imDisable);
  txtKingaku_->SetMaxLength(11);
  txtKingaku_->SetAlignment(Qt::AlignRight);
  txtKingaku_->SetEditStyle(esNumericMinus);
  txtKingaku_->SetOutputFormat("#,##0");
  txtKingaku_->SetComma(true);
  txtKingaku_->SetZero3Key(zkDot);
  txtKingaku_->SetKeyStyles(KeyStyleBit(ksEnter) | KeyStyleBit(ksUp));
  auto* yen = new QLabel("円", pnlKingaku_);
  yen->setGeometry(Px(126), Px(2), Px(20), Px(18));

  pnlDate_ = Panel(pnlClient, "pnlDate");
  auto* from = new QLabel("(自)", pnlDate_);
  from->setGeometry(0, Px(3), Px(28), Px(18));
  txtHizuke1_ = new TCorvexExDateEdit(pnlDate_);
  txtHizuke1_->setObjectName("txtHizuke1");
  txtHizuke1_->move(Px(30), 0);
  auto* to = new QLabel("(至)", pnlDate_);
  to->setGeometry(Px(30) + txtHizuke1_->width() + Px(6), Px(3), Px(28), Px(18));
  txtHizuke2_ = new TCorvexExDateEdit(pnlDate_);
  txtHizuke2_->setObjectName("txtHizuke2");
  txtHizuke2_->move(to->x() + Px(30), 0);
  pnlDate_->resize(txtHizuke2_->x() + txtHizuke2_->width() + 4, txtHizuke1_->height() + 2);

  hintArea_ = new QPlainTextEdit(pnlBottom);
  hintArea_->setObjectName("HintArea");
  hintArea_->setReadOnly(true);
  hintArea_->setFocusPolicy(Qt::NoFocus);
  hintArea_->setGeometry(Px(16), Px(8), Px(395), Px(80));
  auto makeButton = [&](const char* name, const char* caption, int x) {
    auto* b = new TxPlButton(pnlBottom);
    b->setObjectName(name);
    b->setGeometry(Px(x), Px(96), Px(90), Px(26));
    b->CaptionA().SetCaption(caption);
    b->SetGradEndColor(11974326);
    return b;
  };
  btnHelp_ = makeButton("btnHelp", "F1:ヘルプ", 16);
  btnHelp_->hide();
  btnOK_ = makeButton("btnOK", "OK", 221);
  btnCancel_ = makeButton("btnCancel", "キャンセル", 321);
  btnCancel_->SetModalResult(mrCancel);
  SetAnchors(hintArea_, akLeft | akTop | akRight);
  SetAnchors(btnOK_, akTop | akRight);
  SetAnchors(btnCancel_, akTop | akRight);
  btnOK_->OnClick = [this](QObject*) { btnOKClick(); };
  btnCancel_->OnClick = [this](QObject*) { SetFormModalResult(this, mrCancel); };
  HintMemo = hintArea_;
  F12Button = btnOK_;
  MessageColor = QColorToColor(palette().color(QPalette::WindowText));
  Initialized = true;
}

void TInputDlgBox::ShowPanel(QWidget* panel) {
  for (QWidget* p : {pnlText_, pnlCombo_, pnlKingaku_, pnlDate_}) p->setVisible(p == panel);
  panel->move(pnlText_->pos());
}

void TInputDlgBox::ApplyMask() {
  const bool masked = InputMode == 1 && !btnFuseji_->isChecked();
  txtInput_->setEchoMode(masked ? QLineEdit::Password : QLineEdit::Normal);
}

void TInputDlgBox::Prepare(bool ready) {
  ready_ = ready;
  // The date range is wider than the design on this desktop's fonts: the dialog widens for it.
  const int needed = InputMode == 4 ? pnlText_->x() + pnlDate_->width() + Px(16) : 0;
  setFixedWidth(std::max(Px(427), needed));
  ArrangeChildren(this);
  setWindowTitle(QString::fromStdString(CaptionText));
  lblMain_->setText(QString::fromStdString(MessageText));
  QPalette p = lblMain_->palette();
  p.setColor(QPalette::WindowText, ColorToQColor(MessageColor));
  lblMain_->setPalette(p);
  const int maxLength = InputMaxLength > 0 ? InputMaxLength : 32767;
  if (InputMode == 2) {
    ShowPanel(pnlCombo_);
    cmbInput_->clear();
    for (const auto& item : ComboItems) cmbInput_->addItem(QString::fromStdString(item));
    cmbInput_->setEditText(QString::fromStdString(InputText));
    SetHint(cmbInput_, HintText);
    cmbInput_->lineEdit()->setMaxLength(maxLength);
    cmbInput_->SetImeMode(InputImeMode);
  } else if (InputMode == 3) {
    ShowPanel(pnlKingaku_);
    txtKingaku_->SetText(InputText);
    SetHint(txtKingaku_, HintText);
    txtKingaku_->SetMaxLength(InputMaxLength);
    txtKingaku_->SetImeMode(imDisable);
  } else if (InputMode == 4) {
    ShowPanel(pnlDate_);
    const struct { TCorvexExDateEdit* edit; TDateTime date, min, max; } dates[] = {
        {txtHizuke1_, Date1, MinDate1, MaxDate1}, {txtHizuke2_, Date2, MinDate2, MaxDate2}};
    for (const auto& d : dates) {
      d.edit->SetEditGengo(true);
      d.edit->SetGengo(rsWareki);
      d.edit->SetMinDate(d.min);
      d.edit->SetMaxDate(d.max);
      d.edit->SetDateTime(d.date);
      d.edit->SetHint(HintText);
    }
  } else {
    ShowPanel(pnlText_);
    txtInput_->SetText(InputText);
    SetHint(txtInput_, HintText);
    txtInput_->setMaxLength(maxLength);
    txtInput_->SetImeMode(InputImeMode);
    btnFuseji_->hide();
    if (InputMode == 1) {
      Required = true;
      btnFuseji_->show();
    }
    ApplyMask();
  }
  SetHint(btnFuseji_, "パスワードを伏字にせず入力します。|チェックを入れるとパスワードを伏字にしないで入力が行えます。");
  SetHint(btnOK_, "内容を確定します。|内容を確定します。");
  SetHint(btnCancel_, "画面を閉じます。|画面を閉じます。");
  FirstPlacement = false;
}

bool TInputDlgBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtInput_ && event->type() == QEvent::KeyPress && inputFilter_ != 0) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!key->text().isEmpty() && key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter &&
        !FilterAccepts(inputFilter_, key->text().at(0).unicode()))
      return true;
  }
  return TBSDI::eventFilter(watched, event);
}

void TInputDlgBox::showEvent(QShowEvent* event) {
  TBSDI::showEvent(event);
  if (!CheckInitialized()) return;
  PlaceByPosition(this, poOwnerFormCenter);
  repaint();
  switch (InputMode) {
    case 2: cmbInput_->setFocus(); break;
    case 3: txtKingaku_->setFocus(); break;
    case 4: txtHizuke1_->FieldWidget(TCorvexExDateEdit::fEra)->setFocus(); break;
    default: txtInput_->setFocus(); break;
  }
}

void TInputDlgBox::btnOKClick() {
  setResult(mrNone);
  if (InputMode == 2) {
    if (Required && TrimZen(cmbInput_->currentText().toStdString()).empty()) {
      Inform("入力または選択してから[OK]ボタンを押して下さい。");
      cmbInput_->setFocus();
      return;
    }
    InputText = cmbInput_->currentText().toStdString();
  } else if (InputMode == 3) {
    if (txtKingaku_->text().trimmed().isEmpty()) txtKingaku_->setText("0");
    InputText = txtKingaku_->Text();
  } else if (InputMode == 4) {
    try {
      Date1 = txtHizuke1_->DateTime();
      Date2 = txtHizuke2_->DateTime();
    } catch (const EAbort&) {
      return;  // the date edit told the user
    }
  } else {
    if (Required && TrimZen(txtInput_->Text()).empty()) {
      Inform("入力してから[OK]ボタンを押して下さい。");
      txtInput_->setFocus();
      return;
    }
    InputText = txtInput_->Text();
  }
  SetFormModalResult(this, mrOk);
}

void TInputDlgBox::FormClose(TCloseAction& action) {
  TBSDI::FormClose(action);
  action = caHide;
}

ShownDialog TInputDlgBox::Describe() const {
  ShownDialog shown = TBSDI::Describe();
  shown.lines.push_back(MessageText);
  shown.colors.push_back(MessageColor);
  shown.buttons = {btnOK_->CaptionA().Caption(), btnCancel_->CaptionA().Caption()};
  return shown;
}
