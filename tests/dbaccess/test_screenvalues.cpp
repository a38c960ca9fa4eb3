// Saved screen values, the product version list from the registry
// emulation, the text splitter and the code-system import.
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/appinfo.h"
#include "core/globals.h"
#include "dbaccess/codesystem.h"
#include "dbaccess/productversions.h"
#include "dbaccess/screenvalues.h"
#include "dbaccess/systemstore.h"
#include "dbaccess/textsplit.h"
#include "dmtest.h"
#include "platform/rtl/cp932.h"
#include "platform/win/registry.h"

using namespace dmtest;
namespace fs = std::filesystem;

class ScreenValues : public DmTest {};

TEST_F(ScreenValues, SavedValueRoundTrip) {
  ASSERT_TRUE(SystemStore().fnAccDefConnected("", false));
  TGamenKeyValue store;
  store.HozonValue("TFormSearch", "　検索語 ");
  std::string value;
  TGamenKeyValue reader;
  reader.FukugenValue("TFormSearch", value);
  EXPECT_EQ(value, "検索語");
  EXPECT_EQ(QueryDef("SELECT STYLENAME FROM STYLECOLOR WHERE OPCODE=100000010"), "020-TFORMSEARCH");

  ExecOn(inst_.systemDatabase, "UPDATE STYLECOLOR SET LINECOLOR1=5");
  store.HozonValue("TFormSearch", std::string(2000, 'x'));
  reader.FukugenValue("TFormSearch", value);
  EXPECT_EQ(value, std::string(1024, 'x'));
  EXPECT_EQ(QueryDef("SELECT LINECOLOR1 FROM STYLECOLOR WHERE OPCODE=100000010"), "-1");

  // Keys alike in their first 36 bytes share one row.
  store.HozonValue(std::string(36, 'K') + "A", "first");
  store.HozonValue(std::string(36, 'K') + "B", "second");
  reader.FukugenValue(std::string(36, 'K') + "A", value);
  EXPECT_EQ(value, "second");

  SystemDef.OpCode = 0;
  TGamenKeyValue nobody;
  nobody.HozonValue("TFormSearch", "x");
  nobody.FukugenValue("TFormSearch", value);
  EXPECT_EQ(value, "");
  EXPECT_TRUE(shown_.empty());
}

TEST(TextSplit, CommaAndPointRules) {
  struct Case {
    char delimiter;
    std::string text;
    std::vector<std::string> items;
  } cases[] = {
      {',', "a,,b", {"a", "", "b"}},     {',', "a,", {"a", ""}},          {',', "", {""}},
      {',', "x y,z", {"x", "y", "z"}},   {',', "\"x y\",z", {"x y", "z"}}, {',', "\"a\"\"b\"", {"a\"b"}},
      {'.', "11.2.0", {"11", "2", "0"}}, {',', "  ", {""}},
  };
  for (const Case& c : cases) {
    TMojiBunkatu split;
    split.Delimiter = c.delimiter;
    split.Split(c.text);
    ASSERT_EQ(split.Count, static_cast<int>(c.items.size())) << c.text;
    for (int i = 0; i < split.Count; ++i) EXPECT_EQ(split.Item(i), c.items[static_cast<std::size_t>(i)]) << c.text;
    EXPECT_EQ(split.Item(split.Count), "");
  }
}

TEST_F(ScreenValues, ProductVersionsFromTheRegistry) {
  struct Restore {
    TAppInfoRec saved = AppInfo;
    ~Restore() {
      AppInfo = saved;
      ::unsetenv("VERUDA_REGISTRY_FILE");
    }
  } restore;
  const std::string file = temp_.File("registry.ini");
  ::setenv("VERUDA_REGISTRY_FILE", file.c_str(), 1);
  AppInfo.RegKey = "SOFTWARE\\norvane";
  AppInfo.ZaimuRegKey = "CorvexZaimu";
  {
    TRegistry reg;
    struct Product {
      const char* key;
      const char* version;
      const char* type;
    } products[] = {{"CorvexZaimu12", "12.1.0", "12版プロ"},
                    {"CorvexZaimu11", "3.0.5", "別名"},
                    {"CorvexZaimuOld", "12.1", "二桁"},
                    {"OtherProduct", "20.0.0", "他製品"}};
    for (const Product& p : products) {
      ASSERT_TRUE(reg.OpenKey(AppInfo.RegKey + "\\" + p.key, true));
      reg.WriteString("Version", p.version);
      reg.WriteString("Type", p.type);
      reg.CloseKey();
    }
  }
  SystemDef.AppVersion = 5;
  TSeihinVersionList list;
  list.Execute(false);
  EXPECT_EQ(list.Names(), (std::vector<std::string>{"09版", "10版", "11版", "12版", "13版", "12版プロ"}));
  list.FirstName = "選択なし";
  list.Execute(true);
  EXPECT_EQ(list.Names(), (std::vector<std::string>{"選択なし", "12版プロ", "13版", "12版", "11版", "10版", "09版"}));
  std::string text;
  list.GetVersionText(0, text);
  EXPECT_EQ(text, "");
  list.GetVersionText(1, text);
  EXPECT_EQ(text, "12.1");
  EXPECT_EQ(list.IndexOfName("11版"), 4);
}

TEST_F(ScreenValues, CodeSystemImportAndRepair) {
  ExecOn(inst_.systemDatabase, "DELETE FROM USERCODE");
  ExecOn(inst_.systemDatabase, "INSERT INTO USERCODE(RECNO,NAME,DATATYPE,CODETYPE) VALUES(1,'',0,0)");
  ExecOn(inst_.systemDatabase,
         "INSERT INTO USERCODE(RECNO,NAME,DATATYPE,CODETYPE,INIDAT1) VALUES(2,'x',1,1,'1,x,2,3,0')");
  ExecOn(inst_.systemDatabase,
         "INSERT INTO USERCODE(RECNO,NAME,DATATYPE,CODETYPE,INIDAT1) VALUES(3,'y',1,1,'1,y,0,3,0')");
  struct Restore {
    TAppInfoRec saved = AppInfo;
    ~Restore() { AppInfo = saved; }
  } restore;
  AppInfo.OEM = "-";  // the product mark of the standard product
  AppInfo.VerTest.clear();
  ASSERT_TRUE(SystemStore().fnAccDefConnected("", false));
  TCodeTaikeiIO io;  // the repair runs at creation
  EXPECT_EQ(QueryDef("SELECT DATATYPE FROM USERCODE WHERE RECNO=2"), "2");
  EXPECT_EQ(QueryDef("SELECT DATATYPE FROM USERCODE WHERE RECNO=3"), "1") << "a header without a data type changes nothing";

  const std::string file = temp_.File("code.csv");
  std::ofstream(file, std::ios::binary) << Utf8ToCp932(
      "1,\"法人 標準\",1,2,0\r\n2,1110,現金\r\n21,1111,小口\r\n2,1210,売掛金\r\n71,x\r\n9,ignored\r\n");
  ASSERT_TRUE(io.ImportCodeFile(file, 1));
  EXPECT_EQ(QueryDef("SELECT NAME FROM USERCODE WHERE RECNO=1"), "法人 標準");
  EXPECT_EQ(QueryDef("SELECT CODETYPE FROM USERCODE WHERE RECNO=1"), "2");
  EXPECT_EQ(QueryDef("SELECT INIDAT2 FROM USERCODE WHERE RECNO=1"), "2,1110,現金\r\n21,1111,小口\r\n2,1210,売掛金");

  std::ofstream(file, std::ios::binary) << "1,other,1,2,0,XX\r\n";
  EXPECT_FALSE(io.ImportCodeFile(file, 1));
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_NE(shown_[0].text.find("製品区分"), std::string::npos);
  std::ofstream(file, std::ios::binary) << "2,1110,x\r\n";
  EXPECT_FALSE(io.ImportCodeFile(file, 1)) << "no header, no write";
  EXPECT_THROW(io.ImportCodeFile(temp_.File("missing.csv"), 1), std::exception);
}
