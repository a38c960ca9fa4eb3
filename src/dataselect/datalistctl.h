// TDataSentakuListCtl: the one access object of the data-set list tables of
// the system database (DATALIST or DATALIST_EX of a data place,
// CHILD_DATALIST, SERVERDATALIST, CHILD_SERVERDATALIST). Each user creates
// its own object (the data module must exist), copies ConnectKind into it
// and, for data places, calls SetDataPlace again afterwards.
//
// Every database operation runs on DM->IBTransactionDEF: it starts the
// transaction only when it is not active and ends only a transaction it
// started (the writes of a DATALIST row commit with retaining otherwise).
// Failures are reported through the data module's error reporter or passed
// on, as each operation says. Paths are always bound as parameters.
//
// The statements are those of the table repositories (dbaccess/datalistrepo.h).
// The loading of the lists is in datalistctl.cpp, the single local rows in
// datalistrows.cpp, the shared-server rows and path mapping in serverrows.cpp.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dbaccess/datalistrec.h"
#include "dbaccess/datalistrepo.h"
#include "platform/fb/ibsql.h"

// The figures of a data set's information record that a list row takes over.
struct TDataListInfoFields {
  std::int32_t STATUS = 1;
  std::int32_t OPCODE = 0;
  std::int32_t SHARE_STATUS = 1;
  std::int32_t SHARE_OPCODE = 0;
  std::int32_t UPDATE_LOCK = 0;
  std::string DATALISTNAME;
  std::string CODE;
  std::string SHOUGOU;
  std::int32_t NENDO = 0;
  std::string KISHU;   // "yyyy/mm/dd"
  std::string KIMATU;
  std::int32_t DATAKBN = 0;
  std::int32_t CODEKBN = 0;
  std::int32_t TANTO = 0;
  std::int32_t MAJOR = 0;
  std::int32_t MINOR1 = 0;
  std::int32_t MINOR2 = 0;
  std::string VERSION2;
  std::uint8_t CLOUD_SHARE = 0;
};

struct TDataInfomationRec;
// The figures of a data set's information record, its list name included.
TDataListInfoFields DataListInfoFields(const TDataInfomationRec& Info);

class TDataSentakuListCtl {
 public:
  TDataSentakuListCtl();
  TDataSentakuListCtl(const TDataSentakuListCtl&) = delete;
  TDataSentakuListCtl& operator=(const TDataSentakuListCtl&) = delete;

  std::uint8_t ConnectKind = 0;   // 0 stand-alone, 1 client, 2 server-based computing
  std::uint8_t ServerMode = 0;    // 1: the object serves the shared-server list
  std::vector<std::string> MessageLines;
  std::int32_t ListCount = 0;
  TDataSentakuRecArray List;
  std::int32_t ChildListCount = 0;
  TDataListArray ChildList;
  std::uint8_t EntFilter = 0;     // 0 all rows, 1 named rows, 2 unnamed rows
  std::int32_t NendoFilter = 0;   // active above 0
  std::string ShougouFilter;      // active when not empty
  std::vector<std::string> SubFolders;
  std::int32_t DataPlace = 0;
  std::string TableName = "DATALIST";
  std::uint8_t HasCloudColumn = 0;

  // ---- the list (datalistctl.cpp) ------------------------------------------------
  void SetDataPlace(std::int32_t Place);
  void ClearList();
  // Loads the local list (nothing with ServerMode 1). SortKind: 0 OrderText,
  // 1 number, 2 name, 3 fiscal term, 4 year start, 5 path, 6 version, 7 data
  // code, others unordered; kinds 2 to 7 list the named rows first.
  void Execute(std::int32_t ExcludeShared, std::uint8_t SortKind, bool Descending, const std::string& OrderText);
  // Loads (Mode 0) or rebuilds from its folders (Mode 1) the shared-server
  // list of the drive whose root is DriveRoot (only with ServerMode 1).
  void ServerExecute(std::uint8_t Mode, const std::string& DriveRoot, std::uint8_t SortKind, bool Descending,
                     const std::string& OrderText);
  static void NumberChildDispNames(TDataSentakuRec& Row);
  static void DeleteChildEntry(TDataSentakuRec& Row, std::int32_t Index);
  // Names of the sub-folders of Root without the backup folders.
  static void GetServerFolderList(const std::string& Root, std::vector<std::string>& List);
  static void GetShareSubFolders(const TDataListRec& Row, std::vector<std::string>& List);
  static void GetLocalSubFolders(const TDataListRec& Row, std::vector<std::string>& List);

  // ---- single local rows (datalistrows.cpp) ---------------------------------------
  static void InitDataListRecord(TDataListRec& Rec, const std::string& Path);
  static void SetDataListRecordFromInfo(const TDataListInfoFields& Info, TDataListRec& Rec);
  // Mode 0 by number (and row number for a child), 1 by path.
  void GetDataListRecord(std::uint8_t Mode, TDataListRec& Rec, bool ShowErrors);
  bool InsertDataListRecord(TDataListRec& Rec, bool ShowErrors);
  bool UpdateDataListRecord(const TDataListRec& Rec, std::int32_t NameToo, bool ShowErrors);
  bool DeleteDataListRecord(const TDataListRec& Rec, bool ShowErrors);
  void PackRecNumbers();
  void GetDataListChildRecord(TDataSentakuRec& Row, bool ShowErrors);
  bool UpdateDataListChildRecord(const TDataListRec& Rec, std::int32_t NameToo, bool ShowErrors);
  bool DeleteDataListChildRecord(const TDataListRec& Rec, bool ShowErrors);
  std::int32_t GetDataFolderName(std::int32_t Increment);
  bool IsDataPathToroku(const std::string& Path);
  std::int32_t FindRecByPath(const std::string& Path);
  void GetRecNoByPath(const std::string& Path, std::int32_t& RecNo);

  // ---- shared-server rows and path mapping (serverrows.cpp) -----------------------
  bool UpdateServerDataListRecord(TDataListRec& Rec, std::int32_t NameToo, bool ShowErrors);
  bool UpdateServerDataListChildRecord(TDataListRec& Rec, std::int32_t NameToo, bool ShowErrors);
  bool DeleteServerDataListChildRecord(const TDataListRec& Rec, bool ShowErrors);
  void NextServerFolderName(const std::string& DriveRoot, std::int32_t Increment, std::string& Name);
  bool ConvLocalPathToSharePath(const std::string& LocalPath, std::string& SharePath, std::int32_t& NetDrive,
                                std::int32_t& KyoyuLock);
  bool GetLocalPathToData(const std::string& Path, TDataListRec& Rec);
  std::int32_t GetDataListRecordByLocalPath(const std::string& LocalPath, TDataSentakuRec& Row);
  void GetShareLocalFolder(const std::string& Path, std::uint8_t Kind, std::string& Folder);

 private:
  // Where the failure of an operation goes.
  enum class TOnError {
    Report,          // every error to the reporter (database errors with recovery)
    PassOn,          // every error to the caller
    ReportDbPassOn,  // database errors reported, others to the caller
    Swallow,         // nothing
  };
  struct TRunOptions {
    const char* Operation = "";
    const char* Message = "";
    TOnError OnError = TOnError::Report;
    bool CommitOnError = false;     // reads end their transaction with a commit also after an error
    bool RetainWhenActive = false;  // commit with retaining when the caller's transaction was active
  };
  // Runs Body under the transaction rule above; false when it failed (and
  // the failure was not passed on).
  bool Run(const TRunOptions& Options, const std::function<void()>& Body);
  static TOnError ByShowErrors(bool ShowErrors) { return ShowErrors ? TOnError::Report : TOnError::PassOn; }

  // The repositories of the list's tables over query1_.
  TDataListTable Local();
  TChildDataListTable Children();
  TServerDataListTable Server(bool Child, const std::string& Letter);
  // Appends a child to ChildList and to the first List entry of its number.
  void AddChild(const TDataListRec& Child);

  void LoadServerRows(const std::string& Letter, std::uint8_t SortKind, bool Descending);
  void RebuildServerRows(const std::string& DriveRoot, const std::string& Letter);

  TIBSQL query1_;   // runs every statement
  TIBSQL query2_;   // the cursor while query1_ updates
};
