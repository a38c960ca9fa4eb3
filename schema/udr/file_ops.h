// File and folder operations that the database server runs on its own file
// system for the client programs (the routines FILEOPERATION, DIRECTORYTEST,
// LONGTOSHORTFILENAME, SP_FILETOBLOB and SP_BLOBTOFILE).
//
// Paths are the server's native paths (UTF-8). The Boolean operations never
// throw: they answer false on any failure. The whole-file helpers throw
// std::runtime_error with a readable reason.
#pragma once

#include <string>
#include <string_view>

namespace serverfs {

// Result of one FILEOPERATION / DIRECTORYTEST call for a mode name given in
// any letter case. An unknown mode or an empty path gives false.
bool FileOperation(std::string_view mode, const std::string& path1, const std::string& path2);
bool DirectoryTest(std::string_view mode, const std::string& path);

bool FileExists(const std::string& path);        // FEXIST: a file (not a folder)
bool CopyFile(const std::string& from, const std::string& to);  // FCOPY, replaces the target
bool DeleteFile(const std::string& path);        // FDEL
bool FolderExists(const std::string& path);      // DEXIST
bool MakeFolder(const std::string& path);        // MKDIR, with missing parent levels
bool RemoveFolder(const std::string& path);      // RMDIR, with its contents

// There are no 8.3 names on this system: the short name is the path itself.
std::string ShortFileName(const std::string& path);

// Whole-file transfer for the blob routines.
std::string ReadWholeFile(const std::string& path);
// Writes through a temporary file in the same folder and a rename.
void WriteWholeFile(const std::string& path, std::string_view content);

}  // namespace serverfs
