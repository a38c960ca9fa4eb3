#include "dataselect/connsettingsdialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

#include "core/dialogs.h"
#include "core/globals.h"
#include "core/settings.h"
#include "dataselect/connsettings.h"
#include "dataselect/logon.h"
#include "dbaccess/datalistrec.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/hint.h"
#include "platform/vcl/keypreview.h"
#include "platform/vcl/responder.h"
#include "platform/win/paths.h"
#include "ui/plbutton.h"
#include "ui/xcombobox.h"
#include "ui/xedit.h"

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The root shows as "/", an empty drive part means the root.
std::string DriveText(const std::string& drive) { return drive.empty() ? "/" : drive; }

}  // namespace

TAppIniCreateBox::TAppIniCreateBox(QWidget* owner) : QDialog(owner) {
  created_ = false;
  setObjectName("AppIniCreateBox");
  setWindowTitle("データサーバーの設定");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  startMode_ = false;
  shownKind_ = 1;

  auto* root = new QVBoxLayout(this);
  auto* header = new QHBoxLayout();
  auto* icon = new QLabel(this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(32, 32));
  header->addWidget(icon);
  auto* texts = new QVBoxLayout();
  Label1 = new QLabel("データサーバーを利用するための設定を行います。", this);
  Label1->setObjectName("Label1");
  Label2 = new QLabel("データサーバーの情報を入力して下さい。", this);
  Label2->setObjectName("Label2");
  texts->addWidget(Label1);
  texts->addWidget(Label2);
  header->addLayout(texts, 1);
  root->addLayout(header);

  auto* group = new QGroupBox("データサーバー", this);
  auto* grid = new QGridLayout(group);
  txtHostName = new TxEdit(group);
  txtHostName->setObjectName("txtHostName");
  txtHostName->SetImeMode(imDisable);
  SetHint(txtHostName, "接続先のコンピューター名またはIPアドレスを入力して下さい。");
  btnCompShow = new TxPlButton(group);
  btnCompShow->setObjectName("btnCompShow");
  btnCompShow->setText("参照");
  btnCompShow->setFocusPolicy(Qt::NoFocus);
  btnCompShow->setMinimumSize(72, 24);
  SetHint(btnCompShow, "ネットワークに接続されているコンピュータを表示します。");
  btnCompShow->OnClick = [this](QObject*) { btnCompShowClick(); };
  cmbDrive = new TxComboBox(group);
  cmbDrive->setObjectName("cmbDrive");
  cmbDrive->setEditable(true);
  SetHint(cmbDrive, "データを置いてあるドライブを選択して下さい。");
  txtDataPath = new TxEdit(group);
  txtDataPath->setObjectName("txtDataPath");
  txtDataPath->setReadOnly(true);
  txtUserName = new TxEdit(group);
  txtUserName->setObjectName("txtUserName");
  txtPassWord = new TxEdit(group);
  txtPassWord->setObjectName("txtPassWord");
  txtPassWord->setEchoMode(QLineEdit::Password);
  auto* userLabel = new QLabel("データベースのユーザー:", group);
  auto* passwordLabel = new QLabel("データベースのパスワード:", group);
  grid->addWidget(new QLabel("コンピュータ名:", group), 0, 0);
  grid->addWidget(txtHostName, 0, 1);
  grid->addWidget(btnCompShow, 0, 2);
  grid->addWidget(new QLabel("データの場所:", group), 1, 0);
  grid->addWidget(cmbDrive, 1, 1);
  grid->addWidget(txtDataPath, 2, 1, 1, 2);
  grid->addWidget(userLabel, 3, 0);
  grid->addWidget(txtUserName, 3, 1);
  grid->addWidget(passwordLabel, 4, 0);
  grid->addWidget(txtPassWord, 4, 1);
  for (QWidget* w : std::initializer_list<QWidget*>{userLabel, passwordLabel, txtUserName, txtPassWord}) w->hide();
  root->addWidget(group);

  auto* buttons = new QHBoxLayout();
  buttons->addStretch(1);
  btnOK = new TxPlButton(this);
  btnOK->setObjectName("btnOK");
  btnOK->setText("OK");
  btnOK->OnClick = [this](QObject*) { OKBtnClick(); };
  btnCancel = new TxPlButton(this);
  btnCancel->setObjectName("btnCancel");
  btnCancel->setText("キャンセル");
  btnCancel->SetCancel(true);
  btnCancel->SetModalResult(mrCancel);
  for (TxPlButton* b : {btnOK, btnCancel}) {
    b->setMinimumSize(90, 28);
    buttons->addWidget(b);
  }
  root->addLayout(buttons);

  txtDataPath->setEnabled(false);
  txtUserName->setEnabled(false);
  txtPassWord->setEnabled(false);
  txtDataPath->SetText(NativePath(ServerDir));
  txtUserName->SetText(SystemDef.DbUser);
  txtPassWord->SetText(SystemDef.DbPassword);
  keyPreview_ = new KeyPreview(this, [this](Word& key, Qt::KeyboardModifiers) { FormKeyDown(key); }, nullptr);
  created_ = true;
}

bool TAppIniCreateBox::WriteIni(bool Reset) { return WriteConnectIni(Reset); }

TModalResult TAppIniCreateBox::Execute() {
  return ExecModal(*this, [this] {
    ShownDialog shown;
    shown.kind = "TAppIniCreateBox";
    shown.caption = windowTitle().toStdString();
    shown.lines = {Label1->text().toStdString(), Label2->text().toStdString()};
    shown.buttons = {"OK", "キャンセル"};
    return shown;
  });
}

void TAppIniCreateBox::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TAppIniCreateBox::FormShow() {
  // The SERVER section is loaded on every showing, also when the user then cancels.
  ReadIniSection(shownKind_);
  txtHostName->SetText(SystemDef.HostName);
  // The places offered: the root, the shared drives' mount points and the
  // place of the current system folder.
  cmbDrive->clear();
  cmbDrive->addItem("/");
  for (const TShareDrive& drive : ReadShareDrives())
    if (cmbDrive->findText(Q(drive.Root)) < 0) cmbDrive->addItem(Q(drive.Root));
  const std::string current = DriveText(SysDirDrive(SystemDef.SysDir));
  if (!SystemDef.SysDir.empty() && cmbDrive->findText(Q(current)) < 0) cmbDrive->addItem(Q(current));
  const int index = SystemDef.SysDir.empty() ? 0 : cmbDrive->findText(Q(current));
  cmbDrive->setCurrentIndex(index < 0 ? 0 : index);
  txtUserName->SetText(SystemDef.DbUser);
  txtPassWord->SetText(SystemDef.DbPassword);
  txtHostName->setFocus();
}

void TAppIniCreateBox::btnCompShowClick() {
  std::string name;
  if (SelectComputer("サーバーのコンピュータを選択して下さい。サーバーのコンピュータがリストに無い場合は、"
                     "[ｷｬﾝｾﾙ]を押してコンピュータ名を入力して下さい。",
                     name))
    txtHostName->SetText(name);
}

void TAppIniCreateBox::OKBtnClick() {
  setResult(mrNone);
  SystemDef.HostName = LowerCase(txtHostName->Text());
  std::string drive = ExcludeTrailingPathDelimiter(Trim(cmbDrive->currentText().toStdString()));
  if (drive == "/") drive.clear();
  SystemDef.SysDir = drive + NativePath(txtDataPath->Text());
  SystemDef.DbUser = UpperCase(txtUserName->Text());
  SystemDef.DbPassword = LowerCase(txtPassWord->Text());
  SystemDef.GoGlobal = 0;
  SystemDef.GroupMode = 0;
  if (ConnectKind == 0) {
    SystemDef.HostName.clear();
  } else if (ConnectKind == 1) {
    if (Trim(txtHostName->Text()).empty()) {
      ShowErrorBox("コンピュータ名が指定されていません。\r入力してください。", true);
      txtHostName->setFocus();
      return;
    }
  } else if (ConnectKind == 2) {
    SystemDef.GoGlobal = 1;
    if (Trim(txtHostName->Text()).empty()) {
      ShowErrorBox("コンピュータ名が指定されていません。\r", true);
      txtHostName->setFocus();
      return;
    }
  }
  if (Trim(txtUserName->Text()).empty()) {
    ShowErrorBox("データベースのユーザーが指定されていません。\r入力してください。", true);
    return;
  }
  if (Trim(txtPassWord->Text()).empty()) {
    ShowErrorBox("データベースのパスワードが指定されていません。\r入力してください。", true);
    return;
  }
  WriteIni(false);
  SetFormModalResult(this, mrOk);
}

void TAppIniCreateBox::FormKeyDown(unsigned short& key) {
  if (key == VK_ESCAPE) {
    key = 0;
    SetFormModalResult(this, mrCancel);
  } else if (key == VK_F12) {
    key = 0;
    if (btnOK->isEnabled()) OKBtnClick();
  }
}
