#include "comm/exchangerecords.h"

#include <tuple>

#include "core/settings.h"
#include "dbaccess/accreg.h"
#include "dbaccess/fberror.h"
#include "dbaccess/systemstore.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/sysutils.h"

namespace {

constexpr const char* kConnectMessage =
    "ユーザーデータベースの接続処理に失敗しました。\r"
    "DBファイルが削除、破損 または 使用中の可能性がありますので接続パスを確認して下さい。";
constexpr const char* kBasicInfoMessage = "基本情報の取得に失敗しました。\r";
constexpr const char* kCloudMessage = "クラウドシェア";
constexpr const char* kBasicGroup = "基本設定";
constexpr const char* kCombineKindKey = "合算データ区分";
constexpr const char* kCombineCountKey = "合算データ数";

// Reports the exception being handled: a database error to the error
// reporter, another exception of the platform's base class with its text;
// anything else goes on to the caller.
void ReportStatementError(const std::string& location, const std::string& message, bool reconnect) {
  try {
    throw;
  } catch (const EIBError& e) {
    ShowFbError(e, location, message, reconnect);
  } catch (const Exception& e) {
    ShowErrorDetail(message, e.what(), kMsgError);
  }
}

}  // namespace

bool CloudColumnsPresent(std::int32_t Major, std::int32_t Minor1, std::int32_t Minor2) {
  return std::make_tuple(Major, Minor1, Minor2) >= std::make_tuple(11, 0, 1);
}

TExchangeRecords::TExchangeRecords(TTusinState& State) : state_(State) {
  IBDatabaseDAT.SQLDialect = 3;
  IBDatabaseDAT.LoginPrompt = false;
  IBTransaction1.Params = TIBStrings{"read_committed", "rec_version", "nowait"};
  IBTransaction1.SetDefaultDatabase(&IBDatabaseDAT);
  IBDatabaseDAT.SetDefaultTransaction(&IBTransaction1);
  IBSQL3.SetDatabase(&IBDatabaseDAT);
  IBSQL3.SetTransaction(&IBTransaction1);
}

TExchangeRecords::~TExchangeRecords() { EndConnection(false); }

std::string TExchangeRecords::DatabaseName() const {
  return TSystemStore::DatabaseNameFor(SystemDef.HostName, state_.WorkDataFolder(), DataFile, true);
}

void TExchangeRecords::Connect() {
  try {
    IBDatabaseDAT.Close();
    IBDatabaseDAT.SQLDialect = 3;
    IBDatabaseDAT.Params.Clear();
    IBDatabaseDAT.DatabaseName = DatabaseName();
    IBDatabaseDAT.Params.Add("user_name=" + SystemDef.DbUser);
    IBDatabaseDAT.Params.Add("password=" + SystemDef.DbPassword);
    IBDatabaseDAT.Params.Add("lc_ctype=SJIS_0208");
    IBDatabaseDAT.Open();
  } catch (const EIBError& e) {
    ShowFbError(e, "Bunsan DatConnected", kConnectMessage, false);
  } catch (const Exception& e) {
    ShowErrorDetail(kConnectMessage, e.what(), kMsgError);
  }
}

void TExchangeRecords::EndConnection(bool commit) noexcept {
  IBSQL3.Close();
  try {
    if (IBTransaction1.InTransaction()) commit ? IBTransaction1.Commit() : IBTransaction1.Rollback();
  } catch (...) {
    // the connection is dropped below whatever happened
  }
  IBDatabaseDAT.ForceClose();
}

bool TExchangeRecords::ReadVersionRow(std::int32_t& major, std::int32_t& minor1, std::int32_t& minor2) {
  SetSql(IBSQL3, "SELECT * FROM ACCVERSION WHERE REC=:REC");
  IBSQL3.ParamByName("REC").AsInteger(1);
  IBSQL3.ExecQuery();
  const bool found = !IBSQL3.Eof();
  if (found) {
    major = IBSQL3.FieldByName("MAJOR").AsInteger();
    minor1 = IBSQL3.FieldByName("MINOR1").AsInteger();
    minor2 = IBSQL3.FieldByName("MINOR2").AsInteger();
  }
  IBSQL3.Close();
  return found;
}

int TExchangeRecords::ReadCombineSettings() {
  Connect();
  TTransactionGuard transaction(IBTransaction1);
  try {
    transaction.Begin();
    // Both rows are read before either value is taken, so a data set without
    // them keeps the saved values as they were.
    std::string values[2];
    const char* keys[2] = {kCombineKindKey, kCombineCountKey};
    for (int i = 0; i < 2; ++i) {
      const std::optional<std::string> text = ReadAccRegText(IBSQL3, kBasicGroup, keys[i]);
      if (!text) throw Exception(std::string("ACCREG ") + keys[i] + " is missing");
      values[i] = TrimRight(*text);
    }
    state_.SavedCombineKind = values[0];
    state_.SavedCombineCount = values[1];
    EndConnection(true);
  } catch (...) {
    ReportStatementError("ACCREG", kBasicInfoMessage, true);
    EndConnection(true);
  }
  return 1;
}

int TExchangeRecords::WriteCombineSettings() {
  Connect();
  TTransactionGuard transaction(IBTransaction1);
  try {
    transaction.Begin();
    const std::pair<const char*, const std::string*> rows[2] = {{kCombineKindKey, &state_.SavedCombineKind},
                                                                {kCombineCountKey, &state_.SavedCombineCount}};
    for (const auto& [key, value] : rows) UpdateAccRegText(IBSQL3, kBasicGroup, key, *value);
    EndConnection(true);
  } catch (...) {
    ReportStatementError("ACCREG", kBasicInfoMessage, true);
    EndConnection(true);
  }
  return 1;
}

bool TExchangeRecords::HasApprovedJournals() {
  Connect();
  TTransactionGuard transaction(IBTransaction1);
  bool result = false;
  try {
    transaction.Begin();
    SetSql(IBSQL3, "SELECT COUNT(*) FROM SIWAKE_VIEW WHERE (SHONIN_OPCODE <> 0)");
    IBSQL3.ExecQuery();
    result = !IBSQL3.Eof() && IBSQL3.Fields(0).AsInteger() > 0;
    EndConnection(true);
  } catch (...) {
    ReportStatementError("SIWAKE_VIEW", kBasicInfoMessage, true);
    EndConnection(true);
    result = false;
  }
  return result;
}

bool TExchangeRecords::ReadVersionOrClearCloudLine(bool ReadVersion) {
  Connect();
  TTransactionGuard transaction(IBTransaction1);
  try {
    transaction.Begin();
    std::int32_t major = 0, minor1 = 0, minor2 = 0;
    const bool found = ReadVersionRow(major, minor1, minor2);
    if (ReadVersion) {
      if (!found) throw Exception("ACCVERSION row 1 is missing");
      state_.CloudVerMajor = major;
      state_.CloudVerMinor1 = minor1;
      state_.CloudVerMinor2 = minor2;
    } else if (found && CloudColumnsPresent(major, minor1, minor2)) {
      SetSql(IBSQL3, "UPDATE ACCDEF1 SET CLOUD_LINE=:CLOUD_LINE WHERE (REC=:REC) and (CLOUD_LINE<>:CLOUD_LINE)");
      IBSQL3.ParamByName("CLOUD_LINE").AsInteger(0);
      IBSQL3.ParamByName("REC").AsInteger(1);
      IBSQL3.ExecQuery();
      IBSQL3.Close();
    }
    EndConnection(true);
    return true;
  } catch (...) {
    ReportStatementError("Cloud_Crear", kCloudMessage, true);
    EndConnection(false);
    return false;
  }
}

bool TExchangeRecords::WriteCloudTime(TDateTime Time) {
  Connect();
  TTransactionGuard transaction(IBTransaction1);
  try {
    transaction.Begin();
    std::int32_t major = 0, minor1 = 0, minor2 = 0;
    if (ReadVersionRow(major, minor1, minor2) && CloudColumnsPresent(major, minor1, minor2)) {
      SetSql(IBSQL3, "UPDATE ACCDEF1 SET CLOUD_TIME=:CLOUD_TIME WHERE REC=:REC");
      IBSQL3.ParamByName("CLOUD_TIME").AsDateTime(Time);
      IBSQL3.ParamByName("REC").AsInteger(1);
      IBSQL3.ExecQuery();
      IBSQL3.Close();
    }
    EndConnection(true);
    return true;
  } catch (...) {
    ReportStatementError("Cloud_Time", kCloudMessage, true);
    EndConnection(false);
    return false;
  }
}
