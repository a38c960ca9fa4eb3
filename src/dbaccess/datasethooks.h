// What the data module needs of the data-set information (the per-data
// settings file of a data set's folder) and of the data-set list of the data
// selection, which are built on top of it. Their owners install these at
// start-up; until then connects and disconnects write no in-use mark and
// update no list row.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/rtl/datetime.h"

// The figures of a data set that its row of the data-set list takes over
// when the data set is left.
struct TDataListFigures {
  std::string CODE;
  std::string SHOUGOU;
  std::int32_t NENDO = 0;
  TDateTime KISHU = 0;      // 0 when the record's text is not a date
  TDateTime KIMATU = 0;
  std::int32_t DATAKBN = 0;
  std::int32_t CODEKBN = 0;
  std::int32_t TANTO = 0;
  std::int32_t MAJOR = 0;
  std::int32_t MINOR1 = 0;
  std::int32_t MINOR2 = 0;
  std::string VERSION2;
  std::uint8_t GASSANKBN = 0;
  std::uint8_t CLOUD_SHARE = 0;
};

// The in-use record of one data set.
class IDataSetInUseRecord {
 public:
  virtual ~IDataSetInUseRecord() = default;
  // Resets the record and fills it from the connected data set's database;
  // false when the information could not be read (nothing may then be written).
  virtual bool ReadFromConnectedDatabase() = 0;
  // STATUS (1 free, 2 in use), OPCODE and OPERATOR of section DATASTS.
  virtual void SetInUse(std::int32_t Status, std::int32_t OpCode, const std::string& OpName) = 0;
  // Rewrites both sections ([DATASTS] and [DATAINFO]) of Folder's per-data settings file.
  virtual void WriteIniFile(const std::string& Folder) = 0;
  // The figures the data-set list row takes over.
  virtual TDataListFigures Figures() const = 0;
};

struct TDataSetHooks {
  // Creates an in-use record object (the data-set information).
  std::function<std::unique_ptr<IDataSetInUseRecord>()> CreateInUseRecord;
  // Brings Folder's row of the data-set list up to date: a list object with
  // the connection kind ConnectKind and the data place SystemDef.DataPlace
  // prepares an empty row for Folder with the combined-data flag GASSANKBN,
  // reads the registered row of the path (errors shown), overwrites the group
  // id (SystemDef.GroupId) and the figures, and writes the row back (errors
  // shown). Errors do not leave it.
  std::function<void(const std::string& Folder, const TDataListFigures& Figures)> UpdateDataListRow;
};

inline TDataSetHooks DataSetHooks;
