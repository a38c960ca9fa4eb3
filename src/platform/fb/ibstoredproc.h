// TIBStoredProc: runs an executable procedure by name. Input and output
// parameters are found by name (ParamByName); the outputs carry the values
// of the last ExecProc. Selectable procedures are read with TIBQuery
// ("SELECT * FROM PROC(:A,:B)").
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/fb/ibsql.h"

class TIBStoredProc {
 public:
  std::string StoredProcName;

  TIBDatabase* Database() const { return sql_.Database(); }
  void SetDatabase(TIBDatabase* database) { sql_.SetDatabase(database); }
  TIBTransaction* Transaction() const { return sql_.Transaction(); }
  void SetTransaction(TIBTransaction* transaction) { sql_.SetTransaction(transaction); }

  // Reads the procedure's parameter lists (done by ExecProc when needed).
  void Prepare();
  bool Prepared() const;
  void Unprepare() noexcept;
  void ExecProc();

  int ParamCount();
  TIBXSQLVAR& Params(int index);        // inputs first, then outputs
  TIBXSQLVAR& ParamByName(const std::string& name);
  bool IsOutput(int index);

 private:
  TIBSQL sql_;
  std::string preparedName_;
  std::vector<std::string> inputs_, outputs_;
  std::vector<std::unique_ptr<TIBXSQLVAR>> outputValues_;
};
