// The list object itself: creation, data place, the failure convention of
// its operations, and the loading of the local and the shared-server list.
#include "dataselect/datalistctl.h"

#include <algorithm>

#include "core/fileutil.h"
#include "core/globals.h"
#include "core/versions.h"
#include "dataselect/connsettings.h"
#include "dbaccess/dm.h"
#include "dbaccess/fberror.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/paths.h"

namespace {

const char* const kColumns =
    "ENTTEXT,SHOUGOU,PASNAME,NETDRIVE,DATATYPE,CODETYPE,NENDO,KISHU,KIMATU,DATALOCK,KYOYULOCK,TANTOU,"
    "VER_MAJOR,VER_MINOR1,VER_MINOR2,VER_TEXT,UPDATE_LOCK,GASSAN,DATACODE,DATA_STATUS,YOBI1,YOBI2,YOBI3";
const char* const kServerColumns =
    "ENTTEXT,SHOUGOU,PASNAME,DATATYPE,CODETYPE,NENDO,KISHU,KIMATU,DATALOCK,TANTOU,"
    "VER_MAJOR,VER_MINOR1,VER_MINOR2,VER_TEXT,UPDATE_LOCK,GASSAN,DATACODE,DATA_STATUS,YOBI1,YOBI2,YOBI3";

// The ordering of the first query of the local list.
std::string LocalOrder(std::uint8_t SortKind, bool Descending, const std::string& OrderText) {
  switch (SortKind) {
    case 0: return OrderText;
    case 1: return Descending ? "ORDER BY REC DESC" : "ORDER BY REC";
    case 2: return Descending ? "ORDER BY ENTTEXT DESC,NENDO DESC,REC DESC" : "ORDER BY ENTTEXT,NENDO DESC,REC";
    case 3: return Descending ? "ORDER BY NENDO DESC,REC DESC" : "ORDER BY NENDO,REC";
    case 4: return Descending ? "ORDER BY KISHU DESC,REC DESC" : "ORDER BY KISHU,REC";
    case 5: return Descending ? "ORDER BY UPPER(PASNAME) DESC,REC DESC" : "ORDER BY UPPER(PASNAME),REC";
    case 6:
      return Descending ? "ORDER BY VER_MAJOR DESC,VER_MINOR1 DESC,VER_MINOR2 DESC,REC DESC"
                        : "ORDER BY VER_MAJOR,VER_MINOR1,VER_MINOR2,REC";
    case 7: return Descending ? "ORDER BY DATACODE DESC,NENDO DESC,REC DESC" : "ORDER BY DATACODE,NENDO DESC,REC";
    default: return "";
  }
}

// The ordering of the first query of the shared-server list.
std::string ServerOrder(std::uint8_t SortKind, bool Descending) {
  switch (SortKind) {
    case 2: return Descending ? "ORDER BY ENTTEXT DESC,PASNAME DESC" : "ORDER BY ENTTEXT,PASNAME";
    case 3: return Descending ? "ORDER BY NENDO DESC,PASNAME DESC" : "ORDER BY NENDO,PASNAME";
    case 4: return Descending ? "ORDER BY KISHU DESC,PASNAME DESC" : "ORDER BY KISHU,PASNAME";
    case 5: return Descending ? "ORDER BY PASNAME DESC" : "ORDER BY PASNAME";
    case 6:
      return Descending ? "ORDER BY VER_MAJOR DESC,VER_MINOR1 DESC,VER_MINOR2 DESC,REC DESC"
                        : "ORDER BY VER_MAJOR,VER_MINOR1,VER_MINOR2,REC";
    case 7: return Descending ? "ORDER BY DATACODE DESC,REC DESC" : "ORDER BY DATACODE,REC";
    default: return "ORDER BY PASNAME";
  }
}

bool IsSplitSort(std::uint8_t SortKind) { return SortKind >= 2 && SortKind <= 7; }
bool IsServerSplitSort(std::uint8_t SortKind) { return SortKind >= 2 && SortKind <= 7 && SortKind != 5; }

void BindIfNamed(TIBSQL& q, const char* name, int value) {
  if (TIBXSQLVAR* p = q.FindParam(name)) p->AsInteger(value);
}
void BindIfNamed(TIBSQL& q, const char* name, const std::string& value) {
  if (TIBXSQLVAR* p = q.FindParam(name)) p->AsString(value);
}

// A rebuilt shared-server area: an initialised row named as a free area.
TDataListRec FreeArea(const std::string& Path) {
  TDataListRec rec;
  TDataSentakuListCtl::InitDataListRecord(rec, "");
  rec.EntText = kAreaFree;
  rec.Nendo = 0;
  rec.KikanText = "～";
  rec.NetDrive = 1;
  rec.PasName = Path;
  return rec;
}

}  // namespace

TDataSentakuListCtl::TDataSentakuListCtl() {
  if (DM) {
    for (TIBSQL* q : {&query1_, &query2_}) {
      q->SetDatabase(&DM->IBDatabaseDEF);
      q->SetTransaction(&DM->IBTransactionDEF);
    }
  }
  SetDataPlace(0);
  const std::string sysVersion =
      Format("%d.%d.%d", SystemDef.SysVerMajor, SystemDef.SysVerMinor1, SystemDef.SysVerMinor2);
  HasCloudColumn = VersionGreater(sysVersion, "11.0.0") ? 1 : 0;
}

void TDataSentakuListCtl::SetDataPlace(std::int32_t Place) {
  DataPlace = (ConnectKind == 0 || ConnectKind > 2) ? 0 : Place;
  TableName = DataPlace > 0 ? "DATALIST_EX" : "DATALIST";
}

void TDataSentakuListCtl::ClearList() {
  List.clear();
  ChildList.clear();
  ListCount = 0;
  ChildListCount = 0;
}

bool TDataSentakuListCtl::Run(const TRunOptions& Options, const std::function<void()>& Body) {
  if (!DM) throw Exception("TDataSentakuListCtl: the data module does not exist");
  TIBTransaction& transaction = DM->IBTransactionDEF;
  TTransactionGuard scope(transaction);
  const std::string location = std::string("TDataSentakuListCtl.") + Options.Operation;
  auto cleanUp = [&] {
    query1_.Close();
    query2_.Close();
    if (Options.CommitOnError)
      scope.CommitQuietly();
    else
      scope.Rollback();
  };
  try {
    scope.Begin();
    Body();
    query1_.Close();
    query2_.Close();
    if (scope.Started())
      scope.Commit();
    else if (Options.RetainWhenActive && transaction.InTransaction())
      transaction.CommitRetaining();
    return true;
  } catch (const EIBError&) {
    cleanUp();
    if (Options.OnError == TOnError::PassOn) throw;
    if (Options.OnError != TOnError::Swallow) ReportCurrentException(location, Options.Message, true);
  } catch (...) {
    cleanUp();
    if (Options.OnError == TOnError::PassOn || Options.OnError == TOnError::ReportDbPassOn) throw;
    if (Options.OnError == TOnError::Report) ReportCurrentException(location, Options.Message, true);
  }
  return false;
}

std::string TDataSentakuListCtl::CloudPart() const { return HasCloudColumn ? ",CLOUD" : ",0 AS CLOUD"; }

std::string TDataSentakuListCtl::PlaceCondition() const {
  return DataPlace > 0 ? "\nAND (DATAPLACEREC=:DATAPLACEREC)" : "";
}

void TDataSentakuListCtl::BindGroup(TIBSQL& Query) { BindIfNamed(Query, "GROUPID", SystemDef.GroupId); }
void TDataSentakuListCtl::BindPlace(TIBSQL& Query) { BindIfNamed(Query, "DATAPLACEREC", DataPlace); }

void TDataSentakuListCtl::BindRowParams(TIBSQL& q, const TDataListRec& r) {
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

void TDataSentakuListCtl::ReadRows(TIBSQL& Query, TRowRead How,
                                   const std::function<void(const TDataListRec&)>& Take) {
  TDataListRec rec;
  for (Query.ExecQuery(); !Query.Eof(); Query.Next()) {
    ReadListRow(Query, rec, How);
    Take(rec);
  }
  Query.Close();
}

void TDataSentakuListCtl::AddChild(const TDataListRec& Child) {
  ChildList.push_back(Child);
  ChildListCount = static_cast<std::int32_t>(ChildList.size());
  for (TDataSentakuRec& parent : List) {
    if (parent.Row.Rec != Child.Rec) continue;
    parent.Children.push_back(Child);
    parent.ChildCount = static_cast<std::int32_t>(parent.Children.size());
    break;
  }
}

void TDataSentakuListCtl::Execute(std::int32_t ExcludeShared, std::uint8_t SortKind, bool Descending,
                                  const std::string& OrderText) {
  ClearList();
  if (ServerMode == 1) return;
  if (ConnectKind != 0) ExcludeShared = 0;
  std::string common;
  if (ExcludeShared == 1) common += "\nAND (KYOYULOCK<>1)";
  if (NendoFilter > 0) common += "\nAND (NENDO=:NENDO)";
  if (!ShougouFilter.empty()) common += "\nAND (SHOUGOU=:SHOUGOU)";
  common += PlaceCondition();
  const std::string select = std::string("SELECT REC,") + kColumns + CloudPart() + "\nFROM " + TableName +
                             "\nWHERE (GROUPID=:GROUPID)";
  const bool split = IsSplitSort(SortKind);
  auto bindAll = [&](TIBSQL& q) {
    BindGroup(q);
    BindPlace(q);
    BindIfNamed(q, "NENDO", NendoFilter);
    BindIfNamed(q, "SHOUGOU", ShougouFilter);
  };
  // The rows grow while reading: another workstation may add rows at any time.
  auto take = [this](const TDataListRec& rec) {
    List.push_back(TDataSentakuRec{rec, 0, {}});
    ListCount = static_cast<std::int32_t>(List.size());
  };
  Run({"Execute", "データリストの取得に失敗しました。", TOnError::Report, true, false}, [&] {
    // The named rows (or all of them) in the chosen order; unnamed rows
    // follow in their own order when the kind splits them.
    if (EntFilter != 2 || !split) {
      std::string sql = select;
      if (EntFilter == 1 || split) sql += "\nAND (ENTTEXT<>'')";
      else if (EntFilter == 2) sql += "\nAND (ENTTEXT='')";
      sql += common;
      const std::string order = LocalOrder(SortKind, Descending, OrderText);
      if (!order.empty()) sql += "\n" + order;
      SetSql(query1_, sql);
      bindAll(query1_);
      ReadRows(query1_, TRowRead::ListLoad, take);
    }
    if (EntFilter != 1 && split) {
      std::string sql = select + "\nAND (ENTTEXT='')" + common;
      if (SortKind == 5)
        sql += Descending ? "\nORDER BY PASNAME DESC,REC DESC" : "\nORDER BY PASNAME,REC";
      else
        sql += Descending ? "\nORDER BY REC DESC" : "\nORDER BY REC";
      SetSql(query1_, sql);
      bindAll(query1_);
      ReadRows(query1_, TRowRead::ListLoad, take);
    }
    SetSql(query1_, std::string("SELECT REC,ROWNO,") + kColumns + CloudPart() +
                        "\nFROM CHILD_DATALIST\nWHERE (GROUPID=:GROUPID)\nORDER BY REC,PASNAME");
    BindGroup(query1_);
    ReadRows(query1_, TRowRead::ListLoad, [this](const TDataListRec& child) { AddChild(child); });
  });
}

void TDataSentakuListCtl::ServerExecute(std::uint8_t Mode, const std::string& DriveRoot, std::uint8_t SortKind,
                                        bool Descending, const std::string& /*OrderText*/) {
  ClearList();
  if (ServerMode != 1) return;
  const std::string letter = ShareDriveLetter(DriveRoot);
  Run({"ServerExecute", "共有データリストの取得に失敗しました。", TOnError::Report, true, false}, [&] {
    if (Mode == 0)
      LoadServerRows(letter, SortKind, Descending);
    else if (Mode == 1)
      RebuildServerRows(DriveRoot, letter);
  });
}

void TDataSentakuListCtl::LoadServerRows(const std::string& Letter, std::uint8_t SortKind, bool Descending) {
  const std::string select = std::string("SELECT REC,") + kServerColumns + CloudPart() +
                             "\nFROM SERVERDATALIST\nWHERE (DRIVELETTER=:DRIVELETTER) AND (GROUPID=:GROUPID)";
  auto bind = [&](TIBSQL& q) {
    BindGroup(q);
    BindIfNamed(q, "DRIVELETTER", Letter);
    BindIfNamed(q, "AREA1", std::string(kAreaFree));
    BindIfNamed(q, "AREA2", std::string(kAreaNew));
  };
  auto take = [this](const TDataListRec& rec) {
    List.push_back(TDataSentakuRec{rec, 0, {}});
    ListCount = static_cast<std::int32_t>(List.size());
  };
  const bool split = IsServerSplitSort(SortKind);
  std::string sql = select;
  if (split) sql += "\nAND (ENTTEXT<>'' AND ENTTEXT<>:AREA1 AND ENTTEXT<>:AREA2)";
  sql += "\n" + ServerOrder(SortKind, Descending);
  SetSql(query1_, sql);
  bind(query1_);
  ReadRows(query1_, TRowRead::ListLoad, take);
  if (split) {
    SetSql(query1_, select + "\nAND (ENTTEXT='' OR ENTTEXT=:AREA1 OR ENTTEXT=:AREA2)\nORDER BY PASNAME");
    bind(query1_);
    ReadRows(query1_, TRowRead::ListLoad, take);
  }
  SetSql(query1_, std::string("SELECT REC,ROWNO,") + kServerColumns + CloudPart() +
                      "\nFROM CHILD_SERVERDATALIST\nWHERE (GROUPID=:GROUPID) AND (DRIVELETTER=:DRIVELETTER)"
                      "\nORDER BY REC,PASNAME");
  bind(query1_);
  ReadRows(query1_, TRowRead::ListLoad, [this](const TDataListRec& child) { AddChild(child); });
}

void TDataSentakuListCtl::RebuildServerRows(const std::string& DriveRoot, const std::string& Letter) {
  for (const char* table : {"SERVERDATALIST", "CHILD_SERVERDATALIST"}) {
    SetSql(query1_, std::string("DELETE FROM ") + table + "\nWHERE (GROUPID=:GROUPID) AND (DRIVELETTER=:DRIVELETTER)");
    BindGroup(query1_);
    BindIfNamed(query1_, "DRIVELETTER", Letter);
    query1_.ExecQuery();
    query1_.Close();
  }
  std::vector<std::string> names;
  GetServerFolderList(DriveRoot, names);
  for (const std::string& name : names) List.push_back(TDataSentakuRec{FreeArea(PathJoin(DriveRoot, name)), 0, {}});
  ListCount = static_cast<std::int32_t>(List.size());
  for (TDataSentakuRec& row : List) {
    std::vector<std::string> subNames;
    GetServerFolderList(row.Row.PasName, subNames);
    for (const std::string& sub : subNames) {
      TDataListRec child = FreeArea(PathJoin(row.Row.PasName, sub));
      child.RowNo = static_cast<std::int32_t>(row.Children.size()) + 1;
      child.Gassan = kGassanChild;
      row.Children.push_back(child);
      ChildList.push_back(child);
    }
    row.ChildCount = static_cast<std::int32_t>(row.Children.size());
  }
  ChildListCount = static_cast<std::int32_t>(ChildList.size());
}

void TDataSentakuListCtl::NumberChildDispNames(TDataSentakuRec& Row) {
  for (std::size_t i = 0; i < Row.Children.size(); ++i)
    Row.Children[i].DispName = Format("%.2d ", static_cast<int>(i + 1)) + Row.Children[i].EntText;
}

void TDataSentakuListCtl::DeleteChildEntry(TDataSentakuRec& Row, std::int32_t Index) {
  if (Index >= 0 && static_cast<std::size_t>(Index) < Row.Children.size())
    Row.Children.erase(Row.Children.begin() + Index);
  Row.ChildCount = static_cast<std::int32_t>(Row.Children.size());
}

void TDataSentakuListCtl::GetServerFolderList(const std::string& Root, std::vector<std::string>& List) {
  std::vector<std::string> names;
  GetSubFolderList(Root, 1, names);
  std::sort(names.begin(), names.end());
  List.clear();
  for (const std::string& name : names) {
    const std::string upper = UpperCase(name);
    if (upper == "CORVEXZAIMU_BACKUP" || upper == "MERIDOSZAIMU_BACKUP") continue;
    List.push_back(name);
  }
}

void TDataSentakuListCtl::GetShareSubFolders(const TDataListRec& Row, std::vector<std::string>& List) {
  List.clear();
  GetSubFolderList(Row.PasName, 0, List);
  std::sort(List.begin(), List.end());
}

void TDataSentakuListCtl::GetLocalSubFolders(const TDataListRec& Row, std::vector<std::string>& List) {
  List.clear();
  GetSubFolderList(Row.DataFolder, 0, List);
  std::sort(List.begin(), List.end());
}
