#include "tcpproxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace dmtest {

TcpRelay::TcpRelay(int targetPort) : targetPort_(targetPort) {
  listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
  int one = 1;
  ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::listen(listener_, 16);
  socklen_t length = sizeof address;
  ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  acceptThread_ = std::thread([this] { AcceptLoop(); });
}

TcpRelay::~TcpRelay() {
  stopping_ = true;
  StopListening();
  CutConnections();
  if (acceptThread_.joinable()) acceptThread_.join();
  for (std::thread& pump : pumps_)
    if (pump.joinable()) pump.join();
}

void TcpRelay::AcceptLoop() {
  for (;;) {
    pollfd p{listener_, POLLIN, 0};
    if (::poll(&p, 1, 50) < 0 || stopping_) return;
    std::lock_guard<std::mutex> lock(mutex_);
    if (listener_ < 0) return;
    if (!(p.revents & POLLIN)) continue;
    const int client = ::accept(listener_, nullptr, nullptr);
    if (client < 0) continue;
    const int server = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    target.sin_port = htons(static_cast<uint16_t>(targetPort_));
    if (::connect(server, reinterpret_cast<sockaddr*>(&target), sizeof target) != 0) {
      ::close(client);
      ::close(server);
      continue;
    }
    sockets_.push_back(client);
    sockets_.push_back(server);
    pumps_.emplace_back([this, client, server] { Pump(client, server); });
  }
}

void TcpRelay::Pump(int client, int server) {
  char buffer[16384];
  for (;;) {
    pollfd p[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
    if (::poll(p, 2, 50) < 0) return;
    for (int i = 0; i < 2; ++i) {
      if (p[i].revents & (POLLERR | POLLHUP | POLLNVAL)) return;
      if (!(p[i].revents & POLLIN)) continue;
      const ssize_t n = ::read(p[i].fd, buffer, sizeof buffer);
      if (n <= 0) return;
      if (::send(p[1 - i].fd, buffer, static_cast<size_t>(n), MSG_NOSIGNAL) != n) return;
    }
  }
}

void TcpRelay::CutConnections() {
  std::lock_guard<std::mutex> lock(mutex_);
  for (int s : sockets_) ::shutdown(s, SHUT_RDWR);
  sockets_.clear();
}

void TcpRelay::StopListening() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (listener_ >= 0) {
    ::close(listener_);
    listener_ = -1;
  }
}

}  // namespace dmtest

#include <fcntl.h>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>

#include <cstring>

namespace dmtest {

namespace {

bool SetLoopbackUp(int control, bool up) {
  ifreq request{};
  std::strcpy(request.ifr_name, "lo");
  if (::ioctl(control, SIOCGIFFLAGS, &request) != 0) return false;
  request.ifr_flags = static_cast<short>(up ? request.ifr_flags | IFF_UP : request.ifr_flags & ~IFF_UP);
  return ::ioctl(control, SIOCSIFFLAGS, &request) == 0;
}

// Relays between two sockets until either side ends.
void PumpBoth(int a, int b) {
  char buffer[16384];
  for (;;) {
    pollfd p[2] = {{a, POLLIN, 0}, {b, POLLIN, 0}};
    if (::poll(p, 2, 50) < 0) return;
    for (int i = 0; i < 2; ++i) {
      if (p[i].revents & (POLLERR | POLLHUP | POLLNVAL)) return;
      if (!(p[i].revents & POLLIN)) continue;
      const ssize_t n = ::read(p[i].fd, buffer, sizeof buffer);
      if (n <= 0) return;
      if (::send(p[1 - i].fd, buffer, static_cast<size_t>(n), MSG_NOSIGNAL) != n) return;
    }
  }
}

}  // namespace

SilentRelay::SilentRelay(int targetPort) : targetPort_(targetPort) {
  // A thread of its own makes the namespace, so that this thread's stays.
  std::thread maker([this] {
    if (::unshare(CLONE_NEWNET) != 0) return;
    namespace_ = ::open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
    control_ = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (namespace_ < 0 || control_ < 0 || !SetLoopbackUp(control_, true)) return;
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(listener_, 16) != 0)
      return;
    socklen_t length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
  });
  maker.join();
  if (port_ == 0) return;
  relay_ = std::make_unique<int>(1);
  acceptThread_ = std::thread([this] { AcceptLoop(); });
}

SilentRelay::~SilentRelay() {
  stopping_ = true;
  if (acceptThread_.joinable()) acceptThread_.join();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (int s : sockets_) ::shutdown(s, SHUT_RDWR);
  }
  for (std::thread& pump : pumps_)
    if (pump.joinable()) pump.join();
  for (int s : sockets_) ::close(s);
  for (int fd : {listener_, control_, namespace_})
    if (fd >= 0) ::close(fd);
}

void SilentRelay::AcceptLoop() {
  while (!stopping_) {
    pollfd p{listener_, POLLIN, 0};
    if (::poll(&p, 1, 50) <= 0 || !(p.revents & POLLIN)) continue;
    const int client = ::accept(listener_, nullptr, nullptr);
    if (client < 0) continue;
    // This thread stays in the computer's own network: the server is there.
    const int server = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    target.sin_port = htons(static_cast<uint16_t>(targetPort_));
    if (::connect(server, reinterpret_cast<sockaddr*>(&target), sizeof target) != 0) {
      ::close(client);
      ::close(server);
      continue;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    sockets_.push_back(client);
    sockets_.push_back(server);
    pumps_.emplace_back([client, server] { PumpBoth(client, server); });
  }
}

void SilentRelay::GoSilent() {
  if (control_ >= 0) SetLoopbackUp(control_, false);
}

SilentRelay::Inside::Inside(const SilentRelay& relay) {
  home_ = ::open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
  if (relay.namespace_ >= 0) ::setns(relay.namespace_, CLONE_NEWNET);
}

SilentRelay::Inside::~Inside() {
  if (home_ < 0) return;
  ::setns(home_, CLONE_NEWNET);
  ::close(home_);
}

}  // namespace dmtest
