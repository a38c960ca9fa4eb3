// TSystemStore: the data module's system database (IBDatabaseDEF) and what
// the system keeps there: the settings store SYSREG, the SYSTEMINI rows, the
// operator settings (SYSDEF), the eras, the system version, the report
// colours, the logon rows, job control, the operator's rights and the
// data-list numbers of a folder. The first of the data module's services;
// the server files, the data-set connection and the backup build on it.
//
// Database errors are exceptions. A method that finds its transaction already
// active leaves it to its owner; a method that started it commits or rolls it
// back itself and reports failures through ShowFbError / ShowErrorDetail
// (dbaccess/fberror.h) unless it says otherwise. This holds for every service
// of the data module.
//
// Callers reach the data module through the header of the service they use
// and its accessor, which returns the one data module as that service:
// SystemStore() here, ServerFiles(), DataSetConnection() and BackupRestore()
// in the others. A caller that uses several services includes the widest
// header it needs; only the code that creates or frees the data module or
// uses its timers includes dbaccess/dm.h. The accessors require the data
// module to exist; code that may run without it asks DataModuleExists() first.
#pragma once

#include <cstdint>
#include <string>

#include "dbaccess/dmcomponents.h"
#include "dbaccess/variant.h"

// One row of table SYSTEMINI.
struct TSystemIniRec {
  std::int32_t REC = 0;
  std::int32_t RESERVE1 = 0;
  std::int32_t RESERVE2 = 0;
  std::int32_t RESERVE3 = 0;
  std::int32_t RESERVE4 = 0;
  std::int32_t RESERVE5 = 0;
  std::string SSTR;
};

class TSystemStore : public TDmComponents {
 public:
  // ---- connections ------------------------------------------------------------
  // The database name of a connection: "host:folder/file" in a server
  // installation (ConnectKind not 0) unless the host is exactly "127.0.0.1",
  // else "folder/file". Remote forces the host form whenever ConnectKind is not 0.
  static std::string DatabaseNameFor(const std::string& Host, const std::string& Folder,
                                     const std::string& File, bool Remote = false);
  bool fnAccDefConnected(const std::string& Host, bool ShowErrors);

  // ---- logon rows, operator rights, job control --------------------------------
  void DeleteLogonInfo();
  bool IsUnrestrictedOperator();
  bool SetJobControl(const std::string& ProcId, const std::string& Option);

  // ---- system settings store -------------------------------------------------------
  void funcGetSysReg(const std::string& Key, const std::string& Type, const std::string& Default,
                     std::int32_t OpCode, TVariant& Value);
  void funcPutSysReg(const std::string& Key, const std::string& Type, std::int32_t OpCode,
                     const TVariant& Value);
  void GetSysRegOp(const std::string& Key, const std::string& Type, const std::string& Default, TVariant& Value);
  void PutSysRegOp(const std::string& Key, const std::string& Type, const TVariant& Value);

  // ---- operator settings -----------------------------------------------------------------
  bool fnGetSysDef();
  bool fnPutSysDef();

  // ---- system rows, eras, version, colours, data folders -------------------------------------
  bool GetSysIni(TSystemIniRec& Row);
  bool SetSysIni(const TSystemIniRec& Row);
  void fnLoadGengo();
  void fnGetSysVersion();
  void fnGetStyleColor(std::int32_t OpCode, const std::string& StyleName, std::string& Text);
  void fnPutStyleColor(std::int32_t OpCode, const std::string& StyleName, const std::string& Text);
  static void ParseDataFolder(const std::string& Path, std::string& First, std::string& Second);
  void fnFindDataListRec(const std::string& Path, std::int32_t& Rec, std::int32_t& Child);
  static void GetParamValue(const std::string& Text, const std::string& Name, std::string& Value);

 protected:
  TSystemStore() = default;
  void ConnectDatabase(TIBDatabase& Database, const std::string& Name);
};

// Whether the data module has been created and not yet freed.
bool DataModuleExists();
TSystemStore& SystemStore();
