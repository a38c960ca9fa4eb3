// Message-box buttons and kinds as the program's message requests carry them.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "platform/rtl/msgkind.h"
#include "platform/vcl/modalresult.h"

enum TMsgDlgBtn : int {
  mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp
};

// A set of TMsgDlgBtn as a 16-bit value (bit n = member n): 4 is [mbOK], 12 is [mbOK, mbCancel].
using TMsgDlgButtons = std::uint16_t;
constexpr TMsgDlgButtons MsgButtons(std::initializer_list<TMsgDlgBtn> members) {
  TMsgDlgButtons set = 0;
  for (auto m : members) set = static_cast<TMsgDlgButtons>(set | (1u << m));
  return set;
}
constexpr bool HasButton(TMsgDlgButtons set, TMsgDlgBtn b) { return (set >> b) & 1u; }

class QPixmap;
// The desktop's icon for a kind at the given size; a null pixmap for other kinds.
QPixmap MessageKindIcon(int kind, int size);
