// A file written beside its final path under a temporary name and renamed
// into place by Commit(); destroyed without Commit() it removes itself, so a
// failed write never leaves a partial file under the final name.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

class TWorkTempFile {
 public:
  // Creates "<Target>.XXXXXX" (random letters) in the target's folder; throws
  // std::runtime_error when it cannot be created.
  explicit TWorkTempFile(std::string Target);
  ~TWorkTempFile();
  TWorkTempFile(const TWorkTempFile&) = delete;
  TWorkTempFile& operator=(const TWorkTempFile&) = delete;

  void Write(const char* Data, std::size_t Size);  // throws std::runtime_error
  // Flushes, syncs and renames over the target; throws std::runtime_error.
  void Commit();
  const std::string& Path() const { return temp_; }
  std::FILE* Stream() const { return file_; }

 private:
  std::string target_;
  std::string temp_;
  std::FILE* file_ = nullptr;
};
