#include "dataselect/datasentakuprintdlg.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "dataselect/datalistprint.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/hint.h"
#include "report/engine.h"

namespace {

constexpr const char* kListHint =
    "［OK］を押すとﾃﾞｰﾀ選択ﾘｽﾄの印刷を実行します。印刷ｲﾒｰｼﾞを確認する場合は［ﾌﾟﾚﾋﾞｭｰ］を押します。|"
    "［OK］を押すとﾃﾞｰﾀ選択ﾘｽﾄの印刷を実行します。印刷ｲﾒｰｼﾞを確認する場合は［ﾌﾟﾚﾋﾞｭｰ］を押します。";

}  // namespace

TDataSentakuPrintDlg::TDataSentakuPrintDlg(QWidget* owner) : TPrintDlgBox(owner, "DataSentakuPrintDlg") {
  auto* label = new QLabel("用紙向き:", this);
  label->setGeometry(16, 100, 70, 22);
  auto* group = new QGroupBox(this);
  group->setGeometry(90, 92, 160, 36);
  btnYousiTate = new QRadioButton("縦", group);
  btnYousiTate->setObjectName("btnYousiTate");
  btnYousiTate->setGeometry(8, 8, 60, 22);
  btnYousiTate->setChecked(true);
  btnYousiYoko = new QRadioButton("横", group);
  btnYousiYoko->setObjectName("btnYousiYoko");
  btnYousiYoko->setGeometry(80, 8, 60, 22);
}

void TDataSentakuPrintDlg::InitDialog(std::uint8_t mode) {
  ShowColor = false;
  ShowStartPage = false;
  ShowBothSides = false;
  TPrintDlgBox::InitDialog(mode);
}

int TDataSentakuPrintDlg::ApplyOptions() {
  PerOperator = true;
  const int result = TPrintDlgBox::ApplyOptions();
  Orientation = 0;
  btnYousiTate->setChecked(true);
  SaveRestoreSettings("Fukugen");
  return result;
}

void TDataSentakuPrintDlg::LoadHints() {
  TPrintDlgBox::LoadHints();
  const std::string orientation =
      "印刷帳票の用紙の向きを選択します。|印刷帳票の用紙の向きを選択します。\r\n"
      "[横]を選択したときに限り、帳票上にコード情報を出力します。";
  SetHint(btnYousiTate, orientation);
  SetHint(btnYousiYoko, orientation);
  for (QPushButton* b : {btnPreview, btnOK, btnCancel}) SetHint(b, "|[ﾌﾟﾚﾋﾞｭｰ]ﾎﾞﾀﾝを押すと画面上に印刷ｲﾒｰｼﾞを出力します。");
}

void TDataSentakuPrintDlg::OkClick(int result) {
  Orientation = btnYousiYoko->isChecked() ? 1 : 0;
  TPrintDlgBox::OkClick(result);
}

void TDataSentakuPrintDlg::SaveRestoreSettings(const std::string& name) {
  const std::string which = UpperCase(name);
  if (which == "HOZON") {
    TPrintDlgBox::SaveRestoreSettings(name);
    ScreenValue.clear();
    Settings.push_back(Format("P010=%d", Orientation));
    std::string text;
    for (const auto& line : Settings) text += line + "\r\n";
    if (PrintRec) PrintRec->Extra = text;
    ScreenValue = text;
    HozonGamenValue();
  } else if (which == "FUKUGEN") {
    TPrintDlgBox::SaveRestoreSettings(name);
    FukugenGamenValue();
    std::string value;
    for (std::string line : SplitString(ScreenValue, '\n')) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.rfind("P010=", 0) == 0) value = line.substr(5);
    }
    Orientation = StrToIntDef(Trim(value), 0);
    btnYousiTate->setChecked(true);
    if (Orientation == 1) btnYousiYoko->setChecked(true);
  }
}

std::int32_t RunDataListPrint(QWidget* owner, const TDataListPrintJob& job) {
  TDataSentakuPrintDlg dialog(owner);
  TDefaultPrintRec rec;
  InitDefaultPrintRec(rec);
  rec.Title = "DataSentakuList";
  dialog.PrintRec = &rec;
  dialog.CaptionText = job.Caption;
  dialog.MessageText = job.Message;
  dialog.MessageColor = clWindowText;
  dialog.HintText = kListHint;
  dialog.ShowPreview = true;
  dialog.InitDialog(0);
  if (dialog.ShowModal() != mrOk || (dialog.Result != 1 && dialog.Result != 2)) return 0;
  StartQuillboxEngine();  // once per program; the first print starts it
  TPrDataList list;
  list.PrintSettings = rec;
  list.ListKind = job.ListKind;
  if (job.Rows) list.Rows = *job.Rows;
  if (job.DispIndex) list.DispIndex = *job.DispIndex;
  list.Orientation = dialog.Orientation;
  list.PrintList(dialog.Result == 1 ? 1 : 0);
  return 1;
}
