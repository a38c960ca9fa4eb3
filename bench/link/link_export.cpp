// link-export: writes the consumption-tax link file of a data set headless,
// as the wizard does with its default choices.
//
//   link-export <database> <first month yyyy-mm> <last month yyyy-mm> <output.xml>
//
// <database> is a local path (embedded engine) or host:path (Firebird server).
// The special folders come from the VERUDA_* variables (make-installation
// prints them); boxes are written to the standard error stream.
#include <cstdio>
#include <exception>

#include "link/exportobject.h"
#include "linkrun.h"

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s <database> <first month yyyy-mm> <last month yyyy-mm> <output.xml>\n", argv[0]);
    return 64;
  }
  try {
    linkbench::OpenDataSet(argv[1]);
    linkbench::ExportLinkFile(argv[4], linkbench::FiscalMonthOf(argv[2]), linkbench::FiscalMonthOf(argv[3]));
    linkbench::CloseDataSet();
  } catch (const EDataExportError& e) {
    std::fprintf(stderr, "%s\n%s\n", e.what(), e.Detail.c_str());
    return e.Code == 16 || e.Code == 6 ? 3 : 4;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 4;
  }
  std::printf("%s\n", argv[4]);
  return 0;
}
