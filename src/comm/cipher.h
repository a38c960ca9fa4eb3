// The transfer-file cipher: EncryptFile and DecryptFile with a pass phrase.
//
// File layout (all integers little-endian):
//   8 bytes  magic "VRWEN01\n"
//   4 bytes  PBKDF2 iteration count
//  16 bytes  salt (random per file)
//  12 bytes  AES-GCM nonce (random per file)
//   n bytes  AES-256-GCM ciphertext of the source file
//  16 bytes  GCM tag
// The key is PBKDF2-HMAC-SHA256(pass phrase, salt, iterations), 32 bytes; the
// 40 header bytes are authenticated as additional data. A wrong pass phrase or
// any changed byte fails the tag check.
//
// Both calls write the target through a temporary file in the target's folder
// and rename it into place only when everything succeeded, so a failure never
// leaves a partial or unauthenticated target (an existing target stays as it
// was). Failures raise ECipherError.
#pragma once

#include <stdexcept>
#include <string>

class ECipherError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

void EncryptFile(const std::string& SourceFile, const std::string& TargetFile, const std::string& PassPhrase);
void DecryptFile(const std::string& SourceFile, const std::string& TargetFile, const std::string& PassPhrase);
