#include "ui/pasteguard.h"

#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QWidget>

namespace {

class PasteGuardFilter : public QObject {
 public:
  PasteGuardFilter(QObject* parent, std::function<bool()> active) : QObject(parent), active_(std::move(active)) {}

  bool eventFilter(QObject*, QEvent* event) override {
    if (!active_ || !active_()) return false;
    switch (event->type()) {
      case QEvent::ContextMenu: return true;
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease: {
        const auto button = static_cast<QMouseEvent*>(event)->button();
        return button == Qt::RightButton || button == Qt::MiddleButton;
      }
      case QEvent::ShortcutOverride:
      case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool paste = key->matches(QKeySequence::Paste) ||
                           (key->key() == Qt::Key_Insert && key->modifiers() == Qt::ShiftModifier);
        return paste;
      }
      default: return false;
    }
  }

 private:
  std::function<bool()> active_;
};

}  // namespace

void InstallPasteGuard(QWidget* edit, std::function<bool()> active) {
  if (edit) edit->installEventFilter(new PasteGuardFilter(edit, std::move(active)));
}
