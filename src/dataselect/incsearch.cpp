#include "dataselect/incsearch.h"

#include <QPoint>
#include <QTimer>

#include <algorithm>

#include "platform/rtl/sysutils.h"
#include "platform/vcl/perfectgrid.h"
#include "ui/xedit.h"

namespace {
constexpr std::size_t kMaxSearchText = 8;
}  // namespace

char IncSearchChar(Word Key) {
  if ((Key >= 48 && Key <= 57) || (Key >= 65 && Key <= 90)) return static_cast<char>(Key);
  if (Key >= 96 && Key <= 105) return static_cast<char>(Key - 48);
  if (Key >= 106 && Key <= 111) return static_cast<char>(Key - 64);
  if ((Key >= 186 && Key <= 187) || (Key >= 192 && Key <= 224)) return static_cast<char>(Key - 128);
  if (Key >= 188 && Key <= 191) return static_cast<char>(Key - 144);
  if (Key >= 225 && Key <= 226) return static_cast<char>(Key - 134);
  return 0;
}

bool IncSearchKeyDown(Word& Key, std::string& Text, TxEdit& Box, QTimer& Timer, const QPoint& At) {
  const char ch = IncSearchChar(Key);
  if (ch == 0) return false;
  Key = 0;
  if (Text.size() >= kMaxSearchText) return true;
  Text += ch;
  Box.move(At);
  Box.setText(QString::fromStdString(Text));
  Box.show();
  Box.raise();
  const int interval = std::min(Timer.interval() + 500, 1000);
  Timer.stop();
  Timer.setInterval(interval);
  Timer.start();
  return true;
}

void IncSearchFinish(TPerfectGrid& Grid, int Column, bool Search, std::string& Text, TxEdit& Box, QTimer& Timer) {
  const int rows = Grid.Rows();
  if (Search && rows > 0 && !Text.empty()) {
    const int row = Grid.Row();
    const int current = row > 0 && row <= rows ? row : 0;
    const std::string text = LowerCase(Text);
    for (int n = 1; n <= rows; ++n) {
      const int r = (current + n - 1) % rows + 1;
      if (Grid.isRowHidden(r - 1)) continue;
      if (LowerCase(Grid.CellText(r, Column)).rfind(text, 0) != 0) continue;
      Grid.SetRow(r);
      Grid.SetCol(0);
      Grid.scrollToItem(Grid.item(r - 1, 0));
      break;
    }
  }
  Timer.stop();
  Timer.setInterval(0);
  Text.clear();
  Box.clear();
  Box.hide();
}
