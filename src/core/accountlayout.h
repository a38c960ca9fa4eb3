// Account-code layouts (the medical chart of a medical corporation with the
// medical code system, and the ordinary chart of every other data set), the
// cash-flow items (資金繰り) of each layout, and the medical business-type test.
// Group codes are four-digit GROUPM0 values compared as text, both ends included.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

// Set by SetupAccountLayout; before the first company information is read they
// hold the ordinary values, except the medical expenses range ("6110".."6880").
inline std::string GroupFixedAssetsFrom = "1400";
inline std::string GroupFixedAssetsTo = "1680";
inline std::string GroupDeferredAssetsFrom = "1800";
inline std::string GroupDeferredAssetsTo = "1880";
inline std::string GroupPurchasesFrom = "5100";
inline std::string GroupPurchasesTo = "5880";
inline std::string GroupExpensesFrom = "6100";
inline std::string GroupExpensesTo = "6180";
inline std::string GroupMedicalExpensesFrom = "6110";
inline std::string GroupMedicalExpensesTo = "6880";
inline std::string GroupNonOperatingFrom = "7200";
inline std::string GroupNonOperatingTo = "7280";
inline std::string GroupOtherFrom = "8200";
inline std::string GroupOtherTo = "8280";
// Groups excluded from the purchases row.
inline std::array<std::string, 6> InventoryGroupCodes = {"5100", "5300", "5510", "5530", "5810", "5820"};
// Groups whose ACCTOTALNAME PLUSNAME the company information reads, in this order.
inline std::array<std::string, 6> PlusNameGroups = {"5880", "5580", "5680", "5780", "5688", "5790"};

// "****" matches no account: the medical expenses range of the ordinary layout.
inline constexpr const char* kNoGroupCode = "****";

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
