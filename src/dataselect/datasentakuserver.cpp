// The data-selection dialog's use of the shared-server selection dialog: the
// fetch into an empty local row, and the dialog's copy of a renamed row.
#include "core/globals.h"
#include "dataselect/datasentaku.h"
#include "dataselect/serverfetch.h"
#include "dataselect/serversentaku.h"
#include "dbaccess/systemstore.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/perfectgrid.h"

namespace {

TServerSentakuBox& ServerBoxOf(TDataSentakuBox& Box) {
  if (!Box.ServerBox) Box.ServerBox = new TServerSentakuBox(&Box);
  return *Box.ServerBox;
}

}  // namespace

// The chosen area becomes the row's share and is fetched into the row's
// local folder. The data-selection dialog stays visible behind the modal
// selection dialog: hiding a dialog that runs modally would end its own
// modal run.
void TDataSentakuBox::FetchIntoEmptyRow(std::int32_t Row) {
  if (Row <= 0 || Row > PerfectGrid1->Rows()) return;
  const auto index = static_cast<std::int32_t>(PerfectGrid1->CellNumber(Row, dcIndex));
  if (index < 0 || index >= static_cast<std::int32_t>(DataList.size())) return;
  TServerSentakuBox& server = ServerBoxOf(*this);
  server.DriveLetter = Trim(SystemDef.ZenkaiDrive);
  server.PrepareSelection(1);
  if (server.ShowModal() == mrOk && !server.SelectedFolder.empty()) {
    ShowProgress("共有データ受信中", "共有データから受信中…", false);
    try {
      SystemDef.ZenkaiDrive = server.DriveLetter;
      if (DataModuleExists()) SystemStore().fnPutSysDef();
      TDataSentakuRec& entry = DataList[static_cast<std::size_t>(index)];
      entry.Row.NetDrive = 1;
      entry.Row.PasName = server.SelectedFolder;
      entry.Row.EntText = entry.Row.DispName = server.SelectedEntText;
      entry.Row.DataFolder = DataFolderPath(entry.Row);
      if (KyoyuDataDown(*ListCtl, entry, 0) == 0)
        DataInfo->SetShareStatus(NativePath(entry.Row.PasName), ssOnServer);
      TDataSentakuRec again;
      if (ListCtl->GetDataListRecordByLocalPath(entry.Row.DataFolder, again) == 1) entry = again;
      FillGrid(GetDispIndex(Row));
      if (const int shown = GridRowOfIndex(index)) {
        PerfectGrid1->SetRow(shown);
        PerfectGrid1->scrollToItem(PerfectGrid1->item(shown - 1, 0));
      }
    } catch (...) {
      SelectOnShow = false;
      EndGridClick();
      throw;
    }
  }
  SelectOnShow = false;
  show();
  EndGridClick();
}

void TDataSentakuBox::UpdateServerBoxRow(const TDataListRec& Rec) {
  // Only shared data taken into a local folder has a copy on the server.
  if (ConnectKind != 0 || Rec.NetDrive != 1 || Rec.KyoyuLock != 1) return;
  TDataListRec row = Rec;
  try {
    ServerBoxOf(*this).UpdateServerRow(row);
  } catch (...) {
    // The server's copy is refreshed with the next store.
  }
}
