// The cash-book loader's window: its layout, the timed start, the run with its
// progress, the log list and the log file.
#include "comm/cashbookloaderform.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>

#include "core/dialogs.h"
#include "core/globals.h"
#include "platform/vcl/dpi.h"
#include "platform/vcl/focus.h"
#include "platform/vcl/responder.h"
#include "ui/messagebox2.h"
#include "ui/progressdialog.h"

namespace {

constexpr const char* kClose = "閉じる";
constexpr const char* kCancel = "キャンセル";
constexpr const char* kPreparing = "準備中です…";
constexpr int kStartDelayMs = 1500;

QString Q(const std::string& s) { return QString::fromStdString(s); }

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, int left, int top, int width) {
  auto* b = new QPushButton(QString::fromUtf8(caption), parent);
  b->setObjectName(name);
  b->setGeometry(Px(left), Px(top), Px(width), Px(26));
  return b;
}

QLabel* MakeLabel(QWidget* parent, const char* name, int left, int top, int width) {
  auto* l = new QLabel(parent);
  l->setObjectName(name);
  l->setGeometry(Px(left), Px(top), Px(width), Px(16));
  return l;
}

void ShowError(const std::string& text) {
  TMessage2InfoRec info;
  InitMessage2Info(kMsgError, info);
  info.Lines[0].Text = text;
  ShowMessageBox2(info);
}

}  // namespace

TCashBookLoaderForm::TCashBookLoaderForm(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName("CashBookLoaderBox");
  setWindowTitle("現金出納帳の取り込み");
  QFont f = font();
  f.setFamilies({"ＭＳ Ｐゴシック", "Noto Sans CJK JP"});
  f.setPointSize(9);
  setFont(f);
  setFixedSize(Px(631), Px(466));

  Image1 = new QLabel(this);
  Image1->setObjectName("Image1");
  Image1->setGeometry(Px(24), Px(16), Px(33), Px(33));
  Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(Px(32), Px(32)));
  Label1 = MakeLabel(this, "Label1", 72, 20, 540);
  Label2 = MakeLabel(this, "Label2", 72, 36, 540);
  Label3 = MakeLabel(this, "Label3", 72, 52, 540);
  Label3->setStyleSheet("color: red;");
  btnFileOut = MakeButton(this, "btnFileOut", "ファイル出力", 495, 72, 119);

  ListView = new QTreeWidget(this);
  ListView->setObjectName("ListView");
  ListView->setGeometry(Px(16), Px(112), Px(600), Px(225));
  ListView->setRootIsDecorated(false);
  ListView->setSelectionMode(QAbstractItemView::SingleSelection);
  ListView->setHeaderLabels({"ステータス", "情報"});
  ListView->header()->setStretchLastSection(false);
  ListView->setColumnWidth(0, Px(80));
  ListView->setColumnWidth(1, Px(500));

  Memo = new QPlainTextEdit(this);
  Memo->setObjectName("Memo");
  Memo->setReadOnly(true);
  Memo->setGeometry(Px(15), Px(344), Px(602), Px(81));

  btnOk = MakeButton(this, "btnOk", "OK", 450, 432, 75);
  btnCancel = MakeButton(this, "btnCancel", kCancel, 540, 432, 75);

  PanelProgress = new QFrame(this);
  PanelProgress->setObjectName("PanelProgress");
  PanelProgress->setFrameShape(QFrame::Panel);
  PanelProgress->setFrameShadow(QFrame::Raised);
  PanelProgress->setAutoFillBackground(true);
  PanelProgress->setGeometry(Px(158), Px(200), Px(321), Px(57));
  LabelProgress = MakeLabel(PanelProgress, "LabelProgress", 58, 9, 250);
  LabelProgress->setText("データの更新中です…");
  ProgressBar = new QProgressBar(PanelProgress);
  ProgressBar->setObjectName("ProgressBar");
  ProgressBar->setGeometry(Px(56), Px(26), Px(249), Px(21));
  ProgressBar->setTextVisible(false);
  ProgressBar->setRange(0, TCashBookLoaderBox::kProgressSteps);
  Animate = new TxBusyIndicator(PanelProgress);
  Animate->setObjectName("Animate");
  Animate->setGeometry(Px(13), Px(12), Px(32), Px(32));
  PanelProgress->hide();

  Timer = new QTimer(this);
  Timer->setObjectName("Timer");
  Timer->setSingleShot(true);

  connect(btnOk, &QPushButton::clicked, this, [this] { btnOkClick(); });
  connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });
  connect(btnFileOut, &QPushButton::clicked, this, [this] { btnFileOutClick(); });
  connect(Timer, &QTimer::timeout, this, [this] { TimerTimer(); });
  connect(ListView, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    const int row = item ? ListView->indexOfTopLevelItem(item) : -1;
    const TPelorinSyoriLog& log = loader_->Log();
    Memo->setPlainText(row >= 0 && row < static_cast<int>(log.size()) ? Q(log[static_cast<std::size_t>(row)].Text)
                                                                      : QString());
  });
  loader_->OnProgress = [this] { ShowProgress(); };

  btnFileOut->setEnabled(false);
  SetAutoStart(true);
}

TCashBookLoaderForm::TCashBookLoaderForm(TCashBookLoaderBox& Loader, QWidget* owner) : TCashBookLoaderForm(owner) {
  loader_->OnProgress = nullptr;
  loader_ = &Loader;
  loader_->OnProgress = [this] { ShowProgress(); };
}

TCashBookLoaderForm::~TCashBookLoaderForm() { loader_->OnProgress = nullptr; }

void TCashBookLoaderForm::SetAutoStart(bool On) {
  autoStart_ = On;
  loader_->SetAutoStart(On);
  btnOk->setEnabled(!On);
  btnCancel->setEnabled(!On);
  btnOk->setVisible(!On);
  btnCancel->setText(QString::fromUtf8(On ? kClose : kCancel));
  Timer->stop();
  Timer->setInterval(On ? kStartDelayMs : 0);
}

void TCashBookLoaderForm::SetupTitles() {
  const bool cash = loader_->ReceiveKind == 0;
  Label1->setText(cash ? "現金出納帳データの取り込みを行います。" : "データの取り込みを行います。");
  Label2->setText(cash ? "この処理を実行することにより、顧問先と現金残高の同期が行われます。"
                       : "この処理を実行することにより、送信元とデータの同期が行われます。");
  Label3->clear();
}

void TCashBookLoaderForm::SetResultTitles() {
  Label1->setText(Q(loader_->Title1()));
  Label2->setText(Q(loader_->Title2()));
}

void TCashBookLoaderForm::ShowProgressPanel(bool On) {
  PanelProgress->setVisible(On);
  Animate->SetActive(On);
  if (On) PanelProgress->raise();
}

void TCashBookLoaderForm::ShowProgress() {
  LabelProgress->setText(Q(loader_->Progress()));
  ProgressBar->setValue(loader_->ProgressPosition());
  SyncList();
  // Keeps the window painted and the animation moving; the run mark refuses
  // a second run and closing meanwhile.
  ProcessMessages();
}

void TCashBookLoaderForm::SyncList() {
  const TPelorinSyoriLog& log = loader_->Log();
  if (ListView->topLevelItemCount() > static_cast<int>(log.size())) {
    ListView->clear();
    Memo->clear();
  }
  for (std::size_t i = static_cast<std::size_t>(ListView->topLevelItemCount()); i < log.size(); ++i) {
    const TPelorinSyoriInfo& e = log[i];
    auto* item = new QTreeWidgetItem(ListView, {Q(PelorinKindText(e.Kind)), Q(e.Text)});
    static constexpr QStyle::StandardPixmap kIcons[] = {QStyle::SP_MessageBoxInformation,
                                                        QStyle::SP_MessageBoxWarning, QStyle::SP_MessageBoxCritical};
    if (e.Kind >= 1 && e.Kind <= 3) item->setIcon(0, style()->standardIcon(kIcons[e.Kind - 1]));
  }
}

void TCashBookLoaderForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  SetupTitles();
  if (shownAfterFailure_) {
    ShowProgressPanel(false);
    SetResultTitles();
    return;
  }
  if (autoStart_) {
    Timer->start(kStartDelayMs);
    LabelProgress->setText(QString::fromUtf8(kPreparing));
    ShowProgressPanel(true);
  }
}

void TCashBookLoaderForm::TimerTimer() {
  Timer->stop();
  if (autoStart_) btnOkClick();
}

void TCashBookLoaderForm::ExecuteAuto() {
  if (loader_->ReceiveKind != 1) return;
  Timer->stop();
  SetupTitles();
  if (autoStart_) btnOkClick();
}

TModalResult TCashBookLoaderForm::ShowModal() {
  return ExecModal(*this, [this] {
    ShownDialog shown;
    shown.kind = "TCashBookLoaderForm";
    shown.caption = windowTitle().toStdString();
    return shown;
  });
}

void TCashBookLoaderForm::btnOkClick() {
  if (running_) return;
  running_ = true;
  setResult(mrNone);
  btnCancel->setText(QString::fromUtf8(kClose));
  btnOk->setEnabled(false);
  btnCancel->setEnabled(false);
  btnFileOut->setEnabled(false);
  ListView->clear();
  Memo->clear();
  ShowProgressPanel(true);
  loader_->Execute();
  SyncList();
  if (ListView->topLevelItemCount() > 0) ListView->setCurrentItem(ListView->topLevelItem(0));
  autoStart_ = false;
  SetResultTitles();
  ShowProgressPanel(false);
  btnFileOut->setEnabled(ListView->topLevelItemCount() > 0);
  btnCancel->setEnabled(true);
  running_ = false;
  if (isVisible()) {
    btnCancel->setFocus();
  } else if (ResultCode() < 0) {
    shownAfterFailure_ = true;
    ShowModal();
  }
}

void TCashBookLoaderForm::btnCancelClick() {
  if (running_) return;
  done(btnCancel->text() == QString::fromUtf8(kClose) ? mrOk : mrCancel);
}

void TCashBookLoaderForm::reject() {
  if (!btnCancel->isEnabled()) return;
  btnCancelClick();
}

void TCashBookLoaderForm::closeEvent(QCloseEvent* event) {
  if (running_) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void TCashBookLoaderForm::btnFileOutClick() {
  QFileDialog dialog(this, "ファイル出力");
  dialog.setObjectName("SaveDialog");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters({"ＣＳＶシート(*.csv) (*.csv *.CSV)", "テキストファイル(*.txt) (*.txt *.TXT)"});
  dialog.setDefaultSuffix("csv");
  dialog.setDirectory(Q(SystemDef.UserDocDir));
  dialog.selectFile("現金出納帳の受信ログ");
  const TModalResult answer = ExecModal(dialog, [&dialog] {
    ShownDialog shown;
    shown.kind = "QFileDialog";
    shown.caption = dialog.windowTitle().toStdString();
    return shown;
  });
  if (answer != mrOk || dialog.selectedFiles().isEmpty()) return;
  std::string path = dialog.selectedFiles().first().toStdString();
  if (!CheckSaveFilePath(path)) return;
  if (!loader_->ExportLog(path)) ShowError("「" + path + "」に書き込めませんでした。");
}
