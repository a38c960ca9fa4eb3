// The data-communication window on a real data set against the fake member
// service and file store, shown offscreen and driven through the dialog
// responder: the cloud area choice (from the settings dialog and for the next
// year's data), releasing and deleting slots, the relay send and receive
// through a slot, and the refusals of an operation started by name.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QJsonArray>
#include <QRadioButton>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "comm/cashbookloader.h"
#include "comm/cloudshare.h"
#include "comm/commsettings.h"
#include "comm/fakes/fakeservers.h"
#include "comm/statusrequest.h"
#include "comm/tusindispatch.h"
#include "comm/tusinsettei.h"
#include "core/appinfo.h"
#include "core/globals.h"
#include "core/processforms.h"
#include "dbaccess/datasetconnection.h"
#include "dmtest.h"
#include "platform/fb/ibdatabase.h"
#include "platform/rtl/eras.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/application.h"
#include "platform/vcl/perfectgrid.h"
#include "platform/vcl/responder.h"
#include "ui/dmformstore.h"
#include "ui/formstore.h"
#include "ui/plbutton.h"
#include "ui/xedit.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kCommId = "office000001";
constexpr const char* kCashId = "genk00001111";

class DataTusinWindowTest : public dmtest::DmTest {
 protected:
  static void SetUpTestSuite() {
    certFolder_ = std::make_unique<TTempFolder>();
    certs_ = MakeTestCertificates(certFolder_->Path());
  }
  static void TearDownTestSuite() { certFolder_.reset(); }

  void SetUp() override {
    DmTest::SetUp();
    EnsureApplication();
    saved_ = CommSettings;
    savedAppKind_ = AppKind;
    AppKind = 0;
    responder_ = std::make_unique<ScriptedResponder>(mrOk);
    responder_->Install();
    InstallDataInfoHooks();
    ASSERT_TRUE(SystemStore().fnAccDefConnected("", false));
    ExecOn(Db(), "UPDATE ACCVERSION SET MAJOR=11, MINOR1=1, MINOR2=0 WHERE REC=1");
    ExecOn(Db(), std::string("UPDATE ACCDEF1 SET WEB_HOLDER='") + kCommId +
                     "', PASWORD='pw3', CLOUD_LINE=0, CLOUD_TIME=NULL WHERE REC=1");
    ExecOn(Db(), std::string("UPDATE OR INSERT INTO TUSIN_ID (REC, HOLDER, PASWORD) VALUES (1, '") + kCashId +
                     "', 'gp1') MATCHING (REC)");
    store_ = std::make_unique<TFakeFileStore>(root_, kCommId, "ftppw");
    QJsonObject state = FakeState(kCommId, "127.0.0.1:" + std::to_string(store_->Port()), "ftppw");
    QJsonObject ids = state["ids"].toObject();
    ids[kCashId] = FakeState(kCashId, "", "")["ids"].toObject()[kCashId];
    state["ids"] = ids;
    state["now"] = "2024/06/02 13:14:15";
    member_ = std::make_unique<TFakeMemberService>(dir_.Path(), certs_.ServerCert, certs_.ServerKey, state);
    CommSettings.MemberHost = "127.0.0.1";
    CommSettings.MemberPort = member_->Port();
    CommSettings.CaFile = certs_.CaFile;
    CommSettings.InstallationId = "INST-1";
  }
  void TearDown() override {
    window_.reset();
    dialog_.reset();
    responder_.reset();
    member_.reset();
    store_.reset();
    CommSettings = saved_;
    AppKind = savedAppKind_;
    DmTest::TearDown();
  }

  std::string Db() const { return DataFolder(1) + "/rqacc.fdb"; }
  TfmDataTusin& Window() {
    if (!window_) {
      window_ = std::make_unique<TfmDataTusin>();
      window_->StepPauseSeconds = 0;
    }
    return *window_;
  }
  // The data set connected as the current one, its values loaded.
  void UseDataSet() {
    ConnectDataSet(1);
    ASSERT_TRUE(DataSetConnection().fnGetAccInfo());
  }
  QJsonObject Slot(const char* id, int area) const {
    return member_->State()["ids"].toObject()[id].toArray()[area - 1].toObject();
  }
  void PutSlot(const char* id, int area, const QJsonObject& slot) {
    QJsonObject state = member_->State();
    QJsonObject ids = state["ids"].toObject();
    QJsonArray areas = ids[id].toArray();
    areas[area - 1] = slot;
    ids[id] = areas;
    state["ids"] = ids;
    member_->SetState(state);
  }
  std::vector<std::string> Codes() {
    std::vector<std::string> codes;
    const std::vector<std::string> log = member_->RequestLog();
    for (std::size_t i = logRead_; i < log.size(); ++i) {
      const std::size_t at = log[i].find("Scode=");
      if (at != std::string::npos) codes.push_back(log[i].substr(at + 6, 4));
    }
    logRead_ = log.size();
    return codes;
  }
  bool Shown(const std::string& text) const {
    for (const ShownDialog& d : responder_->Shown())
      for (const std::string& l : d.lines)
        if (l.find(text) != std::string::npos) return true;
    return false;
  }
  // Runs Action on the data-communication window when it is shown modally.
  void OnWindow(std::function<void(TfmDataTusin&)> action) {
    responder_->Then([action](const ShownDialog& shown) {
      action(*static_cast<TfmDataTusin*>(shown.window));
      return mrNone;
    });
  }
  // Answers the password dialog: the box ticked and Password typed.
  static TModalResult AnswerPassword(const ShownDialog& shown, const std::string& password) {
    auto& p = *static_cast<TfmTusinSettiPas*>(shown.window);
    p.CheckBox1->setChecked(true);
    p.txtConPasswd->setText(QString::fromStdString(password));
    p.btnOKClick();
    return mrNone;
  }
  static void Focus(TfmDataTusin& w, int slot) { w.PerfectGrid1->SetRow(slot); }

  static std::unique_ptr<TTempFolder> certFolder_;
  static TTestCertificates certs_;
  TTempFolder dir_;
  std::string root_ = dir_ / "store";
  std::unique_ptr<TFakeFileStore> store_;
  std::unique_ptr<TFakeMemberService> member_;
  std::unique_ptr<ScriptedResponder> responder_;
  std::unique_ptr<TfmDataTusin> window_;
  std::unique_ptr<TfrmTusinSettei> dialog_;
  TCommSettings saved_;
  std::uint8_t savedAppKind_ = 0;
  std::size_t logRead_ = 0;
};

std::unique_ptr<TTempFolder> DataTusinWindowTest::certFolder_;
TTestCertificates DataTusinWindowTest::certs_;

TEST_F(DataTusinWindowTest, SettingsDialogChoosesACloudAreaInTheWindow) {
  PutSlot(kCommId, 2, FakeSlot(2, CompanyNameField("使用中の会社"), "2024-05-01 10:00:00", "2", "pw3"));
  PutSlot(kCommId, 4, FakeSlot(4, CompanyNameField("別の会社"), "2024-05-02 10:00:00", "1", "other"));
  dialog_ = std::make_unique<TfrmTusinSettei>();
  std::string row2Status, row4Name, hint;
  bool f4On2 = false, f5On2 = true, f4On4 = true, f5On4 = false, stayedOpen = false;
  responder_->Then([&](const ShownDialog& shown) {
    auto& d = *static_cast<TfrmTusinSettei*>(shown.window);
    d.RadioButton1->setChecked(true);
    d.txtConPasswd->setText("pw3");
    d.btnKyouyuClick();  // opens the window below, then closes the dialog
    return mrNone;
  });
  OnWindow([&](TfmDataTusin& w) {
    row2Status = w.PerfectGrid1->CellText(2, 1);
    row4Name = w.PerfectGrid1->CellText(4, 2);
    hint = w.windowTitle().toStdString();
    Focus(w, 2);
    f4On2 = w.F4->isEnabled();
    f5On2 = w.F5->isEnabled();
    Focus(w, 4);
    f4On4 = w.F4->isEnabled();
    f5On4 = w.F5->isEnabled();
    w.F1Click(w.F12);  // another password: refused
    stayedOpen = w.isVisible() && !w.Chosen;
    Focus(w, 5);
    w.F1Click(w.F12);  // an empty area: the start message, chosen
  });
  TCloudShareChoice choice;
  ASSERT_EQ(dialog_->OpenCloudShareSettings(DataFolder(1), choice), 0);
  EXPECT_EQ(hint, "クラウドシェア領域を選択");
  EXPECT_EQ(row2Status, "使用中");
  EXPECT_EQ(row4Name, "別の会社");
  EXPECT_TRUE(f4On2);
  EXPECT_FALSE(f5On2);
  EXPECT_FALSE(f4On4);
  EXPECT_TRUE(f5On4);
  EXPECT_TRUE(stayedOpen);
  EXPECT_TRUE(Shown("クラウド領域のデータと現在選択中のデータのパスワードが一致しません。"));
  EXPECT_TRUE(Shown("お手元のデータをアップロードしてクラウドシェアを開始します。"));
  EXPECT_EQ(choice.Slot, 5);
  EXPECT_EQ(choice.SendNow, 1);
  EXPECT_EQ(Codes(), std::vector<std::string>{"1723"});
  ConnectDataSet(1);
  EXPECT_EQ(QueryDat("SELECT CLOUD_LINE FROM ACCDEF1 WHERE REC=1"), "5");
}

TEST_F(DataTusinWindowTest, NextYearAreaTakesOnlyAnEmptyArea) {
  UseDataSet();
  PutSlot(kCommId, 1, FakeSlot(1, CompanyNameField("今年の会社"), "2024-05-01 10:00:00", "1", "pw3"));
  OnWindow([&](TfmDataTusin& w) {
    Focus(w, 1);
    w.F1Click(w.F12);  // refused: holds data
    EXPECT_FALSE(w.Chosen);
    Focus(w, 2);
    w.F1Click(w.F12);
  });
  EXPECT_EQ(Window().CloudShareSelectNextYearArea(DataFolder(1)), 0);
  EXPECT_TRUE(Shown("翌年度更新処理中の場合は、空白行を選択してください。"));
  EXPECT_FALSE(Shown("お手元のデータをアップロードしてクラウドシェアを開始します。"));
  EXPECT_TRUE(Window().Chosen);
  EXPECT_EQ(Window().ChosenArea, 2);
  EXPECT_EQ(Window().ChosenCompany, "");

  // An unknown ID: no slot table, the window is not shown.
  AccInf.WEB_HOLDER = "unknown00000";
  responder_->Clear();
  EXPECT_EQ(Window().CloudShareSelectNextYearArea(DataFolder(1)), 1);
  EXPECT_TRUE(Shown("通信IDを確認して下さい。"));
  EXPECT_FALSE(Window().Chosen);
}

TEST_F(DataTusinWindowTest, CloudSlotIsReleasedAndDeletedAfterThePassword) {
  UseDataSet();
  PutSlot(kCommId, 2, FakeSlot(2, CompanyNameField("止めた会社"), "2024-05-01 10:00:00", "2", "pw3"));
  std::vector<std::string> codesWhileInUse;
  std::string statusAfterRelease, nameAfterDelete;
  OnWindow([&](TfmDataTusin& w) {
    Codes();
    Focus(w, 2);
    w.DeleteSlotData();  // in use: refused without a request
    codesWhileInUse = Codes();
    responder_->Then(mrCancel);  // the password dialog cancelled: nothing sent
    w.F1Click(w.F4);
    responder_->Then([](const ShownDialog& s) { return AnswerPassword(s, "pw3"); });
    w.F1Click(w.F4);
    statusAfterRelease = w.PerfectGrid1->CellText(2, 1);
    EXPECT_TRUE(w.F5->isEnabled());
    responder_->Then([](const ShownDialog& s) { return AnswerPassword(s, "pw3"); });
    w.F1Click(w.F5);
    nameAfterDelete = w.PerfectGrid1->CellText(2, 2);
    w.ESCClick();
  });
  EXPECT_EQ(Window().CloudShareSelectArea(DataFolder(1)), 0);
  EXPECT_TRUE(codesWhileInUse.empty());
  EXPECT_TRUE(Shown("現在使用中のため削除できません。"));
  EXPECT_EQ(statusAfterRelease, "未使用");
  EXPECT_TRUE(Shown("使用中を解除しました。"));
  EXPECT_TRUE(Shown("クラウドシェアのデータを削除しました。"));
  EXPECT_EQ(nameAfterDelete, "");
  EXPECT_EQ(Codes(), (std::vector<std::string>{"1730", "1753"}));
  EXPECT_EQ(Slot(kCommId, 2)["company_b64"].toString(), "");
  EXPECT_FALSE(Window().Chosen);
}

TEST_F(DataTusinWindowTest, RelaySendAndReceiveThroughSlotThree) {
  UseDataSet();
  const std::string journals = "SELECT COUNT(*) || '/' || SUM(CAST(KINGAKU AS BIGINT)) FROM SIWAKE";
  const std::string before = QueryDat(journals);
  const std::string memo = QueryDat("SELECT COALESCE(MEMO, '') FROM ACCVERSION WHERE REC=1");

  // Send: F12 on row 3, the question answered Yes.
  OnWindow([&](TfmDataTusin& w) {
    w.FormActivate();  // the slot table and the grid
    Focus(w, 3);
    responder_->Then(mrYes);
    w.F1Click(w.F12);
  });
  Window().SetParams({"SyoriType=1", "FormStyle=0"});
  EXPECT_EQ(Window().Execute(1), 0);
  EXPECT_EQ(Codes(), (std::vector<std::string>{"1720", "1820"}));
  EXPECT_TRUE(fs::exists(root_ + "/03/rqacc.wen"));
  EXPECT_TRUE(Shown("データ送信処理が終了しました。"));
  TPerfectGrid& grid = *Window().PerfectGrid1;
  EXPECT_EQ(grid.CellText(3, 1), AccInf.ENTTEXT);
  EXPECT_EQ(grid.CellText(3, 4), "2024/06/02 13:14");
  EXPECT_EQ(grid.CellText(3, 5), "-");
  EXPECT_EQ(grid.CellText(2, 1), "") << "only the chosen row changes";
  EXPECT_EQ(Slot(kCommId, 3)["password"].toString(), "pw3");

  // Changed locally, then received back over the data set.
  if (!DataSetConnection().IBDatabaseDAT.Connected()) UseDataSet();
  DataSetConnection().AccDatDisconnect(DataFolder(1), false, false);
  ExecOn(Db(), "UPDATE SIWAKE SET KINGAKU = KINGAKU + 1000");
  ExecOn(Db(), "UPDATE ACCVERSION SET MEMO='local change' WHERE REC=1");
  UseDataSet();
  ASSERT_NE(QueryDat(journals), before);
  responder_->Clear();
  window_.reset();
  OnWindow([&](TfmDataTusin& w) {
    w.FormActivate();
    Focus(w, 3);
    responder_->Then(mrYes);
    w.F1Click(w.F12);
  });
  Window().SetParams({"SyoriType=2"});
  EXPECT_EQ(Window().Execute(1), 1);
  EXPECT_EQ(Codes(), (std::vector<std::string>{"1720", "1830"}));
  EXPECT_TRUE(Shown("データ受信処理が終了しました。"));
  EXPECT_EQ(Window().PerfectGrid1->CellText(3, 5), "2024/06/02 13:14");
  if (!DataSetConnection().IBDatabaseDAT.Connected()) UseDataSet();
  EXPECT_EQ(QueryDat(journals), before);
  EXPECT_EQ(QueryDat("SELECT COALESCE(MEMO, '') FROM ACCVERSION WHERE REC=1"), memo);
}

TEST_F(DataTusinWindowTest, RelaySendWithAFailedAnalysisUploadIsNotReportedDone) {
  ExecOn(Db(), "DELETE FROM ACCREG WHERE AGROUP='通信設定' AND ACODE='クラウド区分'");
  ExecOn(Db(), "INSERT INTO ACCREG(AGROUP,ACODE,ATYPE,ATEXT) VALUES('通信設定','クラウド区分','整数','1')");
  UseDataSet();
  const std::string savedServer = AppInfo.WebTessalyServer;
  AppInfo.WebTessalyServer = "127.0.0.1:1";  // nothing answers there
  bool stayedOpen = false;
  OnWindow([&](TfmDataTusin& w) {
    w.FormActivate();
    Focus(w, 3);
    responder_->Then(mrYes);
    w.F1Click(w.F12);
    stayedOpen = w.isVisible();
    w.ESCClick();
  });
  Window().SetParams({"SyoriType=1"});
  EXPECT_EQ(Window().Execute(1), 0);
  AppInfo.WebTessalyServer = savedServer;
  EXPECT_EQ(Window().State.DumpFlag, 1);
  EXPECT_TRUE(Shown("経営テサリークラウドデータを送信できません。"));
  EXPECT_FALSE(Shown("データ送信処理が終了しました。"));
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(Codes(), (std::vector<std::string>{"1720", "1820"}));
  const fs::path work = fs::path(SystemDef.WinTempDir) / "ComS";
  EXPECT_TRUE(!fs::exists(work) || fs::is_empty(work));
}

TEST_F(DataTusinWindowTest, RelaySlotDeletionAsksAndEmptiesTheSlot) {
  UseDataSet();
  PutSlot(kCommId, 6, FakeSlot(6, CompanyNameField("古い送信"), "2024-05-01 10:00:00", "1", "pw3"));
  OnWindow([&](TfmDataTusin& w) {
    w.FormActivate();
    Focus(w, 5);
    w.F1Click(w.F5);  // empty: nothing to delete
    Focus(w, 6);
    responder_->Then(mrNo);
    w.F1Click(w.F5);  // declined
    responder_->Then(mrYes);
    w.F1Click(w.F5);
    EXPECT_EQ(w.PerfectGrid1->CellText(6, 1), "");
    w.ESCClick();
  });
  Window().SetParams({"SyoriType=1"});
  EXPECT_EQ(Window().Execute(1), 0);
  EXPECT_TRUE(Shown("選択したフォルダには、データは存在しません。"));
  EXPECT_TRUE(Shown("中継サーバーのデータを削除しました。"));
  EXPECT_EQ(Codes(), (std::vector<std::string>{"1720", "1750"}));
  EXPECT_EQ(Slot(kCommId, 6)["company_b64"].toString(), "");
}

TEST_F(DataTusinWindowTest, OperationsStartedByNameAreRefused) {
  // A full data set of the same period start in cash-book slot 3, data in slot 1.
  QJsonObject full = FakeSlot(3, CompanyNameField("全データ"), "2024-05-01 10:00:00", "1", "gp1");
  struct Case {
    const char* name;
    int code;
    std::function<void()> arrange;
    const char* message;
    std::vector<std::string> codes;
  };
  UseDataSet();
  const std::string kishu = FormatDateTime("yyyy-mm-dd", AccInf.KISHU) + " 00:00:00";
  full["kishu"] = QString::fromStdString(kishu);
  std::unique_ptr<TIBDatabase> other;
  const Case cases[] = {
      {"combined data set", opCashBookSend, [] { AccInf.GassanKbn = 1; },
       "合算データのため、現金出納帳の送信処理は行えません。", {}},
      {"combined data set, receive", opCashBookReceive, [] { AccInf.GassanKbn = 2; },
       "合算データのため、現金出納帳の受信処理は行えません。", {}},
      {"another operator attached", opCashBookReceive,
       [&] {
         other = std::make_unique<TIBDatabase>();
         other->DatabaseName = Db();
         other->Params = TIBStrings{"user_name=VFNZFR", "lc_ctype=SJIS_0208"};
         other->Open();
         responder_->Then(mrNo);
       },
       "このデータは他のオペレータが使用中です。現金出納帳受信を開始しますか？", {}},
      {"unreceived full data in slot 3", opCashBookSend,
       [&] {
         PutSlot(kCashId, 3, full);
         responder_->Then(mrYes);  // "中継サーバーにデータを送信します。"
       },
       "中継サーバーに未受信の全データが存在しますので送信できません。", {"1720"}},
      {"master send with slot 1 full", opMasterSend,
       [&] {
         PutSlot(kCashId, 1, FakeSlot(1, CompanyNameField("出納帳"), "2024-05-01 10:00:00", "1", "gp1"));
         responder_->Then(mrYes);
       },
       "受信処理を行ってから、マスター送信して下さい。", {"1720"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UseDataSet();
    responder_->Clear();
    Codes();
    c.arrange();
    window_.reset();
    Window().SetParams({"SyoriType=" + std::to_string(c.code)});
    EXPECT_EQ(Window().Execute(1), -1);
    EXPECT_TRUE(Shown(c.message));
    EXPECT_EQ(Codes(), c.codes);
    if (other) other->Close();
    other.reset();
  }
}

TEST_F(DataTusinWindowTest, CancelledCashBookReceiveKeepsTheSlot) {
  // The file store of the cash-book communication ID.
  const std::string cashRoot = dir_ / "cashstore";
  store_ = std::make_unique<TFakeFileStore>(cashRoot, kCashId, "ftppw");
  QJsonObject state = member_->State();
  state["ftp_host"] = QString::fromStdString("127.0.0.1:" + std::to_string(store_->Port()));
  member_->SetState(state);
  UseDataSet();

  // The automatic send fills slot 01 without an end message.
  responder_->Then(mrYes);  // "中継サーバーにデータを送信します。"
  Window().SetParams({"SyoriType=" + std::to_string(opAutoSend)});
  EXPECT_EQ(Window().Execute(1), 1);
  EXPECT_EQ(Codes(), (std::vector<std::string>{"1720", "1810"}));
  EXPECT_TRUE(fs::exists(cashRoot + "/01/rqacc.wen"));
  EXPECT_EQ(Slot(kCashId, 1)["password"].toString(), "gp1");
  EXPECT_FALSE(Shown("送信処理が終了しました。"));
  const fs::path sendWork = fs::path(SystemDef.WinTempDir) / "ComS";
  EXPECT_TRUE(!fs::exists(sendWork) || fs::is_empty(sendWork));

  // The receive of slot 01: its loader window is cancelled.
  if (!DataSetConnection().IBDatabaseDAT.Connected()) UseDataSet();
  window_.reset();
  int loaderShown = 0;
  Window().ShowCashBookLoader = [&](TCashBookLoaderBox&) {
    ++loaderShown;
    return mrCancel;
  };
  responder_->Clear();
  responder_->Then(mrYes);  // "これよりデータを受信します。"
  Window().SetParams({"SyoriType=" + std::to_string(opCashBookReceive)});
  EXPECT_EQ(Window().Execute(1), 1);
  EXPECT_EQ(loaderShown, 1);
  EXPECT_EQ(Codes(), (std::vector<std::string>{"1720"})) << "no deletion of the slot";
  EXPECT_TRUE(fs::exists(cashRoot + "/01/rqacc.wen"));
  EXPECT_NE(Slot(kCashId, 1)["company_b64"].toString(), "");
  EXPECT_FALSE(fs::exists(SystemDef.TempDir + "/rqacc.fdb")) << "the received file is not left behind";
  EXPECT_FALSE(Shown("受信処理が正常に終了していません。"));
}

TEST_F(DataTusinWindowTest, CashBookSendWhoseSenderFailsIsNotReportedDone) {
  store_ = std::make_unique<TFakeFileStore>(dir_ / "cashstore", kCashId, "ftppw");
  QJsonObject state = member_->State();
  state["ftp_host"] = QString::fromStdString("127.0.0.1:" + std::to_string(store_->Port()));
  member_->SetState(state);
  // A linked cash entry to be marked, and a database that refuses the mark:
  // the sender reports an error.
  ExecOn(Db(), "UPDATE SIWAKE SET LINKREC=1, LINKKUB=0, DELFLG=0, TAISHAKU=1 "
               "WHERE REC=(SELECT MIN(REC) FROM SIWAKE)");
  ExecOn(Db(), "CREATE EXCEPTION E_NO_MARK 'marking refused'");
  ExecOn(Db(), "CREATE TRIGGER T_NO_MARK FOR SIWAKE BEFORE UPDATE AS BEGIN "
               "IF (NEW.LINKKUB = 10) THEN EXCEPTION E_NO_MARK; END");
  UseDataSet();
  responder_->Then(mrYes);  // "中継サーバーにデータを送信します。"
  Window().SetParams({"SyoriType=" + std::to_string(opCashBookSend)});
  EXPECT_EQ(Window().Execute(1), 1);
  EXPECT_EQ(Codes(), (std::vector<std::string>{"1720", "1810"}));
  EXPECT_TRUE(Shown("データセンダーエラー2"));
  EXPECT_FALSE(Shown("送信処理が終了しました。"));
}

TEST_F(DataTusinWindowTest, ServerCheckListsAndDeletesTheCashBookSlots) {
  PutSlot(kCashId, 2, FakeSlot(2, CompanyNameField("出納帳の会社"), "2024-05-01 10:00:00", "1", "gp1"));
  UseDataSet();
  std::vector<std::string> titles;
  std::string name, caption;
  bool f12Visible = true;
  OnWindow([&](TfmDataTusin& w) {
    for (int r = 1; r <= w.PerfectGrid1->Rows(); ++r) titles.push_back(w.PerfectGrid1->CellText(r, 0));
    name = w.PerfectGrid1->CellText(2, 1);
    caption = w.windowTitle().toStdString();
    f12Visible = w.F12->isVisible();
    Focus(w, 1);
    w.F1Click(w.F5);  // empty
    Focus(w, 2);
    w.F1Click(w.F5);
    EXPECT_EQ(w.PerfectGrid1->CellText(2, 1), "");
    w.ESCClick();
  });
  Window().SetParams({"SyoriType=" + std::to_string(opServerCheck)});
  EXPECT_EQ(Window().Execute(1), -1);
  EXPECT_EQ(titles, (std::vector<std::string>{"受信", "送信", "全送信"}));
  EXPECT_EQ(name, "出納帳の会社");
  EXPECT_EQ(caption, "サーバー確認");
  EXPECT_FALSE(f12Visible);
  EXPECT_TRUE(Shown("選択したフォルダには、データは存在しません。"));
  EXPECT_TRUE(Shown("中継サーバーのデータを削除しました。"));
  EXPECT_EQ(Codes(), (std::vector<std::string>{"1720", "1750"}));
  EXPECT_EQ(Slot(kCashId, 2)["company_b64"].toString(), "");
  const std::vector<std::string> log = member_->RequestLog();
  ASSERT_FALSE(log.empty());
  EXPECT_NE(log[log.size() - 2].find(std::string("sFName=") + kCashId), std::string::npos) << log[log.size() - 2];
}

TEST_F(DataTusinWindowTest, CashBookOperationEndsItsHistoryEntryOnEveryRoad) {
  const std::string cashRoot = dir_ / "cashstore";
  store_ = std::make_unique<TFakeFileStore>(cashRoot, kCashId, "ftppw");
  QJsonObject state = member_->State();
  state["ftp_host"] = QString::fromStdString("127.0.0.1:" + std::to_string(store_->Port()));
  member_->SetState(state);
  InstallDataModuleFormStore();  // the program's history writer
  struct Case {
    const char* name;
    int code;
    const char* job;  // the window's caption
    std::function<void()> arrange;
    std::int32_t result;
  };
  const Case cases[] = {
      {"refused: combined data set", opCashBookSend, "現金出納帳送信", [] { AccInf.GassanKbn = 1; }, -1},
      {"send declined", opCashBookSend, "現金出納帳送信", [&] { responder_->Then(mrNo); }, -1},
      {"no slot table", opCashBookReceive, "現金出納帳受信", [] { AccInf.TusinHolder[1] = "unknown00000"; }, 0},
      {"nothing to receive", opCashBookReceive, "現金出納帳受信", [] {}, 0},
      {"sent", opCashBookSend, "現金出納帳送信", [&] { responder_->Then(mrYes); }, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (!DataSetConnection().IBDatabaseDAT.Connected()) UseDataSet();
    DataSetConnection().AccDatDisconnect(DataFolder(1), false, false);
    ExecOn(Db(), "DELETE FROM OPHIST");
    ExecOn(Db(), "DELETE FROM OPINF");
    ExecOn(Db(), "INSERT INTO OPINF (OPCODE, JOBNAME, PCNAME, OPENTIME) VALUES (" + std::to_string(SystemDef.OpCode) +
                     ", '" + c.job + "', 'pc', CURRENT_TIMESTAMP)");
    UseDataSet();
    responder_->Clear();
    c.arrange();
    window_.reset();
    Window().SetParams({"SyoriType=" + std::to_string(c.code)});
    EXPECT_EQ(Window().Execute(1), c.result);
    if (!DataSetConnection().IBDatabaseDAT.Connected()) UseDataSet();
    EXPECT_EQ(QueryDat("SELECT COUNT(*) FROM OPINF"), "0");
    EXPECT_EQ(QueryDat("SELECT LIST(JOBNAME) FROM OPHIST"), c.job);
  }
  SetFormDataStore(nullptr);
  SetDbErrorReporter(nullptr);
  EXPECT_TRUE(Shown("送信処理が終了しました。")) << "the last road completed";
}

TEST_F(DataTusinWindowTest, SendComparisonShowsPeriodsInTheEraCalendarWhenItIsOn) {
  if (GengoTable.empty()) BuildGengoTable();
  const int savedEra = SystemDef.WarekiDisplay;
  struct Case {
    int era;
    TDateTime kishu, kimatu;                 // the data set's period
    const char* slotKishu;                   // the slot's period
    const char* slotKimatu;
    const char* local;
    const char* server;
  };
  const Case cases[] = {
      {0, EncodeDate(2024, 4, 1), EncodeDate(2025, 3, 31), "2023/04/01 00:00", "2024/03/31 00:00",
       "2024/04/01 ～ 2025/03/31", "2023/04/01 ～ 2024/03/31"},
      {1, EncodeDate(2024, 4, 1), EncodeDate(2025, 3, 31), "2023/04/01 00:00", "2024/03/31 00:00",
       "R 06/04/01 ～ R 07/03/31", "R 05/04/01 ～ R 06/03/31"},
      {1, EncodeDate(2019, 4, 1), EncodeDate(2020, 3, 31), "2018/04/01 00:00", "2019/03/31 00:00",
       "H 31/04/01 ～ R 02/03/31", "H 30/04/01 ～ H 31/03/31"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.local);
    SystemDef.WarekiDisplay = c.era;
    AccInf.SHOUGOU = "同じ会社";
    AccInf.KISHU = c.kishu;
    AccInf.KIMATU = c.kimatu;
    AccInf.TusinPassword[1] = "gp1";
    TSlotEntry& e = Window().Member.SlotTable.Slots[1];
    e.CompanyName = "同じ会社";
    e.Password = "gp1";
    e.Kishu = c.slotKishu;
    e.Kimatu = c.slotKimatu;
    std::vector<std::string> lines;
    responder_->Then([&](const ShownDialog& shown) {
      lines = shown.lines;
      return mrCancel;  // closed without an answer: not an agreement to overwrite
    });
    EXPECT_EQ(Window().CompareBeforeCashBookSend(2), -1);
    EXPECT_NE(std::find(lines.begin(), lines.end(), std::string("現在利用中の会計期間　：　") + c.local), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), std::string("中継サーバーの会計期間：　") + c.server), lines.end());
  }
  SystemDef.WarekiDisplay = savedEra;
}

TEST_F(DataTusinWindowTest, ClosingConnectsTheDataSetAgainAndTellsTheHost) {
  struct Case {
    const char* name;
    bool folderGone;  // the current data set's folder no longer holds it
  };
  const Case cases[] = {{"reconnected", false}, {"reconnection fails", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UseDataSet();
    const std::string period =
        FormatDateTime("yyyy/mm/dd", AccInf.KISHU) + " ～ " + FormatDateTime("yyyy/mm/dd", AccInf.KIMATU);
    const std::string company = AccInf.SHOUGOU;
    const std::int32_t siten = AccInf.SITEN;
    std::string facility;
    DataSetConnection().GetOpeDefSisetu(facility);
    std::vector<std::string> told;
    MenuStatusTextProc = [&](bool panel, const std::string& text, std::int32_t branch, const std::string& range) {
      told.push_back(std::to_string(panel) + "|" + text + "|" + std::to_string(branch) + "|" + range);
    };
    MenuStatusRefreshProc = [&](bool panel, std::int32_t arg) {
      told.push_back("refresh " + std::to_string(panel) + " " + std::to_string(arg));
    };
    responder_->Clear();
    window_.reset();
    OnWindow([&](TfmDataTusin& w) {
      DataSetConnection().AccDatDisconnect(DataFolder(1), false, false);
      if (c.folderGone) SystemDef.DataDir = dir_ / "gone";
      w.ESCClick();
    });
    Window().SetParams({"SyoriType=" + std::to_string(opServerCheck)});
    Window().Execute(1);
    MenuStatusTextProc = nullptr;
    MenuStatusRefreshProc = nullptr;
    if (c.folderGone) {
      EXPECT_TRUE(Shown("データの接続に失敗したため、データ選択画面を開きます。"));
      EXPECT_EQ(SystemDef.DataDir, "");
      EXPECT_TRUE(told.empty());
    } else {
      EXPECT_FALSE(Shown("データの接続に失敗したため"));
      EXPECT_TRUE(DataSetConnection().IBDatabaseDAT.Connected());
      EXPECT_EQ(SystemDef.DataDir, DataFolder(1));
      EXPECT_EQ(told, (std::vector<std::string>{"0|" + company + "|" + std::to_string(siten) + "|" + period,
                                                "1|" + facility + "|" + std::to_string(siten) + "|",
                                                "refresh 0 0", "refresh 1 0"}));
    }
  }
  SystemDef.DataDir = DataFolder(1);
}

TEST(DataTusinRegistration, WindowIsStartedByItsProcessName) {
  const TProcessClass* cls = RegisterDataTusin();
  EXPECT_EQ(FindProcessClass("wzdatatusin"), cls);
}

TEST(DataTusinVersionText, VersionsAsTheGridShowsThem) {
  struct Case {
    int major, minor;
    const char* text;
  } cases[] = {{11, 1, "19消改版"}, {6, 1, "14消改版"}, {11, 2, "11.2"}, {0, 0, "8版"},
               {1, 0, "09版"},      {2, 0, "10版"},     {11, 0, "19版"}};
  for (const Case& c : cases) EXPECT_EQ(VersionDisplayText(c.major, c.minor), c.text) << c.major << "." << c.minor;
  EXPECT_EQ(SlotVersionText("1101"), "19消改版");
  EXPECT_EQ(SlotVersionText(""), "");
}

}  // namespace
