#include "comm/filestore.h"

#include <chrono>
#include <fstream>
#include <thread>
#include <vector>

#include "comm/commsettings.h"
#include "comm/worktemp.h"

namespace {

constexpr const char* kPartSuffix = ".part";

size_t Discard(char*, size_t size, size_t count, void*) { return size * count; }

size_t ReadFromStream(char* buffer, size_t size, size_t count, void* user) {
  auto* in = static_cast<std::ifstream*>(user);
  in->read(buffer, static_cast<std::streamsize>(size * count));
  if (in->bad()) return CURL_READFUNC_ABORT;
  return static_cast<size_t>(in->gcount());
}

struct DownloadSink {
  TWorkTempFile* file;
  std::uint64_t written = 0;
  bool failed = false;
};

size_t WriteToFile(char* data, size_t size, size_t count, void* user) {
  auto* sink = static_cast<DownloadSink*>(user);
  try {
    sink->file->Write(data, size * count);
  } catch (const std::exception&) {
    sink->failed = true;
    return 0;
  }
  sink->written += size * count;
  return size * count;
}

void Pause(double seconds) {
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

}  // namespace

void SplitHostPort(const std::string& HostPort, int DefaultPort, std::string& Host, int& Port) {
  const auto colon = HostPort.find(':');
  Host = HostPort.substr(0, colon);
  Port = DefaultPort;
  if (colon == std::string::npos) return;
  try {
    const int p = std::stoi(HostPort.substr(colon + 1));
    if (p > 0 && p < 65536) Port = p;
  } catch (const std::exception&) {
    // not a port number: the default port stays
  }
}

TFileStoreClient::TFileStoreClient(TFileStoreLogin Login) : login_(std::move(Login)) {
  SplitHostPort(login_.Host, CommSettings.FileStorePort, host_, port_);
}

TFileStoreClient::~TFileStoreClient() = default;  // the handle's clean-up sends QUIT

std::string TFileStoreClient::Url(const std::string& Path) const {
  return "ftp://" + host_ + ":" + std::to_string(port_) + Path;
}

void TFileStoreClient::Reset() {
  CURL* c = curl_.get();
  curl_easy_reset(c);
  error_[0] = '\0';
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "ftp");
  curl_easy_setopt(c, CURLOPT_USERNAME, login_.User.c_str());
  curl_easy_setopt(c, CURLOPT_PASSWORD, login_.Password.c_str());
  curl_easy_setopt(c, CURLOPT_FTP_USE_EPSV, 1L);  // passive
  curl_easy_setopt(c, CURLOPT_TRANSFERTEXT, 0L);  // binary
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error_);
  // Size questions and commands give header-like lines as data: not wanted.
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, Discard);
  curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, Discard);
  ApplyTimeouts(c);
}

void TFileStoreClient::Perform() {
  const CURLcode rc = curl_easy_perform(curl_.get());
  if (rc != CURLE_OK) throw ETransferError(rc, CurlErrorText(rc, error_));
}

void TFileStoreClient::Connect() {
  curl_ = NewCurlHandle();
  Reset();
  curl_easy_setopt(curl_.get(), CURLOPT_URL, Url("/").c_str());
  curl_easy_setopt(curl_.get(), CURLOPT_NOBODY, 1L);
  Perform();
}

void TFileStoreClient::ChangeFolder(const std::string& Folder) {
  Reset();
  curl_easy_setopt(curl_.get(), CURLOPT_URL, Url(Folder + "/").c_str());
  curl_easy_setopt(curl_.get(), CURLOPT_NOBODY, 1L);
  Perform();
}

std::int64_t TFileStoreClient::RemoteSize(const std::string& Path) {
  Reset();
  curl_easy_setopt(curl_.get(), CURLOPT_URL, Url(Path).c_str());
  curl_easy_setopt(curl_.get(), CURLOPT_NOBODY, 1L);
  const CURLcode rc = curl_easy_perform(curl_.get());
  if (rc == CURLE_REMOTE_FILE_NOT_FOUND) return -1;
  if (rc != CURLE_OK) throw ETransferError(rc, CurlErrorText(rc, error_));
  curl_off_t size = -1;
  curl_easy_getinfo(curl_.get(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &size);
  return size;
}

void TFileStoreClient::Commands(const std::vector<std::string>& Lines) {
  Reset();
  SlistPtr list;
  for (const auto& l : Lines) AppendSlist(list, l);
  curl_easy_setopt(curl_.get(), CURLOPT_URL, Url("/").c_str());
  curl_easy_setopt(curl_.get(), CURLOPT_NOBODY, 1L);
  curl_easy_setopt(curl_.get(), CURLOPT_QUOTE, list.get());
  Perform();
}

void TFileStoreClient::Upload(const std::string& LocalFile, const std::string& RemotePath) {
  std::ifstream in(LocalFile, std::ios::binary);
  if (!in) throw ETransferError(CURLE_READ_ERROR, "cannot open " + LocalFile);
  Reset();
  curl_easy_setopt(curl_.get(), CURLOPT_URL, Url(RemotePath).c_str());
  curl_easy_setopt(curl_.get(), CURLOPT_UPLOAD, 1L);
  curl_easy_setopt(curl_.get(), CURLOPT_APPEND, 0L);
  curl_easy_setopt(curl_.get(), CURLOPT_READFUNCTION, ReadFromStream);
  curl_easy_setopt(curl_.get(), CURLOPT_READDATA, &in);
  Perform();
}

bool TFileStoreClient::Download(const std::string& RemotePath, const std::string& LocalFile,
                                std::uint64_t ExpectedSize) {
  TWorkTempFile out(LocalFile);
  DownloadSink sink{&out};
  Reset();
  curl_easy_setopt(curl_.get(), CURLOPT_URL, Url(RemotePath).c_str());
  curl_easy_setopt(curl_.get(), CURLOPT_WRITEFUNCTION, WriteToFile);
  curl_easy_setopt(curl_.get(), CURLOPT_WRITEDATA, &sink);
  Perform();
  if (sink.written != ExpectedSize) return false;
  out.Commit();
  return true;
}

bool TFileStoreClient::Put(const std::string& LocalFile, std::uint64_t LocalSize, const std::string& Folder,
                           const std::string& RemoteName, TCommNotice& Notice) {
  Notice = {};
  failedStep_ = TPutStep::Connect;
  try {
    Connect();
  } catch (const std::exception&) {
    curl_.reset();
    Notice = TCommNotice::ErrorOk(FramedMessage("サーバーの接続に失敗しました。"));
    return false;
  }
  failedStep_ = TPutStep::Folder;
  try {
    ChangeFolder(Folder);
  } catch (const std::exception&) {
    curl_.reset();
    Notice = TCommNotice::ErrorOk(FramedMessage("転送先のディレクトリが存在しません。"));
    return false;
  }
  const std::string target = Folder + "/" + RemoteName;
  const std::string backup = target + "bak";
  const std::string part = target + kPartSuffix;
  bool renamedAway = false;
  failedStep_ = TPutStep::Transfer;
  try {
    Commands({"*DELE " + backup, "*DELE " + part});
    Upload(LocalFile, part);
    Pause(SizeCheckPause);
    if (RemoteSize(part) != static_cast<std::int64_t>(LocalSize)) {
      Commands({"*DELE " + part});
      curl_.reset();
      Notice = TCommNotice::ErrorYes(
          "送信処理に失敗しました。ウイルス対策ソフトを実行中の場合は、終了してから再度送信を行ってください。");
      return false;
    }
    if (RemoteSize(target) >= 0) {
      Commands({"RNFR " + target, "RNTO " + backup});
      renamedAway = true;
    }
    Commands({"RNFR " + part, "RNTO " + target});
  } catch (const std::exception&) {
    // Put the previous file back under its name and drop the upload; the
    // connection may be gone, so each step is tried on its own.
    try {
      std::vector<std::string> undo;
      if (renamedAway) undo = {"RNFR " + backup, "RNTO " + target};
      undo.push_back("*DELE " + part);
      Commands(undo);
    } catch (const std::exception&) {
      // the connection may be gone; the failed upload is reported below
    }
    curl_.reset();
    Notice = TCommNotice::ErrorOk(FramedMessage("データの送信に失敗しました。"));
    return false;
  }
  if (!KeepConnected) curl_.reset();
  failedStep_ = TPutStep::None;
  return true;
}

bool TFileStoreClient::Quit() {
  if (!curl_) return false;
  bool ended = true;
  try {
    Reset();
    SlistPtr list;
    AppendSlist(list, "QUIT");
    curl_easy_setopt(curl_.get(), CURLOPT_URL, Url("/").c_str());
    curl_easy_setopt(curl_.get(), CURLOPT_NOBODY, 1L);
    // After the command: nothing else is sent on the connection it ends.
    curl_easy_setopt(curl_.get(), CURLOPT_POSTQUOTE, list.get());
    Perform();
  } catch (const std::exception&) {
    ended = false;
  }
  curl_.reset();
  return ended;
}

bool TFileStoreClient::Get(const std::string& RemotePath, const std::string& LocalFile, TCommNotice& Notice) {
  Notice = {};
  try {
    Connect();
  } catch (const std::exception&) {
    curl_.reset();
    Notice = TCommNotice::ErrorOk(FramedMessage("サーバーの接続に失敗しました。"));
    return false;
  }
  try {
    const std::int64_t size = RemoteSize(RemotePath);
    if (size < 1) {
      curl_.reset();
      Notice = TCommNotice::WarningOk(FramedMessage("ダウンロードファイルが見つかりません。"));
      return false;
    }
    if (!Download(RemotePath, LocalFile, static_cast<std::uint64_t>(size))) {
      curl_.reset();
      return false;
    }
  } catch (const std::exception&) {
    curl_.reset();
    return false;
  }
  curl_.reset();
  return true;
}
