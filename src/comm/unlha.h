// The transfer archiver: the two calls of the LHA library that the exchange
// uses, with their shapes and results.
//
// Unlha(window, command line, output buffer, output size): 0 on success.
//   a "archive" "file" ...   adds the files (by their bare names) to the
//                            archive, creating it when missing; a member of
//                            the same name is replaced.
//   e "archive" "folder/"    extracts every member into the folder,
//                            replacing files of the same name.
//   Arguments are separated by blanks; double quotation marks enclose an
//   argument with blanks. A failing command leaves the archive, and the files
//   of members not yet extracted, as they were.
// UnlhaCheckArchive(archive, mode): non-zero when the archive is sound; mode 2
//   reads every member and checks its digest, other modes check the layout.
//
// Archive format (integers little-endian):
//   8 bytes  magic "VRLHA01\n"
//   members, each: 2 bytes name length (1..255), the name (a bare file name,
//            UTF-8, no "/" and not "." or ".."), 8 bytes size, 32 bytes
//            SHA-256 of the contents, the contents (stored)
//   2 bytes  0 (end mark), and nothing after it.
#pragma once

#include <cstdint>
#include <string>

int Unlha(void* Window, const std::string& CommandLine, char* Output, std::uint32_t OutputSize);
int UnlhaCheckArchive(const std::string& ArchiveFile, int Mode);
