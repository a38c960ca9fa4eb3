#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "comm/cipher.h"
#include "comm/fakes/fakeservers.h"

namespace fs = std::filesystem;

namespace {

std::string RandomBytes(std::size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::string s(n, '\0');
  for (auto& c : s) c = static_cast<char>(gen());
  return s;
}

class CipherTest : public ::testing::Test {
 protected:
  TTempFolder dir;
  std::string plain = dir / "plain.lzh";
  std::string enc = dir / "cpacc.wen";
  std::string out = dir / "out.lzh";
  // Nothing but the three files: no temporary file left behind.
  void ExpectOnlyFiles(std::size_t count) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.Path())) ++n;
    EXPECT_EQ(n, count);
  }
};

TEST_F(CipherTest, RoundTripsFilesOfEverySize) {
  for (std::size_t size : {std::size_t(0), std::size_t(1), std::size_t(65536), std::size_t(200001)}) {
    const std::string data = RandomBytes(size, static_cast<unsigned>(size));
    WriteTextFile(plain, data);
    EncryptFile(plain, enc, "QM5813secret");
    EXPECT_NE(ReadTextFile(enc).find("VRWEN01"), std::string::npos);
    DecryptFile(enc, out, "QM5813secret");
    EXPECT_TRUE(ReadTextFile(out) == data) << size;
  }
  // A random salt and nonce: the same file encrypts differently each time.
  const std::string first = ReadTextFile(enc);
  EncryptFile(plain, enc, "QM5813secret");
  EXPECT_NE(ReadTextFile(enc), first);
  ExpectOnlyFiles(3);
}

TEST_F(CipherTest, WrongPhraseOrAnyChangedByteFailsAndLeavesTheTargetAlone) {
  WriteTextFile(plain, RandomBytes(100000, 7));
  EncryptFile(plain, enc, "QM5813secret");
  WriteTextFile(out, "previous");

  EXPECT_THROW(DecryptFile(enc, out, "QM5813Secret"), ECipherError);
  EXPECT_THROW(DecryptFile(enc, out, ""), ECipherError);
  EXPECT_EQ(ReadTextFile(out), "previous");

  const std::string good = ReadTextFile(enc);
  // Header (iterations, salt, nonce), first and last ciphertext byte, tag.
  for (std::size_t at : {std::size_t(3), std::size_t(9), std::size_t(20), std::size_t(35), std::size_t(40),
                         good.size() - 17, good.size() - 1}) {
    std::string bad = good;
    bad[at] = static_cast<char>(bad[at] ^ 0x01);
    WriteTextFile(enc, bad);
    EXPECT_THROW(DecryptFile(enc, out, "QM5813secret"), ECipherError) << at;
    EXPECT_EQ(ReadTextFile(out), "previous") << at;
  }
  WriteTextFile(enc, good.substr(0, good.size() - 5));
  EXPECT_THROW(DecryptFile(enc, out, "QM5813secret"), ECipherError);
  WriteTextFile(enc, "short");
  EXPECT_THROW(DecryptFile(enc, out, "QM5813secret"), ECipherError);
  EXPECT_THROW(DecryptFile(dir / "missing.wen", dir / "new.lzh", "QM5813secret"), ECipherError);
  EXPECT_FALSE(fs::exists(dir / "new.lzh"));
  ExpectOnlyFiles(3);
}

}  // namespace
