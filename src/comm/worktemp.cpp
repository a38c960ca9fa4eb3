#include "comm/worktemp.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

TWorkTempFile::TWorkTempFile(std::string Target) : target_(std::move(Target)) {
  std::string pattern = target_ + ".XXXXXX";
  int fd = mkstemp(pattern.data());
  if (fd < 0) throw std::runtime_error("cannot create " + pattern + ": " + std::strerror(errno));
  temp_ = pattern;
  file_ = fdopen(fd, "wb");
  if (!file_) {
    ::close(fd);
    ::unlink(temp_.c_str());
    throw std::runtime_error("cannot open " + temp_);
  }
}

TWorkTempFile::~TWorkTempFile() {
  if (file_) {
    std::fclose(file_);
    ::unlink(temp_.c_str());
  }
}

void TWorkTempFile::Write(const char* Data, std::size_t Size) {
  if (Size && std::fwrite(Data, 1, Size, file_) != Size)
    throw std::runtime_error("cannot write " + temp_ + ": " + std::strerror(errno));
}

void TWorkTempFile::Commit() {
  if (std::fflush(file_) != 0 || ::fsync(fileno(file_)) != 0)
    throw std::runtime_error("cannot write " + temp_ + ": " + std::strerror(errno));
  // mkstemp creates 0600; the final file gets the usual mode.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fileno(file_), 0666 & ~mask);
  std::FILE* f = file_;
  file_ = nullptr;
  if (std::fclose(f) != 0 || std::rename(temp_.c_str(), target_.c_str()) != 0) {
    const std::string why = std::strerror(errno);
    ::unlink(temp_.c_str());
    throw std::runtime_error("cannot write " + target_ + ": " + why);
  }
}
