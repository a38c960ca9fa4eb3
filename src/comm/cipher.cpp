#include "comm/cipher.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "comm/worktemp.h"

namespace {

constexpr char kMagic[8] = {'V', 'R', 'W', 'E', 'N', '0', '1', '\n'};
constexpr std::uint32_t kIterations = 200000;
constexpr std::size_t kSaltSize = 16;
constexpr std::size_t kNonceSize = 12;
constexpr std::size_t kTagSize = 16;
constexpr std::size_t kHeaderSize = sizeof(kMagic) + 4 + kSaltSize + kNonceSize;
constexpr std::size_t kKeySize = 32;
constexpr std::size_t kChunk = 1 << 16;
// Upper bound for the iteration count read from a file, so that a forged
// header cannot make decryption spin for hours.
constexpr std::uint32_t kMaxIterations = 10000000;

struct CtxFree {
  void operator()(EVP_CIPHER_CTX* c) const { EVP_CIPHER_CTX_free(c); }
};
using CtxPtr = std::unique_ptr<EVP_CIPHER_CTX, CtxFree>;

[[noreturn]] void Fail(const std::string& what) { throw ECipherError(what); }

std::array<unsigned char, kKeySize> DeriveKey(const std::string& phrase, const unsigned char* salt,
                                              std::uint32_t iterations) {
  std::array<unsigned char, kKeySize> key{};
  if (PKCS5_PBKDF2_HMAC(phrase.data(), static_cast<int>(phrase.size()), salt, static_cast<int>(kSaltSize),
                        static_cast<int>(iterations), EVP_sha256(), static_cast<int>(key.size()),
                        key.data()) != 1)
    Fail("key derivation failed");
  return key;
}

void PutLe32(unsigned char* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}
std::uint32_t GetLe32(const unsigned char* p) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= std::uint32_t(p[i]) << (8 * i);
  return v;
}

std::ifstream OpenSource(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail("cannot open " + path);
  return in;
}

}  // namespace

void EncryptFile(const std::string& SourceFile, const std::string& TargetFile, const std::string& PassPhrase) {
  std::ifstream in = OpenSource(SourceFile);

  unsigned char header[kHeaderSize];
  std::memcpy(header, kMagic, sizeof(kMagic));
  PutLe32(header + sizeof(kMagic), kIterations);
  unsigned char* salt = header + sizeof(kMagic) + 4;
  unsigned char* nonce = salt + kSaltSize;
  if (RAND_bytes(salt, static_cast<int>(kSaltSize + kNonceSize)) != 1) Fail("no random bytes");
  auto key = DeriveKey(PassPhrase, salt, kIterations);

  CtxPtr ctx(EVP_CIPHER_CTX_new());
  int len = 0;
  if (!ctx || EVP_EncryptInit_ex(ctx.get(), EVP_aes_256_gcm(), nullptr, nullptr, nullptr) != 1 ||
      EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_IVLEN, static_cast<int>(kNonceSize), nullptr) != 1 ||
      EVP_EncryptInit_ex(ctx.get(), nullptr, nullptr, key.data(), nonce) != 1 ||
      EVP_EncryptUpdate(ctx.get(), nullptr, &len, header, static_cast<int>(kHeaderSize)) != 1)
    Fail("cipher set-up failed");
  OPENSSL_cleanse(key.data(), key.size());

  TWorkTempFile out(TargetFile);
  out.Write(reinterpret_cast<const char*>(header), kHeaderSize);
  std::vector<char> buf(kChunk);
  std::vector<unsigned char> enc(kChunk + 16);
  while (in) {
    in.read(buf.data(), static_cast<std::streamsize>(buf.size()));
    const auto got = in.gcount();
    if (got <= 0) break;
    if (EVP_EncryptUpdate(ctx.get(), enc.data(), &len, reinterpret_cast<unsigned char*>(buf.data()),
                          static_cast<int>(got)) != 1)
      Fail("encryption failed");
    out.Write(reinterpret_cast<const char*>(enc.data()), static_cast<std::size_t>(len));
  }
  if (in.bad()) Fail("cannot read " + SourceFile);
  if (EVP_EncryptFinal_ex(ctx.get(), enc.data(), &len) != 1) Fail("encryption failed");
  out.Write(reinterpret_cast<const char*>(enc.data()), static_cast<std::size_t>(len));
  unsigned char tag[kTagSize];
  if (EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_GET_TAG, static_cast<int>(kTagSize), tag) != 1)
    Fail("encryption failed");
  out.Write(reinterpret_cast<const char*>(tag), kTagSize);
  out.Commit();
}

void DecryptFile(const std::string& SourceFile, const std::string& TargetFile, const std::string& PassPhrase) {
  std::error_code ec;
  const auto total = std::filesystem::file_size(SourceFile, ec);
  if (ec) Fail("cannot open " + SourceFile);
  if (total < kHeaderSize + kTagSize) Fail("not an encrypted transfer file");
  std::ifstream in = OpenSource(SourceFile);

  unsigned char header[kHeaderSize];
  if (!in.read(reinterpret_cast<char*>(header), kHeaderSize)) Fail("cannot read " + SourceFile);
  if (std::memcmp(header, kMagic, sizeof(kMagic)) != 0) Fail("not an encrypted transfer file");
  const std::uint32_t iterations = GetLe32(header + sizeof(kMagic));
  if (iterations == 0 || iterations > kMaxIterations) Fail("not an encrypted transfer file");
  const unsigned char* salt = header + sizeof(kMagic) + 4;
  const unsigned char* nonce = salt + kSaltSize;
  auto key = DeriveKey(PassPhrase, salt, iterations);

  CtxPtr ctx(EVP_CIPHER_CTX_new());
  int len = 0;
  if (!ctx || EVP_DecryptInit_ex(ctx.get(), EVP_aes_256_gcm(), nullptr, nullptr, nullptr) != 1 ||
      EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_IVLEN, static_cast<int>(kNonceSize), nullptr) != 1 ||
      EVP_DecryptInit_ex(ctx.get(), nullptr, nullptr, key.data(), nonce) != 1 ||
      EVP_DecryptUpdate(ctx.get(), nullptr, &len, header, static_cast<int>(kHeaderSize)) != 1)
    Fail("cipher set-up failed");
  OPENSSL_cleanse(key.data(), key.size());

  std::uint64_t remaining = total - kHeaderSize - kTagSize;
  TWorkTempFile out(TargetFile);
  std::vector<char> buf(kChunk);
  std::vector<unsigned char> dec(kChunk + 16);
  while (remaining > 0) {
    const std::size_t want = remaining < kChunk ? static_cast<std::size_t>(remaining) : kChunk;
    if (!in.read(buf.data(), static_cast<std::streamsize>(want))) Fail("cannot read " + SourceFile);
    remaining -= want;
    if (EVP_DecryptUpdate(ctx.get(), dec.data(), &len, reinterpret_cast<unsigned char*>(buf.data()),
                          static_cast<int>(want)) != 1)
      Fail("decryption failed");
    out.Write(reinterpret_cast<const char*>(dec.data()), static_cast<std::size_t>(len));
  }
  unsigned char tag[kTagSize];
  if (!in.read(reinterpret_cast<char*>(tag), kTagSize)) Fail("cannot read " + SourceFile);
  if (EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_TAG, static_cast<int>(kTagSize), tag) != 1)
    Fail("decryption failed");
  if (EVP_DecryptFinal_ex(ctx.get(), dec.data(), &len) != 1)
    Fail("wrong pass phrase or damaged file");  // the temporary output is removed unused
  out.Write(reinterpret_cast<const char*>(dec.data()), static_cast<std::size_t>(len));
  out.Commit();
}
