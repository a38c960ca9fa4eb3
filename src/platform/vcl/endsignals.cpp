#include "platform/vcl/endsignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

int g_pipe[2] = {-1, -1};
std::function<void(int)> g_onEnd;
QPointer<QSocketNotifier> g_notifier;

void NoteSignal(int signal) {
  const int saved = errno;
  const unsigned char byte = static_cast<unsigned char>(signal);
  if (g_pipe[1] >= 0) (void)!::write(g_pipe[1], &byte, 1);
  errno = saved;
}

void SetHandler(int signal) {
  struct sigaction action {};
  action.sa_handler = NoteSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(signal, &action, nullptr);
}

void ReadSignals() {
  unsigned char bytes[16];
  for (;;) {
    const ssize_t n = ::read(g_pipe[0], bytes, sizeof bytes);
    if (n <= 0) break;
    for (ssize_t i = 0; i < n; ++i)
      if (g_onEnd) g_onEnd(bytes[i]);
  }
}

}  // namespace

void InstallEndSignals(std::function<void(int signal)> onEnd) {
  g_onEnd = std::move(onEnd);
  if (g_pipe[0] < 0 && ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) g_pipe[0] = g_pipe[1] = -1;
  if (g_pipe[0] >= 0 && !g_notifier) {
    g_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(g_notifier.data(), &QSocketNotifier::activated, [] { ReadSignals(); });
  }
  for (int signal : kSignals) SetHandler(signal);
}

void TakeBackEndSignals() {
  if (!g_onEnd) return;
  for (int signal : kSignals)
    if (!EndSignalHandled(signal)) SetHandler(signal);
}

void RemoveEndSignals() {
  for (int signal : kSignals) ::signal(signal, SIG_DFL);
  g_onEnd = nullptr;
}

bool EndSignalHandled(int signal) {
  struct sigaction current {};
  ::sigaction(signal, nullptr, &current);
  return (current.sa_flags & SA_SIGINFO) == 0 && current.sa_handler == NoteSignal;
}
