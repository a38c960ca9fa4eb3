// New data in the selected folder of the data-selection dialog: the folder is
// marked "新規作成中" (status 9) and the setup wizard "WzKihonWiz" is started
// through the start hook. Only the wizard's result 1 (data created) keeps
// the folder; any other result takes back what the command did: a folder it
// created is removed, the settings file of a folder that was already there
// gets its former contents back (or is removed when the command wrote it).
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "core/globals.h"
#include "dataselect/datasentaku.h"
#include "dataselect/datasentakucmds.h"
#include "dbaccess/serverfiles.h"
#include "platform/rtl/inifile.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/perfectgrid.h"

namespace fs = std::filesystem;

namespace {

std::int32_t LogonCode(std::int32_t OpCode) {
  const std::int64_t base = static_cast<std::int64_t>(SystemDef.GroupId) * 10000;
  return base > 0 ? static_cast<std::int32_t>(OpCode % base) : OpCode;
}

// The per-data settings file of a folder as it was before the command.
class TSettingsFileBefore {
 public:
  explicit TSettingsFileBefore(const std::string& Folder) : file_(DataInfoFileName(Folder)) {
    std::ifstream in(file_, std::ios::binary);
    if (!in) return;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    bytes_ = bytes.str();
  }
  void Restore() const {
    std::error_code ec;
    if (bytes_) WriteFileAtomically(file_, *bytes_);
    else fs::remove(file_, ec);
  }

 private:
  std::string file_;
  std::optional<std::string> bytes_;
};

}  // namespace

std::int32_t CreateNewData(TDataSentakuBox& Box, std::int32_t Row) {
  if (Row < 0 || Row == 32700 || !DataModuleExists()) return 0;
  TDataListRec* r = Box.GetRowRecord(Row);
  if (!r) return 0;
  const auto index = static_cast<std::size_t>(Box.PerfectGrid1->CellNumber(Row, dcIndex));
  if (index >= Box.DataList.size()) return 0;
  const std::string folder = Box.GetRowDataFolder(Row);
  if (Box.CheckDataStatus(folder, false, false) != 1) return 0;

  const bool client = ConnectKind == 1 || ConnectKind == 2;
  const bool created = !ServerFiles().ServerDExist(folder, ConnectKind);
  if (created && !ServerFiles().ServerMkDir(folder, ConnectKind)) return 0;
  const TSettingsFileBefore before(folder);

  Box.InfoRec.STATUS = dsCreating;
  Box.InfoRec.OPCODE = SystemDef.OpCode;
  Box.InfoRec.OPERATOR = SystemDef.OpName;
  Box.DataInfo->WriteIniFile(folder, kSectionDataSts, Box.InfoRec);
  if (client) {
    r->DataLock = LogonCode(SystemDef.OpCode);
    Box.StoreListRow(*r);
  }

  std::int32_t result = -1;
  if (StartProcessProc) {
    char handle[32];
    std::snprintf(handle, sizeof handle, "%lld", static_cast<long long>(Box.winId()));
    result = StartProcessProc("WzKihonWiz", 1,
                              Format("DataPath=%s\rDataListRec=%d\rPHandle=", folder, r->Rec) + handle);
  }

  // The row may have been replaced while the wizard ran.
  r = Box.GetRowRecord(Row);
  if (result == 1 && r) {
    Box.ListCtl->GetDataListRecord(0, *r, true);
    TDataSentakuRec& entry = Box.DataList[index];
    Box.ListCtl->GetDataListChildRecord(entry, true);
    if (entry.Row.NetDrive == 1)
      for (TDataListRec& child : entry.Children) {
        child.NetDrive = 1;
        child.PasName = StringReplaceAll(child.PasName, entry.Row.DataFolder, entry.Row.PasName);
        Box.StoreListRow(child);
      }
    Box.SetDataStatus(folder, 1);
  } else if (created) {
    ServerFiles().ServerRmDir(folder, false, ConnectKind);
  } else if (!client) {
    before.Restore();  // the server installations keep no settings file
  }
  if (client && r) {
    r->DataLock = 0;
    Box.StoreListRow(*r);
  }
  if (Box.GetShareState(1, static_cast<std::int32_t>(index)) == 2) {
    const std::int32_t stored = result == 1 ? Box.StoreSharedData(1) : 1;
    if (stored > 0) Box.SetKyoyuLock(1, Box.DataList[index]);
  }
  Box.DataListRefresh(Row);
  return result == 1 ? 1 : (result == 2 ? 2 : -1);
}
