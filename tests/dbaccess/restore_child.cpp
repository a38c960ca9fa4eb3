// A second process for the restore tests: restores a backup over a database
// file with the data module, as the program does (through the services or
// gbak), or backs a database up, and can stop at a named point of the job so
// that the test kills it there.
//
//   restore_child services|gbak|backup <database> <backup> <temporary folder> [<point>]
//
// At the point it prints "at <point>" and waits to be killed. At the end it
// prints "done 1" or "done 0" and exits with 0 after a successful job, 1
// after a failed one. The boxes the data module shows go to stderr.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/globals.h"
#include "dbaccess/dbui.h"
#include "dbaccess/dm.h"
#include "platform/rtl/faultpoint.h"

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: %s services|gbak|backup <database> <backup> <temporary folder> [<point>]\n", argv[0]);
    return 64;
  }
  const std::string tool = argv[1];
  const std::string database = argv[2];
  const std::string backup = argv[3];
  const std::string point = argc > 5 ? argv[5] : "";
  SystemDef.DbUser = "VFNZFR";
  SystemDef.DbPassword = "dravon";
  SystemDef.WinTempDir = argv[4];
  SystemDef.TempDir = argv[4];
  ConnectKind = 0;
  DbUi.MessageDlg = [](const std::string& text, int kind) {
    std::fprintf(stderr, "shown %d: %s\n", kind, text.c_str());
  };
  FaultPointHook = [point](std::string_view at) {
    if (at != point) return;
    std::printf("at %s\n", point.c_str());
    std::fflush(stdout);
    for (;;) ::pause();
  };
  CreateDataModule();
  bool ok;
  if (tool == "backup") ok = BackupRestore().BackupFDB(kProtocolLocal, "", database, backup, false);
  else if (tool == "gbak") ok = BackupRestore().RestoreFDBGbak(kProtocolTcp, "", database, backup, true);
  else ok = BackupRestore().RestoreFDB(kProtocolLocal, "", database, backup, true);
  std::printf("done %d\n", ok ? 1 : 0);
  std::fflush(stdout);
  FreeDataModule();
  // The job is done and its files are closed. The process ends here without
  // unloading the engine: a test kills this child and starts it again over
  // the same files, and the lock state of the killed run can wake an engine
  // thread while the engine library unloads, which would end this run with
  // a memory fault after its work succeeded.
  std::_Exit(ok ? 0 : 1);
}
