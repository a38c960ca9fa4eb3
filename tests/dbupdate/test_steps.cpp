// The registration tables of the system and accounting update steps.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/appinfo.h"
#include "core/globals.h"
#include "dbupdate/dbupdatebox.h"
#include "dbupdate/steptable.h"
#include "platform/rtl/sysutils.h"

namespace {

std::vector<std::string> Versions(const TArrayDbUpdateListRec& Steps) {
  std::vector<std::string> out;
  for (const TDbUpdateListRec& s : Steps) out.push_back(Format("%d.%d.%d", s.major, s.minor1, s.minor2));
  return out;
}

int BackupSum(const TArrayDbUpdateListRec& Steps) {
  int sum = 0;
  for (const TDbUpdateListRec& s : Steps) sum += s.BackupNeeded;
  return sum;
}

const TDbUpdateListRec& StepOf(const TArrayDbUpdateListRec& Steps, int Major, int Minor1, int Minor2) {
  for (const TDbUpdateListRec& s : Steps)
    if (s.major == Major && s.minor1 == Minor1 && s.minor2 == Minor2) return s;
  throw std::runtime_error("no such step");
}

// Restores the OEM kind and the product name that a test changes.
class StepTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedOem_ = OemKind;
    savedTitle_ = AppInfo.AppTitle;
    OemKind = 0;
    AppInfo.AppTitle = "コルベクス財務";
  }
  void TearDown() override {
    OemKind = savedOem_;
    AppInfo.AppTitle = savedTitle_;
  }

 private:
  std::uint8_t savedOem_ = 0;
  std::string savedTitle_;
};

TEST_F(StepTableTest, TablesHoldEveryStepInStrictlyAscendingOrder) {
  const TDbUpdateBox box;
  const std::vector<std::string> system = {"0.3.1", "0.3.2", "0.3.3", "1.0.1", "3.0.0", "3.0.5",
                                           "3.0.7", "4.0.0", "4.0.2", "5.0.0", "7.0.0", "7.0.4",
                                           "8.0.0", "8.0.2", "9.0.4", "10.0.4", "11.0.1"};
  const std::vector<std::string> user = {
      "0.1.1", "0.1.2", "0.1.3", "0.1.4", "0.1.5", "0.2.0", "0.2.1", "0.2.2", "0.3.0", "0.3.1",
      "0.3.2", "0.3.3", "0.3.4", "0.4.0", "0.4.1", "1.0.0", "1.0.1", "1.0.2", "1.0.3", "1.0.5",
      "2.0.0", "2.0.4", "3.0.0", "3.0.1", "3.0.3", "3.0.4", "3.0.6", "3.0.7", "4.0.0", "4.0.2",
      "5.0.0", "5.0.2", "5.0.5", "6.0.0", "6.1.0", "6.1.3", "7.0.0", "7.0.2", "7.0.3", "7.0.4",
      "8.0.0", "8.0.2", "8.0.3", "9.0.0", "9.0.1", "9.0.2", "9.0.3", "9.0.4", "9.0.5", "10.0.0",
      "10.0.1", "10.0.3", "10.0.4", "10.0.5", "11.0.0", "11.0.1", "11.1.0"};
  EXPECT_EQ(Versions(box.SystemSteps), system);
  EXPECT_EQ(Versions(box.UserSteps), user);

  for (const TArrayDbUpdateListRec* steps : {&box.SystemSteps, &box.UserSteps}) {
    for (std::size_t i = 0; i < steps->size(); ++i) {
      const TDbUpdateListRec& s = (*steps)[i];
      SCOPED_TRACE(Format("%d.%d.%d", s.major, s.minor1, s.minor2));
      if (i > 0) {
        const TDbUpdateListRec& p = (*steps)[i - 1];
        EXPECT_LT(CompareDbVersion({p.major, p.minor1, p.minor2}, {s.major, s.minor1, s.minor2}), 0);
      }
      EXPECT_FALSE(s.Title.empty());
      EXPECT_FALSE(s.Description.empty());
      EXPECT_EQ(s.Title.find(kProductMark), std::string::npos);
      EXPECT_EQ(s.Description.find(kProductMark), std::string::npos);
      EXPECT_TRUE(s.BackupNeeded == 0 || s.BackupNeeded == 1);
    }
  }
}

TEST_F(StepTableTest, BackupFlagsOfBothTables) {
  const TDbUpdateBox box;
  EXPECT_EQ(BackupSum(box.SystemSteps), 9);
  EXPECT_EQ(BackupSum(box.UserSteps), 53);
  for (const TDbUpdateListRec& s : box.UserSteps) {
    const bool noBackup = s.major == 0 && ((s.minor1 == 2 && s.minor2 == 0) || (s.minor1 == 3 && s.minor2 == 0) ||
                                           (s.minor1 == 3 && s.minor2 == 2) || (s.minor1 == 4 && s.minor2 == 0));
    EXPECT_EQ(s.BackupNeeded, noBackup ? 0 : 1) << s.Title;
  }
  EXPECT_EQ(StepOf(box.SystemSteps, 7, 0, 0).BackupNeeded, 0);
  EXPECT_EQ(StepOf(box.SystemSteps, 11, 0, 1).BackupNeeded, 1);
}

TEST_F(StepTableTest, TitlesFollowProductNameAndOemKind) {
  struct Case {
    std::uint8_t oem;
    bool system;
    int major, minor1, minor2;
    const char* title;
    const char* description;
  };
  const Case cases[] = {
      {0, true, 7, 0, 0, "試験財務１５のデータ形式に変換", "１）試験財務１５のデータ形式に変換する。"},
      {1, true, 7, 0, 0, "個別原価管理機能の追加", "１）個別原価管理機能を追加する。"},
      {2, true, 11, 0, 1, kImprovementTitle, kImprovementDescription},
      {0, true, 11, 0, 1, "新元号対応 他", "１）新元号「令和」を追加しました。\r２）クラウドシェア機能を追加しました。"},
      {1, true, 8, 0, 0, "マイナンバー制度に対応", "１）マイナンバー制度に対応しました。"},
      {0, false, 5, 0, 0, "試験財務１３のデータ形式に変換", "１）試験財務１３のデータ形式に変換します。\r"},
      {0, false, 11, 1, 0, "１９ 消費税改正版のデータ形式に変換", "１）２０１９年１０月の消費税改正 に対応しました。"},
      {1, false, 11, 1, 0, kImprovementTitle, kImprovementDescription},
      {0, false, 8, 0, 2, "予算管理機能強化", "１）法人データの予算管理を強化します。"},
      {2, false, 8, 0, 2, "不具合修正", "１）不具合を修正（詳しくはＨＰで確認ください）"},
      {1, false, 7, 0, 0, "試験財務１５のデータ形式に変換 他",
       "１）試験財務１５のデータ形式に変換します。\r２）「個人／農業」体系を新たに追加し、青色申告決算書（農業所得用）"
       "を作成します。\r３）個別原価管理機能を新たに追加します。"},
      {1, false, 8, 0, 0, "試験財務１６のデータ形式に変換 他",
       "１）試験財務１６のデータ形式に変換する。\r２）マイナンバー制度に対応する。"},
      {0, false, 0, 2, 1, "過年度残高の修復 ", "過年度残高を修復します。"},
  };
  AppInfo.AppTitle = "試験財務";
  for (const Case& c : cases) {
    SCOPED_TRACE(Format("oem %d %s %d.%d.%d", c.oem, c.system ? "system" : "user", c.major, c.minor1, c.minor2));
    OemKind = c.oem;
    const TDbUpdateBox box;
    const TDbUpdateListRec& s = StepOf(c.system ? box.SystemSteps : box.UserSteps, c.major, c.minor1, c.minor2);
    EXPECT_EQ(s.Title, c.title);
    EXPECT_EQ(s.Description, c.description);
  }
}

}  // namespace
