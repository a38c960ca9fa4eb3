// The restore of a received backup: the combine-kind refusal, the data check
// against the data set it would replace (company name, fiscal period, total
// journal count) with its agreement box, the restore job and the data-list
// row brought up to date.
#include <filesystem>

#include "comm/cloudshare.h"
#include "comm/filestore.h"
#include "core/datetext.h"
#include "core/settings.h"
#include "core/textutil.h"
#include "core/winutil.h"
#include "dbaccess/backupthread.h"
#include "dbaccess/datasetconnection.h"
#include "platform/rtl/sysutils.h"
#include "ui/messagebox.h"
#include "ui/progressdialog.h"

namespace fs = std::filesystem;

namespace {

const char* CombineName(int kind) {
  switch (kind) {
    case 0: return "通常データ";
    case 1: return "合算データ";
    case 2: return "合算本支店データ";
    case 10: return "分散データ";
    default: return nullptr;
  }
}

// The refusal of a received copy of another combine kind; empty when it passes.
std::string CombineRefusal(int current, int received) {
  if ((current != 1 && current != 2) || current == received) return "";
  const char* cur = CombineName(current);
  const char* rec = CombineName(received);
  if (!rec) return "";
  return std::string("現在の処理データは、") + cur + "ですが、受信したデータは、" + rec + "なので、復元出来ません。";
}

std::string DateShown(const std::string& text) {
  if (SystemDef.WarekiDisplay == 0 || text.empty()) return text;
  TDateTime d = 0;
  if (!TryStrToDate(text, d)) return text;
  std::string out;
  FormatDateSlash("yy/mm/dd", 2, out, d);
  return out;
}

std::string Thousands(std::int64_t n) {
  std::string out;
  FormatThousands(n, out);
  return out;
}

// The index of the window's list row of the data set in Folder, or -1: in a
// server installation the row with that folder, on this computer the row of
// the number the folder ends with (the rows the write-back changes).
int ListRowOf(const std::vector<TDataSentakuRec>& list, const std::string& folder) {
  const std::string path = Trim(folder);
  const std::int32_t rec = StrToIntDef(path.substr(path.size() >= 4 ? path.size() - 4 : 0), -1);
  for (std::size_t i = 0; i < list.size(); ++i) {
    const TDataListRec& row = list[i].Row;
    if (ConnectKind != 0 ? Trim(row.PasName) == path : row.Rec == rec) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

void TfmDataTusin::SetDataStatus(const std::string& Folder, std::uint8_t Status) {
  DataInfomation.SetStatus(Folder, Status);
}

bool TfmDataTusin::ShowCompareResult(const std::string& Op, const TDataInfomationRec& Src,
                                     const TDataInfomationRec& Dst) {
  auto blank = [](const TDataInfomationRec& r) { return r.SHOUGOU.empty() && r.KISHU.empty() && r.KIMATU.empty(); };
  if (blank(Src)) {
    ShowNotice(TCommNotice::WarningYes(Op + "処理元のデータ情報が不正です。\r"));
    return false;
  }
  if (blank(Dst)) {
    ShowNotice(TCommNotice::WarningYes(Op + "処理先のデータ情報が不正です。\r"));
    return false;
  }
  std::vector<std::string> lines;
  auto pair = [&](const char* title, const std::string& a, const std::string& b, const char* unit) {
    lines.push_back(title);
    lines.push_back("　【" + Op + "元】：" + a + unit);
    lines.push_back("　【" + Op + "先】：" + b + unit);
    lines.push_back("");
  };
  if (Src.SHOUGOU != Dst.SHOUGOU) pair("会社名に違いがありました。", Src.SHOUGOU, Dst.SHOUGOU, "");
  if (Src.KISHU != Dst.KISHU) pair("期首に違いがありました。", DateShown(Src.KISHU), DateShown(Dst.KISHU), "");
  if (Src.KIMATU != Dst.KIMATU) pair("期末に違いがありました。", DateShown(Src.KIMATU), DateShown(Dst.KIMATU), "");
  if (Src.TOTALSIWAKE < Dst.TOTALSIWAKE)
    pair("仕訳件数(修正・削除仕訳含む)が減っています。", Thousands(Src.TOTALSIWAKE), Thousands(Dst.TOTALSIWAKE),
         " 件");
  if (lines.empty()) return true;
  MessageBox->Kind = 2;
  MessageBox->CaptionText = "データ照合チェックの結果";
  MessageBox->MainText = "以下の項目に違いが検出されました。";
  MessageBox->TextColor = 255;
  MessageBox->AgreeVisible = true;
  MessageBox->AgreeCaption = "データ" + Op + "処理の続行に同意します。";
  MessageBox->AgreeChecked = false;
  if (State.IsCloud()) MessageBox->Position = poScreenCenter;
  MessageBox->SetMessageLines(lines);
  MessageBox->Prepare(true);
  return MessageBox->ShowModal() == mrOk;
}

bool TfmDataTusin::CompareWithDataFolder(const std::string& Op, const TDataInfomationRec& Source,
                                         const std::string& Dest) {
  if (Dest.empty()) {
    ShowNotice(TCommNotice::WarningYes(Op + "処理先のデータパスが不正です。\r"));
    return false;
  }
  if (!ServerFiles().ServerDExist(Dest, ConnectKind)) {
    ServerFiles().ServerMkDir(Dest, ConnectKind);
    return true;
  }
  if (!ServerFiles().ServerFExist(Dest + "/" + DataFile, ConnectKind)) return true;
  TDataInfomationRec dst;
  DataInfomation.RefreshIniFile(Dest, "");
  DataInfomation.ReadInfo(Dest, dst);
  if (DataSetConnection().IBDatabaseDAT.Connected()) DataSetConnection().AccDatDisconnect(Dest, false, false);
  return ShowCompareResult(Op, Source, dst);
}

bool TfmDataTusin::CompareWithRestoredCopy(const std::string& Op, const std::string& SourceHost,
                                           const std::string& Dest, const std::string& SourceFolder) {
  if (SourceFolder.empty()) {
    ShowNotice(TCommNotice::WarningYes(Op + "処理元のデータパスが不正です。\r"));
    return false;
  }
  if (Dest.empty()) {
    ShowNotice(TCommNotice::WarningYes(Op + "処理先のデータパスが不正です。\r"));
    return false;
  }
  if (!ServerFiles().ServerDExist(Dest, ConnectKind)) {
    ServerFiles().ServerMkDir(Dest, ConnectKind);
    return true;
  }
  if (!ServerFiles().ServerFExist(Dest + "/" + DataFile, ConnectKind)) return true;
  TDataInfomationRec dst, src;
  DataInfomation.RefreshIniFile(Dest, "");
  DataInfomation.ReadInfo(Dest, dst);
  if (DataSetConnection().IBDatabaseDAT.Connected()) DataSetConnection().AccDatDisconnect(Dest, false, false);
  DataInfomation.ReadIniFile(SourceHost, SourceFolder, src);
  return ShowCompareResult(Op, src, dst);
}

bool TfmDataTusin::RestoreReceivedData(bool /*ShowMessage*/) {
  DataInfomation.ConnectKind = ConnectKind;
  const int op = State.SyoriType;
  const bool cloud = State.IsCloud();
  const std::string folder = State.WorkDataFolder();
  const std::string temp = SystemDef.TempDir;
  const std::string received = SystemDef.WinTempDir + "/ComR/" + State.WorkFileName;
  const std::string copied = temp + "/" + State.WorkFileName;
  if (cloud) {
    if (GetDataListRecord() == 0) return false;
    if (DataSetConnection().AccDatInConnection(1, SystemDef.HostName, folder, false)) {
      ShowNotice(TCommNotice::WarningOk("このデータは他のオペレータが使用中です。 "));
      return false;
    }
  } else if (op == 2 && (ChosenRow == -1 || ChosenRow == 32700)) {
    return false;
  }
  if (!fs::exists(received)) {
    ShowNotice(TCommNotice::InformationYes("この場所には、バックアップファイル(" + received + ")がありませんでした。\r"));
    return false;
  }

  bool restored = false;
  std::error_code ec;
  for (const std::string& f : {State.WorkFileName, DataFile, DataIniFile}) fs::remove(temp + "/" + f, ec);
  fs::create_directories(temp, ec);
  const bool toWork = op == opCloudReceiveToWork;
  std::int32_t myNumber = 0;
  bool goOn = true;
  if (!fs::copy_file(received, copied, fs::copy_options::overwrite_existing, ec) || ec) {
    ShowNotice(TCommNotice::InformationYes("ワーク領域にファイルをコピー出来なかったため、復元処理は失敗しました。"));
    goOn = false;
  } else if (!toWork) {
    if (!BackupThread) BackupThread = std::make_unique<TBackupRestoreThread>(true);
    const bool block = BackupThread->ReadDataInfo(copied, true);
    const TDataInfoValues values = BackupThread->DataInfo;
    if (ServerFiles().ServerFExist(folder + "/" + DataFile, ConnectKind)) {
      xAnimeProgressDialog1->SetInfoLabel("照合チェック中、しばらくお待ちください…");
      if (block && (op == 2 || op == opCloudReceive)) {
        TDataInfomationRec src;
        TDataInfomation::ClearDataInfoRec(src);
        src.SHOUGOU = values.SHOUGOU;
        src.KISHU = values.KISHU;
        src.KIMATU = values.KIMATU;
        src.SIWAKE = values.SIWAKE;
        src.TOTALSIWAKE = values.TOTALSIWAKE;
        src.VERSION2 = values.DATAVARSION;
        src.USEMYNUMBER = values.USEMYNUMBER;
        myNumber = values.USEMYNUMBER;
        const std::string refusal = CombineRefusal(AccInf.GassanKbn, values.GASSAN);
        if (!refusal.empty()) {
          ShowNotice(TCommNotice::WarningYes(refusal));
          goOn = false;
        } else {
          goOn = CompareWithDataFolder("復元", src, folder);
        }
      } else if (!block) {
        TBackupRestoreThread& job = *BackupThread;
        job.Mode = 1;
        job.ViaFileMan = false;
        job.HostName = "127.0.0.1";
        job.DbFile = temp + "/" + DataFile;
        job.BackupFile = copied;
        job.JobOption = 0;
        goOn = RunJob(job) && CompareWithRestoredCopy("復元", "127.0.0.1", folder, temp);
      }
    }
    BackupThread.reset();
  }
  if (goOn && toWork) {
    fs::remove_all(State.ReceiveFolder, ec);
    fs::create_directories(State.ReceiveFolder, ec);
  }
  const std::string target = toWork ? State.ReceiveFolder : folder;
  if (goOn) {
    xAnimeProgressDialog1->SetInfoLabel("復元中、しばらくお待ちください…");
    fs::create_directories(target, ec);
    // The fresh receive folder holds no data set yet to be marked.
    if (!toWork) SetDataStatus(target, dsRestoring);
    BackupThread = std::make_unique<TBackupRestoreThread>(true);
    TBackupRestoreThread& job = *BackupThread;
    job.Mode = 1;
    job.AskMyNumber = false;
    job.IncludeMyNumber = true;
    job.ProductTitle = cloud ? "クラウドシェア受信" : "データ受信";
    job.DataInfo.USEMYNUMBER = myNumber;
    job.ViaFileMan = ConnectKind != 0;
    if (op == 4 || op == 6 || op == 10 || toWork) {
      job.HostName = "127.0.0.1";
      job.ViaFileMan = false;
      job.DbFile = (toWork ? State.ReceiveFolder : temp) + "/" + DataFile;
    } else {
      job.HostName = SystemDef.HostName;
      job.DbFile = folder + "/" + DataFile;
    }
    job.BackupFile = copied;
    job.JobOption = 1;
    restored = RunJob(job);
    BackupThread.reset();
  }
  if (restored && (op == 2 || op == opCloudReceive)) {
    TDataInfomationRec rec;
    TDataInfomation::ClearDataInfoRec(rec);
    DataInfomation.ReadDataInfoFromDb(folder, rec);
    DataInfomation.UpdateDataInfomation(SystemDef.HostName, folder, rec);
    // The restored data set's own row: its other values stay as listed.
    const int index = ListRowOf(DataList, folder);
    CurrentListRow = index >= 0 ? DataList[static_cast<std::size_t>(index)].Row : TDataListRec{};
    TDataListRec& row = CurrentListRow;
    row.EntText = rec.DATALISTNAME;
    row.PasName = folder;
    row.UpdateLock = rec.UPDATE_LOCK;
    row.Nendo = rec.NENDO;
    TryStrToDate(rec.KISHU, row.Kishu);
    TryStrToDate(rec.KIMATU, row.Kimatu);
    row.VerMajor = rec.VERSION1[0];
    row.VerMinor1 = rec.VERSION1[1];
    row.VerMinor2 = rec.VERSION1[2];
    row.VerText = rec.VERSION2;
    // The write-back takes a row of the list: the data set's own, or for the
    // time of the write a row of its own when the list does not hold it.
    const bool listed = index >= 0;
    std::size_t at = listed ? static_cast<std::size_t>(index) : DataList.size();
    if (listed) DataList[at].Row = CurrentListRow;
    else DataList.push_back(TDataSentakuRec{CurrentListRow, 0, {}});
    try {
      UpdateDataListRecord(static_cast<std::int32_t>(at));
    } catch (const std::exception& e) {
      ShowNotice(TCommNotice::ErrorOk(e.what()));
    }
    if (!listed) DataList.pop_back();
    if (op == 2) Records.ReadVersionOrClearCloudLine(false);
  }
  xAnimeProgressDialog1->Close();
  SetDataStatus(folder, dsFree);
  if (toWork) SetDataStatus(State.ReceiveFolder, dsFree);
  if (restored) State.Restored = true;
  return restored;
}
