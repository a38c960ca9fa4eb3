#include "platform/fb/ibstoredproc.h"

#include "platform/fb/fbapi.h"
#include "platform/rtl/sysutils.h"

namespace {

std::string QuotedName(const std::string& name) {
  std::string quoted = "\"";
  for (char c : name) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + "\"";
}

}  // namespace

bool TIBStoredProc::Prepared() const {
  return !preparedName_.empty() && preparedName_ == StoredProcName && sql_.Prepared();
}

void TIBStoredProc::Unprepare() noexcept {
  sql_.Unprepare();
  preparedName_.clear();
  inputs_.clear();
  outputs_.clear();
  outputValues_.clear();
}

void TIBStoredProc::Prepare() {
  if (Prepared()) return;
  Unprepare();
  const std::string name = UpperCase(Trim(StoredProcName));
  if (name.empty()) fbapi::Fail("Stored procedure name is missing", 0, -204);
  {
    TIBSQL lookup;
    lookup.SetDatabase(sql_.Database());
    lookup.SetTransaction(sql_.Transaction());
    lookup.SQL.SetText(
        "SELECT TRIM(RDB$PARAMETER_NAME) AS PNAME, RDB$PARAMETER_TYPE AS PTYPE "
        "FROM RDB$PROCEDURE_PARAMETERS WHERE RDB$PROCEDURE_NAME=:PROC AND RDB$PACKAGE_NAME IS NULL "
        "ORDER BY RDB$PARAMETER_TYPE, RDB$PARAMETER_NUMBER");
    lookup.ParamByName("PROC").AsString(name);
    lookup.ExecQuery();
    while (!lookup.Eof()) {
      (lookup.FieldByName("PTYPE").AsInteger() == 0 ? inputs_ : outputs_).push_back(lookup.FieldByName("PNAME").AsString());
      lookup.Next();
    }
    lookup.Close();
  }
  std::string text = "EXECUTE PROCEDURE " + QuotedName(name);
  for (std::size_t i = 0; i < inputs_.size(); ++i) text += (i == 0 ? "(" : ",") + (":" + QuotedName(inputs_[i]));
  if (!inputs_.empty()) text += ")";
  sql_.SQL.SetText(text);
  sql_.Prepare();
  for (const std::string& output : outputs_) {
    int index = -1;
    for (int i = 0; i < sql_.FieldCount(); ++i) {
      if (sql_.Fields(i).Name() == output) index = i;
    }
    outputValues_.push_back(std::make_unique<TIBXSQLVAR>(output, &sql_, index));
  }
  preparedName_ = StoredProcName;
}

void TIBStoredProc::ExecProc() {
  Prepare();
  sql_.ExecQuery();
}

int TIBStoredProc::ParamCount() {
  Prepare();
  return static_cast<int>(inputs_.size() + outputs_.size());
}

bool TIBStoredProc::IsOutput(int index) {
  Prepare();
  return index >= static_cast<int>(inputs_.size());
}

TIBXSQLVAR& TIBStoredProc::Params(int index) {
  Prepare();
  if (index < 0 || index >= ParamCount()) fbapi::Fail("Parameter index out of range: " + std::to_string(index));
  if (index < static_cast<int>(inputs_.size())) return sql_.ParamByName(inputs_[static_cast<std::size_t>(index)]);
  return *outputValues_[static_cast<std::size_t>(index) - inputs_.size()];
}

TIBXSQLVAR& TIBStoredProc::ParamByName(const std::string& name) {
  Prepare();
  if (TIBXSQLVAR* input = sql_.FindParam(name)) return *input;
  for (auto& output : outputValues_) {
    if (SameText(output->Name(), name)) return *output;
  }
  fbapi::Fail("Parameter not found: " + name, 0, -206);
}
