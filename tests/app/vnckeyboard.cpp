#include "vnckeyboard.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

namespace apptest {

namespace {

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

}  // namespace

int FreeLoopbackPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = Loopback(0);
  socklen_t length = sizeof address;
  int port = 0;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
    port = ntohs(address.sin_port);
  ::close(fd);
  return port;
}

TVncKeyboard::~TVncKeyboard() {
  if (fd_ >= 0) ::close(fd_);
}

bool TVncKeyboard::ReadAll(void* buffer, std::size_t length) {
  auto* p = static_cast<char*>(buffer);
  while (length > 0) {
    const ssize_t n = ::recv(fd_, p, length, 0);
    if (n <= 0) {
      error_ = "the VNC server closed the connection";
      return false;
    }
    p += n;
    length -= static_cast<std::size_t>(n);
  }
  return true;
}

bool TVncKeyboard::WriteAll(const void* buffer, std::size_t length) {
  const auto* p = static_cast<const char*>(buffer);
  while (length > 0) {
    const ssize_t n = ::send(fd_, p, length, MSG_NOSIGNAL);
    if (n <= 0) {
      error_ = std::string("cannot write to the VNC server: ") + std::strerror(errno);
      return false;
    }
    p += n;
    length -= static_cast<std::size_t>(n);
  }
  return true;
}

bool TVncKeyboard::Connect(int port, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = Loopback(port);
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) break;
    ::close(fd_);
    fd_ = -1;
    if (std::chrono::steady_clock::now() > end) {
      error_ = "no VNC server on port " + std::to_string(port);
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  // ProtocolVersion, the security type (1: none), ClientInit (shared) and
  // ServerInit: width, height, pixel format, name.
  char version[12];
  if (!ReadAll(version, sizeof version)) return false;
  if (std::string(version, 4) != "RFB ") {
    error_ = "not a VNC server";
    return false;
  }
  if (!WriteAll("RFB 003.003\n", 12)) return false;
  unsigned char security[4];
  if (!ReadAll(security, sizeof security)) return false;
  if (security[3] != 1) {
    error_ = "the VNC server asks for a password";
    return false;
  }
  const unsigned char shared = 1;
  if (!WriteAll(&shared, 1)) return false;
  unsigned char init[24];
  if (!ReadAll(init, sizeof init)) return false;
  const std::uint32_t nameLength = (std::uint32_t{init[20]} << 24) | (std::uint32_t{init[21]} << 16) |
                                   (std::uint32_t{init[22]} << 8) | init[23];
  std::vector<char> name(nameLength);
  return nameLength == 0 || ReadAll(name.data(), name.size());
}

bool TVncKeyboard::Key(std::uint32_t keysym) {
  for (const unsigned char down : {1, 0}) {
    const unsigned char event[8] = {4,
                                    down,
                                    0,
                                    0,
                                    static_cast<unsigned char>(keysym >> 24),
                                    static_cast<unsigned char>(keysym >> 16),
                                    static_cast<unsigned char>(keysym >> 8),
                                    static_cast<unsigned char>(keysym)};
    if (!WriteAll(event, sizeof event)) return false;
  }
  // The program reads its events between keys as a person types.
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  return true;
}

bool TVncKeyboard::Type(const std::string& text) {
  for (const char c : text)
    if (!Key(static_cast<unsigned char>(c))) return false;
  return true;
}

}  // namespace apptest
