// The list object itself: creation, data place, the failure convention of
// its operations, and the loading of the local and the shared-server list.
#include "dataselect/datalistctl.h"

#include <algorithm>

#include "core/fileutil.h"
#include "core/globals.h"
#include "dataselect/connsettings.h"
#include "dbaccess/fberror.h"
#include "dbaccess/systemstore.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/paths.h"

namespace {

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
  if (DataModuleExists()) {
    for (TIBSQL* q : {&query1_, &query2_}) {
      q->SetDatabase(&SystemStore().IBDatabaseDEF);
      q->SetTransaction(&SystemStore().IBTransactionDEF);
    }
  }
  SetDataPlace(0);
  HasCloudColumn = DataListHasCloudColumn() ? 1 : 0;
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
  if (!DataModuleExists()) throw Exception("TDataSentakuListCtl: the data module does not exist");
  TIBTransaction& transaction = SystemStore().IBTransactionDEF;
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

TDataListTable TDataSentakuListCtl::Local() {
  return TDataListTable(query1_, DataPlace > 0 ? DataPlace : 0, HasCloudColumn != 0);
}

TChildDataListTable TDataSentakuListCtl::Children() { return TChildDataListTable(query1_, HasCloudColumn != 0); }

TServerDataListTable TDataSentakuListCtl::Server(bool Child, const std::string& Letter) {
  return TServerDataListTable(query1_, Child, Letter, HasCloudColumn != 0);
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
  TDataListLoad load;
  load.Named = EntFilter;
  load.ExcludeShared = ExcludeShared == 1;
  load.Nendo = NendoFilter;
  load.Shougou = ShougouFilter;
  load.SortKind = SortKind;
  load.Descending = Descending;
  load.OrderText = OrderText;
  // The rows grow while reading: another workstation may add rows at any time.
  auto take = [this](const TDataListRec& rec) {
    List.push_back(TDataSentakuRec{rec, 0, {}});
    ListCount = static_cast<std::int32_t>(List.size());
  };
  Run({"Execute", "データリストの取得に失敗しました。", TOnError::Report, true, false}, [&] {
    Local().Load(load, take);
    Children().Load([this](const TDataListRec& child) { AddChild(child); });
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
  Server(false, Letter).Load(SortKind, Descending, [this](const TDataListRec& rec) {
    List.push_back(TDataSentakuRec{rec, 0, {}});
    ListCount = static_cast<std::int32_t>(List.size());
  });
  Server(true, Letter).Load(SortKind, Descending, [this](const TDataListRec& child) { AddChild(child); });
}

void TDataSentakuListCtl::RebuildServerRows(const std::string& DriveRoot, const std::string& Letter) {
  for (bool child : {false, true}) Server(child, Letter).DeleteDrive();
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
