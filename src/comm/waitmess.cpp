#include "comm/waitmess.h"

#include <QApplication>
#include <QCheckBox>
#include <QTimer>

#include "platform/vcl/dpi.h"
#include "ui/progressdialog.h"

namespace {

constexpr int kDesignWidth = 435;
constexpr int kDesignHeight = 214;

int DpiOf(QWidget* w) { return w ? w->logicalDpiY() : ScreenDpi(); }

}  // namespace

TfmWaitMessBase::TfmWaitMessBase(QWidget* owner, const char* name)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName(name);
  setModal(false);
  resize(kDesignWidth, kDesignHeight);
  // The animation: centred, 32 × 32 at (40, 16), then moved to half the
  // client height less 20.
  Animate1 = new TxBusyIndicator(this);
  Animate1->setObjectName("Animate1");
  Animate1->setGeometry(40, 16, 32, 32);
  Animate1->move(40, height() / 2 - 20);
  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  Timer1->setInterval(100);
  connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
  Timer1->start();
}

QCheckBox* TfmWaitMessBase::MakeBox(const char* caption, int y, bool ticked) {
  auto* box = new QCheckBox(QString::fromUtf8(caption), this);
  box->setGeometry(144, y, kDesignWidth - 160, 22);
  box->setChecked(ticked);
  box->setAttribute(Qt::WA_TransparentForMouseEvents);
  box->setFocusPolicy(Qt::NoFocus);
  return box;
}

void TfmWaitMessBase::SetStep(QCheckBox* box, const std::string& text, TWaitStep step) {
  if (!box) return;
  box->setText(QString::fromStdString(text));
  const char* color = step == TWaitStep::Running ? "#0000ff" : step == TWaitStep::Finished ? "#808080" : "#000000";
  box->setStyleSheet(QString("color: %1").arg(color));
  if (step == TWaitStep::Running) box->setChecked(true);
  if (step == TWaitStep::Pending) box->setChecked(false);
  box->repaint();
}

void TfmWaitMessBase::SizeFor96Dpi(int width, int height) {
  const int dpi = DpiOf(parentWidget());
  resize(ScaleByDpi(width, dpi, kDesignDpi), ScaleByDpi(height, dpi, kDesignDpi));
}

void TfmWaitMessBase::ShowAndPaint() {
  show();
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TfmWaitMessBase::FormActivate() { Animate1->SetActive(true); }

void TfmWaitMessBase::Timer1Timer() {
  if (!Animate1->Active()) Animate1->SetActive(true);
  Animate1->repaint();
}

void TfmWaitMessBase::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormActivate();
}

void TfmWaitMessBase::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  Animate1->move(40, height() / 2 - 20);
}

TfmWaitMess::TfmWaitMess(QWidget* owner) : TfmWaitMessBase(owner ? owner : WaitMessOwner, "fmWaitMess") {
  CheckBox1 = MakeBox("送信用データ保存", 16, true);
  CheckBox2 = MakeBox("送信用データ圧縮", 48, false);
  CheckBox3 = MakeBox("送信用データ暗号化", 80, false);
  CheckBox4 = MakeBox("中継サーバーへデータ送信", 112, false);
  CheckBox5 = MakeBox("経営テサリー（クラウド）へデータ送信", 140, false);
}

QCheckBox* TfmWaitMess::Box(int n) const {
  switch (n) {
    case 1: return CheckBox1;
    case 2: return CheckBox2;
    case 3: return CheckBox3;
    case 4: return CheckBox4;
    case 5: return CheckBox5;
    default: return nullptr;
  }
}

TfmWaitMess2::TfmWaitMess2(QWidget* owner) : TfmWaitMessBase(owner ? owner : WaitMess2Owner, "fmWaitMess2") {
  CheckBox1 = MakeBox("クラウドシェア認証チェック", 75, true);
}
