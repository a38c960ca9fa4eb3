#include "dbaccess/datalistbind.h"

#include "core/globals.h"
#include "platform/fb/ibsql.h"

namespace datalistbind {

std::string CloudPart(bool Cloud) { return Cloud ? ",CLOUD" : ",0 AS CLOUD"; }

std::string ValueList(const std::string& Columns) {
  std::string values = ":";
  for (char c : Columns) {
    values += c;
    if (c == ',') values += ':';
  }
  return values;
}

void BindIfNamed(TIBSQL& q, const char* Name, int Value) {
  if (TIBXSQLVAR* p = q.FindParam(Name)) p->AsInteger(Value);
}

void BindIfNamed(TIBSQL& q, const char* Name, const std::string& Value) {
  if (TIBXSQLVAR* p = q.FindParam(Name)) p->AsString(Value);
}

void BindGroup(TIBSQL& q) { BindIfNamed(q, "GROUPID", SystemDef.GroupId); }

void BindRow(TIBSQL& q, const TDataListRec& r) {
  BindIfNamed(q, "REC", r.Rec);
  BindIfNamed(q, "ROWNO", r.RowNo);
  BindIfNamed(q, "GROUPID", SystemDef.GroupId);
  BindIfNamed(q, "PASNAME", r.PasName);
  BindIfNamed(q, "ENTTEXT", r.EntText);
  BindIfNamed(q, "SHOUGOU", r.Shougou);
  BindIfNamed(q, "NETDRIVE", r.NetDrive);
  BindIfNamed(q, "DATATYPE", r.DataType);
  BindIfNamed(q, "CODETYPE", r.CodeType);
  BindIfNamed(q, "NENDO", r.Nendo);
  if (TIBXSQLVAR* p = q.FindParam("KISHU")) p->AsDateTime(r.Kishu);
  if (TIBXSQLVAR* p = q.FindParam("KIMATU")) p->AsDateTime(r.Kimatu);
  BindIfNamed(q, "DATALOCK", r.DataLock);
  BindIfNamed(q, "KYOYULOCK", r.KyoyuLock);
  BindIfNamed(q, "TANTOU", r.Tantou);
  BindIfNamed(q, "VER_MAJOR", r.VerMajor);
  BindIfNamed(q, "VER_MINOR1", r.VerMinor1);
  BindIfNamed(q, "VER_MINOR2", r.VerMinor2);
  BindIfNamed(q, "VER_TEXT", r.VerText);
  BindIfNamed(q, "UPDATE_LOCK", r.UpdateLock);
  BindIfNamed(q, "GASSAN", r.Gassan);
  BindIfNamed(q, "DATACODE", r.DataCode);
  BindIfNamed(q, "DATA_STATUS", r.DataStatus);
  BindIfNamed(q, "YOBI1", r.Yobi1);
  BindIfNamed(q, "YOBI2", r.Yobi2);
  BindIfNamed(q, "YOBI3", r.Yobi3);
  BindIfNamed(q, "CLOUD", r.Cloud);
}

void Run(TIBSQL& q) {
  q.ExecQuery();
  q.Close();
}

void ReadRows(TIBSQL& q, TRowRead How, const TListRowSink& Take) {
  TDataListRec rec;
  for (q.ExecQuery(); !q.Eof(); q.Next()) {
    ReadListRow(q, rec, How);
    Take(rec);
  }
  q.Close();
}

}  // namespace datalistbind
