// The data-set management commands of the data-selection dialog: copy and
// paste (datasetcopy.cpp), save and restore (datasetbackup.cpp), take-out and
// bring-back (datatakeout.cpp), with their shared steps (datasetmgmt.cpp).
// The copy-and-paste engine pieces (target check, comparison, child rows)
// serve every list that pastes or restores data sets.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "dbaccess/datainfo.h"

class TDataSentakuBox;
class TBackupRestoreThread;
class TxAnimeProgressDialog;
struct TDataListRec;
struct TDataSentakuRec;

// ---- shared steps (datasetmgmt.cpp) -------------------------------------------------------

// The operator's logon code (operator number modulo group id x 10,000).
std::int32_t OperatorLogonCode();
// Connection kinds 1 and 2 (the database server holds the data).
bool ServerConnection();
// Shows the dialog's progress dialog with the caption, the line, the animation
// beside the program and no cancel button.
void ShowJobProgress(TDataSentakuBox& Box, const std::string& Caption, const std::string& Line);
void CloseJobProgress(TDataSentakuBox& Box);
// Starts the job and waits for its end, keeping the window alive.
void RunJob(TBackupRestoreThread& Job, int PollMs);
// The warning of a failed job: its message, a line break and its detail.
void ShowJobFailure(const TBackupRestoreThread& Job);
// The cloud check-out of a data set that takes part in the cloud share, before
// a copy or a save: 0 done or not needed; 1 to 9 refused or failed (the row
// is refreshed); -1 the data path test refused the data.
std::int32_t CheckOutOfCloud(TDataSentakuBox& Box, std::int32_t Row, const std::string& Folder);
// Sets the row's DataLock and stores the row.
void MarkRowLock(TDataSentakuBox& Box, TDataListRec& Rec, std::int32_t Lock);

// ---- copy and paste (datasetcopy.cpp) -------------------------------------------------------

// The copy name: EntText followed by "～コピー", cut or padded to 40 CP932
// bytes and trimmed of spaces of both widths.
std::string CopyNameOf(const std::string& EntText);
// The worker behind the copy key on the grid's active row: the copy step
// when CopyStep, else the paste step.
void CopyPaste(TDataSentakuBox& Box, bool CopyStep);
// Op is "貼り付け" or "復元": the target folder's check (empty folder path,
// missing folder created, refused pairs of combined-data kinds, comparison).
bool CheckTargetFolder(TDataSentakuBox& Box, const std::string& Op, const TDataInfomationRec& Source,
                       const std::string& Folder);
// The company name, fiscal start and end, version text and combined-data kind
// of a data set's information into the saved source record.
void KeepSourceInfo(TDataListRec& Saved, const TDataInfomationRec& Info);
// The comparison box of company name, fiscal start and end and journal count;
// the running progress dialog is closed before the box shows.
bool CompareDataInfo(TDataSentakuBox& Box, const std::string& Op, const TDataInfomationRec& Source,
                     const TDataInfomationRec& Target);
bool CompareDataInfo(TxAnimeProgressDialog* Progress, const std::string& Op, const TDataInfomationRec& Source,
                     const TDataInfomationRec& Target);
// The pasted target's child rows from the copy source's (combined kinds only).
void CopyChildRows(TDataSentakuBox& Box, std::int32_t Row);
// Target's children become copies of Source's, with Target's REC and the
// source folder replaced by the target folder in their paths; Write stores each.
void CopyChildList(const TDataSentakuRec& Source, TDataSentakuRec& Target,
                   const std::function<void(TDataListRec&)>& Write);
// True when one folder lies inside the other (or both are the same): a paste
// between them would copy a folder into itself or remove its own source.
bool NestedFolders(const std::string& A, const std::string& B);
// Copies a data set onto a target folder: the database alone for a
// distributed child, else every file of the source folder. False on failure.
bool CopyDataFiles(const std::string& Source, const std::string& Target, bool ChildTarget);
// Writes the combined-data settings of the target row's database.
void WriteGassanSettings(TDataSentakuBox& Box, std::int32_t Row);

// ---- save and restore (datasetbackup.cpp) -------------------------------------------------------

// Path empty asks for the folder. 1 saved, -1 failed, 0 not started.
std::int32_t SaveDataTo(TDataSentakuBox& Box, const std::string& Path);
// Path empty asks for the folder. 1 restored, -1 refused or failed, 0 not started.
std::int32_t RestoreDataFrom(TDataSentakuBox& Box, const std::string& Path, bool KeepCloud);
// The restore of a row that carries this operator's take-out lock: the checks
// accept the lock, a successful restore clears it and a failed one keeps it.
std::int32_t RestoreDataWithLock(TDataSentakuBox& Box, const std::string& Path, bool KeepCloud, bool OwnLock);

// ---- take-out and bring-back (datatakeout.cpp) ----------------------------------------------------

bool TakeOutOrBringBack(TDataSentakuBox& Box);
