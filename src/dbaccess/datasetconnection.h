// TDataSetConnection: the data module's connection to the chosen data set
// (IBDatabaseDAT) and to the file-manager database (IBFileMan), and what is
// read from the data set: its schema, journal counts, fixed account codes,
// company and accounting information, communication ID, operation history,
// the tax defaults, the operator's facilities, and the tests a data set
// passes before use (verification, data password, cloud share).
#pragma once

#include <cstdint>
#include <string>

#include "dbaccess/serverfiles.h"
#include "dbaccess/variant.h"
#include "taxdb/taxdata.h"

// Name of the file-manager database beside the system database.
inline constexpr const char* kFileManFile = "rqfileman.fdb";

class TDataSetConnection : public TServerFiles {
 public:
  // ---- connections ------------------------------------------------------------
  bool fnFileManConnected(const std::string& Host);
  bool fnAccDatConnected(const std::string& Host, const std::string& Folder, bool WriteInfo);
  bool AccDatDisconnect(const std::string& Folder, bool WriteInfo, bool UpdateList);
  bool AccDatInConnection(std::uint8_t Kind, const std::string& Host, const std::string& Folder,
                          bool KeepConnected);
  bool AccDatDropDatabase(const std::string& Host, const std::string& Folder);

  // ---- schema tests, operator facilities ---------------------------------------
  void fnGetDataBaseVer(std::string& Version);
  bool fnExistence_Table(const std::string& Table);
  bool fnExistence_Field(const std::string& Table, const std::string& Column);
  bool fnGetExistsOpeDefSisetu();
  void GetOpeDefSisetu(std::string& Name);
  void GetXstrValue(const std::string& Text, const std::string& Key, TVariant& Value);

  // ---- journal counts, fixed account codes -------------------------------------------
  std::int32_t GetYukouSiwakeCount(const std::string& SCode);
  std::int32_t GetUpDelSiwakeCount(const std::string& SCode);
  std::int32_t GetSiwakeCount(const std::string& SCode, std::int32_t& Valid, std::int32_t& UpDel);
  std::int32_t GetSiwakeCountTotal(const std::string& SCode);
  void SetSystemCode(const std::string& Name, std::string& KCode, std::string& UserCode);
  void UserCodeOfKCode(const std::string& KCode, std::string& UserCode);

  // ---- company and accounting information ---------------------------------------------------
  bool fnGetAccInfo();
  std::string fnGetAccTotalName(const std::string& Group, const std::string& Column);
  bool IsMedicalLayout(std::int32_t DataType, std::int32_t CodeType);
  bool IsMedicalData();

  // ---- communication ID, operation history, tax defaults -------------------------------------
  void fnGetTusinId(std::int32_t Rec, std::int32_t Slot);
  void DeleteOpInf();
  bool ExistsLinkKub9Siwake(std::int32_t Mode, std::int32_t Kind);
  std::int32_t TaxDefUHForExport(std::int32_t Value, std::int32_t Mode, std::int32_t Kind);
  std::int32_t TaxDefUHForCalc(std::int32_t Value, std::int32_t Mode, std::int32_t Kind);
  std::int32_t TaxDefUHWithLinkSiwake(std::int32_t Value, std::int32_t Mode, std::int32_t Kind);

  // ---- tests before use --------------------------------------------------------------------------
  std::int32_t VerifyData(const std::string& Host, const std::string& Folder, std::int32_t Silent,
                          std::int32_t Force);
  bool CheckDataPassword();
  bool CanUseCloudShare(bool Strict);
  bool IsCloudData();

 protected:
  TDataSetConnection() = default;
  // Hands the linked-journal tax default to the tax computation.
  void InstallTaxContext();
  // Whether database Name has attachments besides the one this opens to ask.
  bool OtherAttachments(const std::string& Name);

 private:
  void WriteInUseMark(const std::string& Folder);
  void HandCompanyToTax();
};

TDataSetConnection& DataSetConnection();

// The data module's data-set connection for the readers of the tax
// computation; null members when there is no data module.
TTaxDataConnection ConnectedTaxData();

// Names of the data and code types (errors for unknown types).
std::string fnGetDataTypeName(std::int32_t DataType);
std::string fnGetCodeTypeName(std::int32_t DataType, std::int32_t CodeType, bool Combined);
