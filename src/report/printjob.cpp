#include "report/printjob.h"

#include <cmath>
#include <exception>
#include <filesystem>
#include <optional>

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "platform/rtl/sysutils.h"
#include "platform/vcl/responder.h"
#include "report/engine.h"
#include "report/errorlog.h"
#include "report/formlayer.h"
#include "report/nowprinting.h"
#include "report/printdata.h"
#include "report/renderer.h"
#include "ui/messagebox2.h"

namespace {

void Box(std::uint8_t kind, const std::string& text) {
  TMessage2InfoRec info;
  InitMessage2Info(kind, info);
  info.Lines[0].Text = text;
  ShowMessageBox2(info);
}

bool Exists(const std::string& path) {
  std::error_code ignored;
  return !path.empty() && std::filesystem::is_regular_file(path, ignored);
}

QPageLayout::Orientation OrientationOf(int code) {
  return code == 1 ? QPageLayout::Landscape : QPageLayout::Portrait;
}

struct TRange {
  bool Pages = false;  // the dialog asked for a range of pages
  int First = 1;
  int Last = 1;
};

// The page loop of one run.
class TPageLoop {
 public:
  TPageLoop(TQBOXDEF& s, QPrinter& printer, TRange range, int reportPages, bool dialogCollate)
      : s_(s), printer_(printer), range_(range), reportPages_(reportPages), dialogCollate_(dialogCollate) {}

  void Run(TNowPrintingdlg& window);
  bool Cancel = false;

 private:
  void FormPage(TRecordFile& form, bool& formEnded, int printerPage);

  TQBOXDEF& s_;
  QPrinter& printer_;
  TRange range_;
  int reportPages_;
  bool dialogCollate_;
  TFormTables& forms_ = FormTables();
  std::optional<TPageRenderer> renderer_;
  TRenderTarget target_;
  int formPages_ = 0;
};

void TPageLoop::FormPage(TRecordFile& form, bool& formEnded, int printerPage) {
  TRenderTarget t = target_;
  t.EvenPage = printerPage % 2 == 0;
  formEnded = renderer_->RenderPage("FOM", form, t) || form.AtEnd();
}

void TPageLoop::Run(TNowPrintingdlg& window) {
  auto& vdb = *QuillboxEngine().Vdb;
  const bool printerCollates = (s_.DevModeFields & kDevModeCollate) != 0;
  const bool collate = s_.Collate == 1 || (s_.Copies > 1 && dialogCollate_);
  int copies = 1;
  int pageCopies = 1;  // uncollated copies the loop makes itself
  if (!printerCollates || collate) {
    if (collate) {
      copies = s_.Copies;
      s_.Collate = 0;
      s_.Copies = 1;
      vdb.SetDevMode(s_);
    } else if (s_.Copies > 1 && !printer_.supportsMultipleCopies()) {
      pageCopies = s_.Copies;
      s_.Copies = 1;
      vdb.SetDevMode(s_);
    }
  } else if (s_.ColorMode == 1) {
    vdb.SetDevMode(s_);
  }

  const double units = printer_.resolution() / 254.0;
  printer_.setDocName(QString::fromStdString(s_.DocTitle));
  const std::string formPath = Trim(s_.FormFile);
  if (formPath.empty()) {
    forms_.Version = ReadFormVersion(s_.DataFile);
    forms_.FormPages = 0;
  } else {
    if (!Exists(formPath)) {
      Box(kMsgError, "<" + formPath + "> が見つかりません。");
      return;
    }
    forms_.Version = ReadFormVersion(formPath);
    ReadFormVariables(forms_, formPath, 0, 0, s_);
  }
  if (s_.DataFile.empty()) {
    Box(kMsgError, "印刷ファイルの指定がありません。");
    return;
  }
  if (!Exists(s_.DataFile)) {
    Box(kMsgError, "<" + s_.DataFile + "> が見つかりません。");
    return;
  }

  const std::vector<int> orientations = ScanOrientations(s_.DataFile, s_.Orientation);
  auto orientationOf = [&](int page) {
    return page >= 1 && page <= static_cast<int>(orientations.size()) ? orientations[page - 1] : s_.Orientation;
  };
  const int printerPaper = vdb.GetPaper();
  if (printerPaper == 256)
    vdb.SetUserPaperSize(s_.PaperLength, s_.PaperWidth);
  else
    vdb.ResetUserPaperSize();
  const QRectF printable = printer_.pageLayout().paintRect(QPageLayout::Millimeter);
  double paperW = printable.width() + 20, paperL = printable.height() + 20;
  if (const auto size = PaperSizeOf(printerPaper)) {
    paperW = size->WidthMm;
    paperL = size->LengthMm;
    if (printer_.pageLayout().orientation() == QPageLayout::Landscape) std::swap(paperW, paperL);
  }
  renderer_.emplace(s_, forms_);
  renderer_->OnPrinter = true;
  renderer_->PrinterPaper = printerPaper;
  renderer_->Factors = CrossPaperScale(s_.PaperSize, printerPaper, s_.VRATIO, s_.HRATIO, {});
  renderer_->LeftOrigin = s_.LeftMargin - static_cast<int>(std::lround((paperW - printable.width()) / 2)) * 10;
  renderer_->TopOrigin = s_.TopMargin - static_cast<int>(std::lround((paperL - printable.height()) / 2)) * 10;
  renderer_->PageNumbers = ScanPageNumbers(s_.DataFile, renderer_->TotalPages);

  vdb.SetTTOption(1);
  printer_.setPageOrientation(OrientationOf(orientationOf(range_.First)));
  QPainter painter;
  if (!painter.begin(&printer_)) throw Exception("印刷を開始できません。");
  target_.Painter = &painter;
  target_.PixelsPerInch = printer_.resolution();
  target_.UnitsX = target_.UnitsY = units;
  target_.Zoom = 10;

  TRecordFile data(s_.DataFile);
  std::optional<TRecordFile> form;
  const bool printForm = s_.PrintFom && !formPath.empty();
  if (printForm) form.emplace(formPath);
  formPages_ = std::max(1, forms_.FormPages);
  int printerPage = 1;
  try {
    for (int copy = copies; copy > 0 && !Cancel; --copy) {
      data.Rewind();
      int pageIndex = range_.First;
      int pagesLeft = range_.Pages ? range_.Last - range_.First + 1 : range_.Last;
      window.ShowPage(0);
      bool formEnded = false;
      const int shift = range_.Pages ? range_.First - 1 : 0;
      auto newPage = [&](int orientation) {
        printer_.setPageOrientation(OrientationOf(orientation));
        if (!printer_.newPage()) throw Exception("改ページできません。");
        ++printerPage;
        window.ShowPage(printerPage);
      };
      if (printForm) {
        form->Rewind();
        if (range_.Pages && formPages_ > 1) form->SkipPages((range_.First - 1) % formPages_);
        FormPage(*form, formEnded, printerPage);
      }
      if (range_.Pages) data.SkipPages(range_.First - 1);
      int pagesOnSheet = 0;  // pages drawn since the last copy began
      while (!Cancel) {
        if (pagesLeft <= 0 || (pagesOnSheet > 0 && data.AtEnd())) break;
        --pagesLeft;
        target_.SubForm = SubFormOfPage(printerPage + shift, formPages_);
        target_.EvenPage = printerPage % 2 == 0;
        renderer_->CurrentPage = pageIndex;
        const std::streampos start = data.Tell();
        bool ended = false;
        for (int c = 1; c <= pageCopies; ++c) {
          if (c > 1) {
            newPage(orientationOf(pageIndex));
            data.Seek(start);
          }
          ended = renderer_->RenderPage("DAT", data, target_);
        }
        ++pagesOnSheet;
        const std::string message = renderer_->PendingMessage;
        if (!ended && pagesLeft > 0) {
          if (!message.empty()) Box(kMsgInformation, message);
          newPage(orientationOf(pageIndex + 1));
          if (printForm) {
            if (formEnded) form->Rewind();
            FormPage(*form, formEnded, printerPage);
          }
        }
        ++pageIndex;
        if (ended) break;
      }
      if (!Cancel && !range_.Pages && printForm) {
        while (!formEnded) {
          newPage(orientationOf(pageIndex));
          FormPage(*form, formEnded, printerPage);
        }
      }
      if (copy > 1 && !Cancel) newPage(orientationOf(range_.First));
    }
  } catch (const std::exception& error) {
    QuillboxLogError("PRINT.メイン", error.what());
    Cancel = true;
  }
  if (Cancel) printer_.abort();
  painter.end();
}

bool RunPageLoop(TQBOXDEF& s, TRange range, int reportPages, bool dialogCollate);

}  // namespace

bool RunPrintJob(TQBOXDEF& def) {
  auto& engine = QuillboxEngine();
  TVDBPrint& vdb = *engine.Vdb;
  TQBOXDEF& s = engine.Settings;
  if (&def != &s) {
    s = def;
    vdb.SelectPrinter(s.PrinterNum);
    if (s.PaperSize == 0) s.PaperSize = vdb.GetPaperNumber(s.PaperName, s.PaperLength, 9, s.PaperWidth);
    if ((s.OutPutPaper != 0 ? s.OutPutPaper : s.PaperSize) == 256) vdb.SetUserPaperSize(s.PaperLength, s.PaperWidth);
    vdb.SetPaper(s.OutPutPaper != 0 ? s.OutPutPaper : s.PaperSize);
  } else {
    vdb.SelectPrinter(s.PrinterNum);
  }
  vdb.SetDevMode(def);
  if (s.Copies < 1 || s.Copies > 99) s.Copies = 1;
  if (s.Zoom < 5 || s.Zoom > 15) s.Zoom = 10;
  const int dataPages = CountPages(s.DataFile);
  const std::string formPath = Trim(s.FormFile);
  int formPages = 0;
  if (!formPath.empty()) {
    ReadFormVariables(FormTables(), formPath, 0, 0, s);
    formPages = FormTables().FormPages;
  }
  const int reportPages = ReportPageCount(dataPages, formPages);
  QPrinter& printer = vdb.Printer();
  printer.setPageOrientation(OrientationOf(s.Orientation));
  printer.setCopyCount(s.Copies < 2 ? 1 : s.Copies);

  TRange range{false, 1, reportPages};
  bool dialogCollate = false;
  if (s.PrnDlg) {
    printer.setFromTo(1, reportPages);
    QPrintDialog dialog(&printer);
    dialog.setObjectName("PrintDialog");
    dialog.setMinMax(1, reportPages);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    const TModalResult result = ExecModal(dialog, [&] {
      ShownDialog shown;
      shown.kind = "TStartPrintDlg";
      shown.caption = dialog.windowTitle().toStdString();
      shown.window = &dialog;
      return shown;
    });
    if (result != mrOk) return false;
    if (dialog.printRange() == QAbstractPrintDialog::PageRange && printer.fromPage() > 0) {
      range = {true, printer.fromPage(), std::min(printer.toPage(), reportPages)};
    }
    dialogCollate = printer.collateCopies();
    vdb.GetDevMode(def);
    if (&def != &s) {
      s.Copies = def.Copies;
      s.Collate = def.Collate;
      s.ColorMode = def.ColorMode;
    }
  }
  return RunPageLoop(s, range, reportPages, dialogCollate);
}

namespace {

bool RunPageLoop(TQBOXDEF& s, TRange range, int reportPages, bool dialogCollate) {
  auto& engine = QuillboxEngine();
  QPrinter& printer = engine.Vdb->Printer();
  s.DevModeFields = printer.supportsMultipleCopies() ? kDevModeCollate : 0;
  engine.Settings.DevModeFields = s.DevModeFields;
  TPageLoop loop(s, printer, range, reportPages, dialogCollate);
  TNowPrintingdlg* shown = nullptr;
  TNowPrintingdlg window(
      [&] {
        // Nothing may leave the timer's event handler.
        try {
          loop.Run(*shown);
        } catch (const std::exception& error) {
          QuillboxLogError("PRINT.メイン", error.what());
          loop.Cancel = true;
        }
      },
      loop.Cancel);
  shown = &window;
  window.exec();
  if (loop.Cancel) {
    printer.setPageOrientation(OrientationOf(s.Orientation));
    return false;
  }
  return true;
}

}  // namespace

void PrintOnePage(TQBOXDEF& def, int page, int orientation) {
  auto& engine = QuillboxEngine();
  if (!engine.Ready) return;
  TVDBPrint& vdb = *engine.Vdb;
  TQBOXDEF& s = engine.Settings;
  const QPageLayout::Orientation given = OrientationOf(orientation);
  try {
    vdb.SelectPrinter(def.PrinterNum);
    def.Copies = 1;
    if (&def != &s) {
      s = def;
      s.Copies = 1;
    }
    vdb.SetDevMode(s);
    vdb.Printer().setPageOrientation(given);
    s.Orientation = orientation;
    RunPageLoop(s, TRange{true, page, page}, page, false);
  } catch (const std::exception& error) {
    QuillboxLogError("PRINT.現在のページ", error.what());
  }
  vdb.Printer().setPageOrientation(given);
}
