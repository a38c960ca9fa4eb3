// The combined data set's children: the child list, the creation and clearing
// of a child's database copy, and the parent's combined-data settings.
#include "dataselect/gassandata.h"

#include <algorithm>
#include <stdexcept>

#include "core/fileutil.h"
#include "core/globals.h"
#include "core/settings.h"
#include "dataselect/datalistctl.h"
#include "dbaccess/accreg.h"
#include "dbaccess/datasetconnection.h"
#include "dbaccess/fberror.h"
#include "platform/fb/ibsql.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/faultpoint.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/paths.h"

namespace {

const char* const kGroup = "基本設定";
const char* const kKindKey = "合算データ区分";
const char* const kCountKey = "合算データ数";

// The number a sub-folder name stands for; -1 when it is not a number.
int FolderNumber(const std::string& Name) {
  if (Name.empty() || Name.size() > 9 || !std::all_of(Name.begin(), Name.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return -1;
  return std::stoi(Name);
}

bool SameFolder(const std::string& A, const std::string& B) {
  return !A.empty() && ExcludeTrailingPathDelimiter(NativePath(A)) == ExcludeTrailingPathDelimiter(NativePath(B));
}

// Whether the connected data set has the table (and the column, when named).
bool HasObject(TIBSQL& q, const std::string& Table, const std::string& Column = "") {
  q.SQL.SetText("SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME=:TABLE_NAME" +
                std::string(Column.empty() ? "" : " AND RDB$FIELD_NAME=:FIELD_NAME"));
  q.ParamByName("TABLE_NAME").AsString(Table);
  if (!Column.empty()) q.ParamByName("FIELD_NAME").AsString(Column);
  q.ExecQuery();
  const bool found = q.Fields(0).AsInteger() > 0;
  q.Close();
  return found;
}

bool HasGenerator(TIBSQL& q, const std::string& Name) {
  q.SQL.SetText("SELECT COUNT(*) FROM RDB$GENERATORS WHERE RDB$GENERATOR_NAME=:NAME");
  q.ParamByName("NAME").AsString(Name);
  q.ExecQuery();
  const bool found = q.Fields(0).AsInteger() > 0;
  q.Close();
  return found;
}

void Run(TIBSQL& q, const std::string& Sql) {
  q.SQL.SetText(Sql);
  q.ExecQuery();
  q.Close();
}

std::string ZeroList(const std::vector<std::string>& Columns) {
  std::string out;
  for (const std::string& c : Columns) out += (out.empty() ? "" : ",") + c + "=0";
  return out;
}

}  // namespace

TGassanDataCtl::TGassanDataCtl()
    : listCtl_(std::make_unique<TDataSentakuListCtl>()), dataInfo_(std::make_unique<TDataInfomation>()) {
  listCtl_->ConnectKind = static_cast<std::uint8_t>(ConnectKind);
  TDataInfomation::ClearDataInfoRec(info_);
}

TGassanDataCtl::~TGassanDataCtl() = default;

void TGassanDataCtl::SetActive(bool Value) {
  active_ = Value;
  if (Value) LoadChildList();
}

void TGassanDataCtl::SetParentFolder(const std::string& Folder) {
  const std::string folder = ExcludeTrailingPathDelimiter(Folder);
  if (folder == parentFolder_) return;
  parentFolder_ = folder;
  active_ = false;
}

void TGassanDataCtl::SetParentRec(std::int32_t Rec) {
  if (Rec == parentRec_) return;
  parentRec_ = Rec;
  active_ = false;
}

void TGassanDataCtl::LoadChildList() {
  if (parentFolder_.empty() || ConnectKind != 0 || !DataModuleExists()) return;
  listCtl_->ConnectKind = static_cast<std::uint8_t>(ConnectKind);
  std::int32_t rec = parentRec_;
  listCtl_->GetRecNoByPath(parentFolder_, rec);
  if (rec > 0) parentRec_ = rec;
  TDataListRec parent;
  parent.Rec = parentRec_;
  listCtl_->GetDataListRecord(0, parent, true);
  netDrive_ = parent.NetDrive;
  pasName_ = netDrive_ == 1 ? parent.PasName : "";
  branch_ = 0;
  count_ = 0;
  children_.clear();

  const bool wasConnected = DataSetConnection().IBDatabaseDAT.Connected();
  if (!DataSetConnection().fnAccDatConnected(SystemDef.HostName, parentFolder_, false)) return;
  DataSetConnection().fnGetAccInfo();
  TDataSentakuRec entry;
  entry.Row = parent;
  if (AccInf.GassanKbn == kGassanParent || AccInf.GassanKbn == kGassanHonsiten) {
    branch_ = AccInf.SITEN != 0 ? 1 : 0;
    count_ = AccInf.GassanCount;
    std::vector<std::string> names;
    GetSubFolderList(parentFolder_, 1, names);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
      const int number = FolderNumber(name);
      if (number <= 0) continue;
      TGassanChildData child;
      child.Rec = parentRec_;
      child.ChildNo = static_cast<std::int32_t>(children_.size() + 1);
      if (branch_) {
        child.Code = Format("%.2d", number);
        child.Folder = PathJoin(parentFolder_, child.Code);
      } else {
        child.Folder = PathJoin(parentFolder_, Format("%.3d", number));
      }
      children_.push_back(child);
    }
    entry.Row.Gassan = AccInf.GassanKbn;
    listCtl_->GetDataListChildRecord(entry, true);
    for (TGassanChildData& child : children_)
      for (const TDataListRec& row : entry.Children)
        if (SameFolder(row.PasName, child.Folder) || SameFolder(row.DataFolder, child.Folder)) child.ChildNo = row.RowNo;
  } else {
    listCtl_->GetDataListChildRecord(entry, true);
    for (const TDataListRec& row : entry.Children) children_.push_back({row.Rec, row.RowNo, "", row.DataFolder});
  }
  if (!wasConnected) DataSetConnection().AccDatDisconnect(parentFolder_, true, false);
}

std::int32_t TGassanDataCtl::IndexOfChild(const std::string& Folder) const {
  for (std::size_t i = 0; i < children_.size(); ++i)
    if (SameFolder(children_[i].Folder, Folder)) return static_cast<std::int32_t>(i);
  return -1;
}

std::int32_t TGassanDataCtl::NextChildNo(std::int32_t Step) const {
  std::int32_t high = 0;
  for (const TGassanChildData& c : children_) high = std::max(high, c.ChildNo);
  return children_.empty() ? Step - 1 : high + Step;
}

void TGassanDataCtl::NextChildFolderName(const std::string& Folder, std::int32_t Step, std::string& Name) {
  Name.clear();
  if (!DirectoryExists(NativePath(Folder))) return;
  std::vector<std::string> names;
  GetSubFolderList(NativePath(Folder), 1, names);
  int high = 0;
  for (const std::string& n : names) high = std::max(high, FolderNumber(n));
  const int next = high + Step;
  if (next > 999) throw std::runtime_error("作成できるフォルダ名は[999]までです。");
  Name = Format("%.3d", next);
}

bool TGassanDataCtl::CreateChildData(const std::string& Code) {
  std::string name;
  if (branch_) {
    name = Code;
    code_ = Code;
  } else {
    name = Code;
    if (name.empty()) NextChildFolderName(parentFolder_, 1, name);
  }
  if (name.empty() || !DataModuleExists()) return false;
  childFolder_ = PathJoin(parentFolder_, name);
  auto removeChild = [this] {
    ShellDeleteOrRename(childFolder_, 3, false, false);
  };
  try {
    if (!ForceFolder(childFolder_)) return false;
  } catch (...) {
    return false;
  }
  if (!CopyFileOverwrite(PathJoin(parentFolder_, DataFile), PathJoin(childFolder_, DataFile))) {
    removeChild();
    return false;
  }
  try {
    AccDataSyokika();
  } catch (...) {  // reported by the clearing
    if (DataSetConnection().IBDatabaseDAT.Connected()) DataSetConnection().AccDatDisconnect(childFolder_, false, false);
    removeChild();
    return false;
  }
  std::int32_t index = IndexOfChild(childFolder_);
  if (index < 0) {
    children_.push_back({});
    index = static_cast<std::int32_t>(children_.size() - 1);
  }
  TGassanChildData& child = children_[static_cast<std::size_t>(index)];
  child.Rec = parentRec_;
  child.ChildNo = NextChildNo(1);
  child.Code = branch_ ? name : "";
  child.Folder = childFolder_;

  TDataListRec row;
  if (netDrive_ == 1) {
    TDataSentakuListCtl::InitDataListRecord(row, PathJoin(pasName_, name));
    row.NetDrive = netDrive_;
    row.KyoyuLock = 1;
  } else {
    TDataSentakuListCtl::InitDataListRecord(row, childFolder_);
  }
  row.Rec = child.Rec;
  row.RowNo = child.ChildNo;
  row.Gassan = kGassanChild;
  TDataSentakuListCtl::SetDataListRecordFromInfo(DataListInfoFields(info_), row);
  listCtl_->UpdateDataListChildRecord(row, 1, true);
  return true;
}

void TGassanDataCtl::AccDataSyokika() {
  if (childFolder_.empty() || !DataModuleExists()) return;
  if (!DataSetConnection().fnAccDatConnected(SystemDef.HostName, childFolder_, true))
    throw std::runtime_error("分散入力用データに接続できません。");
  TTransactionGuard guard(DataSetConnection().IBTransactionDAT);
  TIBSQL q;
  q.SetDatabase(&DataSetConnection().IBDatabaseDAT);
  q.SetTransaction(&DataSetConnection().IBTransactionDAT);
  std::vector<std::string> generators;
  try {
    guard.Begin();
    // Audit information.
    q.SQL.SetText("UPDATE ACCDEF1\nSET KANSA_FIXDATE=:KANSA_FIXDATE,KANSA_DATE=:KANSA_DATE,KANSA_LOCK=:KANSA_LOCK\nWHERE REC=1");
    q.ParamByName("KANSA_FIXDATE").AsDateTime(0);
    q.ParamByName("KANSA_DATE").AsDateTime(0);
    q.ParamByName("KANSA_LOCK").AsInteger(0);
    q.ExecQuery();
    q.Close();
    // Balances.
    std::vector<std::string> sz = {"KAISIZAN"};
    for (int n = 1; n <= 16; ++n) sz.push_back(Format("HAIBUN%.2d", n));
    sz.insert(sz.end(), {"KAKOZAN", "KISHU_KOMI", "KISHU_NUKI"});
    Run(q, "UPDATE KAMOKU_SZ SET " + ZeroList(sz));
    Run(q, "UPDATE KAMOKU_MS SET " + ZeroList({"KAR_NUK", "KAR_TAX", "KAS_NUK", "KAS_TAX", "BYOSAN", "BYOSOKU", "RYOSAN",
                                               "KAR_IKKATSU", "KAS_IKKATSU"}));
    std::vector<std::string> kz = {"KISHU"};
    for (int n = 1; n <= 16; ++n)
      for (const char* c : {"KOMIZAN_%d", "NUKIZAN_%d", "IKKATSU_%d", "HAIBUN_%d"}) kz.push_back(Format(c, n));
    Run(q, "UPDATE KAKOZAN SET " + ZeroList(kz) + (HasObject(q, "KAKOZAN", "TRIGGER_SWITCH") ? ",TRIGGER_SWITCH=1" : ""));
    Run(q, "UPDATE KAMOKU_TAX SET KAR=0,KAS=0");
    Run(q, "UPDATE SISETUMST SET SIWAKECOUNT=0");
    // Journals; tables this data set does not have hold nothing to clear.
    for (const char* table : {"SIWAKE", "KAKOSIWAKE1", "KAKOSIWAKE2", "KS_SISAN"})
      if (HasObject(q, table)) Run(q, std::string("DELETE FROM ") + table);
    FaultPoint("gassan.cleared");
    // Settings.
    PutAccReg(kGroup, kKindKey, "整数", TVariant(static_cast<int>(kGassanChild)));
    PutAccReg(kGroup, kCountKey, "整数", TVariant(0));
    for (std::string name : {std::string("SIWAKE_REC_GEN"), std::string("KSSISAN_GEN")})
      if (HasGenerator(q, name)) generators.push_back(name);
    for (int n = 0; n <= 99; ++n)
      if (const std::string name = Format("SIWAKE%.2d_GEN", n); HasGenerator(q, name)) generators.push_back(name);
    guard.Commit();
  } catch (const EIBError& e) {
    guard.Rollback();
    ShowFbError(e, "TGassanDataCtl.AccDataSyokika", "分散入力用データの初期化に失敗しました。", true);
    throw;
  } catch (const std::exception& e) {
    guard.Rollback();
    ShowErrorDetail("分散入力用データの初期化に失敗しました。", e.what(), 0);
    throw;
  }
  // The journal number generators restart once the cleared data is committed.
  TTransactionGuard reset(DataSetConnection().IBTransactionDAT);
  try {
    reset.Begin();
    for (const std::string& g : generators) Run(q, "SET GENERATOR " + g + " TO 0");
    reset.Commit();
  } catch (const EIBError& e) {
    reset.Rollback();
    ShowFbError(e, "TGassanDataCtl.AccDataSyokika", "分散入力用データの初期化に失敗しました。", true);
    throw;
  }
  dataInfo_->GetDataInfoRec(info_);
  DataSetConnection().AccDatDisconnect(childFolder_, true, false);
}

void TGassanDataCtl::SetGassanSettings(std::uint8_t Kind, std::int32_t Count) {
  if (parentFolder_.empty() || !DataModuleExists()) return;
  if (!DataSetConnection().fnAccDatConnected(SystemDef.HostName, parentFolder_, false)) return;
  if (Kind == kGassanNormal || Kind == kGassanChild) Count = 0;
  try {
    PutAccReg(kGroup, kKindKey, "整数", TVariant(static_cast<int>(Kind)));
    PutAccReg(kGroup, kCountKey, "整数", TVariant(Count));
  } catch (...) {
    DataSetConnection().AccDatDisconnect(parentFolder_, true, true);
    throw;
  }
  DataSetConnection().AccDatDisconnect(parentFolder_, true, true);
}
