// The Windows face names that the windows ask for resolve to the faces
// installed here.
#include <gtest/gtest.h>

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>

#include "platform/vcl/application.h"

TEST(Faces, WindowsNamesResolveToInstalledFaces) {
  EnsureApplication();
  struct Case {
    const char* windows;
    const char* installed;
    bool fixedPitch;
  } cases[] = {
      {"ＭＳ ゴシック", "Noto Sans Mono CJK JP", true},
      {"ＭＳ Ｐゴシック", "Noto Sans CJK JP", false},
      {"MS UI Gothic", "Noto Sans CJK JP", false},
      {"System", "Noto Sans CJK JP", false},
      {"ＭＳ 明朝", "Noto Serif CJK JP", false},
  };
  for (const Case& c : cases) {
    const QFont font(QString::fromUtf8(c.windows));
    EXPECT_EQ(QFontInfo(font).family().toStdString(), c.installed) << c.windows;
    // Fixed pitch: every half-width character as wide as any other, a
    // full-width one twice as wide.
    const QFontMetrics metrics(font);
    const int half = metrics.horizontalAdvance(QChar('i'));
    const bool fixed = metrics.horizontalAdvance(QChar('W')) == half &&
                       metrics.horizontalAdvance(QString::fromUtf8("会")) == 2 * half;
    EXPECT_EQ(fixed, c.fixedPitch) << c.windows;
  }
}
