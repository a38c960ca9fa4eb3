#include "dataselect/dataplace.h"

#include <exception>

#include "core/globals.h"
#include "core/settings.h"
#include "dbaccess/datalistrepo.h"
#include "dbaccess/fberror.h"
#include "dbaccess/serverfiles.h"
#include "platform/fb/iberror.h"
#include "platform/fb/ibsql.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/sysutils.h"

namespace {

const char* const kLoadMessage = "データの場所の取得に失敗しました。";

void InsertFirstRows(TIBSQL& q) {
  q.SQL.SetText("INSERT INTO DATAPLACEMAN(REC,ORDERKBN,NAME,PATH) VALUES(:REC,:ORDERKBN,:NAME,:PATH)");
  for (int rec = 0; rec < 100; ++rec) {
    q.ParamByName("REC").AsInteger(rec);
    q.ParamByName("ORDERKBN").AsInteger(rec + 1);
    std::string name, path = SystemDef.SysDir;
    if (rec == 0) name = SystemDef.SysDir.size() > 40 ? "標準の場所" : SystemDef.SysDir;
    else path += Format("%.2d", rec);
    q.ParamByName("NAME").AsString(name);
    q.ParamByName("PATH").AsString(path);
    q.ExecQuery();
    q.Close();
  }
}

// A statement on the system database in its default transaction.
void BindDef(TIBSQL& q) {
  q.SetDatabase(&SystemStore().IBDatabaseDEF);
  q.SetTransaction(&SystemStore().IBTransactionDEF);
}

}  // namespace

bool LoadDataPlaces(std::vector<TDataPlaceRec>& Places, bool NamedOnly) {
  Places.clear();
  if (!DataModuleExists()) return false;
  TIBSQL q;
  BindDef(q);
  TTransactionGuard transaction(SystemStore().IBTransactionDEF);
  try {
    transaction.Begin();
    q.SQL.SetText("SELECT COUNT(REC) AS RECCNT FROM DATAPLACEMAN");
    q.ExecQuery();
    const int count = q.Eof() ? 0 : q.FieldByName("RECCNT").AsInteger();
    q.Close();
    if (count == 0) InsertFirstRows(q);
    q.SQL.SetText(std::string("SELECT REC,ORDERKBN,NAME,PATH FROM DATAPLACEMAN") +
                  (NamedOnly ? " WHERE NAME<>''" : "") + " ORDER BY ORDERKBN,REC");
    for (q.ExecQuery(); !q.Eof(); q.Next()) {
      TDataPlaceRec p;
      p.Rec = q.FieldByName("REC").AsInteger();
      p.OrderKbn = q.FieldByName("ORDERKBN").AsInteger();
      p.Name = q.FieldByName("NAME").AsString();
      p.Path = q.FieldByName("PATH").AsString();
      Places.push_back(p);
    }
    q.Close();
    transaction.Commit();
    return true;
  } catch (const std::exception& e) {
    q.Close();
    Places.clear();
    transaction.Rollback();
    if (const auto* db = dynamic_cast<const EIBError*>(&e)) ShowFbError(*db, "TDataPlaceBox.LoadDataPlaces", kLoadMessage, true);
    else ShowErrorDetail(kLoadMessage, e.what(), kMsgError);
    if (transaction.WasActive()) throw;
  }
  return false;
}

std::int32_t SaveDataPlaces(std::vector<TDataPlaceRec>& Places) {
  TTransactionGuard scope(SystemStore().IBTransactionDEF);
  TIBSQL q;
  BindDef(q);
  try {
    scope.Begin();
    for (const TDataPlaceRec& p : Places) {
      if (p.Change == pcNone) continue;
      q.SQL.SetText("UPDATE DATAPLACEMAN SET ORDERKBN=:ORDERKBN,NAME=:NAME WHERE REC=:REC");
      q.ParamByName("ORDERKBN").AsInteger(p.OrderKbn);
      q.ParamByName("NAME").AsString(p.Name);
      q.ParamByName("REC").AsInteger(p.Rec);
      q.ExecQuery();
      q.Close();
      if (p.Change == pcCreated) TDataListTable(q, p.Rec).CreatePlaceRows(p.Path, DataListCnt);
      else if (p.Change == pcDeleted) TDataListTable(q, p.Rec).DeletePlaceRows();
    }
    scope.Commit();
  } catch (...) {
    q.Close();
    scope.Rollback();
    throw;
  }
  for (TDataPlaceRec& p : Places) p.Change = pcNone;
  return 1;
}

bool PlaceHasData(std::int32_t Rec) {
  // The folders are read first: the server's folder test runs in the same
  // transaction and must not find a statement of ours still open.
  std::vector<std::string> folders;
  {
    TTransactionGuard scope(SystemStore().IBTransactionDEF);
    TIBSQL q;
    BindDef(q);
    try {
      scope.Begin();
      TDataListTable(q, Rec).ReadPlacePaths([&](const TDataListRec& row) { folders.push_back(row.PasName); });
      scope.Commit();
    } catch (...) {  // unreadable: the place counts as holding data, so it is kept
      q.Close();
      scope.Rollback();
      return true;
    }
  }
  for (const std::string& folder : folders)
    if (!folder.empty() && ServerFiles().ServerDExist(folder, static_cast<std::uint8_t>(ConnectKind))) return true;
  return false;
}

std::string GetPlaceNames(std::vector<TDataPlaceRec>& Places) {
  std::string names;
  LoadDataPlaces(Places, true);
  for (const TDataPlaceRec& p : Places) names += p.Name + "\r";
  return names;
}

std::int32_t GetPlaceRec(const std::vector<TDataPlaceRec>& Places, std::int32_t Index) {
  if (Index < 0 || static_cast<std::size_t>(Index) >= Places.size()) return -1;
  return Places[static_cast<std::size_t>(Index)].Rec;
}

std::string GetPlacePath(const std::vector<TDataPlaceRec>& Places, std::int32_t Index) {
  if (Index < 0 || static_cast<std::size_t>(Index) >= Places.size()) return "";
  return Places[static_cast<std::size_t>(Index)].Path;
}

std::int32_t IndexOfPlace(const std::vector<TDataPlaceRec>& Places, std::int32_t Rec) {
  for (std::size_t i = 0; i < Places.size(); ++i)
    if (Places[i].Rec == Rec) return static_cast<std::int32_t>(i);
  return -1;
}

std::string GetPlacePathByRec(const std::vector<TDataPlaceRec>& Places, std::int32_t Rec) {
  return GetPlacePath(Places, IndexOfPlace(Places, Rec));
}
