// The update dialog's step tables and version test. The data-selection dialog
// keeps one box for its lifetime (creating it registers every step) and, for
// each data-set row with a version text, calls PrepareDbUpdate(1, text) and
// reads UpdateNeeded and VersionUnknown. The run of the steps (updaterun.cpp)
// belongs to the update dialog (dbupdateform.h), which shows a prepared box.
//
// A database whose version cannot be read (read error, empty version table)
// or whose version text cannot be parsed is marked VersionUnknown: no step is
// taken as pending and Compatibility stays 0, so nothing may run on it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "dbaccess/backupthread.h"
#include "dbupdate/dbversion.h"
#include "dbupdate/steprec.h"
#include "platform/fb/ibdatabase.h"

class EIBError;
class QWidget;

enum : std::uint8_t { dbkSystem = 0, dbkAccounting = 1 };

inline constexpr const char* kDbUpdateCaption = "データベースの更新";
inline constexpr const char* kVersionReadLocation = "TDbUpdateBox.SetDbVersion";
inline constexpr const char* kVersionReadMessage = "データベースバージョンの取得に失敗しました。";

// Called from inside the handler of a failed version read: DbError is the
// database error (to be reported with recovery of a lost connection), or null
// for any other failure (an error box with the message and no detail).
using TDbVersionErrorReport =
    std::function<void(const EIBError* DbError, const std::string& Location, const std::string& Message)>;

// One row of the step list: the version "%d.%d.%d", the title and the status.
struct TDbUpdateListItem {
  std::string Caption;
  std::string Title;
  std::string Status;
  int StatusImage = -1;   // -1 none, 0 success, 1 failure
};

class TDbUpdateBox {
 public:
  // The creation handler: clears the state and registers both step tables.
  TDbUpdateBox();
  ~TDbUpdateBox();
  TDbUpdateBox(const TDbUpdateBox&) = delete;
  TDbUpdateBox& operator=(const TDbUpdateBox&) = delete;

  // Where a version is read when no version text is given: the system
  // database (kind 0) and the data set's database (kind 1).
  TIBDatabase* SystemDatabase = nullptr;
  TIBDatabase* DataDatabase = nullptr;
  TDbVersionErrorReport OnVersionError;

  // Version-test state.
  std::uint8_t Kind = dbkSystem;
  bool UpdateNeeded = false;
  bool Updated = false;
  bool VersionUnknown = false;
  // 1 the database is not newer than the program, 2 newer in its third part
  // only, 0 newer in its first or second part (or of unknown version).
  std::int32_t Compatibility = 0;
  TArrayDbUpdateListRec SystemSteps;
  TArrayDbUpdateListRec UserSteps;
  const TArrayDbUpdateListRec& Steps() const { return Kind == dbkSystem ? SystemSteps : UserSteps; }
  std::int32_t DbMajor = 0, DbMinor = 0, DbRev = 0;
  std::int32_t TargetMajor = 0, TargetMinor = 0, TargetRev = 0;
  std::int32_t FirstStep = 0, LastStep = 0;   // pending index range; -1 when none
  std::int32_t BackupCount = 0;
  std::string BackupPath;

  // What the dialog shows for the prepared database.
  std::string Title1, Title2, Title3;   // Title2 and Title3 in red
  bool ShowRedImage = false;            // system database: red picture; data set: green
  bool AgreeVisible = false;
  bool AgreeChecked = false;
  bool CancelVisible = false;
  bool OkEnabled = false;
  bool ProgressVisible = false;
  std::vector<TDbUpdateListItem> ListItems;
  int SelectedItem = -1;
  std::string DescriptionText;          // the selected step's description

  // Reads the version of the current kind's database into DbMajor, DbMinor,
  // DbRev (highest row of VERSION or ACCVERSION). False, with 0.0.0, when it
  // cannot be read; a failure is passed to OnVersionError.
  bool SetDbVersion();
  // Parses Text into DbMajor, DbMinor, DbRev; false, with 0.0.0, when it is
  // not exactly three integers.
  bool SetDbVersionFromText(std::string_view Text);
  // Prepares the test for one database: Kind 0 system, 1 accounting; the
  // version from VersionText, or read from the database when it is empty.
  void PrepareDbUpdate(std::uint8_t NewKind, std::string_view VersionText);
  // Selection of a row of the step list: shows that step's description.
  void ListView1SelectItem(int Index);
  // The agreement box: OK is enabled when the box is hidden or ticked.
  void cboxAgreeClick();

  // ---- the run ------------------------------------------------------------
  // Backup file of the run ("dataup.fbk" in the data root's temp folder).
  std::string BackupFile;
  TErrInfomation ErrInfo;       // result of the last backup or restore job
  bool Running = false;         // a run is under way (OK and Cancel do nothing)
  int ModalResult = 0;          // 1 after a successful run, 4 after a refusal or failure, 2 cancelled
  int ProgressMax = 0, ProgressPosition = 0;
  QWidget* Window = nullptr;    // the dialog's window, owner of the progress and message boxes
  std::function<void()> OnChanged;  // rows, progress panel or bar changed

  // The OK button: refuses while others use the database, else backs up,
  // runs the pending steps, restores on failure, reports and reconnects.
  void btnOkClick();
  void btnCancelClick();
  // 1 every pending step done; 0 a step failed and the database was restored
  // (or needed no backup); -1 nothing pending, backup or restore failed.
  std::int32_t ExecuteDbUpdate();
  // The other operators logged on to the system database ("[ %.4d ]:  name"
  // lines); empty for a data set.
  std::string GetLoginOperatorList();

 private:
  void Changed() const {
    if (OnChanged) OnChanged();
  }
  // Runs one backup (Mode 0) or restore (Mode 1) job behind the progress
  // dialog; its result goes to ErrInfo.
  bool RunBackupJob(std::int32_t Mode);
  TIBTransaction IBTransactionDEF;
  TIBTransaction IBTransactionDAT;
};
