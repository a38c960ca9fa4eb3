#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/buffilestream.h"
#include "core/dialogs.h"
#include "core/fileutil.h"
#include "core/globals.h"
#include "core/markersearch.h"
#include "core/regini.h"
#include "core/sysinfo.h"
#include "core/uiservices.h"
#include "core/winutil.h"
#include "platform/rtl/faultpoint.h"
#include "platform/rtl/workfile.h"
#include "platform/win/registry.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kMarker = "## PelorinZone";

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("core_files_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    saved_ = CoreUi;
    CoreUi = TCoreUiServices{};
    CoreUi.ShowMessageLines = [this](const std::string& text, int kind) { shown_.push_back(std::to_string(kind) + text); };
    CoreUi.ShowError = [this](const std::string& text) { shown_.push_back("E" + text); };
  }
  void TearDown() override {
    CoreUi = saved_;
    fs::remove_all(dir_);
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  void Write(const std::string& name, const std::string& bytes) {
    fs::create_directories((dir_ / name).parent_path());
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(dir_ / name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  fs::path dir_;
  TCoreUiServices saved_;
  std::vector<std::string> shown_;
};

// Bytes of the given size that never contain the marker by chance.
std::string Filler(std::size_t n) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>('a' + (i * 7) % 26);
  return s;
}

std::string Block() { return std::string(kMarker) + "\r\nSHOUGOU=株式会社テスト\r\nKISHU=2019/04/01\r\n"; }

TEST(SafeDirectory, RootsAndSystemFolderAreRefused) {
  const struct {
    const char* path;
    bool safe;
  } cases[] = {
      {"c:\\", false}, {"D:", false},  {"/", false},         {"//", false},       {"/usr", false},
      {"/USR/", false}, {"", false},   {"   ", false},       {"/tmp/data", true}, {"/usr/local", true},
      {"c:\\data", true},
  };
  for (const auto& c : cases) EXPECT_EQ(IsSafeDirectory(c.path), c.safe) << "'" << c.path << "'";
}

TEST_F(FilesTest, MarkerSpanningTwoBlocksIsFound) {
  const std::string tail = std::string(kMarker) + Filler(40);
  Write("a.fbk", Filler(510) + tail);
  std::string text;
  EXPECT_EQ(FindMarkerInFile(Path("a.fbk"), kMarker, text), 510);
  EXPECT_EQ(text, tail);  // the file ends 40 bytes after the marker
}

TEST_F(FilesTest, MarkerAtOffsetZeroOrMissing) {
  Write("zero.fbk", std::string(kMarker) + Filler(100));
  Write("none.fbk", Filler(5000));
  std::string text = "x";
  EXPECT_EQ(FindMarkerInFile(Path("zero.fbk"), kMarker, text), 0);
  EXPECT_EQ(text, "");
  EXPECT_EQ(FindMarkerInFile(Path("none.fbk"), kMarker, text), -1);
  EXPECT_EQ(FindMarkerInFile(Path("missing.fbk"), kMarker, text), -1);
  EXPECT_FALSE(ReadMarkedBlock(Path("zero.fbk"), kMarker, text, true));
  EXPECT_EQ(Read("zero.fbk").size(), 100 + std::string(kMarker).size());
}

TEST_F(FilesTest, StripCutsTheFileRightBeforeTheMarker) {
  const std::string data = Filler(1000);
  Write("b.fbk", data + Block());
  std::string text;
  EXPECT_TRUE(ReadMarkedBlock(Path("b.fbk"), kMarker, text, true));
  EXPECT_EQ(text, Block());
  EXPECT_EQ(Read("b.fbk"), data);
  EXPECT_FALSE(fs::exists(Path("b.wk_")));
}

TEST_F(FilesTest, MarkerTextInsideTheDataNeverTruncatesABackup) {
  // The backed-up data holds the marker text long before the real block.
  const std::string data = Filler(20000) + kMarker + "\r\nSHOUGOU=古い\r\n" + Filler(70000);
  Write("c.fbk", data + Block());
  std::string text;
  EXPECT_EQ(FindMarkerInFile(Path("c.fbk"), kMarker, text), static_cast<std::int64_t>(data.size()));
  EXPECT_TRUE(ReadMarkedBlock(Path("c.fbk"), kMarker, text, true));
  EXPECT_EQ(text, Block());
  EXPECT_EQ(Read("c.fbk"), data);

  // Without a block at the end nothing is read and nothing is cut.
  Write("d.fbk", data);
  EXPECT_FALSE(ReadMarkedBlock(Path("d.fbk"), kMarker, text, true));
  EXPECT_EQ(text, "");
  EXPECT_EQ(Read("d.fbk"), data);
}

TEST_F(FilesTest, StripReplacesAnOldWorkFileAndKeepsReadersPosition) {
  Write("e.wk_", "stale");
  Write("e.fbk", Filler(3000) + Block());
  std::string text;
  EXPECT_TRUE(ReadMarkedBlock(Path("e.fbk"), kMarker, text, false));
  EXPECT_EQ(Read("e.fbk").size(), 3000 + Block().size());  // no strip: untouched
  EXPECT_TRUE(ReadMarkedBlock(Path("e.fbk"), kMarker, text, true));
  EXPECT_EQ(Read("e.fbk").size(), 3000u);
  EXPECT_FALSE(fs::exists(Path("e.wk_")));
}

// Runs body in a child process that kills itself at the fault point; true
// when it was killed there.
template <typename Body>
bool KilledAt(const char* point, Body body) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    FaultPointHook = [point](std::string_view at) {
      if (at == point) ::raise(SIGKILL);
    };
    body();
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

TEST_F(FilesTest, AKilledStripOrCopyLeavesTheFileWholeAndTheNextRunCleansUp) {
  const std::string data = Filler(70000);
  Write("k.fbk", data + Block());
  std::string text;
  ASSERT_TRUE(KilledAt("marker.stripped", [&] { ReadMarkedBlock(Path("k.fbk"), kMarker, text, true); }));
  EXPECT_EQ(Read("k.fbk"), data + Block()) << "the backup as it was, block and all";
  auto workFiles = [&] {
    int n = 0;
    for (const auto& e : fs::directory_iterator(dir_)) n += IsWorkFileName(e.path().filename().string()) ? 1 : 0;
    return n;
  };
  EXPECT_EQ(workFiles(), 1);
  EXPECT_TRUE(ReadMarkedBlock(Path("k.fbk"), kMarker, text, true));
  EXPECT_EQ(Read("k.fbk"), data);
  EXPECT_EQ(workFiles(), 0);

  Write("old.fdb", "the old copy");
  ASSERT_TRUE(KilledAt("copy.written", [&] { CopyFileOverwrite(Path("k.fbk"), Path("old.fdb")); }));
  EXPECT_EQ(Read("old.fdb"), "the old copy");
  EXPECT_EQ(workFiles(), 1);
  EXPECT_TRUE(CopyFileOverwrite(Path("k.fbk"), Path("old.fdb")));
  EXPECT_EQ(Read("old.fdb"), data);
  EXPECT_EQ(workFiles(), 0);
}

TEST_F(FilesTest, BufferedStreamReadsAcrossRefills) {
  const std::string data = Filler(5000);
  Write("s.bin", data);
  TBufFileStream stream(Path("s.bin"), 1, fmOpenRead);
  char buf[1024];
  EXPECT_THROW(
      {
        try {
          stream.Read(buf, 1025);
        } catch (const std::exception& e) {
          EXPECT_STREQ(e.what(), "バッファの大きさを越えています。");
          throw;
        }
      },
      std::exception);
  std::string got;
  std::int64_t n;
  while ((n = stream.Read(buf, 700)) > 0) got.append(buf, static_cast<std::size_t>(n));
  EXPECT_EQ(got, data);
  EXPECT_EQ(stream.Position(), 5000);
  EXPECT_EQ(stream.Seek(-100, TSeekOrigin::soCurrent), 4900);
  EXPECT_EQ(stream.Read(buf, 1000), 100);
  EXPECT_EQ(std::string(buf, 100), data.substr(4900));
}

TEST_F(FilesTest, AppendAndSizes) {
  Write("f.txt", "abc");
  EXPECT_TRUE(AppendTextToFile(Path("f.txt"), "def"));
  EXPECT_EQ(Read("f.txt"), "abcdef");
  EXPECT_FALSE(AppendTextToFile(Path("nofile.txt"), "x"));
  EXPECT_EQ(GetFileSizeByName(Path("f.txt")), 6);
  EXPECT_EQ(GetFileSizeByName(Path("f.*")), 6);
  EXPECT_EQ(GetFileSizeByName(Path("nothing.*")), 0);
}

TEST_F(FilesTest, FoldersAreCreatedAndListed) {
  EXPECT_TRUE(ForceFolder(Path("x/y/z")));
  EXPECT_TRUE(ForceFolder(Path("x/y/z")));
  Write("x/file.txt", "1");
  std::vector<std::string> list = {"old"};
  GetSubFolderList(Path("x"), 1, list);
  EXPECT_EQ(list, std::vector<std::string>{"y"});
  GetSubFolderList(Path("x"), 0, list);
  EXPECT_EQ(list, std::vector<std::string>{Path("x/y")});
  GetSubFolderList(Path("missing"), 1, list);
  EXPECT_TRUE(list.empty());
}

TEST_F(FilesTest, ShellOperationsRefuseRootsWithAMessage) {
  EXPECT_FALSE(ShellDeleteOrRename("/", foDelete, false, true));
  EXPECT_FALSE(ShellDeleteOrRename("C:\\", foRename, false, true));
  EXPECT_FALSE(ShellCopyOrMove(Path("a"), "/usr", foCopy));
  ASSERT_EQ(shown_.size(), 3u);
  EXPECT_EQ(shown_[0], "1ルート・システムディレクトリは、削除できません。</> ");
  EXPECT_EQ(shown_[1], "1ルート・システムディレクトリは、変更できません。<C:\\> ");
  EXPECT_EQ(shown_[2], "1指定ディレクトリ[" + Path("a") + "->/usr]の複写・移動はできません。 ");
  EXPECT_FALSE(ShellDeleteOrRename(Path("a"), 5, false, true));
  EXPECT_FALSE(ShellCopyOrMove(Path("a"), Path("b"), 3));
}

TEST_F(FilesTest, ShellCopyMoveAndDelete) {
  Write("src/rqacc.fdb", "db");
  Write("src/rqacc.ini", "ini");
  Write("src/sub/n.txt", "n");
  ASSERT_TRUE(ForceFolder(Path("dst")));
  EXPECT_TRUE(ShellCopyOrMove(Path("src/rqacc.*"), Path("dst"), foCopy));
  EXPECT_EQ(Read("dst/rqacc.fdb"), "db");
  EXPECT_EQ(Read("dst/rqacc.ini"), "ini");
  EXPECT_TRUE(ShellCopyOrMove(Path("src/*"), Path("all"), foCopy));
  EXPECT_EQ(Read("all/sub/n.txt"), "n");
  EXPECT_TRUE(ShellCopyOrMove(Path("src/rqacc.fdb"), Path("dst/renamed.fdb"), foCopy));
  EXPECT_EQ(Read("dst/renamed.fdb"), "db");
  EXPECT_FALSE(ShellCopyOrMove(Path("src"), Path("src/sub"), foCopy));  // never into itself
  EXPECT_TRUE(ShellCopyOrMove(Path("src"), Path("moved"), foMove));
  EXPECT_FALSE(fs::exists(Path("src")));
  EXPECT_EQ(Read("moved/sub/n.txt"), "n");
  EXPECT_TRUE(ShellDeleteOrRename(Path("moved"), foDelete, false, true));
  EXPECT_FALSE(fs::exists(Path("moved")));
  EXPECT_FALSE(ShellDeleteOrRename(Path("moved"), foDelete, false, true));
  EXPECT_FALSE(ShellDeleteOrRename(Path("all"), foRename, false, true));
  EXPECT_TRUE(CopyFileOverwrite(Path("dst/rqacc.ini"), Path("dst/rqacc.fdb")));
  EXPECT_EQ(Read("dst/rqacc.fdb"), "ini");
  EXPECT_FALSE(CopyFileOverwrite(Path("dst/none"), Path("dst/rqacc.fdb")));
  EXPECT_EQ(Read("dst/rqacc.fdb"), "ini");
}

TEST_F(FilesTest, IniSectionsAndValues) {
  const std::string ini = Path("h.ini");
  WriteOrDeleteIniValue(ini, "HIST", "HIST1", false, TRegValue{std::string("/data/a")});
  WriteOrDeleteIniValue(ini, "HIST", "COUNT", false, TRegValue{std::int32_t{2}});
  std::string text = "unchanged";
  ReadIniSectionText(ini, "", text);
  EXPECT_EQ(text, "unchanged");
  ReadIniSectionText(ini, "hist", text);
  EXPECT_EQ(text, "HIST1=/data/a\r\nCOUNT=2\r\n");
  WriteIniSection(ini, "HIST", {"HIST1=x", "HIST2=y", "HIST1=z"});
  ReadIniSectionText(ini, "HIST", text);
  EXPECT_EQ(text, "HIST1=x\r\nHIST2=y\r\n");
  WriteOrDeleteIniValue(ini, "HIST", "HIST2", true, TRegValue{});
  ReadIniSectionText(ini, "HIST", text);
  EXPECT_EQ(text, "HIST1=x\r\n");
}

TEST_F(FilesTest, RegistryValuesAndTheSaveLocationCheck) {
  const std::string file = Path("registry.ini");
  ::setenv("VERUDA_REGISTRY_FILE", file.c_str(), 1);
  {
    TRegistry reg(file);
    ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\NORVANE\\CORVEXZAIMU", true));
    reg.WriteString("Version", "11.2.0");
    reg.WriteInteger("Type", 3);
  }
  TRegValue value;
  ReadRegistryValue(HKEY_LOCAL_MACHINE, "\\SOFTWARE\\NORVANE\\CORVEXZAIMU", "Version", value);
  EXPECT_EQ(std::get<std::string>(value), "11.2.0");
  ReadRegistryValue(HKEY_LOCAL_MACHINE, "\\SOFTWARE\\NORVANE\\CORVEXZAIMU", "Type", value);
  EXPECT_EQ(std::get<std::int32_t>(value), 3);
  ReadRegistryValue(HKEY_LOCAL_MACHINE, "\\SOFTWARE\\NORVANE\\NONE", "Type", value);
  EXPECT_EQ(std::get<std::int32_t>(value), 0);

  // Without account control every folder passes and comes back with a delimiter.
  std::string folder = "/";
  EXPECT_TRUE(CheckSaveFolder(folder));
  EXPECT_EQ(folder, "/");
  {
    TRegistry reg(file);
    ASSERT_TRUE(reg.OpenKey(kAccountControlKey, true));
    reg.WriteInteger(kAccountControlValue, 1);
  }
  ASSERT_EQ(AccountControlSetting(), 1);
  ::setenv("VERUDA_DOCUMENTS_DIR", Path("docs").c_str(), 1);
  std::vector<std::string> questions;
  bool answer = false;
  CoreUi.AskWarningYesNo = [&](const std::string& q) {
    questions.push_back(q);
    return answer;
  };
  folder = "/";
  EXPECT_FALSE(CheckSaveFolder(folder));
  answer = true;
  EXPECT_TRUE(CheckSaveFolder(folder));
  EXPECT_EQ(folder, Path("docs"));
  std::string fileName = "/report.csv";
  EXPECT_TRUE(CheckSaveFilePath(fileName));
  EXPECT_EQ(fileName, Path("docs") + "/report.csv");
  folder = Path("here");
  EXPECT_TRUE(CheckSaveFolder(folder));
  EXPECT_EQ(folder, Path("here") + "/");
  ASSERT_EQ(questions.size(), 3u);
  EXPECT_EQ(questions[0].rfind("この場所に保存するアクセス許可がありません。\r", 0), 0u);

  // The folder browser is asked again after a "No", and a Yes takes Documents.
  std::vector<std::string> offers = {"/", Path("ok")};
  std::size_t next = 0;
  CoreUi.BrowseFolder = [&](const std::string& title, const std::string&, const std::string&) {
    EXPECT_EQ(title, "フォルダを選択して下さい");
    return std::optional<std::string>(offers[next++]);
  };
  answer = false;
  folder.clear();
  EXPECT_TRUE(SelectFolder("", folder, false));
  EXPECT_EQ(folder, Path("ok"));
  next = 0;
  EXPECT_TRUE(SelectFolder("", folder, true));  // the root check skipped
  EXPECT_EQ(folder, "/");
  offers = {"/" + std::string(300, 'x')};
  next = 0;
  EXPECT_FALSE(SelectFolder("", folder, true));
  EXPECT_EQ(shown_.back().rfind("E選択した場所(パス)の文字長が処理できる範囲を超えました。", 0), 0u);

  answer = true;
  std::string chosen;
  EXPECT_TRUE(ExecuteFileDialog([] { return std::optional<std::string>("/out.csv"); }, chosen));
  EXPECT_EQ(chosen, Path("docs") + "/out.csv");
  EXPECT_FALSE(ExecuteFileDialog([] { return std::optional<std::string>(); }, chosen));
  ::unsetenv("VERUDA_REGISTRY_FILE");
  ::unsetenv("VERUDA_DOCUMENTS_DIR");
}

TEST(SystemFacts, NamesFoldersAndColours) {
  const auto savedKind = ConnectKind;
  const auto savedUser = SystemDef.WinUserName;
  ConnectKind = ckSbc;
  SystemDef.WinUserName = "";
  std::string name;
  GetPcName(name);
  EXPECT_EQ(name, "ANONYMOUS");
  SystemDef.WinUserName = "taro";
  GetPcName(name);
  EXPECT_EQ(name, "taro");
  ConnectKind = ckLocal;
  GetPcName(name);
  EXPECT_FALSE(name.empty());
  ConnectKind = savedKind;
  SystemDef.WinUserName = savedUser;

  std::string unc;
  GetUNCPath("/tmp/some/data", unc);
  EXPECT_EQ(unc, "/tmp/some/data");  // a local path stays as it is
  std::string shortPath;
  EXPECT_THROW(GetShortPath("/no/such/file", shortPath), std::exception);
  std::string dir;
  GetTempDir("/fallback", dir);
  EXPECT_FALSE(dir.empty());
  EXPECT_EQ(ExcludeTrailingDelimiter("/a/b/"), "/a/b");
  EXPECT_EQ(IncludeTrailingDelimiter("/a/b"), "/a/b/");

  EXPECT_EQ(GrayColor(0x0000FF), 0x555555);
  EXPECT_EQ(GrayColor(0xFFFFFF), 0xFFFFFF);
  EXPECT_EQ(GrayColor(0), 0);
  EXPECT_EQ(GrayColor(0x020101), 0x010101);
  EXPECT_EQ(GrayColor(0x020201), 0x020202);
  EXPECT_EQ(GrayColor(-16), 0x808080);

  const auto savedFrame = SystemDef.FrameHeight;
  SystemDef.FrameHeight = 4;
  EXPECT_EQ(AdjustForFrameSize(100, 0), 100);
  SystemDef.FrameHeight = 6;
  EXPECT_EQ(AdjustForFrameSize(100, 0), 96);
  EXPECT_EQ(AdjustForFrameSize(100, 1), 92);
  EXPECT_EQ(AdjustForFrameSize(100, 2), 100);
  SystemDef.FrameHeight = savedFrame;

  int calls = 0;
  const auto savedUi = CoreUi;
  CoreUi.ProcessMessages = [&] { ++calls; };
  EXPECT_TRUE(WaitWithMessages(20));
  EXPECT_GT(calls, 1);
  CoreUi = savedUi;
}

}  // namespace
