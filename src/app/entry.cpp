#include "app/entry.h"

#include <QApplication>

#include <functional>

#include "link/mainwindow.h"
#include "platform/vcl/endsignals.h"
#include "platform/vcl/faces.h"
#include "platform/vcl/translations.h"
#include "platform/win/namedmutex.h"
#include "report/bighint.h"
#include "ui/coreservices.h"

namespace {

struct TRefusal {
  const char* mutex;
  const char* text;
};

constexpr TRefusal kRefusals[] = {
    {"PELORIN000", "コルベクス財務が起動しています。同時に起動することは出来ません。"},
    {"PELORIN_TOOLS", "コルベクス財務ツールが起動しています。同時に起動することは出来ません。"},
};

constexpr const char* kOwnMutex = "VERUDA_RENDO";
constexpr const char* kTitle = "連動ﾃﾞｰﾀの作成";

void Refuse(const char* text) { ShowTextBox(kMsgInformation, text, MsgButtons({mbOK}), kTitle); }

// The program's signal handling for the whole run; the default handling again
// when it ends.
struct TEndSignals {
  explicit TEndSignals(std::function<void(int)> onEnd) { InstallEndSignals(std::move(onEnd)); }
  ~TEndSignals() { RemoveEndSignals(); }
};

}  // namespace

int RunLinkProgram(const std::vector<std::string>& Args) {
  InstallFrameworkServices();
  InstallFaceNames();
  TBigHintWindow::Install();  // every hint of the program in the "System" face
  InstallQtTranslations();
  // Before any database is attached, so that the Firebird client leaves the
  // signals to the program. Until the main window runs, a signal ends the
  // program at once.
  TForm1* running = nullptr;
  TEndSignals endSignals([&running](int) {
    if (running) running->EndOnSignal();
    else QCoreApplication::exit(1);
  });
  for (const TRefusal& refusal : kRefusals) {
    if (MutexExists(refusal.mutex)) {
      Refuse(refusal.text);
      return 1;
    }
  }
  // Testing and creating in one step: of two copies started together only
  // one gets the name.
  std::string lockError;
  std::unique_ptr<TNamedMutex> own = CreateNamedMutex(kOwnMutex, &lockError);
  if (!own && !lockError.empty()) {
    // No other copy runs: the runtime folder cannot hold the lock.
    ShowTextBox(kMsgError, lockError + "\rアプリケーションを終了します。", MsgButtons({mbOK}));
    return 1;
  }
  if (!own) {
    Refuse("アプリケーションは既に起動しています。");
    return 1;
  }
  QApplication::setApplicationDisplayName(QString::fromUtf8(kTitle));

  TForm1 form(Args);
  if (!form.Created()) return 1;
  if (!form.InitApplication()) {
    QCoreApplication::processEvents();
    return 1;
  }
  QCoreApplication::processEvents();
  QApplication::restoreOverrideCursor();
  running = &form;
  form.show();
  // The message loop ends when the main window has closed (its close road).
  QApplication::exec();
  running = nullptr;
  return form.ExitStatus();
}
