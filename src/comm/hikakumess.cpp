#include "comm/hikakumess.h"

#include <QLabel>
#include <QPushButton>

#include "platform/vcl/dpi.h"
#include "platform/vcl/responder.h"

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const char* text, int x, int y) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setObjectName(name);
  label->move(Px(x), Px(y));
  label->adjustSize();
  return label;
}

}  // namespace

TfmHikakuMess2::TfmHikakuMess2(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName("fmHikakuMess2");
  setWindowTitle(QString::fromUtf8("確認"));
  HikakuAnswer = 1;
  resize(Px(456), Px(190));
  Label1 = MakeLabel(this, "Label1", "中継サーバーに下記相違点のあるデータが存在します。", 16, 8);
  Label3 = MakeLabel(this, "Label3", "パスワードが違います。", 32, 30);
  Label4 = MakeLabel(this, "Label4", "商号が違います。", 32, 50);
  Label5 = MakeLabel(this, "Label5", "現在利用中の商号　：　株式会社サンプル", 48, 68);
  Label6 = MakeLabel(this, "Label6", "中継サーバーの商号：　株式会社サンプル", 48, 86);
  Label7 = MakeLabel(this, "Label7", "会計期間が違います。", 32, 104);
  Label8 = MakeLabel(this, "Label8", "現在利用中の会計期間　：　2010/01/01 ～ 2010/12/31", 48, 122);
  Label9 = MakeLabel(this, "Label9", "現在利用中の会計期間　：　2010/01/01 ～ 2010/12/31", 48, 140);
  Label2 = MakeLabel(this, "Label2", "このまま送信して上書きしてもいいですか？", 16, 160);
  Button1 = new QPushButton(QString::fromUtf8("はい"), this);
  Button1->setObjectName("Button1");
  Button2 = new QPushButton(QString::fromUtf8("いいえ"), this);
  Button2->setObjectName("Button2");
  Button1->setGeometry(Px(280), Px(156), Px(75), Px(25));
  Button2->setGeometry(Px(364), Px(156), Px(75), Px(25));
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
}

void TfmHikakuMess2::Button1Click() {
  HikakuAnswer = 1;
  done(mrYes);
}

void TfmHikakuMess2::Button2Click() {
  HikakuAnswer = 0;
  done(mrNo);
}

TModalResult TfmHikakuMess2::ShowModal() {
  return ExecModal(*this, [this] {
    ShownDialog shown;
    shown.kind = "TfmHikakuMess2";
    shown.caption = windowTitle().toStdString();
    for (QLabel* l : {Label1, Label3, Label4, Label5, Label6, Label7, Label8, Label9, Label2})
      if (!l->isHidden()) shown.lines.push_back(l->text().toStdString());
    shown.buttons = {"はい", "いいえ"};
    shown.window = this;
    return shown;
  });
}
