// WriteFileAtomically: every file the program writes for itself or for other
// programs appears either complete or not at all.
#include "platform/rtl/atomicfile.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/rtl/faultpoint.h"
#include "platform/rtl/workfile.h"

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

const char* KindText(TPathKind kind) {
  switch (kind) {
    case TPathKind::Directory: return "a folder";
    case TPathKind::Device: return "a device";
    case TPathKind::Fifo: return "a pipe";
    case TPathKind::Socket: return "a socket";
    default: return "not a regular file";
  }
}

}  // namespace

ENotARegularFile::ENotARegularFile(std::string Path, TPathKind Kind)
    : std::system_error(Kind == TPathKind::Directory ? EISDIR : EINVAL, std::generic_category(),
                        Path + " is " + KindText(Kind)),
      path_(std::move(Path)),
      kind_(Kind) {}

TPathKind PathKindOf(const std::string& Path) {
  struct stat st {};
  if (::stat(Path.c_str(), &st) != 0) return TPathKind::Missing;
  if (S_ISREG(st.st_mode)) return TPathKind::Regular;
  if (S_ISDIR(st.st_mode)) return TPathKind::Directory;
  if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) return TPathKind::Device;
  if (S_ISFIFO(st.st_mode)) return TPathKind::Fifo;
  if (S_ISSOCK(st.st_mode)) return TPathKind::Socket;
  return TPathKind::Other;
}

std::string ResolveSymlinks(const std::string& Path) {
  std::string current = Path;
  for (int depth = 0; depth < 40; ++depth) {
    struct stat st {};
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink(current.c_str(), buffer, sizeof buffer);
    if (n < 0) Fail(errno, "Cannot read the link " + current);
    std::string target(buffer, static_cast<std::size_t>(n));
    current = !target.empty() && target[0] == '/' ? target : Folder(current) + "/" + target;
  }
  Fail(ELOOP, "Too many levels of links at " + Path);
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  if (path.empty()) Fail(ENOENT, "Cannot write a file without a name");
  const std::string target = ResolveSymlinks(path);
  const TPathKind kind = PathKindOf(target);
  if (kind != TPathKind::Missing && kind != TPathKind::Regular) throw ENotARegularFile(path, kind);
  const std::string folder = Folder(target);
  RemoveLeftoverWorkFiles(folder);
  TWorkFile work(folder, ".tmp");
  const int fd = work.Descriptor();
  // Keep the permissions of the file being replaced.
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::fchmod(fd, st.st_mode & 07777);
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail(errno, "Cannot write " + path);
    }
    done += static_cast<std::size_t>(n);
  }
  if (::fsync(fd) != 0) Fail(errno, "Cannot flush " + path);
  FaultPoint("atomic.written");
  if (::rename(work.Path().c_str(), target.c_str()) != 0) Fail(errno, "Cannot replace " + path);
  work.Keep();
  work.Close();
  int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}
