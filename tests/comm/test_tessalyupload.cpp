// The upload of the analysis dump against the loopback stand-ins of the
// analysis service (HTTPS) and its FTP store.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QJsonDocument>
#include <QJsonObject>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <thread>

#include "comm/commsettings.h"
#include "comm/fakes/fakeservers.h"
#include "comm/tessalyupload.h"
#include "core/appinfo.h"
#include "core/globals.h"
#include "dbaccess/datasetconnection.h"
#include "dmtest.h"

namespace fs = std::filesystem;

namespace {

// An upload whose dump leaves an empty script behind.
class TEmptyScriptUpload : public TFtpWebDbSqlDump {
 protected:
  bool WriteScript() override {
    const bool written = TFtpWebDbSqlDump::WriteScript();
    std::ofstream(DumpWriter.OutputPath, std::ios::trunc);
    return written;
  }
};

constexpr const char* kFtpPassword = "ftp-pw";
constexpr const char* kUser = "ABCDEFGHIJKL";

// The analysis service: replies per pmd, read from a JSON state file.
class TFakeAnalysisService {
 public:
  TFakeAnalysisService(const std::string& Folder, const TTestCertificates& Certs, const QJsonObject& State)
      : state_(Folder + "/analysis-state.json"), log_(Folder + "/analysis-requests.log") {
    SetState(State);
    WriteTextFile(log_, "");
    const std::string portFile = Folder + "/analysis-port";
    TChildOptions options;
    options.output = TChildOptions::Output::File;
    options.outputFile = Folder + "/analysis-server.out";
    if (!process_.Start("/usr/bin/python3",
                        {std::string(COMM_FAKES_DIR) + "/analysis_service.py", "--cert", Certs.ServerCert, "--key",
                         Certs.ServerKey, "--state", state_, "--log", log_, "--port-file", portFile},
                        options))
      throw std::runtime_error(process_.LastError());
    for (int i = 0; i < 200 && !fs::exists(portFile); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (!fs::exists(portFile)) throw std::runtime_error("analysis service did not start: " + ReadTextFile(options.outputFile));
    port_ = std::stoi(ReadTextFile(portFile));
  }
  int Port() const { return port_; }
  void SetState(const QJsonObject& State) const { WriteTextFile(state_, QJsonDocument(State).toJson().toStdString()); }
  std::string Log() const { return ReadTextFile(log_); }

 private:
  std::string state_, log_;
  TChildProcess process_;
  int port_ = 0;
};

QJsonObject Replies(const QJsonObject& first, const QJsonObject& second) {
  QJsonObject replies;
  replies["1000"] = first;
  replies["1100"] = second;
  QJsonObject state;
  state["replies"] = replies;
  return state;
}

// Runs python3 on a short script; its exit code and output.
int Python(const std::string& code, std::string* output) {
  return RunProcess("/usr/bin/python3", {"-c", code}, 60000, output);
}

class TessalyUploadTest : public dmtest::DmTest {
 protected:
  void SetUp() override {
    DmTest::SetUp();
    SystemDef.BaseDir = fs::path(VERUDA_INIT_DIR).parent_path().string();
    ConnectDataSet(1);
    ASSERT_TRUE(DataSetConnection().fnGetAccInfo());
    certs_ = MakeTestCertificates(folder_.Path());
    CommSettings.CaFile = certs_.CaFile;
    fs::create_directories(folder_ / "store");
    store_ = std::make_unique<TFakeFileStore>(folder_ / "store", kUser, kFtpPassword);
    service_ = std::make_unique<TFakeAnalysisService>(folder_.Path(), certs_, Good());
    AppInfo.WebTessalyServer = "127.0.0.1:" + std::to_string(service_->Port());
  }
  void TearDown() override {
    CommSettings = TCommSettings{};
    ZipProgram = "zip";
    DmTest::TearDown();
  }

  // Both requests answered "000", the FTP account on the store at FtpPort
  // (0: the test's store).
  QJsonObject Good(int FtpPort = 0) const {
    QJsonObject first;
    first["X-Add"] = QString::fromStdString("127.0.0.1:" + std::to_string(FtpPort ? FtpPort : store_->Port()));
    first["X-Pas"] = kFtpPassword;
    first["X-Status"] = "000";
    QJsonObject second;
    second["X-Status"] = "000";
    return Replies(first, second);
  }

  std::string Send(const std::string& id = "ABCD-EFGH-IJKL", int no = 3) {
    TFtpWebDbSqlDump upload;
    return Send(upload, id, no);
  }
  std::string Send(TFtpWebDbSqlDump& upload, const std::string& id = "ABCD-EFGH-IJKL", int no = 3) {
    upload.SizeCheckPause = 0;
    script_ = upload.DumpWriter.OutputPath;
    return upload.SendDump(id, no);
  }

  TTempFolder folder_;
  TTestCertificates certs_;
  std::unique_ptr<TFakeFileStore> store_;
  std::unique_ptr<TFakeAnalysisService> service_;
  std::string script_;
};

TEST_F(TessalyUploadTest, StoresTheEncryptedDumpInTheSlotFolderAndReportsIt) {
  TFtpWebDbSqlDump upload;
  upload.SizeCheckPause = 0;
  ASSERT_EQ(upload.SendDump("ABCD-EFGH-IJKL", 3), "000");
  EXPECT_EQ(upload.DatabaseName, "tessaly_d_ABCDEFGHIJKL_3");
  EXPECT_FALSE(fs::exists(upload.DumpWriter.OutputPath));  // the script never stays

  const std::string stored = folder_ / "store/03/rqacc.zip";
  ASSERT_TRUE(fs::exists(stored));
  std::string out;
  // The archive holds the script under its bare name, readable only with the password.
  EXPECT_EQ(Python("import zipfile\nz=zipfile.ZipFile('" + stored + "')\nprint(z.namelist())\nz.setpassword(b'Bendal6072')\n"
                       "t=z.read('rqacc.sql')\nassert b'USE `tessaly_d_ABCDEFGHIJKL_3`;' in t\n",
                   &out),
            0)
      << out;
  EXPECT_NE(out.find("['rqacc.sql']"), std::string::npos) << out;
  EXPECT_NE(Python("import zipfile\nzipfile.ZipFile('" + stored + "').read('rqacc.sql')\n", &out), 0);

  const std::string log = service_->Log();
  EXPECT_EQ(log,
            "GET /request.php?pmd=1000&fnm=ABCDEFGHIJKL HTTP/1.0\nUser-Agent=Pelorin\n"
            "GET /request.php?pmd=1100&fnm=ABCDEFGHIJKL&dno=3&dvr=11.1.0&fpa=Bendal6072 HTTP/1.0\n"
            "User-Agent=Pelorin\n");
}

TEST_F(TessalyUploadTest, ResultCodesOfTheUploadAndTheService) {
  QJsonObject noStatus = Good();
  {
    QJsonObject r = noStatus["replies"].toObject();
    QJsonObject first = r["1000"].toObject();
    first.remove("X-Status");
    r["1000"] = first;
    noStatus["replies"] = r;
  }
  auto withStatus = [&](const char* pmd, const char* code) {
    QJsonObject s = Good();
    QJsonObject r = s["replies"].toObject();
    QJsonObject reply = r[pmd].toObject();
    reply["X-Status"] = code;
    r[pmd] = reply;
    s["replies"] = r;
    return s;
  };
  auto wrongFtp = Good();
  {
    QJsonObject r = wrongFtp["replies"].toObject();
    QJsonObject first = r["1000"].toObject();
    first["X-Pas"] = "wrong";
    r["1000"] = first;
    wrongFtp["replies"] = r;
  }
  QJsonObject httpError = Good();
  httpError["http"] = QJsonObject{{"1000", 500}};
  fs::create_directories(folder_ / "store-noquit");
  const TFakeFileStore noQuit(folder_ / "store-noquit", kUser, kFtpPassword, {"--refuse-quit"});

  const std::string missingTemplate = folder_ / "missing-index.sql";
  const std::string slotFolder = folder_ / "store/03";
  struct Case {
    const char* name;
    std::string id;
    int no;
    QJsonObject state;
    std::string code;
    int requests;  // request lines the service received
    std::function<void(TFtpWebDbSqlDump&)> prepare = {};
    bool emptyScript = false;
  } cases[] = {
      {"no id", "---", 3, Good(), "801", 0},
      {"number 0", "ABCD-EFGH-IJKL", 0, Good(), "802", 0},
      {"number 11", "ABCD-EFGH-IJKL", 11, Good(), "802", 0},
      {"dump failed", "ABCD-EFGH-IJKL", 3, Good(), "811", 0,
       [&](TFtpWebDbSqlDump& u) { u.DumpWriter.IndexTemplate = missingTemplate; }},
      {"empty script", "ABCD-EFGH-IJKL", 3, Good(), "812", 0, {}, true},
      {"unknown id", "ABCD-EFGH-IJKL", 3, withStatus("1000", "902"), "902", 1},
      {"no X-Status", "ABCD-EFGH-IJKL", 3, noStatus, "", 1},
      {"http error", "ABCD-EFGH-IJKL", 3, httpError, "831", 1},
      {"ftp logon refused", "ABCD-EFGH-IJKL", 3, wrongFtp, "821", 1},
      {"no slot folder", "ABCD-EFGH-IJKL", 3, Good(), "823", 1, [&](TFtpWebDbSqlDump&) { fs::remove_all(slotFolder); }},
      {"ftp logout refused", "ABCD-EFGH-IJKL", 3, Good(noQuit.Port()), "822", 1},
      {"report refused", "ABCD-EFGH-IJKL", 3, withStatus("1100", "912"), "912", 2},
  };
  for (const auto& c : cases) {
    service_->SetState(c.state);
    const std::size_t before = service_->Log().size();
    std::unique_ptr<TFtpWebDbSqlDump> upload =
        c.emptyScript ? std::make_unique<TEmptyScriptUpload>() : std::make_unique<TFtpWebDbSqlDump>();
    if (c.prepare) c.prepare(*upload);
    EXPECT_EQ(Send(*upload, c.id, c.no), c.code) << c.name;
    const std::string log = service_->Log().substr(before);
    int requests = 0;
    for (auto p = log.find("GET "); p != std::string::npos; p = log.find("GET ", p + 1)) ++requests;
    EXPECT_EQ(requests, c.requests) << c.name;
    EXPECT_FALSE(fs::exists(script_)) << c.name;
    fs::create_directories(slotFolder);
  }
  // The refused logout came after the archive was stored.
  EXPECT_TRUE(fs::exists(folder_ / "store-noquit/03/rqacc.zip"));
  // No service at all.
  service_->SetState(Good());
  AppInfo.WebTessalyServer = "127.0.0.1:1";
  EXPECT_EQ(Send(), "831");
}

TEST_F(TessalyUploadTest, BrokenPutLeavesThePreviousFileAndSendsNoReport) {
  store_.reset();
  store_ = std::make_unique<TFakeFileStore>(folder_ / "store", kUser, kFtpPassword,
                                            std::vector<std::string>{"--short-store"});
  service_->SetState(Good());
  WriteTextFile(folder_ / "store/03/rqacc.zip", "previous");
  EXPECT_EQ(Send(), "824");
  EXPECT_EQ(ReadTextFile(folder_ / "store/03/rqacc.zip"), "previous");
  EXPECT_EQ(service_->Log().find("pmd=1100"), std::string::npos);
  EXPECT_FALSE(fs::exists(script_));
}

TEST_F(TessalyUploadTest, ArchiverFailuresGiveTheirCodes) {
  const std::string noCrypt = folder_ / "zip-nocrypt";
  WriteTextFile(noCrypt, "#!/bin/sh\necho 'Copyright (c) Info-ZIP. This is Zip 3.0 without it.'\n");
  const std::string empty = folder_ / "zip-empty";
  // Answers as a zip program that can encrypt, and writes an archive without entries.
  WriteTextFile(empty,
                "#!/bin/sh\nif [ \"$1\" = -v ]; then echo 'This is Zip 3.0 [encryption]'; exit 0; fi\n"
                "shift 5\nprintf 'PK\\005\\006\\000\\000\\000\\000\\000\\000\\000\\000\\000\\000\\000\\000\\000\\000"
                "\\000\\000\\000\\000' > \"$1\"\n");
  ::chmod(noCrypt.c_str(), 0755);
  ::chmod(empty.c_str(), 0755);
  struct Case {
    std::string program;
    int zipResult;
    std::string code;
  } cases[] = {
      {folder_ / "no-such-zip", -1, "813"},
      {noCrypt, -3, "813"},
      {empty, 0, "814"},
  };
  for (const auto& c : cases) {
    ZipProgram = c.program;
    const std::string archive = folder_ / "a.zip";
    EXPECT_EQ(ZipFiles("-D -P pw -q -j", "\"" + archive + "\"", "\"" + archive + "\""), c.zipResult) << c.program;
    EXPECT_EQ(Send(), c.code) << c.program;
  }
  EXPECT_EQ(service_->Log(), "");
}

TEST(TessalyResultMessage, CodesAndTheirTexts) {
  const std::pair<const char*, const char*> cases[] = {
      {"000", "正常終了"},
      {"801", "通信IDなし"},
      {"814", "SQLDumpファイルZip圧縮失敗(結果0バイト)"},
      {"831", "HTTP GET失敗"},
      {"924", "SQLDumpファイル不明"},
      {"", "原因不明のエラー発生"},
      {"999", "サーバープログラム例外エラー"},
      {"998", "原因不明のエラー発生"},
      {"00", "原因不明のエラー発生"},
  };
  for (const auto& [code, text] : cases) EXPECT_EQ(TFtpWebDbSqlDump::ResultMessage(code), text) << code;
}

TEST_F(TessalyUploadTest, SendAnalysisDumpNamesTheCodeInItsNotice) {
  TCommNotice notice;
  EXPECT_TRUE(SendAnalysisDump("ABCD-EFGH-IJKL", 2, notice));
  EXPECT_TRUE(notice.Empty());
  EXPECT_FALSE(SendAnalysisDump("", 2, notice));
  EXPECT_EQ(notice.Text,
            "経営テサリークラウドデータを送信できません。 エラー : 801 通信IDなし\r\n"
            "経営テサリークラウドサーバーメンテナンス中の可能性もあります。");
  EXPECT_TRUE(notice.YesButton);
  EXPECT_EQ(notice.Kind, kMsgError);
}

}  // namespace
