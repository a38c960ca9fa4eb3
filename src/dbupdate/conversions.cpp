// The data conversions of the system-database steps, through the data module.
#include <memory>

#include "core/globals.h"
#include "dbaccess/codesystem.h"
#include "dbaccess/systemstore.h"
#include "dbupdate/systemstepprocs.h"
#include "dbupdate/updatescript.h"
#include "platform/fb/ibx.h"
#include "platform/win/paths.h"
#include "platform/rtl/sysutils.h"

namespace {

TSystemStore& DataModule() {
  if (!DataModuleExists()) throw std::runtime_error("the data module does not exist");
  return SystemStore();
}

// Connects the system database for the work and disconnects it afterwards,
// also when the work raises.
class TSystemDbSession {
 public:
  TSystemDbSession() : dm_(DataModule()) {
    if (!dm_.IBDatabaseDEF.Connected() && !dm_.fnAccDefConnected(SystemDef.HostName, false))
      throw std::runtime_error("the system database cannot be connected");
  }
  ~TSystemDbSession() {
    if (dm_.IBTransactionDEF.InTransaction()) dm_.IBTransactionDEF.Rollback();
    dm_.IBDatabaseDEF.Close();
  }
  TSystemDbSession(const TSystemDbSession&) = delete;
  TSystemDbSession& operator=(const TSystemDbSession&) = delete;
  TSystemStore& dm() { return dm_; }

 private:
  TSystemStore& dm_;
};

std::string LineValue(const std::string& Text, const std::string& Name) {
  std::string value;
  TSystemStore::GetParamValue(Text, Name, value);
  return value;
}

}  // namespace

void ConvertCompanyInfo() {
  TSystemDbSession session;
  TSystemStore& dm = session.dm();
  TSystemIniRec row;
  row.REC = 10;
  if (!dm.GetSysIni(row)) return;
  SystemDef.OfficeName = LineValue(row.SSTR, "NAME");
  SystemDef.OfficeAddress = LineValue(row.SSTR, "JYUSHO");
  SystemDef.OfficeTel = LineValue(row.SSTR, "TEL");
  if (row.RESERVE1 != 1) return;
  row.RESERVE3 = 1;
  row.RESERVE4 = row.RESERVE5 = 0;
  row.SSTR = Format("NAME=%s%sJYUSHO=%s%sTEL=%s%s", SystemDef.OfficeName, "\r", SystemDef.OfficeAddress, "\r",
                    SystemDef.OfficeTel, "\r");
  if (!dm.SetSysIni(row)) throw std::runtime_error("SYSTEMINI row 10 cannot be written");
}

void ConvertMenuControl() {
  TSystemDbSession session;
  TSystemStore& dm = session.dm();
  TIBTransaction& tr = dm.IBTransactionDEF;
  tr.StartTransaction();
  TIBSQL read, insert;
  read.SetDatabase(&dm.IBDatabaseDEF);
  read.SetTransaction(&tr);
  read.ParamCheck = false;
  read.SQL.Add("SELECT LEVELNO,PAGENO,MENUNO FROM JOBCONTROL");
  read.SQL.Add("ORDER BY LEVELNO,PAGENO,MENUNO");
  insert.SetDatabase(&dm.IBDatabaseDEF);
  insert.SetTransaction(&tr);
  insert.SQL.Add("INSERT INTO JOBCONTROL2(LEVELNO,PROC_ID,PROC_OPTION)");
  insert.SQL.Add("VALUES(:LEVELNO,:PROC_ID,:PROC_OPTION)");
  read.ExecQuery();
  while (!read.Eof()) {
    const std::int32_t level = read.Fields(0).AsInteger();
    std::string procId, option;
    LookupOldMenuProc(level, read.Fields(1).AsInteger(), read.Fields(2).AsInteger(), procId, option);
    if (!procId.empty()) {
      insert.ParamByName("LEVELNO").AsInteger(level);
      insert.ParamByName("PROC_ID").AsString(procId);
      insert.ParamByName("PROC_OPTION").AsString(option);
      insert.ExecQuery();
      insert.Close();
    }
    read.Next();
  }
  read.Close();
  tr.Commit();
}

void ConvertDictionaryInput() {
  TSystemDbSession session;
  TSystemStore& dm = session.dm();
  TIBTransaction& tr = dm.IBTransactionDEF;
  tr.StartTransaction();
  struct Row {
    std::int32_t opCode, tek, tor;
  };
  std::vector<Row> rows;
  {
    TIBSQL read;
    read.SetDatabase(&dm.IBDatabaseDEF);
    read.SetTransaction(&tr);
    read.SQL.Add("SELECT OPCODE,DICTEKAUTO,DICTORAUTO FROM SYSDEF");
    read.SQL.Add("ORDER BY OPCODE");
    read.ExecQuery();
    for (; !read.Eof(); read.Next())
      rows.push_back({read.Fields(0).AsInteger(), read.Fields(1).AsInteger(), read.Fields(2).AsInteger()});
    read.Close();
  }
  const auto flag = [](bool on) { return TVariant(on ? 1 : 0); };
  for (const Row& r : rows) {
    TVariant tekInput, torInput;
    dm.funcGetSysReg("摘要項目の入力区分", "整数", "0", r.opCode, tekInput);
    dm.funcGetSysReg("取引先項目の入力区分", "整数", "0", r.opCode, torInput);
    dm.funcPutSysReg("摘要＿辞書開く区分", "整数", r.opCode, flag(r.tek == 1 || (r.tek != 1 && r.tek != 2)));
    dm.funcPutSysReg("摘要＿連想開く区分", "整数", r.opCode, flag(r.tek == 2));
    dm.funcPutSysReg("摘要＿自動開く区分", "整数", r.opCode, flag(r.tek == 1 || r.tek == 2));
    dm.funcPutSysReg("摘要＿入力なし区分", "整数", r.opCode, flag(tekInput.AsInteger() > 0));
    dm.funcPutSysReg("取引先＿辞書開く区分", "整数", r.opCode, flag(r.tor == 1 || (r.tor != 1 && r.tor != 2)));
    dm.funcPutSysReg("取引先＿連想開く区分", "整数", r.opCode, flag(r.tor == 2));
    dm.funcPutSysReg("取引先＿自動開く区分", "整数", r.opCode, flag(r.tor == 1 || r.tor == 2));
    dm.funcPutSysReg("取引先＿入力なし区分", "整数", r.opCode, flag(torInput.AsInteger() > 0));
  }
  tr.Commit();
}

void ReloadEras() {
  TSystemDbSession session;
  session.dm().fnLoadGengo();
}

void ImportCodeSystems() {
  // Slot n of the list goes into code-system record n; slot 7 stays free.
  static const char* const kFiles[10] = {"販売業.txt", "製造業.txt", "建設業.txt", "運送業.txt",       "病院.txt",
                                         "その他.txt", "",           "個人　一般.txt", "個人　不動産.txt", "個人　医業.txt"};
  TSystemDbSession session;
  TCodeTaikeiIO io;
  const std::string folder = StepScriptFolder({5, 0, 0});
  for (std::int32_t n = 1; n <= 10; ++n) {
    const std::string name = kFiles[n - 1];
    if (name.empty()) continue;
    // A refused or unwritten code system fails the step, so the run restores
    // the database instead of reporting a half-installed set as done.
    if (!io.ImportCodeFile(PathJoin(folder, name), n))
      throw std::runtime_error("the code system " + name + " cannot be imported");
  }
}
