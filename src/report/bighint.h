// TBigHintWindow: the program's hint window, its text drawn in the "System"
// face. The report engine installs it when it starts, so that every hint of
// the program is drawn in that face from then on.
#pragma once

#include <QFont>

class TBigHintWindow {
 public:
  // The hint face: "System" (mapped to the installed face like every other
  // Windows face name) at the point size hints have.
  static QFont HintFont();
  // Makes it the application's hint window: the hint face is set and a hint
  // on screen is taken down, so the next hint is drawn in the new face. The
  // user's hint setting is left as it is. Safe to call more than once.
  static void Install();
};
