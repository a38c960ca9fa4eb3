// Journal counts of the connected data set and the look-up of the fixed
// accounts' codes.
#include "core/globals.h"
#include "dbaccess/datasetconnection.h"
#include "dbaccess/fberror.h"
#include "platform/fb/ibx.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/sysutils.h"

namespace {

// The count routines' failure path: a transaction started here is committed
// away and a database error logged (not shown) before it passes on; inside
// a caller's transaction the error passes on unlogged.
template <typename Body>
std::int32_t RunCount(TDmComponents& dm, const char* location, Body body) {
  TTransactionGuard scope(dm.IBTransactionDAT);
  try {
    scope.Begin();
    const std::int32_t result = body();
    dm.IBQACC1.Close();
    scope.Commit();
    return result;
  } catch (const EIBError& e) {
    dm.IBQACC1.Close();
    const bool started = scope.Started();
    scope.CommitQuietly();
    if (started) ShowFbError(e, location, "", true);
    throw;
  } catch (...) {
    dm.IBQACC1.Close();
    scope.CommitQuietly();
    throw;
  }
}

std::int32_t FirstInteger(TIBQuery& query) {
  query.Open();
  const std::int32_t value = query.Eof() ? 0 : query.Fields(0).AsInteger();
  query.Close();
  return value;
}

}  // namespace

std::int32_t TDataSetConnection::GetYukouSiwakeCount(const std::string& SCode) {
  return RunCount(*this, "TDM.GetYukouSiwakeCount", [&]() -> std::int32_t {
    const bool facility = !Trim(SCode).empty();
    if (AppKind <= 2) {
      if (facility) {
        SetSql(IBQACC1, "SELECT SIWAKECOUNT AS SWKCNT FROM SISETUMST\nWHERE (SCODE=:SCODE)");
        IBQACC1.ParamByName("SCODE").AsString(SCode);
      } else {
        SetSql(IBQACC1, "SELECT SUM(SIWAKECOUNT) AS SWKCNT FROM SISETUMST");
      }
      return FirstInteger(IBQACC1);
    }
    if (AppKind != 3) return -1;
    // The cash book counts the live rows of the cash account; an entry
    // between two cash rows counts once.
    const std::string facilityCondition = SCode.empty() ? "" : "\nAND (SCODE=:SCODE)";
    SetSql(IBQACC1, "SELECT COUNT(REC) AS SWKCNT FROM SIWAKE\nWHERE (DELFLG=0) AND (KCODE=:KCODE)" + facilityCondition);
    IBQACC1.ParamByName("KCODE").AsString(AccInf.SystemKCode[0]);
    if (!SCode.empty()) IBQACC1.ParamByName("SCODE").AsString(SCode);
    const std::int32_t all = FirstInteger(IBQACC1);
    SetSql(IBQACC1, "SELECT COUNT(REC) AS SWKCNT FROM SIWAKE\nWHERE (DELFLG=0) AND ((KCODE=:KCODE) AND ((R_KCODE=:R_KCODE)))" +
                         facilityCondition);
    IBQACC1.ParamByName("KCODE").AsString(AccInf.SystemKCode[0]);
    IBQACC1.ParamByName("R_KCODE").AsString(AccInf.SystemKCode[0]);
    if (!SCode.empty()) IBQACC1.ParamByName("SCODE").AsString(SCode);
    const std::int32_t both = FirstInteger(IBQACC1);
    return all - both / 2;
  });
}

std::int32_t TDataSetConnection::GetUpDelSiwakeCount(const std::string& SCode) {
  return RunCount(*this, "TDM.GetUpDelSiwakeCount", [&]() -> std::int32_t {
    const bool facility = !Trim(SCode).empty();
    SetSql(IBQACC1, std::string("SELECT COUNT(REC) AS SWKCNT FROM SIWAKE\nWHERE (DELFLG IN (1,2) AND TAISHAKU=1)") +
                         (facility ? "\nAND (SCODE=:SCODE)" : ""));
    if (facility) IBQACC1.ParamByName("SCODE").AsString(SCode);
    return FirstInteger(IBQACC1);
  });
}

std::int32_t TDataSetConnection::GetSiwakeCount(const std::string& SCode, std::int32_t& Valid, std::int32_t& UpDel) {
  Valid = 0;
  UpDel = 0;
  return RunCount(*this, "TDM.GetSiwakeCount", [&]() -> std::int32_t {
    Valid = GetYukouSiwakeCount(SCode);
    UpDel = GetUpDelSiwakeCount(SCode);
    return Valid + UpDel;
  });
}

std::int32_t TDataSetConnection::GetSiwakeCountTotal(const std::string& SCode) {
  std::int32_t valid = 0, upDel = 0;
  return GetSiwakeCount(SCode, valid, upDel);
}

void TDataSetConnection::SetSystemCode(const std::string& Name, std::string& KCode, std::string& UserCode) {
  KCode.clear();
  UserCode.clear();
  TTransactionGuard scope(IBTransactionDAT);
  try {
    scope.Begin();
    SetSql(IBQACC1, "SELECT A.KCODE,K.USERCODE FROM ACCDEF2 A\nINNER JOIN KAMOKUMST K ON (A.KCODE=K.KCODE)\n"
                     "WHERE A.KNAME=:NAME");
    IBQACC1.ParamByName("NAME").AsString(Name);
    IBQACC1.Open();
    if (!IBQACC1.Eof()) {
      KCode = IBQACC1.FieldByName("KCODE").AsTrimString();
      UserCode = IBQACC1.FieldByName("USERCODE").AsTrimString();
    }
    IBQACC1.Close();
    scope.Commit();
  } catch (const EIBError& e) {
    IBQACC1.Close();
    ShowFbError(e, "TDM.SetSystemCode", "", true);
    scope.Rollback();
    throw;
  } catch (...) {
    IBQACC1.Close();
    scope.Rollback();
    throw;
  }
}

void TDataSetConnection::UserCodeOfKCode(const std::string& KCode, std::string& UserCode) {
  UserCode.clear();
  if (Trim(KCode).empty()) return;
  TTransactionGuard scope(IBTransactionDAT);
  try {
    scope.Begin();
    SetSql(IBQACC1, "SELECT USERCODE FROM KAMOKUMST\nWHERE KCODE=:KCODE");
    IBQACC1.ParamByName("KCODE").AsString(KCode);
    IBQACC1.Open();
    if (!IBQACC1.Eof()) UserCode = IBQACC1.FieldByName("USERCODE").AsTrimString();
    IBQACC1.Close();
    scope.Commit();
  } catch (...) {
    IBQACC1.Close();
    scope.CommitQuietly();
    throw;
  }
}
