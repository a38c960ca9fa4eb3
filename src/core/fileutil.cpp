#include "core/fileutil.h"

#include <fnmatch.h>

#include <filesystem>
#include <fstream>
#include <system_error>

#include "core/sysinfo.h"
#include "core/uiservices.h"
#include "platform/rtl/faultpoint.h"
#include "platform/rtl/sysutils.h"
#include "platform/rtl/workfile.h"
#include "platform/win/paths.h"

namespace fs = std::filesystem;

namespace {

bool IsWindowsDriveRoot(std::string_view p) {
  const bool letter = !p.empty() && ((p[0] >= 'A' && p[0] <= 'Z') || (p[0] >= 'a' && p[0] <= 'z'));
  return letter && ((p.size() == 2 && p[1] == ':') || (p.size() == 3 && p[1] == ':' && (p[2] == '\\' || p[2] == '/')));
}

bool HasPattern(std::string_view name) { return name.find_first_of("*?") != std::string_view::npos; }

// The paths Path stands for: itself, or the matches of a pattern in its last part.
std::vector<fs::path> Expand(const std::string& path) {
  const std::string name = ExtractFileName(path);
  if (!HasPattern(name)) return {fs::path(path)};
  std::vector<fs::path> out;
  std::error_code ec;
  const std::string dir = ExtractFileDir(path);
  for (const auto& entry : fs::directory_iterator(dir.empty() ? "." : dir, ec))
    if (fnmatch(name.c_str(), entry.path().filename().c_str(), FNM_PERIOD) == 0) out.push_back(entry.path());
  return out;
}

void CopyOne(const fs::path& from, const fs::path& to) {
  if (fs::is_directory(from)) {
    fs::create_directories(to);
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  } else {
    if (to.has_parent_path()) fs::create_directories(to.parent_path());
    if (!CopyFileOverwrite(from.string(), to.string())) throw fs::filesystem_error("copy", from, to, std::error_code());
  }
}

void MoveOne(const fs::path& from, const fs::path& to) {
  if (to.has_parent_path()) fs::create_directories(to.parent_path());
  std::error_code ec;
  if (fs::is_directory(to) && fs::is_directory(from)) {
    // Merge into an existing folder.
    for (const auto& entry : fs::directory_iterator(from)) MoveOne(entry.path(), to / entry.path().filename());
    fs::remove(from);
    return;
  }
  fs::rename(from, to, ec);
  if (!ec) return;
  CopyOne(from, to);  // another file system: copy, then remove the source
  fs::remove_all(from);
}

}  // namespace

bool IsSafeDirectory(std::string_view Path) {
  const std::string p = Trim(Path);
  if (p.empty()) return false;
  if (IsWindowsDriveRoot(p)) return false;
  if (SamePathText(p, SystemDriveRoot()) || p.find_first_not_of('/') == std::string::npos) return false;
  std::string system;
  GetSystemFolderPath(system);
  return !SamePathText(p, system);
}

bool ForceFolder(const std::string& Path) {
  if (Path.empty()) return false;
  if (DirectoryExists(Path)) return true;
  if (IsWindowsDriveRoot(Path)) return false;
  fs::create_directories(Path);  // errors pass to the caller
  return DirectoryExists(Path);
}

void GetSubFolderList(const std::string& Folder, int NamesOnly, std::vector<std::string>& List) {
  List.clear();
  if (Trim(Folder).empty() || !DirectoryExists(Folder)) return;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(Folder, ec)) {
    std::error_code typeError;
    if (!entry.is_directory(typeError)) continue;
    const std::string name = entry.path().filename().string();
    List.push_back(NamesOnly == 1 ? name : PathJoin(ExcludeTrailingDelimiter(Folder), name));
  }
}

std::int64_t GetFileSizeByName(const std::string& FileName) {
  try {
    for (const fs::path& p : Expand(FileName)) {
      std::error_code ec;
      if (fs::is_regular_file(p, ec)) {
        const auto size = fs::file_size(p, ec);
        return ec ? -1 : static_cast<std::int64_t>(size);
      }
    }
    return 0;
  } catch (...) {  // -1: the size cannot be read
    return -1;
  }
}

bool ShellDeleteOrRename(const std::string& Path, int Op, bool AllowUndo, bool ShowErrors) {
  if (Op != foDelete && Op != foRename) return false;
  if (!IsSafeDirectory(Path)) {
    UiShowMessageLines(Format(Op == foDelete ? "ルート・システムディレクトリは、削除できません。<%s> "
                                             : "ルート・システムディレクトリは、変更できません。<%s> ",
                              Path),
                       kMsgError);
    return false;
  }
  if (Op == foRename) return false;  // no new name is ever given
  try {
    const std::vector<fs::path> targets = Expand(Path);
    if (targets.empty()) return false;
    bool ok = true;
    for (const fs::path& p : targets) {
      std::error_code ec;
      if (!fs::exists(fs::symlink_status(p, ec))) {
        ok = false;
        continue;
      }
      ok = (AllowUndo ? MoveToTrashOrDelete(p.string()) : DeletePathRecursively(p.string())) && ok;
    }
    return ok;
  } catch (const std::exception& e) {
    if (ShowErrors) UiShowError(e.what());
    return false;
  }
}

bool ShellCopyOrMove(const std::string& Source, const std::string& Target, int Op) {
  if (Op != foMove && Op != foCopy) return false;
  if (!IsSafeDirectory(Source) || !IsSafeDirectory(Target)) {
    UiShowMessageLines(Format("指定ディレクトリ[%s->%s]の複写・移動はできません。 ", Source, Target), kMsgError);
    return false;
  }
  try {
    const std::vector<fs::path> sources = Expand(Source);
    if (sources.empty()) return HasPattern(ExtractFileName(Source));  // an empty folder's "*": nothing to do
    const bool several = HasPattern(ExtractFileName(Source));
    const fs::path target(ExcludeTrailingDelimiter(Target));
    for (const fs::path& from : sources) {
      if (!fs::exists(from)) return false;
      const fs::path to = several || fs::is_directory(target) ? target / from.filename() : target;
      // A folder is never copied or moved into itself.
      const std::string f = fs::absolute(from).lexically_normal().string(), t = fs::absolute(to).lexically_normal().string();
      if (fs::is_directory(from) && (t == f || t.rfind(f + "/", 0) == 0)) return false;
      if (Op == foCopy) CopyOne(from, to);
      else MoveOne(from, to);
    }
    return true;
  } catch (const std::exception& e) {
    UiShowError(e.what());
    return false;
  }
}

bool CopyFileOverwrite(const std::string& Source, const std::string& Target) {
  try {
    std::ifstream in(Source, std::ios::binary);
    if (!in || !fs::is_regular_file(Source)) return false;
    // The copy is written into a work file beside the target (removed when it
    // fails; a killed copy's work file goes at the next copy there).
    static const std::string kCurrentFolder(".");
    const std::string dir = ExtractFileDir(Target);
    const std::string& folder = dir.empty() ? kCurrentFolder : dir;
    RemoveLeftoverWorkFiles(folder);
    TWorkFile work(folder, ".tmp");
    {
      std::ofstream out(work.Path(), std::ios::binary | std::ios::trunc);
      if (!out) return false;
      out << in.rdbuf();
      out.flush();
      if (!out) return false;
    }
    std::error_code ec;
    fs::permissions(work.Path(), fs::status(Source).permissions(), ec);
    FaultPoint("copy.written");
    if (!RenameFile(work.Path(), Target)) return false;
    work.Keep();
    return true;
  } catch (...) {  // false: the copy failed
    return false;
  }
}

bool AppendTextToFile(const std::string& FileName, std::string_view Text) {
  std::fstream f(FileName, std::ios::in | std::ios::out | std::ios::binary);
  if (!f) return false;
  f.seekp(0, std::ios::end);
  f.write(Text.data(), static_cast<std::streamsize>(Text.size()));
  f.flush();
  return static_cast<bool>(f);
}
