// The typed settings stores: SYSREG of the system database and ACCREG /
// ACCREG_BLOB_BINARY of a data set.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/globals.h"
#include "dbaccess/accreg.h"
#include "dbaccess/datasetconnection.h"
#include "dmtest.h"

using namespace dmtest;

namespace {

struct TReadCase {
  const char* what;
  const char* stored;  // nullptr: no row yet
  const char* type;
  const char* def;
  TVariant expected;
  const char* storedAfter;
};

}  // namespace

class SettingsStores : public DmTest {
 protected:
  void SetUp() override {
    DmTest::SetUp();
    ASSERT_TRUE(SystemStore().fnAccDefConnected("", true));
    ConnectDataSet(1);
  }
  std::string SysRegRow(int op, const std::string& key, const char* column) {
    return QueryDef(std::string("SELECT ") + column + " FROM SYSREG WHERE OPCODE=" + std::to_string(op) + " AND SCODE='" +
                    key + "'");
  }
  std::string AccRegRow(const std::string& key, const char* column) {
    return QueryDat(std::string("SELECT ") + column + " FROM ACCREG WHERE AGROUP='基本設定' AND ACODE='" + key + "'");
  }
};

TEST_F(SettingsStores, SysRegReadsConvertAndInsertDefaults) {
  const TReadCase cases[] = {
      {"missing integer", nullptr, "整数", "1", TVariant(1), "1"},
      {"empty text reads as a space", "", "文字", "x", TVariant(" "), ""},
      {"lower-case true is false", "true", "論理", "FALSE", TVariant(false), "true"},
      {"TRUE", "TRUE", "論理", "FALSE", TVariant(true), "TRUE"},
      {"empty date", "", "日付", "", TVariant::FromDate(0), ""},
      {"date", "2019/10/01", "日付", "", TVariant::FromDate(EncodeDate(2019, 10, 1)), "2019/10/01"},
      {"no number", "abc", "整数", "0", TVariant(0), "abc"},
      {"amount", "12.5", "金額", "0", TVariant(Currency::FromRaw(125000)), "12.5"},
      {"unknown type", nullptr, "倍精度", "3", TVariant("Data Type Error"), "3"},
  };
  int n = 0;
  for (const TReadCase& c : cases) {
    const std::string key = "試験キー" + std::to_string(++n);
    if (c.stored)
      ExecOn(inst_.systemDatabase, "INSERT INTO SYSREG(OPCODE,SCODE,STYPE,STEXT) VALUES(" + std::to_string(kOpLevel9) +
                                       ",'" + key + "','" + c.type + "','" + c.stored + "')");
    TVariant value;
    SystemStore().GetSysRegOp(key, c.type, c.def, value);
    EXPECT_EQ(value, c.expected) << c.what;
    EXPECT_EQ(SysRegRow(kOpLevel9, key, "STEXT"), c.storedAfter) << c.what;
    EXPECT_EQ(SysRegRow(kOpLevel9, key, "STYPE"), c.type) << c.what;
    SystemStore().GetSysRegOp(key, c.type, "other default", value);
    EXPECT_EQ(value, c.expected) << c.what << " (second read)";
  }
  EXPECT_TRUE(shown_.empty());
  EXPECT_FALSE(SystemStore().IBTransactionDEF.InTransaction());
}

TEST_F(SettingsStores, SysRegWritesKeepTheStoredType) {
  SystemStore().funcPutSysReg("新キー", "論理", 5, TVariant(true));
  EXPECT_EQ(SysRegRow(5, "新キー", "STEXT"), "TRUE");
  SystemStore().funcPutSysReg("新キー", "整数", 5, TVariant(7));
  EXPECT_EQ(SysRegRow(5, "新キー", "STEXT"), "7");
  EXPECT_EQ(SysRegRow(5, "新キー", "STYPE"), "論理");
  SystemStore().funcPutSysReg("日付キー", "日付", 5, TVariant::FromDate(0));
  EXPECT_EQ(SysRegRow(5, "日付キー", "STEXT"), "");
  TVariant v;
  SystemStore().funcGetSysReg("日付キー", "日付", "", 5, v);
  EXPECT_EQ(v.AsDateTime(), 0);
  SystemStore().funcPutSysReg("不明キー", "倍精度", 5, TVariant(1));
  EXPECT_EQ(QueryDef("SELECT COALESCE(STEXT,'<null>') FROM SYSREG WHERE OPCODE=5 AND SCODE='不明キー'"), "<null>");

  // A value that does not convert is reported and changes nothing.
  SystemStore().funcPutSysReg("新キー", "整数", 5, TVariant("abc"));
  EXPECT_EQ(SysRegRow(5, "新キー", "STEXT"), "7");
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].text.rfind("システム共通変数の保存に失敗しました。", 0), 0u);
}

TEST_F(SettingsStores, SysRegInsideACallersTransactionLeavesItToTheCaller) {
  SystemStore().IBTransactionDEF.StartTransaction();
  SystemStore().funcPutSysReg("取消キー", "整数", 6, TVariant(1));
  EXPECT_TRUE(SystemStore().IBTransactionDEF.InTransaction());
  SystemStore().IBTransactionDEF.Rollback();
  EXPECT_EQ(SysRegRow(6, "取消キー", "STEXT"), "");
}

TEST_F(SettingsStores, AccRegReadsConvertAndInsertDefaults) {
  const TReadCase cases[] = {
      {"missing integer", nullptr, "整数", "0", TVariant(0), "0"},
      {"first read of 8%", nullptr, "論理", "TRUE", TVariant(true), "TRUE"},
      {"lower-case true", "true", "論理", "FALSE", TVariant(true), "true"},
      {"YES is false", "YES", "論理", "TRUE", TVariant(false), "YES"},
      {"empty text", "", "文字", "x", TVariant(" "), ""},
      {"zero-date default", nullptr, "日付", "0", TVariant::FromDate(0), "0"},
      {"float", "2.5", "実数", "0", TVariant::FromFloat(2.5), "2.5"},
      {"date and time", "2020/02/29 13:45:10", "日時", "", TVariant::FromDate(EncodeDate(2020, 2, 29) +
                                                                             EncodeTime(13, 45, 10, 0)),
       "2020/02/29 13:45:10"},
      {"unknown type", nullptr, "謎", "q", TVariant("Data Type Error"), "q"},
  };
  int n = 0;
  for (const TReadCase& c : cases) {
    const std::string key = "試験" + std::to_string(++n);
    if (c.stored) {
      DataSetConnection().AccDatDisconnect("", false, false);
      ExecOn(DataFolder(1) + "/rqacc.fdb", std::string("INSERT INTO ACCREG(AGROUP,ACODE,ATYPE,ATEXT) VALUES('基本設定','") +
                                                key + "','" + c.type + "','" + c.stored + "')");
      ConnectDataSet(1);
    }
    TVariant value;
    GetAccReg("基本設定", key, c.type, c.def, value);
    EXPECT_EQ(value, c.expected) << c.what;
    EXPECT_EQ(AccRegRow(key, "ATEXT"), c.storedAfter) << c.what;
  }
}

TEST_F(SettingsStores, AccRegWritesAndDeletes) {
  PutAccReg("基本設定", "日付", "日付", TVariant::FromDate(EncodeDate(2021, 3, 9)));
  EXPECT_EQ(AccRegRow("日付", "ATEXT"), "2021/03/09");
  PutAccReg("基本設定", "日付", "整数", TVariant(5));
  EXPECT_EQ(AccRegRow("日付", "ATYPE"), "日付");
  EXPECT_EQ(AccRegRow("日付", "ATEXT"), "5");
  PutAccReg("基本設定", "論理", "論理", TVariant(true));
  EXPECT_EQ(AccRegRow("論理", "ATEXT"), "TRUE");
  EXPECT_THROW(PutAccReg("基本設定", "論理", "整数", TVariant("abc")), EConvertError);
  EXPECT_EQ(AccRegRow("論理", "ATEXT"), "TRUE");
  DeleteAccReg("基本設定", "論理");
  DeleteAccReg("基本設定", "論理");
  EXPECT_EQ(AccRegRow("論理", "ATEXT"), "");
  EXPECT_FALSE(DataSetConnection().IBTransactionDAT.InTransaction());
}

TEST_F(SettingsStores, MemosAndPicturesRoundTrip) {
  PutAccRegBlob("ヴェルダ連動", "設定情報", "メモ", TVariant("一行目\r\n二行目"));
  TVariant memo;
  GetAccRegBlob("ヴェルダ連動", "設定情報", "メモ", memo);
  EXPECT_EQ(memo.AsString(), "一行目\r\n二行目\r\n");

  const std::string picture = temp_.File("logo.jpg");
  const std::string bytes("\xFF\xD8\xFF\x00binary\r\n\x1A", 13);
  std::ofstream(picture, std::ios::binary) << bytes;
  PutAccRegBlob("画像", "ロゴ", "JPG", TVariant(picture));
  TVariant first, second;
  GetAccRegBlob("画像", "ロゴ", "画像", first);
  GetAccRegBlob("画像", "ロゴ", "画像", second);
  EXPECT_NE(first.AsString(), second.AsString()) << "two reads in one second get their own files";
  for (const TVariant* v : {&first, &second}) {
    EXPECT_EQ(std::filesystem::path(v->AsString()).extension(), ".jpg");
    EXPECT_EQ(std::filesystem::path(v->AsString()).filename().string().rfind("accreg-", 0), 0u);
    std::ifstream in(v->AsString(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    EXPECT_EQ(s.str(), bytes);
  }
  TVariant untouched("kept");
  GetAccRegBlob("画像", "なし", "画像", untouched);
  EXPECT_EQ(untouched.AsString(), "kept");
}
