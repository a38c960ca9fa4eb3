// The window's copy of the DATALIST rows of the operator's group, and the
// write-back of a row after a received copy was restored over a data set.
#include "comm/cloudshare.h"
#include "comm/filestore.h"
#include "dbaccess/dm.h"
#include "dbaccess/fberror.h"
#include "dbaccess/queryfactory.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/sysutils.h"

namespace {

std::string SetLines() {
  return "SET ENTTEXT=:ENTTEXT,\nNENDO=:NENDO,\nKISHU=:KISHU,\nKIMATU=:KIMATU,\nVER_MAJOR=:VER_MAJOR,\n"
         "VER_MINOR1=:VER_MINOR1,\nVER_MINOR2=:VER_MINOR2,\nVER_TEXT=:VER_TEXT\n";
}

void BindRow(TIBQuery& q, const TDataListRec& r) {
  q.ParamByName("ENTTEXT").AsString(r.EntText);
  q.ParamByName("NENDO").AsInteger(r.Nendo);
  q.ParamByName("KISHU").AsDateTime(r.Kishu);
  q.ParamByName("KIMATU").AsDateTime(r.Kimatu);
  q.ParamByName("VER_MAJOR").AsInteger(r.VerMajor);
  q.ParamByName("VER_MINOR1").AsInteger(r.VerMinor1);
  q.ParamByName("VER_MINOR2").AsInteger(r.VerMinor2);
  q.ParamByName("VER_TEXT").AsString(r.VerText);
}

std::string Slashes(std::string s) {
  for (char& c : s)
    if (c == '\\') c = '/';
  return s;
}

}  // namespace

std::int32_t TfmDataTusin::GetDataListRecord() {
  std::unique_ptr<TIBQuery> q = CreateAccQuery("ACCDEF", false);
  if (!q) throw Exception("DATALIST: query object cannot be created");
  TTransactionGuard scope(DM->IBTransactionDEF);
  try {
    scope.Begin();
    SetSql(*q, "SELECT REC,ENTTEXT,SHOUGOU,PASNAME,NETDRIVE,DATATYPE,CODETYPE,NENDO,KISHU,KIMATU,DATALOCK,"
               "KYOYULOCK,TANTOU,VER_MAJOR,VER_MINOR1,VER_MINOR2,VER_TEXT FROM DATALIST\n"
               "WHERE (GROUPID=:GROUPID)\nORDER BY REC");
    q->ParamByName("GROUPID").AsInteger(SystemDef.GroupId);
    q->Open();
    DataList.clear();
    for (; !q->Eof(); q->Next()) {
      TDataSentakuRec rec;
      TDataListRec& r = rec.Row;
      r.Rec = q->FieldByName("REC").AsInteger();
      r.GroupId = SystemDef.GroupId;
      r.EntText = q->FieldByName("ENTTEXT").AsTrimString();
      r.Shougou = q->FieldByName("SHOUGOU").AsTrimString();
      r.Nendo = q->FieldByName("NENDO").AsInteger();
      r.Kishu = q->FieldByName("KISHU").AsDateTime();
      r.Kimatu = q->FieldByName("KIMATU").AsDateTime();
      r.KikanText = FormatDateTime("yyyy/mm/dd", r.Kishu) + " ～ " + FormatDateTime("yyyy/mm/dd", r.Kimatu);
      r.NetDrive = q->FieldByName("NETDRIVE").AsInteger();
      r.PasName = Slashes(q->FieldByName("PASNAME").AsTrimString());
      r.Tantou = q->FieldByName("TANTOU").AsInteger();
      r.DataType = q->FieldByName("DATATYPE").AsInteger();
      r.CodeType = q->FieldByName("CODETYPE").AsInteger();
      r.DataLock = q->FieldByName("DATALOCK").AsInteger();
      r.KyoyuLock = q->FieldByName("KYOYULOCK").AsInteger();
      r.VerMajor = q->FieldByName("VER_MAJOR").AsInteger();
      r.VerMinor1 = q->FieldByName("VER_MINOR1").AsInteger();
      r.VerMinor2 = q->FieldByName("VER_MINOR2").AsInteger();
      r.VerText = q->FieldByName("VER_TEXT").AsTrimString();
      DataList.push_back(std::move(rec));
    }
    q->Close();
    scope.Commit();
  } catch (const EIBError& e) {
    ShowFbError(e, "TDataSentakuBox.GetDataListRecord", "", true);
    q->Close();
    scope.CommitQuietly();
    throw;
  }
  return static_cast<std::int32_t>(DataList.size());
}

void TfmDataTusin::UpdateDataListRecord(std::int32_t Row) {
  const TDataListRec& r = DataList.at(static_cast<std::size_t>(Row)).Row;
  const std::string path = Trim(r.PasName);
  if (path.empty()) throw Exception("データフォルダパスが不正です。\r処理を中止します。");
  std::unique_ptr<TIBQuery> q = CreateAccQuery("ACCDEF", false);
  if (!q) throw Exception("DATALIST: query object cannot be created");
  TTransactionGuard scope(DM->IBTransactionDEF);
  try {
    scope.Begin();
    if (ConnectKind != 0) {
      const std::string own = State.WorkDataFolder();
      const std::size_t at = (OemKind == 1 || OemKind == 2) ? 20 : 19;
      const bool inList = own.size() > at && (own[at] == '/' || own[at] == '\\');
      SetSql(*q, std::string(inList ? "UPDATE DATALIST\n" : "UPDATE DATALIST_EX\n") + SetLines() +
                     "WHERE PASNAME=:PASNAME");
      BindRow(*q, r);
      q->ParamByName("PASNAME").AsString(path);
    } else if (State.SavedCombineKind != "10") {
      SetSql(*q, "UPDATE DATALIST\n" + SetLines() + "WHERE REC=:REC");
      BindRow(*q, r);
      q->ParamByName("REC").AsInteger(StrToIntDef(path.substr(path.size() >= 4 ? path.size() - 4 : 0), 0));
    } else {
      // A child of distributed data: "...nnnn/cc" or "...nnnn/ccc".
      auto sep = [&](std::size_t fromEnd) {
        return path.size() > fromEnd && (path[path.size() - fromEnd] == '/' || path[path.size() - fromEnd] == '\\');
      };
      std::string rec, suffix;
      if (path.size() >= 7 && sep(3)) {
        rec = path.substr(path.size() - 7, 4);
        suffix = path.substr(path.size() - 2);
      } else if (path.size() >= 8 && sep(4)) {
        rec = path.substr(path.size() - 8, 4);
        suffix = path.substr(path.size() - 3);
      } else {
        scope.CommitQuietly();
        ShowNotice(TCommNotice::ErrorOk("C_DATALISTが更新出来ません。(1)"));
        return;
      }
      SetSql(*q, "SELECT * FROM Child_DATALIST\nWHERE (REC=:REC) and (PASNAME LIKE :PASNAME)");
      q->ParamByName("REC").AsInteger(StrToIntDef(rec, 0));
      q->ParamByName("PASNAME").AsString("%" + suffix);
      q->Open();
      if (q->Eof()) {
        q->Close();
        scope.CommitQuietly();
        ShowNotice(TCommNotice::ErrorOk("C_DATALISTが更新出来ません。(2)"));
        return;
      }
      const int rowNo = q->FieldByName("ROWNO").AsInteger();
      SetSql(*q, "UPDATE Child_DATALIST\n" + SetLines() + "WHERE (REC=:REC) and (ROWNO=:ROWNO) and (GROUPID=:GROUPID)");
      BindRow(*q, r);
      q->ParamByName("REC").AsInteger(StrToIntDef(rec, 0));
      q->ParamByName("ROWNO").AsInteger(rowNo);
      q->ParamByName("GROUPID").AsInteger(SystemDef.GroupId);
    }
    q->ExecSQL();
    scope.Commit();
  } catch (const EIBError& e) {
    ShowFbError(e, "TDataSentakuBox.UpdateDataListRecord", "", true);
    q->Close();
    scope.Rollback();
    throw;
  }
}
