// The wizard's pages: their set-up, the checks made when the user moves on,
// the summary, and the export run with its results and close codes.
#include <QApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <system_error>

#include "core/dates.h"
#include "core/datetext.h"
#include "core/globals.h"
#include "dbaccess/datasetconnection.h"
#include "link/exportobject.h"
#include "link/exportsetup.h"
#include "link/mainwindow.h"
#include "link/wizard.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/responder.h"
#include "platform/win/paths.h"
#include "ui/kikanpanel.h"
#include "ui/plbutton.h"
#include "ui/progressdialog.h"

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

constexpr int kPanelCellMonth[16] = {1, 2, 3, 3, 4, 5, 6, 6, 7, 8, 9, 9, 10, 11, 12, 12};
constexpr int kPanelCellIsQuarter[16] = {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1};

int CellMonth(int cell) { return kPanelCellMonth[std::clamp(cell, 0, 15)]; }
bool IsQuarter(int cell) { return cell >= 0 && cell < 16 && kPanelCellIsQuarter[cell] == 1; }

// A text of the program's own: it holds Japanese. Texts of libraries (all
// ASCII) are not shown to the user.
bool IsJapaneseText(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

std::string UnexpectedErrorText(const std::string& file) {
  return Format("「%s」の作成中に予期しないエラーが発生しました。", file);
}

std::string Kanji(const std::string& layout, TDateTime date) {
  std::string text;
  FormatDateKanji(layout, 1, text, date);
  return text;
}

}  // namespace

void TForm1::SetUpPages() {
  const std::string& program = FExport->ProgramName;
  const std::string& target = FExport->TargetName;
  if (args_.empty()) {
    Memo1a->setPlainText(Q(Format("『%s』から『%s』へデータを連動させるための", program, target) + "\n中間ファイルを作成します。"));
    if (Label4a) Label4a->setText(Q(Format("連動先となる『%s』で使用する中間ファイルを指定します。", target)));
  } else {
    Memo1a->setPlainText(Q(Format("『%s』から『%s』へデータの連動を行います。", program, target)));
  }
  Memo1b->setPlainText(Q(Format("『%s』が起動している場合は終了してください。", program) +
                         "\n\n\n\n\n\n作成を始めるには[次へ]をクリックしてください。"));
  Label2a->setText(Q("連動元となる対象データを「データ選択を開く」ボタンを押して指定します。"));

  const std::string& prefix = FExport->GyoumuPrefix;
  for (const char* name : {"page6", "page7", "page8"}) Wizard1->DeletePage(name);
  if (prefix != "HJ" && prefix != "RC") Wizard1->DeletePage("page9");
  if (prefix == "HJ_G" || prefix == "ST_G" || prefix == "RC_G") Wizard1->DeletePage("page3");
  if (prefix != "UG_G") Wizard1->DeletePage("page10");
  if (prefix == "SY") {
    xKikanPanel3a->SetKikanMove(true);
    GroupBox3b->hide();
  }
  if (Edit4a) Edit4a->setText(Q(FExport->ExportFile));
  Wizard1->SetPageIndex(0);
  Button2->setText(Q(Wizard1->NextButtonCap));
}

void TForm1::Wizard1PageChanged() {
  if (Wizard1->ActivePage() == "page2" && DataInfoRowCount() == 1) btnDataSentaku->setFocus();
}

bool TForm1::CheckDataPage() {
  if (SystemDef.DataDir.empty() || DataInfoRowCount() == 1) {
    ShowTextBox(kMsgWarning, "会計データの選択が行われていません。\r「データ選択を開く」ボタンを押して選択して下さい。",
                MsgButtons({mbOK}));
    btnDataSentaku->setFocus();
    return false;
  }
  if (Wizard1->HasPage("page3")) {
    xKikanPanel3a->SetKikan(AccInf.SIME, AccInf.KISHU, AccInf.KIMATU, AccInf.KAISI);
    xKikanPanel3a->SetStno(AccInf.KaisiCell);
    xKikanPanel3a->SetEdno(AccInf.KimatuCell);
    if (DataSetConnection().TaxDefUHForCalc(AccInf.TAXDEFUH, 0, 0) == 0) RadioButton3a->setChecked(true);
    else RadioButton3b->setChecked(true);
  }
  TakeDataSetIntoExport(*FExport);
  FExport->StartCell = AccInf.KaisiCell;
  FExport->EndCell = AccInf.KimatuCell;
  FExport->LastCell = AccInf.KimatuCell;
  const std::string& prefix = FExport->GyoumuPrefix;
  if ((prefix == "ST" || prefix == "ST_G") && AccInf.DATATYPE != 2) {
    ShowTextBox(kMsgWarning, "指定された会計データは個人データではありません。\rもう一度、選びなおしてください。\r",
                MsgButtons({mbOK}));
    return false;
  }
  return true;
}

void TForm1::xKikanPanel3aMouseUp() {
  if (FExport->GyoumuPrefix != "SY") return;
  if (!xKikanPanel3a->KikanMove()) xKikanPanel3a->SetStno(AccInf.KaisiCell);
  if (IsQuarter(xKikanPanel3a->Stno())) xKikanPanel3a->SetStno(xKikanPanel3a->Stno() - 1);
}

TDateTime TForm1::PeriodDate(const std::string& Name) const {
  if (Name == "START")
    return ClosingDayDate(CellMonth(FExport->StartCell) - 1, FExport->ClosingDay, FExport->PeriodFrom);
  if (Name == "END") {
    const int edno = xKikanPanel3a->Edno();
    int m = CellMonth(edno) - 1;
    if (xKikanPanel3a->LastNo() != 15 && edno == xKikanPanel3a->LastNo()) m = CellMonth(edno - 1) - 1;
    return ClosingDayDate(m, FExport->ClosingDay, FExport->PeriodFrom);
  }
  return 0;
}

std::string TForm1::AbsoluteExportPath(const std::string& Path) const {
  if (Path.empty() || !ExtractFileDir(Path).empty()) return Path;
  return PathJoin(FMyDocumentsDir, Path);
}

void TForm1::BuildSummaryText() {
  TComDataExport& e = *FExport;
  std::vector<std::string> lines;
  Memo5b->clear();
  lines.push_back("【連動元情報】");
  lines.push_back(Format(" 会社名        : %s", e.KomonsakiName));
  if (e.FiscalTerm > 0) lines.push_back(Format(" 会計年度      : %d 期", e.FiscalTerm));
  else lines.push_back(Format(" 会計年度      : %s 期", "-"));
  lines.push_back(Format(" 会計期間      : %s ～ %s", Kanji("yyyy年m月d日", e.PeriodFrom), Kanji("yyyy年m月d日", e.PeriodTo)));
  lines.push_back("");
  lines.push_back("【ﾃﾞｰﾀ区分】");
  lines.push_back(Format(" 法人個人区分  : %s", e.CompanyKind == 2 ? "個人" : "法人"));
  lines.push_back(Format(" 課税区分      : %s", e.TaxKanni != 0 ? "簡易" : "原則"));
  lines.push_back(Format(" 売上税額計算  : %s", e.TumiageFlag != 0 ? "積上方式" : "原則方式"));
  if (e.TaxKanni == 0) lines.push_back(Format(" 仕入税額計算  : %s", e.TumiageFlag != 0 ? "積上方式" : "原則方式"));

  e.StartCell = xKikanPanel3a->Stno();
  e.EndCell = xKikanPanel3a->Edno();
  e.LastCell = xKikanPanel3a->LastNo();
  e.TaxDefUH = RadioButton3a->isChecked() ? 0 : 1;

  lines.push_back("");
  lines.push_back("【計算条件】");
  const std::string start = Kanji("yyyy年m月", PeriodDate("START"));
  if (e.StartCell == e.EndCell) lines.push_back(" 計算対象期間  : " + start);
  else lines.push_back(" 計算対象期間  : " + start + " ～ " + Kanji("yy年m月", PeriodDate("END")));
  e.TaxDefUH = DataSetConnection().TaxDefUHForExport(e.TaxDefUH, 0, 0);

  if (Wizard1->HasPage("page4")) {
    e.ExportFile = AbsoluteExportPath(Edit4a->text().toStdString());
    lines.push_back("");
    lines.push_back("【中間ﾌｧｲﾙ】");
    lines.push_back(Format(" %s", e.ExportFile));
  }
  lines.push_back("");
  lines.push_back("【制限事項】");
  lines.push_back(" １）「課税標準額に対する消費税額の計算の特例の適用」には対応しておりません。");
  if (e.TaxKanni == 0 && e.FormId == "SY31") {
    for (const char* line : {" ２）以下の輸入消費税区分は連動を行いません。", "       521～523　課税輸入",
                             "       571～573　課税輸入返還", "       721～723　課税輸入", "       771～773　課税輸入返還"})
      lines.push_back(line);
  }
  QString text;
  for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? "\n" : "") + Q(lines[i]);
  Memo5b->setPlainText(text);
}

void TForm1::Wizard1NextClicking(bool, bool& AllowChange) {
  AllowChange = false;
  const std::string page = Wizard1->ActivePage();
  if (page == "page2") {
    AllowChange = CheckDataPage();
    return;
  }
  if (page == "page3") {
    if (FExport->GyoumuPrefix == "SY" && IsQuarter(xKikanPanel3a->Stno()))
      xKikanPanel3a->SetStno(xKikanPanel3a->Stno() - 1);
    if (FExport->FormId == "SY31" && PeriodDate("END") < EncodeDate(2019, 10, 1)) {
      TMessage2InfoRec info;
      InitMessage2Info(kMsgInformation, info);
      info.Buttons = MsgButtons({mbOK});
      info.Lines[0].Text = "指定した集計期間は本連動コンポーネントの対象外の期間です。";
      info.Lines[1].Text = "※本連動コンポーネントは令和元年度以降の申告書に対応しています";
      info.Lines[1].Color = 255;
      ShowMessageBox2(info);
      return;
    }
    if (!Wizard1->HasPage("page4")) {
      if (!CheckExportFile(FExport->ExportFile)) return;
      BuildSummaryText();
    }
    AllowChange = true;
    return;
  }
  if (page == "page4") {
    const std::string file = Edit4a->text().toStdString();
    if (file.empty() || ExtractFileName(file).empty()) {
      ShowTextBox(kMsgWarning, "中間ﾌｧｲﾙが指定されていません。\r指定してから[次へ]をｸﾘｯｸしてください。\r",
                  MsgButtons({mbOK}));
      Button2->setText(Q(Wizard1->NextButtonCap));
      return;
    }
    if (SystemDef.OSMajorVersion >= 6 && IncludeTrailingPathDelimiter(ExtractFileDir(file)) ==
                                             IncludeTrailingPathDelimiter(FSystemDrive)) {
      ShowTextBox(kMsgWarning,
                  Format("ｼｽﾃﾑﾄﾞﾗｲﾌﾞ(%s)直下にﾌｧｲﾙは指定できません。", FSystemDrive) +
                      "\r別のﾄﾞﾗｲﾌﾞまたはﾌｫﾙﾀﾞを指定してから[次へ]をｸﾘｯｸしてください。\r",
                  MsgButtons({mbOK}));
      Button2->setText(Q(Wizard1->NextButtonCap));
      return;
    }
    if (!CheckExportFile(AbsoluteExportPath(file))) {
      Button2->setText(Q(Wizard1->NextButtonCap));
      return;
    }
    BuildSummaryText();
  }
  AllowChange = true;
}

bool TForm1::CheckExportFile(const std::string& Path) {
  const std::string problem = ExportFileProblem(Path);
  if (problem.empty()) return true;
  if (Wizard1->HasPage("page4")) {
    ShowTextBox(kMsgWarning,
                "中間ﾌｧｲﾙを保存できません。\r" + problem + "\r別の場所を指定してから[次へ]をｸﾘｯｸしてください。\r",
                MsgButtons({mbOK}));
  } else {
    ShowTextBox(kMsgWarning, "呼び出し元から指定された中間ファイルに保存できません。\r" + problem + "\r",
                MsgButtons({mbOK}));
  }
  return false;
}

void TForm1::BitBtn4aClick() {
  QFileDialog dialog(this, Q("中間ﾌｧｲﾙの指定"), Q(FMyDocumentsDir),
                     Q("中間ﾌｧｲﾙ (*.xml *.XML);;すべてのﾌｧｲﾙ(*.*) (*)"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix("xml");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  const std::string current = Edit4a->text().toStdString();
  if (FileExists(current)) dialog.selectFile(Q(current));
  const TModalResult r = ExecModal(dialog, [&] {
    ShownDialog shown;
    shown.kind = "QFileDialog";
    shown.caption = dialog.windowTitle().toStdString();
    shown.window = &dialog;
    return shown;
  });
  if (r == mrOk && !dialog.selectedFiles().isEmpty()) Edit4a->setText(dialog.selectedFiles().first());
}

// Runs the export. A link file that could not be written leaves its reason in
// Reason, named by its folder where the folder is the cause, for the road's
// one failure box; any other failed step shows its own message first.
int TForm1::ExportLinkFile(std::string& Reason) {
  int result = 4;
  try {
    WriteLinkFile(*FExport);
    result = 1;
  } catch (const EDataExportError& e) {
    xAnimeProgressDialog1->SetAnimeActive(false);
    if (e.Code == kLinkFileNotWritten) {
      Reason = ExportFileProblem(FExport->ExportFile);
      if (Reason.empty()) Reason = e.Detail;
      return 4;
    }
    const std::string text = e.Message() + "\r" + e.Detail + "\r";
    if (e.Code == 16 || e.Code == 6) {
      ShowTextBox(kMsgInformation, text, MsgButtons({mbOK}));
      result = 3;
    } else {
      ShowTextBox(kMsgError, text, MsgButtons({mbOK}));
      result = 4;
    }
  }
  return result;
}

void TForm1::Wizard1NextClick(bool FinalState) {
  if (!FinalState) return;
  xAnimeProgressDialog1->SetCaption("連動データの作成中");
  xAnimeProgressDialog1->SetInfoLabel("連動データの作成中です…");
  xAnimeProgressDialog1->SetAviFile(PathJoin(SystemDef.ExeDir, "progress.avi"));
  xAnimeProgressDialog1->SetCancelBtnShow(false);
  xAnimeProgressDialog1->Show(this);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  int result = 1;
  std::string reason;  // why an unexpected error ended the export, in Japanese
  exportRunning_ = true;
  try {
    result = ExportLinkFile(reason);
  } catch (const std::system_error& e) {
    result = 4;
    reason = ExportWriteProblem(FExport->ExportFile, e.code().value());
  } catch (const std::exception& e) {
    result = 4;
    reason = IsJapaneseText(e.what()) ? e.what() : UnexpectedErrorText(FExport->ExportFile);
  } catch (...) {  // shown below as a failed export
    result = 4;
    reason = UnexpectedErrorText(FExport->ExportFile);
  }
  exportRunning_ = false;
  xAnimeProgressDialog1->Close();
  QApplication::restoreOverrideCursor();
  if (result == 1) {
    if (args_.empty()) ShowTextBox(kMsgInformation, "中間ファイルが作成されました。\r", MsgButtons({mbOK}));
    FCloseCode = 0;
    CloseByProgram();
  } else if (result == 3) {
    FCloseCode = 1;
  } else {
    ShowTextBox(kMsgError, "中間ファイルの作成に失敗しました。\r" + reason, MsgButtons({mbOK}));
    FCloseCode = 2;
    CloseByProgram();
  }
}
