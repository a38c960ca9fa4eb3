// Account-code layouts (the medical chart of a medical corporation with the
// medical code system, and the ordinary chart of every other data set), the
// cash-flow items (資金繰り) of each layout, and the medical business-type test.
// Group codes are four-digit GROUPM0 values compared as text, both ends included.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/accountgroups.h"

// Groups whose ACCTOTALNAME PLUSNAME the company information reads, in this order.
inline std::array<std::string, 6> PlusNameGroups = {"5880", "5580", "5680", "5780", "5688", "5790"};

struct TSikinguriItem {
  std::string Code;  // two digits, "0" for the empty item
  std::string Name;
  std::string Note;  // the section of an "その他の収入" / "その他の支出" item
};
inline std::vector<TSikinguriItem> SikinguriItems;

void SetupAccountLayout(bool Medical);
// Rebuilds SikinguriItems: 38 medical or 39 ordinary items.
void SetupSikinguriItems(bool Medical);
// True exactly for "医療法人" and "個人(クリニック)".
bool IsMedicalBusinessType(std::string_view BusinessType);
