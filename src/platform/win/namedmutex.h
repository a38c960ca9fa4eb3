// Named mutexes between processes. Each name is a lock file in the runtime
// folder, "<RuntimeDir()>/mutex-<name>.lock" (characters other than letters,
// digits, "_", "-" and "." become "_"), held with flock. The lock belongs to the
// open file, so the kernel releases it when the holder ends, even on a crash;
// the file itself stays and is reused. Child processes never inherit it.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>

// The lock file that carries a name.
std::string NamedMutexPath(std::string_view name);

// The open-existing test: true when some process (this one included, through
// another TNamedMutex) holds the name.
bool MutexExists(std::string_view name);

// A held named mutex; the lock is released when the object is destroyed.
class TNamedMutex {
 public:
  ~TNamedMutex();
  TNamedMutex(const TNamedMutex&) = delete;
  TNamedMutex& operator=(const TNamedMutex&) = delete;
  const std::string& Name() const { return name_; }

 private:
  friend std::unique_ptr<TNamedMutex> CreateNamedMutex(std::string_view name, std::string* error);
  TNamedMutex(std::string name, int fd) : name_(std::move(name)), fd_(fd) {}
  std::string name_;
  int fd_;
};

// Creates and holds the named mutex in one atomic step (the runtime folder is
// created when missing). Null when another process already holds it: of two
// processes that try at the same moment exactly one gets it. Null as well when
// the lock file cannot be made or locked; then `error`, when given, receives a
// Japanese text naming the lock file and the reason (it stays empty when the
// name is simply taken).
std::unique_ptr<TNamedMutex> CreateNamedMutex(std::string_view name, std::string* error = nullptr);
