// The data-communication window as a window: its slot grid, key buttons and
// hint, the slot-table check that precedes a choice, the area choice of the
// cloud share (operations 25 and 26) and the keys.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>

#include "comm/cloudshare.h"
#include "comm/filestore.h"
#include "comm/tusindispatch.h"
#include "comm/tusinsettei.h"
#include "comm/waitmess.h"
#include "core/datetext.h"
#include "core/settings.h"
#include "dbaccess/datasetconnection.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/dpi.h"
#include "platform/vcl/keys.h"
#include "platform/vcl/perfectgrid.h"
#include "ui/htmlhelp.h"
#include "ui/plbutton.h"

namespace {

constexpr int kRunning = static_cast<int>(TWaitStep::Running);
constexpr int kFinished = static_cast<int>(TWaitStep::Finished);
constexpr int kPending = static_cast<int>(TWaitStep::Pending);

struct TColumn {
  const char* Title;
  int Width;
};
const TColumn kRelayColumns[] = {{"No.", 40},       {"データ名", 300}, {"会計年度", 80}, {"会計期間", 180},
                                 {"送信日時", 134}, {"受信日時", 134}, {"バージョン", 85}, {"", 0}};
const TColumn kCloudColumns[] = {{"No.", 40},          {"状況", 75},          {"データ名", 266},
                                 {"年度", 53},         {"会計期間", 175},     {"使用開始日時", 128},
                                 {"最終更新日時", 128}, {"バージョン", 85}};

bool AreaChoice(std::int32_t code) { return code == opCloudSelectArea || code == opCloudSelectNextYearArea; }

std::string Trimmed(const std::string& s) { return QString::fromStdString(s).trimmed().toStdString(); }

}  // namespace

std::string VersionDisplayText(int Major, int Minor) {
  if (Major == 11 && Minor == 1) return "19消改版";
  if (Major == 6 && Minor == 1) return "14消改版";
  if (Minor != 0) return std::to_string(Major) + "." + std::to_string(Minor);
  if (Major == 1) return "09版";
  if (Major == 2) return "10版";
  return std::to_string(Major + 8) + "版";
}

std::string SlotDateText(TDateTime Date) {
  std::string text;
  if (SystemDef.WarekiDisplay == 1)
    FormatDateSlash("yy/mm/dd", 2, text, Date);
  else
    text = FormatDateTime("yyyy/mm/dd", Date);
  return text;
}

std::string SlotVersionText(const std::string& Version) {
  if (Version.size() < 4) return "";
  return VersionDisplayText(StrToIntDef(Version.substr(0, 2), 0), StrToIntDef(Version.substr(Version.size() - 2), 0));
}

void TfmDataTusin::BuildWindow() {
  resize(Px(990), Px(470));
  Label1 = new QLabel("中継サーバー情報", this);
  Label1->setObjectName("Label1");
  Label1->setGeometry(Px(12), Px(8), Px(300), Px(20));
  PerfectGrid1 = new TPerfectGrid(this);
  PerfectGrid1->setObjectName("PerfectGrid1");
  PerfectGrid1->setGeometry(Px(12), Px(30), Px(966), Px(250));
  PerfectGrid1->SetFixedLefts(0);
  PerfectGrid1->SetCols(8);
  for (int c = 0; c < 8; ++c) {
    PerfectGrid1->SetColumnHeader(c, c == 6 ? "" : kRelayColumns[c].Title);
    PerfectGrid1->SetColumnWidth(c, c == 7 ? 0 : kRelayColumns[c].Width);
  }
  PerfectGrid1->SetColumnHeader(7, "バージョン");
  PerfectGrid1->SetColumnWidth(6, 85);
  ColorPerfectGrid(PerfectGrid1, 0);
  PerfectGrid1->OnCellGotFocus = [this](int r, int c) { PerfectGrid1CellGotFocus(r, c); };
  PerfectGrid1->OnCellLostFocus = [this](int r, int c) { PerfectGrid1CellLostFocus(r, c); };

  HintArea = new QPlainTextEdit(this);
  HintArea->setObjectName("HintArea");
  HintArea->setReadOnly(true);
  HintArea->setGeometry(Px(12), Px(290), Px(966), Px(110));
  HintMemo = HintArea;

  const int y = 420;
  ESC = NewPlButton(this, "ESC", "ESC:ｷｬﾝｾﾙ", 12, y, 86, 30);
  F1 = NewPlButton(this, "F1", "F1:ヘルプ", 104, y, 86, 30);
  F2 = NewPlButton(this, "F2", "F2:", 196, y, 86, 30);
  F3 = NewPlButton(this, "F3", "F3:", 288, y, 86, 30);
  F4 = NewPlButton(this, "F4", "F4:", 380, y, 86, 30);
  F5 = NewPlButton(this, "F5", "F5:ﾃﾞｰﾀ削除", 472, y, 86, 30);
  F6 = NewPlButton(this, "F6", "F6:", 564, y, 86, 30);
  F7 = NewPlButton(this, "F7", "F7:", 656, y, 86, 30);
  F8 = NewPlButton(this, "F8", "F8:", 748, y, 86, 30);
  F12 = NewPlButton(this, "F12", "F12:実  行", 892, y, 86, 30);
  F6->hide();
  F7->hide();
  F8->hide();
  ESC->OnClick = [this](QObject*) { ESCClick(); };
  for (TxPlButton* b : {F1, F2, F3, F4, F5, F6, F7, F8, F12}) b->OnClick = [this, b](QObject*) { F1Click(b); };
}

int TfmDataTusin::FocusedSlot() const {
  const int row = PerfectGrid1->Row();
  return row >= 1 && row <= PerfectGrid1->Rows() ? row - 1 : -1;
}

void TfmDataTusin::SetKeyCaptions() {
  const bool area = AreaChoice(State.SyoriType);
  ESC->setText("ESC:ｷｬﾝｾﾙ");
  F1->setText("F1:ヘルプ");
  F2->setText("F2:");
  F3->setText("F3:");
  F6->setText("F6:");
  F7->setText("F7:");
  F8->setText("F8:");
  F4->setText(area ? "F4: 解除" : "F4:");
  F5->setText(area ? "F5: 削除" : "F5:ﾃﾞｰﾀ削除");
  F12->setText(area ? "F12: 選択" : "F12:実  行");
}

void TfmDataTusin::PrepareShow(std::uint8_t Flag) {
  ShowFlag = Flag;
  if (State.SyoriType == opRelayReceive) NotifyMenu = false;
  if (State.SyoriType != opRelaySend && State.SyoriType != opRelayReceive && State.SyoriType != opCloudSelectArea)
    FillSlotGrid();
  FirstPlacement = false;
}

std::int32_t TfmDataTusin::ExecuteCloudShareCheck() {
  std::int32_t code = State.SyoriType;
  if (code != opRelaySend && code != opRelayReceive && !AreaChoice(code)) return 0;
  QApplication::restoreOverrideCursor();
  State.WorkFileName = code >= opCloudReceive ? kCloudWorkFile : DataBackupFile;
  if (AppKind == 2 && code < opCloudSelectArea) State.SyoriType = code = opRelayReceive;
  if (code != opAutoSend && MenuRequestProc && MenuRequestProc(10, "") > 0) {
    ShowNotice(TCommNotice::WarningOk("　\r\n現在メニュー以外の画面を表示中なので、" + ProcessName + "処理は行えません。\r\n "));
    return -1;
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool cloud = AreaChoice(code);
  const std::string info = cloud ? "クラウドシェア情報確認" : "中継サーバー情報確認";
  ShowWaitMess(194);
  waitMess_->CheckBox1->hide();
  waitMess_->CheckBox4->hide();
  waitMess_->CheckBox5->hide();
  SetWaitStep(2, "認証チェック　実行中", kRunning);
  SetWaitStep(3, info, kPending);
  Pause();
  if (code == opRelaySend || code == opRelayReceive) setWindowTitle(QString::fromStdString(OperationCaption(code, AppKind)));

  std::int32_t result = -1;
  bool go = true;
  if (cloud) {
    if (DataSetConnection().AccDatInConnection(1, SystemDef.HostName, State.DataFolder, false)) {
      FreeWaitMess();
      ShowNotice(TCommNotice::WarningOk("このデータは他のオペレータが使用中です。 "));
      go = false;
    }
  } else if (DataSetConnection().AccDatInConnection(1, SystemDef.HostName, SystemDef.DataDir, false)) {
    FreeWaitMess();
    if (!AskYesNo("　\r\nこのデータは他のオペレータが使用中です。" + windowTitle().toStdString() + "を開始しますか？\r\n ")) {
      F5->setEnabled(false);
      F12->setEnabled(false);
      go = false;
    }
  }
  if (go) {
    if (!waitMess_) {
      ShowWaitMess(194);
      waitMess_->CheckBox1->hide();
      waitMess_->CheckBox4->hide();
      waitMess_->CheckBox5->hide();
    }
    SetWaitStep(2, "認証チェック　終了", kFinished);
    SetWaitStep(3, info + "　実行中", kRunning);
    Pause();
    if (!FetchSlotTable()) result = 0;
  } else {
    result = 0;
  }
  FreeWaitMess();
  QApplication::restoreOverrideCursor();
  FillSlotGrid();
  return result;
}

void TfmDataTusin::FillSlotGrid() {
  const std::int32_t code = State.SyoriType;
  if (GetDataListRecord() == 0) return;
  const bool cloud = AreaChoice(code);
  if (code == opRelaySend || code == opRelayReceive || cloud) {
    PerfectGrid1->ClearRows();
    PerfectGrid1->SetRows(10);
    const TColumn* columns = cloud ? kCloudColumns : kRelayColumns;
    for (int c = 0; c < 8; ++c) {
      PerfectGrid1->SetColumnHeader(c, columns[c].Title);
      PerfectGrid1->SetColumnWidth(c, columns[c].Width);
    }
    for (int r = 1; r <= 10; ++r) PerfectGrid1->SetCellText(r, 0, std::to_string(r));
  } else if (code == opServerCheck) {
    PerfectGrid1->ClearRows();
    PerfectGrid1->SetRows(3);
    for (int c = 0; c < 8; ++c) {
      PerfectGrid1->SetColumnHeader(c, c == 0 ? "処理" : kRelayColumns[c].Title);
      PerfectGrid1->SetColumnWidth(c, c == 0 ? 55 : c == 1 ? 285 : kRelayColumns[c].Width);
    }
    const char* titles[] = {"受信", "送信", "全送信"};
    for (int r = 1; r <= 3; ++r) PerfectGrid1->SetCellText(r, 0, titles[r - 1]);
  }

  switch (code) {
    case opRelaySend:
      setWindowTitle("データ送信");
      HintArea->setPlainText(
          "［F12］を押すと現在利用中のデータが中継先サーバーの選択したフォルダに送信されます。\n\n"
          "［F5］を押すと中継先サーバーのデータが削除されます。");
      break;
    case opRelayReceive:
      setWindowTitle("データ受信");
      HintArea->setPlainText(
          "［F12］を押すと選択したデータを受信して、現在利用中のデータに上書きします。\n\n"
          "［F5］を押すと中継先サーバーのデータが削除されます。");
      break;
    case opServerCheck:
      setWindowTitle("サーバー確認");
      F12->hide();
      HintArea->setPlainText(
          "１行目は現金出納帳から送信されたデータです。　　　２行目はコルベクス財務が送信したデータです。\n"
          "３行目はコルベクス財務が送信したマスターデータです。\n\n"
          "［F5］を押すと中継先サーバーのデータが削除されます。");
      break;
    case opCloudSelectArea:
    case opCloudSelectNextYearArea:
      setWindowTitle("クラウドシェア領域を選択");
      if (AppKind == 2) {
        F4->setEnabled(false);
        F5->setEnabled(false);
        HintArea->setPlainText("どの行でクラウドシェアするかを選んで［F12：選択］を押します。");
      } else {
        HintArea->setPlainText(
            "どの行でクラウドシェアするかを選んで［F12：選択］を押します。\n"
            "これからクラウドシェアを始める場合は空白行を、クラウドシェアがスタートしている場合は該当行を選択します。\n"
            "［F4：解除］は誰も使用してない筈なのに「使用中」のままになってしまった場合に使用します。\n"
            "［F5：削除］は既にクラウドシェアを止めたデータがリストに残っている場合に使用します。");
      }
      break;
    default:
      break;
  }

  const auto& table = Member.SlotTable.Slots;
  if (code == opRelaySend || code == opRelayReceive || code == opServerCheck) {
    const int count = code == opServerCheck ? 3 : 10;
    for (int i = 0; i < count; ++i) {
      const TSlotEntry& e = table[static_cast<std::size_t>(i)];
      if (Trimmed(e.CompanyName).empty()) continue;
      const int r = i + 1;
      PerfectGrid1->SetCellText(r, 1, e.CompanyName);
      PerfectGrid1->SetCellText(r, 2, e.Nendo + "期");
      PerfectGrid1->SetCellText(r, 3, e.KishuDisplay.substr(0, 10) + " ～ " + e.KimatuDisplay.substr(0, 10));
      PerfectGrid1->SetCellText(r, 4, e.SendTimeDisplay);
      PerfectGrid1->SetCellText(r, 5, e.ReceiveTimeDisplay);
      PerfectGrid1->SetCellText(r, 6, SlotVersionText(e.Version));
    }
    return;
  }
  if (!AreaChoice(code)) return;
  const std::int32_t own = AccInf.CLOUD_LINE;
  OwnAreaName = own >= 1 && own <= 10 ? Trimmed(table[static_cast<std::size_t>(own - 1)].CompanyName) : "";
  for (int i = 0; i < 10; ++i) {
    const TSlotEntry& e = table[static_cast<std::size_t>(i)];
    if (Trimmed(e.CompanyName).empty()) continue;
    const int r = i + 1;
    if (e.UseState != "1" && e.UseState != "2") continue;  // status left empty
    const bool inUse = e.UseState == "2";
    PerfectGrid1->SetCellText(r, 1, inUse ? "使用中" : "未使用");
    PerfectGrid1->SetCellText(r, 2, e.CompanyName);
    PerfectGrid1->SetCellText(r, 3, e.Nendo + "期");
    PerfectGrid1->SetCellText(r, 4, e.KishuDisplay.substr(0, 10) + " ～ " + e.KimatuDisplay.substr(0, 10));
    PerfectGrid1->SetCellText(r, 5, inUse ? e.ReceiveTimeDisplay : "-");
    PerfectGrid1->SetCellText(r, 6, inUse ? "-" : e.SendTimeDisplay);
    PerfectGrid1->SetCellText(r, 7, SlotVersionText(e.Version));
  }
  PerfectGrid1->SetRow(own >= 1 && own <= 10 ? own : 1);
}

void TfmDataTusin::PerfectGrid1CellGotFocus(int Row, int /*Col*/) {
  PerfectGrid1->SetRowFont(Row, font());
  if (State.SyoriType >= opCloudSend && Row >= 1 && Row <= 10 && AppKind != 2) {
    const std::string& mark = Member.SlotTable.Slots[static_cast<std::size_t>(Row - 1)].UseState;
    const bool named = !Trimmed(PerfectGrid1->CellText(Row, 2)).empty();
    F5->setEnabled(named && mark == "1");
    F4->setEnabled(named && mark == "2");
  }
  SetKeyCaptions();
}

void TfmDataTusin::PerfectGrid1CellLostFocus(int Row, int /*Col*/) { PerfectGrid1->SetRowFont(Row, font()); }

void TfmDataTusin::FormActivate() {
  TBSDI::FormActivate();
  if (PerfectGrid1->isEnabled()) PerfectGrid1->setFocus();
  const std::int32_t code = State.SyoriType;
  if ((code == opRelaySend || code == opRelayReceive || code == opCloudSelectArea) && CheckOnActivate) {
    CheckOnActivate = false;
    ExecuteCloudShareCheck();
  }
  if (PerfectGrid1->Rows() == 0) {
    F12->setEnabled(false);
    F5->setEnabled(false);
  }
  QApplication::restoreOverrideCursor();
}

void TfmDataTusin::FormKeyUp(Word& key, Qt::KeyboardModifiers shift) {
  TxPlButton* button = nullptr;
  switch (key) {
    case VK_ESCAPE: ESCClick(); key = 0; break;
    case VK_F1: button = F1; break;
    case VK_F1 + 1: button = F2; break;
    case VK_F1 + 2: button = F3; break;
    case VK_F4: button = F4; break;
    case VK_F1 + 4: button = F5; break;
    case VK_F1 + 5: button = F6; break;
    case VK_F1 + 6: button = F7; break;
    case VK_F1 + 7: button = F8; break;
    case VK_F12: button = F12; break;
    default: break;
  }
  if (button) {
    if (button->isVisible() && button->isEnabled()) F1Click(button);
    key = 0;
  }
  TBSDI::FormKeyUp(key, shift);
}

void TfmDataTusin::ESCClick() {
  if (ESC->text() != "ESC:") done(mrCancel);
}

void TfmDataTusin::FormClose(TCloseAction& action) {
  FormCloseQuery();
  TBSDI::FormClose(action);
  if (NoRight) DisconnectData();
  action = caHide;
}

void TfmDataTusin::F1Click(TxPlButton* Button) {
  const std::int32_t code = State.SyoriType;
  if (Button == F1) {
    if (F1->text() != "F1:") OpenHtmlHelp(HelpPage);
  } else if (Button == F4) {
    if (code >= opCloudSend) ReleaseFocusedArea();
  } else if (Button == F5) {
    if (code == opRelaySend || code == opRelayReceive || AreaChoice(code))
      DeleteSlotData();
    else
      DeleteCashBookSlots(FocusedSlot());
  } else if (Button == F12) {
    if (code == opServerCheck) {
      // nothing to run
    } else if (AreaChoice(code)) {
      ChooseArea();
    } else {
      const bool send = code == opRelaySend;
      ChosenRow = FocusedSlot();
      try {
        if ((send ? SendData() : ReceiveData())) {
          SetKeyCaptions();
          return;
        }
      } catch (const std::exception& e) {
        ShowNotice(TCommNotice::ErrorOk(
            ExceptionErrorText(send ? "送信処理中にエラーになりました。\r\n" : "受信処理中にエラーになりました。\r\n", e)));
        setEnabled(true);
        FileStore.reset();
        if (!send) {
          F12->setEnabled(true);
          F5->setEnabled(true);
        }
      }
      done(mrOk);
      return;
    }
  }
  SetKeyCaptions();
}

void TfmDataTusin::ChooseArea() {
  const int slot = FocusedSlot();
  if (slot < 0) return;
  const std::string name = Trimmed(PerfectGrid1->CellText(slot + 1, 2));
  const std::string status = PerfectGrid1->CellText(slot + 1, 1);
  if (!name.empty() && Member.SlotTable.Slots[static_cast<std::size_t>(slot)].Password != AccInf.PASWORD) {
    ShowNotice(TCommNotice::WarningOk("クラウド領域のデータと現在選択中のデータのパスワードが一致しません。"));
    return;
  }
  if (State.SyoriType == opCloudSelectNextYearArea) {
    if (!name.empty()) {
      ShowNotice(TCommNotice::InformationOk("翌年度更新処理中の場合は、空白行を選択してください。"));
      return;
    }
  } else if (name.empty()) {
    if (AppKind == 2) {
      ShowNotice(TCommNotice::InformationOk("経営テサリーでは空白行は選択できません。"));
      return;
    }
    ShowNotice(TCommNotice::InformationOk("お手元のデータをアップロードしてクラウドシェアを開始します。"));
  }
  ChosenCompany = name;
  ChosenStatus = status;
  ChosenArea = slot + 1;
  Chosen = true;
  done(mrOk);
}

std::int32_t TfmDataTusin::CloudShareSelectArea(const std::string& Folder) {
  State.SyoriType = opCloudSelectArea;
  State.DataFolder = Folder;
  State.Auto = false;
  State.WorkFileName = kCloudWorkFile;
  Chosen = false;
  ChosenArea = 0;
  ChosenCompany.clear();
  ChosenStatus.clear();
  HelpPage = "cloudshare_sel.html";
  SetKeyCaptions();
  try {
    ExecuteCloudShareCheck();
    if (PerfectGrid1->Rows() == 0) {
      F12->setEnabled(false);
      F5->setEnabled(false);
    }
    ShowModal();
  } catch (const std::exception& e) {
    ShowNotice(TCommNotice::ErrorOk(ExceptionErrorText("クラウドシェアデータ処理中にエラーになりました。\r\n", e)));
  }
  while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
  return 0;
}

std::int32_t TfmDataTusin::CloudShareSelectNextYearArea(const std::string& Folder) {
  State.SyoriType = opCloudSelectNextYearArea;
  State.DataFolder = Folder;
  State.Auto = false;
  State.WorkFileName = kCloudWorkFile;
  Chosen = false;
  ChosenArea = 0;
  ChosenCompany.clear();
  ChosenStatus.clear();
  HelpPage = "cloudshare_sel.html";
  SetKeyCaptions();
  try {
    if (ExecuteCloudShareCheck() == 0) {
      while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
      return 1;
    }
    ShowModal();
  } catch (const std::exception& e) {
    ShowNotice(TCommNotice::ErrorOk(ExceptionErrorText("クラウドシェアデータ処理中にエラーになりました。\r\n", e)));
  }
  while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
  return 0;
}

namespace {

bool EraOn() { return SystemDef.WarekiDisplay == 1; }

// A report's time "YYYYMMDDhhmm..." as the grid shows it.
std::string ReportTimeText(const std::string& v) {
  if (v.size() < 12) return v;
  const std::string date = v.substr(0, 4) + "/" + v.substr(4, 2) + "/" + v.substr(6, 2);
  const std::string time = v.substr(8, 2) + ":" + v.substr(10, 2);
  if (!EraOn()) return date + " " + time;
  std::string text;
  FormatDateSlash("yy/mm/dd", 2, text, StrToDateFixed(date));
  return text + " " + time;
}

}  // namespace

void TfmDataTusin::ShowSentRow(int Row, const std::string& SendTime) {
  if (Row < 0 || Row >= PerfectGrid1->Rows()) return;
  const int r = Row + 1;
  PerfectGrid1->SetCellText(r, 1, AccInf.ENTTEXT);
  PerfectGrid1->SetCellText(r, 2, std::to_string(AccInf.NENDO) + "期");
  PerfectGrid1->SetCellText(r, 3, SlotDateText(AccInf.KISHU) + " ～ " + SlotDateText(AccInf.KIMATU));
  PerfectGrid1->SetCellText(r, 4, ReportTimeText(SendTime));
  PerfectGrid1->SetCellText(r, 5, "-");
  PerfectGrid1->SetCellText(r, 6, VersionDisplayText(SendDataVersion.Major, SendDataVersion.Minor));
}

void TfmDataTusin::ShowReceivedRow(int Row, const std::string& ReceiveTime) {
  if (Row < 0 || Row >= PerfectGrid1->Rows()) return;
  PerfectGrid1->SetCellText(Row + 1, 5, ReportTimeText(ReceiveTime));
}
