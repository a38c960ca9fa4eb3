#include "report/colorset.h"

#include <cstdio>

#include <QColorDialog>
#include <QLabel>
#include <QPushButton>

#include "core/globals.h"
#include "dbaccess/systemstore.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/responder.h"
#include "ui/messagebox2.h"

namespace {

constexpr const char* kCustomColorStyle = "Pallet_CustomColor";

std::array<TColor, 4> EnvironmentColors() {
  return {SystemDef.PLineColor1, SystemDef.PLineColor2, SystemDef.NetColor1, SystemDef.NetColor2};
}

}  // namespace

std::vector<TColor> ParseCustomColors(const std::string& text) {
  std::vector<TColor> colors(16, clWhite);
  for (std::string line : SplitString(text, '\n')) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() < 8 || line.compare(0, 5, "Color") != 0 || line[6] != '=') continue;
    const int index = line[5] - 'A';
    if (index < 0 || index >= 16) continue;
    colors[static_cast<std::size_t>(index)] = StrToIntDef("$" + line.substr(7), clWhite);
  }
  return colors;
}

std::string CustomColorsText(const std::vector<TColor>& colors) {
  std::string text;
  for (std::size_t i = 0; i < 16; ++i) {
    const TColor c = i < colors.size() ? colors[i] : clWhite;
    char line[32];
    std::snprintf(line, sizeof line, "Color%c=%06X\r\n", static_cast<char>('A' + i), static_cast<unsigned>(c));
    text += line;
  }
  return text;
}

TPrnColorSetBox::TPrnColorSetBox(QWidget* owner) : TBSDI(owner, bsDialog, "PrnColorSetBox") {
  setWindowTitle("帳票色の選択");
  setFixedSize(360, 260);
  KeepOnClose = true;  // the caller owns and frees the dialog
  Colors = EnvironmentColors();
  const char* labels[] = {"枠線", "縦横線", "見出し行", "合計行"};
  const char* panels[] = {"pnlLineColor1", "pnlLineColor2", "pnlNetColor1", "pnlNetColor2"};
  const char* buttons[] = {"btnLineColor1", "btnLineColor2", "btnNetColor1", "btnNetColor2"};
  for (int i = 0; i < 4; ++i) {
    const int y = 16 + 40 * i;
    (new QLabel(labels[i], this))->setGeometry(20, y, 80, 26);
    Panels[static_cast<std::size_t>(i)] = new QLabel(this);
    Panels[static_cast<std::size_t>(i)]->setObjectName(panels[i]);
    Panels[static_cast<std::size_t>(i)]->setAutoFillBackground(true);
    Panels[static_cast<std::size_t>(i)]->setFrameShape(QFrame::Box);
    Panels[static_cast<std::size_t>(i)]->setGeometry(110, y, 120, 26);
    Buttons[static_cast<std::size_t>(i)] = new QPushButton("変更", this);
    Buttons[static_cast<std::size_t>(i)]->setObjectName(buttons[i]);
    Buttons[static_cast<std::size_t>(i)]->setGeometry(240, y, 80, 26);
    connect(Buttons[static_cast<std::size_t>(i)], &QPushButton::clicked, this, [this, i] { ChangeClick(i); });
  }
  lblKankyoColor = new QLabel(this);
  lblKankyoColor->setObjectName("lblKankyoColor");
  lblKankyoColor->setGeometry(20, 178, 200, 20);
  btnOK = new QPushButton("OK", this);
  btnOK->setObjectName("btnOK");
  btnOK->setGeometry(170, 218, 84, 28);
  btnCancel = new QPushButton("キャンセル", this);
  btnCancel->setObjectName("btnCancel");
  btnCancel->setGeometry(262, 218, 84, 28);
  connect(btnOK, &QPushButton::clicked, this, [this] { OkClick(); });
  connect(btnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
  ColorDialog1 = new QColorDialog(this);
  ColorDialog1->setObjectName("ColorDialog1");
  ColorDialog1->setOption(QColorDialog::DontUseNativeDialog);
  connect(lblKankyoColor, &QLabel::linkActivated, this, [this] { EnvironmentClick(); });
  lblKankyoColor->setText("<a href=\"#\" style=\"color: blue;\">環境設定の色に戻す</a>");
  Initialized = true;
}

void TPrnColorSetBox::ShowColor(int index, TColor color) {
  shown_[static_cast<std::size_t>(index)] = color;
  QLabel* panel = Panels[static_cast<std::size_t>(index)];
  QPalette palette = panel->palette();
  palette.setColor(QPalette::Window, ColorToQColor(color));
  panel->setPalette(palette);
}

void TPrnColorSetBox::Prepare() {
  for (int i = 0; i < 4; ++i) ShowColor(i, Colors[static_cast<std::size_t>(i)]);
  lblKankyoColor->setVisible(PerOperator);
  std::string text;
  if (DataModuleExists()) SystemStore().fnGetStyleColor(SystemDef.OpCode, kCustomColorStyle, text);
  const std::vector<TColor> custom = ParseCustomColors(text);
  for (int i = 0; i < 16; ++i) QColorDialog::setCustomColor(i, ColorToQColor(custom[static_cast<std::size_t>(i)]));
}

void TPrnColorSetBox::ChangeClick(int index) {
  ColorDialog1->setCurrentColor(ColorToQColor(shown_[static_cast<std::size_t>(index)]));
  const TModalResult r = ExecModal(*ColorDialog1, [this] {
    ShownDialog shown;
    shown.kind = "QColorDialog";
    shown.caption = ColorDialog1->windowTitle().toStdString();
    return shown;
  });
  if (r == mrOk) ShowColor(index, QColorToColor(ColorDialog1->currentColor()));
}

void TPrnColorSetBox::EnvironmentClick() {
  TMessage2InfoRec info;
  InitMessage2Info(kMsgConfirmation, info);
  info.Buttons = MsgButtons({mbYes, mbNo});
  info.Lines[0].Text = "帳票の色を環境設定の色に戻します。";
  info.Lines[1].Text = "よろしいですか？";
  if (ShowMessageBox2(info) != mrYes) return;
  lblKankyoColor->setText("<a href=\"#\" style=\"color: purple;\">環境設定の色に戻す</a>");
  const auto environment = EnvironmentColors();
  for (int i = 0; i < 4; ++i) ShowColor(i, environment[static_cast<std::size_t>(i)]);
}

void TPrnColorSetBox::OkClick() {
  Colors = shown_;
  if (!PerOperator) {
    SystemDef.PLineColor1 = Colors[0];
    SystemDef.PLineColor2 = Colors[1];
    SystemDef.NetColor1 = Colors[2];
    SystemDef.NetColor2 = Colors[3];
    if (DataModuleExists()) SystemStore().fnPutSysDef();
  }
  done(mrOk);
}

void TPrnColorSetBox::FormClose(TCloseAction& action) {
  TBSDI::FormClose(action);
  std::vector<TColor> custom;
  for (int i = 0; i < 16; ++i) custom.push_back(QColorToColor(QColorDialog::customColor(i)));
  if (DataModuleExists()) SystemStore().fnPutStyleColor(SystemDef.OpCode, kCustomColorStyle, CustomColorsText(custom));
}
