// Writing a file so that it appears either complete or not at all, and what a
// path names before it is written.
#pragma once

#include <string>
#include <string_view>
#include <system_error>

// What a path names once symbolic links are followed.
enum class TPathKind { Missing, Regular, Directory, Device, Fifo, Socket, Other };
TPathKind PathKindOf(const std::string& Path);

// The path a chain of symbolic links finally names (Path itself when it is no
// link); the last target need not exist. Throws std::system_error on a loop.
std::string ResolveSymlinks(const std::string& Path);

// The path names something other than a regular file (a folder, a device, a
// pipe, a socket): it is never replaced.
class ENotARegularFile : public std::system_error {
 public:
  ENotARegularFile(std::string Path, TPathKind Kind);
  const std::string& Path() const { return path_; }
  TPathKind Kind() const { return kind_; }

 private:
  std::string path_;
  TPathKind kind_;
};

// Writes `bytes` to `path` through a work file beside it (platform/rtl/
// workfile.h) and a rename; on any failure the old file stays untouched and no
// work file remains. A symbolic link at `path` is followed: its target is
// written and the link stays. A path that names something other than a
// regular file is refused with ENotARegularFile. Work files that killed
// earlier writes left in the folder are removed first. Throws std::system_error.
void WriteFileAtomically(const std::string& path, std::string_view bytes);
