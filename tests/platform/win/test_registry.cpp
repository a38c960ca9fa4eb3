#include "platform/win/registry.h"

#include "platform/rtl/cp932.h"
#include "platform/win/paths.h"
#include "platform/win/specialfolders.h"
#include "platform/win/win_test_util.h"

class Registry : public WinTest {
 protected:
  void SetUp() override {
    WinTest::SetUp();
    file_ = Path("registry/HKEY_LOCAL_MACHINE.ini");
    env_.Set("VERUDA_REGISTRY_FILE", file_);
  }
  std::string file_;
};

TEST_F(Registry, ValuesSurviveAnotherInstanceAndTheFileIsCp932) {
  {
    TRegistry reg;  // the default file comes from VERUDA_REGISTRY_FILE
    EXPECT_EQ(reg.FileName(), file_);
    EXPECT_FALSE(reg.OpenKey("SOFTWARE\\Corvex\\Zaimu", false));
    ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\Corvex\\Zaimu", true));  // the folder is created on the first write
    reg.WriteString("Product", "コルベクス財務 ～①㈱ ｶﾅ");
    reg.WriteString("Version", "11.1.0");
    reg.WriteInteger("Edition", -42);
    reg.CloseKey();
  }
  std::string bytes = ReadAll(file_);
  EXPECT_NE(bytes.find("[SOFTWARE\\Corvex\\Zaimu]\r\n"), std::string::npos) << bytes;
  EXPECT_NE(bytes.find("Product=" + Utf8ToCp932("コルベクス財務 ～①㈱ ｶﾅ") + "\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("Edition=-42\r\n"), std::string::npos);

  TRegistry reg(file_);
  ASSERT_TRUE(reg.OpenKeyReadOnly("software\\CORVEX\\zaimu"));  // paths without regard to case
  EXPECT_EQ(reg.ReadString("product"), "コルベクス財務 ～①㈱ ｶﾅ");
  EXPECT_EQ(reg.ReadString("Version"), "11.1.0");
  EXPECT_EQ(reg.ReadInteger("Edition"), -42);
  EXPECT_EQ(reg.GetDataType("Edition"), TRegDataType::rdInteger);
  EXPECT_EQ(reg.GetDataType("Version"), TRegDataType::rdString);
  EXPECT_EQ(reg.GetDataType("Missing"), TRegDataType::rdUnknown);
  EXPECT_TRUE(reg.ValueExists("VERSION"));
  EXPECT_FALSE(reg.ValueExists("Missing"));
  EXPECT_EQ(reg.ReadString("Missing"), "");
  EXPECT_THROW(reg.ReadInteger("Missing"), ERegistryException);
  EXPECT_THROW(reg.ReadInteger("Version"), ERegistryException);
  EXPECT_THROW(reg.WriteString("Version", "12"), ERegistryException);  // opened read-only
  EXPECT_EQ(reg.GetValueNames(), (std::vector<std::string>{"Product", "Version", "Edition"}));
}

TEST_F(Registry, SubKeysAreEnumeratedSortedWithoutRegardToCase) {
  // Written by the installation in its own order and spelling, one level
  // implied only by a deeper key.
  ForceDirectories(ExtractFileDir(file_));
  WriteAll(file_,
           "[SOFTWARE\\Corvex\\zaimu]\r\nVersion=11.1.0\r\n"
           "[SOFTWARE\\Corvex\\Bunsho]\r\nVersion=3.0.0\r\n"
           "[\\SOFTWARE\\Corvex\\ARIAKE\\Sub]\r\nX=1\r\n"
           "[SOFTWARE\\corvex\\Zaimu\\Options]\r\nA=1\r\n"
           "[SOFTWARE\\Other]\r\nB=2\r\n"
           "[SOFTWARE\\Corvex\\" + Utf8ToCp932("会計") + "]\r\nC=3\r\n");
  TRegistry reg(file_);
  ASSERT_TRUE(reg.OpenKeyReadOnly("SOFTWARE\\Corvex"));
  EXPECT_EQ(reg.GetKeyNames(), (std::vector<std::string>{"ARIAKE", "Bunsho", "zaimu", "会計"}));
  EXPECT_TRUE(reg.HasSubKeys());
  EXPECT_TRUE(reg.GetValueNames().empty());  // a key that only holds keys
  EXPECT_TRUE(reg.KeyExists("Ariake"));       // relative to the open key
  EXPECT_TRUE(reg.KeyExists("\\SOFTWARE\\CORVEX\\ariake\\sub"));
  EXPECT_FALSE(reg.KeyExists("Ariak"));        // a prefix of a name is no key

  ASSERT_TRUE(reg.OpenKeyReadOnly("Zaimu"));   // relative again
  EXPECT_EQ(reg.CurrentPath(), "SOFTWARE\\Corvex\\Zaimu");
  EXPECT_EQ(reg.ReadString("Version"), "11.1.0");
  EXPECT_EQ(reg.GetKeyNames(), std::vector<std::string>{"Options"});

  reg.CloseKey();
  EXPECT_EQ(reg.GetKeyNames(), std::vector<std::string>{"SOFTWARE"});
  reg.SetRootKey(HKEY_CURRENT_USER);  // not kept: nothing exists there
  EXPECT_FALSE(reg.OpenKeyReadOnly("SOFTWARE"));
  EXPECT_FALSE(reg.OpenKey("SOFTWARE\\New", true));
}

TEST_F(Registry, DeletingAKeyRemovesItsWholeSubtree) {
  TRegistry reg(file_);
  for (const char* key : {"SOFTWARE\\M\\A", "SOFTWARE\\M\\A\\Deep\\Er", "SOFTWARE\\M\\AB", "SOFTWARE\\M\\B"}) {
    ASSERT_TRUE(reg.OpenKey(std::string("\\") + key, true));
    reg.WriteInteger("N", 1);
  }
  EXPECT_TRUE(reg.DeleteKey("\\software\\m\\a"));
  EXPECT_FALSE(reg.DeleteKey("\\SOFTWARE\\M\\A"));
  ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\M", false));
  EXPECT_EQ(reg.GetKeyNames(), (std::vector<std::string>{"AB", "B"}));  // "AB" is not below "A"

  ASSERT_TRUE(reg.OpenKey("B", false));
  EXPECT_TRUE(reg.DeleteValue("n"));
  EXPECT_FALSE(reg.ValueExists("N"));
  EXPECT_FALSE(reg.DeleteValue("N"));
}

TEST_F(Registry, AKeyCreatedWithoutValuesIsOpenAndExists) {
  TRegistry reg(file_);
  ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\Empty\\Child", true));
  EXPECT_TRUE(reg.KeyExists("\\SOFTWARE\\Empty"));
  reg.CloseKey();
  ASSERT_TRUE(reg.OpenKey("SOFTWARE\\Empty", false));
  EXPECT_EQ(reg.GetKeyNames(), std::vector<std::string>{"Child"});
  EXPECT_THROW(TRegistry(file_).WriteString("X", "1"), ERegistryException);  // no key open
}

TEST_F(Registry, WritesOfTwoInstancesDoNotUndoEachOther) {
  TRegistry first(file_), second(file_);
  ASSERT_TRUE(first.OpenKey("\\SOFTWARE\\Corvex\\Zaimu", true));
  ASSERT_TRUE(second.OpenKey("\\SOFTWARE\\Corvex\\Zaimu", true));
  first.WriteString("Product", "財務");
  second.WriteString("Version", "11.1.0");  // opened before the first write
  first.WriteInteger("Edition", 3);
  TRegistry reader(file_);
  ASSERT_TRUE(reader.OpenKeyReadOnly("\\SOFTWARE\\Corvex\\Zaimu"));
  EXPECT_EQ(reader.GetValueNames(), (std::vector<std::string>{"Product", "Version", "Edition"}));
}
