// Server file operations: the general call through the server's routines and
// the wrappers by connection kind.
#include <filesystem>
#include <fstream>

#include "core/globals.h"
#include "dbaccess/dm.h"
#include "dmtest.h"

using namespace dmtest;

namespace fs = std::filesystem;

class ServerFiles : public DmTest {};

TEST_F(ServerFiles, ModesAreCheckedBeforeTheServerIsAsked) {
  EXPECT_FALSE(DM->ServerFileOperation("COPY", "/a", "/b"));
  EXPECT_FALSE(DM->ServerFileOperation("FCopy", "/a", " "));
  EXPECT_FALSE(DM->ServerFileOperation("FExist", "  ", ""));
  EXPECT_FALSE(DM->IBDatabaseDEF.Connected()) << "nothing was asked";
  for (std::uint8_t kind : {std::uint8_t{3}, std::uint8_t{9}}) {
    EXPECT_FALSE(DM->ServerFExist(inst_.systemDatabase, kind));
    EXPECT_FALSE(DM->ServerMkDir(temp_.File("k"), kind));
    std::string shortName = "x";
    DM->ServerShortFileName(inst_.systemDatabase, shortName, kind);
    EXPECT_EQ(shortName, "");
  }
}

TEST_F(ServerFiles, ServerRoutinesRunAndLeaveTheSystemDatabaseAsFound) {
  const std::string file = temp_.File("a.txt");
  std::ofstream(file) << "abc";
  EXPECT_TRUE(DM->ServerFileOperation("fexist", file, ""));
  EXPECT_FALSE(DM->IBDatabaseDEF.Connected()) << "connected for the call only";
  ASSERT_TRUE(DM->fnAccDefConnected("", true));
  EXPECT_TRUE(DM->ServerFileOperation("FCopy", file, temp_.File("b.txt")));
  EXPECT_TRUE(DM->IBDatabaseDEF.Connected());
  EXPECT_TRUE(fs::exists(temp_.File("b.txt")));
  EXPECT_TRUE(DM->ServerFileOperation("FDel", temp_.File("b.txt"), ""));
  EXPECT_FALSE(DM->ServerFileOperation("FExist", temp_.File("b.txt"), ""));
  EXPECT_TRUE(DM->ServerFileOperation("MkDir", temp_.File("d/e"), ""));
  EXPECT_TRUE(DM->ServerFileOperation("DExist", temp_.File("d/e"), ""));
  std::string shortName;
  DM->ServerLongToShortFileName(file, shortName);
  EXPECT_FALSE(shortName.empty());
  EXPECT_FALSE(DM->IBTransactionDEF.InTransaction());
  EXPECT_TRUE(shown_.empty());
}

TEST_F(ServerFiles, WrappersActLocallyOrThroughTheServer) {
  for (std::uint8_t kind : {std::uint8_t{0}, std::uint8_t{1}}) {
    const std::string dir = temp_.File("w" + std::to_string(kind));
    const std::string src = dir + "/src.fdb", dst = dir + "/dst.fdb";
    EXPECT_TRUE(DM->ServerMkDir(dir + "/sub", kind));
    EXPECT_TRUE(DM->ServerDExist(dir + "/sub", kind));
    std::ofstream(src) << "data";
    EXPECT_TRUE(DM->ServerFExist(src, kind));
    EXPECT_TRUE(DM->ServerFCopy(src, dst, kind));
    EXPECT_TRUE(DM->ServerFDel(dst, false, kind));
    EXPECT_FALSE(DM->ServerFExist(dst, kind));
    EXPECT_TRUE(DM->ServerFMove(src, dst, kind));
    EXPECT_FALSE(DM->ServerFExist(src, kind));
    EXPECT_TRUE(DM->ServerFExist(dst, kind));
    EXPECT_FALSE(DM->ServerFMove(src, dir + "/again.fdb", kind)) << "a missing source moves nothing";
    EXPECT_TRUE(DM->ServerRmDir(dir + "/sub", false, kind));
    EXPECT_FALSE(DM->ServerDExist(dir + "/sub", kind));
  }
}
