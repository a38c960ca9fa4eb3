#include "core/markersearch.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <vector>

#include "core/buffilestream.h"
#include "core/fileutil.h"
#include "platform/rtl/faultpoint.h"
#include "platform/rtl/workfile.h"
#include "platform/win/paths.h"

namespace {

constexpr std::uint8_t kBufferKB = 16;
constexpr std::int64_t kChunk = 8 * 1024;  // at most the buffer; read backwards chunk by chunk
constexpr std::int64_t kCopyBlock = 512;

// Last occurrence of `marker` in data[0, size) that starts before `limit`.
std::int64_t LastIndexOf(const std::vector<char>& data, std::int64_t limit, std::string_view marker) {
  const auto m = static_cast<std::int64_t>(marker.size());
  const auto size = static_cast<std::int64_t>(data.size());
  for (std::int64_t i = std::min(limit, size - m + 1) - 1; i >= 0; --i)
    if (std::memcmp(data.data() + i, marker.data(), static_cast<std::size_t>(m)) == 0) return i;
  return -1;
}

// Copies the first `count` bytes of `source` into `target` (created or
// emptied); true when every byte reached the disk.
bool CopyHead(const std::string& source, const std::string& target, std::int64_t count) {
  try {
    TBufFileStream in(source, kBufferKB, fmOpenRead);
    TBufFileStream out(target, kBufferKB, fmCreate);
    char block[kCopyBlock];
    std::int64_t left = count;
    while (left > 0) {
      const std::int64_t n = in.Read(block, std::min(left, kCopyBlock));
      if (n <= 0 || out.Write(block, n) != n) return false;
      left -= n;
    }
    return out.Flush() && out.Size() == count;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

std::int64_t FindMarkerInFile(const std::string& FileName, std::string_view Marker, std::string& Text) {
  Text.clear();
  if (Marker.empty()) return -1;
  try {
    TBufFileStream stream(FileName, kBufferKB, fmOpenRead);
    const std::int64_t size = stream.Size();
    const auto m = static_cast<std::int64_t>(Marker.size());
    std::int64_t result = -1;
    // Each window is a chunk plus the first m-1 bytes of the chunk after it,
    // so a marker spanning two chunks is found.
    for (std::int64_t end = size; end > 0 && result < 0;) {
      const std::int64_t start = std::max<std::int64_t>(0, end - kChunk);
      const std::int64_t windowEnd = std::min(size, end + m - 1);
      std::vector<char> window(static_cast<std::size_t>(windowEnd - start));
      stream.Seek(start, TSeekOrigin::soBeginning);
      std::int64_t got = 0;
      while (got < static_cast<std::int64_t>(window.size())) {
        const std::int64_t want = std::min<std::int64_t>(static_cast<std::int64_t>(window.size()) - got, kChunk);
        const std::int64_t n = stream.Read(window.data() + got, want);
        if (n <= 0) break;
        got += n;
      }
      window.resize(static_cast<std::size_t>(got));
      const std::int64_t hit = LastIndexOf(window, end - start, Marker);
      if (hit >= 0) result = start + hit;
      end = start;
    }
    if (result <= 0) return result;
    stream.Seek(result, TSeekOrigin::soBeginning);
    char block[kMarkedBlockBytes];
    const std::int64_t n = stream.Read(block, kMarkedBlockBytes);
    Text.assign(block, static_cast<std::size_t>(std::max<std::int64_t>(0, n)));
    return result;
  } catch (const std::exception&) {
    return -1;
  }
}

bool ReadMarkedBlock(const std::string& FileName, std::string_view Marker, std::string& Text, bool Strip) {
  Text.clear();
  std::string found;
  const std::int64_t p = FindMarkerInFile(FileName, Marker, found);
  if (p <= 0) return false;
  // The block is appended last: a marker whose text does not reach the end of
  // the file belongs to the data, not to a block.
  if (p + static_cast<std::int64_t>(found.size()) != GetFileSizeByName(FileName)) return false;
  Text = found;
  if (!Strip) return true;

  // The cut file is written beside the backup and then takes its place, so
  // that the backup is whole, with or without its block, at every moment.
  const std::string oldWork = ChangeFileExt(FileName, ".wk_");
  if (PathExists(oldWork)) ShellDeleteOrRename(oldWork, foDelete, false, false);
  const std::string folder = ExtractFileDir(FileName);
  try {
    RemoveLeftoverWorkFiles(folder);
    TWorkFile work(folder, ".wk_");
    if (!CopyHead(FileName, work.Path(), p)) return false;
    std::error_code ec;
    std::filesystem::permissions(work.Path(), std::filesystem::status(FileName).permissions(), ec);
    FaultPoint("marker.stripped");
    if (!RenameFile(work.Path(), FileName)) return false;
    work.Keep();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool BytesEqual(const void* A, const void* B, std::int64_t Len) {
  return Len <= 0 || std::memcmp(A, B, static_cast<std::size_t>(Len)) == 0;
}
