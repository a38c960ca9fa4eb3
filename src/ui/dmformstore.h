// The framework windows' store on the data module: window sizes in the system
// database's FORMRSIZE, the operation history in the data set's OPINF, and
// the facts of the connected data set. InstallDataModuleFormStore() makes it
// the store of every framework window and routes their database errors to the
// data module's reporter.
#pragma once

#include "ui/formstore.h"

class TDMFormStore : public TFormDataStore {
 public:
  std::optional<TFormSizeRow> ReadFormSize(int opCode, const std::string& formName) override;
  void InsertFormSize(int opCode, const std::string& formName, const TFormSizeRow& row) override;
  void UpdateFormSize(int opCode, const std::string& formName, int top, int left, int height,
                      int width) override;
  void DeleteOperationHistory(int opCode, const std::string& jobName, const std::string& state) override;
  void InsertOperationHistory(int opCode, const std::string& jobName, const std::string& pcName,
                              TDateTime openTime) override;
  void ReloadAccInf() override;
  bool IsCloudData() override;
  bool FacilityLabels() override;
};

void InstallDataModuleFormStore();
