// The registration rows of the step units and their expansion into step
// records. A row's texts may hold kProductMark, which becomes the accounting
// product's name; a row with an OEM title or description uses those instead
// when the OEM kind is 1 or 2.
#pragma once

#include <span>

#include "dbupdate/steprec.h"

inline constexpr const char* kProductMark = "%s";

struct TDbUpdateStepDef {
  std::int32_t major;
  std::int32_t minor1;
  std::int32_t minor2;
  std::int32_t BackupNeeded;
  const char* Title;
  const char* Description;
  const char* OemTitle = nullptr;
  const char* OemDescription = nullptr;
  TDbUpdateStepProc StepProc = nullptr;
};

// The title and description pair that OEM products show for most later steps.
inline constexpr const char* kImprovementTitle = "機能強化および不具合修正";
inline constexpr const char* kImprovementDescription = "１）機能強化および不具合の修正（詳しくはＨＰで確認ください）";

// Registers one step: fills Rec from Def.
void RegisterDbUpdateStep(const TDbUpdateStepDef& Def, TDbUpdateListRec& Rec);
// Sizes Steps to the rows and registers each row in order.
void RegisterDbUpdateSteps(std::span<const TDbUpdateStepDef> Defs, TArrayDbUpdateListRec& Steps);
