// The parts that the data-selection dialog and the shared-server selection
// dialog build alike: the bottom bar with the hint memo and the keys ESC,
// F1 to F8 and F12; the list grid with its columns, sort kinds and selection
// by Enter and double click; and the
// incremental-search box with its timer. Dialog is either dialog class; the
// parts call its handlers (ESCClick, FKeyClick, F12Click, IncSerchTimerTimer).
#pragma once

#include <QPlainTextEdit>
#include <QTimer>

#include <cstddef>
#include <cstdint>

#include "platform/vcl/dpi.h"
#include "platform/vcl/keys.h"
#include "core/settings.h"
#include "platform/vcl/perfectgrid.h"
#include "ui/plbutton.h"
#include "ui/xedit.h"

inline constexpr const char* kListEscCaption = "ESC:ｷｬﾝｾﾙ";

// One column of a list: header, width at 96 dots per inch, alignment, kind.
struct TListColumn {
  const char* header;
  int width;
  Qt::Alignment align;
  TPerfectGrid::TCellKind kind;
};

inline constexpr Qt::Alignment kListLeft = Qt::AlignLeft | Qt::AlignVCenter;
inline constexpr Qt::Alignment kListRight = Qt::AlignRight | Qt::AlignVCenter;
inline constexpr Qt::Alignment kListCentre = Qt::AlignHCenter | Qt::AlignVCenter;

// Gives the grid the columns of the table, the first one fixed.
template <std::size_t N>
void SetUpListColumns(TPerfectGrid& Grid, const TListColumn (&Columns)[N]) {
  Grid.SetFixedLefts(1);
  Grid.SetCols(static_cast<int>(N));
  Grid.SetColumnWidth(-1, 0);
  for (std::size_t c = 0; c < N; ++c) {
    const int col = static_cast<int>(c);
    Grid.SetColumnHeader(col, Columns[c].header);
    Grid.SetColumnWidth(col, Columns[c].width);
    Grid.SetColumnAlignment(col, Columns[c].align);
    Grid.SetColumnKind(col, Columns[c].kind);
  }
}

// The list object's sort kind of a grid column: code 7, name 2, fiscal term
// 3, period 4, folder 5, version 6, any other column 1 (number).
inline std::uint8_t ListSortKindOf(std::int32_t Column) {
  switch (Column) {
    case 1: return 7;
    case 3: return 2;
    case 4: return 3;
    case 5: return 4;
    case 6: return 5;
    case 7: return 6;
    default: return 1;
  }
}

// The list grid on Parent with its cell and key handlers; Enter and a double
// click choose the current row (F12).
template <class Dialog>
void BuildListGrid(Dialog& D, QWidget* Parent) {
  D.PerfectGrid1 = new TPerfectGrid(Parent);
  D.PerfectGrid1->setObjectName("PerfectGrid1");
  D.PerfectGrid1->setGeometry(Px(16), Px(64), Px(961), Px(368));
  D.PerfectGrid1->installEventFilter(&D);
  D.PerfectGrid1->OnCellClick = [&D](int r, int c) { D.PerfectGrid1CellClick(r, c); };
  D.PerfectGrid1->OnCellGotFocus = [&D](int r, int c) { D.PerfectGrid1CellGotFocus(r, c); };
  D.PerfectGrid1->OnCellLostFocus = [&D](int r, int c) { D.PerfectGrid1CellLostFocus(r, c); };
  D.PerfectGrid1->OnKeyDown = [&D](Word& k, Qt::KeyboardModifiers s) { D.PerfectGrid1KeyDown(k, s); };
  D.PerfectGrid1->OnKeyPress = [&D](char16_t& k) {
    if (k != 13) return;
    k = 0;
    if (D.PerfectGrid1->Rows() > 0 && D.HasCurrentRow()) D.F12Click();
  };
  D.PerfectGrid1->OnDblClick = [&D] {
    if (D.PerfectGrid1->Rows() > 0 && D.HasCurrentRow()) D.F12Click();
  };
}

// The hint memo and the key buttons on the bottom panel Panel.
template <class Dialog>
void BuildListKeyBar(Dialog& D, QWidget* Panel) {
  D.HintArea = new QPlainTextEdit(Panel);
  D.HintArea->setObjectName("HintArea");
  D.HintArea->setReadOnly(true);
  // Room for the four lines of the longest hint in the faces used here.
  D.HintArea->document()->setDocumentMargin(2);
  D.HintArea->setGeometry(Px(16), Px(6), Px(961), Px(84));
  D.HintMemo = D.HintArea;
  static const char* const names[] = {"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8"};
  D.ESC = NewPlButton(Panel, "ESC", kListEscCaption, 16, 94, 90, 26);
  D.ESC->OnClick = [&D](QObject*) { D.ESCClick(); };
  for (int i = 1; i <= 8; ++i) {
    D.FKeys[static_cast<std::size_t>(i)] = NewPlButton(Panel, names[i - 1], FKeyCaptions[i], 16 + 96 * i, 94, 90, 26);
    D.FKeys[static_cast<std::size_t>(i)]->OnClick = [&D, i](QObject*) { D.FKeyClick(i); };
  }
  D.F12 = NewPlButton(Panel, "F12", "F12:選択", 887, 94, 90, 26);
  D.F12->SetModalResult(mrNone);
  D.F12->OnClick = [&D](QObject*) { D.F12Click(); };
  D.F12Button = D.F12;
}

// The hidden incremental-search box on Parent and the search timer.
template <class Dialog>
void BuildIncSearchBox(Dialog& D, QWidget* Parent) {
  D.txtIncSerch = new TxEdit(Parent);
  D.txtIncSerch->setObjectName("txtIncSerch");
  D.txtIncSerch->setReadOnly(true);
  D.txtIncSerch->setMaxLength(8);
  D.txtIncSerch->setStyleSheet("QLineEdit { color: white; font-weight: bold; background: palette(highlight); }");
  D.txtIncSerch->setFocusPolicy(Qt::NoFocus);
  D.txtIncSerch->hide();
  D.IncSerchTimer = new QTimer(&D);
  D.IncSerchTimer->setInterval(0);
  QObject::connect(D.IncSerchTimer, &QTimer::timeout, &D, [&D] { D.IncSerchTimerTimer(); });
}
