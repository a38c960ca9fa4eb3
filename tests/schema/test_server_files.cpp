// The server file routines of the UDR plug-in, on the embedded engine and,
// when VERUDA_TEST_FB_SERVER is set, on the Firebird server over TCP (where
// they act as the server's user).
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "schema/isql_session.h"

namespace fs = std::filesystem;

namespace schematest {
namespace {

// The target of the running test, with the server's host read now.
Target Current(const Target& param) { return param.name == "server" ? Server() : param; }

class ServerFilesTest : public ::testing::TestWithParam<Target> {
 protected:
  void SetUp() override {
    if (!ServerAvailable(target_)) GTEST_SKIP() << "VERUDA_TEST_FB_SERVER is not set";
    ASSERT_FALSE(InstalledUdrPath().empty()) << "the server routine plug-in is not installed: run scripts/install-udr.sh";
    sys_.CreateFromScript("system/11.0.1.sql");
  }

  std::string Wbool(const std::string& call) {
    const auto rows = sys_.Query("SELECT WBOOL FROM " + call + ";");
    EXPECT_EQ(rows.size(), 1u) << call;
    return rows.empty() ? "" : rows[0].at("WBOOL");
  }

  Target target_ = Current(GetParam());
  TempFolder folder_;
  Database sys_{target_, folder_.File("rqaccdef.fdb")};
};

TEST_P(ServerFilesTest, FolderAndFileOperations) {
  const std::string top = folder_.File("データ");
  const std::string nested = top + "/0001/sub";
  const std::string file = folder_.File("source.txt");
  const std::string copy = nested + "/copy.txt";
  {
    std::ofstream out(file);
    out << "帳簿\n";
  }
  ::chmod(file.c_str(), 0666);
  struct Step {
    std::string call;
    const char* expected;
  };
  const Step steps[] = {
      {"DIRECTORYTEST('DEXIST', '" + top + "')", "0"},
      {"DIRECTORYTEST('MkDir', '" + nested + "')", "1"},  // missing levels too
      {"DIRECTORYTEST('DEXIST', '" + nested + "')", "1"},
      {"FILEOPERATION('FEXIST', '" + file + "', '')", "1"},
      {"FILEOPERATION('FEXIST', '" + nested + "', '')", "0"},  // a folder is not a file
      {"FILEOPERATION('FCOPY', '" + file + "', '" + copy + "')", "1"},
      {"FILEOPERATION('FCOPY', '" + file + "', '')", "0"},
      {"FILEOPERATION('FEXIST', '" + copy + "', NULL)", "1"},
      {"FILEOPERATION('FDel', '" + copy + "', '')", "1"},
      {"FILEOPERATION('FEXIST', '" + copy + "', '')", "0"},
      {"FILEOPERATION('FDEL', '" + copy + "', '')", "0"},
      {"FILEOPERATION('FMOVE', '" + file + "', '" + copy + "')", "0"},  // unknown mode
      {"FILEOPERATION('FEXIST', '   ', '')", "0"},
      {"DIRECTORYTEST('RMDIR', '" + top + "')", "1"},  // with its contents
      {"DIRECTORYTEST('DEXIST', '" + top + "')", "0"},
      {"DIRECTORYTEST('RMDIR', '" + top + "')", "0"},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.call);
    EXPECT_EQ(Wbool(s.call), s.expected);
  }
  EXPECT_FALSE(fs::exists(top));
  const auto shortName = sys_.Query("SELECT SHORTNAME FROM LONGTOSHORTFILENAME('" + top + "/rqacc.fdb');");
  ASSERT_EQ(shortName.size(), 1u);
  EXPECT_EQ(shortName[0].at("SHORTNAME"), top + "/rqacc.fdb");
}

// The engine keeps a routine per database and frees it when the database
// closes; a routine used in several databases one after another, each closed
// between its uses, must go on answering in every one of them.
TEST_P(ServerFilesTest, RoutinesAnswerInDatabasesOpenedAndClosedInTurn) {
  std::vector<std::unique_ptr<Database>> others;
  for (int i = 0; i < 3; ++i) {
    others.push_back(std::make_unique<Database>(target_, folder_.File("other" + std::to_string(i) + ".fdb")));
    others.back()->CreateFromScript("system/11.0.1.sql");
  }
  if (HasFatalFailure()) return;
  const std::string call = "SELECT WBOOL FROM FILEOPERATION('FEXIST', '" + folder_.File("rqaccdef.fdb") + "', '');";
  for (int round = 0; round < 3; ++round) {
    for (const Database* db : {&sys_, others[0].get(), others[1].get(), others[2].get()}) {
      const auto rows = db->Query(call);  // each query is a session of its own
      ASSERT_EQ(rows.size(), 1u) << db->connection_name() << " round " << round;
      EXPECT_EQ(rows[0].at("WBOOL"), "1");
    }
  }
}

TEST_P(ServerFilesTest, FileTravelsThroughTheTransferTable) {
  Database fm(target_, folder_.File("rqfileman.fdb"));
  fm.CreateFromScript("filemanager/1.0.0.sql");
  if (HasFatalFailure()) return;
  std::string content(300 * 1024 + 17, '\0');  // several blob segments, any byte values
  std::mt19937 gen(7);
  for (char& c : content) c = static_cast<char>(gen() & 0xFF);
  const std::string source = folder_.File("backup.fbk.100000015");
  const std::string target = folder_.File("restored.fbk");
  {
    std::ofstream out(source, std::ios::binary);
    out << content;
  }
  ::chmod(source.c_str(), 0666);
  const auto rows = fm.Query(
      "INSERT INTO FILETRANS(CONTENT_ID,CONTENT) VALUES('RQZ_100000015',SP_FILETOBLOB('" + source + "'));\n"
      "SELECT OCTET_LENGTH(CONTENT) AS LEN FROM FILETRANS WHERE CONTENT_ID='RQZ_100000015';\n"
      "SELECT CONTENT_ID,SP_BLOBTOFILE('" + target + "', CONTENT) AS WRITTEN FROM FILETRANS WHERE CONTENT_ID='RQZ_100000015';\n"
      "DELETE FROM FILETRANS WHERE CONTENT_ID='RQZ_100000015';\nCOMMIT;\n");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].at("LEN"), std::to_string(content.size()));
  EXPECT_EQ(rows[1].at("WRITTEN"), std::to_string(content.size()));
  std::ifstream in(target, std::ios::binary);
  const std::string back((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_TRUE(back == content);
  // A missing file is an error, not an empty blob.
  const IsqlResult missing =
      fm.Run("INSERT INTO FILETRANS(CONTENT_ID,CONTENT) VALUES('X',SP_FILETOBLOB('" + folder_.File("none") + "'));");
  EXPECT_NE(missing.exit_code, 0);
  EXPECT_NE(missing.output.find("SP_FILETOBLOB"), std::string::npos) << missing.output;
}

INSTANTIATE_TEST_SUITE_P(Targets, ServerFilesTest, ::testing::ValuesIn(Targets()),
                         [](const ::testing::TestParamInfo<Target>& info) { return info.param.name; });

}  // namespace
}  // namespace schematest
