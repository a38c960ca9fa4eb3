// The cloud-share entry points: check-in (send), check-out (receive), receive
// into the work folder and release of the area's in-use mark.
#include <QApplication>

#include "comm/cloudshare.h"
#include "comm/filestore.h"
#include "comm/waitmess.h"
#include "dbaccess/datasetconnection.h"
#include "platform/rtl/datetime.h"

namespace {

constexpr const char* kSendError = "クラウドシェアデータ送信処理中にエラーになりました。\r\n";
constexpr const char* kReceiveError = "クラウドシェアデータ受信処理中にエラーになりました。\r\n";

// Resets the screen cursor at every ending of an entry.
struct TCursorReset {
  ~TCursorReset() {
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
  }
};

}  // namespace

std::int32_t TfmDataTusin::CloudShareSend(const std::string& Folder, const std::string& Text, std::int32_t Auto) {
  TCursorReset cursor;
  State.SyoriType = opCloudSend;
  if (Folder.empty()) return 1;
  State.DataFolder = Folder;
  State.WaitCaption = Text;
  State.WorkFileName = kCloudWorkFile;
  State.Auto = Auto != 0;
  std::int32_t result = 1;
  // The entries never act on a data set that did not connect: the company
  // information would still be that of an earlier data set.
  if (ConnectData()) {
    if (!Records.ReadVersionOrClearCloudLine(true)) {
      ShowNotice(TCommNotice::WarningOk("データバージョンが取得できません。"));
    } else if (AccInf.CLOUD_LINE == 0) {
      ShowNotice(TCommNotice::WarningOk("クラウドシェア領域が選択されていません。"));
    } else {
      try {
        if (FetchSlotTable() && !SendData()) result = 0;
      } catch (const std::exception& e) {
        ShowNotice(TCommNotice::ErrorOk(ExceptionErrorText(kSendError, e)));
        FileStore.reset();
      }
    }
  }
  DisconnectData();
  return result;
}

std::int32_t TfmDataTusin::CloudShareReceive(const std::string& Folder, std::int32_t Auto, std::int32_t InUseQuiet) {
  return ReceiveEntry(Folder, Auto, InUseQuiet, false);
}

std::int32_t TfmDataTusin::CloudShareReceiveToWork(const std::string& Folder, std::int32_t Auto) {
  return ReceiveEntry(Folder, Auto, 0, true);
}

std::int32_t TfmDataTusin::ReceiveEntry(const std::string& Folder, std::int32_t Auto, std::int32_t InUseQuiet,
                                        bool ToWork) {
  TCursorReset cursor;
  State.SyoriType = ToWork ? opCloudReceiveToWork : opCloudReceive;
  AttachedElsewhere = false;
  if (ToWork) ShowWaitMess2();
  if (Folder.empty()) {
    FreeWaitMess2();
    return 1;
  }
  if (!ToWork) ShowWaitMess2();
  State.DataFolder = Folder;
  State.WorkFileName = kCloudWorkFile;
  if (ToWork) State.ReceiveFolder = SystemDef.TempDir + "/receive";
  std::int32_t result = 1;
  try {
    bool go = true;
    if (!ToWork && ConnectKind != 0 && DataSetConnection().AccDatInConnection(1, SystemDef.HostName, Folder, false)) {
      if (InUseQuiet == 0) {
        ShowNotice(TCommNotice::InformationOk("このデータは他のオペレータが使用中です。 "));
        go = false;
      } else {
        AttachedElsewhere = true;
      }
    }
    if (go) {
      State.Auto = Auto != 0;
      go = ConnectData() && FetchSlotTable();
    }
    const int area = AccInf.CLOUD_LINE;
    const TSlotEntry* slot = area >= 1 && area <= 10 ? &Member.SlotTable.Slots[static_cast<std::size_t>(area - 1)] : nullptr;
    if (go && !ToWork) {
      if (!slot) {
        ShowNotice(TCommNotice::InformationOk("クラウド領域を選択していません。"));
        go = false;
      } else if (slot->CompanyName.empty()) {
        ShowNotice(TCommNotice::InformationOk("設定された領域にはデータがありません。 "));
        go = false;
      }
    }
    if (go && waitMess2_)
      TfmWaitMessBase::SetStep(waitMess2_->CheckBox1, "クラウドシェア認証チェック　終了", TWaitStep::Finished);
    if (go && ToWork) {
      if (slot && slot->UseState == "2") {
        ShowNotice(TCommNotice::InformationOk("現在使用中のため選択できません。 "));
      } else if (slot) {
        FreeWaitMess2();
        if (!ReceiveData()) result = 0;
      }
    } else if (go) {
      const bool inUse = slot->UseState == "2";
      const std::string& t = slot->LastUpdateText;
      TDateTime slotTime = 0;
      const bool usable = t.size() >= 10 && t.compare(0, 4, "0000") != 0 && TimeTextToDateTime(t, slotTime);
      if (usable && slotTime == AccInf.CLOUD_TIME) {
        // The local data is the current copy: only the completion report.
        TCommNotice notice;
        if (Member.FinishCloudReceive(CommId(), area, [this](TDateTime v) { return Records.WriteCloudTime(v); },
                                      notice)) {
          AccInf.CLOUD_TIME = Member.LastUpdate;
          result = InUseQuiet == 0 ? 0 : AttachedElsewhere ? 6 : inUse ? 5 : 0;
        } else {
          ShowNotice(notice);
        }
      } else if (inUse && InUseQuiet == 0) {
        ShowNotice(TCommNotice::InformationOk("現在使用中のため選択できません。 "));
      } else if (InUseQuiet != 0 && AttachedElsewhere) {
        result = 6;
      } else {
        FreeWaitMess2();
        if (!ReceiveData()) result = InUseQuiet != 0 && inUse ? 5 : 0;
      }
    }
  } catch (const std::exception& e) {
    ShowNotice(TCommNotice::ErrorOk(ExceptionErrorText(kReceiveError, e)));
    FileStore.reset();
    result = 1;
  }
  FreeWaitMess2();
  DisconnectData();
  return result;
}

std::int32_t TfmDataTusin::CloudShareRelease(const std::string& Folder) {
  TCursorReset cursor;
  State.SyoriType = opCloudRelease;
  if (Folder.empty()) return 1;
  State.DataFolder = Folder;
  State.WorkFileName = kCloudWorkFile;
  if (AccInf.CLOUD_LINE == 0) {
    ShowNotice(TCommNotice::WarningOk("クラウドシェア領域が設定されていません。"));
    return 1;
  }
  if (AppKind == 2) return 1;
  return ReleaseArea(AccInf.CLOUD_LINE) ? 0 : 1;
}
