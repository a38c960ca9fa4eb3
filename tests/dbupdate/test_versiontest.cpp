// The version test on version texts: which steps are pending, compatibility,
// the step list, and texts that are no version at all.
#include <gtest/gtest.h>

#include <string>

#include "dbupdate/dbupdatebox.h"

namespace {

struct Case {
  std::uint8_t kind;
  const char* text;
  bool unknown;
  bool pending;
  int compatibility;
  int first, last;
  int backups;
};

TEST(VersionTest, PendingStepsAndCompatibilityFromVersionText) {
  const Case cases[] = {
      // accounting data sets
      {1, "11.1.0", false, false, 1, -1, -1, 0},
      {1, "11.0.1", false, true, 1, 56, 56, 1},
      {1, "11.0.5", false, true, 1, 56, 56, 1},
      {1, "10.0.5", false, true, 1, 54, 56, 3},
      {1, "11.1.5", false, false, 2, -1, -1, 0},
      {1, "11.2.0", false, false, 0, -1, -1, 0},
      {1, "12.0.0", false, false, 0, -1, -1, 0},
      {1, "3.0.0", false, true, 1, 23, 56, 34},
      {1, "0.0.0", false, true, 1, 0, 56, 53},
      {1, "0.2.0", false, true, 1, 6, 56, 48},
      {1, "\"11\".1.0", false, false, 1, -1, -1, 0},
      {1, " 11 . 0 . 1 ", false, true, 1, 56, 56, 1},
      // system database: always compatible
      {0, "11.0.1", false, false, 1, -1, -1, 0},
      {0, "10.0.4", false, true, 1, 16, 16, 1},
      {0, "0.3.2", false, true, 1, 2, 16, 8},
      {0, "99.0.0", false, false, 1, -1, -1, 0},
      // texts that are no version: never "every step pending"
      {1, "11.1", true, false, 0, -1, -1, 0},
      {1, "11.1.0.1", true, false, 0, -1, -1, 0},
      {1, "1110", true, false, 0, -1, -1, 0},
      {1, "3.x.0", true, false, 0, -1, -1, 0},
      {1, "11..0", true, false, 0, -1, -1, 0},
      {1, "..", true, false, 0, -1, -1, 0},
      {1, "abc", true, false, 0, -1, -1, 0},
      {1, "99999999999.0.0", true, false, 0, -1, -1, 0},
      {1, "11.0.1x", true, false, 0, -1, -1, 0},
      {1, "\"11.0\".1", true, false, 0, -1, -1, 0},
      {0, "garbled", true, false, 0, -1, -1, 0},
  };
  TDbUpdateBox box;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("kind ") + std::to_string(c.kind) + " \"" + c.text + "\"");
    box.PrepareDbUpdate(c.kind, c.text);
    EXPECT_EQ(box.Kind, c.kind);
    EXPECT_EQ(box.VersionUnknown, c.unknown);
    EXPECT_EQ(box.UpdateNeeded, c.pending);
    EXPECT_EQ(box.Compatibility, c.compatibility);
    EXPECT_EQ(box.FirstStep, c.first);
    EXPECT_EQ(box.LastStep, c.last);
    EXPECT_EQ(box.BackupCount, c.backups);
    EXPECT_EQ(box.ListItems.size(), c.pending ? static_cast<std::size_t>(c.last - c.first + 1) : 0u);
    const TArrayDbUpdateListRec& target = c.kind == 0 ? box.SystemSteps : box.UserSteps;
    EXPECT_EQ(box.TargetMajor, target.back().major);
    EXPECT_EQ(box.TargetMinor, target.back().minor1);
    EXPECT_EQ(box.TargetRev, target.back().minor2);
  }
}

TEST(VersionTest, StepListShowsPendingStepsAndTheSelectedDescription) {
  TDbUpdateBox box;
  box.PrepareDbUpdate(dbkAccounting, "10.0.5");
  ASSERT_EQ(box.ListItems.size(), 3u);
  EXPECT_EQ(box.ListItems[0].Caption, "11.0.0");
  EXPECT_EQ(box.ListItems[1].Caption, "11.0.1");
  EXPECT_EQ(box.ListItems[2].Caption, "11.1.0");
  EXPECT_EQ(box.ListItems[2].Title, box.UserSteps[56].Title);
  EXPECT_TRUE(box.ListItems[0].Status.empty());
  EXPECT_EQ(box.ListItems[0].StatusImage, -1);
  EXPECT_EQ(box.SelectedItem, 0);
  EXPECT_EQ(box.DescriptionText, box.UserSteps[54].Description);
  box.ListView1SelectItem(2);
  EXPECT_EQ(box.DescriptionText, box.UserSteps[56].Description);
  box.ListView1SelectItem(5);
  EXPECT_TRUE(box.DescriptionText.empty());

  // A later database with nothing pending shows no rows of the earlier one.
  box.PrepareDbUpdate(dbkAccounting, "11.1.0");
  EXPECT_TRUE(box.ListItems.empty());
  EXPECT_TRUE(box.DescriptionText.empty());
}

TEST(VersionTest, DialogTextsAndAgreementFollowTheKind) {
  TDbUpdateBox box;
  box.PrepareDbUpdate(dbkAccounting, "11.0.1");
  EXPECT_EQ(box.Title1, "会計データの更新を行います。");
  EXPECT_EQ(box.Title2, "バックアップを取得せずに、この処理を行うと元に戻すことが出来ません。");
  EXPECT_EQ(box.Title3, "必ずバックアップを取得後に実行することを強く推奨します。");
  EXPECT_FALSE(box.ShowRedImage);
  EXPECT_TRUE(box.CancelVisible);
  EXPECT_TRUE(box.AgreeVisible);
  EXPECT_FALSE(box.OkEnabled);
  box.AgreeChecked = true;
  box.cboxAgreeClick();
  EXPECT_TRUE(box.OkEnabled);

  box.AgreeChecked = false;
  box.PrepareDbUpdate(dbkSystem, "10.0.4");
  EXPECT_EQ(box.Title1, "システムデータの更新を行います。");
  EXPECT_TRUE(box.Title2.empty());
  EXPECT_TRUE(box.Title3.empty());
  EXPECT_TRUE(box.ShowRedImage);
  EXPECT_FALSE(box.CancelVisible);
  EXPECT_FALSE(box.AgreeVisible);
  EXPECT_TRUE(box.OkEnabled);
}

TEST(VersionTest, ParseDbVersionTextKeepsSignedParts) {
  TDbVersion v;
  EXPECT_TRUE(ParseDbVersionText("-1.2.+3", v));
  EXPECT_EQ(v.Major, -1);
  EXPECT_EQ(v.Minor, 2);
  EXPECT_EQ(v.Rev, 3);
  EXPECT_FALSE(ParseDbVersionText("", v));
  EXPECT_FALSE(ParseDbVersionText("1.2.++3", v));
  EXPECT_EQ(v.Major, 0);
  EXPECT_LT(CompareDbVersion({-1, 9, 9}, {0, 0, 0}), 0);
  EXPECT_GT(CompareDbVersion({11, 1, 0}, {11, 0, 9}), 0);
}

TEST(VersionTest, NoDatabaseToReadIsUnknown) {
  TDbUpdateBox box;
  box.PrepareDbUpdate(dbkAccounting, "");
  EXPECT_TRUE(box.VersionUnknown);
  EXPECT_FALSE(box.UpdateNeeded);
  EXPECT_EQ(box.FirstStep, -1);
}

}  // namespace
