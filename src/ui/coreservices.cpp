#include "ui/coreservices.h"

#include <QApplication>
#include <QFileDialog>

#include "core/uiservices.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/focus.h"
#include "platform/vcl/responder.h"
#include "ui/computerlist.h"
#include "ui/messagebox2.h"

namespace {

// The lines of Text ("\r", "\r\n" and "\n" break a line) in the box's ten
// lines; what does not fit joins the last one.
void SetBoxLines(TMessage2InfoRec& info, const std::string& text) {
  std::size_t n = 0;
  std::string line;
  auto put = [&] {
    if (n < info.Lines.size()) info.Lines[n++].Text = line;
    else info.Lines.back().Text += " " + line;
    line.clear();
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') {
      line += c;
      continue;
    }
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    put();
  }
  if (!line.empty()) put();
}

}  // namespace

void InstallFrameworkServices() {
  CoreUi.ShowMessageLines = [](const std::string& text, int kind) {
    TMessage2InfoRec info;
    InitMessage2Info(static_cast<std::uint8_t>(kind), info);
    const auto parts = SplitString(text, ',');
    for (std::size_t i = 0; i < parts.size() && i < info.Lines.size(); ++i) info.Lines[i].Text = parts[i];
    ShowMessageBox2(info);
  };
  CoreUi.ShowError = [](const std::string& text) {
    TMessage2InfoRec info;
    InitMessage2Info(kMsgError, info);
    SetBoxLines(info, text);
    ShowMessageBox2(info);
  };
  CoreUi.AskWarningYesNo = [](const std::string& text) {
    TMessage2InfoRec info;
    InitMessage2Info(kMsgWarning, info);
    info.Buttons = MsgButtons({mbYes, mbNo});
    SetBoxLines(info, text);
    return ShowMessageBox2(info) == mrYes;
  };
  CoreUi.BrowseFolder = [](const std::string& title, const std::string& folder,
                           const std::string& root) -> std::optional<std::string> {
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(title));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setDirectory(QString::fromStdString(folder.empty() ? root : folder));
    const TModalResult r = ExecModal(dialog, [&dialog] {
      ShownDialog shown;
      shown.kind = "QFileDialog";
      shown.caption = dialog.windowTitle().toStdString();
      shown.window = &dialog;
      return shown;
    });
    if (r != mrOk || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
  };
  CoreUi.BrowseComputer = [](const std::string& title) -> std::optional<std::string> {
    TComputerListBox box(title, KnownHostNames(), QApplication::activeWindow());
    return box.Execute();
  };
  CoreUi.ProcessMessages = [] { ProcessMessages(); };
}
