// The window's copy of the DATALIST rows of the operator's group, and the
// write-back of a row after a received copy was restored over a data set.
#include "comm/cloudshare.h"
#include "comm/filestore.h"
#include "dbaccess/datalistrepo.h"
#include "dbaccess/fberror.h"
#include "dbaccess/queryfactory.h"
#include "dbaccess/systemstore.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/sysutils.h"

std::int32_t TfmDataTusin::GetDataListRecord() {
  std::unique_ptr<TIBSQL> q = CreateAccSQL("ACCDEF", 0);
  if (!q) throw Exception("DATALIST: query object cannot be created");
  TTransactionGuard scope(SystemStore().IBTransactionDEF);
  try {
    scope.Begin();
    DataList.clear();
    TDataListTable(*q).Load(TDataListLoad{}, [this](const TDataListRec& r) {
      DataList.push_back(TDataSentakuRec{r, 0, {}});
    });
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
  std::unique_ptr<TIBSQL> q = CreateAccSQL("ACCDEF", 0);
  if (!q) throw Exception("DATALIST: query object cannot be created");
  TTransactionGuard scope(SystemStore().IBTransactionDEF);
  try {
    scope.Begin();
    if (ConnectKind != 0) {
      const std::string own = State.WorkDataFolder();
      const std::size_t at = (OemKind == 1 || OemKind == 2) ? 20 : 19;
      const bool inList = own.size() > at && (own[at] == '/' || own[at] == '\\');
      TDataListTable(*q, inList ? 0 : kEveryDataPlace).UpdateNameTermVersionOfPath(r, path);
    } else if (State.SavedCombineKind != "10") {
      const std::int32_t rec = StrToIntDef(path.substr(path.size() >= 4 ? path.size() - 4 : 0), 0);
      TDataListTable(*q).UpdateNameTermVersionOfNumber(r, rec);
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
      TChildDataListTable children(*q);
      const std::optional<std::int32_t> rowNo = children.RowNoOfSuffix(StrToIntDef(rec, 0), suffix);
      if (!rowNo) {
        scope.CommitQuietly();
        ShowNotice(TCommNotice::ErrorOk("C_DATALISTが更新出来ません。(2)"));
        return;
      }
      children.UpdateNameTermVersion(r, StrToIntDef(rec, 0), *rowNo);
    }
    scope.Commit();
  } catch (const EIBError& e) {
    ShowFbError(e, "TDataSentakuBox.UpdateDataListRecord", "", true);
    q->Close();
    scope.Rollback();
    throw;
  }
}
