// The account-group ranges of the chart of accounts of the connected data set
// (four-digit GROUPM0 values compared as text, both ends included): the
// account layout (core/accountlayout.h) sets them when the company
// information is read, and the refund statement of the tax computation sorts
// journal lines by them.
#pragma once

#include <array>
#include <string>

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

// "****" matches no account: the medical expenses range of the ordinary layout.
inline constexpr const char* kNoGroupCode = "****";
