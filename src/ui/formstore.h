// What the framework windows need of the data module: the window sizes of the
// system database (FORMRSIZE), the operation history of the data set (OPINF)
// and a few facts about the connected data set. The data module implements
// this interface and installs it; until then windows use their design sizes
// and write no history.
#pragma once

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/rtl/datetime.h"

struct TFormSizeRow {
  int Top = 0, Left = 0, Height = 0, Width = 0;
  int DefHeight = 0, DefWidth = 0;
};

// A database error of the store (rolled back by the store before it is thrown).
class EFormStoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TFormDataStore {
 public:
  virtual ~TFormDataStore() = default;
  // FORMRSIZE: the row of the operator and window name (FMTOP, FMLEFT, FMHEIGHT, FMWIDTH).
  virtual std::optional<TFormSizeRow> ReadFormSize(int opCode, const std::string& formName) = 0;
  // A new row: operator, window name, top, left, height, width, default height, default width.
  virtual void InsertFormSize(int opCode, const std::string& formName, const TFormSizeRow& row) = 0;
  virtual void UpdateFormSize(int opCode, const std::string& formName, int top, int left, int height,
                              int width) = 0;
  // OPINF: the stored procedure OPINF_DELETE (OPCODE, JOBNAME, STATE) and a new
  // history row (OPCODE, JOBNAME, PCNAME, OPENTIME).
  virtual void DeleteOperationHistory(int opCode, const std::string& jobName, const std::string& state) = 0;
  virtual void InsertOperationHistory(int opCode, const std::string& jobName, const std::string& pcName,
                                      TDateTime openTime) = 0;
  // The connected data set: re-read its accounting information; whether it
  // takes part in the cloud share; whether its labels say "施設" for "支店".
  virtual void ReloadAccInf() {}
  virtual bool IsCloudData() { return false; }
  virtual bool FacilityLabels() { return false; }
};

void SetFormDataStore(TFormDataStore* store);
TFormDataStore* FormDataStore();

// Reports a database error of a window (location such as "TBSDI.GetFormSize");
// the data module installs its error reporter here. Without one the error is
// written to the standard error stream.
using TDbErrorReporter = std::function<void(const std::string& location, const std::string& error)>;
void SetDbErrorReporter(TDbErrorReporter reporter);
void ReportDbError(const std::string& location, const std::string& error);
