#include "dataselect/passworddialog.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QStyle>

#include "core/sjis.h"
#include "platform/vcl/dpi.h"
#include "platform/vcl/hint.h"
#include "platform/vcl/keypreview.h"
#include "platform/vcl/responder.h"
#include "ui/messagebox2.h"
#include "ui/plbutton.h"
#include "ui/xedit.h"

namespace {

void Warn(const std::string& text) {
  TMessage2InfoRec info;
  InitMessage2Info(kMsgWarning, info);
  info.Buttons = MsgButtons({mbOK});
  info.Lines[0].Text = text;
  ShowMessageBox2(info);
}

// The characters a password may be typed with.
bool IsPasswordChar(const QString& text) {
  if (text.size() != 1) return false;
  const QChar c = text[0];
  return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
         (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}

}  // namespace

TUpPasswordBox::TUpPasswordBox(QWidget* owner) : QDialog(owner) {
  setObjectName("UpPasswordBox");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(Px(403), Px(262));
  auto* icon = new QLabel(this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
  icon->setGeometry(Px(12), Px(10), Px(32), Px(32));
  Label1 = new QLabel(this);
  Label1->setObjectName("Label1");
  Label1->setGeometry(Px(56), Px(18), Px(330), Px(20));
  auto* group = new QGroupBox(this);
  group->setGeometry(Px(12), Px(56), Px(379), Px(150));
  auto makeLabel = [group](const char* name, const char* text) {
    auto* l = new QLabel(text, group);
    l->setObjectName(name);
    return l;
  };
  Label2 = makeLabel("Label2", "現在のパスワード:");
  Label3 = makeLabel("Label3", "新しいパスワード:");
  Label4 = makeLabel("Label4", "新しいパスワード(確認):");
  auto makeEdit = [this, group](const char* name, const char* hint) {
    auto* e = new TxEdit(group);
    e->setObjectName(name);
    e->setMaxLength(10);
    e->SetImeMode(imDisable);
    SetHint(e, hint);
    e->installEventFilter(this);
    return e;
  };
  txtPasswordNow = makeEdit("txtPasswordNow", "現在のパスワードを入力します。");
  txtPasswordNew1 = makeEdit("txtPasswordNew1", "新しいパスワードを入力します。");
  txtPasswordNew2 = makeEdit("txtPasswordNew2", "もう一度、新しいパスワードを入力します。");
  btnOk = new TxPlButton(this);
  btnOk->setObjectName("btnOk");
  btnOk->setText("OK");
  btnOk->setGeometry(Px(196), Px(220), Px(92), Px(30));
  btnOk->OnClick = [this](QObject*) { btnOkClick(); };
  btnCancel = new TxPlButton(this);
  btnCancel->setObjectName("btnCancel");
  btnCancel->setText("キャンセル");
  btnCancel->SetModalResult(mrCancel);
  btnCancel->setGeometry(Px(298), Px(220), Px(92), Px(30));
  keyPreview_ = new KeyPreview(
      this,
      [this](Word& key, Qt::KeyboardModifiers) {
        if (key == VK_ESCAPE) {
          key = 0;
          SetFormModalResult(this, mrCancel);
        } else if (key == VK_F12) {
          key = 0;
          if (btnOk->isEnabled()) btnOkClick();
        }
      },
      nullptr);
  SetCurrentPassword("");
}

void TUpPasswordBox::SetCurrentPassword(const std::string& Current) {
  current_ = Current;
  changeMode_ = !Current.empty();
  NewPassword.clear();
  for (TxEdit* e : {txtPasswordNow, txtPasswordNew1, txtPasswordNew2}) e->clear();
  auto place = [](QLabel* label, TxEdit* edit, int top) {
    label->setGeometry(Px(16), Px(top), Px(150), Px(16));
    edit->setGeometry(Px(176), Px(top - 4), Px(180), Px(22));
  };
  Label2->setVisible(changeMode_);
  txtPasswordNow->setVisible(changeMode_);
  if (changeMode_) {
    setWindowTitle("パスワードの変更");
    Label1->setText("パスワードを変更します。");
    place(Label2, txtPasswordNow, 24);
    place(Label3, txtPasswordNew1, 58);
    place(Label4, txtPasswordNew2, 92);
  } else {
    setWindowTitle("パスワードの設定");
    Label1->setText("パスワードを設定します。");
    place(Label3, txtPasswordNew1, 42);
    place(Label4, txtPasswordNew2, 76);
  }
}

TModalResult TUpPasswordBox::Execute() {
  return ExecModal(*this, [this] {
    ShownDialog shown;
    shown.kind = "TUpPasswordBox";
    shown.caption = windowTitle().toStdString();
    shown.lines = {Label1->text().toStdString()};
    shown.buttons = {"OK", "キャンセル"};
    return shown;
  });
}

void TUpPasswordBox::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  (changeMode_ ? txtPasswordNow : txtPasswordNew1)->setFocus();
}

bool TUpPasswordBox::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    const bool control = key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Return ||
                         key->key() == Qt::Key_Enter || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab ||
                         key->key() == Qt::Key_Delete || key->key() == Qt::Key_Escape;
    // Only digits, letters, Backspace and Enter are typed; keys without a
    // character (arrows, function keys) keep their meaning.
    if (!control && !text.isEmpty() && !IsPasswordChar(text)) return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TUpPasswordBox::btnOkClick() {
  setResult(mrNone);
  const std::string now = txtPasswordNow->Text();
  const std::string new1 = txtPasswordNew1->Text();
  const std::string new2 = txtPasswordNew2->Text();
  if (changeMode_) {
    if (TrimZen(now).empty()) {
      Warn("現在のパスワードが入力されていません。");
      txtPasswordNow->setFocus();
      return;
    }
    if (now != current_) {
      Warn("現在のパスワードが入力されたパスワードと一致しません。");
      txtPasswordNow->setFocus();
      return;
    }
  }
  if (TrimZen(new1).empty() || TrimZen(new2).empty()) {
    Warn("新しいパスワードが入力されていません。両方のボックスに入力して下さい。");
    txtPasswordNew1->setFocus();
    return;
  }
  if (new1 != new2) {
    Warn("入力されたパスワードは一致しません。");
    txtPasswordNew1->setFocus();
    return;
  }
  NewPassword = new1;
  SetFormModalResult(this, mrOk);
}
