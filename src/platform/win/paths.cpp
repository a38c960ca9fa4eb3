#include "platform/win/paths.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/win/specialfolders.h"

namespace fs = std::filesystem;

std::string IncludeTrailingPathDelimiter(std::string_view path) {
  std::string result(path);
  if (!result.empty() && result.back() != PathDelim) result += PathDelim;
  return result;
}

std::string ExcludeTrailingPathDelimiter(std::string_view path) {
  std::string result(path);
  while (result.size() > 1 && result.back() == PathDelim) result.pop_back();
  return result;
}

std::string PathJoin(std::string_view folder, std::string_view name) {
  while (!name.empty() && name.front() == PathDelim) name.remove_prefix(1);
  if (folder.empty()) return std::string(name);
  if (name.empty()) return std::string(folder);
  return IncludeTrailingPathDelimiter(folder) + std::string(name);
}

std::string ExtractFilePath(std::string_view path) {
  std::size_t slash = path.rfind(PathDelim);
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string ExtractFileDir(std::string_view path) {
  std::size_t slash = path.rfind(PathDelim);
  if (slash == std::string_view::npos) return {};
  return slash == 0 ? std::string(1, PathDelim) : std::string(path.substr(0, slash));
}

std::string ExtractFileName(std::string_view path) {
  std::size_t slash = path.rfind(PathDelim);
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

namespace {
// Position of the extension's dot within path, or npos.
std::size_t ExtensionDot(std::string_view path) {
  std::size_t dot = path.rfind('.');
  std::size_t slash = path.rfind(PathDelim);
  if (dot == std::string_view::npos) return dot;
  if (slash != std::string_view::npos && dot < slash) return std::string_view::npos;
  return dot;
}
}  // namespace

std::string ExtractFileExt(std::string_view path) {
  std::size_t dot = ExtensionDot(path);
  return dot == std::string_view::npos ? std::string() : std::string(path.substr(dot));
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
  std::size_t dot = ExtensionDot(path);
  return std::string(dot == std::string_view::npos ? path : path.substr(0, dot)) + std::string(ext);
}

std::string ExtractFileNameWithoutExt(std::string_view path) {
  return ChangeFileExt(ExtractFileName(path), "");
}

bool SamePathText(std::string_view a, std::string_view b) {
  std::string x = ExcludeTrailingPathDelimiter(a), y = ExcludeTrailingPathDelimiter(b);
  if (x.size() != y.size()) return false;
  for (std::size_t i = 0; i < x.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(x[i]) != lower(y[i])) return false;
  }
  return true;
}

bool FileExists(const std::string& path) {
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PathExists(const std::string& path) {
  struct stat st;
  return !path.empty() && lstat(path.c_str(), &st) == 0;
}

bool ForceDirectories(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  fs::create_directories(path, ec);
  return DirectoryExists(path);
}

bool DeleteFile(const std::string& path) {
  return !path.empty() && !DirectoryExists(path) && unlink(path.c_str()) == 0;
}

bool RenameFile(const std::string& from, const std::string& to) {
  return !from.empty() && !to.empty() && std::rename(from.c_str(), to.c_str()) == 0;
}

bool DeletePathRecursively(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  fs::remove_all(path, ec);
  return !PathExists(path);
}

namespace {

// Percent-encodes a path for the Path= line of a .trashinfo record.
std::string TrashInfoPath(const std::string& path) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : path) {
    bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                 c == '/' || c == '-' || c == '_' || c == '.' || c == '~';
    if (plain) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

// Moves path into the user's trash; false when there is no trash or the move
// cannot be done there (another file system).
bool MoveToTrash(const std::string& path) {
  std::string trash = PathJoin(UserAppDataDir(), "Trash");
  std::string files = PathJoin(trash, "files"), info = PathJoin(trash, "info");
  if (!DirectoryExists(trash)) return false;
  if (!ForceDirectories(files) || !ForceDirectories(info)) return false;

  std::error_code ec;
  std::string absolute = fs::absolute(path, ec).lexically_normal().string();
  if (ec) return false;
  absolute = ExcludeTrailingPathDelimiter(absolute);
  std::string name = ExtractFileName(absolute);
  std::string base = ExtractFileNameWithoutExt(name), ext = ExtractFileExt(name);

  char stamp[32];
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%S", &local);
  std::string record = "[Trash Info]\nPath=" + TrashInfoPath(absolute) + "\nDeletionDate=" + stamp + "\n";

  for (int n = 1; n < 10000; ++n) {
    std::string trashName = n == 1 ? name : base + "." + std::to_string(n) + ext;
    std::string infoPath = PathJoin(info, trashName + ".trashinfo");
    // The info file claims the name (O_EXCL), as the trash layout asks.
    int fd = open(infoPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return false;
    }
    bool written = write(fd, record.data(), record.size()) == static_cast<ssize_t>(record.size());
    close(fd);
    if (written && std::rename(absolute.c_str(), PathJoin(files, trashName).c_str()) == 0) return true;
    unlink(infoPath.c_str());
    return false;
  }
  return false;
}

}  // namespace

bool MoveToTrashOrDelete(const std::string& path) {
  if (!PathExists(path)) return false;
  if (MoveToTrash(path)) return true;
  return DeletePathRecursively(path);
}
