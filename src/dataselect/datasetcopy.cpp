// Copy and paste of a data set onto another row of the data-selection list.
// The copy step marks the source (status 6); the paste step checks the
// target (refused pairs of combined-data kinds, the comparison box) and
// copies: the whole source folder through the file utilities in the
// stand-alone installation, the database through the backup/restore job on
// the server in the client modes. A target nested in its source (or holding
// it) is refused before anything changes; a failed copy is reported and
// leaves the target's information alone; every exit resets the statuses.
#include <filesystem>

#include "core/datetext.h"
#include "core/fileutil.h"
#include "core/globals.h"
#include "core/settings.h"
#include "core/sjis.h"
#include "ui/progressdialog.h"
#include "core/sysinfo.h"
#include "core/textutil.h"
#include "dataselect/cloudshareio.h"
#include "dataselect/datasentaku.h"
#include "dataselect/datasetmgmt.h"
#include "dbaccess/accreg.h"
#include "dbaccess/backupthread.h"
#include "dbaccess/datasetconnection.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/perfectgrid.h"
#include "platform/win/paths.h"
#include "ui/messagebox.h"

namespace {

const char* const kNestedTarget = "貼付先にコピー元のパスが含まれています。処理を中断します。";

bool IsCombined(std::uint8_t Gassan) { return Gassan == 1 || Gassan == 2; }


std::string DateLine(const std::string& Text) {
  TDateTime d = 0;
  if (!TryStrToDate(Text, d)) d = 0;
  std::string out;
  FormatDateSlash("yyyy/mm/dd", 2, out, d);
  return out;
}

void EndCopy(TDataSentakuBox& Box) {
  if (!Box.CopySourceFolder.empty()) Box.SetDataStatus(Box.CopySourceFolder, dsFree);
  Box.CopyPending = false;
  Box.CopySource = -1;
  Box.CopySourceFolder.clear();
}

void CopyStep(TDataSentakuBox& Box) {
  if (!Box.HasCurrentRow()) return;
  const std::int32_t row = Box.PerfectGrid1->Row();
  TDataListRec* r = Box.GetRowRecord(row);
  if (!r) return;
  const std::int32_t index = static_cast<std::int32_t>(Box.PerfectGrid1->CellNumber(row, dcIndex));
  const std::string folder = Box.GetRowDataFolder(row);
  auto refuse = [&] {
    Box.CopyPending = false;
    Box.DataListRefresh(row);
  };
  if (CheckOutOfCloud(Box, row, folder) != 0) {
    Box.CopyPending = false;
    return;
  }
  r = Box.GetRowRecord(row);
  if (!r) return;
  if (DataModuleExists() && DataSetConnection().VerifyData(SystemDef.HostName, folder, 1, 0) == 0) {
    r->DataStatus = 1;
    refuse();
    return;
  }
  if (IsCombined(r->Gassan) && index >= 0 && index < static_cast<std::int32_t>(Box.DataList.size())) {
    for (const TDataListRec& c : Box.DataList[static_cast<std::size_t>(index)].Children) {
      if (c.DataStatus != 1) continue;
      Box.CopyPending = false;
      ShowSentakuBox(kMsgInformation,
                     "合算・分散データに破損したデータが存在するため、データのコピーを中止します。\r"
                     "データのバックアップを行っている場合は、適正な方法で破損前の状態へ戻して下さい。\r"
                     "ご不明な点がございましたら、お問い合わせ先をご確認の上ご連絡下さい。",
                     MsgButtons({mbOK}));
      return;
    }
  }
  const std::uint8_t status = Box.CheckDataStatus(folder, true, true);
  const bool allowed = status == 1 || (ServerConnection() && status == 2);
  if (!allowed || !Box.DataInfo->IsDataSiyouKengen(folder)) {
    refuse();
    return;
  }
  if (ServerConnection() && status == 2 &&
      ShowSentakuBox(kMsgConfirmation, "このデータは他のオペレータが使用中です。コピーしますか？",
                     MsgButtons({mbOK, mbCancel})) != mrOk) {
    refuse();
    return;
  }
  Box.CopySourceFolder = folder;
  Box.CopySourceRec = *r;
  Box.CopySourceRec.EntText = Box.CopySourceRec.DispName = CopyNameOf(r->EntText);
  Box.CopySource = index;
  Box.CopyPending = true;
  Box.SetDataStatus(folder, dsCopyingJob);
}

// Copies the source's database (or folder) onto the target; false when the
// copy failed (shown).
bool CopyOnto(TDataSentakuBox& Box, std::int32_t Row, const TDataListRec& Target, const std::string& Folder) {
  const std::string source = Box.CopySourceFolder;
  if (!ServerConnection()) {
    if (IsCombined(Target.Gassan)) Box.RemoveChildData(Row, true);
    return CopyDataFiles(source, Folder, Target.Gassan == kGassanChild);
  }
  Box.xAnimeProgressDialog1->SetInfoLabel("データをコピー中…");
  TDataListRec* t = Box.GetRowRecord(Row);
  if (t) MarkRowLock(Box, *t, OperatorLogonCode());
  bool ok = false;
  try {
    if (!ServerFiles().ServerDExist(SystemDef.ServerWorkDir, ConnectKind)) ServerFiles().ServerMkDir(SystemDef.ServerWorkDir, ConnectKind);
    const std::string leftover = PathJoin(SystemDef.TempDir, BackupFileName);
    if (ServerFiles().ServerFExist(leftover, 0)) ServerFiles().ServerFDel(leftover, false, 0);
    TBackupRestoreThread job(true);
    job.Mode = 2;
    job.Caption = "データ選択";
    job.HostName = SystemDef.HostName;
    job.DbKind = 1;
    job.DbFile = PathJoin(source, DataFile);
    job.TargetDbFile = PathJoin(Folder, DataFile);
    job.BackupFile =
        PathJoin(SystemDef.ServerWorkDir, ChangeFileExt(BackupFileName, "." + IntToStr(SystemDef.OpCode)));
    job.KeepIndexes = true;
    RunJob(job, 500);
    ok = job.Success;
  } catch (...) {  // shown below as a failed copy
    ok = false;
  }
  t = Box.GetRowRecord(Row);
  if (t) MarkRowLock(Box, *t, 0);
  return ok;
}

void PasteStep(TDataSentakuBox& Box) {
  if (!Box.HasCurrentRow()) return;
  const std::int32_t row = Box.PerfectGrid1->Row();
  TDataListRec* t = Box.GetRowRecord(row);
  if (!t) return;
  const std::string folder = Box.GetRowDataFolder(row);
  const std::string source = Box.CopySourceFolder;
  if (SameText(ExcludeTrailingDelimiter(folder), ExcludeTrailingDelimiter(source))) {
    EndCopy(Box);
    return;
  }
  if (DataModuleExists() && DataSetConnection().CanUseCloudShare(false) && t->Cloud == 1) {
    ShowSentakuBox(kMsgInformation, "クラウドシェアデータのため貼り付け処理は行えません。", MsgButtons({mbOK}));
    EndCopy(Box);
    return;
  }
  if (Box.CopySourceRec.Gassan == kGassanChild && Box.CopySourceRec.Rec == t->Rec) {
    ShowSentakuBox(kMsgInformation, "同ブロックの分散入力データからの貼り付けは行えません。", MsgButtons({mbOK}));
    EndCopy(Box);
    return;
  }
  // A target inside the source would copy the source into itself; a source
  // inside the target would lose its folder with the target's children.
  if (NestedFolders(folder, source)) {
    ShowSentakuBox(kMsgWarning, kNestedTarget, MsgButtons({mbOK}));
    EndCopy(Box);
    return;
  }
  const std::uint8_t status = Box.CheckDataStatus(folder, false, true);
  const bool damaged = status == dsDamaged;
  if (status != dsFree && !damaged) {
    if (ServerConnection() && status == dsInUse)
      ShowSentakuBox(kMsgInformation, "このデータは他のオペレータが使用中のため貼り付けは行えません。", MsgButtons({mbOK}));
    EndCopy(Box);
    return;
  }
  if (damaged && DataModuleExists()) DataSetConnection().AccDatDisconnect(folder, false, false);
  if (!damaged && DataModuleExists() && ServerFiles().ServerFExist(PathJoin(folder, DataFile), ConnectKind) &&
      !Box.DataInfo->IsDataSiyouKengen(folder)) {
    EndCopy(Box);
    return;
  }
  ShowJobProgress(Box, "コピー中", "データのコピー中…");
  bool targetMarked = false;
  try {
    TDataInfomationRec sourceInfo;
    TDataInfomation::ClearDataInfoRec(sourceInfo);
    Box.DataInfo->ReadInfo(source, sourceInfo);
    bool go;
    if (!damaged) {
      go = CheckTargetFolder(Box, "貼り付け", sourceInfo, folder);
    } else {
      CloseJobProgress(Box);
      go = ShowSentakuBox(kMsgConfirmation,
                          "このデータは破損データのため、データ間の照合チェックは行わずに貼り付けを行います。\rよろしいですか？",
                          MsgButtons({mbOK, mbCancel})) == mrOk;
    }
    if (go) {
      Box.SetDataStatus(folder, dsCopying);
      targetMarked = true;
      if (!Box.xAnimeProgressDialog1->Running) ShowJobProgress(Box, "コピー中", "データのコピー中…");
      t = Box.GetRowRecord(row);
      const TDataListRec target = t ? *t : TDataListRec{};
      if (!CopyOnto(Box, row, target, folder)) {
        CloseJobProgress(Box);
        ShowSentakuBox(kMsgWarning, "データのコピーに失敗しました。", MsgButtons({mbYes}));
      } else {
        Box.SetDataStatus(folder, dsFree);
        targetMarked = false;
        WriteGassanSettings(Box, row);
        if (Box.CloudShareIO) Box.CloudShareIO->ClearCloudShare(SystemDef.HostName, folder);
        TDataInfomationRec info;
        t = Box.GetRowRecord(row);
        if (t && Box.DataInfo->ReadDataInfoFromDb(folder, info) == 1) {
          info.DATALISTNAME = Box.CopySourceRec.EntText;
          info.UPDATE_LOCK = Box.CopySourceRec.UpdateLock;
          Box.DataInfo->UpdateDataInfomation(SystemDef.HostName, folder, info);
          Box.DataInfo->WriteIniFile(folder, kSectionDataInfo, info);
          t = Box.GetRowRecord(row);
          if (t) {
            t->DataCode = info.CODE;
            t->EntText = t->DispName = Box.CopySourceRec.EntText;
            t->UpdateLock = info.UPDATE_LOCK;
            t->Gassan = info.GASSANKBN;
            t->DataStatus = 0;
            Box.PerfectGrid1->SetCellNumber(row, dcDamaged, 0);
            Box.PerfectGrid1->SetCellText(row, dcCode, info.CODE);
            Box.PerfectGrid1->SetCellText(row, dcName, t->DispName);
            Box.PerfectGrid1->SetCellNumber(row, dcUpdate, info.UPDATE_LOCK);
            Box.PerfectGrid1->SetCellNumber(row, dcGassan, info.GASSANKBN);
            Box.StoreListRow(*t);
            CopyChildRows(Box, row);
          }
        } else if (t) {
          t->DataStatus = 1;
        }
        Box.DataListRefresh(row);
        Box.PerfectGrid1->SetCol(0);
        if (Box.GetShareState(0, row) == 2 && Box.StoreSharedData(1) > 0) {
          const auto index = static_cast<std::size_t>(Box.PerfectGrid1->CellNumber(row, dcIndex));
          if (index < Box.DataList.size()) Box.SetKyoyuLock(1, Box.DataList[index]);
          Box.DataListRefresh(row);
          Box.PerfectGrid1->SetCol(0);
        }
      }
    }
  } catch (const std::exception& e) {
    CloseJobProgress(Box);
    ShowSentakuBox(kMsgWarning, std::string("データのコピーに失敗しました。\r") + e.what(), MsgButtons({mbYes}));
  }
  if (targetMarked) Box.SetDataStatus(folder, status);
  CloseJobProgress(Box);
  EndCopy(Box);
  Box.show();
  Box.raise();
}

}  // namespace

std::string CopyNameOf(const std::string& EntText) { return TrimZen(FixLen(EntText + "～コピー", 40)); }

void CopyPaste(TDataSentakuBox& Box, bool CopyStep_) {
  if (CopyStep_) CopyStep(Box);
  else PasteStep(Box);
}

bool CheckTargetFolder(TDataSentakuBox& Box, const std::string& Op, const TDataInfomationRec& Source,
                       const std::string& Folder) {
  if (Folder.empty()) {
    ShowSentakuBox(kMsgWarning, Format("%s先のデータパスが不正です。\r", Op), MsgButtons({mbYes}));
    return false;
  }
  if (!ServerFiles().ServerDExist(Folder, ConnectKind)) {
    ServerFiles().ServerMkDir(Folder, ConnectKind);
    return true;
  }
  if (!ServerFiles().ServerFExist(PathJoin(Folder, DataFile), ConnectKind)) return true;
  Box.DataInfo->RefreshIniFile(Folder, "");
  TDataInfomationRec target;
  Box.DataInfo->ReadInfo(Folder, target);
  const std::uint8_t s = Source.GASSANKBN, t = target.GASSANKBN;
  const bool refused = ((s == 0 || s == kGassanChild) && IsCombined(t)) || (s == 1 && t == 2) || (s == 2 && t == 1);
  if (refused) {
    CloseJobProgress(Box);
    TMessageInfoRec info;
    InitMessageInfo(info);
    info.Kind = 1;
    info.Caption = "警告";
    info.TextColor = 255;
    info.Text = Format("%s先の合算データ区分が妥当ではありません。\rデータリストの空行を選んで処理を行って下さい。", Op);
    info.Lines = {"以下のパターンの復元（貼付）は禁止されています。",
                  " ①通常データ       を 合算データ（合算本支店データ） へ",
                  " ②分散データ       を 合算データ（合算本支店データ） へ", " ③合算データ       を 合算本支店データ へ",
                  " ④合算本支店データ を 合算データ へ"};
    ShowMessageBox(info);
    return false;
  }
  const bool ok = CompareDataInfo(Box, Op, Source, target);
  if (ok && Op == "復元") KeepSourceInfo(Box.CopySourceRec, Source);
  return ok;
}

void KeepSourceInfo(TDataListRec& Saved, const TDataInfomationRec& Info) {
  Saved.Shougou = Info.SHOUGOU;
  TDateTime d = 0;
  Saved.Kishu = TryStrToDate(Info.KISHU, d) ? d : 0;
  Saved.Kimatu = TryStrToDate(Info.KIMATU, d) ? d : 0;
  Saved.VerText = Info.VERSION2;
  Saved.Gassan = Info.GASSANKBN;
}

bool CompareDataInfo(TDataSentakuBox& Box, const std::string& Op, const TDataInfomationRec& Source,
                     const TDataInfomationRec& Target) {
  return CompareDataInfo(Box.xAnimeProgressDialog1, Op, Source, Target);
}

bool CompareDataInfo(TxAnimeProgressDialog* Progress, const std::string& Op, const TDataInfomationRec& Source,
                     const TDataInfomationRec& Target) {
  auto empty = [](const TDataInfomationRec& r) { return r.SHOUGOU.empty() && r.KISHU.empty() && r.KIMATU.empty(); };
  if (empty(Source)) {
    ShowSentakuBox(kMsgWarning, Format("%s処理元のデータ情報が不正です。\r", Op), MsgButtons({mbYes}));
    return false;
  }
  if (empty(Target)) {
    ShowSentakuBox(kMsgWarning, Format("%s処理先のデータ情報が不正です。\r", Op), MsgButtons({mbYes}));
    return false;
  }
  std::vector<std::string> lines;
  auto pair = [&](const std::string& title, const std::string& from, const std::string& to, const char* unit) {
    lines.push_back(title);
    lines.push_back(Format("　【%s元】：%s", Op, from) + unit);
    lines.push_back(Format("　【%s先】：%s", Op, to) + unit);
  };
  if (Source.SHOUGOU != Target.SHOUGOU) {
    pair("会社名に違いがありました。", Source.SHOUGOU, Target.SHOUGOU, "");
    if (ConnectKind == 0 && Op == "復元" && IsCombined(Target.GASSANKBN))
      lines.push_back("　注）" + Op + "を続行した場合は配下の分散データは削除されます。");
    lines.push_back("");
  }
  if (Source.KISHU != Target.KISHU) pair("期首に違いがありました。", DateLine(Source.KISHU), DateLine(Target.KISHU), "");
  if (Source.KIMATU != Target.KIMATU) pair("期末に違いがありました。", DateLine(Source.KIMATU), DateLine(Target.KIMATU), "");
  if (Source.TOTALSIWAKE < Target.TOTALSIWAKE) {
    std::string from, to;
    FormatThousands(Source.TOTALSIWAKE, from);
    FormatThousands(Target.TOTALSIWAKE, to);
    pair("仕訳件数(修正・削除仕訳含む)が減っています。", from, to, " 件");
  }
  if (lines.empty()) return true;
  if (Progress && Progress->Running) Progress->Close();
  TMessageInfoRec info;
  InitMessageInfo(info);
  info.Kind = 2;
  info.Caption = "データ照合チェックの結果";
  info.TextColor = 255;
  info.Text = "以下の項目に違いが検出されました。";
  info.Lines = lines;
  info.AgreeCaption = Format("データ%s処理の続行に同意します。", Op);
  return ShowMessageBox(info) == mrOk;
}

void CopyChildRows(TDataSentakuBox& Box, std::int32_t Row) {
  const TDataListRec* t = Box.GetRowRecord(Row);
  if (!t || t->Gassan == kGassanChild) return;
  const auto index = static_cast<std::size_t>(Box.PerfectGrid1->CellNumber(Row, dcIndex));
  if (index >= Box.DataList.size()) return;
  TDataSentakuRec& target = Box.DataList[index];
  if (!IsCombined(target.Row.Gassan) || !IsCombined(Box.CopySourceRec.Gassan) || Box.CopySource < 0 ||
      Box.CopySource >= static_cast<std::int32_t>(Box.DataList.size()))
    return;
  const TDataSentakuRec& source = Box.DataList[static_cast<std::size_t>(Box.CopySource)];
  CopyChildList(source, target, [&Box](TDataListRec& c) {
    c.DataFolder = DataFolderPath(c);
    Box.ListCtl->UpdateDataListChildRecord(c, 1, true);
  });
}

void CopyChildList(const TDataSentakuRec& Source, TDataSentakuRec& Target,
                   const std::function<void(TDataListRec&)>& Write) {
  const std::string from = Source.Row.PasName, to = Target.Row.PasName;
  Target.Children = Source.Children;
  for (TDataListRec& c : Target.Children) {
    c.Rec = Target.Row.Rec;
    if (!from.empty()) {
      std::string p;
      std::size_t pos = 0;
      for (std::size_t at; (at = c.PasName.find(from, pos)) != std::string::npos; pos = at + from.size())
        p += c.PasName.substr(pos, at - pos) + to;
      c.PasName = p + c.PasName.substr(pos);
    }
    Write(c);
  }
  Target.ChildCount = static_cast<std::int32_t>(Target.Children.size());
}

bool NestedFolders(const std::string& A, const std::string& B) {
  const std::string a = ExcludeTrailingDelimiter(A) + "/", b = ExcludeTrailingDelimiter(B) + "/";
  return a.rfind(b, 0) == 0 || b.rfind(a, 0) == 0;
}

bool CopyDataFiles(const std::string& Source, const std::string& Target, bool ChildTarget) {
  if (ChildTarget) return ShellCopyOrMove(PathJoin(Source, DataFile), Target, foCopy);
  return ShellCopyOrMove(Source + "/*", Target, foCopy);
}

void WriteGassanSettings(TDataSentakuBox& Box, std::int32_t Row) {
  const TDataListRec* t = Box.GetRowRecord(Row);
  if (!t) return;
  const std::uint8_t s = Box.CopySourceRec.Gassan, k = t->Gassan;
  int kind = -1, count = 0;
  if (ServerConnection()) {
    kind = 0;
  } else if (s == 0) {
    if (k == kGassanChild) kind = kGassanChild;
  } else if (IsCombined(s)) {
    if (IsCombined(k)) {
      kind = k;
      const auto index = static_cast<std::size_t>(Box.PerfectGrid1->CellNumber(Row, dcIndex));
      count = index < Box.DataList.size() ? Box.DataList[index].ChildCount : 0;
    } else if (k == kGassanChild) {
      kind = kGassanChild;
    }
  } else if (s == kGassanChild) {
    if (k == 0 || IsCombined(k)) kind = 0;
  }
  if (kind < 0) return;
  if (kind == 0 || kind == kGassanChild) count = 0;
  const std::string folder = Box.GetRowDataFolder(Row);
  if (!DataSetConnection().fnAccDatConnected(SystemDef.HostName, folder, false)) return;
  try {
    PutAccReg("基本設定", "合算データ区分", "整数", TVariant(kind));
    PutAccReg("基本設定", "合算データ数", "整数", TVariant(count));
  } catch (...) {
    // the disconnection below also after a failed write
  }
  DataSetConnection().AccDatDisconnect(folder, true, true);
}
