#include "core/buffilestream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/rtl/sysutils.h"

TBufFileStream::TBufFileStream(const std::string& FileName, std::uint8_t KB, std::uint16_t Mode)
    : buffer_(static_cast<std::size_t>(KB) * 1024) {
  int flags = O_CLOEXEC;
  if (Mode == fmCreate) flags |= O_RDWR | O_CREAT | O_TRUNC;
  else if ((Mode & 3) == fmOpenWrite) flags |= O_WRONLY;
  else if ((Mode & 3) == fmOpenReadWrite) flags |= O_RDWR;
  else flags |= O_RDONLY;
  fd_ = ::open(FileName.c_str(), flags, 0666);
  if (fd_ < 0) throw Exception("ファイルを開けません。" + FileName + " (" + std::strerror(errno) + ")");
}

TBufFileStream::~TBufFileStream() {
  if (fd_ >= 0) ::close(fd_);
}

// Reads from the file into the buffer from `offset` on; returns the bytes read.
std::int64_t TBufFileStream::FillFrom(std::size_t offset) {
  std::size_t total = 0;
  while (offset + total < buffer_.size()) {
    const ssize_t n = ::read(fd_, buffer_.data() + offset + total, buffer_.size() - offset - total);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw Exception(std::string("ファイルを読み込めません。") + std::strerror(errno));
    if (n == 0) break;
    total += static_cast<std::size_t>(n);
  }
  return static_cast<std::int64_t>(total);
}

std::int64_t TBufFileStream::Read(void* Dest, std::int64_t Count) {
  if (Count > static_cast<std::int64_t>(buffer_.size())) throw Exception("バッファの大きさを越えています。");
  if (Count <= 0) return 0;
  if (bufCount_ == 0) {
    bufPos_ = 0;
    bufCount_ = static_cast<std::size_t>(FillFrom(0));
    if (bufCount_ == 0) return 0;
  }
  std::size_t count = static_cast<std::size_t>(Count);
  const std::size_t unread = bufCount_ - bufPos_;
  if (unread < count) {
    std::memmove(buffer_.data(), buffer_.data() + bufPos_, unread);
    bufPos_ = 0;
    bufCount_ = unread + static_cast<std::size_t>(FillFrom(unread));
    if (bufCount_ < count) count = bufCount_;
  }
  std::memcpy(Dest, buffer_.data() + bufPos_, count);
  bufPos_ += count;
  position_ += static_cast<std::int64_t>(count);
  if (bufPos_ == bufCount_) bufPos_ = bufCount_ = 0;
  return static_cast<std::int64_t>(count);
}

std::int64_t TBufFileStream::Write(const void* Source, std::int64_t Count) {
  const auto* p = static_cast<const unsigned char*>(Source);
  // The file's own position runs ahead of Position while the buffer holds data.
  if (bufCount_ != 0) {
    if (::lseek(fd_, static_cast<off_t>(position_), SEEK_SET) < 0) return 0;
    bufPos_ = bufCount_ = 0;
  }
  std::int64_t written = 0;
  while (written < Count) {
    const ssize_t n = ::write(fd_, p + written, static_cast<std::size_t>(Count - written));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    written += n;
  }
  position_ += written;
  return written;
}

std::int64_t TBufFileStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
  std::int64_t target = Offset;
  if (Origin == TSeekOrigin::soCurrent) target = position_ + Offset;
  else if (Origin == TSeekOrigin::soEnd) target = Size() + Offset;
  const off_t at = ::lseek(fd_, static_cast<off_t>(target), SEEK_SET);
  if (at < 0) throw Exception(std::string("ファイルの位置を移動できません。") + std::strerror(errno));
  bufPos_ = bufCount_ = 0;
  position_ = at;
  return position_;
}

std::int64_t TBufFileStream::Size() const {
  struct stat st {};
  return ::fstat(fd_, &st) == 0 ? static_cast<std::int64_t>(st.st_size) : -1;
}

bool TBufFileStream::Flush() { return ::fsync(fd_) == 0; }
