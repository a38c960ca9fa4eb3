// Path helpers with the Delphi runtime's names and meaning, on POSIX paths with
// "/" as the only delimiter. Nothing here touches the file system except the
// functions in the second group.
#pragma once

#include <string>
#include <string_view>

constexpr char PathDelim = '/';

// "a/b" -> "a/b/"; "" stays "".
std::string IncludeTrailingPathDelimiter(std::string_view path);
// "a/b/" -> "a/b"; the root "/" stays "/".
std::string ExcludeTrailingPathDelimiter(std::string_view path);
// Joins a folder and a relative name with exactly one "/" between them; an empty
// folder gives the name, an empty name gives the folder.
std::string PathJoin(std::string_view folder, std::string_view name);
// Folder part including its trailing "/" ("a/b/c.txt" -> "a/b/"; "c.txt" -> "").
std::string ExtractFilePath(std::string_view path);
// Folder part without the trailing "/" ("a/b/c.txt" -> "a/b"; "/c.txt" -> "/").
std::string ExtractFileDir(std::string_view path);
// Name after the last "/".
std::string ExtractFileName(std::string_view path);
// Extension of the name including its dot (".txt"); "" when the name has no dot.
std::string ExtractFileExt(std::string_view path);
// Replaces (or adds, or with "" removes) the extension of the name; `ext` includes its dot.
std::string ChangeFileExt(std::string_view path, std::string_view ext);
// The name without its extension ("a/b/c.txt" -> "c").
std::string ExtractFileNameWithoutExt(std::string_view path);
// Compares two paths as the program compared Windows paths: ASCII letters
// without regard to case, a trailing "/" ignored.
bool SamePathText(std::string_view a, std::string_view b);

// File system.
bool FileExists(const std::string& path);       // a file (not a folder)
bool DirectoryExists(const std::string& path);  // a folder
bool PathExists(const std::string& path);       // either
// Creates the folder with every missing parent; true when it exists afterwards.
bool ForceDirectories(const std::string& path);
// Deletes one file; true when it was deleted.
bool DeleteFile(const std::string& path);
// Renames a file or folder (replacing an existing file); true on success.
bool RenameFile(const std::string& from, const std::string& to);
// Deleting "to the recycle bin": moves the file or folder into the XDG trash
// ($XDG_DATA_HOME/Trash, else ~/.local/share/Trash) with its .trashinfo record
// when that trash exists and lies on the same file system; otherwise deletes it
// (a folder with its contents). True when the path is gone afterwards.
bool MoveToTrashOrDelete(const std::string& path);
// Deletes a file, or a folder with its contents; true when the path is gone.
bool DeletePathRecursively(const std::string& path);
