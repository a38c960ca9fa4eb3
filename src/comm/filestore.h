// The member service's file store: FTP (passive, binary) put and get of the
// encrypted transfer files in the slot folders "/01" ... "/10".
//
// A put never exposes a partial file under the remote name: it removes a
// stale backup copy ("<name>bak") and a stale upload, stores the file under
// "<name>.part", compares the stored size with the local size, then renames
// the previous file to its backup name and the upload to the remote name. A
// failure at any point leaves the previous file under its name (only the
// moment between the two renames is undone by renaming the backup back).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "comm/commnotice.h"
#include "comm/curlsession.h"

struct TFileStoreLogin {
  std::string Host;      // the slot table's file-store host, optionally "host:port"
  std::string User;      // the communication ID
  std::string Password;  // the slot table's file-store password
};

// Splits "host:port" at its first ":"; without a port DefaultPort is taken.
void SplitHostPort(const std::string& HostPort, int DefaultPort, std::string& Host, int& Port);

class TFileStoreClient {
 public:
  explicit TFileStoreClient(TFileStoreLogin Login);
  ~TFileStoreClient();
  TFileStoreClient(const TFileStoreClient&) = delete;
  TFileStoreClient& operator=(const TFileStoreClient&) = delete;

  // Puts LocalFile (whose size the caller took before) into Folder ("/NN")
  // as RemoteName. False with Notice on failure.
  bool Put(const std::string& LocalFile, std::uint64_t LocalSize, const std::string& Folder,
           const std::string& RemoteName, TCommNotice& Notice);
  // Gets RemotePath ("/NN/name") into LocalFile (replaced only after a
  // complete download). False on failure; Notice holds a message only when the
  // remote file is missing or the connection could not be made.
  bool Get(const std::string& RemotePath, const std::string& LocalFile, TCommNotice& Notice);

  // The step at which the last Put failed (None after a successful one).
  enum class TPutStep { None, Connect, Folder, Transfer };
  TPutStep FailedStep() const { return failedStep_; }

  // Ends the connection that a successful Put left open (KeepConnected) with
  // QUIT. False when there is no connection or the store refused to end it;
  // the connection is closed in every case.
  bool Quit();

  // Pause between the store and the size check (seconds).
  double SizeCheckPause = 0.48;
  // A successful Put leaves its connection open for Quit (otherwise it is
  // closed without waiting for the store's answer).
  bool KeepConnected = false;

 private:
  void Connect();                                        // login; throws ETransferError
  void ChangeFolder(const std::string& Folder);          // throws ETransferError
  // Remote size, -1 when the file is missing; throws ETransferError.
  std::int64_t RemoteSize(const std::string& Path);
  // Runs FTP commands on the open connection; a "*" prefix lets a command fail.
  void Commands(const std::vector<std::string>& Lines);  // throws ETransferError
  void Upload(const std::string& LocalFile, const std::string& RemotePath);
  // Downloads into LocalFile, replacing it only when exactly ExpectedSize
  // bytes arrived; throws ETransferError.
  bool Download(const std::string& RemotePath, const std::string& LocalFile, std::uint64_t ExpectedSize);
  void Reset();                                          // clears the per-call options
  void Perform();                                        // throws ETransferError
  std::string Url(const std::string& Path) const;

  TFileStoreLogin login_;
  std::string host_;
  int port_ = 21;
  CurlPtr curl_;
  char error_[CURL_ERROR_SIZE] = {0};
  TPutStep failedStep_ = TPutStep::None;
};
