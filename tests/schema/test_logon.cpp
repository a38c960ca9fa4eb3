// The logon check LOGONUSERTEST (and TE_LOGONUSERTEST) of the system database.
#include <gtest/gtest.h>

#include <string>

#include "schema/isql_session.h"

namespace schematest {
namespace {

class LogonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sys_.CreateFromScript("system/11.0.1.sql");
    if (HasFatalFailure()) return;
    const IsqlResult r = sys_.Run(
        "INSERT INTO OPERATOR (GROUPID, OPCODE, OPNAME, JOBLEVEL, PASWORD) VALUES (10000, 15, '経理　太郎', 5, 'Secret');\n"
        "INSERT INTO OPERATOR (GROUPID, OPCODE, OPNAME, JOBLEVEL, PASWORD) VALUES (10000, 16, '空き', 3, '');\n"
        "COMMIT;\n");
    ASSERT_EQ(r.exit_code, 0) << r.output;
  }

  Row Logon(const std::string& procedure, const std::string& pc, int group, int code, const std::string& password) {
    const auto rows = sys_.Query("SELECT NUM, LOGINCODE, JOBLEVEL FROM " + procedure + "('" + pc + "', " +
                                 std::to_string(group) + ", " + std::to_string(code) + ", 2, '" + password + "');");
    EXPECT_EQ(rows.size(), 1u);
    return rows.empty() ? Row{} : rows[0];
  }

  TempFolder folder_;
  Database sys_{Embedded(), folder_.File("rqaccdef.fdb")};
};

TEST_F(LogonTest, AnswersByCodePasswordAndComputer) {
  struct Case {
    const char* what;
    const char* procedure;
    const char* pc;
    int group;
    int code;
    const char* password;
    const char* num;
    const char* login;
    const char* level;
  };
  // In order: each case sees the logon rows that the earlier ones left.
  const Case cases[] = {
      {"wrong password", "LOGONUSERTEST", "PC-A", 10000, 15, "secret", "-1", "0", "0"},
      {"password with a trailing blank", "LOGONUSERTEST", "PC-A", 10000, 15, "Secret ", "-1", "0", "0"},
      {"unknown code", "LOGONUSERTEST", "PC-A", 10000, 99, "Secret", "-1", "0", "0"},
      {"other group", "LOGONUSERTEST", "PC-A", 20000, 15, "Secret", "-1", "0", "0"},
      {"first logon", "LOGONUSERTEST", "PC-A", 10000, 15, "Secret", "0", "15", "5"},
      {"same operator, other computer", "LOGONUSERTEST", "PC-B", 10000, 15, "Secret", "-3", "0", "0"},
      {"same operator, same computer again", "LOGONUSERTEST", "PC-A", 10000, 15, "Secret", "1", "15", "5"},
      {"empty password", "TE_LOGONUSERTEST", "user2", 10000, 16, "", "0", "16", "3"},
      {"desktop user of another session", "TE_LOGONUSERTEST", "user3", 10000, 16, "", "-3", "0", "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Row row = Logon(c.procedure, c.pc, c.group, c.code, c.password);
    EXPECT_EQ(row.at("NUM"), c.num);
    EXPECT_EQ(row.at("LOGINCODE"), c.login);
    EXPECT_EQ(row.at("JOBLEVEL"), c.level);
  }
  const auto logged = sys_.Query("SELECT OPCODE, GROUPID, OPERATORCODE, PCNAME, APPVERSION FROM LOGONUSERLIST ORDER BY OPCODE;");
  ASSERT_EQ(logged.size(), 2u);
  EXPECT_EQ(logged[0].at("OPCODE"), "100000015");
  EXPECT_EQ(logged[0].at("PCNAME"), "PC-A");
  EXPECT_EQ(logged[0].at("APPVERSION"), "2");
  EXPECT_EQ(logged[1].at("OPCODE"), "100000016");
  EXPECT_EQ(logged[1].at("PCNAME"), "user2");
}

// The program deletes its row when it ends; the operator may then log on
// from any computer.
TEST_F(LogonTest, DeletedRowFreesTheOperator) {
  EXPECT_EQ(Logon("LOGONUSERTEST", "PC-A", 10000, 15, "Secret").at("NUM"), "0");
  const IsqlResult r = sys_.Run("DELETE FROM LOGONUSERLIST WHERE OPCODE=100000015; COMMIT;");
  ASSERT_EQ(r.exit_code, 0) << r.output;
  EXPECT_EQ(Logon("LOGONUSERTEST", "PC-B", 10000, 15, "Secret").at("NUM"), "0");
}

}  // namespace
}  // namespace schematest
