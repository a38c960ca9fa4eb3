// One registered update step of a database and the step tables.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The step's work: 1 on success, another result code on failure.
using TDbUpdateStepProc = std::int32_t (*)();

struct TDbUpdateListRec {
  std::int32_t major = 0;
  std::int32_t minor1 = 0;
  std::int32_t minor2 = 0;
  TDbUpdateStepProc StepProc = nullptr;
  std::int32_t BackupNeeded = 0;   // 1: back the database up before a run containing this step
  std::string Title;               // one line of the step list
  std::string Description;         // shown below the list; lines separated by "\r"
};

// Always in strictly ascending version order: the last entry's version is the
// version the program expects of a database of that kind.
using TArrayDbUpdateListRec = std::vector<TDbUpdateListRec>;

inline constexpr std::size_t kSystemStepCount = 17;
inline constexpr std::size_t kUserStepCount = 57;

// Fill the tables with every registered step of the system database and of the
// accounting database, in version order. Titles and descriptions follow the
// OEM kind and the accounting product's name of the application information
// as they are when called.
void RegisterSystemDbUpdateSteps(TArrayDbUpdateListRec& Steps);
void RegisterUserDbUpdateSteps(TArrayDbUpdateListRec& Steps);
