// TDM: the data module, the one owner of every database connection of the
// system. One instance, DM, is created at start-up (before the logon) and
// lives until the program ends. It owns the Firebird components
// (dbaccess/dmcomponents.h) and offers them with its services, each in its
// own header and each building on the one before: the system database
// (dbaccess/systemstore.h), the server files (dbaccess/serverfiles.h), the
// data-set connection (dbaccess/datasetconnection.h) and the backup
// (dbaccess/backuprestore.h). Its own are the deferred actions of its two
// timers. Everything runs on the user-interface thread.
#pragma once

#include <cstdint>
#include <string>

#include "dbaccess/backuprestore.h"

// A timer of the data module: created disabled with an interval of 100 ms;
// Tag may hold a window to be closed.
struct TDmTimer {
  bool Enabled = false;
  int Interval = 100;
  std::intptr_t Tag = 0;
};

class TDM : public TBackupRestore {
 public:
  TDM();
  ~TDM();
  TDM(const TDM&) = delete;
  TDM& operator=(const TDM&) = delete;

  TDmTimer TimerFormClose;
  TDmTimer TimerSyoriKidou;

  // Pending process start of TimerSyoriKidouTimer.
  std::string KidouFormName;
  std::int32_t KidouModal = 0;
  std::string KidouParams;

  void TimerFormCloseTimer();
  void TimerSyoriKidouTimer();
};

// The data module of the run: created at start-up, freed at the end.
extern TDM* DM;
void CreateDataModule();
void FreeDataModule();
