// TImageDispForm: the preview window. It shows a report page by page, drawn
// by the page renderer at the chosen zoom on a paper of the printer's size,
// and lets the user page, zoom, scroll, correct the margins, choose a printer
// and print all pages or the current one. StartPreview (engine.h) opens it
// modally; the close number tells the caller how it was left.
#pragma once

#include <string>
#include <vector>

#include <QDialog>

#include "report/qboxdef.h"

class QLabel;
class QPushButton;
class QScrollArea;
class QFrame;
class QToolButton;
class TPreviewPaintBox;

class TImageDispForm : public QDialog {
  Q_OBJECT
 public:
  explicit TImageDispForm(QWidget* owner = nullptr);
  ~TImageDispForm() override;

  QToolButton *PrintButton, *ZoomInButton, *ZoomOutButton, *PrintSetupButton, *PrevPage, *NextPage, *TopPage,
      *LastPage, *ImageOut, *PgJump, *CurrentPage, *ZoomJustButton, *SpeedButton3, *SB_MARGIN, *CloseButton,
      *ImageOpen, *ImageOpenCancel, *PrevPaper, *NextPaper;
  QLabel* WherePage = nullptr;
  QLabel* DispZoom = nullptr;
  QScrollArea* ImagePaintScrollBox = nullptr;
  QFrame* PaperPanel = nullptr;
  TPreviewPaintBox* ImagePaintBox = nullptr;

  int CloseNum() const { return closeNum_; }
  int Page() const { return current_; }
  int TotalPages() const { return total_; }
  int Zoom() const { return zoom_; }
  int PixelsPerInch() const { return pixelsPerInch_; }
  // The files shown (a bundle opened in the preview replaces them).
  const std::string& DataFileShown() const { return dataFile_; }
  const std::string& FormFileShown() const { return formFile_; }

  // Draws the current page onto a painter whose device has `pixelsPerTenth`
  // pixels per tenth of a millimetre (the paint box's own painting).
  void DrawPage(class QPainter& painter, double pixelsPerTenth);
  // The buttons' actions.
  void GoPrevPage();
  void GoNextPage();
  void GoTopPage();
  void GoLastPage();
  void JumpPage();
  void ZoomIn();
  void ZoomOut();
  void Zoom100();
  void ZoomJust();
  void PrintAll();
  void PrintCurrentPage();
  void PrintSetup();
  void Margins();
  // Print bundles (previewbundle.cpp).
  void SaveBundle();
  void OpenBundle();
  void CancelOpenBundle();
  // Saves the bundle under `path` (the save dialog's answer).
  void SaveBundleAs(const std::string& path);
  // Shows the bundle `path` (the open dialog's answer).
  void OpenBundleFile(const std::string& path);

  // Redoes the layout: paper panel and paint box at the zoom, margin origins.
  void Relayout();

 protected:
  void showEvent(class QShowEvent* event) override;
  void resizeEvent(class QResizeEvent* event) override;
  void changeEvent(class QEvent* event) override;

 private:
  void FirstActivation();
  void ShowPagePosition();
  void ChangePage(int page);
  void ApplyPageOrientation();
  void SetZoom(int zoom);
  // The zoom (20 down to 5) at which the paper fits the scroll box, or 0.
  int FittingZoom() const;
  void ComputePageCounts();
  void ReadFormDefinitions();
  void ComputeFactors();
  void ShowAllPreviews();

  int closeNum_ = 0;
  bool activated_ = false;
  bool painting_ = false;
  int current_ = 1;
  int total_ = 1;
  int zoom_ = 10;
  int pixelsPerInch_ = 96;
  std::vector<int> orientations_;
  std::string dataFile_, formFile_;
  int leftOrigin_ = 0, topOrigin_ = 0;
  int factorV_ = 0, factorH_ = 0;
  // The report's own settings, kept while a bundle is shown.
  struct TSavedView {
    int PaperSize = 9, OutPutPaper = 9, Orientation = 0, TopMargin = 0, LeftMargin = 0;
    int NetColor1 = 0, NetColor2 = 0, UserColor1 = 0, UserColor2 = 0;
    bool PrintFom = true;
  } saved_;
};

// Opens the preview for `def` (installed as the engine's StartPreviewEntry).
int RunPreview(TQBOXDEF& def);
