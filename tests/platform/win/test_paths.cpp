#include "platform/win/paths.h"

#include <sys/stat.h>

#include "platform/win/specialfolders.h"
#include "platform/win/win_test_util.h"

TEST(Paths, TakesPathsApartByComponent) {
  struct Case {
    const char* path;
    const char* filePath;
    const char* fileDir;
    const char* name;
    const char* ext;
  };
  const Case cases[] = {
      {"/data/会社A/acc.fdb", "/data/会社A/", "/data/会社A", "acc.fdb", ".fdb"},
      {"/acc.fdb", "/", "/", "acc.fdb", ".fdb"},
      {"acc.fdb", "", "", "acc.fdb", ".fdb"},
      {"/data/v1.2/backup", "/data/v1.2/", "/data/v1.2", "backup", ""},  // a dot in a folder is no extension
      {"/data/archive.tar.gz", "/data/", "/data", "archive.tar.gz", ".gz"},
      {"/data/folder/", "/data/folder/", "/data/folder", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(ExtractFilePath(c.path), c.filePath);
    EXPECT_EQ(ExtractFileDir(c.path), c.fileDir);
    EXPECT_EQ(ExtractFileName(c.path), c.name);
    EXPECT_EQ(ExtractFileExt(c.path), c.ext);
  }
}

TEST(Paths, ChangesExtensionsAndDelimiters) {
  EXPECT_EQ(ChangeFileExt("/data/acc.fbk", ".fb_"), "/data/acc.fb_");
  EXPECT_EQ(ChangeFileExt("/data/acc", ".wk_"), "/data/acc.wk_");
  EXPECT_EQ(ChangeFileExt("/data/v1.2/acc", ".log"), "/data/v1.2/acc.log");
  EXPECT_EQ(ChangeFileExt("/data/acc.fbk", ""), "/data/acc");
  EXPECT_EQ(ExtractFileNameWithoutExt("/data/ErrFbAccess.log"), "ErrFbAccess");

  EXPECT_EQ(IncludeTrailingPathDelimiter("/data"), "/data/");
  EXPECT_EQ(IncludeTrailingPathDelimiter("/data/"), "/data/");
  EXPECT_EQ(IncludeTrailingPathDelimiter(""), "");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/data//"), "/data");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/"), "/");

  EXPECT_EQ(PathJoin("/data", "ini/a.ini"), "/data/ini/a.ini");
  EXPECT_EQ(PathJoin("/data/", "/log"), "/data/log");
  EXPECT_EQ(PathJoin("", "a.ini"), "a.ini");
  EXPECT_EQ(PathJoin("/data", ""), "/data");

  EXPECT_TRUE(SamePathText("/Data/ACC.FDB", "/data/acc.fdb"));
  EXPECT_TRUE(SamePathText("/data/", "/data"));
  EXPECT_FALSE(SamePathText("/data/acc.fdb", "/data/acc.fbk"));
  EXPECT_FALSE(SamePathText("/data/会社", "/data/会社A"));
}

class PathFiles : public WinTest {};

TEST_F(PathFiles, CreatesFoldersAndTellsFilesFromFolders) {
  std::string deep = Path("a/b/c");
  EXPECT_FALSE(DirectoryExists(deep));
  EXPECT_TRUE(ForceDirectories(deep));
  EXPECT_TRUE(ForceDirectories(deep));  // already there
  EXPECT_TRUE(DirectoryExists(deep));
  EXPECT_FALSE(FileExists(deep));

  std::string file = PathJoin(deep, "x.txt");
  WriteAll(file, "x");
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(DirectoryExists(file));
  EXPECT_FALSE(ForceDirectories(PathJoin(file, "sub")));  // below a file

  EXPECT_TRUE(RenameFile(file, Path("y.txt")));
  EXPECT_FALSE(FileExists(file));
  EXPECT_FALSE(DeleteFile(deep));  // a folder is not deleted as a file
  EXPECT_TRUE(DeleteFile(Path("y.txt")));
  EXPECT_FALSE(DeleteFile(Path("y.txt")));

  EXPECT_TRUE(DeletePathRecursively(Path("a")));
  EXPECT_FALSE(PathExists(Path("a")));
}

TEST_F(PathFiles, DeletingMovesIntoTheTrashWithItsRecord) {
  env_.Set("XDG_DATA_HOME", Path("share"));
  ASSERT_TRUE(ForceDirectories(Path("share/Trash")));
  ASSERT_TRUE(ForceDirectories(Path("work/データ")));
  WriteAll(Path("work/データ/a.fdb"), "one");
  WriteAll(Path("work/b.fdb"), "two");
  ForceDirectories(Path("other"));
  WriteAll(Path("other/b.fdb"), "three");

  EXPECT_TRUE(MoveToTrashOrDelete(Path("work/データ")));  // a folder
  EXPECT_TRUE(MoveToTrashOrDelete(Path("work/b.fdb")));
  EXPECT_TRUE(MoveToTrashOrDelete(Path("other/b.fdb")));  // same name again
  EXPECT_FALSE(PathExists(Path("work/データ")));
  EXPECT_FALSE(PathExists(Path("work/b.fdb")));

  EXPECT_EQ(ReadAll(Path("share/Trash/files/データ/a.fdb")), "one");
  EXPECT_EQ(ReadAll(Path("share/Trash/files/b.fdb")), "two");
  EXPECT_EQ(ReadAll(Path("share/Trash/files/b.2.fdb")), "three");
  std::string info = ReadAll(Path("share/Trash/info/b.2.fdb.trashinfo"));
  EXPECT_EQ(info.rfind("[Trash Info]\nPath=" + Path("other/b.fdb") + "\nDeletionDate=", 0), 0u) << info;
  std::string encoded = ReadAll(Path("share/Trash/info/データ.trashinfo"));
  EXPECT_NE(encoded.find("/work/%E3%83%87%E3%83%BC%E3%82%BF\n"), std::string::npos) << encoded;

  EXPECT_FALSE(MoveToTrashOrDelete(Path("work/missing")));
}

TEST_F(PathFiles, DeletesWhenThereIsNoTrash) {
  env_.Set("XDG_DATA_HOME", Path("share"));  // no Trash folder inside
  ForceDirectories(Path("work/sub"));
  WriteAll(Path("work/sub/a"), "a");
  EXPECT_TRUE(MoveToTrashOrDelete(Path("work")));
  EXPECT_FALSE(PathExists(Path("work")));
  EXPECT_FALSE(PathExists(Path("share/Trash")));
}
