// The responder seam: where a dialog would run its modal loop, an installed
// responder answers instead. It sees what the dialog shows (kind, caption,
// lines, buttons and the live window, which it may drive) and returns the
// modal result; nothing waits for a person. Without a responder the modal
// loop runs as usual.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/vcl/modalresult.h"

class QDialog;

struct ShownDialog {
  std::string kind;                  // message kind ("警告", "エラー", ...) or the dialog's class
  std::string caption;
  std::vector<std::string> lines;    // lines of text as shown (with their colours in `colors`)
  std::vector<int> colors;           // one TColor per line
  std::vector<std::string> buttons;  // captions of the visible buttons, left to right
  QDialog* window = nullptr;         // the dialog, shown while the responder runs (valid only then)
};

class DialogResponder {
 public:
  virtual ~DialogResponder() = default;
  // The modal result. The responder may also end the dialog itself (by
  // clicking one of its buttons); then the dialog's own result counts.
  virtual TModalResult Respond(const ShownDialog& shown) = 0;
};

// The installed responder (none by default).
DialogResponder* CurrentDialogResponder();
void SetDialogResponder(DialogResponder* responder);

// Runs `dialog` modally (or through the responder) and returns its modal result.
// `describe` is called after the dialog is on screen, so it sees the final texts.
TModalResult ExecModal(QDialog& dialog, const std::function<ShownDialog()>& describe);

// A responder for tests: records every dialog and answers from a queue of
// scripted actions (a fixed result or a function of the shown dialog); when
// the queue is empty it answers `fallback`.
class ScriptedResponder : public DialogResponder {
 public:
  using Action = std::function<TModalResult(const ShownDialog&)>;
  explicit ScriptedResponder(TModalResult fallback = mrCancel);
  ~ScriptedResponder() override;  // uninstalls itself when installed

  void Install();
  ScriptedResponder& Then(TModalResult result);
  ScriptedResponder& Then(Action action);

  TModalResult Respond(const ShownDialog& shown) override;
  const std::vector<ShownDialog>& Shown() const { return shown_; }
  void Clear() { shown_.clear(); }

 private:
  TModalResult fallback_;
  std::deque<Action> actions_;
  std::vector<ShownDialog> shown_;
  DialogResponder* previous_ = nullptr;
  bool installed_ = false;
};
