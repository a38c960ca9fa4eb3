// TDM: the data module, the one owner of every database connection of the
// system. One instance, DM, is created at start-up (before the logon) and
// lives until the program ends. It holds the system database (IBDatabaseDEF),
// the chosen data set's database (IBDatabaseDAT) and the file-manager database
// (IBFileMan) with their transactions, the shared statements and the backup,
// restore and validation services. Other subsystems use the components
// directly and call the methods below; everything runs on the user-interface
// thread.
//
// Database errors are exceptions. A method that finds its transaction already
// active leaves it to its owner; a method that started it commits or rolls it
// back itself and reports failures through ShowFbError / ShowErrorDetail
// (dbaccess/fberror.h) unless it says otherwise.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dbaccess/variant.h"
#include "platform/fb/ibx.h"

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

// A timer of the data module: created disabled with an interval of 100 ms;
// Tag may hold a window to be closed.
struct TDmTimer {
  bool Enabled = false;
  int Interval = 100;
  std::intptr_t Tag = 0;
};

// Name of the file-manager database beside the system database.
inline constexpr const char* kFileManFile = "rqfileman.fdb";

// Protocol numbers of the backup, restore and validation routines.
enum : std::uint8_t { kProtocolTcp = 0, kProtocolLocal = 3 };

struct TRestoreJob;

class TDM {
 public:
  TDM();
  ~TDM();
  TDM(const TDM&) = delete;
  TDM& operator=(const TDM&) = delete;

  // ---- components ----------------------------------------------------------
  TIBDatabase IBDatabaseDEF;          // the system database
  TIBTransaction IBTransactionDEF;    // read_committed, rec_version, nowait
  TIBQuery IBQSysDefGet;              // SYSDEF and SYSTEMINI reads
  TIBQuery IBQSysDefPut;              // SYSDEF and SYSTEMINI writes
  TIBQuery QueryDef;                  // SYSREG and the logon rows
  TIBSQL IBSQLDEF;                    // job control, server files, eras, versions, look-ups
  TIBDatabase IBDatabaseDAT;          // the chosen data set's database
  TIBTransaction IBTransactionDAT;    // read_committed, rec_version, nowait
  TIBTransaction IBTransactionDATSS;  // concurrency, nowait: snapshot reads
  TIBQuery IBQACC1;                   // the module's own data-set reads
  TIBQuery IBQACC2;                   // the schema update's
  TIBBackupService IBBackupService1;
  TIBRestoreService IBRestoreService1;
  TIBValidationService IBValidationService1;
  TIBDatabase IBFileMan;              // the file-manager database
  TIBTransaction IBTransFileMan;
  TIBQuery IBQueryFileMan;
  TIBSQL IBSQLFileMan;
  TDmTimer TimerFormClose;
  TDmTimer TimerSyoriKidou;

  // Pending process start of TimerSyoriKidouTimer.
  std::string KidouFormName;
  std::int32_t KidouModal = 0;
  std::string KidouParams;

  // ---- connections ------------------------------------------------------------
  // The database name of a connection: "host:folder/file" in a server
  // installation (ConnectKind not 0) unless the host is exactly "127.0.0.1",
  // else "folder/file". Remote forces the host form whenever ConnectKind is not 0.
  static std::string DatabaseNameFor(const std::string& Host, const std::string& Folder,
                                     const std::string& File, bool Remote = false);
  bool fnAccDefConnected(const std::string& Host, bool ShowErrors);
  bool fnFileManConnected(const std::string& Host);
  bool fnAccDatConnected(const std::string& Host, const std::string& Folder, bool WriteInfo);
  bool AccDatDisconnect(const std::string& Folder, bool WriteInfo, bool UpdateList);
  bool AccDatInConnection(std::uint8_t Kind, const std::string& Host, const std::string& Folder,
                          bool KeepConnected);
  bool AccDatDropDatabase(const std::string& Host, const std::string& Folder);

  // ---- logon rows, operator rights, job control --------------------------------
  void DeleteLogonInfo();
  bool IsUnrestrictedOperator();
  bool SetJobControl(const std::string& ProcId, const std::string& Option);
  bool fnGetExistsOpeDefSisetu();
  void GetOpeDefSisetu(std::string& Name);
  void GetXstrValue(const std::string& Text, const std::string& Key, TVariant& Value);

  // ---- system settings store, schema tests ---------------------------------------
  void funcGetSysReg(const std::string& Key, const std::string& Type, const std::string& Default,
                     std::int32_t OpCode, TVariant& Value);
  void funcPutSysReg(const std::string& Key, const std::string& Type, std::int32_t OpCode,
                     const TVariant& Value);
  void GetSysRegOp(const std::string& Key, const std::string& Type, const std::string& Default, TVariant& Value);
  void PutSysRegOp(const std::string& Key, const std::string& Type, const TVariant& Value);
  void fnGetDataBaseVer(std::string& Version);
  bool fnExistence_Table(const std::string& Table);
  bool fnExistence_Field(const std::string& Table, const std::string& Column);

  // ---- journal counts, fixed account codes -------------------------------------------
  std::int32_t GetYukouSiwakeCount(const std::string& SCode);
  std::int32_t GetUpDelSiwakeCount(const std::string& SCode);
  std::int32_t GetSiwakeCount(const std::string& SCode, std::int32_t& Valid, std::int32_t& UpDel);
  std::int32_t GetSiwakeCountTotal(const std::string& SCode);
  void SetSystemCode(const std::string& Name, std::string& KCode, std::string& UserCode);
  void UserCodeOfKCode(const std::string& KCode, std::string& UserCode);

  // ---- backup, restore, validation ------------------------------------------------------
  bool BackupFDB(std::uint8_t Protocol, const std::string& Host, const std::string& DatabaseName,
                 const std::string& BackupFile, bool Direct);
  bool RestoreFDB(std::uint8_t Protocol, const std::string& Host, const std::string& DatabaseName,
                  const std::string& BackupFile, bool KeepIndexes);
  bool BackupFDBGbak(std::uint8_t Protocol, const std::string& Host, const std::string& DatabaseName,
                     const std::string& BackupFile, bool Direct);
  bool RestoreFDBGbak(std::uint8_t Protocol, const std::string& Host, const std::string& DatabaseName,
                      const std::string& BackupFile, bool KeepIndexes);
  std::int32_t ValidateFDB(std::uint8_t Protocol, const std::string& Host, const std::string& DatabaseName);

  // ---- server file operations (Kind = ConnectKind: 0 local, 1 and 2 the server) ---------
  bool ServerFileOperation(const std::string& Mode, const std::string& Path1, const std::string& Path2);
  void ServerLongToShortFileName(const std::string& Path, std::string& ShortName);
  bool ServerDExist(const std::string& Path, std::uint8_t Kind);
  bool ServerMkDir(const std::string& Path, std::uint8_t Kind);
  bool ServerRmDir(const std::string& Path, bool AllowUndo, std::uint8_t Kind);
  bool ServerFExist(const std::string& Path, std::uint8_t Kind);
  bool ServerFDel(const std::string& Path, bool AllowUndo, std::uint8_t Kind);
  bool ServerFMove(const std::string& Source, const std::string& Target, std::uint8_t Kind);
  bool ServerFCopy(const std::string& Source, const std::string& Target, std::uint8_t Kind);
  void ServerShortFileName(const std::string& Path, std::string& ShortName, std::uint8_t Kind);

  // ---- operator settings -----------------------------------------------------------------
  bool fnGetSysDef();
  bool fnPutSysDef();

  // ---- company and accounting information ---------------------------------------------------
  bool fnGetAccInfo();
  std::string fnGetAccTotalName(const std::string& Group, const std::string& Column);
  bool IsMedicalLayout(std::int32_t DataType, std::int32_t CodeType);
  bool IsMedicalData();

  // ---- services --------------------------------------------------------------------------------
  bool GetSysIni(TSystemIniRec& Row);
  bool SetSysIni(const TSystemIniRec& Row);
  void fnGetTusinId(std::int32_t Rec, std::int32_t Slot);
  void DeleteOpInf();
  bool ExistsLinkKub9Siwake(std::int32_t Mode, std::int32_t Kind);
  std::int32_t TaxDefUHForExport(std::int32_t Value, std::int32_t Mode, std::int32_t Kind);
  std::int32_t TaxDefUHForCalc(std::int32_t Value, std::int32_t Mode, std::int32_t Kind);
  std::int32_t TaxDefUHWithLinkSiwake(std::int32_t Value, std::int32_t Mode, std::int32_t Kind);
  void fnLoadGengo();
  void fnGetSysVersion();
  void fnGetStyleColor(std::int32_t OpCode, const std::string& StyleName, std::string& Text);
  void fnPutStyleColor(std::int32_t OpCode, const std::string& StyleName, const std::string& Text);
  static void ParseDataFolder(const std::string& Path, std::string& First, std::string& Second);
  void fnFindDataListRec(const std::string& Path, std::int32_t& Rec, std::int32_t& Child);
  std::int32_t VerifyData(const std::string& Host, const std::string& Folder, std::int32_t Silent,
                          std::int32_t Force);
  bool CheckDataPassword();
  void TimerFormCloseTimer();
  void TimerSyoriKidouTimer();
  static void GetParamValue(const std::string& Text, const std::string& Name, std::string& Value);
  bool CanUseCloudShare(bool Strict);
  bool IsCloudData();

 private:
  void ConnectDatabase(TIBDatabase& Database, const std::string& Name);
  void WriteInUseMark(const std::string& Folder);
  bool OtherAttachments(const std::string& Name);
  void RunSysRegRead(const std::string& Key, const std::string& Type, const std::string& Default,
                     std::int32_t OpCode, TVariant& Value);
  bool RunServerBool(const std::string& Mode, const std::string& Path1, const std::string& Path2);
  // The one restore of both tools: a new database beside the old one, the
  // tool's whole output read, the new database checked, then put in place.
  bool RestoreReplacing(TRestoreJob& Job);
  std::vector<std::string> RunRestoreService(const TRestoreJob& Job);
  std::vector<std::string> RunRestoreGbak(const TRestoreJob& Job);
  void VerifyRestored(const TRestoreJob& Job);
  void ReplaceByRestored(const TRestoreJob& Job);
  // Work files of killed backups and restores: in Folder on this computer
  // (FileKind 0), or on the server through the notes of this computer.
  void RemoveWorkLeftovers(const std::string& Folder, std::uint8_t FileKind);
  void RemoveWorkFile(const std::string& Path, std::uint8_t FileKind);
  void HandCompanyToTax();
  void InstallTaxContext();
};

// The data module of the run: created at start-up, freed at the end.
extern TDM* DM;
void CreateDataModule();
void FreeDataModule();

// Names of the data and code types (errors for unknown types).
std::string fnGetDataTypeName(std::int32_t DataType);
std::string fnGetCodeTypeName(std::int32_t DataType, std::int32_t CodeType, bool Combined);
