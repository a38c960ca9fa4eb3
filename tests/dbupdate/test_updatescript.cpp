// The update script of a step (layout, script files, Shift-JIS file readable
// by its owner only) and its run through the real isql-fb against real
// databases: every outcome the update run acts on.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <stdexcept>

#include "core/globals.h"
#include "dbupdate/updatescript.h"
#include "platform/rtl/cp932.h"
#include "updatefixture.h"

namespace fs = std::filesystem;
using updatetest::UpdateTest;

namespace {

std::vector<std::string> Masked(const std::vector<std::string>& lines) {
  static const std::regex time(R"(\d{4}/\d\d/\d\d \d\d:\d\d:\d\d)");
  std::vector<std::string> out;
  for (const std::string& line : lines) out.push_back(std::regex_replace(line, time, "<time>"));
  return out;
}

void WriteText(const std::string& path, const std::string& text) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

class UpdateScript : public UpdateTest {
 protected:
  void SetUp() override {
    UpdateTest::SetUp();
    CreateDatabase(SystemFile(), {"CREATE TABLE VERSION (REC INTEGER NOT NULL, MAJOR INTEGER, MINOR1 INTEGER,"
                                  " MINOR2 INTEGER, MEMO VARCHAR(127), CONSTRAINT PK_VERSION PRIMARY KEY (REC))",
                                  "CREATE TRIGGER VERSION_REC FOR VERSION ACTIVE BEFORE INSERT POSITION 0 AS BEGIN"
                                  " NEW.REC = (SELECT COALESCE(MAX(REC), 0) + 1 FROM VERSION); END",
                                  "CREATE TABLE T0 (A VARCHAR(40))"});
    Exec(SystemFile(), "INSERT INTO VERSION VALUES (1, 0, 3, 0, 'first')");
  }
  std::vector<std::string> Versions() { return Rows(SystemFile(), "SELECT MAJOR||'.'||MINOR1||'.'||MINOR2 FROM VERSION ORDER BY REC"); }
  std::string ErrLog(const char* ext) { return Folder("log/ErrDataup") + ext; }
};

TEST_F(UpdateScript, LayoutOfASystemAndAnAccountingStep) {
  TUpdateScript system(0, {4, 0, 2}, true);
  system.Add("ALTER TABLE DATALIST ADD DATA_STATUS INTEGER DEFAULT 0;");
  system.Add("COMMIT;");
  system.Finish();
  const std::vector<std::string> systemText = {
      "/* <time>,testpc,100000010 */",
      "",
      "CONNECT '" + Folder("data") + "/rqaccdef.fdb' USER 'VFNZFR' PASSWORD 'dravon';",
      "SET NAMES SJIS_0208;",
      "ALTER TABLE DATALIST ADD DATA_STATUS INTEGER DEFAULT 0;",
      "COMMIT;",
      "INSERT INTO VERSION(MAJOR,MINOR1,MINOR2,MEMO) VALUES(4,0,2,'<time>');",
      "COMMIT;",
      "EXIT;"};
  EXPECT_EQ(Masked(system.Lines()), systemText);

  // Over the server, with the step's script files (empty lines dropped, a
  // missing file skipped); values of the CONNECT line are escaped.
  ConnectKind = 1;
  SystemDef.HostName = "dbhost";
  SystemDef.DbPassword = "it's";
  WriteText(Folder("sql/300/rqzup01.sql"), "CREATE TABLE A1 (X INTEGER);\r\n\r\nCOMMIT;\n");
  WriteText(Folder("sql/300/rqzup03.sql"), "\nDROP TABLE A0;\n");
  TUpdateScript accounting(1, {3, 0, 0}, false);
  EXPECT_TRUE(accounting.AddScriptFiles({"rqzup01.sql", "rqzup02.sql", "rqzup03.sql"}, false));
  accounting.Finish();
  const std::vector<std::string> accountingText = {
      "/* <time>,testpc,100000010 */",
      "",
      "CONNECT 'dbhost:" + Folder("data/0001") + "/rqacc.fdb' USER 'VFNZFR' PASSWORD 'it''s';",
      "CREATE TABLE A1 (X INTEGER);",
      "COMMIT;",
      "DROP TABLE A0;",
      "UPDATE ACCVERSION SET MAJOR=3,MINOR1=0,MINOR2=0,MEMO='<time>'",
      "WHERE REC=1;",
      "COMMIT;",
      "EXIT;"};
  EXPECT_EQ(Masked(accounting.Lines()), accountingText);

  // A required file missing: nothing is added.
  TUpdateScript required(1, {3, 0, 0}, false);
  const std::size_t before = required.Lines().size();
  EXPECT_FALSE(required.AddScriptFiles({"rqzup01.sql", "rqzup02.sql"}, true));
  EXPECT_EQ(required.Lines().size(), before);
  EXPECT_EQ(StepScriptFolder({10, 0, 4}), Folder("sql/1004"));
  EXPECT_EQ(StepScriptFolder({11, 1, 0}), Folder("sql/1110"));

  // Step 11.0.1 of the system database: the version in two lines with a memo.
  TUpdateScript last(0, {11, 0, 1}, true);
  last.Finish();
  const std::vector<std::string> tail(last.Lines().end() - 4, last.Lines().end());
  EXPECT_EQ(Masked(tail), (std::vector<std::string>{"INSERT INTO VERSION(MAJOR,MINOR1,MINOR2,MEMO)",
                                                    "VALUES(11,0,1,'<time>,10,試験担当,testpc');", "COMMIT;",
                                                    "EXIT;"}));

  // Saved in Shift-JIS with CR LF line ends, readable by its owner only.
  last.Save();
  struct stat st {};
  ASSERT_EQ(::stat(UpdateScriptPath().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  const std::string bytes = ReadFile(UpdateScriptPath());
  EXPECT_NE(bytes.find(Utf8ToCp932("試験担当") + ",testpc');\r\nCOMMIT;\r\nEXIT;\r\n"), std::string::npos);
}

// A step procedure made of a body; the body of the current case.
std::vector<std::string> gBody;
bool gThrowAfterSave = false;

std::int32_t BodyStep() {
  TUpdateScript script(0, {0, 3, 1}, false);
  for (const std::string& line : gBody) script.Add(line);
  if (gThrowAfterSave) {
    script.Finish();
    script.Save();
    throw std::runtime_error("conversion failed");
  }
  return script.Run();
}

TEST_F(UpdateScript, RunOutcomes) {
  const std::string fakeTool = Folder("silent-tool");
  WriteText(fakeTool, "#!/bin/sh\nexit 0\n");
  ::chmod(fakeTool.c_str(), 0755);
  struct Case {
    const char* label;
    std::vector<std::string> body;
    std::string tool;
    bool throwAfterSave;
    std::int32_t result;
    const char* version;   // highest stored version afterwards
    const char* message;   // shown message, "" none
    bool errorLogs;
  };
  const Case cases[] = {
      {"success", {"CREATE TABLE T1 (A INTEGER);", "COMMIT;", "INSERT INTO T0 VALUES ('システム');", "COMMIT;"},
       "isql-fb", false, urDone, "0.3.1", "", false},
      {"failing statement", {"INSERT INTO NO_SUCH_TABLE VALUES (1);", "COMMIT;"}, "isql-fb", false, urScriptFailed,
       "0.3.0", "Ver 0.3.1のデータベース更新に失敗しました。", true},
      {"tool missing", {"COMMIT;"}, Folder("no-such-isql"), false, urToolNotStarted, "0.3.0",
       "ISQL.EXEが起動できません。\r処理を中止します。", false},
      {"tool ends without output", {"COMMIT;"}, fakeTool, false, urScriptFailed, "0.3.0",
       "Ver 0.3.1のデータベース更新に失敗しました。", true},
      {"step raising", {"COMMIT;"}, "isql-fb", true, urConversionFailed, "0.3.0", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    shown_.clear();
    fs::remove(ErrLog(".txt"));
    fs::remove(ErrLog(".log"));
    Exec(SystemFile(), "DELETE FROM VERSION WHERE REC > 1");
    gBody = c.body;
    gThrowAfterSave = c.throwAfterSave;
    IsqlTool = c.tool;
    EXPECT_EQ(RunDbUpdateStep(&BodyStep), c.result) << ReadFile(ErrLog(".txt"));
    EXPECT_EQ(Versions().back(), c.version);
    if (*c.message) {
      ASSERT_EQ(shown_.size(), 1u);
      EXPECT_EQ(shown_[0].text, c.message);
    } else {
      EXPECT_TRUE(shown_.empty());
    }
    EXPECT_EQ(fs::exists(ErrLog(".txt")), c.errorLogs);
    EXPECT_EQ(fs::exists(ErrLog(".log")), c.errorLogs);
    EXPECT_FALSE(fs::exists(UpdateScriptPath())) << "the script holds the password";
    EXPECT_FALSE(fs::exists(UpdateOutputPath()));
  }
  EXPECT_EQ(Rows(SystemFile(), "SELECT A FROM T0"), std::vector<std::string>{"システム"});

  // The error logs: the last failure replaces the .txt, every failure is
  // appended to the .log; the password never reaches them.
  IsqlTool = "isql-fb";
  gThrowAfterSave = false;
  gBody = {"INSERT INTO NO_SUCH_TABLE VALUES (1);"};
  EXPECT_EQ(RunDbUpdateStep(&BodyStep), urScriptFailed);
  gBody = {"INSERT INTO OTHER_TABLE VALUES (1);"};
  EXPECT_EQ(RunDbUpdateStep(&BodyStep), urScriptFailed);
  const std::string txt = ReadFile(ErrLog(".txt")), log = ReadFile(ErrLog(".log"));
  EXPECT_NE(txt.find("OTHER_TABLE"), std::string::npos);
  EXPECT_EQ(txt.find("NO_SUCH_TABLE"), std::string::npos);
  EXPECT_NE(log.find("NO_SUCH_TABLE"), std::string::npos);
  EXPECT_NE(log.find("OTHER_TABLE"), std::string::npos);
  EXPECT_EQ(log.find("dravon"), std::string::npos);
  EXPECT_EQ(Versions().back(), "0.3.0");
}

TEST_F(UpdateScript, ScriptMissingWhenTheRunnerStarts) {
  EXPECT_EQ(RunIsqlScript("0.3.1", 0), urFileMissing);
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].text, "更新ファイル(" + UpdateScriptPath() + ")が見つかりません。\r処理を中止します。");
}

}  // namespace
