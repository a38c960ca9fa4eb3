#include "report/yohaku.h"

#include <algorithm>

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

#include "platform/rtl/sysutils.h"
#include "report/editqbox.h"

namespace {

constexpr int kMarginLimit = 100;
constexpr int kSpacingLimit = 50;

}  // namespace

bool YohakuKeyAllowed(char key, const std::string& text, bool allSelected) {
  if (key == '\r') return true;
  if (!(key >= '0' && key <= '9') && key != '\b' && key != '-') return false;
  if (key == '-') return allSelected || (text.empty() && text.find('-') == std::string::npos);
  if (key == '0') return allSelected || (text != "0" && text != "-");
  return true;
}

std::string ClampYohakuField(const std::string& text, int limit) {
  int value = 0;
  if (!TryStrToInt(Trim(text), value)) return text;
  if (value < -limit) return std::to_string(-limit);
  if (value > limit) return std::to_string(limit);
  return text;
}

Tfmyohaku::Tfmyohaku(QWidget* owner) : QDialog(owner) {
  setObjectName("fmyohaku");
  setWindowTitle("設定");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFixedSize(300, 320);

  auto* margins = new QGroupBox("余白設定", this);
  margins->setGeometry(8, 4, 284, 120);
  (new QLabel("逆方向はマイナス （max=100）", margins))->setGeometry(10, 18, 260, 16);
  auto* memo = new QPlainTextEdit(margins);
  memo->setReadOnly(true);
  memo->setFocusPolicy(Qt::NoFocus);
  memo->setPlainText("　 ↓上余白\n→左余白\n(1/10)mm");
  memo->setGeometry(10, 38, 120, 72);
  TopEdit = MakeField(margins, "TopEdit", 150, 42, kMarginLimit, 10);
  LeftEdit = MakeField(margins, "LeftEdit", 150, 78, kMarginLimit, 10);

  spacingGroup_ = new QGroupBox("行間隔・文字間隔", this);
  spacingGroup_->setGeometry(8, 128, 284, 100);
  (new QLabel("(1/10) ％", spacingGroup_))->setGeometry(10, 18, 100, 16);
  (new QLabel("(max=50)", spacingGroup_))->setGeometry(180, 18, 90, 16);
  (new QLabel("縦補正", spacingGroup_))->setGeometry(10, 44, 60, 20);
  (new QLabel("横補正", spacingGroup_))->setGeometry(10, 72, 60, 20);
  VEdit = MakeField(spacingGroup_, "VEdit", 150, 42, kSpacingLimit, 1);
  HEdit = MakeField(spacingGroup_, "HEdit", 150, 70, kSpacingLimit, 1);

  OkButton = new QPushButton("ＯＫ", this);
  OkButton->setObjectName("OkButton");
  OkButton->setDefault(false);
  OkButton->setAutoDefault(false);
  connect(OkButton, &QPushButton::clicked, this, [this] {
    TakeValues();
    accept();
  });
  ShowSpacing(true);
}

TEditQbox* Tfmyohaku::MakeField(QWidget* parent, const char* name, int x, int y, int limit, int step) {
  auto* edit = new TEditQbox(parent);
  edit->setObjectName(name);
  edit->setMaxLength(3);
  edit->SetAlignment(qaRight);
  edit->SetKeyEdit3D(false);
  edit->SetImeMode(imDisable);
  edit->setText("0");
  edit->setGeometry(x, y, 60, 24);
  edit->installEventFilter(this);
  edit->OnExit = [edit, limit] {
    const std::string shown = ClampYohakuField(edit->Text(), limit);
    if (shown != edit->Text()) edit->SetText(shown);
  };
  // The up-down buttons move the value by `step` within -limit..limit.
  auto addButton = [&](const char* text, int delta, int dy) {
    auto* b = new QToolButton(parent);
    b->setText(text);
    b->setFocusPolicy(Qt::NoFocus);
    b->setGeometry(x + 62, y + dy, 18, 12);
    QObject::connect(b, &QToolButton::clicked, edit, [edit, delta, limit] {
      const int value = std::clamp(StrToIntDef(edit->Text(), 0) + delta, -limit, limit);
      edit->setText(QString::number(value));
    });
  };
  addButton("▲", step, 0);
  addButton("▼", -step, 12);
  return edit;
}

bool Tfmyohaku::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  auto* edit = qobject_cast<TEditQbox*>(watched);
  const QString typed = static_cast<QKeyEvent*>(event)->text();
  if (!edit || typed.size() != 1 || typed[0].unicode() >= 0x80 || typed[0].unicode() < 0x20) {
    // Navigation and editing keys other than typed characters pass.
    return QDialog::eventFilter(watched, event);
  }
  const bool allSelected = edit->hasSelectedText() && edit->selectedText() == edit->text();
  return !YohakuKeyAllowed(static_cast<char>(typed[0].unicode()), edit->Text(), allSelected);
}

void Tfmyohaku::SetTopMargin(int value) { TopEdit->setText(QString::number(value)); }
void Tfmyohaku::SetLeftMargin(int value) { LeftEdit->setText(QString::number(value)); }

void Tfmyohaku::SetVSpacing(int value) {
  VEdit->setText(QString::number(value < 950 || value > 1050 ? 0 : value - 1000));
}

void Tfmyohaku::SetHSpacing(int value) {
  HEdit->setText(QString::number(value < 950 || value > 1050 ? 0 : value - 1000));
}

void Tfmyohaku::ShowSpacing(bool on) {
  spacingGroup_->setVisible(on);
  setFixedSize(300, on ? 320 : 220);
  OkButton->setGeometry(110, on ? 270 : 170, 80, 28);
}

bool Tfmyohaku::SpacingShown() const { return !spacingGroup_->isHidden(); }

void Tfmyohaku::TakeValues() {
  for (auto* e : {TopEdit, LeftEdit}) e->SetText(ClampYohakuField(e->Text(), kMarginLimit));
  for (auto* e : {VEdit, HEdit}) e->SetText(ClampYohakuField(e->Text(), kSpacingLimit));
  top_ = StrToIntDef(TopEdit->Text(), 0);
  left_ = StrToIntDef(LeftEdit->Text(), 0);
  vspacing_ = 1000 + StrToIntDef(VEdit->Text(), 0);
  hspacing_ = 1000 + StrToIntDef(HEdit->Text(), 0);
}
