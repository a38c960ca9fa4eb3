// The main window's data choice on the demo installation: the fetch of a
// shared-server copy into the local working folder and its store back, with
// their progress windows and refusals (an area without its database, a copy
// that does not open, a damaged child of a combined data set, a failing
// store), and the rights and data-version questions of a choice. Also the
// member service named in AppInfo.ini reaching the exchange's settings.
#include <QApplication>
#include <QEvent>
#include <QLabel>

#include <filesystem>
#include <fstream>

#include "apptest.h"
#include "comm/commsettings.h"
#include "core/globals.h"
#include "dbaccess/datainfo.h"
#include "dbaccess/datasetconnection.h"
#include "link/mainwindow.h"
#include "platform/fb/ibx.h"
#include "ui/plbutton.h"
#include "ui/progressdialog.h"

namespace fs = std::filesystem;

namespace {

const char* const kPrinciple = "corporation, principle taxation";
const char* const kSimplified = "corporation, simplified taxation";

// Records the caption and information line of every progress window shown.
class ProgressRecorder : public QObject {
 public:
  ProgressRecorder() { qApp->installEventFilter(this); }
  ~ProgressRecorder() override { qApp->removeEventFilter(this); }
  std::vector<std::string> shown;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show)
      if (auto* form = dynamic_cast<TxProgressForm*>(watched))
        shown.push_back(form->windowTitle().toStdString() + "|" + form->Info->text().toStdString());
    return false;
  }
};

class DataChoice : public apptest::AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    AnswerLogon();
    form_ = StartProgram({});
    ASSERT_TRUE(form_->LoggedOn()) << ::testing::PrintToString(BoxTexts());
    responder_.Clear();
    recorder_ = std::make_unique<ProgressRecorder>();
    local_ = DataSetFolder(kPrinciple);
    share_ = root_ + "/share/sv0001";
    pristine_ = root_ + "/pristine";
    systemDb_ = (fs::path(local_).parent_path() / "rqaccdef.fdb").string();
    CopyDataFiles(local_, pristine_);
  }
  void TearDown() override {
    if (HasFailure())
      for (const std::string& t : BoxTexts()) std::fprintf(stderr, "box: %s\n", t.c_str());
    form_.reset();
    recorder_.reset();
    AppTest::TearDown();
  }

  // One statement on a database file, through a connection of its own.
  static void Exec(const std::string& database, const std::string& sql) {
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
  static std::string Query(const std::string& database, const std::string& sql) {
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
    const std::string v = q.Eof() ? "" : q.Fields(0).AsString();
    q.Close();
    tr.Commit();
    db.Close();
    return v;
  }
  std::string KyoyuLock() const { return Query(systemDb_, "SELECT KYOYULOCK FROM DATALIST WHERE REC=1"); }

  static void CopyDataFiles(const fs::path& from, const fs::path& to) {
    fs::create_directories(to);
    for (const char* f : {"rqacc.fdb", "rqacc.ini"}) fs::copy_file(from / f, to / f, fs::copy_options::overwrite_existing);
  }
  // Data set 1 becomes a shared-server row whose copy lies in the share
  // (with two children of a combined data set when asked) and has not been
  // taken: its local working folder is empty and is the current folder.
  void MakeShared(bool combined) {
    CopyDataFiles(pristine_, share_);
    if (combined)
      for (const char* child : {"001", "002"}) CopyDataFiles(DataSetFolder(kSimplified), fs::path(share_) / child);
    TDataInfomationRec info;
    ReadDataInfoFile(DataInfoFileName(share_), info);
    info.STATUS = dsFree;
    info.SHARE_STATUS = ssOnServer;
    info.GASSANKBN = combined ? 1 : 0;
    info.DATALISTNAME = "共有データ";
    WriteDataInfoFile(DataInfoFileName(share_), "", info);
    fs::remove_all(local_);
    Exec(systemDb_, "UPDATE DATALIST SET NETDRIVE=1, KYOYULOCK=0, GASSAN=" + std::string(combined ? "1" : "0") +
                        ", PASNAME='" + share_ + "' WHERE REC=1");
    SystemDef.DataDir = local_;
  }
  // Zeroes every fifth page of a database from page 20 on.
  static void Damage(const std::string& database) {
    std::fstream f(database, std::ios::in | std::ios::out | std::ios::binary);
    unsigned char header[2] = {0, 0};
    f.seekg(0x10);
    f.read(reinterpret_cast<char*>(header), 2);
    const std::uintmax_t pageSize = header[0] | (header[1] << 8);
    const std::uintmax_t pages = fs::file_size(database) / pageSize;
    for (std::uintmax_t page = 20; page < pages; page += 5) {
      f.seekp(static_cast<std::streamoff>(page * pageSize));
      f << std::string(pageSize, '\0');
    }
  }
  bool ProgressOpen() const {
    const QWidget* w = form_->xAnimeProgressDialog1->Handle();
    return w && w->isVisible();
  }

  std::unique_ptr<TForm1> form_;
  std::unique_ptr<ProgressRecorder> recorder_;
  std::vector<std::string>& progress() { return recorder_->shown; }
  std::string local_, share_, pristine_, systemDb_;
};

TEST_F(DataChoice, FetchTakesTheSharedCopyAndStoreBringsItBack) {
  MakeShared(false);
  EXPECT_EQ(form_->ReceiveSharedData(1), 1);
  EXPECT_EQ(progress(), (std::vector<std::string>{"共有データ受信中|共有データから受信中…"}));
  EXPECT_FALSE(ProgressOpen());
  EXPECT_TRUE(fs::exists(local_ + "/rqacc.fdb"));
  EXPECT_EQ(KyoyuLock(), "1");
  EXPECT_EQ(AccInf.SHOUGOU, "株式会社ヴェルダ商事") << "the fetched copy was opened and read";
  EXPECT_FALSE(DataSetConnection().IBDatabaseDAT.Connected());
  EXPECT_TRUE(BoxTexts().empty());

  // Work on the local copy goes back with the store.
  Exec(local_ + "/rqacc.fdb", "UPDATE ACCDEF1 SET ENTTEXT='ローカルで更新'");
  progress().clear();
  EXPECT_EQ(form_->SendSharedData(1), 1);
  EXPECT_EQ(progress(), (std::vector<std::string>{"共有データ送信中|共有データへ送信中…"}));
  EXPECT_FALSE(ProgressOpen());
  EXPECT_EQ(KyoyuLock(), "0");
  EXPECT_EQ(Query(share_ + "/rqacc.fdb", "SELECT ENTTEXT FROM ACCDEF1"), "ローカルで更新");
  EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(DataChoice, FetchRefusesACopyWithoutItsDatabaseOrOneThatDoesNotOpen) {
  struct Case {
    const char* name;
    std::function<void(const std::string& share)> spoil;
    std::string box;
  } cases[] = {
      {"area without its database", [](const std::string& share) { fs::remove(share + "/rqacc.fdb"); },
       "共有サーバーが起動していない、接続が切断されている または 共有サーバー上のデータ領域が削除された可能性があります。\r"
       "共有データパス: " + share_},
      {"database that does not open",
       [](const std::string& share) { std::ofstream(share + "/rqacc.fdb", std::ios::trunc) << std::string(20000, 'x'); },
       "このデータは破損している可能性があり、基本情報が取得できませんでした。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(share_);
    MakeShared(false);
    c.spoil(share_);
    responder_.Clear();
    EXPECT_EQ(form_->ReceiveSharedData(1), 0);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{c.box});
    EXPECT_FALSE(ProgressOpen());
    EXPECT_FALSE(DataSetConnection().IBDatabaseDAT.Connected());
  }
}

TEST_F(DataChoice, StoreStopsWhenAChildOfACombinedDataSetIsDamaged) {
  MakeShared(true);
  ASSERT_EQ(form_->ReceiveSharedData(1), 1) << ::testing::PrintToString(BoxTexts());
  ASSERT_TRUE(fs::exists(local_ + "/002/rqacc.fdb"));
  Damage(local_ + "/002/rqacc.fdb");
  const auto sharedChild = fs::last_write_time(share_ + "/002/rqacc.fdb");
  SystemDef.DataCheckMode = 1;
  responder_.Clear();
  EXPECT_EQ(form_->SendSharedData(1), 0);
  EXPECT_TRUE(BoxShown("合算・分散データに破損したデータが存在するため、共有データの自動保管を中止します。\r"
                       "データのバックアップを行っている場合は、適正な方法で破損前の状態へ戻して下さい。"))
      << ::testing::PrintToString(BoxTexts());
  EXPECT_FALSE(ProgressOpen());
  EXPECT_EQ(KyoyuLock(), "1") << "nothing was stored";
  EXPECT_EQ(fs::last_write_time(share_ + "/002/rqacc.fdb"), sharedChild);
}

TEST_F(DataChoice, StoreThatFailsWithAnErrorShowsItAsAWarning) {
  MakeShared(false);
  ASSERT_EQ(form_->ReceiveSharedData(1), 1);
  // The copy's settings file cannot be written: a folder stands in its place.
  fs::remove(local_ + "/rqacc.ini");
  fs::create_directories(local_ + "/rqacc.ini");
  responder_.Clear();
  EXPECT_EQ(form_->SendSharedData(1), 0);
  ASSERT_EQ(responder_.Shown().size(), 1u) << ::testing::PrintToString(BoxTexts());
  EXPECT_EQ(responder_.Shown()[0].kind, "警告");
  EXPECT_FALSE(ProgressOpen());
  EXPECT_FALSE(form_->xAnimeProgressDialog1->AnimeActive());
}

TEST_F(DataChoice, OperatorWithoutTheRightIsAskedToChooseAgain) {
  // An operator of an ordinary level outside the office, without a default
  // facility in data set 1.
  SystemDef.JobLevel = 3;
  SystemDef.Jimusho = 0;
  SystemDef.UnrestrictedOperators = 0;
  Exec(local_ + "/rqacc.fdb", "DELETE FROM OPDEFSISETU");
  ASSERT_EQ(Next(*form_), "page2");
  // Cancel: no data set.
  AnswerDataChoice(local_);
  responder_.Then(mrCancel);
  form_->btnDataSentaku->click();
  EXPECT_TRUE(BoxShown("このデータを扱う権限がありません。\rデータ選択画面を開き、別のデータを選択しますか？"))
      << ::testing::PrintToString(BoxTexts());
  EXPECT_FALSE(form_->DataConnected());
  EXPECT_FALSE(DataSetConnection().IBDatabaseDAT.Connected());
  // OK: the dialog opens again and another data set is taken.
  AnswerDataChoice(local_);
  responder_.Then(mrOk);
  AnswerDataChoice(DataSetFolder(kSimplified));
  form_->btnDataSentaku->click();
  ASSERT_TRUE(form_->DataConnected()) << ::testing::PrintToString(BoxTexts());
  EXPECT_EQ(SystemDef.DataDir, DataSetFolder(kSimplified));
}

TEST_F(DataChoice, DataOlderThanTheProgramIsAskedToChooseAgain) {
  Exec(local_ + "/rqacc.fdb", "UPDATE ACCVERSION SET MAJOR=11, MINOR1=0, MINOR2=5");
  ASSERT_EQ(Next(*form_), "page2");
  AnswerDataChoice(local_);
  responder_.Then(mrCancel);
  form_->btnDataSentaku->click();
  EXPECT_TRUE(BoxShown("このプログラムで処理できるデータバージョンに達していません。\r"
                       "データバージョン:11.1.0以降のデータを選択して下さい。\r"
                       "データ選択画面を開き、別のデータを選択しますか？"))
      << ::testing::PrintToString(BoxTexts());
  EXPECT_FALSE(form_->DataConnected());
  EXPECT_FALSE(DataSetConnection().IBDatabaseDAT.Connected());
  EXPECT_EQ(form_->DataInfoRowCount(), 1);
}

// The member service and the installation identifier of AppInfo.ini reach
// the exchange when the program starts.
class CloudSettings : public apptest::AppTest {};

TEST_F(CloudSettings, AppInfoNamesTheMemberServiceAndTheInstallation) {
  const TCommSettings saved = CommSettings;
  std::ofstream(programDir_ + "/AppInfo.ini", std::ios::app | std::ios::binary)
      << "\r\n[CLOUD]\r\nMemberHost=member.example.jp\r\nInstallationId=INST-0042\r\n";
  AnswerLogon();
  auto form = StartProgram({});
  ASSERT_TRUE(form->Created());
  EXPECT_EQ(CommSettings.MemberHost, "member.example.jp");
  EXPECT_EQ(CommSettings.InstallationId, "INST-0042");
  form.reset();
  CommSettings = saved;
}

}  // namespace
