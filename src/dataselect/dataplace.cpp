#include "dataselect/dataplace.h"

#include <exception>

#include "core/globals.h"
#include "dbaccess/dm.h"
#include "dbaccess/fberror.h"
#include "platform/fb/iberror.h"
#include "platform/fb/ibsql.h"
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

}  // namespace

bool LoadDataPlaces(std::vector<TDataPlaceRec>& Places, bool NamedOnly) {
  Places.clear();
  if (!DM) return false;
  TIBSQL q;
  q.SetDatabase(&DM->IBDatabaseDEF);
  q.SetTransaction(&DM->IBTransactionDEF);
  const bool started = !DM->IBTransactionDEF.InTransaction();
  try {
    if (started) DM->IBTransactionDEF.StartTransaction();
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
    if (started) DM->IBTransactionDEF.Commit();
    return true;
  } catch (const std::exception& e) {
    q.Close();
    Places.clear();
    if (started && DM->IBTransactionDEF.InTransaction()) DM->IBTransactionDEF.Rollback();
    if (const auto* db = dynamic_cast<const EIBError*>(&e)) ShowFbError(*db, "TDataPlaceBox.LoadDataPlaces", kLoadMessage, true);
    else ShowErrorDetail(kLoadMessage, e.what(), 1);
    if (!started) throw;
  }
  return false;
}
