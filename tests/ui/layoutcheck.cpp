#include "layoutcheck.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QWidget>

#include <cstdlib>
#include <filesystem>

namespace layoutcheck {

namespace {

std::string NameOf(const QWidget* w) {
  if (!w->objectName().isEmpty()) return w->objectName().toStdString();
  if (auto* b = qobject_cast<const QAbstractButton*>(w)) return "button \"" + b->text().toStdString() + "\"";
  if (auto* l = qobject_cast<const QLabel*>(w)) return "label \"" + l->text().left(20).toStdString() + "\"";
  return w->metaObject()->className();
}

// Controls a person reads or presses (an empty label shows nothing);
// containers are checked through them.
bool IsControl(const QWidget* w) {
  if (auto* l = qobject_cast<const QLabel*>(w)) return !l->text().isEmpty() || !l->pixmap().isNull();
  return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QPlainTextEdit*>(w);
}

void Check(QWidget* parent, std::vector<std::string>& faults) {
  std::vector<QWidget*> shown;
  for (QObject* o : parent->children()) {
    auto* w = qobject_cast<QWidget*>(o);
    if (!w || w->isWindow() || !w->isVisibleTo(parent->window())) continue;
    shown.push_back(w);
    if (!parent->rect().contains(w->geometry()) && IsControl(w))
      faults.push_back(NameOf(w) + " sticks out of " + NameOf(parent));
    if (auto* l = qobject_cast<QLabel*>(w); l && !l->wordWrap() && !l->text().isEmpty() && l->pixmap().isNull()) {
      const QFontMetrics m(l->font());
      const QRect need = m.boundingRect(QRect(0, 0, 10000, 10000), static_cast<int>(l->alignment()), l->text());
      if (need.width() > l->contentsRect().width() + 1 || m.height() > l->contentsRect().height() + 2)
        faults.push_back(NameOf(w) + " is cut");
    }
    if (auto* memo = qobject_cast<QPlainTextEdit*>(w);
        memo && memo->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff) {
      const int lines = memo->document()->lineCount();
      const int lineHeight = QFontMetrics(memo->font()).lineSpacing();
      const int room = memo->viewport()->height();
      if (lines * lineHeight > room + 2) faults.push_back(NameOf(w) + " cuts its lines");
    }
    Check(w, faults);
  }
  for (std::size_t i = 0; i < shown.size(); ++i)
    for (std::size_t j = i + 1; j < shown.size(); ++j)
      if (IsControl(shown[i]) && IsControl(shown[j]) && shown[i]->geometry().intersects(shown[j]->geometry()))
        faults.push_back(NameOf(shown[i]) + " overlaps " + NameOf(shown[j]));
}

}  // namespace

void SaveShot(QWidget* window, const std::string& name) {
  const char* bin = std::getenv("PROJECT_BINARY_DIR");
  const std::filesystem::path dir = std::filesystem::path(bin ? bin : ".") / "screenshots";
  std::filesystem::create_directories(dir);
  QApplication::processEvents();
  window->grab().save(QString::fromStdString((dir / (name + ".png")).string()), "PNG");
}

std::vector<std::string> LayoutFaults(QWidget* window) {
  std::vector<std::string> faults;
  Check(window, faults);
  return faults;
}

}  // namespace layoutcheck
