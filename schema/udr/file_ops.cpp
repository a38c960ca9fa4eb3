#include "file_ops.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace serverfs {
namespace {

std::string Upper(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  // Blanks around the mode (a CHAR parameter arrives padded) do not count.
  while (!result.empty() && result.back() == ' ') result.pop_back();
  return result;
}

bool Blank(const std::string& path) {
  return path.find_first_not_of(' ') == std::string::npos;
}

// A unique name beside the target, so that a reader never sees half a file.
std::string TemporaryBeside(const fs::path& target) {
  static unsigned counter = 0;
  return target.string() + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(++counter);
}

}  // namespace

bool FileOperation(std::string_view mode, const std::string& path1, const std::string& path2) {
  const std::string m = Upper(mode);
  if (Blank(path1)) return false;
  if (m == "FEXIST") return FileExists(path1);
  if (m == "FCOPY") return !Blank(path2) && CopyFile(path1, path2);
  if (m == "FDEL") return DeleteFile(path1);
  return false;
}

bool DirectoryTest(std::string_view mode, const std::string& path) {
  const std::string m = Upper(mode);
  if (Blank(path)) return false;
  if (m == "DEXIST") return FolderExists(path);
  if (m == "MKDIR") return MakeFolder(path);
  if (m == "RMDIR") return RemoveFolder(path);
  return false;
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  const fs::file_status st = fs::status(path, ec);
  return !ec && fs::exists(st) && !fs::is_directory(st);
}

bool CopyFile(const std::string& from, const std::string& to) {
  if (!FileExists(from)) return false;
  std::error_code ec;
  if (fs::is_directory(to, ec)) return false;
  const std::string temp = TemporaryBeside(to);
  if (!fs::copy_file(from, temp, fs::copy_options::overwrite_existing, ec)) {
    fs::remove(temp, ec);
    return false;
  }
  fs::rename(temp, to, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    return false;
  }
  return true;
}

bool DeleteFile(const std::string& path) {
  if (!FileExists(path)) return false;
  std::error_code ec;
  return fs::remove(path, ec) && !ec;
}

bool FolderExists(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

bool MakeFolder(const std::string& path) {
  std::error_code ec;
  fs::create_directories(path, ec);
  return FolderExists(path);
}

bool RemoveFolder(const std::string& path) {
  if (!FolderExists(path)) return false;
  std::error_code ec;
  fs::remove_all(path, ec);
  return !ec && !FolderExists(path);
}

std::string ShortFileName(const std::string& path) { return path; }

std::string ReadWholeFile(const std::string& path) {
  if (!FileExists(path)) throw std::runtime_error("file not found: " + path);
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open file: " + path + ": " + std::strerror(errno));
  std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw std::runtime_error("cannot read file: " + path);
  return content;
}

void WriteWholeFile(const std::string& path, std::string_view content) {
  if (Blank(path)) throw std::runtime_error("no file name given");
  const std::string temp = TemporaryBeside(path);
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) throw std::runtime_error("cannot create file: " + path + ": " + std::strerror(errno));
  const char* p = content.data();
  size_t left = content.size();
  bool ok = true;
  while (left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  const int saved = errno;
  if (ok && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  if (ok && std::rename(temp.c_str(), path.c_str()) == 0) return;
  const std::string reason = std::strerror(ok ? errno : saved);
  ::unlink(temp.c_str());
  throw std::runtime_error("cannot write file: " + path + ": " + reason);
}

}  // namespace serverfs
