// The rows of the data-set list: one row of DATALIST / DATALIST_EX /
// CHILD_DATALIST / SERVERDATALIST / CHILD_SERVERDATALIST in memory, a row
// with its children, the status texts of a data set and the local working
// folder of a row. Rows are values: copying a row copies its texts and
// children.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/datetime.h"

class TIBCustomStatement;

// Combined-data kinds (GASSAN).
enum : std::uint8_t { kGassanNormal = 0, kGassanParent = 1, kGassanHonsiten = 2, kGassanChild = 10 };

// Names that mark a shared-server area without a registered data set.
inline constexpr const char* kAreaFree = "空き領域";
inline constexpr const char* kAreaNew = "新しい領域";
// An area without a name of its own: empty, kAreaFree or kAreaNew.
inline bool IsEmptyArea(const std::string& EntText) {
  return EntText.empty() || EntText == kAreaFree || EntText == kAreaNew;
}

struct TDataListRec {
  std::int32_t Rec = 0;
  std::int32_t RowNo = 0;
  std::int32_t GroupId = 0;
  std::string DataCode;
  std::string EntText;
  std::string Shougou;
  std::int32_t Nendo = 0;
  std::string KikanText;
  TDateTime Kishu = 0;
  TDateTime Kimatu = 0;
  std::int32_t NetDrive = 0;
  std::string PasName;
  std::string DataFolder;
  std::int32_t DataType = 0;
  std::int32_t CodeType = 0;
  std::int32_t DataLock = 0;
  std::int32_t KyoyuLock = 0;
  std::int32_t Tantou = 0;
  std::int32_t VerMajor = 0;
  std::int32_t VerMinor1 = 0;
  std::int32_t VerMinor2 = 0;
  std::string VerText;
  std::int32_t UpdateLock = 0;
  std::uint8_t Gassan = 0;
  std::string DispName;
  std::uint8_t DataStatus = 0;
  std::string Yobi1;
  std::string Yobi2;
  std::string Yobi3;
  std::int32_t SpareInt = 0;
  std::string SpareText;
  std::uint8_t Cloud = 0;
};

using TDataListArray = std::vector<TDataListRec>;

struct TDataSentakuRec {
  TDataListRec Row;
  std::int32_t ChildCount = 0;  // always Children.size()
  TDataListArray Children;
};

using TDataSentakuRecArray = std::vector<TDataSentakuRec>;
// Indexes into a TDataSentakuRecArray in display order.
using TDataSentakuRecDispArray = std::vector<std::int32_t>;

// The display text of a data set's information STATUS.
std::string DataStatusText(int Status);

// The local working folder of a row: PasName without a trailing "/"; for a
// shared-server row (NetDrive 1) the folder of its number under
// SystemDef.SysDir ("0007"), and for a distributed child that folder followed
// by the last folder name of PasName ("0007/002").
std::string DataFolderPath(const TDataListRec& Rec);
// "Kishu ～ Kimatu" through the date-range formatter.
std::string KikanTextOf(TDateTime Kishu, TDateTime Kimatu);

// A stored path in the native form: a path written with "\" delimiters gets "/".
std::string NativePath(std::string_view Path);
// The last folder name of a path ("a/b/002/" gives "002").
std::string LastFolderName(std::string_view Path);
// The folder that holds the last folder of a path ("a/b/002" gives "a/b").
std::string ParentFolderPath(std::string_view Path);
// The path with half-width and full-width blanks removed at both ends is empty.
bool IsBlankPath(std::string_view Path);

// How a row is read from a list statement.
enum class TRowRead {
  ListLoad,   // the list loaders: "\" becomes "/", a local row whose path is its folder counts as local
  AsStored,   // single-row reads: the path as stored
};
// Reads the current row of Query into Rec (columns REC, ROWNO, ENTTEXT ...
// CLOUD; NETDRIVE and KYOYULOCK only where the table has them: a row of the
// shared-server tables has NetDrive 1 and KyoyuLock 0). GroupId becomes the
// current group; KikanText, DispName and DataFolder are computed; the spare
// fields are cleared.
void ReadListRow(TIBCustomStatement& Query, TDataListRec& Rec, TRowRead How);
