#include "vncuser.h"

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

TVncUser::~TVncUser() {
  if (fd_ >= 0) ::close(fd_);
}

bool TVncUser::ReadAll(void* buffer, std::size_t length) {
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

bool TVncUser::WriteAll(const void* buffer, std::size_t length) {
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

bool TVncUser::Connect(int port, int timeoutMs) {
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
  width_ = (init[0] << 8) | init[1];
  height_ = (init[2] << 8) | init[3];
  const std::uint32_t nameLength = (std::uint32_t{init[20]} << 24) | (std::uint32_t{init[21]} << 16) |
                                   (std::uint32_t{init[22]} << 8) | init[23];
  std::vector<char> name(nameLength);
  if (nameLength > 0 && !ReadAll(name.data(), name.size())) return false;
  // SetPixelFormat: 32 bits, true colour, little-endian 0x00RRGGBB; then
  // SetEncodings: raw only.
  const unsigned char format[20] = {0, 0, 0, 0, 32, 24, 0, 1, 0, 255, 0, 255, 0, 255, 16, 8, 0, 0, 0, 0};
  const unsigned char encodings[8] = {2, 0, 0, 1, 0, 0, 0, 0};
  return WriteAll(format, sizeof format) && WriteAll(encodings, sizeof encodings);
}

bool TVncUser::Screen(std::vector<std::uint32_t>& pixels) {
  // FramebufferUpdateRequest of the whole screen, not incremental.
  const unsigned char request[10] = {3,
                                     0,
                                     0,
                                     0,
                                     0,
                                     0,
                                     static_cast<unsigned char>(width_ >> 8),
                                     static_cast<unsigned char>(width_),
                                     static_cast<unsigned char>(height_ >> 8),
                                     static_cast<unsigned char>(height_)};
  if (!WriteAll(request, sizeof request)) return false;
  pixels.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0);
  for (;;) {
    unsigned char type = 0;
    if (!ReadAll(&type, 1)) return false;
    if (type == 2) continue;  // bell
    if (type != 0) {
      error_ = "unexpected VNC message " + std::to_string(type);
      return false;
    }
    unsigned char head[3];
    if (!ReadAll(head, sizeof head)) return false;
    const int rectangles = (head[1] << 8) | head[2];
    for (int r = 0; r < rectangles; ++r) {
      unsigned char rect[12];
      if (!ReadAll(rect, sizeof rect)) return false;
      const int x = (rect[0] << 8) | rect[1], y = (rect[2] << 8) | rect[3];
      const int w = (rect[4] << 8) | rect[5], h = (rect[6] << 8) | rect[7];
      std::vector<unsigned char> data(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4);
      if (!ReadAll(data.data(), data.size())) return false;
      for (int row = 0; row < h && y + row < height_; ++row)
        for (int col = 0; col < w && x + col < width_; ++col) {
          const unsigned char* p = &data[(static_cast<std::size_t>(row) * w + col) * 4];
          pixels[static_cast<std::size_t>(y + row) * width_ + x + col] =
              (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
        }
    }
    return true;
  }
}

bool TVncUser::Key(std::uint32_t keysym) {
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

bool TVncUser::Type(const std::string& text) {
  for (const char c : text)
    if (!Key(static_cast<unsigned char>(c))) return false;
  return true;
}

}  // namespace apptest
