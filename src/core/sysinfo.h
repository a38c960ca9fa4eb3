// System facts and special folders: computer and user names, the operating
// system's major version, the system folder, Documents, application data,
// the temporary folder, universal names of paths on network file systems.
// Folders come back without a trailing delimiter.
#pragma once

#include <string>
#include <string_view>

// With ConnectKind 2 the recorded user name (SystemDef.WinUserName, or
// "ANONYMOUS"); otherwise the computer name, or "PCNAME-ERROR".
void GetPcName(std::string& Name);
void GetWindowsUserName(std::string& Name);
// Major version of the running kernel.
int GetOSMajorVersion();
// The system folder ("/usr"); the folder shell operations never touch.
void GetSystemDir(std::string& Dir);
void GetSystemFolderPath(std::string& Dir);
// The system drive root ("/").
std::string SystemDriveRoot();
void GetMyDocumentsDir(std::string& Dir);
void GetAppDataDir(bool Common, std::string& Dir);
// Name "desktop" or "mydocument" (without regard to case); the program folder otherwise.
void GetSpecialFolder(std::string_view Name, std::string& Dir);
// The temporary folder when it exists, else Default.
void GetTempDir(const std::string& Default, std::string& Dir);
// For a path on a network file system (NFS, SMB/CIFS, sshfs) the mount's
// source followed by the rest of the path ("//server/share/data"); any other
// path unchanged. Raises when the mount table cannot be read.
void GetUNCPath(const std::string& Path, std::string& Result);
// The short form of an existing path (the path itself: there is no separate
// short form); raises EConvertError "ファイルが見つかりません。" when it does not exist.
void GetShortPath(const std::string& LongPath, std::string& ShortPath);
std::string ExcludeTrailingDelimiter(std::string_view Path);
std::string IncludeTrailingDelimiter(std::string_view Path);
