// TDataInfomation: the information of one data set (state, holder, share
// state and a summary of the company and its figures), read from the data
// set's per-data settings file (stand-alone installation), from the data-set
// list of the system database (server installations) or from the data set's
// database itself, and written back into the settings file. It also carries
// a data set between a shared-server folder and a local folder under status
// marks and checks the operator's right to use a data set.
//
// Every operation that needs the data set's database connects it through the
// data module and disconnects it before returning; nothing is held between
// calls.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "dbaccess/productversions.h"

// Data-set states (STATUS). The data-selection and exchange windows also write
// the states of their own jobs (4 saving, 5 restoring, 6 copying, 8 deleting,
// 9 creating); the record carries any value.
enum : std::uint8_t {
  dsNotConnectable = 0,
  dsFree = 1,
  dsInUse = 2,
  dsLocked = 3,
  dsSaving = 4,
  dsRestoring = 5,
  dsCopyingJob = 6,
  dsCopying = 7,
  dsDeleting = 8,
  dsCreating = 9,
  dsDamaged = 10,
};
// Share states (SHARE_STATUS).
enum : std::uint8_t { ssOnServer = 1, ssTakenOut = 2 };

struct TDataInfomationRec {
  std::uint8_t STATUS = 1;
  std::int32_t OPCODE = 0;
  std::string OPERATOR;
  std::uint8_t SHARE_STATUS = 1;
  std::int32_t SHARE_OPCODE = 0;
  std::string SHARE_OPERATOR;
  std::int32_t UPDATE_LOCK = 0;
  std::string DATALISTNAME;
  std::string CODE;
  std::int32_t DATAKBN = 0;
  std::int32_t CODEKBN = 0;
  std::string SHOUGOU;
  std::string KANA;
  std::int32_t NENDO = 0;
  std::string KISHU;   // "yyyy/mm/dd"
  std::string KIMATU;  // "yyyy/mm/dd"
  std::int32_t TANTO = 0;
  std::int32_t SITEN = 0;
  std::int32_t SITENCNT = 0;
  std::int32_t BUMON = 0;
  std::int32_t BUMONCNT = 0;
  std::int32_t SIWAKE = 0;
  std::int32_t TOTALSIWAKE = 0;
  std::array<std::int32_t, 3> VERSION1{};  // major, minor, release
  std::string VERSION2;
  std::uint8_t GASSANKBN = 0;
  std::int32_t USEMYNUMBER = 0;
  std::uint8_t CLOUD_SHARE = 0;

  friend bool operator==(const TDataInfomationRec&, const TDataInfomationRec&) = default;
};

// Section names of the per-data settings file.
inline constexpr const char* kSectionDataSts = "DATASTS";
inline constexpr const char* kSectionDataInfo = "DATAINFO";

// The settings file of a data folder: the folder, "/" and DataFile with the
// extension ".ini".
std::string DataInfoFileName(const std::string& Folder);
// Reads both sections into Rec with the defaults of a cleared record.
void ReadDataInfoFile(const std::string& FileName, TDataInfomationRec& Rec);
// Rewrites section DATASTS, DATAINFO, or both when Section is empty; any
// other name writes nothing.
void WriteDataInfoFile(const std::string& FileName, const std::string& Section, const TDataInfomationRec& Rec);

class TDataInfomation {
 public:
  TDataInfomation();

  std::uint8_t ConnectKind = 0;   // 0 local; 1 server, 2 server-based computing

  static void ClearDataInfoRec(TDataInfomationRec& Rec);
  // From the data module's data-set database (connected when needed): 1 read, 0 failed.
  std::int32_t GetDataInfoRec(TDataInfomationRec& Rec);
  std::int32_t ReadDataInfoFromDb(const std::string& Folder, TDataInfomationRec& Rec);
  std::int32_t ReadIniFile(const std::string& Host, const std::string& Folder, TDataInfomationRec& Rec);
  std::int32_t ReadInfo(const std::string& Folder, TDataInfomationRec& Rec);
  void UpdateDataInfomation(const std::string& Host, const std::string& Folder, TDataInfomationRec& Rec);
  void SetStatus(const std::string& Folder, std::uint8_t Status);
  void SetShareStatus(const std::string& Folder, std::uint8_t Status);
  void WriteIniFile(const std::string& Folder, const std::string& Section, const TDataInfomationRec& Rec);
  // Writes Value under Key (as text), or deletes Key.
  void WriteIniValue(const std::string& Folder, const std::string& Section, bool Delete, const std::string& Value,
                     const std::string& Key);
  void WriteIniValue(const std::string& Folder, const std::string& Section, bool Delete, std::int32_t Value,
                     const std::string& Key);
  void RefreshIniFile(const std::string& Folder, const std::string& Section);
  std::int32_t ChangeShareStatus(const std::string& Folder, std::uint8_t Status);
  std::int32_t PutSharedData(const std::string& SharedFolder, const std::string& LocalFolder, std::int32_t Silent);
  std::int32_t GetSharedData(const std::string& SharedFolder, const std::string& LocalFolder, std::int32_t Silent);
  bool IsDataSiyouKengen(const std::string& Folder);
  bool IsDataPasswordAuth(const std::string& Folder);
  void GetEditionName(std::int32_t Major, std::int32_t Minor, std::string& Name) const;

  // The object's own record (written by WriteIniFile, read by the share operations).
  const TDataInfomationRec& Rec() const { return rec_; }

 private:
  bool WritesFile(const std::string& Folder) const;
  bool CopyDataFiles(const std::string& FromFolder, const std::string& ToFolder);
  TDataInfomationRec rec_;
  TSeihinVersionList versions_;
};

// Installs the data-set information as the data module's in-use record
// (connects and disconnects with WriteInfo then write the settings file).
void InstallDataInfoHooks();
