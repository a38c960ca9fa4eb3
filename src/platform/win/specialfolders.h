// Special folders and system names. Every folder comes from the environment so
// that a user or a test can place it; each has an override variable that wins
// over everything else. Folders are returned without a trailing "/" and are not
// created here.
#pragma once

#include <optional>
#include <string>

// Common application data: VERUDA_APPDATA_DIR, else $XDG_DATA_HOME, else ~/.local/share.
std::string CommonAppDataDir();
// The user's own application data: $XDG_DATA_HOME, else ~/.local/share.
std::string UserAppDataDir();
// Documents: VERUDA_DOCUMENTS_DIR, else XDG_DOCUMENTS_DIR from ~/.config/user-dirs.dirs
// (or $XDG_CONFIG_HOME/user-dirs.dirs), else ~/Documents.
std::string DocumentsDir();
// Desktop: XDG_DESKTOP_DIR from user-dirs.dirs, else ~/Desktop.
std::string DesktopDir();
// Temporary files: VERUDA_TEMP_DIR, else $TMPDIR, else /tmp.
std::string TempDir();
// The program folder (AppInfo.ini lies there): VERUDA_PROGRAM_DIR, else the
// folder of the running executable.
std::string ProgramDir();
// Full path of the running executable (/proc/self/exe).
std::string ProgramPath();
// The registry emulation file: VERUDA_REGISTRY_FILE, else
// <CommonAppDataDir()>/registry/HKEY_LOCAL_MACHINE.ini.
std::string RegistryFilePath();
// Named locks and caller sockets: VERUDA_RUNTIME_DIR, else $XDG_RUNTIME_DIR, else /tmp.
std::string RuntimeDir();
// The user's home folder: $HOME, else the password database.
std::string HomeDir();

// The computer name (gethostname); nothing when it cannot be read.
std::optional<std::string> ComputerName();
// The logon name of the user running the program; empty when it cannot be found.
std::string LogonUserName();
