// The operator, logged-on and branch lists on the test installation's rows.
#include "core/globals.h"
#include "dbaccess/datasetconnection.h"
#include "dbaccess/oplists.h"
#include "dmtest.h"

using namespace dmtest;

class OpLists : public DmTest {};

TEST_F(OpLists, OperatorListOfTheGroup) {
  ExecOn(inst_.systemDatabase,
         "INSERT INTO OPERATOR(GROUPID,OPCODE,OPNAME,JOBLEVEL,SHONIN) VALUES(10000,5,'内部',9,1)");
  ExecOn(inst_.systemDatabase, "UPDATE OPERATOR SET SHONIN=1, OPNAME='承認\"者' WHERE OPCODE=11");
  ASSERT_TRUE(SystemStore().fnAccDefConnected("", false));
  TUserList list;
  list.GroupId = 10000;
  list.FirstEntry = "選択なし";
  list.Execute();
  ASSERT_EQ(list.Count, 3) << "codes below 10 are never listed";
  EXPECT_EQ(list.GetText(), "選択なし\r\n10:試験担当\r\n11:承認\"者\r\n");
  EXPECT_EQ(list.IndexOfOpCode(0), 0);
  EXPECT_EQ(list.IndexOfOpCode(11), 2);
  EXPECT_EQ(list.IndexOfOpCode(12), -1);
  EXPECT_EQ(list.GetOpCode(3), 0);
  EXPECT_TRUE(list.Entries()[2].SHONIN);

  list.FirstEntry.clear();
  list.ApproversOnly = true;
  list.TabForm = true;
  list.Execute();
  ASSERT_EQ(list.Count, 1);
  EXPECT_EQ(list.Lines()[0], "\"11\"\t\"承認'者\"");
  EXPECT_TRUE(shown_.empty());
}

TEST_F(OpLists, LoggedOnOperators) {
  for (const char* row : {"(100000010,10000,10,'pc-a')", "(100000011,10000,11,'pc-b')", "(200000011,10000,11,'pc-c')",
                          "(300000010,20000,10,'pc-d')"})
    ExecOn(inst_.systemDatabase, std::string("INSERT INTO LOGONUSERLIST(OPCODE,GROUPID,OPERATORCODE,PCNAME) VALUES") + row);
  ASSERT_TRUE(SystemStore().fnAccDefConnected("", false));
  TLoginUserListOnDef list;
  list.Execute(10000, 100000010, false);
  ASSERT_EQ(list.Count, 2) << "one line per computer";
  EXPECT_EQ(list.Lines()[0], "11:一般担当");
  EXPECT_EQ(list.GetOpCode(1), 11);
  list.Execute(10000, 100000010, true);
  EXPECT_EQ(list.Count, 3);
  std::string name;
  list.GetOpName(0, name);
  EXPECT_EQ(name, "試験担当");
  list.GetOpName(5, name);
  EXPECT_EQ(name, "");
}

TEST_F(OpLists, BranchListFollowsTheOperatorsLicences) {
  const std::string db = DataFolder(3) + "/rqacc.fdb";
  for (const char* sql : {"DELETE FROM OPLICENSE", "DELETE FROM SISETUGROUPLIST", "DELETE FROM SISETUGROUP",
                          "INSERT INTO SISETUGROUP(GCODE,GNAME) VALUES('G1','本部と第一')",
                          "INSERT INTO SISETUGROUP(GCODE,GNAME) VALUES('G2','第二')",
                          "INSERT INTO SISETUGROUPLIST(GCODE,SCODE) VALUES('G1','00')",
                          "INSERT INTO SISETUGROUPLIST(GCODE,SCODE) VALUES('G1','01')",
                          "INSERT INTO SISETUGROUPLIST(GCODE,SCODE) VALUES('G2','02')",
                          "INSERT INTO OPLICENSE(OPCODE,SCODE) VALUES(100000011,'00')",
                          "INSERT INTO OPLICENSE(OPCODE,SCODE) VALUES(100000011,'01')"})
    ExecOn(db, sql);
  ConnectDataSet(3);
  ASSERT_TRUE(DataSetConnection().fnGetAccInfo());
  AccInf.MedicalLayout = 0;
  SystemDef.JobLevel = 3;
  SystemDef.OpCode = kOpLevel3;

  TSitenList list;
  list.Flags = slWhole | slGroups | slBranches;
  list.Execute(-1);
  EXPECT_EQ(list.Lines(), (std::vector<std::string>{"法人全体", "(G1):本部と第一", "(G2):第二", "00:本部", "01:第一病院",
                                                    "02:第二病院"}));
  EXPECT_EQ(list.Entries()[3].Color, 255);
  list.Execute(kOpLevel3);
  EXPECT_EQ(list.Lines(), (std::vector<std::string>{"(G1):本部と第一", "00:本部", "01:第一病院"}));
  std::string code;
  list.GetCode(1, code);
  EXPECT_EQ(code, "00");

  // The right to the whole data set needs every branch.
  list.Flags = slBranches;
  list.Execute(-1);
  const int all = list.Count;
  list.Execute(kOpLevel3);
  EXPECT_LT(list.Count, all);
  ExecOn(db, "INSERT INTO OPLICENSE(OPCODE,SCODE) VALUES(100000011,'02')");
  list.Execute(kOpLevel3);
  EXPECT_EQ(list.Count, all);
  DataSetConnection().AccDatDisconnect("", false, false);
}
