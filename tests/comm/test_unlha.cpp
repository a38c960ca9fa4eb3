#include <gtest/gtest.h>

#include <filesystem>

#include "comm/fakes/fakeservers.h"
#include "comm/unlha.h"

namespace fs = std::filesystem;

namespace {

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

class ArchiveTest : public ::testing::Test {
 protected:
  TTempFolder dir;
  std::string send = dir / "Com S";  // a blank in the path, as the quotes allow
  std::string receive = dir / "ComR";
  void SetUp() override {
    fs::create_directories(send);
    fs::create_directories(receive);
  }
};

TEST_F(ArchiveTest, PacksAndUnpacksThroughTheTwoCommandLines) {
  const std::string backup = send + "/cpacc.fbk";
  std::string data(300000, '\0');
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7);
  WriteTextFile(backup, data);
  const std::string archive = send + "/cpacc.lzh";
  ASSERT_EQ(Unlha(nullptr, "a " + Quoted(archive) + " " + Quoted(backup), nullptr, 0), 0);
  EXPECT_NE(UnlhaCheckArchive(archive, 2), 0);

  WriteTextFile(receive + "/cpacc.fbk", "old backup");
  ASSERT_EQ(Unlha(nullptr, "e " + Quoted(archive) + " " + Quoted(receive + "/"), nullptr, 0), 0);
  EXPECT_TRUE(ReadTextFile(receive + "/cpacc.fbk") == data);

  // Adding a member of the same name replaces it; another name is added.
  WriteTextFile(backup, "second");
  WriteTextFile(send + "/other.txt", "other");
  ASSERT_EQ(Unlha(nullptr, "a " + Quoted(archive) + " " + Quoted(backup) + " " + Quoted(send + "/other.txt"),
                  nullptr, 0),
            0);
  ASSERT_EQ(Unlha(nullptr, "e " + Quoted(archive) + " " + Quoted(receive + "/"), nullptr, 0), 0);
  EXPECT_EQ(ReadTextFile(receive + "/cpacc.fbk"), "second");
  EXPECT_EQ(ReadTextFile(receive + "/other.txt"), "other");
}

TEST_F(ArchiveTest, FullCheckFindsDamageAndBadCommandsChangeNothing) {
  const std::string backup = send + "/cpacc.fbk";
  WriteTextFile(backup, std::string(5000, 'x'));
  const std::string archive = send + "/cpacc.lzh";
  ASSERT_EQ(Unlha(nullptr, "a " + Quoted(archive) + " " + Quoted(backup), nullptr, 0), 0);
  const std::string good = ReadTextFile(archive);

  std::string bad = good;
  bad[bad.size() - 100] = 'y';  // a content byte: only the full check reads it
  WriteTextFile(archive, bad);
  EXPECT_EQ(UnlhaCheckArchive(archive, 2), 0);
  EXPECT_NE(UnlhaCheckArchive(archive, 0), 0);
  WriteTextFile(receive + "/cpacc.fbk", "kept");
  EXPECT_NE(Unlha(nullptr, "e " + Quoted(archive) + " " + Quoted(receive + "/"), nullptr, 0), 0);
  EXPECT_EQ(ReadTextFile(receive + "/cpacc.fbk"), "kept");

  for (const std::string& broken : {good.substr(0, good.size() - 1), good + "x", std::string("VRLHA01\n"),
                                    std::string("not an archive")}) {
    WriteTextFile(archive, broken);
    EXPECT_EQ(UnlhaCheckArchive(archive, 2), 0);
    EXPECT_EQ(UnlhaCheckArchive(archive, 1), 0);
  }
  EXPECT_EQ(UnlhaCheckArchive(dir / "missing.lzh", 2), 0);

  // A member name that leads out of the target folder is refused.
  std::string escape = good;
  const auto pos = escape.find("cpacc.fbk");
  escape.replace(pos, 9, "../x.fbkk");
  WriteTextFile(archive, escape);
  EXPECT_EQ(UnlhaCheckArchive(archive, 2), 0);
  EXPECT_NE(Unlha(nullptr, "e " + Quoted(archive) + " " + Quoted(receive + "/"), nullptr, 0), 0);
  EXPECT_FALSE(fs::exists(dir / "x.fbkk"));

  // Missing source file, missing target folder, unknown command.
  WriteTextFile(archive, good);
  EXPECT_NE(Unlha(nullptr, "a " + Quoted(archive) + " " + Quoted(send + "/missing"), nullptr, 0), 0);
  EXPECT_EQ(ReadTextFile(archive), good);
  EXPECT_NE(Unlha(nullptr, "e " + Quoted(archive) + " " + Quoted(dir / "nowhere/"), nullptr, 0), 0);
  EXPECT_NE(Unlha(nullptr, "x " + Quoted(archive) + " " + Quoted(receive), nullptr, 0), 0);
}

}  // namespace
