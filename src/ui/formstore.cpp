#include "ui/formstore.h"

#include <iostream>

namespace {
TFormDataStore* g_store = nullptr;
TDbErrorReporter g_reporter;
}  // namespace

void SetFormDataStore(TFormDataStore* store) { g_store = store; }
TFormDataStore* FormDataStore() { return g_store; }

void SetDbErrorReporter(TDbErrorReporter reporter) { g_reporter = std::move(reporter); }

void ReportDbError(const std::string& location, const std::string& error) {
  if (g_reporter) g_reporter(location, error);
  else std::cerr << location << ": " << error << '\n';
}
