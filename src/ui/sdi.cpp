// TBSDI: creation, showing, closing, keys, hints, placement, grid colours and
// the set-up of period selectors and date edits.
#include "ui/sdi.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>

#include "core/globals.h"
#include "platform/rtl/eras.h"
#include "dbaccess/screenvalues.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/application.h"
#include "platform/vcl/focus.h"
#include "platform/vcl/hint.h"
#include "platform/vcl/keypreview.h"
#include "platform/vcl/perfectgrid.h"
#include "ui/dateedit.h"
#include "ui/formstore.h"
#include "ui/kikancalc.h"
#include "ui/kikanpanel.h"
#include "ui/plbutton.h"

QFont FontFromDesc(const TFontDesc& desc, const QFont& fallback) {
  QFont f = fallback;
  if (!desc.Name.empty()) f.setFamilies({QString::fromStdString(desc.Name), "Noto Sans CJK JP"});
  if (desc.Size > 0) f.setPointSize(desc.Size);
  f.setBold(desc.Style & 1);
  f.setItalic(desc.Style & 2);
  return f;
}

TBSDI::TBSDI(QWidget* owner, TFormBorderStyle borderStyle, const QString& name)
    : QDialog(owner), borderStyle_(borderStyle) {
  setObjectName(name);
  QFont f;
  f.setFamilies({"ＭＳ Ｐゴシック", "Noto Sans CJK JP"});
  f.setPixelSize(13);
  setFont(f);
  resize(656, 415);
  if (borderStyle == bsDialog)
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  // Switches: a dialog-style form starts with all of them off.
  const bool sizeable = borderStyle != bsDialog;
  KeepHistory = AllowOtherProcess = SaveFormSize = ReloadAccInf = NotifyActivate = sizeable;
  FontCopy = FontFromDesc(SystemDef.SysFont, font());
  if (TFormDataStore* store = FormDataStore()) CloudData = store->IsCloudData();
  CreateDataComponents();
  SetOwnerWindow(this);
  keyPreview_ = new KeyPreview(this, nullptr, [this](Word& key, Qt::KeyboardModifiers shift) { FormKeyUp(key, shift); });
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (HintMemo && now && now->window() == this) ShowFocusHint(now, HintMemo);
  });
  SetupKikanPanels();
}

TBSDI::~TBSDI() = default;

void TBSDI::SetOwnerWindow(QWidget* wnd) {
  OwnerWnd = wnd;
  OwnerCaption = wnd ? wnd->windowTitle().toStdString() : std::string();
  // A window cannot own itself: only a real owner changes the relation.
  if (wnd && wnd != this && wnd->window() != this) setParent(wnd->window(), windowFlags());
}

void TBSDI::ShowFocusHint(QWidget* control, QWidget* target) {
  if (!control || !target) return;
  const std::string hint = GetHint(control);
  const QString text = QString::fromStdString(GetLongHint(hint));
  if (auto* plain = qobject_cast<QPlainTextEdit*>(target)) plain->setPlainText(text);
  else if (auto* rich = qobject_cast<QTextEdit*>(target)) rich->setPlainText(text);
  else if (auto* line = qobject_cast<QLineEdit*>(target)) line->setText(text);
  else if (auto* label = qobject_cast<QLabel*>(target)) label->setText(text);
}

int TBSDI::MonthToPeriodSlot(int month) { return kikan::MonthToPeriodSlot(month); }

void TBSDI::SetupKikanPanels() {
  if (auto* p16 = findChild<TxKikanPanel16*>("KikanPanel16")) {
    p16->SetKikan(AccInf.SIME, AccInf.KISHU, AccInf.KIMATU, AccInf.KAISI);
    PeriodSlot = MonthToPeriodSlot(AccInf.KAISINO);
    p16->SetStno(PeriodSlot);
    p16->SetEdno(p16->KikanMove() ? 15 : p16->Stno());
  }
  if (auto* p12 = findChild<TxKikanPanel12*>("KikanPanel12")) {
    p12->SetKikan(AccInf.SIME, AccInf.KISHU, AccInf.KIMATU, AccInf.KAISI);
    p12->SetStno(AccInf.KAISINO - 1);
    p12->SetEdno(p12->KikanMove() ? 11 : AccInf.KAISINO - 1);
  }
  for (const char* name : {"KikanPanel4", "KikanPanel2"})
    if (auto* p4 = findChild<TxKikanPanel4*>(name)) p4->SetKikan(AccInf.SIME, AccInf.KISHU, AccInf.KIMATU, AccInf.KAISI);
  const bool wareki = SystemDef.WarekiDisplay == 1;
  for (auto* edit : findChildren<TCorvexExDateEdit*>()) {
    edit->SetEditGengo(wareki);
    edit->SetGengo(wareki ? rsWareki : rsSeireki);
    edit->SetEraTable(GengoTable);
  }
  kikanSetUp_ = true;
}

void TBSDI::ColorPerfectGrid(TPerfectGrid* grid, int mode) {
  if (!grid) return;
  grid->SetFixedBackColor(SystemDef.ColHeaderColor);
  grid->SetFixedBorderColor(0x808080);
  grid->SetBackColor(SystemDef.ClientColor);
  grid->SetOddRowBackColor(SystemDef.ClientColor);
  grid->SetFocusBorderColor(SystemDef.ActiveColor);
  grid->SetBorderColor(0x808080);
  grid->SetThruBorderColor(0x008000);
  grid->SetDisabledColor(0x808080);
  grid->SetVoidAreaColor(clGrayText);
  if (OemKind == 1 || OemKind == 2) grid->SetThruBorderColor(0x246BFF);
  if (mode != 1) {
    grid->SetBackColor(SystemDef.ClientColor1);
    grid->SetOddRowBackColor(SystemDef.ClientColor2);
  }
}

void TBSDI::PlaceForm(int offsetX, int offsetY, int areaWidth, int areaHeight, int mode) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect work = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  const int right = work.right() + 1, bottom = work.bottom() + 1;
  if (!FirstPlacement && x() > 0 && x() < right && y() > 0 && y() < bottom) return;
  const QWidget* main = MainForm();
  const bool mainShowing = main && main->isVisible();
  int px = 0, py = 0;
  bool centre = true;
  if (mode == 1 && mainShowing) {
    px = main->x() + 2 * SystemDef.FrameHeight + offsetX + areaWidth / 2 - width() / 2;
    py = main->y() + 2 * SystemDef.FrameHeight + 2 * SystemDef.CaptionHeight + SystemDef.MenuHeight + offsetY +
         areaHeight / 2 - height() / 2;
    centre = false;
  } else if (mode == 2 && mainShowing) {
    px = main->x() + (main->width() - width()) / 2;
    py = main->y() + (main->height() - height()) / 2;
    centre = false;
  }
  if (centre) {
    px = work.x() + (work.width() - width()) / 2;
    py = work.y() + (work.height() - height()) / 2;
  }
  px = std::max(0, px);
  py = std::max(0, py);
  if (px + width() > right) px = right - width();
  if (py + height() > bottom) py = bottom - height();
  if (borderStyle_ == bsDialog) {
    px = std::max(0, px);
    py = std::max(0, py);
  }
  move(px, py);
}

void TBSDI::FormShow() {
  if (Shown) return;
  try {
    if (KeepHistory) PutProcRirekiInfo(0);
  } catch (const std::exception&) {
    return;  // reported; the first-show work is tried again at the next showing
  }
  if (ReloadAccInf) {
    if (TFormDataStore* store = FormDataStore()) store->ReloadAccInf();
  }
  if (!kikanSetUp_) SetupKikanPanels();
  LayoutShift();
  CaptureLayout();
  ApplyZoom();
  GetFormSize();
  Shown = true;
}

bool TBSDI::CheckInitialized() {
  if (Initialized) return true;
  TMessage2InfoRec info;
  InitMessage2Info(kMsgError, info);
  info.Lines[0].Text = Format("%s画面の初期化に失敗しました。", windowTitle().toStdString());
  info.Lines[1].Text = "処理を終了します。";
  QTimer::singleShot(0, this, [this, info]() mutable {
    ShowMessageBox2(info);
    Close();
  });
  return false;
}

void TBSDI::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
  FlushInputMessages();
  if (MenuRequestProc) {
    if (NotifyMenu && MenuRequestProc(10, "") > 0) NotifyMenu = false;
    if (NotifyMenu) {
      MenuRequestProc(11, "PelorinMenu");
      MenuRequestProc(4, "");
    }
  }
  QApplication::restoreOverrideCursor();
}

void TBSDI::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TBSDI::FormActivate() {
  if (FormActivateProc) FormActivateProc(NotifyActivate, ActivateArg != 0);
}

void TBSDI::FormKeyUp(Word& key, Qt::KeyboardModifiers shift) {
  if (!AnyShiftKey(shift)) {
    if (key == VK_ESCAPE) {
      if (borderStyle_ == bsDialog) Close();
    } else if (key == VK_F12) {
      if (borderStyle_ == bsDialog) {
        TxPlButton* b = F12Button;
        if (b && b->isVisible() && b->isEnabled() && b->OnClick) {
          if (FocusF12Button) b->setFocus();
          b->OnClick(b);
          key = 0;
        }
      } else {
        Close();
      }
    }
  }
  LastKey = key;
}

void TBSDI::keyPressEvent(QKeyEvent* event) {
  // Esc acts on release (FormKeyUp); the press neither closes nor reaches the owner.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TBSDI::FormClose(TCloseAction& action) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    if (SaveFormSize) PutFormSize();
  } catch (const std::exception&) {
    // the window size is simply not kept; the close goes on
  }
  try {
    if (KeepHistory) PutProcRirekiInfo(1);
  } catch (const std::exception&) {
    // reported; the close goes on
  }
  QApplication::restoreOverrideCursor();
  action = KeepOnClose ? action : caFree;
}

void TBSDI::done(int result) {
  if (closing_ || !isVisible()) {
    QDialog::done(result);
    return;
  }
  closing_ = true;
  TCloseAction action = caHide;
  FormClose(action);
  closing_ = false;
  if (action == caNone) return;
  QDialog::done(result);
  if (action == caFree) deleteLater();
}

void TBSDI::reject() { done(mrCancel); }

void TBSDI::Close() { done(mrCancel); }

void TBSDI::closeEvent(QCloseEvent* event) {
  if (isVisible()) done(mrCancel);
  event->accept();
}

ShownDialog TBSDI::Describe() const {
  ShownDialog shown;
  shown.kind = objectName().toStdString();
  shown.caption = windowTitle().toStdString();
  return shown;
}

TModalResult TBSDI::ShowModal() {
  const TModalResult r = ExecModal(*this, [this] { return Describe(); });
  return r == QDialog::Rejected ? mrCancel : r;
}
