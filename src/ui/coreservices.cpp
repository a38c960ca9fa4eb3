#include "ui/coreservices.h"

#include "core/uiservices.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/focus.h"
#include "ui/messagebox2.h"

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
    info.Lines[0].Text = text;
    ShowMessageBox2(info);
  };
  CoreUi.AskWarningYesNo = [](const std::string& text) {
    TMessage2InfoRec info;
    InitMessage2Info(kMsgWarning, info);
    info.Buttons = MsgButtons({mbYes, mbNo});
    info.Lines[0].Text = text;
    return ShowMessageBox2(info) == mrYes;
  };
  CoreUi.ProcessMessages = [] { ProcessMessages(); };
}
