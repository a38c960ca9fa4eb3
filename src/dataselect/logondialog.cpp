#include "dataselect/logondialog.h"

#include <cmath>

#include <QGroupBox>
#include <QLabel>
#include <QRegularExpressionValidator>
#include <QStyle>

#include "core/globals.h"
#include "dataselect/connsettings.h"
#include "dataselect/connsettingsdialog.h"
#include "dataselect/logon.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/dpi.h"
#include "platform/vcl/hint.h"
#include "platform/vcl/keypreview.h"
#include "platform/vcl/responder.h"
#include "ui/plbutton.h"
#include "ui/xcheckbox.h"
#include "ui/xedit.h"

namespace {

constexpr int kHeaderHeight = 70;
constexpr int kBodyHeight = 230;

void DigitsOnly(TxEdit* edit) {
  edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
}

}  // namespace

TLogonBox::TLogonBox(QWidget* owner) : QDialog(owner) {
  created_ = false;
  setObjectName("LogonBox");
  setWindowTitle("ログイン");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint);
  setFixedSize(Px(378), Px(kHeaderHeight + kBodyHeight));

  auto* header = new QWidget(this);
  header->setObjectName("pnlHeader");
  header->setGeometry(0, 0, Px(378), Px(kHeaderHeight));
  auto* image1 = new QLabel(header);
  image1->setObjectName("Image1");
  image1->setPixmap(style()->standardIcon(QStyle::SP_DesktopIcon).pixmap(32, 32));
  image1->setGeometry(Px(14), Px(16), Px(32), Px(32));
  Label1 = new QLabel(header);
  Label1->setObjectName("Label1");
  Label1->setGeometry(Px(60), Px(10), Px(310), Px(18));
  Label2 = new QLabel(header);
  Label2->setObjectName("Label2");
  Label2->setGeometry(Px(60), Px(30), Px(310), Px(18));
  Label3 = new QLabel(header);
  Label3->setObjectName("Label3");
  Label3->setGeometry(Px(60), Px(50), Px(310), Px(18));

  auto addField = [this](const char* name, const char* caption, int maxLength, const char* hint, QLabel** label) {
    auto* l = new QLabel(caption, this);
    auto* e = new TxEdit(this);
    e->setObjectName(name);
    e->setMaxLength(maxLength);
    e->SetImeMode(imDisable);
    if (hint) SetHint(e, hint);
    if (label) *label = l;
    return std::make_pair(l, e);
  };
  auto group = addField("txtGroupID", "グループ:", 16, nullptr, &lblGroupID);
  txtGroupID = group.second;
  txtGroupID->setEchoMode(QLineEdit::Password);
  auto code = addField("txtOpCode", "コード:", 9, "オペレータコードを入力します。", nullptr);
  txtOpCode = code.second;
  auto password = addField("txtPassword", "パスワード:", 16, "パスワードを入力します。", nullptr);
  txtPassword = password.second;
  txtPassword->setEchoMode(QLineEdit::Password);

  GroupBox2 = new QGroupBox("接続", this);
  GroupBox2->setObjectName("GroupBox2");
  GroupBox2->setGeometry(Px(20), Px(170), Px(338), Px(60));
  btnSA = new TxRadioButton(GroupBox2);
  btnSA->setObjectName("btnSA");
  btnSA->setText("スタンドアロン");
  btnSA->setGeometry(Px(16), Px(26), Px(140), Px(22));
  SetHint(btnSA, "このコンピュータで管理しているデータを処理します。");
  btnCS = new TxRadioButton(GroupBox2);
  btnCS->setObjectName("btnCS");
  btnCS->setText("クライアント(C/S)");
  btnCS->setGeometry(Px(170), Px(26), Px(160), Px(22));
  SetHint(btnCS, "ネットワークに接続して、サーバーで管理しているデータを処理します。");
  connect(btnSA, &QAbstractButton::toggled, this, [this] { btnSAClick(); });
  connect(btnCS, &QAbstractButton::toggled, this, [this] { btnSAClick(); });

  btnServerSettei = new TxPlButton(this);
  btnServerSettei->setObjectName("btnServerSettei");
  btnServerSettei->setText("サーバー設定");
  SetHint(btnServerSettei, "データサーバーの情報を設定します。");
  btnServerSettei->OnClick = [this](QObject*) { btnServerSetteiClick(); };
  OKBtn = new TxPlButton(this);
  OKBtn->setObjectName("OKBtn");
  OKBtn->setText("OK");
  CancelBtn = new TxPlButton(this);
  CancelBtn->setObjectName("CancelBtn");
  CancelBtn->setText("キャンセル");
  CancelBtn->SetModalResult(mrCancel);
  btnUpPassword = new TxPlButton(this);
  btnUpPassword->setObjectName("btnUpPassword");
  btnUpPassword->setText("パスワードを変更 ");
  SetHint(btnUpPassword, "パスワードを変更します。");
  btnUpPassword->hide();

  // 1. Texts and the group entry.
  Label1->setText(QString::fromStdString(Format("%s を利用するには、", SystemDef.AppTitle)));
  Label3->clear();
  groupEntry_ = ConnectKind == 2 && SystemDef.GroupMode != 0;
  Label2->setText(groupEntry_ ? "グループ、オペレータコードとパスワードを入力して下さい。"
                              : "オペレータコードとパスワードを入力して下さい。");
  lblGroupID->setVisible(groupEntry_);
  txtGroupID->setVisible(groupEntry_);
  int top = 84;
  auto place = [&top](QLabel* label, TxEdit* edit) {
    label->setGeometry(Px(40), Px(top + 4), Px(96), Px(18));
    edit->setGeometry(Px(140), Px(top), Px(150), Px(24));
    top += 28;
  };
  if (groupEntry_) place(lblGroupID, txtGroupID);
  place(code.first, txtOpCode);
  place(password.first, txtPassword);

  // 2. The settings dialog, and the connection kind of the last logon.
  settings_ = std::make_unique<TAppIniCreateBox>(this);
  if (ReadConnectType() != 0)
    btnCS->setChecked(true);
  else
    btnSA->setChecked(true);
  btnSAClick();

  // 3. Without a choice of connection the window is shorter.
  int buttonTop = 250;
  if (ConnectKind == 2 || OemKind == 2) {
    GroupBox2->hide();
    btnSA->setChecked(true);
    buttonTop = 170;
    setFixedHeight(Px(static_cast<int>(std::lround(kHeaderHeight + kBodyHeight * 0.7))));
  }
  btnServerSettei->setGeometry(Px(20), Px(buttonTop), Px(110), Px(30));
  OKBtn->setGeometry(Px(168), Px(buttonTop), Px(90), Px(30));
  CancelBtn->setGeometry(Px(268), Px(buttonTop), Px(90), Px(30));
  btnUpPassword->setGeometry(Px(20), Px(buttonTop), Px(130), Px(30));

  // 4. The OK handler of the operator logon.
  OKBtn->OnClick = [this](QObject*) { OperatorLogonClick(); };
  keyPreview_ = new KeyPreview(this, [this](Word& key, Qt::KeyboardModifiers) { FormKeyDown(key); }, nullptr);
  created_ = true;
}

TLogonBox::~TLogonBox() = default;

TModalResult TLogonBox::Execute() {
  return ExecModal(*this, [this] {
    ShownDialog shown;
    shown.kind = "TLogonBox";
    shown.caption = windowTitle().toStdString();
    shown.lines = {Label1->text().toStdString(), Label2->text().toStdString()};
    shown.buttons = {"OK", "キャンセル"};
    return shown;
  });
}

void TLogonBox::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  DigitsOnly(txtOpCode);
  DigitsOnly(txtGroupID);
  btnServerSettei->setEnabled(btnCS->isChecked());
  (groupEntry_ ? txtGroupID : txtOpCode)->setFocus();
  raise();
  activateWindow();
}

int TLogonBox::GetSelectedConnectKind() const {
  if (ConnectKind == 2) return 2;
  if (ConnectKind > 2) return 0;
  return btnCS->isChecked() ? 1 : 0;
}

void TLogonBox::btnSAClick() {
  if (ConnectKind == 2) return;
  ConnectKind = btnCS->isChecked() ? 1 : 0;
  btnServerSettei->setEnabled(btnCS->isChecked());
}

void TLogonBox::btnServerSetteiClick() {
  if (settings_ && settings_->Created()) settings_->Execute();
}

void TLogonBox::OperatorLogonClick() {
  TLogonInput input;
  input.Kind = GetSelectedConnectKind();
  input.OpCodeText = txtOpCode->Text();
  input.Password = txtPassword->Text();
  input.GroupShown = groupEntry_;
  input.GroupText = txtGroupID->Text();
  switch (OperatorLogon(input)) {
    case TLogonOutcome::LoggedOn:
      SetFormModalResult(this, mrOk);
      break;
    case TLogonOutcome::FocusCode:
      txtOpCode->setFocus();
      break;
    case TLogonOutcome::Fatal:
      SetFormModalResult(this, mrCancel);
      break;
    case TLogonOutcome::StayOpen:
      break;
  }
}

void TLogonBox::FormKeyDown(unsigned short& key) {
  if (key == VK_F12) {
    key = 0;
    if (OKBtn->isEnabled()) OperatorLogonClick();
  } else if (key == VK_RETURN && txtPassword->hasFocus()) {
    key = 0;
    OKBtn->setFocus();
  } else if (key == VK_ESCAPE) {
    key = 0;  // only the Cancel button closes the logon
  }
}
