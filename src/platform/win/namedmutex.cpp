#include "platform/win/namedmutex.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

#include "platform/win/paths.h"
#include "platform/win/specialfolders.h"

namespace {

int OpenLockFile(const std::string& path, bool create) {
  const int flags = O_CLOEXEC | O_NOCTTY;
  int fd = open(path.c_str(), O_RDWR | flags);
  // A lock file made by another user may be read-only for us; flock works on it all the same.
  if (fd < 0 && errno == EACCES) fd = open(path.c_str(), O_RDONLY | flags);
  if (fd < 0 && errno == ENOENT && create) fd = open(path.c_str(), O_RDWR | O_CREAT | flags, 0666);
  return fd;
}

// Why the lock file could not be made or locked, as the user reads it.
std::string LockFailureText(const std::string& path, int error) {
  std::string reason;
  switch (error) {
    case EACCES: case EPERM: reason = "書き込む権限がありません。"; break;
    case EROFS: reason = "読み取り専用のフォルダです。"; break;
    case ENOTDIR: reason = "フォルダではありません。"; break;
    case ENOENT: reason = "フォルダがありません。"; break;
    case EISDIR: reason = "同じ名前のフォルダがあります。"; break;
    case ENOSPC: case EDQUOT: reason = "空き容量が不足しています。"; break;
    case ENOLCK: case EINVAL: case EOPNOTSUPP: reason = "このフォルダではファイルをロックできません。"; break;
    default: reason = std::strerror(error); break;
  }
  return "起動の確認に使うロックファイル(" + path + ")を作成できません。\r" + reason;
}

}  // namespace

std::string NamedMutexPath(std::string_view name) {
  std::string safe;
  for (char c : name) {
    bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                 c == '_' || c == '-' || c == '.';
    safe += plain ? c : '_';
  }
  return PathJoin(RuntimeDir(), "mutex-" + safe + ".lock");
}

bool MutexExists(std::string_view name) {
  int fd = OpenLockFile(NamedMutexPath(name), false);
  if (fd < 0) return false;  // never created: nobody holds it
  // A shared lock conflicts only with a holder's exclusive lock, so two
  // processes testing at once do not see each other as holders.
  bool held = flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  close(fd);  // also drops the shared lock
  return held;
}

std::unique_ptr<TNamedMutex> CreateNamedMutex(std::string_view name, std::string* error) {
  if (error) error->clear();
  std::string path = NamedMutexPath(name);
  ForceDirectories(ExtractFileDir(path));
  int fd = OpenLockFile(path, true);
  if (fd < 0) {
    if (error) *error = LockFailureText(path, errno);
    return nullptr;
  }
  // A process that only tests for the name holds a shared lock for a moment;
  // try again briefly so that such a test never makes the creation fail. A real
  // holder keeps its lock, so the result is the same.
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0)
      return std::unique_ptr<TNamedMutex>(new TNamedMutex(std::string(name), fd));
    if (errno != EWOULDBLOCK && errno != EINTR) {
      if (error) *error = LockFailureText(path, errno);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  close(fd);
  return nullptr;
}

TNamedMutex::~TNamedMutex() {
  if (fd_ >= 0) close(fd_);
}
