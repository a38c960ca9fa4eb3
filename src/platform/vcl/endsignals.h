// The program's end on SIGTERM, SIGINT and SIGHUP. A signal only notes itself
// in a pipe; the event loop reads it and calls the program's end on the
// user-interface thread, where the program ends as if its main window were
// closed.
//
// The Firebird client installs handlers for SIGINT and SIGTERM when the first
// database is attached. When a handler was there before, the client passes
// the signals on to it and leaves the process alone; without one it shuts its
// connections down and the process goes on. So the handlers are installed
// before any database is attached, and TakeBackEndSignals puts them back in
// front after an attach.
#pragma once

#include <functional>

// Installs the handlers; `onEnd` runs on the user-interface thread (from the
// event loop) once for each signal received. A QCoreApplication must exist.
// A second call replaces `onEnd`.
void InstallEndSignals(std::function<void(int signal)> onEnd);
// Puts the handlers back where another handler took their place.
void TakeBackEndSignals();
// The default handling of the three signals again; `onEnd` is dropped.
void RemoveEndSignals();
// Whether the handler of `signal` is the program's own.
bool EndSignalHandled(int signal);
