#include "core/accountlayout.h"

#include "core/globals.h"
#include "core/settings.h"

namespace {

constexpr const char* kKeijo = "（経常収支）";
constexpr const char* kSetubi = "（設備等収支）";
constexpr const char* kZaimu = "（財務収支）";

const std::vector<TSikinguriItem>& OrdinaryItems() {
  static const std::vector<TSikinguriItem> items = {
      {"0", "－", ""},
      {"11", "現金売上", ""},
      {"12", "売掛金回収", ""},
      {"13", "受取手形期日落", ""},
      {"14", "未収入金", ""},
      {"15", "前受金", ""},
      {"16", "受取利息・配当金", ""},
      {"17", "その他営業外収入", ""},
      {"18", "その他の収入", kKeijo},
      {"19", "現金仕入", ""},
      {"20", "買掛金支払", ""},
      {"21", "支払手形決済", ""},
      {"22", "未払金・未払費用", ""},
      {"23", "前渡金", ""},
      {"24", "材料費", ""},
      {"25", "製造経費", ""},
      {"26", "人件費", ""},
      {"27", "販売費・一般管理費", ""},
      {"28", "支払利息割引料", ""},
      {"29", "その他営業外支出", ""},
      {"30", "その他の支出", kKeijo},
      {"31", "固定資産売却", ""},
      {"32", "その他の収入", kSetubi},
      {"33", "固定資産購入", ""},
      {"34", "投資等支出", ""},
      {"35", "法人税等", ""},
      {"36", "その他の支出", kSetubi},
      {"37", "手形割引", ""},
      {"38", "短期借入金", ""},
      {"39", "長期借入金", ""},
      {"40", "定期性預金取崩", ""},
      {"41", "貸付金等回収", ""},
      {"42", "その他の収入", kZaimu},
      {"43", "短期借入金返済", ""},
      {"44", "長期借入金返済", ""},
      {"45", "定期性預金預入", ""},
      {"46", "貸付金等", ""},
      {"47", "その他の支出", kZaimu},
      {"99", "流動性現預金", ""},
  };
  return items;
}

const std::vector<TSikinguriItem>& MedicalItems() {
  static const std::vector<TSikinguriItem> items = {
      {"0", "－", ""},
      {"11", "窓口収入", ""},
      {"12", "医業未収金回収", ""},
      {"13", "未収金", ""},
      {"14", "前受金", ""},
      {"15", "受取利息・配当金", ""},
      {"16", "その他医業外収入", ""},
      {"17", "その他の収入", kKeijo},
      {"18", "給与費", ""},
      {"19", "材料費", ""},
      {"20", "委託費", ""},
      {"21", "設備関係費", ""},
      {"22", "研究研修費", ""},
      {"23", "経費", ""},
      {"24", "買掛金支払", ""},
      {"25", "支払手形決済", ""},
      {"26", "未払金・未払費用", ""},
      {"27", "前渡金", ""},
      {"28", "支払利息割引料", ""},
      {"29", "その他医業外支出", ""},
      {"30", "その他の支出", kKeijo},
      {"31", "固定資産売却", ""},
      {"32", "その他の収入", kSetubi},
      {"33", "固定資産購入", ""},
      {"34", "投資等支出", ""},
      {"35", "その他の支出", kSetubi},
      {"36", "短期借入金", ""},
      {"37", "長期借入金", ""},
      {"38", "定期性預金取崩", ""},
      {"39", "貸付金等回収", ""},
      {"40", "その他の収入", kZaimu},
      {"41", "短期借入金返済", ""},
      {"42", "長期借入金返済", ""},
      {"43", "定期性預金預入", ""},
      {"44", "貸付金等", ""},
      {"45", "法人税等", ""},
      {"46", "その他の支出", kZaimu},
      {"99", "流動性現預金", ""},
  };
  return items;
}

}  // namespace

void SetupAccountLayout(bool Medical) {
  GroupFixedAssetsFrom = "1400";
  GroupFixedAssetsTo = "1680";
  GroupDeferredAssetsFrom = "1800";
  GroupDeferredAssetsTo = "1880";
  GroupPurchasesFrom = "5100";
  GroupPurchasesTo = "5880";
  GroupExpensesFrom = "6100";
  GroupExpensesTo = "6180";
  GroupMedicalExpensesFrom = Medical ? "6110" : kNoGroupCode;
  GroupMedicalExpensesTo = Medical ? "6880" : kNoGroupCode;
  GroupNonOperatingFrom = Medical ? "7210" : "7200";
  GroupNonOperatingTo = "7280";
  GroupOtherFrom = Medical ? "8210" : "8200";
  GroupOtherTo = "8280";
  InventoryGroupCodes = {"5100", "5300", "5510", "5530", "5810", "5820"};
  // The last two plus-name groups are not part of the layout.
  PlusNameGroups[0] = "5880";
  PlusNameGroups[1] = "5580";
  PlusNameGroups[2] = "5680";
  PlusNameGroups[3] = "5780";
}

void SetupSikinguriItems(bool Medical) { SikinguriItems = Medical ? MedicalItems() : OrdinaryItems(); }

bool IsMedicalBusinessType(std::string_view BusinessType) {
  return BusinessType == BusinessTypeNames[3] || BusinessType == BusinessTypeNames[4];
}
