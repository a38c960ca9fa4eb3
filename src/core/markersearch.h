// Marked blocks at the end of large files: the data-info block that a backup
// gets appended after a successful backup ("## PelorinZone" and its lines).
// Offsets are 64-bit; the search runs from the end of the file, so marker
// text that happens to lie inside the backed-up data is never taken for the
// block.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Size of the text taken from the marker on.
inline constexpr std::int64_t kMarkedBlockBytes = 512;

// The offset of the last occurrence of Marker in the file and, in Text, the
// bytes from there on (at most 512). -1 when the marker does not occur (or
// the file cannot be read); 0 with an empty Text when its only occurrence is
// at offset 0.
std::int64_t FindMarkerInFile(const std::string& FileName, std::string_view Marker, std::string& Text);

// The marked block at the end of the file: Text as FindMarkerInFile gives it
// when that block runs to the end of the file, else empty. With Strip the file
// is cut so that it ends right before the marker: the file is renamed to its
// ".wk_" work file, the part before the marker copied back under the old name,
// and the work file deleted only once the copy is complete (on any failure
// the original file is put back). True when a block was found (and cut).
bool ReadMarkedBlock(const std::string& FileName, std::string_view Marker, std::string& Text, bool Strip);

// True when the first Len bytes of A and B are equal.
bool BytesEqual(const void* A, const void* B, std::int64_t Len);
