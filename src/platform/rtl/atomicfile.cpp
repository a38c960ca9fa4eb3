// WriteFileAtomically: every file the program writes for itself or for other
// programs appears either complete or not at all.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>
#include <system_error>

#include "platform/rtl/inifile.h"

namespace {

[[noreturn]] void Fail(int error, const std::string& what) {
  throw std::system_error(error, std::generic_category(), what);
}

std::string Folder(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Creates a new temporary file beside `path`; the mode follows the umask.
int CreateTemporary(const std::string& path, std::string& tempPath) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = Folder(path) + "/." + BaseName(path) + ".tmp" + std::to_string(getpid()) + "_" +
               std::to_string(counter.fetch_add(1));
    int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) return fd;
    if (errno != EEXIST) Fail(errno, "Cannot create a temporary file for " + path);
  }
  Fail(EEXIST, "Cannot create a temporary file for " + path);
}

}  // namespace

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  if (path.empty()) Fail(ENOENT, "Cannot write a file without a name");
  std::string tempPath;
  int fd = CreateTemporary(path, tempPath);
  auto abandon = [&](int error, const std::string& what) {
    if (fd >= 0) ::close(fd);
    ::unlink(tempPath.c_str());
    Fail(error, what + " " + path);
  };
  // Keep the permissions of the file being replaced.
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::fchmod(fd, st.st_mode & 07777);
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      abandon(errno, "Cannot write");
    }
    done += static_cast<std::size_t>(n);
  }
  if (::fsync(fd) != 0) abandon(errno, "Cannot flush");
  int closeResult = ::close(fd);
  fd = -1;
  if (closeResult != 0) abandon(errno, "Cannot close");
  if (::rename(tempPath.c_str(), path.c_str()) != 0) abandon(errno, "Cannot replace");
  int dir = ::open(Folder(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}
