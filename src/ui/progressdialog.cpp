#include "ui/progressdialog.h"

#include <chrono>
#include <filesystem>
#include <thread>

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "platform/vcl/dpi.h"
#include "platform/vcl/focus.h"
#include "platform/vcl/responder.h"

TxBusyIndicator::TxBusyIndicator(QWidget* parent) : QWidget(parent), timer_(new QTimer(this)) {
  timer_->setInterval(100);
  connect(timer_, &QTimer::timeout, this, [this] {
    frame_ = (frame_ + 1) % 8;
    update();
  });
}

void TxBusyIndicator::SetActive(bool on) {
  if (on) timer_->start(); else timer_->stop();
}

bool TxBusyIndicator::Active() const { return timer_->isActive(); }

void TxBusyIndicator::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QPointF c(width() / 2.0, height() / 2.0);
  const double r = std::min(width(), height()) / 2.0 - 4;
  for (int i = 0; i < 8; ++i) {
    const double a = i * 3.14159265 / 4;
    const int age = (frame_ - i + 8) % 8;
    p.setBrush(QColor(0, 90, 170, 255 - age * 28));
    p.setPen(Qt::NoPen);
    p.drawEllipse(c + QPointF(r * std::cos(a), r * std::sin(a)), 3, 3);
  }
}

TxProgressForm::TxProgressForm(QWidget* owner) : QDialog(owner) {
  setObjectName("TxProgressForm");
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
}

void TxProgressForm::reject() {
  if (CancelButton && CancelButton->isVisible()) CancelButton->click();
}

void TxProgressForm::closeEvent(QCloseEvent* event) { event->ignore(); }

void TxProgressForm::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  if (OnClose) OnClose();
}

TxAnimeProgressDialog::TxAnimeProgressDialog(QObject* owner) : QObject(owner) {}

TxAnimeProgressDialog::~TxAnimeProgressDialog() {
  if (parentHandle_) parentHandle_->setEnabled(true);
  delete form_.data();
}

void TxAnimeProgressDialog::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (form_) form_->setWindowTitle(QString::fromStdString(caption));
}

void TxAnimeProgressDialog::SetInfoLabel(const std::string& text) {
  infoLabel_ = text;
  if (!form_) return;
  form_->Info->setText(QString::fromStdString(text));
  form_->repaint();
  std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void TxAnimeProgressDialog::SetLabelPosition(TxLabelPosition position) {
  labelPosition_ = position;
  if (form_) LayOut();
}

void TxAnimeProgressDialog::SetAviFile(const std::string& file) {
  aviFile_ = file;
  if (form_) LayOut();
}

bool TxAnimeProgressDialog::AnimeActive() const { return form_ && form_->Animation->Active(); }

void TxAnimeProgressDialog::PlayAnime(bool active) {
  if (!form_) return;
  const bool hasAnimation = commonAvi_ != aviNone || !aviFile_.empty();
  form_->Animation->setVisible(hasAnimation);
  if (hasAnimation) form_->Animation->SetActive(active);
  form_->repaint();
}

void TxAnimeProgressDialog::LayOut() {
  TxProgressForm* f = form_;
  // A file that does not exist is dropped: no animation.
  if (!aviFile_.empty() && !std::filesystem::exists(aviFile_)) aviFile_.clear();
  f->setWindowTitle(QString::fromStdString(caption_));
  f->setFixedSize(Px(380), Px(100));
  const int textHeight = QFontMetrics(f->font()).height();
  f->Info->setText(QString::fromStdString(infoLabel_));
  f->CancelButton->setVisible(cancelBtnShow_);
  const int half = Px(100) / 2;
  const int animTop = cancelBtnShow_ ? Px(16) : half - Px(20);
  f->Animation->setGeometry(Px(20), animTop, Px(32), Px(32));
  if (labelPosition_ == xlpRight)
    f->Info->setGeometry(Px(60), cancelBtnShow_ ? Px(24) : half - Px(8), Px(300), textHeight);
  else
    f->Info->setGeometry(Px(20), cancelBtnShow_ ? Px(52) : half + Px(20), Px(300), textHeight);
  f->CancelButton->setGeometry(Px(152), Px(67), Px(76), Px(23));
}

void TxAnimeProgressDialog::Show(QWidget* parentForm) {
  struct Settle {
    ~Settle() {
      ProcessMessages();
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  } settle;
  if (parentForm) parentHandle_ = parentForm->window();
  if (!form_) {
    form_ = new TxProgressForm(parentHandle_ ? parentHandle_.data() : nullptr);
    form_->Animation = new TxBusyIndicator(form_);
    form_->Info = new QLabel(form_);
    form_->Info->setObjectName("InfoLabel");
    form_->CancelButton = new QPushButton("キャンセル", form_);
    form_->CancelButton->setObjectName("CancelButton");
    form_->CancelButton->setAutoDefault(false);
    connect(form_->CancelButton, &QPushButton::clicked, this, [this] { Cancelled = true; });
    form_->OnClose = [this] { if (OnClose) OnClose(this); };
    if (parentForm) form_->setFont(parentForm->font());
  }
  Cancelled = false;
  LayOut();
  Running = true;
  PlayAnime(true);
  if (OnShow) {
    // Modal: OnShow runs inside the modal loop; its exception reaches the caller afterwards.
    std::exception_ptr failure;
    QTimer::singleShot(0, form_, [this, &failure] {
      try {
        OnShow(form_);
      } catch (...) {
        failure = std::current_exception();
      }
      if (form_) form_->done(1);
    });
    if (CurrentDialogResponder()) {
      form_->show();
      while (form_ && form_->isVisible()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    } else {
      form_->exec();
    }
    delete form_.data();
    Running = false;
    if (failure) std::rethrow_exception(failure);
    return;
  }
  if (parentHandle_) {
    const QRect r = parentHandle_->frameGeometry();
    if (r.isEmpty()) {
      form_->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    } else {
      form_->move(r.x() + (r.width() - form_->width()) / 2, r.y() + (r.height() - form_->height()) / 2);
    }
    parentHandle_->setEnabled(false);
    form_->setEnabled(true);
    form_->show();
  } else {
    form_->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    if (const QScreen* s = QGuiApplication::primaryScreen()) {
      const QRect a = s->availableGeometry();
      form_->move(a.x() + (a.width() - form_->width()) / 2, a.y() + (a.height() - form_->height()) / 2);
    }
    form_->show();
  }
}

int TxAnimeProgressDialog::Close() {
  if (parentHandle_) parentHandle_->setEnabled(true);
  Running = false;
  if (form_) {
    form_->hide();
    delete form_.data();
  }
  return 0;
}
