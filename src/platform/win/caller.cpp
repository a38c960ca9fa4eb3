#include "platform/win/caller.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sstream>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/win/paths.h"
#include "platform/win/specialfolders.h"

namespace {

// False when the path does not fit into a socket address.
bool MakeAddress(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.data(), path.size());
  return true;
}

}  // namespace

std::string CallerSocketPath(CallerHandle handle) {
  return PathJoin(RuntimeDir(), "veruda-caller-" + std::to_string(handle) + ".sock");
}

bool SendCallerDatagram(CallerHandle handle, const std::string& text) {
  sockaddr_un address;
  if (!MakeAddress(CallerSocketPath(handle), address)) return false;
  int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  ssize_t sent;
  do {
    sent = sendto(fd, text.data(), text.size(), MSG_DONTWAIT | MSG_NOSIGNAL,
                  reinterpret_cast<const sockaddr*>(&address), sizeof address);
  } while (sent < 0 && errno == EINTR);
  close(fd);
  return sent == static_cast<ssize_t>(text.size());
}

bool EnableWindow(CallerHandle handle, bool enable) {
  return SendCallerDatagram(handle, enable ? "ENABLE 1" : "ENABLE 0");
}

bool SetForegroundWindow(CallerHandle handle) { return SendCallerDatagram(handle, "FRONT"); }

bool PostMessage(CallerHandle handle, std::uint32_t msg, std::int64_t wparam, std::int64_t lparam) {
  return SendCallerDatagram(handle, "POST " + std::to_string(msg) + " " + std::to_string(wparam) + " " +
                                        std::to_string(lparam));
}

std::optional<TCallerDatagram> ParseCallerDatagram(const std::string& text) {
  std::istringstream in(text);
  std::string word;
  in >> word;
  TCallerDatagram d{};
  if (word == "FRONT") {
    d.kind = TCallerDatagram::Kind::Front;
  } else if (word == "ENABLE") {
    int flag = -1;
    if (!(in >> flag) || (flag != 0 && flag != 1)) return std::nullopt;
    d.kind = TCallerDatagram::Kind::Enable;
    d.enable = flag == 1;
  } else if (word == "POST") {
    if (!(in >> d.msg >> d.wparam >> d.lparam)) return std::nullopt;
    d.kind = TCallerDatagram::Kind::Post;
  } else {
    return std::nullopt;
  }
  std::string rest;
  if (in >> rest) return std::nullopt;
  return d;
}

TCallerReceiver::~TCallerReceiver() { Close(); }

bool TCallerReceiver::Bind(CallerHandle handle) {
  Close();
  path_ = CallerSocketPath(handle);
  sockaddr_un address;
  if (!MakeAddress(path_, address)) {
    error_ = "socket path too long: " + path_;
    return false;
  }
  int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    error_ = std::strerror(errno);
    return false;
  }
  ForceDirectories(ExtractFileDir(path_));
  unlink(path_.c_str());  // a socket file left by a caller that crashed
  if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    error_ = path_ + ": " + std::strerror(errno);
    close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

std::optional<std::string> TCallerReceiver::Receive(int timeoutMs) {
  if (fd_ < 0) return std::nullopt;
  pollfd p{fd_, POLLIN, 0};
  int ready;
  do {
    ready = poll(&p, 1, timeoutMs);
  } while (ready < 0 && errno == EINTR);
  if (ready <= 0) return std::nullopt;
  char buffer[1024];
  ssize_t n = recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
  if (n < 0) return std::nullopt;
  return std::string(buffer, static_cast<std::size_t>(n));
}

void TCallerReceiver::Close() {
  if (fd_ < 0) return;
  close(fd_);
  fd_ = -1;
  unlink(path_.c_str());
}
