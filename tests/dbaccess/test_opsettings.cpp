// The operator's settings: first use of a new operator, reading an existing
// one, the packed flags and the write back.
#include "core/globals.h"
#include "core/settings.h"
#include "dbaccess/dbui.h"
#include "dbaccess/systemstore.h"
#include "dmtest.h"

using namespace dmtest;

class OperatorSettings : public DmTest {
 protected:
  void SetUp() override {
    DmTest::SetUp();
    ASSERT_TRUE(SystemStore().fnAccDefConnected("", true));
  }
  int Count(const std::string& sql) { return std::stoi(QueryDef(sql)); }
  std::string SysDef(const char* column, int op) {
    return QueryDef(std::string("SELECT ") + column + " FROM SYSDEF WHERE OPCODE=" + std::to_string(op));
  }
};

TEST_F(OperatorSettings, FirstUseCreatesTheRowAndDefaultsOnce) {
  struct Case {
    int oemKind;
    int firstUseRows;
    int dicSwitch;
    int taxCodePrint;
  };
  int op = 100000050;
  // Of these eighteen keys the first use writes eight (eighteen in the
  // alternative edition); three more of them are read in every edition.
  for (const Case c : {Case{0, 8 + 3, 0, 1}, Case{1, 18, 2, 0}}) {
    ++op;
    OemKind = static_cast<std::uint8_t>(c.oemKind);
    SystemDef = TSystemDef{};
    SystemDef.GroupId = 10000;
    SystemDef.OpCode = op;
    SystemDef.LogDir = inst_.dataRoot + "/log";
    // A stored 消費税コード印刷区分 of 0 counts only in the alternative edition.
    SystemStore().funcPutSysReg("消費税コード印刷区分", "整数", op, TVariant(0));
    ASSERT_TRUE(SystemStore().fnGetSysDef());
    const std::string ops = std::to_string(op);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM SYSDEF WHERE OPCODE=" + ops), 1);
    EXPECT_EQ(SystemDef.SankakuPlus, 1);
    EXPECT_EQ(SystemDef.NetColor1, 0xD7FFD7);
    EXPECT_EQ(SystemDef.PLineColor2, 0x7900);
    EXPECT_EQ(SystemDef.ColHeaderColor, DefaultGridColors[0]);
    EXPECT_EQ(SystemDef.DicSwitch, c.dicSwitch);
    EXPECT_EQ(SystemDef.TaxCodePrint, c.oemKind ? 0 : 1);
    EXPECT_EQ(SystemDef.SisanTitle, "試　算　表");
    EXPECT_EQ(SystemDef.PlTitles[2], "損益");
    EXPECT_TRUE(SystemDef.SgaTitles[0].empty());
    EXPECT_EQ(SystemDef.SysVerMajor, 11);
    EXPECT_EQ(SystemDef.TekAutoOpen, 1) << "the first-use input default beats the read default";
    const int rows = Count("SELECT COUNT(*) FROM SYSREG WHERE OPCODE=" + ops);
    ASSERT_TRUE(SystemStore().fnGetSysDef());
    EXPECT_EQ(Count("SELECT COUNT(*) FROM SYSDEF WHERE OPCODE=" + ops), 1) << "a second call inserts nothing";
    EXPECT_EQ(Count("SELECT COUNT(*) FROM SYSREG WHERE OPCODE=" + ops), rows);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM SYSREG WHERE OPCODE=" + ops +
                    " AND SCODE IN ('摘要＿辞書開く区分','摘要＿連想開く区分','摘要＿自動開く区分','摘要＿入力なし区分',"
                    "'取引先＿辞書開く区分','取引先＿連想開く区分','取引先＿自動開く区分','取引先＿入力なし区分',"
                    "'次項目移動区分','科目コード桁数','補助コード桁数','部門コード桁数','仕訳日付フォーカス',"
                    "'元帳最終行残高出力区','試算表集計出力区分','元帳１行出力区分','元帳付箋マーク出力区',"
                    "'連想辞書抽出条件区分')"),
              c.firstUseRows);
  }
  OemKind = 0;
  EXPECT_TRUE(shown_.empty());
}

TEST_F(OperatorSettings, ExistingRowFlagsOfficeAndGroupSetting) {
  const int op = kOpLevel9;
  ASSERT_TRUE(SystemStore().fnGetSysDef());
  SystemStore().IBDatabaseDEF.Close();
  const std::string ops = std::to_string(op);
  ExecOn(inst_.systemDatabase, "UPDATE SYSDEF SET RESERVE4=48+512, COLHEADERGRADCOLOR1=0, COLHEADERGRADCOLOR2=0, "
                               "SHOUHYOU=7, FONTNAME='Noto' WHERE OPCODE=" + ops);
  ExecOn(inst_.systemDatabase, "UPDATE OR INSERT INTO SYSTEMINI(REC,RESERVE1,SSTR) VALUES(10,0,'NAME=山田事務所' || "
                               "ASCII_CHAR(13) || ASCII_CHAR(10) || 'TEL=03-1234')");
  ExecOn(inst_.systemDatabase, "UPDATE OR INSERT INTO SYSTEMINI(REC,RESERVE1) VALUES(20,1)");
  ExecOn(inst_.systemDatabase, "UPDATE OR INSERT INTO SYSREG(OPCODE,SCODE,STYPE,STEXT) VALUES(100009999,"
                               "'データ破損チェック区','整数','0')");
  ExecOn(inst_.systemDatabase, "UPDATE OR INSERT INTO SYSREG(OPCODE,SCODE,STYPE,STEXT) VALUES(" + ops +
                                   ",'データ破損チェック区','整数','1')");
  ASSERT_TRUE(SystemStore().fnAccDefConnected("", true));
  DbUi.FontInstalled = [](const std::string& name) { return name == "Noto"; };
  SystemDef.FontSize = 0;
  ASSERT_TRUE(SystemStore().fnGetSysDef());
  EXPECT_EQ(SystemDef.Reserve4Choice56, 1) << "bit 5 wins over bit 6";
  EXPECT_EQ(SystemDef.WarekiDisplay, 1);
  EXPECT_EQ(SystemDef.ColHeaderGradColor1, 0xFFFFFF);
  EXPECT_EQ(SystemDef.ColHeaderGradColor2, 0xBBBBBB);
  EXPECT_EQ(SystemDef.OfficeName, "山田事務所");
  EXPECT_EQ(SystemDef.OfficeTel, "03-1234");
  EXPECT_EQ(SystemDef.OfficeAddress, "");
  EXPECT_EQ(SystemDef.UnrestrictedOperators, 1);
  EXPECT_EQ(SystemDef.DataCheckMode, 0) << "the group's setting, not the operator's";
  EXPECT_EQ(SystemDef.SysFont.Name, "Noto");

  SystemDef.PrinterName = "プリンタ";
  ASSERT_TRUE(SystemStore().fnPutSysDef());
  EXPECT_EQ(SysDef("RESERVE4", op), "528");
  EXPECT_EQ(SysDef("COLHEADERGRADCOLOR1", op), "16777215");
  EXPECT_EQ(SysDef("COLHEADERGRADCOLOR2", op), "12303291");
  EXPECT_EQ(SysDef("PRINTERNAME", op), "プリンタ");
  EXPECT_EQ(SysDef("SHOUHYOU", op), "7") << "a column nobody sets is left as stored";
  EXPECT_TRUE(shown_.empty());
}

TEST_F(OperatorSettings, FailuresAreReportedWithTheirMessages) {
  SystemStore().IBDatabaseDEF.Close();
  SystemDef.SysDir = temp_.File("gone");
  SystemStore().IBDatabaseDEF.DatabaseName = temp_.File("gone/rqaccdef.fdb");
  EXPECT_FALSE(SystemStore().fnGetSysDef());
  EXPECT_FALSE(SystemStore().fnPutSysDef());
  ASSERT_EQ(shown_.size(), 2u);
  EXPECT_EQ(shown_[0].text.rfind("システム情報の取得に失敗しました。\rアプリケーションを終了します。", 0), 0u);
  EXPECT_EQ(shown_[1].text.rfind("システム情報の書き込みに失敗しました。\r現在のシステム設定は保存されません。", 0), 0u);
}
