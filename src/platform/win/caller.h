// The caller channel. A program that starts this one passes a "window handle"
// on its command line; here that handle names a Unix-domain datagram socket in
// the runtime folder, "<RuntimeDir()>/veruda-caller-<handle>.sock". What the
// program did to the caller's window becomes one text datagram (ASCII, no line
// end) on that socket:
//   "ENABLE 1" / "ENABLE 0"              enable or disable the caller's window
//   "FRONT"                              bring the caller's window to the front
//   "POST <msg> <wparam> <lparam>"       post window message <msg> (decimal
//                                        numbers) with its two parameters
// Sending never blocks and never throws: a missing socket or a caller that has
// gone reports false.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

using CallerHandle = std::int64_t;

// Path of the socket that a handle names.
std::string CallerSocketPath(CallerHandle handle);

bool EnableWindow(CallerHandle handle, bool enable);
bool SetForegroundWindow(CallerHandle handle);
bool PostMessage(CallerHandle handle, std::uint32_t msg, std::int64_t wparam, std::int64_t lparam);
// Sends one datagram as it is.
bool SendCallerDatagram(CallerHandle handle, const std::string& text);

// The caller's side: binds the socket of a handle (replacing a stale socket file)
// and receives datagrams. The socket file is removed on destruction.
class TCallerReceiver {
 public:
  TCallerReceiver() = default;
  ~TCallerReceiver();
  TCallerReceiver(const TCallerReceiver&) = delete;
  TCallerReceiver& operator=(const TCallerReceiver&) = delete;

  // False (with a reason in LastError()) when the socket cannot be bound.
  bool Bind(CallerHandle handle);
  bool IsBound() const { return fd_ >= 0; }
  const std::string& Path() const { return path_; }
  const std::string& LastError() const { return error_; }
  // Waits up to timeoutMs (0 = just look, negative = forever) for one datagram.
  std::optional<std::string> Receive(int timeoutMs);
  void Close();

 private:
  int fd_ = -1;
  std::string path_;
  std::string error_;
};

// One parsed datagram; nothing for a text of another form.
struct TCallerDatagram {
  enum class Kind { Enable, Front, Post } kind;
  bool enable = false;        // Enable
  std::uint32_t msg = 0;      // Post
  std::int64_t wparam = 0;    // Post
  std::int64_t lparam = 0;    // Post
};
std::optional<TCallerDatagram> ParseCallerDatagram(const std::string& text);
