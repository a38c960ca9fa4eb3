#include "ui/messagebox2.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "platform/vcl/align.h"
#include "platform/vcl/application.h"
#include "platform/vcl/dpi.h"
#include "platform/vcl/responder.h"
#include "platform/rtl/sysutils.h"
#include "ui/xcheckbox.h"

namespace {

struct ButtonDef {
  TMsgDlgBtn member;
  const char* caption;
  TModalResult result;
};

// In table order: the order in which the buttons are laid out.
constexpr ButtonDef kButtons[] = {
    {mbYes, "はい(&Y)", mrYes},          {mbNo, "いいえ(&N)", mrNo},        {mbOK, "OK(&O)", mrOk},
    {mbCancel, "ｷｬﾝｾﾙ(&C)", mrCancel},   {mbAbort, "中断(&A)", mrAbort},    {mbRetry, "再試行(&R)", mrRetry},
    {mbIgnore, "無視(&I)", mrIgnore},    {mbAll, "すべて(&A)", mrAll},      {mbNoToAll, "すべていいえ", mrNoToAll},
    {mbYesToAll, "すべてはい", mrYesToAll}, {mbHelp, "ヘルプ(&H)", mrNone},
};

const char* KindCaption(int kind) {
  switch (kind) {
    case kMsgWarning: return "警告";
    case kMsgError: return "エラー";
    case kMsgInformation: return "情報";
    case kMsgConfirmation: return "確認";
    default: return "";
  }
}

constexpr int kBottomHeight = 38;
constexpr int kAgreeHeight = 32;
constexpr int kClientDesignHeight = 265;  // the message area of the design (335 − 38 − 32)

int LineTop(int labelNumber) { return 24 * labelNumber; }  // Label1 at 24, Label2 at 48, …

// 1-based number of the last line with text (0 when all are empty).
int LastLineWithText(const TMessage2InfoRec& info) {
  int last = 0;
  for (int i = 0; i < 10; ++i)
    if (!info.Lines[static_cast<std::size_t>(i)].Text.empty()) last = i + 1;
  return last;
}

}  // namespace

void InitMessage2Info(std::uint8_t kind, TMessage2InfoRec& info) {
  info.MessageNo = 0;
  info.Kind = kind <= kMsgConfirmation ? kind : 4;
  info.Buttons = kind == kMsgConfirmation ? MsgButtons({mbOK, mbCancel}) : MsgButtons({mbOK});
  info.Caption = KindCaption(kind);
  for (auto& line : info.Lines) line = TMessage2CaptionRec{};
  info.AgreeMode = 0;
  info.AgreeCaption.clear();
  info.AgreeChecked = false;
}

TMessageBox2::TMessageBox2(QWidget* owner) : QDialog(owner) {
  setObjectName("TMessageBox2");
  setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setFont(QApplication::font("QMessageBox"));
  resize(Px(500), Px(335));
  pnlBottom_ = new QWidget(this);
  pnlBottom_->setObjectName("pnlBottom");
  pnlBottom_->resize(width(), Px(kBottomHeight));
  SetAlign(pnlBottom_, alBottom);
  for (int i = 0; i < 3; ++i) {
    auto* b = new QPushButton(pnlBottom_);
    b->setObjectName(QString("btnButton%1").arg(i + 1));
    b->setGeometry(0, Px(3), Px(75), Px(25));
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, [this, b] {
      const int result = b->property("modalResult").toInt();
      if (result != mrNone) done(result);
    });
    buttons_[static_cast<std::size_t>(i)] = b;
  }
  pnlAgree_ = new QWidget(this);
  pnlAgree_->setObjectName("pnlAgree");
  pnlAgree_->resize(width(), Px(kAgreeHeight));
  SetAlign(pnlAgree_, alBottom);
  btnAgree_ = new TxCheckBox(pnlAgree_);
  btnAgree_->setObjectName("btnAgree");
  btnAgree_->setGeometry(Px(82), Px(3), Px(375), Px(20));
  btnAgree_->setText("同意する");
  btnAgree_->SetKeyStyles(KeyStyleBit(ksEnter));
  connect(btnAgree_, &QCheckBox::clicked, this, [this] {
    if (info_.AgreeMode == 1) buttons_[0]->setEnabled(btnAgree_->isChecked());
  });
  pnlClient_ = new QWidget(this);
  pnlClient_->setObjectName("pnlClient");
  SetAlign(pnlClient_, alClient);
  image1_ = new QLabel(pnlClient_);
  image1_->setObjectName("Image1");
  image1_->setGeometry(Px(24), Px(16), Px(41), Px(41));
  for (int i = 0; i < 10; ++i) {
    auto* label = new QLabel(pnlClient_);
    label->setObjectName(QString("Label%1").arg(i + 1));
    label->move(Px(80), Px(LineTop(i + 1)));
    labels_[static_cast<std::size_t>(i)] = label;
  }
}

void TMessageBox2::Prepare(const TMessage2InfoRec& request) {
  info_ = request;
  if (request.MessageNo != 0) {
    TMessage2InfoRec canned;
    ResolveCannedMessage(request.MessageNo, canned);
    canned.AgreeChecked = request.AgreeChecked;
    info_ = canned;  // a canned message never shows the agreement box
  }
  setWindowTitle(QString::fromStdString(info_.Caption));
  image1_->resize(Px(41), Px(41));
  image1_->setPixmap(MessageKindIcon(info_.Kind, Px(32)));
  // Lines.
  int right = Px(500);
  for (int i = 0; i < 10; ++i) {
    QLabel* label = labels_[static_cast<std::size_t>(i)];
    const auto& line = info_.Lines[static_cast<std::size_t>(i)];
    label->setText(QString::fromStdString(line.Text));
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, ColorToQColor(line.Color));
    label->setPalette(p);
    label->adjustSize();
    if (!line.Text.empty()) right = std::max(right, label->x() + label->width());
  }
  const int clientWidth = right + Px(30);
  // The message area ends below the last line with text, so that no line is
  // hidden when the caller leaves empty lines between.
  const int n = LastLineWithText(info_);
  int messageHeight;
  if (n < 2) messageHeight = Px(LineTop(3));
  else if (n <= 9) messageHeight = Px(LineTop(n + 2));
  else messageHeight = Px(kClientDesignHeight);
  int clientHeight = Px(kBottomHeight) + messageHeight;
  // Buttons: the first three members of the set, in table order.
  for (auto* b : buttons_) b->hide();
  int used = 0;
  for (const auto& def : kButtons) {
    if (!HasButton(info_.Buttons, def.member)) continue;
    if (used == 3) break;
    QPushButton* b = buttons_[static_cast<std::size_t>(used++)];
    b->setText(QString::fromUtf8(def.caption));
    b->setProperty("modalResult", def.result);
    b->setEnabled(true);
    b->show();
  }
  const int g = Px(10);
  const int bw = Px(75);
  const int W = clientWidth;
  if (used == 1) {
    buttons_[0]->move((W - bw) / 2, Px(3));
  } else if (used == 2) {
    buttons_[0]->move(W / 2 - g - bw, Px(3));
    buttons_[1]->move(W / 2 + g, Px(3));
  } else if (used == 3) {
    const int middle = (W - bw) / 2;
    buttons_[1]->move(middle, Px(3));
    buttons_[0]->move(middle - g - bw, Px(3));
    buttons_[2]->move(middle + bw + g, Px(3));
  }
  // Agreement.
  pnlAgree_->hide();
  if (Trim(info_.AgreeCaption).empty()) info_.AgreeMode = 0;
  if (info_.AgreeMode != 0) {
    pnlAgree_->show();
    btnAgree_->setText(QString::fromStdString(info_.AgreeCaption));
    btnAgree_->setChecked(info_.AgreeChecked);
    if (info_.AgreeMode == 1) buttons_[0]->setEnabled(btnAgree_->isChecked());
    clientHeight += Px(kAgreeHeight);
  }
  setFixedSize(clientWidth, clientHeight);
  ArrangeChildren(this);
}

bool TMessageBox2::AgreeChecked() const { return btnAgree_->isChecked(); }

void TMessageBox2::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (info_.AgreeMode == 1) btnAgree_->setFocus();
  else if (buttons_[0]->isEnabled()) buttons_[0]->setFocus();
}

std::string TMessageBox2::ClipboardText() const {
  std::string text = "---------------------------\r\n" + info_.Caption + "\r\n---------------------------\r\n";
  for (const auto& line : info_.Lines) text += line.Text + "\r\n";
  return text;
}

void TMessageBox2::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) { event->accept(); return; }  // closes on release
  if (event->matches(QKeySequence::Copy)) {
    QApplication::clipboard()->setText(QString::fromStdString(ClipboardText()));
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TMessageBox2::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    done(mrCancel);
    return;
  }
  QDialog::keyReleaseEvent(event);
}

TModalResult TMessageBox2::Execute() {
  const TModalResult result = ExecModal(*this, [this] {
    ShownDialog shown;
    shown.kind = KindCaption(info_.Kind);
    shown.caption = info_.Caption;
    const int n = LastLineWithText(info_);
    for (int i = 0; i < n; ++i) {
      shown.lines.push_back(info_.Lines[static_cast<std::size_t>(i)].Text);
      shown.colors.push_back(info_.Lines[static_cast<std::size_t>(i)].Color);
    }
    for (auto* b : buttons_)
      if (!b->isHidden()) shown.buttons.push_back(b->text().toStdString());
    return shown;
  });
  // Closing by the window's close button counts as Cancel.
  return result == QDialog::Rejected ? mrCancel : result;
}

TModalResult ShowMessageBox2(TMessage2InfoRec& info) {
  TMessageBox2 box(MainForm());
  box.Prepare(info);
  const TModalResult result = box.Execute();
  info.AgreeChecked = box.AgreeChecked();
  return result;
}
