#include "platform/fb/netguard.h"

#include <dirent.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

// The open descriptors of this process that are sockets, with their inodes.
template <typename Visit>
void ForEachSocket(Visit visit) {
  DIR* dir = ::opendir("/proc/self/fd");
  if (dir == nullptr) return;
  const int own = ::dirfd(dir);
  while (const dirent* entry = ::readdir(dir)) {
    char* end = nullptr;
    const long fd = std::strtol(entry->d_name, &end, 10);
    if (end == entry->d_name || *end != 0 || fd == own) continue;
    char target[64];
    const ssize_t n = ::readlinkat(own, entry->d_name, target, sizeof target - 1);
    if (n <= 0) continue;
    target[n] = 0;
    const std::string link(target);
    if (link.rfind("socket:[", 0) != 0) continue;
    visit(static_cast<int>(fd), static_cast<ino_t>(std::strtoull(link.c_str() + 8, nullptr, 10)));
  }
  ::closedir(dir);
}

bool IsTcp(int fd) {
  int type = 0;
  socklen_t length = sizeof type;
  if (::getsockopt(fd, SOL_SOCKET, SO_TYPE, &type, &length) != 0 || type != SOCK_STREAM) return false;
  sockaddr_storage address{};
  length = sizeof address;
  if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) return false;
  return address.ss_family == AF_INET || address.ss_family == AF_INET6;
}

void SetInt(int fd, int level, int option, int value) { ::setsockopt(fd, level, option, &value, sizeof value); }

}  // namespace

TNewSocketGuard::TNewSocketGuard() {
  ForEachSocket([&](int, ino_t inode) { before_.insert(inode); });
}

int TNewSocketGuard::Guard() const {
  const int silence = std::max(3, FbNetTimeouts.SilenceSeconds);
  int guarded = 0;
  ForEachSocket([&](int fd, ino_t inode) {
    if (before_.count(inode) != 0 || !IsTcp(fd)) return;
    // Quiet for half the time: probes, a third of the rest apart, three of them.
    SetInt(fd, SOL_SOCKET, SO_KEEPALIVE, 1);
    SetInt(fd, IPPROTO_TCP, TCP_KEEPIDLE, silence / 2);
    SetInt(fd, IPPROTO_TCP, TCP_KEEPINTVL, std::max(1, (silence - silence / 2) / 3));
    SetInt(fd, IPPROTO_TCP, TCP_KEEPCNT, 3);
    // Data sent and not acknowledged.
    SetInt(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, silence * 1000);
    ++guarded;
  });
  return guarded;
}
