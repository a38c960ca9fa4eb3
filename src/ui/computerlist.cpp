#include "ui/computerlist.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "core/globals.h"
#include "platform/rtl/inifile.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/modalresult.h"
#include "platform/vcl/responder.h"
#include "ui/plbutton.h"

namespace {

void AddOnce(std::vector<std::string>& names, const std::string& name) {
  if (name.empty()) return;
  const std::string key = LowerCase(name);
  if (std::none_of(names.begin(), names.end(), [&](const std::string& n) { return LowerCase(n) == key; }))
    names.push_back(name);
}

}  // namespace

std::vector<std::string> HostsFileNames(const std::string& HostsFile) {
  std::vector<std::string> names;
  std::ifstream in(HostsFile);
  for (std::string line; std::getline(in, line);) {
    line = line.substr(0, line.find('#'));
    std::istringstream words(line);
    std::string address, name;
    if (!(words >> address)) continue;
    const std::string lower = LowerCase(address);
    if (lower.rfind("ff", 0) == 0 || lower.rfind("fe", 0) == 0) continue;
    while (words >> name) AddOnce(names, name);
  }
  return names;
}

std::vector<std::string> KnownHostNames(const std::string& HostsFile) {
  std::vector<std::string> names;
  if (!SystemDef.ConnectIniFile.empty()) {
    TIniFile ini(SystemDef.ConnectIniFile);
    for (const char* section : {"SERVER", "SBC", "LOCAL"}) AddOnce(names, Trim(ini.ReadString(section, "HOSTNAME", "")));
  }
  for (const std::string& name : HostsFileNames(HostsFile)) AddOnce(names, name);
  return names;
}

TComputerListBox::TComputerListBox(const std::string& Title, const std::vector<std::string>& Names, QWidget* Owner)
    : QDialog(Owner) {
  setObjectName("ComputerListBox");
  setWindowTitle("コンピュータの選択");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  auto* root = new QVBoxLayout(this);
  lblTitle = new QLabel(QString::fromStdString(Title), this);
  lblTitle->setObjectName("lblTitle");
  lblTitle->setWordWrap(true);
  root->addWidget(lblTitle);
  lstComputers = new QListWidget(this);
  lstComputers->setObjectName("lstComputers");
  for (const std::string& name : Names) lstComputers->addItem(QString::fromStdString(name));
  if (lstComputers->count() > 0) lstComputers->setCurrentRow(0);
  root->addWidget(lstComputers, 1);
  auto* buttons = new QHBoxLayout();
  buttons->addStretch(1);
  btnOK = new TxPlButton(this);
  btnOK->setObjectName("btnOK");
  btnOK->setText("OK");
  btnOK->OnClick = [this](QObject*) { SetFormModalResult(this, mrOk); };
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
  connect(lstComputers, &QListWidget::itemDoubleClicked, this, [this] { SetFormModalResult(this, mrOk); });
  resize(420, 360);
}

std::optional<std::string> TComputerListBox::Execute() {
  const TModalResult r = ExecModal(*this, [this] {
    ShownDialog shown;
    shown.kind = "TComputerListBox";
    shown.caption = windowTitle().toStdString();
    for (int i = 0; i < lstComputers->count(); ++i) shown.lines.push_back(lstComputers->item(i)->text().toStdString());
    shown.buttons = {"OK", "キャンセル"};
    return shown;
  });
  QListWidgetItem* item = lstComputers->currentItem();
  if (r != mrOk || !item) return std::nullopt;
  return item->text().toStdString();
}
