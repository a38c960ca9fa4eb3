// Test stand-ins for the remote services of the exchange, run as real
// processes on 127.0.0.1: the member service (HTTPS) and its file store (FTP).
#pragma once

#include <QJsonObject>

#include <string>
#include <vector>

#include "platform/win/childprocess.h"

// A fresh folder under the temporary folder, removed with everything in it.
class TTempFolder {
 public:
  TTempFolder();
  ~TTempFolder();
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Throwaway certificates: a test CA with a server certificate for 127.0.0.1
// that it signed, and a self-signed certificate for 127.0.0.1 that no CA file
// vouches for.
struct TTestCertificates {
  std::string CaFile;
  std::string ServerCert, ServerKey;
  std::string SelfSignedCert, SelfSignedKey;
};
// Creates them with the openssl tool in Folder; throws std::runtime_error.
TTestCertificates MakeTestCertificates(const std::string& Folder);

void WriteTextFile(const std::string& Path, const std::string& Text);
std::string ReadTextFile(const std::string& Path);

// The member service; its state is a JSON file (see member_service.py).
class TFakeMemberService {
 public:
  // Starts the server with the certificate and the initial state; throws
  // std::runtime_error when it does not come up.
  TFakeMemberService(const std::string& Folder, const std::string& Cert, const std::string& Key,
                     const QJsonObject& State);
  int Port() const { return port_; }
  QJsonObject State() const;
  void SetState(const QJsonObject& State) const;
  // The request lines received so far.
  std::vector<std::string> RequestLog() const;

 private:
  std::string state_, log_;
  TChildProcess process_;
  int port_ = 0;
};

// A slot of the fake's state.
QJsonObject FakeSlot(int Area, const std::string& CompanyBase64 = "", const std::string& Update = "",
                     const std::string& Use = "1", const std::string& Password = "");
// A state with one communication ID whose ten slots are empty.
QJsonObject FakeState(const std::string& CommId, const std::string& FtpHost, const std::string& FtpPassword);

// The file store over one root folder with /01 ... /10.
class TFakeFileStore {
 public:
  TFakeFileStore(const std::string& Root, const std::string& User, const std::string& Password,
                 const std::vector<std::string>& Options = {}, int Port = 0);
  int Port() const { return port_; }
  // Ends it (SIGKILL) and waits until it has ended.
  void Kill() { process_.Kill(); }

 private:
  TChildProcess process_;
  int port_ = 0;
};
