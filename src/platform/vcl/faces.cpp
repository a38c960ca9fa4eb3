#include "platform/vcl/faces.h"

#include <QFont>
#include <QString>
#include <QStringList>

namespace {

struct TFaceName {
  const char* windows;
  const char* installed;
};

constexpr TFaceName kFaceNames[] = {
    {"ＭＳ ゴシック", "Noto Sans Mono CJK JP"},
    {"ＭＳ Ｐゴシック", "Noto Sans CJK JP"},
    {"MS UI Gothic", "Noto Sans CJK JP"},
    {"System", "Noto Sans CJK JP"},
    {"ＭＳ 明朝", "Noto Serif CJK JP"},
};

}  // namespace

void InstallFaceNames() {
  for (const TFaceName& face : kFaceNames) {
    const QString windows = QString::fromUtf8(face.windows);
    const QString installed = QString::fromUtf8(face.installed);
    if (QFont::substitutes(windows).contains(installed)) continue;
    QFont::insertSubstitution(windows, installed);
  }
}
