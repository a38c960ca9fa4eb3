#include "link/wizard.h"

#include <QAbstractButton>
#include <QLabel>

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

TxWizard::TxWizard(QWidget* owner) : QStackedWidget(owner) {
  connect(this, &QStackedWidget::currentChanged, this, [this](int) {
    if (OnPageChanged) OnPageChanged(this);
  });
}

QWidget* TxWizard::AddPage(const std::string& Name) {
  auto* page = new QWidget(this);
  page->setObjectName(Q(Name));
  addWidget(page);
  return page;
}

QWidget* TxWizard::Page(const std::string& Name) const {
  for (int i = 0; i < count(); ++i)
    if (widget(i)->objectName() == Q(Name)) return widget(i);
  return nullptr;
}

void TxWizard::DeletePage(const std::string& Name) {
  if (QWidget* page = Page(Name)) {
    removeWidget(page);
    delete page;
  }
}

void TxWizard::SetPageIndex(int Index) { setCurrentIndex(Index); }

std::string TxWizard::ActivePage() const {
  return currentWidget() ? currentWidget()->objectName().toStdString() : std::string();
}

void TxWizard::SetActivePage(const std::string& Name) {
  if (QWidget* page = Page(Name)) setCurrentWidget(page);
}

void TxWizard::SetNextButton(QAbstractButton* Button) {
  if (next_) disconnect(next_, nullptr, this, nullptr);
  next_ = Button;
  if (!next_) return;
  connect(next_, &QAbstractButton::clicked, this, [this] { NextButtonClick(next_); });
  next_->setText(Q(count() == 1 ? NextButtonFinCap : NextButtonCap));
}

void TxWizard::SetBackButton(QAbstractButton* Button) {
  if (back_) disconnect(back_, nullptr, this, nullptr);
  back_ = Button;
  if (!back_) return;
  connect(back_, &QAbstractButton::clicked, this, [this] { BackButtonClick(back_); });
  back_->hide();
  back_->setText(Q(BackButtonCap));
}

void TxWizard::SetLblHeader(QLabel* Label) {
  header_ = Label;
  ShowCaptions();
}

void TxWizard::SetLblInfo(QLabel* Label) {
  info_ = Label;
  ShowCaptions();
}

// The header and information labels take the entries of the current page
// when their lists hold one.
void TxWizard::ShowCaptions() {
  const auto index = static_cast<std::size_t>(PageIndex());
  if (PageIndex() < 0) return;
  if (header_ && headerCaption_.size() > index) header_->setText(Q(headerCaption_[index]));
  if (info_ && infoCaption_.size() > index) info_->setText(Q(infoCaption_[index]));
}

void TxWizard::NextButtonClick(QObject* Sender) {
  const bool wasLast = count() == PageIndex() + 1;
  bool finalState = false;
  bool allowChange = true;
  if (OnNextClicking) {
    OnNextClicking(Sender, false, allowChange);
    if (!allowChange) return;
  }
  if (count() == 1 || wasLast) {
    finalState = true;
  } else {
    SetPageIndex(PageIndex() + 1);
    ShowCaptions();
    if (back_) back_->show();
  }
  if (count() == PageIndex() + 1 && next_) next_->setText(Q(NextButtonFinCap));
  if (OnNextClick) OnNextClick(Sender, finalState);
}

void TxWizard::BackButtonClick(QObject* Sender) {
  if (count() == 1 || PageIndex() == 0) {
    if (back_) back_->hide();
  } else {
    SetPageIndex(PageIndex() - 1);
    ShowCaptions();
    if (next_) next_->setText(Q(NextButtonCap));
  }
  if (PageIndex() == 0 && count() > 1 && back_) back_->hide();
  if (OnBackClick) OnBackClick(Sender);
}
