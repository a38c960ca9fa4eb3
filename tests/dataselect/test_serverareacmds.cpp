// The area commands of the shared-server selection dialog on a share folder:
// F2 copy and paste, F4 new area, F5 delete, with real data sets and the
// windows offscreen.
#include "core/sjis.h"
#include "platform/rtl/cp932.h"
#include "serverboxtest.h"

using namespace serverboxtest;

namespace {

class AreaCmdTest : public ServerBoxTest {
 protected:
  TDataInfomationRec Info(const char* area) const {
    TDataInfomationRec info;
    ReadDataInfoFile(DataInfoFileName(Area(area)), info);
    return info;
  }
  void Select(TServerSentakuBox& box, const char* area) {
    const int row = RowOfFolder(box, Area(area));
    ASSERT_GT(row, 0) << area;
    box.PerfectGrid1->SetRow(row);
    box.UpdateKeyBar();
  }
  void AnswerInput(const std::string& text, std::string* proposed = nullptr) {
    responder_.Then([text, proposed](const ShownDialog& shown) {
      auto* in = dynamic_cast<TInputDlgBox*>(shown.window);
      if (!in) return mrCancel;
      if (proposed) *proposed = in->txtInput()->Text();
      in->txtInput()->setText(QString::fromStdString(text));
      in->btnOKClick();
      return static_cast<TModalResult>(in->result());
    });
  }
  std::string Listed(const char* area) {
    return QueryDef("SELECT ENTTEXT FROM SERVERDATALIST WHERE PASNAME='" + Area(area) + "'");
  }
};

TEST_F(AreaCmdTest, F4AddsALowerCaseAreaUpToTheLimitOf2000) {
  MakeAreas({{"sv0001", "A100", "アルファ", 1, 0}});
  auto box = Open();
  std::string proposed;
  AnswerInput(" NewArea ", &proposed);
  box->FKeyClick(4);
  EXPECT_EQ(proposed, "sv0002");
  EXPECT_TRUE(fs::is_directory(Area("newarea"))) << "created under the lower-cased name";
  EXPECT_FALSE(fs::exists(Area("NewArea")));
  EXPECT_EQ(Listed("newarea"), "新しい領域");
  EXPECT_EQ(box->PerfectGrid1->CellText(box->PerfectGrid1->Row(), scFolder), Area("newarea")) << "the new row is current";

  struct Case {
    std::size_t areas;
    const char* name;
    std::string message;
  } cases[] = {
      {1999, "more", ""},
      {2000, "toomany", "これ以上の領域追加は行えません。(最大2000件)"},
      {2, "SV0001", "\"" + Area("sv0001") + "\"は既に作成されています。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    responder_.Clear();
    box->DataList.resize(c.areas);
    AnswerInput(c.name);
    box->FKeyClick(4);
    const bool made = fs::exists(Area(LowerCase(c.name).c_str())) && c.message.empty();
    if (c.message.empty()) {
      EXPECT_TRUE(made);
      EXPECT_FALSE(BoxShown("これ以上の領域追加は行えません。"));
    } else {
      EXPECT_TRUE(BoxShown(c.message)) << c.message;
    }
  }
  EXPECT_FALSE(fs::exists(Area("toomany")));
}

TEST_F(AreaCmdTest, F2CopiesAnAreaUnderItsCopyNameCutTo40Bytes) {
  std::string name38, name39;
  for (int i = 0; i < 19; ++i) name38 += "あ";
  name39 = name38 + "A";
  struct Case {
    std::string name, copy;
  } cases[] = {{name38, name38 + "～"}, {name39, name39}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(Utf8ToCp932(c.name).size(), c.name == name38 ? 38u : 39u);
    fs::remove_all(shareRoot_);
    fs::create_directories(shareRoot_);
    ExecDef({"DELETE FROM CHILD_SERVERDATALIST", "DELETE FROM SERVERDATALIST"});
    MakeArea({"sv0001", "A100", "x", 1, 0}, true);
    TDataInfomationRec info = Info("sv0001");
    info.DATALISTNAME = c.name;
    WriteDataInfoFile(DataInfoFileName(Area("sv0001")), "", info);
    MakeArea({"sv0002", nullptr, "", 1, 0});
    auto box = Open();
    Select(*box, "sv0001");
    ASSERT_EQ(box->FKeys[2]->text().toStdString(), "F2:コピー");
    box->FKeyClick(2);
    EXPECT_EQ(Info("sv0001").STATUS, dsCopyingJob) << "the source shows that it is being copied";
    Select(*box, "sv0002");
    ASSERT_EQ(box->FKeys[2]->text().toStdString(), "F2:貼り付け");
    box->FKeyClick(2);
    EXPECT_FALSE(box->CopyPending);
    EXPECT_TRUE(fs::exists(Area("sv0002") + "/rqacc.fdb"));
    const TDataInfomationRec pasted = Info("sv0002");
    EXPECT_EQ(pasted.DATALISTNAME, c.copy);
    EXPECT_EQ(pasted.CODE, "A100");
    EXPECT_EQ(pasted.STATUS, dsFree);
    EXPECT_EQ(pasted.SHARE_STATUS, 1);
    EXPECT_EQ(Info("sv0001").STATUS, dsFree);
    EXPECT_EQ(Listed("sv0002"), c.copy);
    EXPECT_EQ(box->PerfectGrid1->CellText(RowOfFolder(*box, Area("sv0002")), scName), c.copy);
    EXPECT_FALSE(BoxShown("照合チェック")) << "an empty area is not compared";
  }
}

TEST_F(AreaCmdTest, FailedCopyIsReportedAndNothingIsRewritten) {
  MakeArea({"sv0001", "A100", "アルファ", 1, 0}, true);
  MakeArea({"sv0002", nullptr, "", 1, 0});
  fs::create_directories(Area("sv0002") + "/rqacc.fdb");  // a folder stands where the database would go
  auto box = Open();
  const std::string before = Listed("sv0002");
  Select(*box, "sv0001");
  box->FKeyClick(2);
  Select(*box, "sv0002");
  box->FKeyClick(2);
  EXPECT_TRUE(BoxShown("データのコピーに失敗しました。"));
  EXPECT_EQ(Listed("sv0002"), before) << "the target's list row is not rewritten";
  EXPECT_EQ(box->PerfectGrid1->CellText(RowOfFolder(*box, Area("sv0002")), scName), before);
  EXPECT_EQ(Info("sv0001").STATUS, dsFree);
  EXPECT_FALSE(box->CopyPending);
}

TEST_F(AreaCmdTest, PasteOntoTheAreaHoldingTheSourceChangesNothing) {
  // A combined area whose child is the copy source: the paste would remove
  // the child folders, the source among them.
  MakeArea({"sv0001", "G400", "合算", 1, 1}, true);
  MakeArea({"sv0001/001", "G401", "分散", 1, 10}, true);
  auto box = Open();
  const int parent = RowOfFolder(*box, Area("sv0001"));
  const int child = RowOfFolder(*box, Area("sv0001/001"));
  ASSERT_GT(parent, 0);
  ASSERT_GT(child, 0);
  const std::string children = QueryDef("SELECT COUNT(*) FROM CHILD_SERVERDATALIST");
  box->CopyPending = true;
  box->CopySourceFolder = Area("sv0001/001");
  box->CopySourceRec = *box->GetRowRecord(child);
  box->DataInfo->SetStatus(Area("sv0001/001"), dsCopyingJob);
  box->PerfectGrid1->SetRow(parent);
  EXPECT_EQ(box->CopyOrPaste(), 0);
  EXPECT_TRUE(BoxShown("貼付先にコピー元のパスが含まれています。処理を中断します。"));
  EXPECT_TRUE(fs::exists(Area("sv0001/001") + "/rqacc.fdb")) << "the source stays";
  EXPECT_EQ(QueryDef("SELECT COUNT(*) FROM CHILD_SERVERDATALIST"), children);
  EXPECT_EQ(Info("sv0001").STATUS, dsFree) << "the target was never marked";
  EXPECT_EQ(Info("sv0001/001").STATUS, dsFree) << "the source is free again";
  EXPECT_FALSE(box->CopyPending);
}

TEST_F(AreaCmdTest, F5DeletesTheAreaFolderAfterAgreement) {
  MakeArea({"sv0001", "A100", "アルファ", 1, 0}, true);
  MakeArea({"sv0002", "B200", "ベータ", 1, 0});
  auto box = Open();
  Select(*box, "sv0001");
  std::vector<std::string> lines;
  std::string caption;
  responder_.Then([&](const ShownDialog& shown) {
    caption = shown.caption;
    lines = shown.lines;
    return mrCancel;
  });
  box->FKeyClick(5);
  EXPECT_EQ(caption, "データの削除");
  std::string all;
  for (const std::string& l : lines) all += l + "\n";
  EXPECT_NE(all.find("選択中のデータを削除します。"), std::string::npos) << all;
  EXPECT_NE(all.find("アルファ"), std::string::npos) << all;
  EXPECT_TRUE(fs::exists(Area("sv0001"))) << "no agreement, nothing deleted";
  Select(*box, "sv0001");
  responder_.Then(mrOk);
  box->FKeyClick(5);
  EXPECT_FALSE(fs::exists(Area("sv0001")));
  EXPECT_EQ(RowOfFolder(*box, Area("sv0001")), 0) << "the list is read again";
  EXPECT_GT(RowOfFolder(*box, Area("sv0002")), 0);
}

}  // namespace
