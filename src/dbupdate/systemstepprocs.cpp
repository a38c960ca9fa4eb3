#include "dbupdate/systemstepprocs.h"

#include "core/globals.h"
#include "dbupdate/updatescript.h"
#include "platform/rtl/cp932.h"
#include "platform/rtl/sysutils.h"

namespace {

constexpr std::uint8_t kSystem = 0;

// A step whose body is its script files.
std::int32_t FileStep(const TDbVersion& Version, bool SetNames, std::initializer_list<const char*> Files,
                      bool Required) {
  TUpdateScript script(kSystem, Version, SetNames);
  if (!script.AddScriptFiles(Files, Required)) return urFileMissing;
  return script.Run();
}

}  // namespace

std::int32_t ExecSystemDbUpdate031() { return FileStep({0, 3, 1}, false, {"sysup01.sql"}, true); }

std::int32_t ExecSystemDbUpdate032() {
  TUpdateScript script(kSystem, {0, 3, 2}, false);
  script.Add("INSERT INTO OPERATOR(GROUPID,OPCODE,OPNAME,JOBLEVEL,PASWORD,DATAPAS,JIMUSHO,OKINIIRI,KANSA)");
  script.Add("VALUES(10000,1,'システムユーザー',9,1,'',0,0,0);");
  script.Add("COMMIT;");
  return script.Run();
}

std::int32_t ExecSystemDbUpdate033() {
  TUpdateScript script(kSystem, {0, 3, 3}, false);
  script.Add("UPDATE OPERATOR SET PASWORD=''");
  script.Add("WHERE GROUPID=10000 AND OPCODE=1;");
  script.Add("COMMIT;");
  return script.Run();
}

// Folder names are case-sensitive here: the stored data folders keep their
// spelling, so this step only records its version.
std::int32_t ExecSystemDbUpdate101() { return TUpdateScript(kSystem, {1, 0, 1}, false).Run(); }

std::int32_t ExecSystemDbUpdate300() { return FileStep({3, 0, 0}, false, {"sysup01.sql"}, true); }
std::int32_t ExecSystemDbUpdate305() { return FileStep({3, 0, 5}, false, {"sysup01.sql"}, true); }
std::int32_t ExecSystemDbUpdate307() { return FileStep({3, 0, 7}, false, {"sysup01.sql"}, true); }
std::int32_t ExecSystemDbUpdate400() { return FileStep({4, 0, 0}, false, {"sysup01.sql"}, true); }
// As in 1.0.1 the stored data folders keep their spelling.
std::int32_t ExecSystemDbUpdate402() { return FileStep({4, 0, 2}, true, {"sysup01.sql"}, true); }

std::string StandardDataPlaceName(const std::string& Folder) {
  // Longer than 40 bytes, or more characters than the name column holds.
  std::size_t characters = 0;
  for (unsigned char c : Folder)
    if ((c & 0xC0) != 0x80) ++characters;
  return Cp932Length(Folder) > 40 || characters > 20 ? std::string("標準の場所") : Folder;
}

std::int32_t ExecSystemDbUpdate500() {
  if (OemKind == 1 || OemKind == 2) ImportCodeSystems();
  TUpdateScript script(kSystem, {5, 0, 0}, true);
  if (!script.AddScriptFiles({"sysup01.sql"}, true)) return urFileMissing;
  const std::string folder = SystemDef.SysDir;
  script.Add(Format("INSERT INTO DATAPLACEMAN(REC,ORDERKBN,NAME,PATH) VALUES(0,1,'%s','%s');",
                    SqlQuoted(StandardDataPlaceName(folder)), SqlQuoted(folder)));
  for (int n = 1; n <= 99; ++n)
    script.Add(Format("INSERT INTO DATAPLACEMAN(REC,ORDERKBN,NAME,PATH) VALUES(%.2d,%.2d,'','%s%.2d');", n, n + 1,
                      SqlQuoted(folder), n));
  script.Add("COMMIT;");
  if (OemKind == 1 || OemKind == 2) {
    script.Add("UPDATE SYSREG SET STEXT='1' WHERE SCODE='試算表集計出力区分';");
    script.Add("COMMIT;");
  }
  return script.Run();
}

std::int32_t ExecSystemDbUpdate700() {
  ConvertCompanyInfo();
  return FileStep({7, 0, 0}, true, {"sysup01.sql"}, false);
}

std::int32_t ExecSystemDbUpdate704() { return FileStep({7, 0, 4}, true, {"sysup01.sql"}, false); }
std::int32_t ExecSystemDbUpdate800() { return FileStep({8, 0, 0}, true, {"sysup01.sql"}, true); }

std::int32_t ExecSystemDbUpdate802() {
  const std::int32_t result = FileStep({8, 0, 2}, true, {"sysup01.sql"}, true);
  if (result != urDone) return result;
  ConvertMenuControl();
  return result;
}

std::int32_t ExecSystemDbUpdate904() {
  const std::int32_t result = TUpdateScript(kSystem, {9, 0, 4}, true).Run();
  if (result != urDone) return result;
  ConvertDictionaryInput();
  return result;
}

std::int32_t ExecSystemDbUpdate1004() { return FileStep({10, 0, 4}, true, {"sysup01.sql"}, true); }

std::int32_t ExecSystemDbUpdate1101() {
  const std::int32_t result = FileStep({11, 0, 1}, true, {"sysup01.sql", "sysup02.sql"}, true);
  if (result == urFileMissing) return result;
  ReloadEras();
  return result;
}
