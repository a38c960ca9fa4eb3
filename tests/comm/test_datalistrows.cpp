// The exchange window's list rows: the operator's group read in number
// order with native paths, and the name, fiscal term and version written
// back after a restore to the row of the path (DATALIST or DATALIST_EX of a
// server installation), of the folder number, or of a distributed child;
// a path that names no child is refused with its notice.
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "comm/cloudshare.h"
#include "core/globals.h"
#include "dbaccess/systemstore.h"
#include "dmtest.h"
#include "platform/vcl/application.h"
#include "platform/vcl/responder.h"

namespace {

class ExchangeListRows : public dmtest::DmTest {
 protected:
  void SetUp() override {
    DmTest::SetUp();
    EnsureApplication();
    responder_ = std::make_unique<ScriptedResponder>(mrOk);
    responder_->Install();
    ASSERT_TRUE(SystemStore().fnAccDefConnected("", false));
  }
  void TearDown() override {
    responder_.reset();
    DmTest::TearDown();
  }
  void Def(const std::string& sql) { ExecOn(inst_.systemDatabase, sql); }
  // ENTTEXT|NENDO|KISHU|KIMATU|VER_MAJOR.VER_MINOR1.VER_MINOR2|VER_TEXT of the first row of a table.
  std::string Summary(const std::string& table, const std::string& where) {
    return QueryDef("SELECT ENTTEXT||'|'||NENDO||'|'||CAST(CAST(KISHU AS DATE) AS VARCHAR(10))||'|'||"
                    "CAST(CAST(KIMATU AS DATE) AS VARCHAR(10))||'|'||VER_MAJOR||'.'||VER_MINOR1||'.'||VER_MINOR2||'|'||"
                    "VER_TEXT FROM " + table + " WHERE " + where);
  }
  bool Shown(const std::string& text) const {
    for (const ShownDialog& d : responder_->Shown())
      for (const std::string& l : d.lines)
        if (l.find(text) != std::string::npos) return true;
    return false;
  }
  // A restored row: the window's first list row with the given path.
  static void Restored(TfmDataTusin& window, const std::string& path) {
    window.DataList.assign(1, TDataSentakuRec{});
    TDataListRec& r = window.DataList[0].Row;
    r.PasName = path;
    r.EntText = "戻し";
    r.Nendo = 7;
    r.Kishu = EncodeDate(2024, 4, 1);
    r.Kimatu = EncodeDate(2025, 3, 31);
    r.VerMajor = 11;
    r.VerMinor1 = 2;
    r.VerMinor2 = 3;
    r.VerText = "版";
    r.Shougou = "書かれない";
  }
  static constexpr const char* kWritten = "戻し|7|2024-04-01|2025-03-31|11.2.3|版";

  std::unique_ptr<ScriptedResponder> responder_;
};

TEST_F(ExchangeListRows, ReadsTheGroupInNumberOrderWithNativePaths) {
  Def("UPDATE DATALIST SET GROUPID=20000 WHERE REC=2");
  Def("UPDATE DATALIST SET PASNAME='C:\\list\\0003', ENTTEXT='三' WHERE REC=3");
  TfmDataTusin window;
  window.DataList.assign(200, TDataSentakuRec{});
  const int count = window.GetDataListRecord();
  EXPECT_EQ(std::to_string(count), QueryDef("SELECT COUNT(*) FROM DATALIST WHERE GROUPID=10000"));
  ASSERT_EQ(window.DataList.size(), static_cast<std::size_t>(count));
  EXPECT_EQ(window.DataList[0].Row.Rec, 1);
  EXPECT_EQ(window.DataList[0].Row.PasName, QueryDef("SELECT PASNAME FROM DATALIST WHERE REC=1"));
  EXPECT_EQ(window.DataList[1].Row.Rec, 3) << "another group's row is left out";
  EXPECT_EQ(window.DataList[1].Row.PasName, "C:/list/0003");
  EXPECT_EQ(window.DataList[1].Row.EntText, "三");
  EXPECT_EQ(window.DataList[1].Row.GroupId, 10000);
}

TEST_F(ExchangeListRows, NameTermAndVersionWrittenBackToTheRowOfTheRestore) {
  Def("INSERT INTO DATAPLACEMAN(REC,NAME,PATH) VALUES(3,'場所','/place')");
  const std::string serverPath = "/server/share/0005";
  Def("UPDATE DATALIST SET PASNAME='" + serverPath + "' WHERE REC=5");
  Def("INSERT INTO DATALIST_EX(DATAPLACEREC,REC,GROUPID,PASNAME,ENTTEXT) VALUES(3,1,10000,'" + serverPath + "','元')");
  Def("INSERT INTO CHILD_DATALIST(REC,ROWNO,GROUPID,PASNAME,ENTTEXT) VALUES(6,2,10000,'" + DataFolder(6) +
      "/02','元')");
  const std::string inList = std::string(19, 'x') + "/Data/0005";   // "/" at the place of the system folder's end
  const std::string outside = std::string(25, 'x');
  struct Case {
    const char* what;
    int connect;
    const char* combine;
    std::string dataDir, path, table, where;
  } cases[] = {
      {"stand-alone: the row of the folder number", 0, "", DataFolder(1), DataFolder(2), "DATALIST", "REC=2"},
      {"server, system folder: DATALIST by path", 1, "", inList, serverPath, "DATALIST", "REC=5"},
      {"server, a data place: DATALIST_EX by path", 1, "", outside, serverPath, "DATALIST_EX",
       "DATAPLACEREC=3 AND REC=1"},
      {"distributed child: the child of the number and suffix", 0, "10", DataFolder(1), DataFolder(6) + "/02",
       "CHILD_DATALIST", "REC=6 AND ROWNO=2"},
  };
  for (const Case& c : cases) {
    // Every other row stays as it was, and so do the columns not written back.
    std::vector<std::pair<const Case*, std::string>> others;
    for (const Case& o : cases)
      if (o.table != c.table || o.where != c.where) others.emplace_back(&o, Summary(o.table, o.where));
    const std::string shougou = QueryDef("SELECT SHOUGOU FROM " + c.table + " WHERE " + c.where);
    ConnectKind = static_cast<std::uint8_t>(c.connect);
    SystemDef.DataDir = c.dataDir;
    TfmDataTusin window;
    window.State.SavedCombineKind = c.combine;
    Restored(window, c.path);
    window.UpdateDataListRecord(0);
    EXPECT_EQ(Summary(c.table, c.where), kWritten) << c.what;
    EXPECT_EQ(QueryDef("SELECT SHOUGOU FROM " + c.table + " WHERE " + c.where), shougou) << c.what;
    for (const auto& [o, summary] : others) EXPECT_EQ(Summary(o->table, o->where), summary) << c.what << " / " << o->what;
    EXPECT_TRUE(responder_->Shown().empty()) << c.what;
  }
  EXPECT_NE(Summary("DATALIST", "REC=1"), kWritten);
}

TEST_F(ExchangeListRows, ADistributedPathWithoutItsChildIsRefused) {
  struct Case {
    std::string path;
    const char* notice;
  } cases[] = {
      {"abc", "C_DATALISTが更新出来ません。(1)"},
      {DataFolder(6) + "/09", "C_DATALISTが更新出来ません。(2)"},
  };
  for (const Case& c : cases) {
    responder_->Clear();
    TfmDataTusin window;
    window.State.SavedCombineKind = "10";
    Restored(window, c.path);
    window.UpdateDataListRecord(0);
    EXPECT_TRUE(Shown(c.notice)) << c.path;
    EXPECT_FALSE(SystemStore().IBTransactionDEF.InTransaction()) << c.path;
  }
  EXPECT_EQ(QueryDef("SELECT COUNT(*) FROM CHILD_DATALIST WHERE ENTTEXT='戻し'"), "0");
}

}  // namespace
