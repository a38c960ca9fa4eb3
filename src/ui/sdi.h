// TBSDI: the base form of every dialog and process window of the framework.
// It gives each window the same behaviour: operation history, size memory per
// operator, zoom by the operator's font size, Esc and F12 keys, long hints of
// the focused control in a hint memo, placement, the standard grid colours and
// the set-up of period selectors and date edits from the connected data set.
//
// A descendant builds its controls in its constructor, changes the switches
// after the base construction and sets Initialized at the end. Handlers that
// descendants override call the base handler first. A form that frees itself
// on close (KeepOnClose off, close action caFree) must be created with new.
//
// For its descendants the form keeps a saved screen value (the text the
// operator last left in it, stored under the form's name) and its own
// transaction on the data set's database, on which the statements and
// procedures it creates run.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QDialog>
#include <QFont>
#include <QPointer>

#include "platform/fb/ibdatabase.h"
#include "platform/vcl/keys.h"
#include "platform/vcl/modalresult.h"
#include "platform/vcl/responder.h"
#include "ui/messagebox2.h"

class KeyPreview;
class TGamenKeyValue;
class TIBQuery;
class TIBStoredProc;
class TPerfectGrid;
class TxPlButton;
struct TFontDesc;

enum TFormBorderStyle { bsSizeable, bsDialog };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

// Design layout of one grid or list, grown to the grid's columns.
struct TGridLayoutRec {
  int DefHeight = 0;
  int DefWidth = 0;
  std::vector<int> ColWidths;  // from the first fixed column on
};

// Design layout of one control, captured on the first show.
struct TLayoutRec {
  QPointer<QWidget> Control;
  int Left = 0, Top = 0, Width = 0, Height = 0;
  int Tag = 0;
  int ItemHeight = 0;
  std::unique_ptr<TGridLayoutRec> Grid;
};

QFont FontFromDesc(const TFontDesc& desc, const QFont& fallback);

class TBSDI : public QDialog {
  Q_OBJECT
 public:
  TBSDI(QWidget* owner, TFormBorderStyle borderStyle, const QString& name);
  ~TBSDI() override;

  TFormBorderStyle BorderStyle() const { return borderStyle_; }

  // Switches (defaults: all on except NotifyMenu and KeepOnClose; a dialog-style form starts with all off).
  bool NotifyMenu = false;
  bool KeepHistory = true;
  bool AllowOtherProcess = true;
  bool SaveFormSize = true;
  bool ReloadAccInf = true;
  bool NotifyActivate = true;
  bool KeepOnClose = false;

  QPointer<QWidget> OwnerWnd;
  std::string OwnerCaption;
  int ActivateArg = 0;
  bool Initialized = false;
  bool Shown = false;
  bool FirstPlacement = true;
  QPointer<QWidget> HintMemo;
  QPointer<TxPlButton> F12Button;
  bool FocusF12Button = true;
  Word LastKey = 0;
  TMessage2InfoRec MsgInfo;
  std::vector<std::string> StringList1, StringList2, StringList3;
  bool CloudData = false;
  int PeriodSlot = 0;
  QFont FontCopy;
  int ZoomPercent = 100;
  int PixelsPerInch = 96;

  // The saved screen value: its store (null while there is no data module)
  // and the text that FukugenGamenValue reads and HozonGamenValue saves.
  std::unique_ptr<TGamenKeyValue> GamenValue;
  std::string ScreenValue;
  // The form's own transaction on the data set's database (read_committed,
  // rec_version, nowait); bound to it when the data module exists.
  TIBTransaction IBTransactionDAT;

  // Layout block.
  int DesignWidth = 0, DesignHeight = 0;
  int MinWidth = 0, MinHeight = 0;
  int DesignFontHeight = 0;
  const std::vector<TLayoutRec>& LayoutRecords() const { return layout_; }

  // Handlers (descendants call the base first).
  virtual void FormShow();
  virtual void FormClose(TCloseAction& action);
  virtual void FormKeyUp(Word& key, Qt::KeyboardModifiers shift);
  virtual void FormActivate();

  void SetOwnerWindow(QWidget* wnd);
  void PlaceForm(int offsetX, int offsetY, int areaWidth, int areaHeight, int mode);
  static void ShowFocusHint(QWidget* control, QWidget* target);
  void PutProcRirekiInfo(int mode);
  void GetFormSize();
  void PutFormSize();
  static void ColorPerfectGrid(TPerfectGrid* grid, int mode);
  void SetupKikanPanels();
  void LayoutShift();
  void CaptureLayout();
  void ApplyZoom();
  void FreeLayout();
  static int MonthToPeriodSlot(int month);

  // ScreenValue := the value saved for the operator under the form's name.
  void FukugenGamenValue();
  // Saves ScreenValue under the form's name.
  void HozonGamenValue();
  // A new query (empty statement) or stored procedure `Name` on the data
  // set's database in the form's IBTransactionDAT; the caller owns it and
  // frees it before the form. Null when it cannot be made (no data module).
  std::unique_ptr<TIBQuery> CreateDatQuery();
  std::unique_ptr<TIBStoredProc> CreateDatProc(const std::string& Name);

  // Modal run through the responder seam; 1 OK, 2 Cancel or closed.
  TModalResult ShowModal();
  // Closes the form (modal result 2 for a modal run).
  void Close();
  void done(int result) override;
  void reject() override;

 protected:
  // What a responder sees of this window.
  virtual ShownDialog Describe() const;
  // Shows "%s画面の初期化に失敗しました。…" and closes when Initialized is false.
  bool CheckInitialized();

  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Creation of the saved-value store and the binding of IBTransactionDAT.
  void CreateDataComponents();

  TFormBorderStyle borderStyle_;
  KeyPreview* keyPreview_ = nullptr;
  std::vector<TLayoutRec> layout_;
  int layoutComponentCount_ = -1;
  bool kikanSetUp_ = false;
  bool closing_ = false;
};
