// The headless export command link-export: what it refuses before it runs
// (with its usage and a status of its own), its unchanged output otherwise,
// and the installation's log folder for its database error log.
#include <cstdlib>
#include <filesystem>

#include "core/globals.h"
#include "linktest.h"
#include "platform/fb/ibx.h"
#include "platform/win/childprocess.h"

namespace fs = std::filesystem;

namespace linktest {
namespace {

class LinkExportCommand : public LinkDbTest {
 protected:
  struct TRun {
    int status = -1;
    std::string output;  // stdout and stderr
  };
  TRun Run(const std::vector<std::string>& args) {
    TChildProcess child;
    TChildOptions options;
    options.output = TChildOptions::Output::Capture;
    options.workingDir = Cwd();
    fs::create_directories(options.workingDir);
    TRun run;
    if (!child.Start(LINK_EXPORT, args, options) || !child.Wait(120000)) return run;
    run.status = child.ExitCode();
    run.output = child.Output();
    return run;
  }
  std::string Cwd() const { return TempPath("cwd"); }
  std::string Database() const { return DataFolder(kTrading) + "/rqacc.fdb"; }
};

TEST_F(LinkExportCommand, BadInputIsRefusedWithItsUsageAndNothingIsWritten) {
  const std::string out = TempPath("out.xml");
  struct Case {
    std::vector<std::string> args;
    const char* reason;
  } cases[] = {
      {{Database(), "2020-06", "2019-10", out}, "最後の月が最初の月より前です: 2020-06 2019-10"},
      {{Database(), "2019-10x", "2020-09", out}, "yyyy-mm で指定して下さい: 2019-10x"},
      {{Database(), "2019-10", "2020-09 and more", out}, "yyyy-mm で指定して下さい: 2020-09 and more"},
      {{Database(), "2019-4294967306", "2020-09", out}, "yyyy-mm で指定して下さい: 2019-4294967306"},
      {{Database(), "99999999999999999999-10", "2020-09", out}, "yyyy-mm で指定して下さい"},
      {{Database(), "+2019-10", "2020-09", out}, "yyyy-mm で指定して下さい"},
      {{Database(), "2019-10", "2020-09"}, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[1] + " " + c.args[2]);
    const TRun run = Run(c.args);
    EXPECT_EQ(run.status, 64) << run.output;
    EXPECT_NE(run.output.find("usage: "), std::string::npos) << run.output;
    if (c.reason) {
      EXPECT_NE(run.output.find(c.reason), std::string::npos) << run.output;
    }
    EXPECT_FALSE(fs::exists(out));
  }

  // Without AppInfo.ini beside the program.
  const std::string programDir = std::getenv("VERUDA_PROGRAM_DIR");
  fs::create_directories(TempPath("empty"));
  setenv("VERUDA_PROGRAM_DIR", TempPath("empty").c_str(), 1);
  const TRun noAppInfo = Run({Database(), "2019-10", "2020-09", out});
  setenv("VERUDA_PROGRAM_DIR", programDir.c_str(), 1);
  EXPECT_EQ(noAppInfo.status, 64) << noAppInfo.output;
  EXPECT_NE(noAppInfo.output.find(TempPath("empty") + "/AppInfo.ini"), std::string::npos) << noAppInfo.output;
  EXPECT_FALSE(fs::exists(out));

  // Good input: the output as before, the path on stdout and status 0; one
  // month alone is a period too.
  for (const char* last : {"2020-09", "2019-10"}) {
    const TRun good = Run({Database(), "2019-10", last, out});
    EXPECT_EQ(good.status, 0) << good.output;
    EXPECT_EQ(good.output, out + "\n");
    EXPECT_NE(ReadBytes(out).find("<GYOUMUPREFIX>SY31</GYOUMUPREFIX>"), std::string::npos);
  }
}

TEST_F(LinkExportCommand, ItsDatabaseErrorLogGoesToTheInstallationsLogFolder) {
  // A copy of the data set that lacks the table of its data version.
  fs::create_directories(TempPath("broken"));
  const std::string copy = TempPath("broken/rqacc.fdb");
  fs::copy_file(Database(), copy);
  {
    TIBDatabase db;
    db.DatabaseName = copy;
    db.Params = TIBStrings{"user_name=" + SystemDef.DbUser, "lc_ctype=SJIS_0208"};
    db.Open();
    TIBTransaction tr;
    tr.SetDefaultDatabase(&db);
    TIBSQL q;
    q.SetDatabase(&db);
    q.SetTransaction(&tr);
    q.SQL.SetText("DROP TABLE ACCVERSION");
    tr.StartTransaction();
    q.ExecQuery();
    tr.Commit();
    db.Close();
  }
  const std::string logDir = Installation().dataRoot + "/log";
  fs::remove(logDir + "/ErrFbAccess.log");
  const TRun run = Run({copy, "2019-10", "2020-09", TempPath("out.xml")});
  EXPECT_EQ(run.status, 4) << run.output;
  EXPECT_NE(run.output.find("基本情報の取得に失敗しました。"), std::string::npos) << run.output;
  EXPECT_NE(ReadBytes(logDir + "/ErrFbAccess.log").find("TDM.fnGetAccInfo"), std::string::npos);
  EXPECT_FALSE(fs::exists(Cwd() + "/ErrFbAccess.log"));
  EXPECT_FALSE(fs::exists(Cwd() + "/ErrFbAccess.txt"));
  EXPECT_FALSE(fs::exists(TempPath("out.xml")));
}

}  // namespace
}  // namespace linktest
