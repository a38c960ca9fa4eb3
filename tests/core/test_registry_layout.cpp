#include <gtest/gtest.h>

#include "core/accountlayout.h"
#include "core/globals.h"
#include "core/settings.h"
#include "core/processforms.h"

namespace {

class RecordingForm : public IProcessForm {
 public:
  explicit RecordingForm(std::vector<std::string>* seen) : seen_(seen) {}
  std::int32_t Execute(std::int32_t Modal) override { return Modal == 1 ? 7 : 0; }
  void SetParams(const std::vector<std::string>& Params) override { *seen_ = Params; }

 private:
  std::vector<std::string>* seen_;
};

std::vector<std::string> g_params;
const TProcessClass kSelection{"TDataSentakuForm", [](void*) { return std::make_unique<RecordingForm>(&g_params); }};
const TProcessClass kUsers{"TLoginUsersForm", [](void*) { return std::unique_ptr<IProcessForm>(); }};

TEST(ProcessForms, RegistryLooksNamesUpWithoutCase) {
  RegisterProcessClass(&kSelection, kProcDataSentaku);
  RegisterProcessClass(&kSelection, "SecondName");  // a class keeps its first name
  RegisterProcessClass(&kUsers, kProcLoginUsers);
  ASSERT_EQ(ProcessNameList().size(), ProcessClassList().size());
  EXPECT_EQ(FindProcessClass("wzdatasenkaku"), &kSelection);
  EXPECT_EQ(FindProcessClass("WEBMENUL"), &kUsers);
  EXPECT_EQ(FindProcessClass("SecondName"), nullptr);
  EXPECT_EQ(FindProcessClass("WzLinkWizard"), nullptr);
  EXPECT_EQ(FindProcessClass(""), nullptr);

  auto form = FindProcessClass("WzDataSenkaku")->Create(nullptr);
  ASSERT_TRUE(form);
  form->SetParams({"SyoriType=2", "FormStyle=2"});
  EXPECT_EQ(g_params.back(), "FormStyle=2");
  EXPECT_EQ(form->Execute(1), 7);
  EXPECT_FALSE(FindProcessClass("WebMenuL")->Create(nullptr));  // a window without the interface
}

TEST(AccountLayout, GroupCodesFollowTheLayout) {
  EXPECT_EQ(GroupMedicalExpensesFrom, "6110");  // before any company information
  EXPECT_EQ(GroupNonOperatingFrom, "7200");
  SetupAccountLayout(true);
  EXPECT_EQ(GroupNonOperatingFrom, "7210");
  EXPECT_EQ(GroupOtherFrom, "8210");
  EXPECT_EQ(GroupMedicalExpensesTo, "6880");
  SetupAccountLayout(false);
  EXPECT_EQ(GroupNonOperatingFrom, "7200");
  EXPECT_EQ(GroupOtherFrom, "8200");
  EXPECT_EQ(GroupMedicalExpensesFrom, "****");
  EXPECT_EQ(GroupMedicalExpensesTo, "****");
  EXPECT_EQ(PlusNameGroups[4], "5688");
  EXPECT_EQ(PlusNameGroups[5], "5790");
  GroupMedicalExpensesFrom = "6110";  // the load-time state again
  GroupMedicalExpensesTo = "6880";
}

TEST(AccountLayout, CashFlowItems) {
  SetupSikinguriItems(false);
  ASSERT_EQ(SikinguriItems.size(), 39u);
  EXPECT_EQ(SikinguriItems[0].Code, "0");
  EXPECT_EQ(SikinguriItems[0].Name, "－");
  EXPECT_EQ(SikinguriItems[25].Name, "法人税等");
  EXPECT_EQ(SikinguriItems[37].Note, "（財務収支）");
  EXPECT_EQ(SikinguriItems.back().Code, "99");
  SetupSikinguriItems(true);
  ASSERT_EQ(SikinguriItems.size(), 38u);
  EXPECT_EQ(SikinguriItems[1].Name, "窓口収入");
  EXPECT_EQ(SikinguriItems[35].Code, "45");
  EXPECT_EQ(SikinguriItems[35].Name, "法人税等");
  EXPECT_EQ(SikinguriItems[25].Note, "（設備等収支）");
  // Codes run 11.. without gaps before the closing 99.
  for (std::size_t i = 1; i + 1 < SikinguriItems.size(); ++i)
    EXPECT_EQ(SikinguriItems[i].Code, std::to_string(10 + i));
}

TEST(AccountLayout, MedicalBusinessType) {
  EXPECT_TRUE(IsMedicalBusinessType("医療法人"));
  EXPECT_TRUE(IsMedicalBusinessType("個人(クリニック)"));
  EXPECT_FALSE(IsMedicalBusinessType("個人(一般)"));
  EXPECT_FALSE(IsMedicalBusinessType("医療法人 "));
}

TEST(SharedState, BuiltInValuesAndHooksStartUnset) {
  EXPECT_FALSE(MenuRequestProc);
  EXPECT_FALSE(VerifyDataProc);
  EXPECT_EQ(SbcProductNames[SbcKind], "");
  EXPECT_EQ(FKeyCaptions[12], "F12:");
  EXPECT_EQ(AllBranchesNames[2], "総体");
  EXPECT_TRUE(IsGassanParentKind(2));
  EXPECT_FALSE(IsGassanParentKind(0));
  EXPECT_EQ(DefaultGridColors[7], 0x246BFF);
}

}  // namespace
