// A person in front of a program that shows its windows on Qt's VNC platform
// (QT_QPA_PLATFORM=vnc:port=N): connects to its server on 127.0.0.1, looks at
// the screen and presses keys through the remote-frame-buffer protocol
// (version 3.3, no security).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace apptest {

// A TCP port on 127.0.0.1 that nothing listens on just now.
int FreeLoopbackPort();

class TVncUser {
 public:
  TVncUser() = default;
  ~TVncUser();
  TVncUser(const TVncUser&) = delete;
  TVncUser& operator=(const TVncUser&) = delete;

  // Connects and completes the handshake, retrying until the server listens
  // or timeoutMs has passed; false with LastError() otherwise.
  bool Connect(int port, int timeoutMs);
  // Presses and releases one key (an X keysym: 0x20-0x7e for the characters
  // themselves, kTab, kF12...).
  bool Key(std::uint32_t keysym);
  // Types the characters of an ASCII text.
  bool Type(const std::string& text);
  // The whole screen as 0xRRGGBB pixels, row by row (Width() x Height()).
  bool Screen(std::vector<std::uint32_t>& pixels);
  int Width() const { return width_; }
  int Height() const { return height_; }
  const std::string& LastError() const { return error_; }

  static constexpr std::uint32_t kTab = 0xff09;
  static constexpr std::uint32_t kReturn = 0xff0d;
  static constexpr std::uint32_t kEscape = 0xff1b;
  static constexpr std::uint32_t kF12 = 0xffc9;

 private:
  bool ReadAll(void* buffer, std::size_t length);
  bool WriteAll(const void* buffer, std::size_t length);
  int fd_ = -1;
  int width_ = 0, height_ = 0;
  std::string error_;
};

}  // namespace apptest
