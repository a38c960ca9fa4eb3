// The report engine's shared state: the engine settings, the font lists by
// character set, the printer settings object and the engine-ready flag, made
// once when the program starts (StartQuillboxEngine), which also makes the
// big hint window the program's hint window.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "report/qboxdef.h"
#include "report/vdbprint.h"

struct TQuillboxEngine {
  bool Ready = false;
  TQBOXDEF Settings;  // the engine settings
  // Installed font families by character set.
  std::vector<std::string> ShiftJisFonts, SymbolFonts, EastEuropeFonts, OemFonts, DefaultFonts;
  std::unique_ptr<TVDBPrint> Vdb;
  // Page numbers of the data file's pages (0 = not numbered) and their total.
  std::vector<int> PageNumbers;
  int CurrentPage = 1;
  int TotalPage = 1;
};

TQuillboxEngine& QuillboxEngine();
// Builds the font lists and the printer settings object and sets the
// engine-ready flag; a failure leaves the flag cleared. Runs once.
void StartQuillboxEngine();
// Frees what StartQuillboxEngine made and clears the flag (program end).
void StopQuillboxEngine();

// The preview window installs its entry here; without one, StartPreview
// returns 0.
inline std::function<int(TQBOXDEF&)> StartPreviewEntry;
int StartPreview(TQBOXDEF& def);
