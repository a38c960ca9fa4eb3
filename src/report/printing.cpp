#include "report/printing.h"

#include <exception>
#include <filesystem>
#include <string>

#include "platform/rtl/sysutils.h"
#include "report/engine.h"
#include "report/errorlog.h"
#include "report/printdata.h"
#include "report/printjob.h"
#include "ui/messagebox2.h"

namespace {

void ErrorBox(const std::string& text) {
  TMessage2InfoRec info;
  InitMessage2Info(kMsgError, info);
  info.Lines[0].Text = text;
  ShowMessageBox2(info);
}

bool FileExists(const std::string& path) {
  std::error_code ignored;
  return !path.empty() && std::filesystem::is_regular_file(path, ignored);
}

}  // namespace

int StartPrint(TQBOXDEF& def) {
  auto& engine = QuillboxEngine();
  if (!engine.Ready) return 0;
  if (!def.Permit) {
    StartPreview(def);
    return 0;
  }
  try {
    if (!FileExists(def.DataFile)) {
      ErrorBox("<" + def.DataFile + "> が見つかりません。");
      return 0;
    }
    if (!FileHasQuillboxMagic(def.DataFile)) {
      ErrorBox("<QUILLBOX>印刷データではありません。");
      return 0;
    }
    const std::string form = Trim(def.FormFile);
    if (!form.empty() && !FileExists(form)) {
      ErrorBox("<" + form + "> が見つかりません。");
      return 0;
    }
    return RunPrintJob(def) ? 1 : 0;
  } catch (const std::exception& error) {
    QuillboxLogError("PRINT.開始", error.what());
    return 0;
  }
}
