#include "dataselect/fileoperationdlg.h"

#include <QFileDialog>
#include <QLabel>
#include <QPlainTextEdit>

#include <algorithm>
#include <exception>

#include "core/dialogs.h"
#include "core/globals.h"
#include "core/regini.h"
#include "core/sjis.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/align.h"
#include "platform/vcl/dpi.h"
#include "platform/vcl/hint.h"
#include "platform/win/paths.h"
#include "ui/messagebox2.h"
#include "ui/plbutton.h"
#include "ui/xcombobox.h"
#include "ui/xedit.h"

namespace {

const char* const kNoFileName = "ファイル名を入力または[参照]ボタンより選択して下さい。";
const char* const kNoPlace = "場所を入力または[参照]ボタンより選択して下さい。";
const char* const kAskHistDelete = "履歴を削除します。よろしいですか？";
const char* const kAllFiles = "すべてのﾌｧｲﾙ(*.*) (*)";

QString Q(const std::string& text) { return QString::fromStdString(text); }

// Places are folders: the same folder with or without its trailing "/" is one place.
bool SamePlace(const std::string& a, const std::string& b) {
  return ExcludeTrailingPathDelimiter(a) == ExcludeTrailingPathDelimiter(b);
}

// A message box of the given kind with one line and the given buttons.
TModalResult ShowBox(std::uint8_t kind, const char* text, TMsgDlgButtons buttons) {
  TMessage2InfoRec info;
  InitMessage2Info(kind, info);
  info.Buttons = buttons;
  info.Lines[0].Text = text;
  return ShowMessageBox2(info);
}

bool IsFileKind(std::uint8_t kind) { return kind == fkOpenFile || kind == fkSaveFile; }

QLabel* MakeLabel(QWidget* parent, const char* name, const char* caption, int x, int y, int w, int h) {
  auto* l = new QLabel(caption, parent);
  l->setObjectName(name);
  l->setGeometry(Px(x), Px(y), Px(w), Px(h));
  return l;
}

}  // namespace

TFileOperationBox::TFileOperationBox(QWidget* owner) : TFileOperationBox(owner, "TFileOperationBox") {}

TFileOperationBox::TFileOperationBox(QWidget* owner, const char* name) : TBSDI(owner, bsDialog, name) {
  NotifyMenu = KeepHistory = AllowOtherProcess = SaveFormSize = ReloadAccInf = NotifyActivate = false;
  KeepOnClose = true;
  resize(Px(495), Px(272));
  lblMain = MakeLabel(this, "lblMain", "メッセージ", 16, 12, 463, 36);
  lblMain->setWordWrap(true);
  lblFileSelect = MakeLabel(this, "lblFileSelect", "保存先の場所:", 16, 56, 290, 18);
  cmbFileSelect = new TxComboBox(this);
  cmbFileSelect->setObjectName("cmbFileSelect");
  cmbFileSelect->setEditable(true);
  cmbFileSelect->setInsertPolicy(QComboBox::NoInsert);
  cmbFileSelect->setGeometry(Px(16), Px(76), Px(290), Px(24));
  btnSansyo = NewPlButton(this, "btnSansyo", "参照", 314, 74, 80, 26);
  btnSansyo->OnClick = [this](QObject*) { btnSansyoClick(); };
  btnHistDelete = NewPlButton(this, "btnHistDelete", "履歴削除", 399, 74, 80, 26);
  btnHistDelete->OnClick = [this](QObject*) { btnHistDeleteClick(); };
  lblFileName = MakeLabel(this, "lblFileName", "ファイル名:", 16, 110, 290, 18);
  txtFileName = new TxEdit(this);
  txtFileName->setObjectName("txtFileName");
  txtFileName->setGeometry(Px(16), Px(130), Px(463), Px(24));
  HintArea = new QPlainTextEdit(this);
  HintArea->setObjectName("HintArea");
  HintArea->setReadOnly(true);
  HintArea->setFocusPolicy(Qt::NoFocus);
  HintArea->setGeometry(Px(16), Px(166), Px(463), Px(56));
  btnOK = NewPlButton(this, "btnOK", "OK", 289, 232, 90, 28);
  btnOK->OnClick = [this](QObject*) { btnOKClick(); };
  btnCancel = NewPlButton(this, "btnCancel", "キャンセル", 389, 232, 90, 28);
  btnCancel->SetModalResult(mrCancel);
  SetAnchors(HintArea, akAll);
  SetAnchors(btnOK, akRight | akBottom);
  SetAnchors(btnCancel, akRight | akBottom);
  HintMemo = HintArea;
  F12Button = btnOK;

  HistoryDir = SystemDef.IniDir;
  MainMessageColor = QColorToColor(palette().color(QPalette::WindowText));
  Initialized = true;
}

TFileOperationBox::~TFileOperationBox() = default;

// ---- preparing ------------------------------------------------------------------------------

void TFileOperationBox::Prepare(std::uint8_t Mode) {
  mode_ = Mode;
  Fill();
  FirstPlacement = false;
}

void TFileOperationBox::Fill() {
  LoadHints();
  const bool file = IsFileKind(FileKind);
  lblFileName->setVisible(file);
  txtFileName->setVisible(file);
  txtFileName->SetText(file ? DefaultFileName : std::string());
  btnHistDelete->setVisible(UseHistory);
  setWindowTitle(Q(CaptionText));
  lblMain->setText(Q(MainMessage));
  QPalette p = lblMain->palette();
  p.setColor(QPalette::WindowText, ColorToQColor(MainMessageColor));
  lblMain->setPalette(p);
  lblFileSelect->setText(Q(PlaceLabel));
  LoadHistory();
}

void TFileOperationBox::LoadHints() {
  SetHint(cmbFileSelect, PlaceHint);
  SetHint(btnSansyo, PlaceHint);
  SetHint(txtFileName, FileNameHint);
  SetHint(btnHistDelete, "履歴を削除します。|履歴を削除します。");
  SetHint(btnOK, "処理を確定します。");
  SetHint(btnCancel, "処理をキャンセルします。");
}

std::string TFileOperationBox::HistoryPath() const {
  if (HistoryDir.empty() || HistoryFile.empty() || HistorySection.empty()) return {};
  return PathJoin(HistoryDir, HistoryFile);
}

void TFileOperationBox::LoadHistory() {
  historyLines_.clear();
  historyItems_.clear();
  cmbFileSelect->clear();
  const std::string path = HistoryPath();
  if (!path.empty()) {
    std::string text;
    try {
      ReadIniSectionText(path, HistorySection, text);
    } catch (const std::exception&) {
      text.clear();  // an unreadable history only means no earlier places
    }
    for (std::string line : SplitString(text, '\n')) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.empty()) continue;
      historyLines_.push_back(line);
      const std::size_t eq = line.find('=');
      const std::string value = eq == std::string::npos ? std::string() : line.substr(eq + 1);
      if (!value.empty()) historyItems_.push_back(value);
    }
  }
  for (const std::string& place : historyItems_) cmbFileSelect->addItem(Q(place));
  if (!DefaultDir.empty()) {
    bool listed = false;
    for (int i = 0; i < cmbFileSelect->count() && !listed; ++i)
      listed = SamePlace(cmbFileSelect->itemText(i).toStdString(), DefaultDir);
    if (!listed) cmbFileSelect->addItem(Q(DefaultDir));
  }
  if (cmbFileSelect->count() > 0) cmbFileSelect->setCurrentIndex(0);
}

// ---- places ---------------------------------------------------------------------------------

std::string TFileOperationBox::PlaceText() const { return cmbFileSelect->currentText().toStdString(); }

std::string TFileOperationBox::FileNameText() const { return TrimZen(txtFileName->Text()); }

void TFileOperationBox::PutPlace(const std::string& place) {
  int index = -1;
  for (int i = 0; i < cmbFileSelect->count() && index < 0; ++i)
    if (SamePlace(cmbFileSelect->itemText(i).toStdString(), place)) index = i;
  if (index < 0) {
    cmbFileSelect->insertItem(0, Q(place));
    index = 0;
  }
  cmbFileSelect->setCurrentIndex(index);
}

void TFileOperationBox::StoreHistory() {
  const std::string place = PlaceText();
  historyItems_.erase(std::remove_if(historyItems_.begin(), historyItems_.end(),
                                     [&](const std::string& item) { return SamePlace(item, place); }),
                      historyItems_.end());
  // A settings line cannot hold a line break; such a place is used but not remembered.
  if (!TrimZen(place).empty() && place.find_first_of("\r\n") == std::string::npos)
    historyItems_.insert(historyItems_.begin(), place);
  const std::string path = HistoryPath();
  if (path.empty()) return;
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < historyItems_.size() && i < static_cast<std::size_t>(kFileHistoryMax); ++i)
    lines.push_back(Format("HIST%d=%s", static_cast<int>(i + 1), historyItems_[i].c_str()));
  try {
    WriteIniSection(path, HistorySection, lines);
  } catch (const std::exception&) {
    // The history is a convenience: the choice itself stands when it cannot be written.
  }
}

// ---- buttons --------------------------------------------------------------------------------

std::optional<std::string> TFileOperationBox::RunFileDialog(bool save, const std::string& candidate) {
  QFileDialog dialog(this, Q("ファイルの選択"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  QStringList filters;
  if (!FilterName.empty() && !DefaultExt.empty())
    filters << Q(Format("%s (*.%s)", FilterName.c_str(), LowerCase(DefaultExt).c_str()));
  filters << Q(kAllFiles);
  dialog.setNameFilters(filters);
  if (!DefaultDir.empty()) dialog.setDirectory(Q(DefaultDir));
  if (!DefaultExt.empty()) dialog.setDefaultSuffix(Q(DefaultExt));
  if (save || FileExists(candidate))
    dialog.selectFile(Q(candidate));
  else if (!PlaceText().empty())
    dialog.setDirectory(Q(PlaceText()));
  const TModalResult r = ExecModal(dialog, [&dialog] {
    ShownDialog shown;
    shown.kind = "QFileDialog";
    shown.caption = dialog.windowTitle().toStdString();
    shown.window = &dialog;
    return shown;
  });
  if (r != mrOk || dialog.selectedFiles().isEmpty()) return std::nullopt;
  const std::string chosen = dialog.selectedFiles().first().toStdString();
  if (chosen.empty()) return std::nullopt;
  return chosen;
}

void TFileOperationBox::btnSansyoClick() {
  if (IsFileKind(FileKind)) {
    const std::string candidate = PathJoin(ExcludeTrailingPathDelimiter(PlaceText()), FileNameText());
    std::string chosen;
    bool ok = false;
    if (FileKind == fkOpenFile) {
      if (auto file = RunFileDialog(false, candidate)) {
        chosen = *file;
        ok = true;
      }
    } else {
      ok = ExecuteFileDialog([&] { return RunFileDialog(true, candidate); }, chosen);
    }
    if (!ok) return;
    PutPlace(ExtractFileDir(chosen));
    txtFileName->SetText(ExtractFileName(chosen));
    return;
  }
  std::string folder = PlaceText();
  if (SelectFolder("フォルダの選択", folder, false)) PutPlace(folder);
}

void TFileOperationBox::btnOKClick() {
  setResult(mrNone);
  const bool file = IsFileKind(FileKind);
  const std::string name = FileNameText();
  if (file && name.empty()) {
    ShowBox(kMsgInformation, kNoFileName, MsgButtons({mbYes}));
    txtFileName->setFocus();
    return;
  }
  std::string folder = PlaceText();
  if (TrimZen(folder).empty()) {
    ShowBox(kMsgInformation, kNoPlace, MsgButtons({mbYes}));
    cmbFileSelect->setFocus();
    return;
  }
  if (!CheckSaveFolder(folder)) {
    cmbFileSelect->setFocus();
    return;
  }
  folder = ExcludeTrailingPathDelimiter(folder);
  ResultPath = file ? PathJoin(folder, name) : folder;
  if (UseHistory) StoreHistory();
  done(mrOk);
}

void TFileOperationBox::btnHistDeleteClick() {
  if (ShowBox(kMsgConfirmation, kAskHistDelete, MsgButtons({mbOK, mbCancel})) != mrOk) return;
  const QString current = cmbFileSelect->currentText();
  cmbFileSelect->clear();
  if (!current.isEmpty()) {
    cmbFileSelect->addItem(current);
    cmbFileSelect->setCurrentIndex(0);
  }
  historyItems_.clear();
  StoreHistory();
}

// ---- window ---------------------------------------------------------------------------------

void TFileOperationBox::FormClose(TCloseAction& action) {
  TBSDI::FormClose(action);
  action = caHide;
}

void TFileOperationBox::showEvent(QShowEvent* event) {
  TBSDI::showEvent(event);
  if (!CheckInitialized()) return;
  cmbFileSelect->setFocus();
}

ShownDialog TFileOperationBox::Describe() const {
  ShownDialog shown = TBSDI::Describe();
  shown.lines.push_back(MainMessage);
  shown.colors.push_back(MainMessageColor);
  shown.buttons = {btnOK->CaptionA().Caption(), btnCancel->CaptionA().Caption()};
  return shown;
}
