#include "comm/fakes/fakeservers.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace fs = std::filesystem;

namespace {

constexpr const char* kPython = "/usr/bin/python3";

std::string FakeScript(const std::string& name) { return std::string(COMM_FAKES_DIR) + "/" + name; }

void RunOpenSsl(const std::vector<std::string>& args) {
  std::string output;
  if (RunProcess("openssl", args, 60000, &output) != 0)
    throw std::runtime_error("openssl failed: " + output);
}

int WaitForPortFile(const std::string& path, TChildProcess& process, const std::string& logFile) {
  for (int i = 0; i < 200; ++i) {
    if (fs::exists(path)) return std::stoi(ReadTextFile(path));
    if (!process.Running()) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  throw std::runtime_error("fake server did not start: " + ReadTextFile(logFile));
}

}  // namespace

TTempFolder::TTempFolder() {
  std::string pattern = (fs::temp_directory_path() / "commtest.XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TTempFolder::~TTempFolder() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

void WriteTextFile(const std::string& Path, const std::string& Text) {
  std::ofstream out(Path, std::ios::binary | std::ios::trunc);
  out << Text;
}

std::string ReadTextFile(const std::string& Path) {
  std::ifstream in(Path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TTestCertificates MakeTestCertificates(const std::string& Folder) {
  TTestCertificates c;
  const std::string d = Folder + "/";
  c.CaFile = d + "ca.pem";
  c.ServerCert = d + "server.pem";
  c.ServerKey = d + "server.key";
  c.SelfSignedCert = d + "self.pem";
  c.SelfSignedKey = d + "self.key";
  const std::vector<std::string> ec = {"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"};
  auto with = [&](std::vector<std::string> a) {
    a.insert(a.begin() + 1, ec.begin(), ec.end());
    return a;
  };
  RunOpenSsl(with({"req", "-x509", "-keyout", d + "ca.key", "-out", c.CaFile, "-subj", "/CN=Exchange Test CA",
                   "-days", "2", "-addext", "basicConstraints=critical,CA:TRUE", "-addext",
                   "keyUsage=critical,keyCertSign,cRLSign"}));
  RunOpenSsl(with({"req", "-keyout", c.ServerKey, "-out", d + "server.csr", "-subj", "/CN=127.0.0.1"}));
  WriteTextFile(d + "server.ext",
                "subjectAltName=IP:127.0.0.1,DNS:localhost\nbasicConstraints=CA:FALSE\n"
                "extendedKeyUsage=serverAuth\n");
  RunOpenSsl({"x509", "-req", "-in", d + "server.csr", "-CA", c.CaFile, "-CAkey", d + "ca.key",
              "-CAcreateserial", "-out", c.ServerCert, "-days", "2", "-extfile", d + "server.ext"});
  RunOpenSsl(with({"req", "-x509", "-keyout", c.SelfSignedKey, "-out", c.SelfSignedCert, "-subj", "/CN=127.0.0.1",
                   "-days", "2", "-addext", "subjectAltName=IP:127.0.0.1,DNS:localhost"}));
  return c;
}

TFakeMemberService::TFakeMemberService(const std::string& Folder, const std::string& Cert, const std::string& Key,
                                       const QJsonObject& State)
    : state_(Folder + "/member-state.json"), log_(Folder + "/member-requests.log") {
  SetState(State);
  WriteTextFile(log_, "");
  const std::string portFile = Folder + "/member-port-" + std::to_string(reinterpret_cast<std::uintptr_t>(this));
  TChildOptions options;
  options.output = TChildOptions::Output::File;
  options.outputFile = Folder + "/member-server.out";
  if (!process_.Start(kPython,
                      {FakeScript("member_service.py"), "--cert", Cert, "--key", Key, "--state", state_, "--log", log_,
                       "--port-file", portFile},
                      options))
    throw std::runtime_error(process_.LastError());
  port_ = WaitForPortFile(portFile, process_, options.outputFile);
}

QJsonObject TFakeMemberService::State() const {
  const std::string text = ReadTextFile(state_);
  return QJsonDocument::fromJson(QByteArray(text.data(), static_cast<qsizetype>(text.size()))).object();
}

void TFakeMemberService::SetState(const QJsonObject& State) const {
  WriteTextFile(state_ + ".tmp", QJsonDocument(State).toJson().toStdString());
  fs::rename(state_ + ".tmp", state_);
}

std::vector<std::string> TFakeMemberService::RequestLog() const {
  std::vector<std::string> lines;
  std::istringstream in(ReadTextFile(log_));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

QJsonObject FakeSlot(int Area, const std::string& CompanyBase64, const std::string& Update, const std::string& Use,
                     const std::string& Password) {
  const char* zero = "0000-00-00 00:00:00";
  QJsonObject s;
  s["label"] = QString::asprintf("%02d", Area);
  s["company_b64"] = QString::fromStdString(CompanyBase64);
  s["nendo"] = CompanyBase64.empty() ? "" : "12";
  s["kishu"] = CompanyBase64.empty() ? zero : "2024-04-01 00:00:00";
  s["kimatu"] = CompanyBase64.empty() ? zero : "2025-03-31 00:00:00";
  s["update"] = Update.empty() ? zero : QString::fromStdString(Update);
  s["password"] = QString::fromStdString(Password);
  s["version"] = CompanyBase64.empty() ? "" : "1101";
  s["usestart"] = Use == "2" ? "2024-05-01 09:00:00" : zero;
  s["use"] = QString::fromStdString(Use);
  return s;
}

QJsonObject FakeState(const std::string& CommId, const std::string& FtpHost, const std::string& FtpPassword) {
  QJsonArray areas;
  for (int i = 1; i <= 10; ++i) areas.append(FakeSlot(i));
  QJsonObject ids;
  ids[QString::fromStdString(CommId)] = areas;
  QJsonObject state;
  state["ftp_host"] = QString::fromStdString(FtpHost);
  state["ftp_password"] = QString::fromStdString(FtpPassword);
  state["ids"] = ids;
  state["codes"] = QJsonObject();
  return state;
}

TFakeFileStore::TFakeFileStore(const std::string& Root, const std::string& User, const std::string& Password,
                               const std::vector<std::string>& Options, int Port) {
  const std::string portFile = Root + ".port";
  std::error_code ec;
  fs::remove(portFile, ec);
  std::vector<std::string> args = {FakeScript("file_store.py"), "--root", Root, "--user", User, "--password",
                                   Password, "--port-file", portFile, "--port", std::to_string(Port)};
  args.insert(args.end(), Options.begin(), Options.end());
  TChildOptions options;
  options.output = TChildOptions::Output::File;
  options.outputFile = Root + ".out";
  if (!process_.Start(kPython, args, options)) throw std::runtime_error(process_.LastError());
  port_ = WaitForPortFile(portFile, process_, options.outputFile);
}
