// The data-set list tables of the system database, one repository each:
// TDataListTable (DATALIST, or DATALIST_EX of a data place),
// TChildDataListTable (CHILD_DATALIST) and TServerDataListTable
// (SERVERDATALIST or CHILD_SERVERDATALIST of one shared drive). The SQL of
// these tables and the binding of their rows are here and nowhere else.
//
// A table object runs on the statement it is given, on that statement's
// database and transaction: the caller starts and ends the transaction, and
// every error passes on to it. Each operation closes the statement when it is
// done. GROUPID is always the operator's group (SystemDef.GroupId); paths are
// always bound as parameters. Reads deliver rows as they come, so a caller
// keeps what was read before an error.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "dbaccess/datalistrec.h"

class TIBSQL;

// The list tables carry the CLOUD column from system version 11.0.1 on
// (SystemDef's version above 11.0.0).
bool DataListHasCloudColumn();

// Takes each row a read delivers, in the order read.
using TListRowSink = std::function<void(const TDataListRec&)>;

// A load of the local list: which rows and in which order. SortKind: 0
// OrderText, 1 number, 2 name, 3 fiscal term, 4 year start, 5 path, 6
// version, 7 data code, others unordered; kinds 2 to 7 list the named rows
// first, the unnamed ones after them by number (by path with kind 5).
struct TDataListLoad {
  std::uint8_t Named = 0;        // 0 all rows, 1 named rows, 2 unnamed rows
  bool ExcludeShared = false;    // rows a client shares (KYOYULOCK 1) left out
  std::int32_t Nendo = 0;        // this fiscal year only, above 0
  std::string Shougou;           // this company name only, when not empty
  std::uint8_t SortKind = 1;
  bool Descending = false;
  std::string OrderText;         // an ORDER BY clause, for SortKind 0
};

// A locked row of a data set's path with its locking operator.
struct TDataListLock {
  TDataListRec Row;              // DATALOCK, the name and codes, term, version, UPDATE_LOCK and CLOUD
  std::int32_t OpCode = 0;       // the operator's code within the group
  std::string OpName;
};

// DATALIST (Place 0), or the DATALIST_EX rows of data place Place (above 0).
// kEveryDataPlace names DATALIST_EX without a place, for the operations that
// name none.
inline constexpr std::int32_t kEveryDataPlace = -1;

class TDataListTable {
 public:
  TDataListTable(TIBSQL& Statement, std::int32_t Place = 0, bool Cloud = DataListHasCloudColumn());

  // The rows of the group (and place), as the list loaders read them.
  void Load(const TDataListLoad& Load, const TListRowSink& Take);
  // The row of number Rec in the group (and place), or the rows of Path in
  // the group and place with letter case ignored, read as stored into Row:
  // the row whose folder is Folder wins, else the last one read. No row
  // leaves Row as it was.
  void ReadByNumber(std::int32_t Rec, const std::string& Folder, TDataListRec& Row);
  void ReadByPath(const std::string& Path, const std::string& Folder, TDataListRec& Row);
  // Rec, PasName, NetDrive and KyoyuLock of every row of number Rec, any group.
  void ReadPathsOfNumber(std::int32_t Rec, const TListRowSink& Take);
  // PasName of every DATALIST_EX row of the place (place 0 too), by number.
  void ReadPlacePaths(const TListRowSink& Take);
  // The locked rows of Path in the group, letter case ignored, any place.
  void ReadLocks(const std::string& Path, const std::function<void(const TDataListLock&)>& Take);

  // MAX(REC) of the group and place; 0 for none.
  std::int32_t MaxNumber();
  // The rows of Path in the group and place, letter case ignored.
  std::int32_t CountByPath(const std::string& Path);
  // The number of the first row of exactly Path in the place; 0 for none.
  std::int32_t FindNumber(const std::string& Path);
  // The lowest number of a row of exactly Path, any place; 0 for none.
  std::int32_t FindLowestNumber(const std::string& Path);
  // The number of the last row of Path in the group and place read, letter
  // case ignored; 0 for none.
  std::int32_t FindNumberInGroup(const std::string& Path);
  // The path of the row of number Rec in the place; nothing without a row.
  std::optional<std::string> PathOfNumber(std::int32_t Rec);

  // Row as a new row of the place (its number as given).
  void Insert(const TDataListRec& Row);
  // Every column of the row of number Row.Rec in the place.
  void Update(const TDataListRec& Row);
  // The name, fiscal term and version of the rows of exactly Path (any
  // group), or of the row of number Rec, from Row.
  void UpdateNameTermVersionOfPath(const TDataListRec& Row, const std::string& Path);
  void UpdateNameTermVersionOfNumber(const TDataListRec& Row, std::int32_t Rec);
  // DATALOCK of the rows of exactly Path (any group), or of the row of
  // number Rec in the place.
  void SetLockOfPath(const std::string& Path, std::int32_t Lock);
  void SetLockOfNumber(std::int32_t Rec, std::int32_t Lock);
  // DATA_STATUS of the row of number Rec.
  void SetStatusOfNumber(std::int32_t Rec, std::int32_t Status);
  // Deletes the rows of exactly Path numbered above Fixed in the place.
  void DeleteBeyond(const std::string& Path, std::int32_t Fixed);
  // Numbers the rows of the place above Fixed Fixed+1, Fixed+2, ... in their
  // order; Cursor walks them while the table's statement renumbers.
  void PackNumbers(TIBSQL& Cursor, std::int32_t Fixed);
  // The place's first Count DATALIST_EX rows (place 0 too), the data folders
  // under Path (a stored procedure of the system database makes them).
  void CreatePlaceRows(const std::string& Path, std::int32_t Count);
  // Every DATALIST_EX row of the place (place 0 too).
  void DeletePlaceRows();

 private:
  std::string Condition() const;   // the place condition of a statement with a WHERE
  void BindPlace();

  TIBSQL& q_;
  std::int32_t place_;
  bool cloud_;
  std::string table_;
};

class TChildDataListTable {
 public:
  explicit TChildDataListTable(TIBSQL& Statement, bool Cloud = DataListHasCloudColumn());

  // Every child of the group, as the list loaders read them.
  void Load(const TListRowSink& Take);
  // The children of number Rec in the group by path, read as stored.
  void ReadChildren(std::int32_t Rec, const TListRowSink& Take);
  // As TDataListTable::ReadByNumber and ReadByPath, the number with a row number.
  void ReadByNumber(std::int32_t Rec, std::int32_t RowNo, const std::string& Folder, TDataListRec& Row);
  void ReadByPath(const std::string& Path, const std::string& Folder, TDataListRec& Row);
  // Rec, PasName, NetDrive and KyoyuLock of every child of number Rec, any group.
  void ReadPathsOfNumber(std::int32_t Rec, const TListRowSink& Take);

  // The children of Path in the group, letter case ignored.
  std::int32_t CountByPath(const std::string& Path);
  // The child of number Rec and row number RowNo is in the group.
  bool Exists(std::int32_t Rec, std::int32_t RowNo);
  // The row number of the first child of number Rec whose path ends in
  // Suffix; nothing for none.
  std::optional<std::int32_t> RowNoOfSuffix(std::int32_t Rec, const std::string& Suffix);

  void Insert(const TDataListRec& Row);
  // Every column of the child Row.Rec / Row.RowNo of the group.
  void Update(const TDataListRec& Row);
  // The name, fiscal term and version of child Rec / RowNo of the group from Row.
  void UpdateNameTermVersion(const TDataListRec& Row, std::int32_t Rec, std::int32_t RowNo);
  // DATALOCK of the children of exactly Path (any group).
  void SetLockOfPath(const std::string& Path, std::int32_t Lock);
  // DATA_STATUS of child Rec / RowNo.
  void SetStatus(std::int32_t Rec, std::int32_t RowNo, std::int32_t Status);
  // The child Rec / RowNo, or every child of number Rec, of the group.
  void DeleteRow(std::int32_t Rec, std::int32_t RowNo);
  void DeleteChildrenOf(std::int32_t Rec);

 private:
  TIBSQL& q_;
  bool cloud_;
};

// SERVERDATALIST, or with Child CHILD_SERVERDATALIST, of the shared drive
// Letter in the group.
class TServerDataListTable {
 public:
  TServerDataListTable(TIBSQL& Statement, bool Child, const std::string& Letter,
                       bool Cloud = DataListHasCloudColumn());

  // The rows (the children ordered by number and path) as the list loaders
  // read them. SortKind: 2 name, 3 fiscal term, 4 year start, 6 version, 7
  // data code list the named areas first and the others after them by path;
  // 5 and the others order by path.
  void Load(std::uint8_t SortKind, bool Descending, const TListRowSink& Take);

  // The number of the one row of exactly Path; several rows are deleted and
  // give 0, as does none.
  std::int32_t TakeNumberOfPath(const std::string& Path);
  // The number of the last row of exactly Path read; 0 for none.
  std::int32_t FindNumber(const std::string& Path);
  // MAX(REC) + 1.
  std::int32_t NextNumber();
  // The greatest path that starts with Prefix; empty for none.
  std::string MaxPathStartingWith(const std::string& Prefix);

  void Insert(const TDataListRec& Row);
  // The row Row.Rec (and Row.RowNo); its name and company name too with NameToo 1.
  void Update(const TDataListRec& Row, std::int32_t NameToo);
  // The row (every child) of number Rec; the child Rec / RowNo.
  void DeleteNumber(std::int32_t Rec);
  void DeleteRow(std::int32_t Rec, std::int32_t RowNo);
  // The rows of exactly Path; the rows under the folder Folder.
  void DeletePath(const std::string& Path);
  void DeleteUnder(const std::string& Folder);
  // Every row of the drive.
  void DeleteDrive();

 private:
  void BindKey();

  TIBSQL& q_;
  bool child_;
  std::string letter_;
  bool cloud_;
  std::string table_;
};
