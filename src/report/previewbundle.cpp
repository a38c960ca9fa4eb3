// Print bundles: a previewed report saved beside copies of every file its
// records name (".qlb" data, ".qlf" form, "_FORMAT-n.qlf" form records,
// "_<name>" pictures, "_CHART.WMF"), and such a bundle shown in the preview.
#include <filesystem>
#include <fstream>
#include <sstream>

#include <QFileDialog>
#include <QToolButton>

#include "platform/rtl/atomicfile.h"
#include "platform/rtl/cp932.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/responder.h"
#include "platform/win/specialfolders.h"
#include "report/engine.h"
#include "report/errorlog.h"
#include "report/preview.h"
#include "report/printdata.h"
#include "ui/messagebox2.h"

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Exception("<" + path + "> が見つかりません。");
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The lines of a CP932 file as UTF-8, line ends dropped.
std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::istringstream in(ReadAll(path));
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(Cp932ToUtf8Lossy(line));
  }
  return lines;
}

// Copies a file through a work file beside the target and a rename.
void CopyThrough(const std::string& from, const std::string& to) { WriteFileAtomically(to, ReadAll(from)); }

bool StartsWith(const std::string& line, std::string_view prefix) { return line.compare(0, prefix.size(), prefix) == 0; }

// The trimmed rest of the first line that begins with `key`, else "".
std::string HeaderValue(const std::vector<std::string>& lines, std::string_view key) {
  for (const auto& line : lines)
    if (StartsWith(line, key)) return Trim(line.substr(key.size()));
  return {};
}

void ErrorBox(const std::string& text) {
  TMessage2InfoRec info;
  InitMessage2Info(kMsgError, info);
  info.Lines[0].Text = text;
  ShowMessageBox2(info);
}

// A framework file dialog for bundles; the chosen file, or "" on cancel.
std::string AskBundleFile(QWidget* owner, bool save, const std::string& proposed) {
  QFileDialog dialog(owner);
  dialog.setObjectName(save ? "SaveDialog" : "OpenDialog");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setDefaultSuffix("qlb");
  dialog.setNameFilter(save ? "印刷（プレビュー）ファイルの保存 (*.qlb)" : "印刷（プレビュー）ファイル (*.qlb)");
  dialog.setDirectory(QString::fromStdString(DocumentsDir()));
  if (!proposed.empty()) dialog.selectFile(QString::fromStdString(proposed));
  const TModalResult r = ExecModal(dialog, [&dialog] {
    ShownDialog shown;
    shown.kind = "QFileDialog";
    shown.caption = dialog.windowTitle().toStdString();
    return shown;
  });
  if (r != mrOk || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first().toStdString();
}

}  // namespace

void TImageDispForm::SaveBundle() {
  const std::string title = fs::path(QuillboxEngine().Settings.Title).stem().string();
  const std::string path = AskBundleFile(this, true, DocumentsDir() + "/" + title + ".qlb");
  if (!path.empty()) SaveBundleAs(path);
}

void TImageDispForm::SaveBundleAs(const std::string& path) {
  if (painting_) return;
  painting_ = true;
  try {
    const std::string folder = fs::path(path).parent_path().string();
    const std::string base = fs::path(path).stem().string();
    auto named = [&](const std::string& suffix) { return folder + "/" + base + "_" + suffix; };
    std::vector<std::string> lines = ReadLines(dataFile_);
    for (auto& line : lines) {
      if (!StartsWith(line, "*FORMFILE=")) continue;
      line = "*FORMFILE=" + (formFile_.empty() ? std::string() : folder + "/" + base + ".qlf");
      break;
    }
    int formNumber = 0;
    bool chartDone = false;
    for (auto& line : lines) {
      if (StartsWith(line, "FORM;")) {
        const TRecord r(line);
        const std::string copy = named(Format("%s%d%s", "FORMAT-", ++formNumber, ".qlf"));
        CopyThrough(r.Text(1), copy);
        line = Format("%s;%s;%s;%d;%d;", "FORM", copy.c_str(), r.Text(2).c_str(), r.Int(3), r.Int(4));
      } else if (StartsWith(line, "IMAGE;")) {
        const TRecord r(line);
        const std::string copy = named(fs::path(r.Text(5)).filename().string());
        CopyThrough(r.Text(5), copy);
        line = Format("%s;%d;%d;%d;%d;%s;%d;", "IMAGE", r.Int(1), r.Int(2), r.Int(3), r.Int(4), copy.c_str(), 0);
      } else if (!chartDone && StartsWith(line, "CHART;")) {
        // No chart is registered in this system: a chart file the report left
        // beside its data file is what the bundle keeps.
        chartDone = true;
        const TRecord r(line);
        const std::string copy = named("CHART.WMF");
        const std::string chart = fs::path(dataFile_).parent_path().string() + "/CHART.WMF";
        if (fs::exists(chart)) CopyThrough(chart, copy);
        line = Format("%s;%d;%d;%d;%d;%s;%d;", "IMAGE", r.Int(1), r.Int(2), r.Int(3), r.Int(4), copy.c_str(), 0);
      }
    }
    std::string bytes;
    for (const auto& line : lines) bytes += Utf8ToCp932Lossy(line) + "\r\n";
    WriteFileAtomically(folder + "/" + base + ".qlb", bytes);
    if (!formFile_.empty()) CopyThrough(formFile_, folder + "/" + base + ".qlf");
  } catch (const std::exception& error) {
    QuillboxLogError("PREVIEW.Text作成", error.what());
  }
  painting_ = false;
  Relayout();
}

void TImageDispForm::OpenBundle() {
  if (painting_) return;
  const std::string path = AskBundleFile(this, false, "");
  if (!path.empty()) OpenBundleFile(path);
}

void TImageDispForm::OpenBundleFile(const std::string& path) {
  if (painting_) return;
  painting_ = true;
  try {
    TQBOXDEF& s = QuillboxEngine().Settings;
    saved_ = {s.PaperSize, s.OutPutPaper, s.Orientation, s.TopMargin, s.LeftMargin,
              static_cast<int>(s.NetColor1), static_cast<int>(s.NetColor2), static_cast<int>(s.UserColor1),
              static_cast<int>(s.UserColor2), s.PrintFom};
    const std::vector<std::string> lines = ReadLines(path);
    if (lines.empty() || !HasQuillboxMagic(lines.front())) {
      painting_ = false;
      ErrorBox("[QUILLBOX]印刷ファイルではありません。");
      return;
    }
    const std::string form = HeaderValue(lines, "*FORMFILE=");
    if (form.empty() || fs::is_regular_file(form)) {
      auto number = [&](std::string_view key, int fallback) {
        return StrToIntDef(HeaderValue(lines, key), fallback);
      };
      dataFile_ = path;
      formFile_ = form;
      s.PaperSize = number("*PAPERSIZE=", 9);
      s.OutPutPaper = number("*OUTPUTPAPER=", 9);
      s.Orientation = number("*ORIENTATION=", 0);
      s.TopMargin = number("*TOPMARGIN=", 0);
      s.LeftMargin = number("*LEFTMARGIN=", 0);
      s.NetColor1 = number("*NETC1=", 0);
      s.NetColor2 = number("*NETC2=", 0);
      s.UserColor1 = number("*USERC1=", 0);
      s.UserColor2 = number("*USERC2=", 0);
      s.PrintFom = HeaderValue(lines, "*FORMPRINT=") == "TRUE";
      ComputePageCounts();
      current_ = 1;
      ShowPagePosition();
      ReadFormDefinitions();
      orientations_ = ScanOrientations(dataFile_, s.Orientation);
      ImageOpenCancel->setEnabled(true);
    }
  } catch (const std::exception& error) {
    QuillboxLogError("PREVIEW.Text読込", error.what());
  }
  painting_ = false;
  ApplyPageOrientation();
  Relayout();
}

void TImageDispForm::CancelOpenBundle() {
  if (painting_) return;
  try {
    ImageOpenCancel->setEnabled(false);
    TQBOXDEF& s = QuillboxEngine().Settings;
    if (formFile_ == Trim(s.FormFile) && dataFile_ == s.DataFile) return;
    dataFile_ = s.DataFile;
    formFile_ = Trim(s.FormFile);
    s.PaperSize = saved_.PaperSize;
    s.OutPutPaper = saved_.OutPutPaper;
    s.Orientation = saved_.Orientation;
    s.TopMargin = saved_.TopMargin;
    s.LeftMargin = saved_.LeftMargin;
    s.NetColor1 = saved_.NetColor1;
    s.NetColor2 = saved_.NetColor2;
    s.UserColor1 = saved_.UserColor1;
    s.UserColor2 = saved_.UserColor2;
    s.PrintFom = saved_.PrintFom;
    ComputePageCounts();
    current_ = 1;
    ShowPagePosition();
    ReadFormDefinitions();
    orientations_ = ScanOrientations(dataFile_, s.Orientation);
    ApplyPageOrientation();
    Relayout();
  } catch (const std::exception& error) {
    QuillboxLogError("PREVIEW.読込取消", error.what());
  }
}
