#include "platform/win/registry.h"

#include <algorithm>
#include <set>
#include <system_error>

#include "platform/rtl/inifile.h"
#include "platform/win/paths.h"
#include "platform/win/specialfolders.h"

namespace {

constexpr char KeyDelim = '\\';

// "\SOFTWARE\\Maker\" -> "SOFTWARE\Maker": no empty parts, no outer delimiters.
std::string NormalizeKey(std::string_view key) {
  std::string result;
  std::size_t start = 0;
  while (start <= key.size()) {
    std::size_t end = key.find(KeyDelim, start);
    if (end == std::string_view::npos) end = key.size();
    if (end > start) {
      if (!result.empty()) result += KeyDelim;
      result.append(key.substr(start, end - start));
    }
    start = end + 1;
  }
  return result;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameKey(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return Lower(x) == Lower(y);
         });
}

// True when `key` lies below `parent` ("" is the root, above every key).
bool IsBelow(std::string_view key, std::string_view parent) {
  if (parent.empty()) return !key.empty();
  return key.size() > parent.size() + 1 && key[parent.size()] == KeyDelim &&
         SameKey(key.substr(0, parent.size()), parent);
}

bool IsPlainInteger(const std::string& text, int& value) {
  std::size_t i = text.size() > 1 && text[0] == '-' ? 1 : 0;
  if (i == text.size() || text.size() - i > 10) return false;
  for (std::size_t j = i; j < text.size(); ++j)
    if (text[j] < '0' || text[j] > '9') return false;
  long long v = std::stoll(text);
  if (v < INT32_MIN || v > INT32_MAX) return false;
  value = static_cast<int>(v);
  return true;
}

}  // namespace

struct TRegistry::Impl {
  std::string fileName;
  HKEY root = HKEY_LOCAL_MACHINE;
  std::string current;            // normalized; "" = the root
  bool readOnly = false;
  TIniFile ini;
  // Keys created in this object that hold no value yet: the file has no place
  // for an empty section, so they live here until a value is written.
  std::vector<std::string> created;

  explicit Impl(std::string file) : fileName(std::move(file)), ini(fileName) {}

  bool Usable() const { return root == HKEY_LOCAL_MACHINE; }

  std::string Resolve(std::string_view key) const {
    if (!key.empty() && key.front() == KeyDelim) return NormalizeKey(key);
    std::string relative = NormalizeKey(key);
    if (current.empty()) return relative;
    return relative.empty() ? current : current + KeyDelim + relative;
  }

  // Every key path the file (and this object) knows, normalized.
  std::vector<std::pair<std::string, std::string>> Keys() const {  // normalized, section name
    std::vector<std::pair<std::string, std::string>> keys;
    for (const std::string& section : ini.ReadSections()) keys.emplace_back(NormalizeKey(section), section);
    for (const std::string& key : created) keys.emplace_back(key, std::string());
    return keys;
  }

  // The file's section of a key; "" when the key has no values in the file.
  std::string Section(const std::string& key) const {
    if (key.empty()) return {};
    for (const auto& [normalized, section] : Keys())
      if (!section.empty() && SameKey(normalized, key)) return section;
    return {};
  }

  bool Exists(const std::string& key) const {
    if (!Usable()) return false;
    if (key.empty()) return true;
    for (const auto& [normalized, section] : Keys())
      if (SameKey(normalized, key) || IsBelow(normalized, key)) return true;
    return false;
  }

  void Refresh() {
    try {
      ini.Reload();
    } catch (const std::exception&) {
      // an unreadable file reads as an empty tree
    }
  }

  // Section to write a value of the open key into.
  std::string WritableSection() {
    if (!Usable() || current.empty()) throw ERegistryException("レジストリキーが開かれていません。");
    if (readOnly) throw ERegistryException("レジストリキーは読み取り専用で開かれています。");
    Refresh();  // every write rewrites the file: start from what another process left
    std::string section = Section(current);
    return section.empty() ? current : section;
  }

  void Written() {
    created.erase(std::remove_if(created.begin(), created.end(),
                                 [&](const std::string& k) { return SameKey(k, current); }),
                  created.end());
  }
};

TRegistry::TRegistry() : TRegistry(RegistryFilePath()) {}
TRegistry::TRegistry(std::string fileName) : impl_(std::make_unique<Impl>(std::move(fileName))) {}
TRegistry::~TRegistry() = default;

const std::string& TRegistry::FileName() const { return impl_->fileName; }
HKEY TRegistry::RootKey() const { return impl_->root; }

void TRegistry::SetRootKey(HKEY root) {
  impl_->root = root;
  CloseKey();
}

bool TRegistry::OpenKey(std::string_view key, bool canCreate) {
  impl_->Refresh();
  std::string path = impl_->Resolve(key);
  if (!impl_->Usable()) return false;
  if (!impl_->Exists(path)) {
    if (!canCreate || path.empty()) return false;
    impl_->created.push_back(path);
  }
  impl_->current = path;
  impl_->readOnly = false;
  return true;
}

bool TRegistry::OpenKeyReadOnly(std::string_view key) {
  if (!OpenKey(key, false)) return false;
  impl_->readOnly = true;
  return true;
}

void TRegistry::CloseKey() {
  impl_->current.clear();
  impl_->readOnly = false;
}

std::string TRegistry::CurrentPath() const { return impl_->current; }

bool TRegistry::KeyExists(std::string_view key) const {
  impl_->Refresh();
  return impl_->Exists(impl_->Resolve(key));
}

bool TRegistry::ValueExists(std::string_view name) const {
  std::string section = impl_->Section(impl_->current);
  return impl_->Usable() && !section.empty() && impl_->ini.ValueExists(section, name);
}

TRegDataType TRegistry::GetDataType(std::string_view name) const {
  if (!ValueExists(name)) return TRegDataType::rdUnknown;
  int value;
  return IsPlainInteger(ReadString(name), value) ? TRegDataType::rdInteger : TRegDataType::rdString;
}

std::string TRegistry::ReadString(std::string_view name) const {
  std::string section = impl_->Section(impl_->current);
  if (!impl_->Usable() || section.empty()) return {};
  return impl_->ini.ReadString(section, name, "");
}

int TRegistry::ReadInteger(std::string_view name) const {
  int value = 0;
  if (!ValueExists(name) || !IsPlainInteger(ReadString(name), value))
    throw ERegistryException("'" + std::string(name) + "' のデータ型が正しくありません。");
  return value;
}

void TRegistry::WriteString(std::string_view name, std::string_view value) {
  std::string section = impl_->WritableSection();
  try {
    ForceDirectories(ExtractFileDir(impl_->fileName));
    impl_->ini.WriteString(section, name, value);
  } catch (const std::exception& e) {
    throw ERegistryException("'" + std::string(name) + "' を書き込めません。" + e.what());
  }
  impl_->Written();
}

void TRegistry::WriteInteger(std::string_view name, int value) { WriteString(name, std::to_string(value)); }

bool TRegistry::DeleteValue(std::string_view name) {
  if (!ValueExists(name)) return false;
  std::string section = impl_->WritableSection();
  impl_->ini.DeleteKey(section, name);
  return true;
}

std::vector<std::string> TRegistry::GetKeyNames() const {
  std::vector<std::string> names;
  if (!impl_->Usable()) return names;
  const std::string& parent = impl_->current;
  for (const auto& [normalized, section] : impl_->Keys()) {
    if (!IsBelow(normalized, parent)) continue;
    std::string rest = parent.empty() ? normalized : normalized.substr(parent.size() + 1);
    std::string child = rest.substr(0, rest.find(KeyDelim));
    bool known = std::any_of(names.begin(), names.end(), [&](const std::string& n) { return SameKey(n, child); });
    if (!known) names.push_back(child);
  }
  std::stable_sort(names.begin(), names.end(),
                   [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
  return names;
}

std::vector<std::string> TRegistry::GetValueNames() const {
  std::string section = impl_->Section(impl_->current);
  if (!impl_->Usable() || section.empty()) return {};
  return impl_->ini.ReadSection(section);
}

bool TRegistry::HasSubKeys() const { return !GetKeyNames().empty(); }

bool TRegistry::DeleteKey(std::string_view key) {
  impl_->Refresh();
  std::string path = impl_->Resolve(key);
  if (path.empty() || !impl_->Exists(path)) return false;
  if (impl_->readOnly) throw ERegistryException("レジストリキーは読み取り専用で開かれています。");
  for (const auto& [normalized, section] : impl_->Keys()) {
    if (!SameKey(normalized, path) && !IsBelow(normalized, path)) continue;
    if (!section.empty()) impl_->ini.EraseSection(section);
  }
  auto& created = impl_->created;
  created.erase(std::remove_if(created.begin(), created.end(),
                               [&](const std::string& k) { return SameKey(k, path) || IsBelow(k, path); }),
                created.end());
  return true;
}
