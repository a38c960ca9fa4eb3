#include "report/nowprinting.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/rtl/sysutils.h"
#include "ui/messagebox2.h"

TNowPrintingdlg::TNowPrintingdlg(std::function<void()> pageLoop, bool& cancelFlag, QWidget* parent)
    : QDialog(parent), pageLoop_(std::move(pageLoop)), cancel_(cancelFlag) {
  setObjectName("NowPrintingdlg");
  setWindowTitle("印刷");
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
  auto* layout = new QVBoxLayout(this);
  PrintMessage = new QLabel(" 印刷中です。", this);
  PrintMessage->setObjectName("PrintMessage");
  PageMessage = new QLabel(this);
  PageMessage->setObjectName("PageMessage");
  CancelButton = new QPushButton("ｷｬﾝｾﾙ", this);
  CancelButton->setObjectName("CancelButton");
  layout->addWidget(PrintMessage);
  layout->addWidget(PageMessage);
  layout->addWidget(CancelButton);
  setFixedSize(sizeHint());
  connect(CancelButton, &QPushButton::clicked, this, [this] { CancelButtonClick(); });
  Timer = new QTimer(this);
  Timer->setObjectName("Timer");
  Timer->setSingleShot(true);
  Timer->setInterval(500);
  connect(Timer, &QTimer::timeout, this, [this] {
    Timer->stop();
    pageLoop_();
    accept();
  });
  Timer->start();
}

void TNowPrintingdlg::ShowPage(int page) {
  PageMessage->setText(page > 0 ? QString::fromStdString(Format("(Page=%d)", page)) : QString());
  QApplication::processEvents();
}

void TNowPrintingdlg::CancelButtonClick() {
  TMessage2InfoRec info;
  InitMessage2Info(kMsgConfirmation, info);
  info.Buttons = MsgButtons({mbYes, mbNo});
  info.Lines[0].Text = "印刷を中止しますか？";
  if (ShowMessageBox2(info) == mrYes) cancel_ = true;
}
