// TBSDI: the first show's layout steps: shift for thick frames, capture of
// the design layout, minimum size and zoom by the operator's font size.
#include <cmath>

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QTableWidget>
#include <QTreeWidget>

#include "core/globals.h"
#include "platform/vcl/align.h"
#include "platform/vcl/dpi.h"
#include "platform/vcl/perfectgrid.h"
#include "ui/formstore.h"
#include "ui/plbutton.h"
#include "ui/sdi.h"

namespace {

bool IsPanel(const QWidget* w) { return w->inherits("QFrame") || QString(w->metaObject()->className()) == "QWidget"; }

bool InsideExemptPanel(const QWidget* w, const QWidget* form) {
  for (const QWidget* p = w->parentWidget(); p && p != form; p = p->parentWidget())
    if (p->objectName() == "pnlSwkInA" || p->objectName() == "pnlChoseiNasi") return true;
  return false;
}

void ScaleFont(QWidget* w, double ratio) {
  if (!w->testAttribute(Qt::WA_SetFont)) return;  // inherits the (scaled) parent font
  QFont f = w->font();
  if (f.pixelSize() > 0) f.setPixelSize(std::max(1, static_cast<int>(std::lround(f.pixelSize() * ratio))));
  else f.setPointSizeF(f.pointSizeF() * ratio);
  w->setFont(f);
}

}  // namespace

void TBSDI::LayoutShift() {
  if (BorderStyle() == bsDialog) return;
  const int shift = SystemDef.FrameHeight > 4 ? 2 * (SystemDef.FrameHeight - 4) : 0;
  if (shift == 0) return;
  for (QWidget* w : findChildren<QWidget*>()) {
    const bool leftPanel = IsPanel(w) && GetAlign(w) == alLeft;
    if (leftPanel) {
      if (w->x() == 0) w->resize(w->width() - shift, w->height());
      else if (GetAnchors(w) == akAll) w->resize(w->width() + shift, w->height());
      continue;
    }
    if (qobject_cast<QGroupBox*>(w->parentWidget()) || InsideExemptPanel(w, this)) continue;
    if (GetAlign(w) != alNone) continue;
    w->move(std::max(0, w->x() - shift), w->y());
  }
}

void TBSDI::FreeLayout() {
  layout_.clear();
  layoutComponentCount_ = -1;
}

void TBSDI::CaptureLayout() {
  const QList<QWidget*> controls = findChildren<QWidget*>();
  if (layoutComponentCount_ != static_cast<int>(controls.size())) FreeLayout();
  layoutComponentCount_ = static_cast<int>(controls.size());
  if (DesignWidth == 0) DesignWidth = width();
  if (DesignHeight == 0) DesignHeight = height();
  if (SaveFormSize && BorderStyle() != bsDialog) {
    if (MinWidth == 0) MinWidth = static_cast<int>(width() * 0.6);
    if (MinHeight == 0) MinHeight = static_cast<int>(height() * 0.6);
  } else {
    MinWidth = MinHeight = 0;
  }
  setMinimumSize(MinWidth, MinHeight);
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (PixelsPerInch <= 96 && screen) setMaximumSize(screen->size());
  else setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  DesignFontHeight = std::abs(font().pixelSize() > 0 ? font().pixelSize() : font().pointSize());
  const bool facility = FormDataStore() && FormDataStore()->FacilityLabels();
  layout_.clear();
  layout_.reserve(static_cast<std::size_t>(controls.size()));
  for (QWidget* w : controls) {
    if (SystemDef.ShowHint == 0) w->installEventFilter(this);  // no tool tips
    TLayoutRec rec;
    rec.Control = w;
    rec.Left = w->x();
    rec.Top = w->y();
    rec.Width = w->width();
    rec.Height = w->height();
    rec.Tag = w->property("Tag").toInt();
    if (auto* combo = qobject_cast<QComboBox*>(w)) rec.ItemHeight = combo->view() ? combo->view()->sizeHintForRow(0) : 0;
    if (facility) {
      if (auto* label = qobject_cast<QLabel*>(w))
        label->setText(label->text().replace("本・支店", "施設").replace("支店", "施設"));
    }
    // Grids and lists: a record that grows with their columns.
    if (auto* grid = qobject_cast<TPerfectGrid*>(w)) {
      const int d = SystemDef.MainFont.Size == 10 ? ScreenDpi() : 96;
      grid->resize(ScaleByDpi(grid->width(), d, ScreenDpi()), ScaleByDpi(grid->height(), d, ScreenDpi()));
      rec.Width = grid->width();
      rec.Height = grid->height();
      rec.Grid = std::make_unique<TGridLayoutRec>();
      rec.Grid->DefHeight = grid->DefHeight();
      rec.Grid->DefWidth = grid->DefWidth();
      for (int c = -grid->FixedLefts(); c < grid->Cols(); ++c) rec.Grid->ColWidths.push_back(grid->ColumnWidth(c));
    } else if (auto* table = qobject_cast<QTableWidget*>(w)) {
      rec.Grid = std::make_unique<TGridLayoutRec>();
      rec.Grid->DefHeight = table->verticalHeader()->defaultSectionSize();
      for (int c = 0; c < table->columnCount(); ++c) rec.Grid->ColWidths.push_back(table->columnWidth(c));
    } else if (auto* list = qobject_cast<QTreeWidget*>(w)) {
      rec.Grid = std::make_unique<TGridLayoutRec>();
      for (int c = 0; c < list->columnCount(); ++c) rec.Grid->ColWidths.push_back(list->columnWidth(c));
    }
    layout_.push_back(std::move(rec));
  }
}

void TBSDI::ApplyZoom() {
  setUpdatesEnabled(false);
  const int screenDpi = ScreenDpi();
  const int d = SystemDef.MainFont.Size == 10 ? screenDpi : 96;
  int zoom = 100;
  const int a = MulDiv(SystemDef.SysFont.Size, screenDpi, 96);
  const int b = MulDiv(SystemDef.MainFont.Size, screenDpi, 96);
  if (a > 0 && b > 0) zoom = static_cast<int>(static_cast<double>(a) / b * 100);
  PixelsPerInch = static_cast<int>(std::lround(static_cast<double>(d) * zoom / 100));
  ZoomPercent = zoom;
  // The whole window: positions, sizes and fonts of every control.
  if (PixelsPerInch != d) {
    const double ratio = static_cast<double>(PixelsPerInch) / d;
    for (const auto& rec : layout_) {
      QWidget* w = rec.Control;
      if (!w) continue;
      w->setGeometry(static_cast<int>(w->x() * ratio), static_cast<int>(w->y() * ratio),
                     static_cast<int>(w->width() * ratio), static_cast<int>(w->height() * ratio));
      ScaleAnchors(w, PixelsPerInch, d);
      ScaleFont(w, ratio);
    }
    ScaleFont(this, ratio);
    setMinimumSize(static_cast<int>(MinWidth * ratio), static_cast<int>(MinHeight * ratio));
    resize(static_cast<int>(width() * ratio), static_cast<int>(height() * ratio));
  }
  const int p = PixelsPerInch;
  auto s = [p](int v) { return ScaleByDpi(v, p, 96); };
  for (const auto& rec : layout_) {
    QWidget* w = rec.Control;
    if (!w) continue;
    if (auto* grid = qobject_cast<TPerfectGrid*>(w)) {
      grid->setFont(FontFromDesc(SystemDef.SysFont, grid->font()));
      grid->SetDefHeight(s(grid->DefHeight()));
      grid->SetDefWidth(s(grid->DefWidth()));
      for (int c = -grid->FixedLefts(); c < grid->Cols(); ++c) grid->SetColumnWidth(c, s(grid->ColumnWidth(c)));
    } else if (auto* table = qobject_cast<QTableWidget*>(w); table && rec.Grid) {
      table->verticalHeader()->setDefaultSectionSize(s(rec.Grid->DefHeight));
      for (int c = 0; c < table->columnCount() && c < static_cast<int>(rec.Grid->ColWidths.size()); ++c)
        table->setColumnWidth(c, s(rec.Grid->ColWidths[static_cast<std::size_t>(c)]));
    } else if (auto* list = qobject_cast<QTreeWidget*>(w); list && rec.Grid) {
      for (int c = 0; c < list->columnCount() && c < static_cast<int>(rec.Grid->ColWidths.size()); ++c)
        list->setColumnWidth(c, s(rec.Grid->ColWidths[static_cast<std::size_t>(c)]));
    } else if (auto* button = qobject_cast<TxPlButton*>(w); button && !button->Image().HasPicture()) {
      button->SetCaptionVertCenter(true);
      button->Image().SetVertCenter(true);
    }
  }
  if (SystemDef.SysFont.Size > 0 || !SystemDef.SysFont.Name.empty()) setFont(FontFromDesc(SystemDef.SysFont, font()));
  setUpdatesEnabled(true);
}

bool TBSDI::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ToolTip && SystemDef.ShowHint == 0) return true;
  return QDialog::eventFilter(watched, event);
}
