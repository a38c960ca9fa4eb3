// TIniFile over a CP932 text file. The file is re-read whenever it changed on
// disk (another program may write it) and rewritten as a whole, atomically, on
// every change. Every line the program does not change is written back with
// exactly the bytes it was read with (comments, blank lines, spacing, line
// ends, and bytes that are no valid CP932), so that one stray byte never
// stops the program from writing its own entries.
#include "platform/rtl/inifile.h"

#include <sys/stat.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "platform/rtl/cp932.h"
#include "platform/rtl/sysutils.h"

namespace {

struct Line {
  bool isValue = false;
  std::string key;      // for values: the key as text (for look-ups)
  std::string value;    // for values: the value as text
  std::string rawKey;   // for values: the key's bytes as read or written
  std::string raw;      // the whole line's bytes as read (without its end)
  std::string eol;      // the line end as read: "\r\n", "\n" or "" (the last line)
  bool written = false; // written by the program: emitted from rawKey and valueBytes
  std::string valueBytes;
};

struct Section {
  std::string name;
  std::string rawHeader;  // the header line's bytes as read; empty for a new section
  std::string eol;
  std::vector<Line> lines;
};

struct FileStamp {
  bool exists = false;
  dev_t dev = 0;
  ino_t ino = 0;
  off_t size = 0;
  timespec mtime{};
  bool operator==(const FileStamp& o) const {
    return exists == o.exists && dev == o.dev && ino == o.ino && size == o.size &&
           mtime.tv_sec == o.mtime.tv_sec && mtime.tv_nsec == o.mtime.tv_nsec;
  }
};

FileStamp StampOf(const std::string& path) {
  FileStamp s;
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    s.exists = true;
    s.dev = st.st_dev;
    s.ino = st.st_ino;
    s.size = st.st_size;
    s.mtime = st.st_mtim;
  }
  return s;
}

std::string_view TrimBlanks(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return s.substr(b, e - b);
}

// A value in matching single or double quotes reads without them, as the
// Windows settings-file functions return it.
std::string Unquote(const std::string& value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

// Names and values that would change the structure of the file are refused.
void CheckWritable(std::string_view section, std::string_view key, std::string_view value) {
  auto hasBreak = [](std::string_view t) { return t.find_first_of("\r\n") != std::string_view::npos; };
  if (hasBreak(section) || section.find(']') != std::string_view::npos || hasBreak(key) || hasBreak(value) ||
      TrimBlanks(key).empty() || key.find('=') != std::string_view::npos || TrimBlanks(key).front() == ';' ||
      TrimBlanks(key).front() == '[')
    throw std::invalid_argument("Invalid settings entry [" + std::string(section) + "] " + std::string(key));
}

}  // namespace

struct TIniFile::Impl {
  std::string path;
  std::vector<Line> preamble;  // lines before the first section
  std::vector<Section> sections;
  FileStamp stamp;
  bool loaded = false;

  void Parse(const std::string& bytes) {
    preamble.clear();
    sections.clear();
    std::size_t start = 0;
    while (start < bytes.size()) {
      std::size_t end = bytes.find('\n', start);
      std::string eol = "\n";
      if (end == std::string::npos) {
        end = bytes.size();
        eol.clear();
      }
      std::string raw = bytes.substr(start, end - start);
      if (!raw.empty() && raw.back() == '\r') {
        raw.pop_back();
        eol = "\r" + eol;
      }
      start = end + 1;
      const std::string text = Cp932ToUtf8Lossy(raw);
      std::string_view t = TrimBlanks(text);
      if (t.size() >= 2 && t.front() == '[' && t.find(']') != std::string_view::npos) {
        sections.push_back({std::string(TrimBlanks(t.substr(1, t.find(']') - 1))), raw, eol, {}});
        continue;
      }
      Line l;
      l.raw = raw;
      l.eol = eol;
      std::size_t eq = t.find('=');
      if (eq != std::string_view::npos && eq > 0 && t[0] != ';' && !sections.empty()) {
        l.isValue = true;
        l.key = std::string(TrimBlanks(t.substr(0, eq)));
        l.value = std::string(TrimBlanks(t.substr(eq + 1)));
        // "=" is never part of a double-byte character: the key's own bytes.
        l.rawKey = std::string(TrimBlanks(std::string_view(raw).substr(0, raw.find('='))));
      }
      (sections.empty() ? preamble : sections.back().lines).push_back(std::move(l));
    }
  }

  void Load() {
    FileStamp now = StampOf(path);
    if (loaded && now == stamp) return;
    std::string bytes;
    if (now.exists) {
      std::ifstream in(path, std::ios::binary);
      std::ostringstream ss;
      ss << in.rdbuf();
      bytes = ss.str();
    }
    Parse(bytes);
    stamp = now;
    loaded = true;
  }

  void Save() {
    // Each line with its end; a line read without an end (the file's last
    // one) keeps that only while it is still the last.
    std::vector<std::pair<std::string, std::string>> out;
    auto emit = [&](const std::vector<Line>& lines) {
      for (const Line& l : lines) {
        if (l.written) out.emplace_back(l.rawKey + "=" + l.valueBytes, "\r\n");
        else out.emplace_back(l.raw, l.eol);
      }
    };
    emit(preamble);
    for (const Section& s : sections) {
      if (s.rawHeader.empty()) out.emplace_back("[" + Utf8ToCp932(s.name) + "]", "\r\n");
      else out.emplace_back(s.rawHeader, s.eol);
      emit(s.lines);
    }
    std::string bytes;
    for (std::size_t i = 0; i < out.size(); ++i)
      bytes += out[i].first + (out[i].second.empty() && i + 1 < out.size() ? "\r\n" : out[i].second);
    try {
      WriteFileAtomically(path, bytes);
    } catch (...) {
      loaded = false;  // what the file holds is what counts
      throw;
    }
    stamp = StampOf(path);
  }

  Section* FindSection(std::string_view name) {
    for (Section& s : sections)
      if (SameText(s.name, name)) return &s;
    return nullptr;
  }

  static Line* FindKey(Section* s, std::string_view key) {
    if (!s) return nullptr;
    for (Line& l : s->lines)
      if (l.isValue && SameText(l.key, key)) return &l;
    return nullptr;
  }
};

TIniFile::TIniFile(std::string path) : impl_(std::make_unique<Impl>()) { impl_->path = std::move(path); }

TIniFile::~TIniFile() = default;

const std::string& TIniFile::FileName() const { return impl_->path; }

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const {
  impl_->Load();
  const Line* l = Impl::FindKey(impl_->FindSection(section), key);
  return l ? Unquote(l->value) : std::string(fallback);
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int fallback) const {
  impl_->Load();
  const Line* l = Impl::FindKey(impl_->FindSection(section), key);
  return l ? StrToIntDef(Unquote(l->value), fallback) : fallback;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  CheckWritable(section, key, value);
  section = TrimBlanks(section);
  key = TrimBlanks(key);
  // Only a value (or a new name) that CP932 cannot carry is refused; nothing
  // is changed then.
  auto encode = [&](std::string_view text) {
    try {
      return Utf8ToCp932(text);
    } catch (const ETextConversion&) {
      throw ETextConversion("設定ファイル(" + impl_->path + ")の[" + std::string(section) + "] " + std::string(key) +
                            " に書き込めない文字があります: " + std::string(text));
    }
  };
  const std::string valueBytes = encode(value);
  impl_->Load();
  Section* s = impl_->FindSection(section);
  if (!s) {
    encode(section);
    impl_->sections.push_back({std::string(section), {}, {}, {}});
    s = &impl_->sections.back();
  }
  Line* l = Impl::FindKey(s, key);
  if (l) {
    l->value = std::string(value);
  } else {
    // New keys follow the section's last key, before trailing blank lines.
    std::size_t at = s->lines.size();
    while (at > 0 && !s->lines[at - 1].isValue && TrimBlanks(Cp932ToUtf8Lossy(s->lines[at - 1].raw)).empty()) --at;
    Line nl;
    nl.isValue = true;
    nl.key = std::string(key);
    nl.value = std::string(value);
    nl.rawKey = encode(key);
    s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(nl));
    l = &s->lines[at];
  }
  l->written = true;
  l->valueBytes = valueBytes;
  impl_->Save();
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

bool TIniFile::SectionExists(std::string_view section) const {
  impl_->Load();
  return impl_->FindSection(section) != nullptr;
}

bool TIniFile::ValueExists(std::string_view section, std::string_view key) const {
  impl_->Load();
  return Impl::FindKey(impl_->FindSection(section), key) != nullptr;
}

std::vector<std::string> TIniFile::ReadSections() const {
  impl_->Load();
  std::vector<std::string> names;
  for (const Section& s : impl_->sections) {
    bool seen = false;
    for (const std::string& n : names) seen = seen || SameText(n, s.name);
    if (!seen) names.push_back(s.name);
  }
  return names;
}

std::vector<std::string> TIniFile::ReadSection(std::string_view section) const {
  impl_->Load();
  std::vector<std::string> keys;
  if (Section* s = impl_->FindSection(section))
    for (const Line& l : s->lines)
      if (l.isValue) keys.push_back(l.key);
  return keys;
}

std::vector<std::string> TIniFile::ReadSectionValues(std::string_view section) const {
  impl_->Load();
  std::vector<std::string> lines;
  if (Section* s = impl_->FindSection(section))
    for (const Line& l : s->lines)
      if (l.isValue) lines.push_back(l.key + "=" + Unquote(l.value));
  return lines;
}

void TIniFile::EraseSection(std::string_view section) {
  impl_->Load();
  std::size_t before = impl_->sections.size();
  std::erase_if(impl_->sections, [&](const Section& s) { return SameText(s.name, section); });
  if (impl_->sections.size() != before) impl_->Save();
}

void TIniFile::DeleteKey(std::string_view section, std::string_view key) {
  impl_->Load();
  Section* s = impl_->FindSection(section);
  if (!s) return;
  std::size_t before = s->lines.size();
  std::erase_if(s->lines, [&](const Line& l) { return l.isValue && SameText(l.key, key); });
  if (s->lines.size() != before) impl_->Save();
}

void TIniFile::Reload() {
  impl_->loaded = false;
  impl_->Load();
}
