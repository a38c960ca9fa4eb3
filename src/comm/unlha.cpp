#include "comm/unlha.h"

#include <openssl/evp.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <vector>

#include "comm/worktemp.h"

namespace fs = std::filesystem;

namespace {

constexpr char kMagic[8] = {'V', 'R', 'L', 'H', 'A', '0', '1', '\n'};
constexpr std::size_t kDigestSize = 32;
constexpr std::size_t kChunk = 1 << 16;

using Digest = std::array<unsigned char, kDigestSize>;

struct MemberInfo {
  std::string name;
  std::uint64_t size = 0;
  Digest digest{};
  std::uint64_t offset = 0;  // of the contents in the archive
};

struct MdFree {
  void operator()(EVP_MD_CTX* c) const { EVP_MD_CTX_free(c); }
};

class Sha256 {
 public:
  Sha256() : ctx_(EVP_MD_CTX_new()) {
    if (!ctx_ || EVP_DigestInit_ex(ctx_.get(), EVP_sha256(), nullptr) != 1) throw std::runtime_error("sha256");
  }
  void Update(const char* p, std::size_t n) { EVP_DigestUpdate(ctx_.get(), p, n); }
  Digest Final() {
    Digest d{};
    unsigned int len = 0;
    EVP_DigestFinal_ex(ctx_.get(), d.data(), &len);
    return d;
  }

 private:
  std::unique_ptr<EVP_MD_CTX, MdFree> ctx_;
};

bool IsBareName(const std::string& name) {
  return !name.empty() && name.size() <= 255 && name != "." && name != ".." &&
         name.find('/') == std::string::npos && name.find('\\') == std::string::npos &&
         name.find('\0') == std::string::npos;
}

// Splits a command line into its arguments (blanks separate, quotes group).
std::vector<std::string> SplitCommandLine(const std::string& line) {
  std::vector<std::string> args;
  std::string cur;
  bool quoted = false, have = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      have = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (have) args.push_back(cur);
      cur.clear();
      have = false;
    } else {
      cur += c;
      have = true;
    }
  }
  if (have) args.push_back(cur);
  return args;
}

bool ReadExact(std::istream& in, void* p, std::size_t n) {
  in.read(static_cast<char*>(p), static_cast<std::streamsize>(n));
  return static_cast<std::size_t>(in.gcount()) == n;
}

std::uint64_t GetLe(const unsigned char* p, int bytes) {
  std::uint64_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= std::uint64_t(p[i]) << (8 * i);
  return v;
}
void PutLe(std::string& out, std::uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Reads the member directory; with `verify` every member's digest is checked.
// False when the archive is damaged.
bool ReadDirectory(const std::string& archive, bool verify, std::vector<MemberInfo>& members) {
  std::error_code ec;
  const auto total = fs::file_size(archive, ec);
  if (ec) return false;
  std::ifstream in(archive, std::ios::binary);
  char magic[sizeof(kMagic)];
  if (!in || !ReadExact(in, magic, sizeof(magic)) || std::memcmp(magic, kMagic, sizeof(kMagic)) != 0)
    return false;
  std::uint64_t pos = sizeof(kMagic);
  std::vector<char> buf(kChunk);
  for (;;) {
    unsigned char len2[2];
    if (!ReadExact(in, len2, 2)) return false;
    pos += 2;
    const auto nameLen = static_cast<std::size_t>(GetLe(len2, 2));
    if (nameLen == 0) break;
    MemberInfo m;
    m.name.resize(nameLen);
    unsigned char size8[8];
    if (!ReadExact(in, m.name.data(), nameLen) || !ReadExact(in, size8, 8) ||
        !ReadExact(in, m.digest.data(), kDigestSize))
      return false;
    if (!IsBareName(m.name)) return false;
    m.size = GetLe(size8, 8);
    pos += nameLen + 8 + kDigestSize;
    m.offset = pos;
    if (m.size > total - pos) return false;
    if (verify) {
      Sha256 sha;
      for (std::uint64_t left = m.size; left > 0;) {
        const std::size_t n = left < kChunk ? static_cast<std::size_t>(left) : kChunk;
        if (!ReadExact(in, buf.data(), n)) return false;
        sha.Update(buf.data(), n);
        left -= n;
      }
      if (sha.Final() != m.digest) return false;
    } else {
      in.seekg(static_cast<std::streamoff>(m.size), std::ios::cur);
    }
    pos += m.size;
    members.push_back(std::move(m));
  }
  return pos == total;
}

// Copies `size` bytes from `in` to `out`, digesting them into `sha` when given.
void CopyBytes(std::istream& in, TWorkTempFile& out, std::uint64_t size, Sha256* sha) {
  std::vector<char> buf(kChunk);
  for (std::uint64_t left = size; left > 0;) {
    const std::size_t n = left < kChunk ? static_cast<std::size_t>(left) : kChunk;
    if (!ReadExact(in, buf.data(), n)) throw std::runtime_error("short read");
    if (sha) sha->Update(buf.data(), n);
    out.Write(buf.data(), n);
    left -= n;
  }
}

void WriteMemberHeader(TWorkTempFile& out, const std::string& name, std::uint64_t size, const Digest& digest) {
  std::string h;
  PutLe(h, name.size(), 2);
  h += name;
  PutLe(h, size, 8);
  h.append(reinterpret_cast<const char*>(digest.data()), digest.size());
  out.Write(h.data(), h.size());
}

Digest DigestOfFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path);
  Sha256 sha;
  std::vector<char> buf(kChunk);
  while (in) {
    in.read(buf.data(), static_cast<std::streamsize>(buf.size()));
    if (in.gcount() > 0) sha.Update(buf.data(), static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad()) throw std::runtime_error("cannot read " + path);
  return sha.Final();
}

int AddFiles(const std::string& archive, const std::vector<std::string>& files) {
  std::vector<MemberInfo> old;
  if (fs::exists(archive) && !ReadDirectory(archive, false, old)) return 1;
  std::map<std::string, std::string> added;  // member name -> source path
  for (const auto& f : files) {
    const std::string name = fs::path(f).filename().string();
    if (!IsBareName(name) || !fs::is_regular_file(f)) return 1;
    added[name] = f;
  }
  TWorkTempFile out(archive);
  out.Write(kMagic, sizeof(kMagic));
  if (!old.empty()) {
    std::ifstream in(archive, std::ios::binary);
    for (const auto& m : old) {
      if (added.count(m.name)) continue;
      WriteMemberHeader(out, m.name, m.size, m.digest);
      in.seekg(static_cast<std::streamoff>(m.offset));
      CopyBytes(in, out, m.size, nullptr);
    }
  }
  for (const auto& [name, path] : added) {
    // The digest is taken in a first pass so that the header precedes the data.
    const Digest digest = DigestOfFile(path);
    const auto size = fs::file_size(path);
    WriteMemberHeader(out, name, size, digest);
    std::ifstream in(path, std::ios::binary);
    Sha256 sha;
    CopyBytes(in, out, size, &sha);
    if (sha.Final() != digest) return 1;  // the file changed while it was packed
  }
  const char end[2] = {0, 0};
  out.Write(end, 2);
  out.Commit();
  return 0;
}

int ExtractAll(const std::string& archive, const std::string& folder) {
  std::vector<MemberInfo> members;
  if (!ReadDirectory(archive, false, members)) return 1;
  if (!fs::is_directory(folder)) return 1;
  std::ifstream in(archive, std::ios::binary);
  for (const auto& m : members) {
    TWorkTempFile out((fs::path(folder) / m.name).string());
    in.seekg(static_cast<std::streamoff>(m.offset));
    Sha256 sha;
    CopyBytes(in, out, m.size, &sha);
    if (sha.Final() != m.digest) return 1;
    out.Commit();
  }
  return 0;
}

}  // namespace

int Unlha(void* /*Window*/, const std::string& CommandLine, char* Output, std::uint32_t OutputSize) {
  if (Output && OutputSize) Output[0] = '\0';
  const auto args = SplitCommandLine(CommandLine);
  if (args.size() < 3) return 1;
  try {
    if (args[0] == "a") return AddFiles(args[1], {args.begin() + 2, args.end()});
    if (args[0] == "e" && args.size() == 3) return ExtractAll(args[1], args[2]);
  } catch (const std::exception&) {
    return 1;
  }
  return 1;
}

int UnlhaCheckArchive(const std::string& ArchiveFile, int Mode) {
  std::vector<MemberInfo> members;
  try {
    return ReadDirectory(ArchiveFile, Mode == 2, members) ? 1 : 0;
  } catch (const std::exception&) {
    return 0;
  }
}
