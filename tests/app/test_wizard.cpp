// The wizard control, the version comparison and the caller's argument,
// without an installation.
#include <gtest/gtest.h>

#include <QPushButton>

#include "link/mainwindow.h"
#include "link/wizard.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/application.h"

namespace {

struct WizardRig {
  explicit WizardRig(int pages) {
    for (int i = 0; i < pages; ++i) wizard.AddPage("p" + std::to_string(i));
    wizard.SetNextButton(&next);
    wizard.SetBackButton(&back);
    wizard.OnNextClick = [this](QObject*, bool finalState) { finals.push_back(finalState); };
    wizard.OnNextClicking = [this](QObject*, bool finalState, bool& allow) {
      EXPECT_FALSE(finalState);
      allow = allowNext;
    };
    wizard.OnBackClick = [this](QObject*) { ++backs; };
  }
  std::string NextCaption() const { return next.text().toStdString(); }
  bool app = EnsureApplication() != nullptr;
  TxWizard wizard;
  QPushButton next, back;
  std::vector<bool> finals;
  bool allowNext = true;
  int backs = 0;
};

TEST(Wizard, WalksForwardAndBackWithCaptions) {
  WizardRig rig(3);
  EXPECT_EQ(rig.NextCaption(), "次へ(&N) >");
  EXPECT_TRUE(rig.back.isHidden());
  rig.next.click();
  EXPECT_EQ(rig.wizard.PageIndex(), 1);
  EXPECT_FALSE(rig.back.isHidden());
  rig.next.click();
  EXPECT_EQ(rig.NextCaption(), "完了(&F)");
  rig.next.click();  // finish: the page stays
  EXPECT_EQ(rig.wizard.PageIndex(), 2);
  EXPECT_EQ(rig.finals, (std::vector<bool>{false, false, true}));
  rig.back.click();
  EXPECT_EQ(rig.NextCaption(), "次へ(&N) >");
  rig.back.click();
  EXPECT_EQ(rig.wizard.PageIndex(), 0);
  EXPECT_TRUE(rig.back.isHidden());
  rig.back.click();  // on page 0: only hides Back, still reported
  EXPECT_EQ(rig.backs, 3);
}

TEST(Wizard, RefusalChangesNothingAndOnePageFinishesAtOnce) {
  WizardRig rig(2);
  rig.allowNext = false;
  rig.next.click();
  EXPECT_EQ(rig.wizard.PageIndex(), 0);
  EXPECT_TRUE(rig.finals.empty());
  EXPECT_TRUE(rig.back.isHidden());

  WizardRig one(1);
  EXPECT_EQ(one.NextCaption(), "完了(&F)");
  one.next.click();
  EXPECT_EQ(one.finals, (std::vector<bool>{true}));
  EXPECT_TRUE(one.back.isHidden());
}

TEST(Wizard, DeletedPagesTakeNoPart) {
  WizardRig rig(4);
  rig.wizard.DeletePage("p1");
  rig.wizard.DeletePage("unknown");
  rig.next.click();
  EXPECT_EQ(rig.wizard.ActivePage(), "p2");
}

TEST(Versions, ComparedPartByPartAsNumbers) {
  struct Case {
    const char* installed;
    bool atLeast;
  } cases[] = {
      {"11.1.0", true},   {"11.1", true},      {"11.0.9", false}, {"12", true},       {"11.10.0", true},
      {"11.2.100", true}, {"11.1.0.1", false}, {"", false},       {"abc", false},     {"11.x.0", false},
      {"0.0.0", false},   {"100.0.0", true},   {"10.99.99", false}, {" 11.1.0 ", true},
  };
  for (const auto& c : cases) EXPECT_EQ(IsVersionAtLeast(c.installed, "11.1.0"), c.atLeast) << c.installed;
  // Printed two digits a part and joined, 11.100.0 would become 1110000 and pass 12.0.0.
  EXPECT_FALSE(IsVersionAtLeast("11.100.0", "12.0.0"));
  EXPECT_TRUE(IsVersionAtLeast("12.0.0", "11.100.0"));
}

TEST(CallerArgument, FourFieldsAndThePathKeptWhole) {
  const TCallerArgs a = ParseCallerArgument("123,32769,5,/out/a.xml");
  EXPECT_EQ(a.Wnd, 123);
  EXPECT_EQ(a.Msg, 32769);
  EXPECT_EQ(a.Value, 5);
  EXPECT_EQ(a.Path, "/out/a.xml");
  EXPECT_EQ(ParseCallerArgument("1,2,3,/a b,c/d e.xml").Path, "/a b,c/d e.xml");
  EXPECT_EQ(ParseCallerArgument("1,2,3").Path, "");
  EXPECT_THROW(ParseCallerArgument("x,2,3,/a.xml"), EConvertError);
  EXPECT_THROW(ParseCallerArgument("1,,3,/a.xml"), EConvertError);
}

}  // namespace
