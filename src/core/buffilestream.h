// TBufFileStream: a file stream with a read buffer, for reading large files
// (backups) in small blocks. Positions and sizes are 64-bit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// File modes of TBufFileStream (sharing is never restricted here).
enum : std::uint16_t {
  fmOpenRead = 0x0000,
  fmOpenWrite = 0x0001,
  fmOpenReadWrite = 0x0002,
  fmCreate = 0xFF00,
};
enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TBufFileStream {
 public:
  // Opens FileName with Mode (fmCreate creates or empties it) and allocates a
  // buffer of KB * 1024 bytes. Raises when the file cannot be opened.
  TBufFileStream(const std::string& FileName, std::uint8_t KB, std::uint16_t Mode);
  ~TBufFileStream();
  TBufFileStream(const TBufFileStream&) = delete;
  TBufFileStream& operator=(const TBufFileStream&) = delete;

  // Delivers up to Count bytes from the buffer, refilling it from the file;
  // returns the number delivered. A Count above the buffer size raises
  // "バッファの大きさを越えています。".
  std::int64_t Read(void* Dest, std::int64_t Count);
  // Writes straight to the file at its current position; returns the bytes written.
  std::int64_t Write(const void* Source, std::int64_t Count);
  // Positions the file, empties the buffer; returns the new position.
  std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin);
  std::int64_t Size() const;
  std::int64_t Position() const { return position_; }
  std::int32_t BufferSize() const { return static_cast<std::int32_t>(buffer_.size()); }
  // Flushes written data to the disk; false on failure.
  bool Flush();

 private:
  std::int64_t FillFrom(std::size_t offset);
  int fd_ = -1;
  std::vector<unsigned char> buffer_;
  std::size_t bufPos_ = 0;
  std::size_t bufCount_ = 0;
  std::int64_t position_ = 0;
};
