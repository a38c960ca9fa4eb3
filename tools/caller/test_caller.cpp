// test-caller: plays the calling program's window for the link program.
//
//   test-caller <handle> <message> <value> <program> [<output path>]
//     Binds the caller socket of <handle>, starts <program> with the one
//     argument "<handle>,<message>,<value>,<output path>", prints every datagram
//     it receives, one per line, and ends when the program has ended. Exit code:
//     the close code (last parameter) of the last "POST <message> ..." received,
//     100 when none came, 101 when the socket or the program could not be set up.
//
//   test-caller --listen <handle> [<timeout ms>]
//     Only listens (the test starts the program itself): prints datagrams until a
//     "POST" arrives and exits with its last parameter, or with 100 when the time
//     runs out first.
//
// The program's own output is discarded so that stdout holds only datagrams.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>

#include "platform/win/caller.h"
#include "platform/win/childprocess.h"

namespace {

constexpr int kNoCloseCode = 100;
constexpr int kSetupFailed = 101;

int Usage() {
  std::cerr << "usage: test-caller <handle> <message> <value> <program> [<output path>]\n"
               "       test-caller --listen <handle> [<timeout ms>]\n";
  return kSetupFailed;
}

bool ParseInt64(const std::string& text, std::int64_t& value) {
  char* end = nullptr;
  value = std::strtoll(text.c_str(), &end, 10);
  return !text.empty() && end && *end == '\0';
}

// Prints one datagram; returns its close code when it is a POST of `msg`
// (any message number when msg < 0).
std::optional<int> Record(const std::string& text, std::int64_t msg) {
  std::cout << text << '\n' << std::flush;
  auto d = ParseCallerDatagram(text);
  if (d && d->kind == TCallerDatagram::Kind::Post && (msg < 0 || d->msg == msg))
    return static_cast<int>(d->lparam);
  return std::nullopt;
}

bool Bind(TCallerReceiver& receiver, const std::string& handleText) {
  std::int64_t handle;
  if (!ParseInt64(handleText, handle)) {
    std::cerr << "test-caller: not a handle: " << handleText << '\n';
    return false;
  }
  if (!receiver.Bind(handle)) {
    std::cerr << "test-caller: " << receiver.LastError() << '\n';
    return false;
  }
  std::cerr << "test-caller: listening on " << receiver.Path() << '\n';
  return true;
}

int Listen(int argc, char** argv) {
  if (argc < 3 || argc > 4) return Usage();
  std::int64_t timeoutMs = -1;
  if (argc == 4 && !ParseInt64(argv[3], timeoutMs)) return Usage();
  TCallerReceiver receiver;
  if (!Bind(receiver, argv[2])) return kSetupFailed;
  while (auto text = receiver.Receive(static_cast<int>(timeoutMs))) {
    if (auto code = Record(*text, -1)) return *code;
  }
  return kNoCloseCode;
}

int Run(int argc, char** argv) {
  if (argc < 5 || argc > 6) return Usage();
  std::int64_t msg;
  if (!ParseInt64(argv[2], msg)) return Usage();
  TCallerReceiver receiver;
  if (!Bind(receiver, argv[1])) return kSetupFailed;

  std::string argument = std::string(argv[1]) + "," + argv[2] + "," + argv[3] + "," + (argc == 6 ? argv[5] : "");
  TChildProcess program;
  if (!program.Start(argv[4], {argument})) {
    std::cerr << "test-caller: " << program.LastError() << '\n';
    return kSetupFailed;
  }
  std::optional<int> closeCode;
  bool running = true;
  while (running) {
    running = program.Running();
    // After the end, what the program sent is already queued: drain it.
    while (auto text = receiver.Receive(running ? 50 : 0)) {
      if (auto code = Record(*text, msg)) closeCode = code;
    }
  }
  std::cerr << "test-caller: program ended with " << program.ExitCode() << '\n';
  return closeCode ? *closeCode : kNoCloseCode;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::string(argv[1]) == "--listen") return Listen(argc, argv);
  return Run(argc, argv);
}
