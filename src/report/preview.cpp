#include "report/preview.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <filesystem>

#include <QApplication>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/rtl/sysutils.h"
#include "platform/vcl/responder.h"
#include "report/engine.h"
#include "report/errorlog.h"
#include "report/formlayer.h"
#include "report/papers.h"
#include "report/previewbox.h"
#include "report/printdata.h"
#include "report/printing.h"
#include "report/printjob.h"
#include "report/renderer.h"
#include "report/yohaku.h"
#include "ui/messagebox2.h"

namespace {

void ErrorBox(const std::string& text) {
  TMessage2InfoRec info;
  InitMessage2Info(kMsgError, info);
  info.Lines[0].Text = text;
  ShowMessageBox2(info);
}

bool Exists(const std::string& path) {
  std::error_code ignored;
  return !path.empty() && std::filesystem::is_regular_file(path, ignored);
}

// Runs a handler; an error is logged under the handler's place name.
template <typename Body>
void Guarded(const char* place, Body body) {
  try {
    body();
  } catch (const std::exception& error) {
    QuillboxLogError(place, error.what());
  }
}

TVDBPrint& Vdb() { return *QuillboxEngine().Vdb; }
TQBOXDEF& Settings() { return QuillboxEngine().Settings; }

int PrinterOrientation() {
  return Vdb().Printer().pageLayout().orientation() == QPageLayout::Landscape ? 1 : 0;
}

void SetPrinterOrientation(int orientation) {
  Vdb().Printer().setPageOrientation(orientation == 1 ? QPageLayout::Landscape : QPageLayout::Portrait);
}

// The paper of the printer in millimetres as the preview draws it: the table's
// size (turned in landscape), else the printable area with 10 mm around it.
QSizeF PaperMm(int paper) {
  const QRectF printable = Vdb().Printer().pageLayout().paintRect(QPageLayout::Millimeter);
  if (const auto size = PaperSizeOf(paper)) {
    QSizeF mm(size->WidthMm, size->LengthMm);
    if (PrinterOrientation() == 1) mm.transpose();
    return mm;
  }
  return {printable.width() + 10, printable.height() + 10};
}

int Scaled(double mm, int ppi, int zoom) { return static_cast<int>(std::lround(ppi * mm / 25.4 * zoom / 10.0)); }

}  // namespace

// ---- window ---------------------------------------------------------------------------------------------------

TImageDispForm::TImageDispForm(QWidget* owner) : QDialog(owner) {
  setObjectName("ImageDispForm");
  setWindowTitle("印刷ﾌﾟﾚﾋﾞｭｰ");
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                 Qt::WindowCloseButtonHint);
  resize(1000, 760);
  setWindowState(Qt::WindowMaximized);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSpacing(0);
  auto* bar = new QWidget(this);
  bar->setObjectName("ToolBar");
  bar->setFixedHeight(32);
  auto* row = new QHBoxLayout(bar);
  row->setContentsMargins(4, 2, 4, 2);
  row->setSpacing(2);
  auto button = [&](const char* name, const char* text, const char* hint, void (TImageDispForm::*action)()) {
    auto* b = new QToolButton(bar);
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(hint);
    b->setAutoRaise(true);
    row->addWidget(b);
    if (action) connect(b, &QToolButton::clicked, this, action);
    return b;
  };
  PrintButton = button("PrintButton", "印刷", "印刷", &TImageDispForm::PrintAll);
  ZoomInButton = button("ZoomInButton", "＋", "拡大", &TImageDispForm::ZoomIn);
  ZoomOutButton = button("ZoomOutButton", "－", "縮小", &TImageDispForm::ZoomOut);
  PrintSetupButton = button("PrintSetupButton", "設定", "ﾌﾟﾘﾝﾀ設定", &TImageDispForm::PrintSetup);
  PrevPage = button("PrevPage", "◀", "前ﾍﾟｰｼﾞ", &TImageDispForm::GoPrevPage);
  NextPage = button("NextPage", "▶", "次ﾍﾟｰｼﾞ", &TImageDispForm::GoNextPage);
  TopPage = button("TopPage", "|◀", "先頭ﾍﾟｰｼﾞ", &TImageDispForm::GoTopPage);
  LastPage = button("LastPage", "▶|", "最終ﾍﾟｰｼﾞ", &TImageDispForm::GoLastPage);
  ImageOut = button("ImageOut", "保存", "ファイルに保存", &TImageDispForm::SaveBundle);
  PgJump = button("PgJump", "Jmp", "ﾍﾟｰｼﾞ指定", &TImageDispForm::JumpPage);
  CurrentPage = button("CurrentPage", "頁印刷", "現在のページを印刷", &TImageDispForm::PrintCurrentPage);
  ZoomJustButton = button("ZoomJustButton", "全体", "全体を表示する", &TImageDispForm::ZoomJust);
  SpeedButton3 = button("SpeedButton3", "100%", "１００％表示", &TImageDispForm::Zoom100);
  SB_MARGIN = button("SB_MARGIN", "余白", "上余白・左余白を設定します", &TImageDispForm::Margins);
  CloseButton = button("CloseButton", "閉じる", "プレビューを中止する。", nullptr);
  ImageOpen = button("ImageOpen", "読込", "ファイルの読込", &TImageDispForm::OpenBundle);
  ImageOpenCancel = button("ImageOpenCancel", "取消", "ファイルの読込を取り消す", &TImageDispForm::CancelOpenBundle);
  WherePage = new QLabel(bar);
  WherePage->setObjectName("WherePage");
  WherePage->setFrameShape(QFrame::Panel);
  WherePage->setAlignment(Qt::AlignCenter);
  WherePage->setMinimumWidth(80);
  row->addWidget(WherePage);
  PrevPaper = button("PrevPaper", "前の帳票", "", nullptr);
  NextPaper = button("NextPaper", "次の帳票", "", nullptr);
  DispZoom = new QLabel("100%", bar);
  DispZoom->setObjectName("DispZoom");
  DispZoom->setFrameShape(QFrame::Panel);
  DispZoom->setAlignment(Qt::AlignCenter);
  DispZoom->setMinimumWidth(60);
  row->addWidget(DispZoom);
  row->addStretch(1);
  outer->addWidget(bar);
  for (QToolButton* hidden : {ImageOut, ImageOpen, ImageOpenCancel}) {
    hidden->setVisible(false);
    hidden->setEnabled(false);
  }
  auto closeWith = [this](int number) {
    closeNum_ = number;
    done(QDialog::Rejected);
  };
  connect(CloseButton, &QToolButton::clicked, this, [closeWith] { closeWith(0); });
  connect(PrevPaper, &QToolButton::clicked, this, [closeWith] { closeWith(-1); });
  connect(NextPaper, &QToolButton::clicked, this, [closeWith] { closeWith(1); });

  ImagePaintScrollBox = new QScrollArea(this);
  ImagePaintScrollBox->setObjectName("ImagePaintScrollBox");
  ImagePaintScrollBox->setWidgetResizable(false);
  ImagePaintScrollBox->setBackgroundRole(QPalette::Dark);
  auto* canvas = new QWidget;
  PaperPanel = new QFrame(canvas);
  PaperPanel->setObjectName("PaperPanel");
  PaperPanel->setFrameShape(QFrame::Box);
  PaperPanel->setAutoFillBackground(true);
  PaperPanel->setStyleSheet("QFrame#PaperPanel { background: white; border: 1px solid black; }");
  ImagePaintBox = new TPreviewPaintBox(this, PaperPanel);
  ImagePaintScrollBox->setWidget(canvas);
  outer->addWidget(ImagePaintScrollBox, 1);
  pixelsPerInch_ = logicalDpiX();
}

TImageDispForm::~TImageDispForm() = default;

void TImageDispForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  pixelsPerInch_ = logicalDpiX();
  if (!activated_) {
    activated_ = true;
    FirstActivation();
  }
  ReadFormDefinitions();
}

void TImageDispForm::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  if (activated_) Relayout();
}

void TImageDispForm::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && activated_ && !isActiveWindow())
    Guarded("PREVIEW.FormDeactivate", [this] { ShowAllPreviews(); });
}

void TImageDispForm::ShowAllPreviews() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == "ImageDispForm" && w->isVisible()) w->update();
}

void TImageDispForm::FirstActivation() {
  Guarded("PREVIEW.FormCreate", [this] {
    const TQBOXDEF& s = Settings();
    closeNum_ = PrevPaper->isHidden() && NextPaper->isHidden() ? 1 : 0;
    dataFile_ = s.DataFile;
    formFile_ = Trim(s.FormFile);
    zoom_ = s.Zoom;
    DispZoom->setText(QString::fromStdString(Format("%d%s", zoom_ * 10, "%")));
    ComputePageCounts();
    current_ = 1;
    ShowPagePosition();
    QApplication::processEvents();
    if (const int fit = FittingZoom()) zoom_ = fit;
    DispZoom->setText(QString::fromStdString(Format("%d%s", zoom_ * 10, "%")));
    orientations_ = ScanOrientations(dataFile_, s.Orientation);
    ApplyPageOrientation();
    Relayout();
  });
}

void TImageDispForm::ComputePageCounts() {
  const int dataPages = CountPages(dataFile_);
  int formPages = 0;
  if (!formFile_.empty() && Exists(formFile_)) {
    ReadFormVariables(FormTables(), formFile_, 0, 0, Settings());
    formPages = FormTables().FormPages;
  }
  total_ = std::max(1, formFile_.empty() ? dataPages : ReportPageCount(dataPages, formPages));
}

void TImageDispForm::ReadFormDefinitions() {
  auto& forms = FormTables();
  if (formFile_.empty()) {
    forms.Version = ReadFormVersion(dataFile_);
    forms.FormPages = 0;
  } else {
    forms.Version = ReadFormVersion(formFile_);
    ReadFormVariables(forms, formFile_, 0, 0, Settings());
  }
}

void TImageDispForm::ShowPagePosition() {
  WherePage->setText(QString::fromStdString(Format("%d/%d", current_, total_)));
}

int TImageDispForm::FittingZoom() const {
  const QSizeF mm = PaperMm(Vdb().GetPaper());
  const QSize area = ImagePaintScrollBox->viewport()->size();
  for (int zoom = 20; zoom >= 5; --zoom) {
    if (Scaled(mm.width(), pixelsPerInch_, zoom) + 15 <= area.width() &&
        Scaled(mm.height(), pixelsPerInch_, zoom) + PaperPanel->y() <= area.height())
      return zoom;
  }
  return 0;
}

void TImageDispForm::ComputeFactors() {
  const TQBOXDEF& s = Settings();
  const TSpacingFactors f = CrossPaperScale(s.PaperSize, Vdb().GetPaper(), s.VRATIO, s.HRATIO, {factorV_, factorH_});
  factorV_ = f.Vertical;
  factorH_ = f.Horizontal;
}

void TImageDispForm::Relayout() {
  Guarded("PREVIEW.FormResize", [this] {
    ImagePaintScrollBox->horizontalScrollBar()->setValue(0);
    ImagePaintScrollBox->verticalScrollBar()->setValue(0);
    TQBOXDEF& s = Settings();
    const int paper = Vdb().GetPaper();
    if (paper == 256)
      Vdb().SetUserPaperSize(s.PaperLength, s.PaperWidth);
    else
      Vdb().ResetUserPaperSize();
    const QSizeF mm = PaperMm(paper);
    const QRectF printable = Vdb().Printer().pageLayout().paintRect(QPageLayout::Millimeter);
    const int panelW = Scaled(mm.width(), pixelsPerInch_, zoom_) + 2;
    const int panelH = Scaled(mm.height(), pixelsPerInch_, zoom_) + 2;
    const int viewW = ImagePaintScrollBox->viewport()->width();
    const int left = std::max(15, (viewW - panelW - 15) / 2);
    PaperPanel->setGeometry(left, 15, panelW, panelH);
    ImagePaintScrollBox->widget()->resize(std::max(viewW, left + panelW + 15), panelH + 30);
    const int boxW = Scaled(printable.width(), pixelsPerInch_, zoom_) + 2;
    const int boxH = Scaled(printable.height(), pixelsPerInch_, zoom_) + 2;
    ImagePaintBox->setGeometry((panelW - boxW) / 2, (panelH - boxH) / 2, boxW, boxH);
    const int leftStrip = static_cast<int>(std::lround((mm.width() - printable.width()) / 2)) * 10;
    const int topStrip = static_cast<int>(std::lround((mm.height() - printable.height()) / 2)) * 10;
    leftOrigin_ = s.LeftMargin - leftStrip;
    topOrigin_ = s.TopMargin - topStrip;
    ComputeFactors();
    ImagePaintBox->update();
  });
}

void TImageDispForm::DrawPage(QPainter& painter, double pixelsPerTenth) {
  if (painting_) return;
  painting_ = true;
  Guarded("PREVIEW.ImageBoxPaint", [&] {
    const TQBOXDEF& s = Settings();
    painter.fillRect(QRect(QPoint(0, 0), painter.device() ? QSize(painter.device()->width(), painter.device()->height())
                                                         : QSize()),
                     Qt::white);
    painter.setPen(QPen(QColor(0, 0, 255), 1, Qt::DotLine));
    painter.drawRect(0, 0, painter.device()->width() - 1, painter.device()->height() - 1);
    painter.setPen(QPen(Qt::black, 1, Qt::SolidLine));
    if (dataFile_.empty()) {
      ErrorBox("印刷ファイルの指定がありません。");
      return;
    }
    if (!Exists(dataFile_)) {
      ErrorBox("\"" + dataFile_ + "\"が見つかりません。");
      return;
    }
    if (!formFile_.empty() && !Exists(formFile_)) {
      ErrorBox("<" + formFile_ + "> が見つかりません。");
      return;
    }
    auto& forms = FormTables();
    TPageRenderer renderer(s, forms);
    renderer.LeftOrigin = leftOrigin_;
    renderer.TopOrigin = topOrigin_;
    renderer.Factors = {factorV_, factorH_};
    renderer.PrinterPaper = Vdb().GetPaper();
    renderer.PageNumbers = ScanPageNumbers(dataFile_, renderer.TotalPages);
    renderer.CurrentPage = current_;
    TRenderTarget target;
    target.Painter = &painter;
    target.PixelsPerInch = pixelsPerInch_;
    target.UnitsX = target.UnitsY = pixelsPerTenth;
    target.Zoom = zoom_;
    target.EvenPage = current_ % 2 == 0;
    const int formPages = std::max(1, forms.FormPages);
    if (!formFile_.empty() && s.PrintFom) {
      TRecordFile form(formFile_);
      // The form's pages repeat: each wrap to its start counts as a page end.
      form.SkipPages((current_ - 1) % formPages);
      renderer.RenderPage("FOM", form, target);
    }
    TRecordFile data(dataFile_);
    data.SkipPages(current_ - 1);
    if (!data.AtEnd() || current_ == 1) {
      target.SubForm = (current_ - 1) % formPages;
      renderer.RenderPage("DAT", data, target);
    }
  });
  painting_ = false;
}

// ---- paging and zoom --------------------------------------------------------------------------------------

void TImageDispForm::ApplyPageOrientation() {
  if (current_ < 1 || current_ > static_cast<int>(orientations_.size())) return;
  const int wanted = orientations_[static_cast<std::size_t>(current_ - 1)];
  if (wanted != PrinterOrientation()) {
    SetPrinterOrientation(wanted);
    Relayout();
  }
}

void TImageDispForm::ChangePage(int page) {
  current_ = page;
  ApplyPageOrientation();
  ImagePaintBox->update();
  ShowPagePosition();
}

void TImageDispForm::GoPrevPage() {
  if (total_ > 1 && current_ > 1) {
    NextPage->setEnabled(true);
    ChangePage(current_ - 1);
  }
}

void TImageDispForm::GoNextPage() {
  if (total_ > 1 && current_ < total_) {
    PrevPage->setEnabled(true);
    ChangePage(current_ + 1);
  }
}

void TImageDispForm::GoTopPage() { ChangePage(1); }
void TImageDispForm::GoLastPage() { ChangePage(total_); }

void TImageDispForm::JumpPage() {
  Guarded("ImageDispForm.PgJumpClick", [this] {
    QInputDialog box(this);
    box.setObjectName("InputBox");
    box.setWindowTitle("ページ指定");
    box.setLabelText("表示したいページ番号を入力してください");
    box.setTextValue("1");
    const TModalResult answer = ExecModal(box, [&] {
      ShownDialog shown;
      shown.kind = "InputBox";
      shown.caption = box.windowTitle().toStdString();
      shown.lines = {box.labelText().toStdString()};
      return shown;
    });
    if (answer != mrOk) return;
    const int page = StrToIntDef(Trim(box.textValue().toStdString()), 1);
    if (page >= 1 && page <= total_) ChangePage(page);
  });
  ShowAllPreviews();
}

void TImageDispForm::SetZoom(int zoom) {
  zoom_ = zoom;
  DispZoom->setText(QString::fromStdString(Format("%d%s", zoom_ * 10, "%")));
  Relayout();
}

void TImageDispForm::ZoomIn() {
  if (zoom_ < 20) SetZoom(zoom_ + 1);
}

void TImageDispForm::ZoomOut() {
  if (zoom_ > 5) SetZoom(zoom_ - 1);
}

void TImageDispForm::Zoom100() {
  if (zoom_ != 10) SetZoom(10);
}

void TImageDispForm::ZoomJust() {
  if (const int fit = FittingZoom()) SetZoom(fit);
}

// ---- printing, printer setup and margins ------------------------------------------------------------------

void TImageDispForm::PrintAll() {
  if (!Settings().Permit) return;
  TQBOXDEF& s = Settings();
  const std::string data = s.DataFile, form = s.FormFile;
  const bool prnDlg = s.PrnDlg;
  const int orientation = PrinterOrientation();
  const int page = current_;
  Guarded("PREVIEW.印刷", [&] {
    s.DataFile = dataFile_;
    s.FormFile = formFile_;
    s.PrnDlg = true;
    s.Zoom = 10;
    s.PrinterNum = Vdb().CurrentIndex();
    StartPrint(s);
  });
  current_ = page;
  s.DataFile = data;
  s.FormFile = form;
  s.PrnDlg = prnDlg;
  SetPrinterOrientation(orientation);
  ShowPagePosition();
  Relayout();
}

void TImageDispForm::PrintCurrentPage() {
  if (!Settings().Permit) return;
  TQBOXDEF& s = Settings();
  const std::string data = s.DataFile, form = s.FormFile;
  Guarded("PREVIEW.現在のページ", [&] {
    s.DataFile = dataFile_;
    s.FormFile = formFile_;
    s.Zoom = 10;
    s.PrinterNum = Vdb().CurrentIndex();
    PrintOnePage(s, current_, PrinterOrientation());
  });
  s.DataFile = data;
  s.FormFile = form;
  Relayout();
}

void TImageDispForm::PrintSetup() {
  Guarded("PREVIEW.ﾌﾟﾘﾝﾀ設定", [this] {
    QPageSetupDialog dialog(&Vdb().Printer(), this);
    dialog.setObjectName("PrinterSetupDialog");
    ExecModal(dialog, [&] {
      ShownDialog shown;
      shown.kind = "TPrinterSetupDialog";
      shown.caption = dialog.windowTitle().toStdString();
      return shown;
    });
  });
  Relayout();
}

void TImageDispForm::Margins() {
  Guarded("PREVIEW.余白設定", [this] {
    TQBOXDEF& s = Settings();
    Tfmyohaku dialog(this);
    dialog.SetTopMargin(s.TopMargin);
    dialog.SetLeftMargin(s.LeftMargin);
    const bool spacing = Vdb().GetPaper() == s.PaperSize;
    dialog.ShowSpacing(spacing);
    if (spacing) {
      dialog.SetVSpacing(s.VRATIO);
      dialog.SetHSpacing(s.HRATIO);
    }
    const TModalResult answer = ExecModal(dialog, [&] {
      ShownDialog shown;
      shown.kind = "Tfmyohaku";
      shown.caption = dialog.windowTitle().toStdString();
      return shown;
    });
    if (answer != mrOk) return;
    s.TopMargin = dialog.TopMargin();
    s.LeftMargin = dialog.LeftMargin();
    if (spacing) {
      s.VRATIO = dialog.VSpacing() == 0 ? 1000 : dialog.VSpacing();
      s.HRATIO = dialog.HSpacing() == 0 ? 1000 : dialog.HSpacing();
    }
    ShowAllPreviews();
    Relayout();
  });
}

// ---- opening ------------------------------------------------------------------------------------------------

int RunPreview(TQBOXDEF& def) {
  auto& engine = QuillboxEngine();
  if (!engine.Ready) return 0;
  try {
    TQBOXDEF& s = engine.Settings;
    if (&def != &s) s = def;
    if (!Exists(s.DataFile)) {
      ErrorBox("<" + s.DataFile + "> が見つかりません。");
      return 0;
    }
    const std::string form = Trim(s.FormFile);
    if (!form.empty() && !Exists(form)) {
      ErrorBox("<" + form + "> が見つかりません。");
      return 0;
    }
    TVDBPrint& vdb = *engine.Vdb;
    vdb.SelectPrinter(s.PrinterNum);
    if (s.Copies < 1 || s.Copies > 99) s.Copies = 1;
    if (s.Zoom < 5 || s.Zoom > 20) s.Zoom = 10;
    if (s.PaperSize == 0) s.PaperSize = vdb.GetPaperNumber(s.PaperName, s.PaperLength, 9, s.PaperWidth);
    std::unique_ptr<TImageDispForm> window;
    for (int attempt = 1; !window; ++attempt) {
      try {
        window = std::make_unique<TImageDispForm>(QApplication::activeWindow());
      } catch (const std::exception& error) {
        if (attempt > 5) throw;
        QuillboxLogError("PREVIEW.CreateForm", Format("%d: %s", attempt, error.what()));
      }
    }
    TImageDispForm& w = *window;
    if (!s.Title.empty()) w.setWindowTitle(QString::fromStdString(s.Title));
    const bool switches = s.PrevPaperButton || s.NextPaperButton;
    w.PrevPaper->setVisible(switches);
    w.NextPaper->setVisible(switches);
    w.PrevPaper->setEnabled(s.PrevPaperButton);
    w.NextPaper->setEnabled(s.NextPaperButton);
    for (QToolButton* b : {w.PrintButton, w.PrintSetupButton, w.CurrentPage}) b->setEnabled(s.Permit);
    w.CurrentPage->setVisible(s.CurrentPage);
    const int paper = s.OutPutPaper != 0 ? s.OutPutPaper : s.PaperSize;
    if (paper == 256) vdb.SetUserPaperSize(s.PaperLength, s.PaperWidth);
    vdb.SetPaper(paper);
    SetPrinterOrientation(s.Orientation);
    vdb.SetDevMode(s);
    ExecModal(w, [&] {
      ShownDialog shown;
      shown.kind = "TImageDispForm";
      shown.caption = w.windowTitle().toStdString();
      return shown;
    });
    return w.CloseNum();
  } catch (const std::exception& error) {
    QuillboxLogError("PREVIEW.開始", error.what());
    return 0;
  }
}
