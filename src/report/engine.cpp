#include "report/engine.h"

#include <exception>

#include <QFontDatabase>

#include "platform/rtl/sysutils.h"
#include "report/bighint.h"
#include "report/errorlog.h"
#include "report/preview.h"

namespace {

std::vector<std::string> FamiliesOf(QFontDatabase::WritingSystem system) {
  std::vector<std::string> out;
  for (const QString& family : QFontDatabase::families(system)) {
    const std::string name = family.toStdString();
    if (!out.empty() && SameText(out.back(), name)) continue;
    out.push_back(name);
  }
  return out;
}

}  // namespace

TQuillboxEngine& QuillboxEngine() {
  static TQuillboxEngine engine;
  return engine;
}

void StartQuillboxEngine() {
  auto& e = QuillboxEngine();
  if (e.Ready) return;
  try {
    e.PageNumbers.clear();
    e.CurrentPage = 1;
    e.TotalPage = 1;
    e.ShiftJisFonts = FamiliesOf(QFontDatabase::Japanese);
    e.SymbolFonts = FamiliesOf(QFontDatabase::Symbol);
    e.EastEuropeFonts = FamiliesOf(QFontDatabase::Latin);
    e.OemFonts.clear();
    e.DefaultFonts = FamiliesOf(QFontDatabase::Any);
    e.Vdb = std::make_unique<TVDBPrint>();
    e.Vdb->SetTTOption(2);
    StartPreviewEntry = RunPreview;
    TBigHintWindow::Install();
    e.Ready = true;
  } catch (const std::exception& error) {
    QuillboxLogError("Vdb.Create", error.what());
    e.Ready = false;
  }
}

void StopQuillboxEngine() {
  auto& e = QuillboxEngine();
  e.Ready = false;
  e.Vdb.reset();
  e.ShiftJisFonts.clear();
  e.SymbolFonts.clear();
  e.EastEuropeFonts.clear();
  e.OemFonts.clear();
  e.DefaultFonts.clear();
}

int StartPreview(TQBOXDEF& def) {
  if (!QuillboxEngine().Ready || !StartPreviewEntry) return 0;
  return StartPreviewEntry(def);
}
