#include "platform/vcl/responder.h"

#include <QCoreApplication>
#include <QDialog>

namespace {
DialogResponder* g_responder = nullptr;
}

DialogResponder* CurrentDialogResponder() { return g_responder; }
void SetDialogResponder(DialogResponder* responder) { g_responder = responder; }

TModalResult ExecModal(QDialog& dialog, const std::function<ShownDialog()>& describe) {
  DialogResponder* responder = g_responder;
  if (!responder) return dialog.exec();
  dialog.setResult(mrNone);
  dialog.show();
  QCoreApplication::processEvents();
  ShownDialog shown = describe ? describe() : ShownDialog{};
  shown.window = &dialog;
  const TModalResult answer = responder->Respond(shown);
  if (dialog.isVisible()) dialog.done(answer);
  return dialog.result();
}

ScriptedResponder::ScriptedResponder(TModalResult fallback) : fallback_(fallback) {}

ScriptedResponder::~ScriptedResponder() {
  if (installed_ && g_responder == this) g_responder = previous_;
}

void ScriptedResponder::Install() {
  if (installed_) return;
  previous_ = g_responder;
  g_responder = this;
  installed_ = true;
}

ScriptedResponder& ScriptedResponder::Then(TModalResult result) {
  actions_.push_back([result](const ShownDialog&) { return result; });
  return *this;
}

ScriptedResponder& ScriptedResponder::Then(Action action) {
  actions_.push_back(std::move(action));
  return *this;
}

TModalResult ScriptedResponder::Respond(const ShownDialog& shown) {
  shown_.push_back(shown);
  if (actions_.empty()) return fallback_;
  Action action = std::move(actions_.front());
  actions_.pop_front();
  return action(shown);
}
