// Folders and files: the safety test that keeps shell operations away from the
// root and the system folder, folder creation and listing, file sizes, the
// shell's delete / copy / move, single-file copies and appending text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Operations of the shell helpers.
enum : int { foMove = 1, foCopy = 2, foDelete = 3, foRename = 4 };

// False for an empty or blank path, the system folder, the root "/" and a
// drive root written the Windows way ("C:\", "c:", ...); true otherwise.
bool IsSafeDirectory(std::string_view Path);
// True when the folder exists or could be created with its missing parents.
// Errors of the file system pass to the caller.
bool ForceFolder(const std::string& Path);
// The sub-folders of Folder (names when NamesOnly is 1, else full paths), in
// the order the file system lists them; empty for a blank or missing folder.
void GetSubFolderList(const std::string& Folder, int NamesOnly, std::vector<std::string>& List);
// Size of the first file matching the name ("*" and "?" allowed in the last
// part); 0 when none matches, -1 on failure.
std::int64_t GetFileSizeByName(const std::string& FileName);
// Op 3 deletes Path (a file, a folder with its contents, or the matches of a
// pattern in the last part), to the trash when AllowUndo; Op 4 (rename without
// a new name) does nothing and gives false. A path that is not safe is
// refused with a message. ShowErrors shows a failure in an error box.
bool ShellDeleteOrRename(const std::string& Path, int Op, bool AllowUndo, bool ShowErrors);
// Op 1 moves, Op 2 copies Source (a file, a folder, or "folder/*" for its
// whole content) to Target: into Target when that is an existing folder (or
// when Source names several), else under the name Target; missing folders are
// created, existing files replaced.
bool ShellCopyOrMove(const std::string& Source, const std::string& Target, int Op);
// Copies one file, replacing an existing target only once the copy is complete.
bool CopyFileOverwrite(const std::string& Source, const std::string& Target);
// Appends the bytes of Text to the end of an existing file; false when the
// file cannot be opened or written.
bool AppendTextToFile(const std::string& FileName, std::string_view Text);
