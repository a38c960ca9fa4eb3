// Server file operations: the general call through the server's routines and
// the wrappers by connection kind.
#include <filesystem>
#include <fstream>

#include "core/globals.h"
#include "dbaccess/serverfiles.h"
#include "dmtest.h"

using namespace dmtest;

namespace fs = std::filesystem;

class ServerFiles : public DmTest {};

TEST_F(ServerFiles, ModesAreCheckedBeforeTheServerIsAsked) {
  EXPECT_FALSE(::ServerFiles().ServerFileOperation("COPY", "/a", "/b"));
  EXPECT_FALSE(::ServerFiles().ServerFileOperation("FCopy", "/a", " "));
  EXPECT_FALSE(::ServerFiles().ServerFileOperation("FExist", "  ", ""));
  EXPECT_FALSE(SystemStore().IBDatabaseDEF.Connected()) << "nothing was asked";
  for (std::uint8_t kind : {std::uint8_t{3}, std::uint8_t{9}}) {
    EXPECT_FALSE(::ServerFiles().ServerFExist(inst_.systemDatabase, kind));
    EXPECT_FALSE(::ServerFiles().ServerMkDir(temp_.File("k"), kind));
    std::string shortName = "x";
    ::ServerFiles().ServerShortFileName(inst_.systemDatabase, shortName, kind);
    EXPECT_EQ(shortName, "");
  }
}

TEST_F(ServerFiles, ServerRoutinesRunAndLeaveTheSystemDatabaseAsFound) {
  const std::string file = temp_.File("a.txt");
  std::ofstream(file) << "abc";
  EXPECT_TRUE(::ServerFiles().ServerFileOperation("fexist", file, ""));
  EXPECT_FALSE(SystemStore().IBDatabaseDEF.Connected()) << "connected for the call only";
  ASSERT_TRUE(SystemStore().fnAccDefConnected("", true));
  EXPECT_TRUE(::ServerFiles().ServerFileOperation("FCopy", file, temp_.File("b.txt")));
  EXPECT_TRUE(SystemStore().IBDatabaseDEF.Connected());
  EXPECT_TRUE(fs::exists(temp_.File("b.txt")));
  EXPECT_TRUE(::ServerFiles().ServerFileOperation("FDel", temp_.File("b.txt"), ""));
  EXPECT_FALSE(::ServerFiles().ServerFileOperation("FExist", temp_.File("b.txt"), ""));
  EXPECT_TRUE(::ServerFiles().ServerFileOperation("MkDir", temp_.File("d/e"), ""));
  EXPECT_TRUE(::ServerFiles().ServerFileOperation("DExist", temp_.File("d/e"), ""));
  std::string shortName;
  ::ServerFiles().ServerLongToShortFileName(file, shortName);
  EXPECT_FALSE(shortName.empty());
  EXPECT_FALSE(SystemStore().IBTransactionDEF.InTransaction());
  EXPECT_TRUE(shown_.empty());
}

TEST_F(ServerFiles, WrappersActLocallyOrThroughTheServer) {
  for (std::uint8_t kind : {std::uint8_t{0}, std::uint8_t{1}}) {
    const std::string dir = temp_.File("w" + std::to_string(kind));
    const std::string src = dir + "/src.fdb", dst = dir + "/dst.fdb";
    EXPECT_TRUE(::ServerFiles().ServerMkDir(dir + "/sub", kind));
    EXPECT_TRUE(::ServerFiles().ServerDExist(dir + "/sub", kind));
    std::ofstream(src) << "data";
    EXPECT_TRUE(::ServerFiles().ServerFExist(src, kind));
    EXPECT_TRUE(::ServerFiles().ServerFCopy(src, dst, kind));
    EXPECT_TRUE(::ServerFiles().ServerFDel(dst, false, kind));
    EXPECT_FALSE(::ServerFiles().ServerFExist(dst, kind));
    EXPECT_TRUE(::ServerFiles().ServerFMove(src, dst, kind));
    EXPECT_FALSE(::ServerFiles().ServerFExist(src, kind));
    EXPECT_TRUE(::ServerFiles().ServerFExist(dst, kind));
    EXPECT_FALSE(::ServerFiles().ServerFMove(src, dir + "/again.fdb", kind)) << "a missing source moves nothing";
    EXPECT_TRUE(::ServerFiles().ServerRmDir(dir + "/sub", false, kind));
    EXPECT_FALSE(::ServerFiles().ServerDExist(dir + "/sub", kind));
  }
}
