// Work files: what an operation writes beside a file's final place before the
// file is complete (the temporary of an atomic write, a backup or a restored
// database before it replaces the old one). Their names are short, the fixed
// prefix followed by a random part and the caller's extension, so that a long
// final name never makes them too long and a later run of the same operation
// recognises what a killed run left behind. A work file is held with a lock
// for as long as somebody works on it: by the process that made it
// (TWorkFile), or by the database engine that has a database open; a work
// file nobody holds is a leftover.
#pragma once

#include <functional>
#include <string>
#include <string_view>

// Plain ASCII without "~" and "\\", which the server's Shift-JIS text turns
// into other characters.
inline constexpr const char* kWorkFilePrefix = ".vdw-";

// A fresh work-file name in Folder (the folder joined with the prefix, eight
// random letters and digits, and Extension). The file is not created.
std::string NewWorkFileName(const std::string& Folder, std::string_view Extension);
// True when the last part of Path is a work-file name.
bool IsWorkFileName(std::string_view Path);

// A work file this process creates and writes itself: created new (never an
// existing file), held with an exclusive lock until it is closed, so that no
// other run takes it for a leftover.
class TWorkFile {
 public:
  // Throws std::system_error when the file cannot be created.
  TWorkFile(const std::string& Folder, std::string_view Extension);
  ~TWorkFile();  // closes and, unless Keep was called, removes the file
  TWorkFile(const TWorkFile&) = delete;
  TWorkFile& operator=(const TWorkFile&) = delete;

  const std::string& Path() const { return path_; }
  int Descriptor() const { return fd_; }
  // Closes the descriptor (the lock goes with it); throws when the close
  // reports a write error.
  void Close();
  // The file has been renamed or handed on: the destructor leaves it alone.
  void Keep() { keep_ = true; }

 private:
  std::string path_;
  int fd_ = -1;
  bool keep_ = false;
};

// Removes the work files in Folder that killed runs left: the work files no
// process holds a lock on. BeforeRemove, when given, is
// called with each such file still locked; a false answer keeps the file.
// Returns how many were removed; a folder that cannot be read removes nothing.
int RemoveLeftoverWorkFiles(const std::string& Folder,
                            const std::function<bool(const std::string& Path)>& BeforeRemove = {});
