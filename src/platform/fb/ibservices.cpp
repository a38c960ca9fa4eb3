#include "platform/fb/ibservices.h"

#include <ibase.h>

#include <cctype>
#include <chrono>
#include <thread>

#include "platform/fb/fbapi.h"
#include "platform/fb/netguard.h"

namespace {

std::string ParamValue(const TIBStrings& params, const char* name) { return params.Values(name); }

int VaxInt(const unsigned char* p, int length) {
  return isc_vax_integer(reinterpret_cast<const ISC_SCHAR*>(p), static_cast<short>(length));
}

}  // namespace

// Connection ---------------------------------------------------------------

TIBCustomService::~TIBCustomService() { Detach(); }

void TIBCustomService::Attach() {
  if (Active()) return;
  std::string name = "service_mgr";
  if (Protocol == TProtocol::TCP) {
    if (ServerName.empty()) fbapi::Fail("Server name is missing for a TCP service", 335544325, -902);
    name = ServerName + ":service_mgr";
  }
  fbapi::Xpb spb(Firebird::IXpbBuilder::SPB_ATTACH);
  const std::string user = ParamValue(Params, "user_name");
  const std::string password = ParamValue(Params, "password");
  if (!user.empty()) spb.String(isc_spb_user_name, user);
  if (!password.empty()) spb.String(isc_spb_password, password);
  const std::string role = ParamValue(Params, "sql_role_name");
  if (!role.empty()) spb.String(isc_spb_sql_role_name, role);
  if (Protocol != TProtocol::TCP && password.empty()) spb.String(isc_spb_config, "Providers=Engine12");
  // A server that does not answer is given up (platform/fb/netguard.h).
  if (Protocol == TProtocol::TCP) spb.Int(isc_spb_connect_timeout, FbNetTimeouts.ConnectSeconds);
  fbapi::Status st;
  const unsigned length = spb.Length();
  const unsigned char* buffer = spb.Buffer();
  const TNewSocketGuard sockets;
  Firebird::IService* service = fbapi::Provider()->attachServiceManager(&st, name.c_str(), length, buffer);
  st.Check();
  if (Protocol == TProtocol::TCP) sockets.Guard();
  service_ = service;
}

void TIBCustomService::Detach() noexcept {
  if (!service_) return;
  try {
    fbapi::Status st;
    service_->detach(&st);
    if (!st.Failed()) {
      service_ = nullptr;
      return;
    }
  } catch (...) {
    // Detach never throws; the handle is released below
  }
  service_->release();
  service_ = nullptr;
}

void TIBCustomService::CheckActive() const {
  if (!Active()) fbapi::Fail("The service is not attached", 0, -901);
}

void TIBCustomService::Start(const std::vector<unsigned char>& spb) {
  CheckActive();
  fbapi::Status st;
  service_->start(&st, static_cast<unsigned>(spb.size()), spb.data());
  st.Check();
}

std::vector<unsigned char> TIBCustomService::Query(const std::vector<unsigned char>& items,
                                                   const std::vector<unsigned char>& send) {
  CheckActive();
  std::vector<unsigned char> answer(32000);   // the length travels as 16 bits
  fbapi::Status st;
  service_->query(&st, static_cast<unsigned>(send.size()), send.empty() ? nullptr : send.data(),
                  static_cast<unsigned>(items.size()), items.data(), static_cast<unsigned>(answer.size()),
                  answer.data());
  st.Check();
  return answer;
}

bool TIBCustomService::QueryLine(std::string& line) {
  // An empty line means the end, unless the service says it has no data
  // ready yet (it is still starting or working) or waits for input: a tool
  // that asks a question (gbak asks for the next volume of a backup that ends
  // too early) gets the end of its input, so that it reports and ends instead
  // of waiting for ever.
  std::vector<unsigned char> send;
  for (;;) {
    std::vector<unsigned char> answer = Query({isc_info_svc_line, isc_info_svc_stdin}, send);
    send.clear();
    line.clear();
    bool notReady = false;
    bool gotLine = false;
    const unsigned char* p = answer.data();
    const unsigned char* end = p + answer.size();
    while (p < end && *p != isc_info_end) {
      const unsigned char item = *p++;
      if (item == isc_info_svc_stdin) {
        const int wanted = VaxInt(p, 4);
        p += 4;
        if (wanted > 0) {
          send = {isc_info_svc_line, 0, 0};  // no more input
          notReady = true;
        }
      } else if (item == isc_info_svc_line) {
        const int length = VaxInt(p, 2);
        p += 2;
        line.assign(reinterpret_cast<const char*>(p), static_cast<std::size_t>(length));
        p += length;
        gotLine = length > 0;
      } else if (item == isc_info_data_not_ready || item == isc_info_svc_timeout) {
        notReady = true;
      } else if (item == isc_info_truncated) {
        continue;
      } else {
        break;
      }
    }
    if (gotLine) {
      line = fbapi::ServerTextToUtf8(line);
      return true;
    }
    if (!notReady) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

// Task services -------------------------------------------------------------

void TIBControlService::StartAction(const std::vector<unsigned char>& spb) {
  Start(spb);
  lines_.clear();
  eof_ = false;
}

std::string TIBControlService::GetNextLine() {
  if (eof_) return {};
  std::string line;
  if (!QueryLine(line)) {
    eof_ = true;
    return {};
  }
  lines_.push_back(line);
  return line;
}

void TIBControlService::EndWithReport(const std::string& text) {
  TIBStrings report;
  report.SetText(text);
  if (eof_) lines_.clear();   // a report at the start replaces an earlier run's lines
  for (const std::string& line : report.Lines()) lines_.push_back(line);
  eof_ = true;
}

namespace {

std::vector<unsigned char> Bytes(fbapi::Xpb& spb) {
  const unsigned char* buffer = spb.Buffer();
  return std::vector<unsigned char>(buffer, buffer + spb.Length());
}

}  // namespace

void TIBBackupService::ServiceStart() {
  if (DatabaseName.empty()) fbapi::Fail("Database name is missing for the backup", 335544325, -902);
  if (BackupFile.Empty()) fbapi::Fail("Backup file is missing", 335544325, -902);
  fbapi::Xpb spb(Firebird::IXpbBuilder::SPB_START);
  spb.Tag(isc_action_svc_backup);
  spb.String(isc_spb_dbname, DatabaseName);
  for (const std::string& file : BackupFile.Lines()) spb.String(isc_spb_bkp_file, file);
  if (BlockingFactor > 0) spb.Int(isc_spb_bkp_factor, BlockingFactor);
  if (Verbose) spb.Tag(isc_spb_verbose);
  if (Options != 0) spb.Int(isc_spb_options, static_cast<int>(Options));
  StartAction(Bytes(spb));
}

void TIBRestoreService::ServiceStart() {
  if (DatabaseName.Empty()) fbapi::Fail("Database name is missing for the restore", 335544325, -902);
  if (BackupFile.Empty()) fbapi::Fail("Backup file is missing", 335544325, -902);
  fbapi::Xpb spb(Firebird::IXpbBuilder::SPB_START);
  spb.Tag(isc_action_svc_restore);
  for (const std::string& file : BackupFile.Lines()) spb.String(isc_spb_bkp_file, file);
  for (const std::string& file : DatabaseName.Lines()) spb.String(isc_spb_dbname, file);
  if (PageSize > 0) spb.Int(isc_spb_res_page_size, PageSize);
  if (PageBuffers > 0) spb.Int(isc_spb_res_buffers, PageBuffers);
  if (Verbose) spb.Tag(isc_spb_verbose);
  spb.Int(isc_spb_options, static_cast<int>(Options));
  StartAction(Bytes(spb));
}

void TIBValidationService::ServiceStart() {
  if (DatabaseName.empty()) fbapi::Fail("Database name is missing for the validation", 335544325, -902);
  fbapi::Xpb spb(Firebird::IXpbBuilder::SPB_START);
  spb.Tag(isc_action_svc_repair);
  spb.String(isc_spb_dbname, DatabaseName);
  // Validate and report only: the check flag keeps the engine from mending.
  unsigned options = isc_spb_rpr_validate_db | isc_spb_rpr_check_db;
  options |= Options & (validation_options::ValidateFull | validation_options::IgnoreChecksum);
  spb.Int(isc_spb_options, static_cast<int>(options));
  try {
    StartAction(Bytes(spb));
  } catch (const EIBError& e) {
    ReportOrRethrow(e);
  }
}

void TIBValidationService::ReportOrRethrow(const EIBError& e) {
  // The engine hands its summary of problems back as the service's error,
  // at the start or while the output is read.
  if (e.IBErrorCode() == ibcodes::kBadDpbContent || e.IBErrorCode() == ibcodes::kIoError ||
      e.IBErrorCode() == ibcodes::kNetworkError)
    throw e;
  EndWithReport(e.Message());
}

bool TIBValidationService::ErrorsFound() {
  auto nonBlank = [](const std::string& line) { return line.find_first_not_of(" \t\r\n") != std::string::npos; };
  try {
    while (!Eof()) GetNextLine();
  } catch (const EIBError& e) {
    ReportOrRethrow(e);
  }
  for (const std::string& line : Lines()) {
    if (nonBlank(line)) return true;
  }
  return false;
}

// Server properties -------------------------------------------------------

void TIBServerProperties::Fetch() {
  FetchDatabaseInfo();
  FetchVersionInfo();
}

void TIBServerProperties::FetchDatabaseInfo() {
  std::vector<unsigned char> answer = Query({isc_info_svc_svr_db_info});
  DatabaseInfo = TDatabaseInfo{};
  const unsigned char* p = answer.data();
  const unsigned char* end = p + answer.size();
  if (p >= end || *p != isc_info_svc_svr_db_info) fbapi::Fail("Unexpected answer of the services manager");
  ++p;
  while (p < end && *p != isc_info_flag_end) {
    const unsigned char item = *p++;
    if (item == isc_spb_num_att) {
      DatabaseInfo.NoOfAttachments = VaxInt(p, 4);
      p += 4;
    } else if (item == isc_spb_num_db) {
      DatabaseInfo.NoOfDatabases = VaxInt(p, 4);
      p += 4;
    } else if (item == isc_spb_dbname) {
      const int length = VaxInt(p, 2);
      p += 2;
      DatabaseInfo.DbName.push_back(
          fbapi::ServerTextToUtf8(std::string(reinterpret_cast<const char*>(p), static_cast<std::size_t>(length))));
      p += length;
    } else {
      fbapi::Fail("Unexpected item in the database information of the services manager");
    }
  }
}

void TIBServerProperties::FetchVersionInfo() {
  std::vector<unsigned char> answer =
      Query({isc_info_svc_server_version, isc_info_svc_implementation, isc_info_svc_version});
  VersionInfo = TVersionInfo{};
  const unsigned char* p = answer.data();
  const unsigned char* end = p + answer.size();
  while (p < end && *p != isc_info_end) {
    const unsigned char item = *p++;
    if (item == isc_info_svc_version) {
      VersionInfo.ServiceVersion = VaxInt(p, 4);
      p += 4;
      continue;
    }
    const int length = VaxInt(p, 2);
    p += 2;
    std::string text(reinterpret_cast<const char*>(p), static_cast<std::size_t>(length));
    p += length;
    if (item == isc_info_svc_server_version) VersionInfo.ServerVersion = text;
    else if (item == isc_info_svc_implementation) VersionInfo.ServerImplementation = text;
  }
}
