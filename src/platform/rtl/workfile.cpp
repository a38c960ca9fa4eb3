#include "platform/rtl/workfile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <system_error>

namespace {

std::string RandomPart() {
  static const char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937_64 generator{std::random_device{}()};
  std::uniform_int_distribution<int> pick(0, 35);
  std::string part;
  for (int i = 0; i < 8; ++i) part += kChars[pick(generator)];
  return part;
}

std::string_view LastPart(std::string_view path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string Joined(const std::string& folder, std::string_view name) {
  if (folder.empty()) return std::string(name);
  return folder.back() == '/' ? folder + std::string(name) : folder + "/" + std::string(name);
}

// Removes one leftover when nobody holds it; the lock taken here also keeps a
// second cleaner away until the name is gone.
bool RemoveIfAbandoned(const std::string& path, const std::function<bool(const std::string&)>& beforeRemove) {
  struct stat before {};
  if (::lstat(path.c_str(), &before) != 0 || !S_ISREG(before.st_mode)) return false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return false;
  bool removed = false;
  struct stat opened {};
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 && opened.st_ino == before.st_ino &&
      opened.st_dev == before.st_dev) {
    struct stat now {};
    // The name must still lead to the file that was checked.
    if (::lstat(path.c_str(), &now) == 0 && now.st_ino == opened.st_ino && now.st_dev == opened.st_dev &&
        (!beforeRemove || beforeRemove(path)))
      removed = ::unlink(path.c_str()) == 0;
  }
  ::close(fd);
  return removed;
}

}  // namespace

std::string NewWorkFileName(const std::string& Folder, std::string_view Extension) {
  return Joined(Folder, kWorkFilePrefix + RandomPart() + std::string(Extension));
}

bool IsWorkFileName(std::string_view Path) {
  const std::string_view name = LastPart(Path);
  const std::string_view prefix(kWorkFilePrefix);
  return name.size() >= prefix.size() + 8 && name.substr(0, prefix.size()) == prefix;
}

TWorkFile::TWorkFile(const std::string& Folder, std::string_view Extension) {
  for (int attempt = 0; attempt < 20; ++attempt) {
    path_ = NewWorkFileName(Folder, Extension);
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) break;
    if (errno != EEXIST) throw std::system_error(errno, std::generic_category(), "Cannot create " + path_);
  }
  if (fd_ < 0) throw std::system_error(EEXIST, std::generic_category(), "Cannot create a work file in " + Folder);
  ::flock(fd_, LOCK_EX | LOCK_NB);
}

TWorkFile::~TWorkFile() {
  if (!keep_) ::unlink(path_.c_str());
  if (fd_ >= 0) ::close(fd_);
}

void TWorkFile::Close() {
  if (fd_ < 0) return;
  const int result = ::close(fd_);
  fd_ = -1;
  if (result != 0) throw std::system_error(errno, std::generic_category(), "Cannot close " + path_);
}

int RemoveLeftoverWorkFiles(const std::string& Folder,
                            const std::function<bool(const std::string& Path)>& BeforeRemove) {
  DIR* dir = ::opendir(Folder.empty() ? "." : Folder.c_str());
  if (dir == nullptr) return 0;
  int removed = 0;
  while (const dirent* entry = ::readdir(dir)) {
    if (!IsWorkFileName(entry->d_name)) continue;
    if (RemoveIfAbandoned(Joined(Folder, entry->d_name), BeforeRemove)) ++removed;
  }
  ::closedir(dir);
  return removed;
}
