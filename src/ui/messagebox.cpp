#include "ui/messagebox.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>

#include "platform/vcl/align.h"
#include "platform/vcl/application.h"
#include "platform/vcl/dpi.h"
#include "ui/plbutton.h"
#include "ui/xcheckbox.h"

void PlaceByPosition(QWidget* form, TPosition position) {
  const QWidget* owner = form->parentWidget() ? form->parentWidget()->window() : MainForm();
  if (position == poMainFormCenter) owner = MainForm();
  QRect area;
  if ((position == poOwnerFormCenter || position == poMainFormCenter) && owner && owner->isVisible())
    area = owner->frameGeometry();
  else if (position == poScreenCenter || position == poOwnerFormCenter || position == poMainFormCenter)
    area = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry() : QRect();
  if (area.isValid()) form->move(area.x() + (area.width() - form->width()) / 2, area.y() + (area.height() - form->height()) / 2);
}

void InitMessageInfo(TMessageInfoRec& info) { info = TMessageInfoRec{}; }

TMessageBox::TMessageBox(QWidget* owner) : TBSDI(owner, bsDialog, "TMessageBox") {
  NotifyMenu = AllowOtherProcess = SaveFormSize = NotifyActivate = false;
  resize(Px(504), Px(293));
  auto* pnlBottom = new QWidget(this);
  pnlBottom->setObjectName("pnlBottom");
  pnlBottom->resize(width(), Px(41));
  SetAlign(pnlBottom, alBottom);
  auto* pnlClient = new QWidget(this);
  pnlClient->setObjectName("pnlClient");
  SetAlign(pnlClient, alClient);
  lblMain_ = new QLabel(pnlClient);
  lblMain_->setObjectName("lblMain");
  lblMain_->setGeometry(Px(24), Px(16), Px(445), Px(49));
  lblMain_->setWordWrap(true);
  lblMain_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  messageArea_ = new QPlainTextEdit(pnlClient);
  messageArea_->setObjectName("MessageArea");
  messageArea_->setReadOnly(true);
  messageArea_->setFocusPolicy(Qt::NoFocus);
  messageArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  messageArea_->setGeometry(Px(24), Px(72), Px(465), Px(156));
  SetAnchors(messageArea_, akAll);
  cboxAgree_ = new TxCheckBox(pnlClient);
  cboxAgree_->setObjectName("cboxAgree");
  cboxAgree_->setGeometry(Px(24), Px(234), Px(441), Px(20));
  cboxAgree_->setText("同意する。");
  SetAnchors(cboxAgree_, akLeft | akBottom);
  auto makeButton = [&](const char* name, const char* caption, int x, TModalResult result) {
    auto* b = new TxPlButton(pnlBottom);
    b->setObjectName(name);
    b->setGeometry(Px(x), Px(6), Px(90), Px(26));
    b->CaptionA().SetCaption(caption);
    b->SetModalResult(result);
    b->SetGradEndColor(11974326);
    SetAnchors(b, akTop | akRight);
    return b;
  };
  btnOK_ = makeButton("btnOK", "OK", 295, mrOk);
  btnCancel_ = makeButton("btnCancel", "キャンセル", 399, mrCancel);
  btnOK_->OnClick = [this](QObject*) { SetFormModalResult(this, btnOK_->ModalResult()); };
  btnCancel_->OnClick = [this](QObject*) { SetFormModalResult(this, btnCancel_->ModalResult()); };
  connect(cboxAgree_, &QCheckBox::clicked, this, [this] {
    if (Kind == 2) btnOK_->setEnabled(cboxAgree_->isChecked());
  });
  F12Button = btnOK_;
  TextColor = QColorToColor(palette().color(QPalette::WindowText));
  designWidth_ = width();
  designHeight_ = height();
  Initialized = true;
}

void TMessageBox::Prepare(bool ready) {
  Ready = ready;
  AgreeVisible = Kind == 2 || Kind == 3;
  setMinimumSize(0, 0);
  setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  resize(designWidth_, designHeight_);
  ArrangeChildren(this);
  btnOK_->setVisible(true);
  btnOK_->CaptionA().SetCaption("OK");
  btnOK_->SetModalResult(mrOk);
  btnCancel_->setVisible(true);
  btnCancel_->CaptionA().SetCaption("キャンセル");
  btnCancel_->SetModalResult(mrCancel);
  if (Kind == 1) {
    btnOK_->setVisible(false);
    btnCancel_->CaptionA().SetCaption("OK");
    btnCancel_->SetModalResult(mrOk);
  }
  setWindowTitle(QString::fromStdString(CaptionText));
  lblMain_->setText(QString::fromStdString(MainText));
  QPalette p = lblMain_->palette();
  p.setColor(QPalette::WindowText, ColorToQColor(TextColor));
  lblMain_->setPalette(p);
  QStringList lines;
  for (const auto& l : lines_) lines << QString::fromStdString(l);
  messageArea_->setPlainText(lines.join('\n'));
  messageArea_->setVisible(!lines_.empty());
  if (lines_.empty()) resize(width(), height() - messageArea_->height());
  cboxAgree_->setVisible(AgreeVisible);
  cboxAgree_->setText(QString::fromStdString(AgreeCaption));
  cboxAgree_->setChecked(AgreeChecked);
  btnOK_->setEnabled(!(Kind == 2 && AgreeVisible));
  ArrangeChildren(this);
  FirstPlacement = false;
}

bool TMessageBox::AgreeBoxChecked() const { return cboxAgree_->isChecked(); }

void TMessageBox::showEvent(QShowEvent* event) {
  TBSDI::showEvent(event);
  if (!CheckInitialized()) return;
  PlaceByPosition(this, Position);
  repaint();
  (FocusTarget == 2 ? btnOK_ : btnCancel_)->setFocus();
}

void TMessageBox::FormClose(TCloseAction& action) {
  TBSDI::FormClose(action);
  action = caHide;  // a kept box is shown again
}

ShownDialog TMessageBox::Describe() const {
  ShownDialog shown = TBSDI::Describe();
  shown.lines.push_back(MainText);
  shown.colors.push_back(TextColor);
  for (const auto& l : lines_) {
    shown.lines.push_back(l);
    shown.colors.push_back(0);
  }
  for (const TxPlButton* b : {btnOK_, btnCancel_})
    if (!b->isHidden()) shown.buttons.push_back(b->CaptionA().Caption());
  return shown;
}

TModalResult ShowMessageBox(TMessageInfoRec& info) {
  TMessageBox box(MainForm());
  box.Kind = info.Kind;
  box.CaptionText = info.Caption;
  box.MainText = info.Text;
  box.TextColor = info.TextColor;
  box.SetMessageLines(info.Lines);
  if (!info.AgreeCaption.empty()) box.AgreeCaption = info.AgreeCaption;
  box.Position = info.Position;
  box.Prepare(true);
  return box.ShowModal();
}
