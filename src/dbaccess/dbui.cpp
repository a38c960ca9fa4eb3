#include "dbaccess/dbui.h"

#include <cstdio>

#include "core/uiservices.h"

namespace {

std::string LinesForLog(const std::string& text) {
  std::string out = text;
  for (char& c : out)
    if (c == '\r') c = '\n';
  return out;
}

}  // namespace

void DbShowMessage(const std::string& Text, int Kind) {
  if (DbUi.MessageDlg) {
    DbUi.MessageDlg(Text, Kind);
    return;
  }
  std::fprintf(stderr, "[message %d] %s\n", Kind, LinesForLog(Text).c_str());
}

int DbInputDialog(TInputDlgRequest& Request) {
  if (DbUi.InputDialog) return DbUi.InputDialog(Request);
  return 0;
}

void DbTerminate() {
  if (DbUi.Terminate) {
    DbUi.Terminate();
    return;
  }
  std::fprintf(stderr, "[end requested]\n");
}

void DbProcessMessages() {
  if (CoreUi.ProcessMessages) CoreUi.ProcessMessages();
}
