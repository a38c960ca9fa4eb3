// The fixture of the data-set management tests: real data sets (built once
// from data/datasetmgmt.txt) copied into the logon tests' installation as the
// list rows 1 to 4, the dialog opened offscreen, and queries on the data sets.
#pragma once

#include <QApplication>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <thread>
#include <fstream>
#include <set>
#include <sstream>
#include "core/globals.h"
#include "core/settings.h"
#include "core/sjis.h"
#include "dataselect/datasentaku.h"
#include "dataselect/datasentakucmds.h"
#include "dataselect/datasetmgmt.h"
#include "dataselect/whichdataset.h"
#include "dbaccess/datainfo.h"
#include "dbaccess/datainfoblock.h"
#include "dstest.h"
#include "fixture/builder.h"
#include "fixture/description.h"
#include "fixture/testcache.h"
#include "platform/fb/ibx.h"
#include "platform/rtl/cp932.h"
#include "platform/rtl/faultpoint.h"
#include "platform/vcl/application.h"
#include "platform/vcl/perfectgrid.h"
#include "ui/plbutton.h"

namespace fs = std::filesystem;

namespace mgmttest {

inline std::string SourceDir() {
  const char* dir = std::getenv("PROJECT_SOURCE_DIR");
  return dir && *dir ? dir : PROJECT_SOURCE_DIR_FALLBACK;
}

inline std::string BinaryDir() {
  const char* dir = std::getenv("PROJECT_BINARY_DIR");
  return dir && *dir ? dir : fs::temp_directory_path().string();
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The folder of the data sets' installation, built once per build tree.
inline std::string MgmtSetsData() {
  static const std::string data = [] {
    const std::string file = SourceDir() + "/tests/dataselect/data/datasetmgmt.txt";
    const std::string root = fixture::CachedInstallation(ReadBytes(file), file, SourceDir() + "/tests/dataselect/data",
                                                         BinaryDir() + "/datasetmgmt-sets");
    return root + "/appdata/norvane/corvexzaimu/data";
  }();
  return data;
}

// A query on a data set's database through a connection of its own
// (embedded, or through the server at Host): every row's columns joined by "|".
inline std::vector<std::string> Rows(const std::string& database, const std::string& sql, const std::string& host = "") {
  TIBDatabase db;
  db.DatabaseName = host.empty() ? database : host + ":" + database;
  db.Params = host.empty() ? TIBStrings{"user_name=VFNZFR", "lc_ctype=SJIS_0208"}
                           : TIBStrings{"user_name=VFNZFR", "password=dravon", "lc_ctype=SJIS_0208"};
  db.Open();
  TIBTransaction tr;
  tr.SetDefaultDatabase(&db);
  tr.StartTransaction();
  TIBSQL q;
  q.SetDatabase(&db);
  q.SetTransaction(&tr);
  q.SQL.SetText(sql);
  std::vector<std::string> rows;
  for (q.ExecQuery(); !q.Eof(); q.Next()) {
    std::string row;
    for (int i = 0; i < q.FieldCount(); ++i) row += (i ? "|" : "") + q.Fields(i).AsTrimString();
    rows.push_back(row);
  }
  q.Close();
  tr.Commit();
  db.Close();
  return rows;
}

inline void Exec(const std::string& database, const std::string& sql) {
  TIBDatabase db;
  db.DatabaseName = database;
  db.Params = TIBStrings{"user_name=VFNZFR", "lc_ctype=SJIS_0208"};
  db.Open();
  TIBTransaction tr;
  tr.SetDefaultDatabase(&db);
  tr.StartTransaction();
  TIBSQL q;
  q.SetDatabase(&db);
  q.SetTransaction(&tr);
  q.SQL.SetText(sql);
  q.ExecQuery();
  q.Close();
  tr.Commit();
  db.Close();
}

class MgmtTest : public dstest::DsTest {
 protected:
  void SetUp() override {
    DsTest::SetUp();
    for (int rec = 1; rec <= 4; ++rec) {
      fs::remove_all(Folder(rec));
      fs::copy(MgmtSetsData() + "/" + fs::path(Folder(rec)).filename().string(), Folder(rec), fs::copy_options::recursive);
    }
    fs::create_directories(SystemDef.TempDir);
    fixture::OpenToServer(root_);  // the copied data sets too
    InstallDataInfoHooks();  // as the program does at start-up: connections keep the settings file
    ConnectDef();
    SystemDef.OpCode = 10010;
    SystemDef.OpName = "試験担当";
    SystemDef.JobLevel = 9;
    struct Row {
      int rec;
      const char* code;
      const char* name;
      const char* kishu;
      int gassan;
    } rows[] = {{1, "A100", "アルファ商事", "2019-04-01", 0},
                {2, "A100", "アルファ控え", "2019-04-01", 0},
                {3, "B200", "ベータ工業", "2020-04-01", 0},
                {4, "G400", "アルファ合算", "2019-04-01", 1}};
    std::vector<std::string> sql;
    for (int rec = 1; rec <= 10; ++rec)
      sql.push_back("UPDATE DATALIST SET PASNAME='" + Folder(rec) + "' WHERE REC=" + std::to_string(rec));
    for (const Row& r : rows)
      sql.push_back(std::string("UPDATE DATALIST SET DATACODE='") + r.code + "',ENTTEXT='" + r.name + "',SHOUGOU='" +
                    r.name + "',DATATYPE=1,CODETYPE=1,NENDO=1,KISHU='" + r.kishu +
                    "',VER_MAJOR=11,VER_MINOR1=1,VER_MINOR2=0,VER_TEXT='11版',UPDATE_LOCK=0,GASSAN=" +
                    std::to_string(r.gassan) + " WHERE REC=" + std::to_string(r.rec));
    ExecDef(sql);
  }

  void TearDown() override {
    FaultPointHook = nullptr;
    ConnectKind = 0;
    DsTest::TearDown();
  }

  std::string Folder(int rec) const {
    char name[8];
    std::snprintf(name, sizeof name, "%.4d", rec);
    return sysDir_ + "/" + name;
  }
  std::string Database(int rec) const { return Folder(rec) + "/rqacc.fdb"; }

  std::unique_ptr<TDataSentakuBox> Open() {
    auto box = std::make_unique<TDataSentakuBox>();
    box->KeepOnClose = true;
    box->SetParams({"SyoriType=0"});
    box->PrepareMode();
    box->show();
    QApplication::setActiveWindow(box.get());
    box->PerfectGrid1->setFocus();
    QApplication::processEvents();
    return box;
  }

  // The grid row of a list row number.
  static int RowOfRec(const TDataSentakuBox& box, int rec) {
    for (int r = 1; r <= box.PerfectGrid1->Rows(); ++r)
      if (box.PerfectGrid1->RowValue(r) == rec) return r;
    return 0;
  }
  static void Select(TDataSentakuBox& box, int rec) {
    const int row = RowOfRec(box, rec);
    ASSERT_GT(row, 0) << rec;
    box.PerfectGrid1->SetRow(row);
  }

  std::uint8_t Status(int rec) const {
    TDataInfomationRec info;
    ReadDataInfoFile(DataInfoFileName(Folder(rec)), info);
    return info.STATUS;
  }

  // The statuses a data set's settings file shows while Work runs (read by
  // a watcher of its own, since the work need not pump messages).
  std::set<int> StatusesDuring(int rec, const std::function<void()>& Work) {
    std::set<int> seen;
    std::mutex m;
    std::atomic<bool> stop{false};
    const std::string file = DataInfoFileName(Folder(rec));
    std::thread watcher([&] {
      while (!stop) {
        TDataInfomationRec info;
        ReadDataInfoFile(file, info);
        {
          std::lock_guard<std::mutex> lock(m);
          seen.insert(info.STATUS);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    });
    Work();
    stop = true;
    watcher.join();
    return seen;
  }

  std::vector<std::string> Journal(int rec) const {
    return Rows(Database(rec), "SELECT * FROM SIWAKE ORDER BY REC");
  }

  bool BoxShown(const std::string& text) const {
    for (const std::string& t : BoxTexts())
      if (t.find(text) != std::string::npos) return true;
    return false;
  }
};


}  // namespace mgmttest
