#include "platform/fb/ibdatabase.h"

#include <ibase.h>

#include <algorithm>
#include <atomic>
#include <cctype>

#include "platform/fb/fbapi.h"
#include "platform/fb/netguard.h"

namespace {

std::atomic<std::uint64_t> connectionCounter{0};

std::string LowerName(std::string name, const char* prefix) {
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::string p = prefix;
  if (name.rfind(p, 0) == 0) name.erase(0, p.size());
  return name;
}

std::string Trimmed(const std::string& text) {
  std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace

TIBDatabase::TIBDatabase() = default;

TIBDatabase::~TIBDatabase() {
  if (Connected()) {
    try {
      Close();
    } catch (...) {  // a destructor must not throw: the connection is dropped instead
      ForceClose();
    }
  }
  std::vector<TIBTransaction*> transactions = transactions_;
  for (TIBTransaction* transaction : transactions) transaction->RemoveDatabase(this);
}

void TIBDatabase::SetDefaultTransaction(TIBTransaction* transaction) {
  defaultTransaction_ = transaction;
  if (transaction) transaction->AddDatabase(this);
}

void TIBDatabase::RegisterTransaction(TIBTransaction* transaction) {
  if (std::find(transactions_.begin(), transactions_.end(), transaction) == transactions_.end())
    transactions_.push_back(transaction);
}

void TIBDatabase::UnregisterTransaction(TIBTransaction* transaction) {
  transactions_.erase(std::remove(transactions_.begin(), transactions_.end(), transaction), transactions_.end());
  if (defaultTransaction_ == transaction) defaultTransaction_ = nullptr;
}

void TIBDatabase::Open() {
  if (Connected()) return;
  Attach(false, 0, {});
}

void TIBDatabase::CreateDatabase(int pageSize, const std::string& defaultCharSet) {
  if (Connected()) fbapi::Fail("Database is already connected: " + DatabaseName);
  Attach(true, pageSize, defaultCharSet);
}

void TIBDatabase::Attach(bool create, int pageSize, const std::string& defaultCharSet) {
  if (Trimmed(DatabaseName).empty()) fbapi::Fail("Database name is missing", ibcodes::kBadDbFormat, -902);
  fbapi::Xpb dpb(Firebird::IXpbBuilder::DPB);
  std::string password;
  for (const std::string& line : Params.Lines()) {
    if (Trimmed(line).empty()) continue;
    std::size_t eq = line.find('=');
    std::string name = LowerName(Trimmed(line.substr(0, eq)), "isc_dpb_");
    std::string value = eq == std::string::npos ? std::string() : line.substr(eq + 1);
    if (name == "user_name") dpb.String(isc_dpb_user_name, value);
    else if (name == "password") { dpb.String(isc_dpb_password, value); password = value; }
    else if (name == "lc_ctype") dpb.String(isc_dpb_lc_ctype, value);
    else if (name == "sql_role_name") dpb.String(isc_dpb_sql_role_name, value);
    else if (name == "num_buffers") dpb.Int(isc_dpb_num_buffers, std::stoi(value));
    else fbapi::Fail("Unknown database parameter: " + line, ibcodes::kBadDpbContent, -902);
  }
  if (create) {
    dpb.Int(isc_dpb_sql_dialect, SQLDialect);
    if (pageSize > 0) dpb.Int(isc_dpb_page_size, pageSize);
    if (!defaultCharSet.empty()) dpb.String(isc_dpb_set_db_charset, defaultCharSet);
  }
  // A local file without a password is opened by the embedded engine only;
  // with a password the dispatcher may fall back to the local server.
  const bool remote = fbapi::IsRemoteName(DatabaseName);
  if (!remote && password.empty()) dpb.String(isc_dpb_config, "Providers=Engine12");
  // A server that does not answer is given up (platform/fb/netguard.h).
  if (remote) dpb.Int(isc_dpb_connect_timeout, FbNetTimeouts.ConnectSeconds);

  fbapi::Status st;
  const unsigned length = dpb.Length();
  const unsigned char* buffer = dpb.Buffer();
  const TNewSocketGuard sockets;
  Firebird::IAttachment* attachment =
      create ? fbapi::Provider()->createDatabase(&st, DatabaseName.c_str(), length, buffer)
             : fbapi::Provider()->attachDatabase(&st, DatabaseName.c_str(), length, buffer);
  st.Check();
  if (remote) sockets.Guard();
  attachment_ = attachment;
  connectionId_ = ++connectionCounter;
}

void TIBDatabase::Close() {
  if (!Connected()) return;
  std::vector<TIBTransaction*> transactions = transactions_;
  for (TIBTransaction* transaction : transactions) transaction->EndForDatabaseClose(this, false);
  fbapi::Status st;
  attachment_->detach(&st);
  if (st.Failed()) {
    // A connection that is gone cannot be detached; drop it all the same.
    const intptr_t* errors = st.get()->getErrors();
    if (errors && errors[0] == isc_arg_gds &&
        (errors[1] == ibcodes::kNetworkError || errors[1] == 335544726 /* net read */ ||
         errors[1] == 335544727 /* net write */ || errors[1] == 335544856 /* att shutdown */)) {
      ReleaseHandle();
      return;
    }
    st.Check();
  }
  attachment_ = nullptr;
}

void TIBDatabase::ForceClose() noexcept {
  if (!Connected()) return;
  std::vector<TIBTransaction*> transactions = transactions_;
  for (TIBTransaction* transaction : transactions) {
    try {
      transaction->EndForDatabaseClose(this, true);
    } catch (...) {
      // ForceClose never throws: the transaction is abandoned
    }
  }
  try {
    fbapi::Status st;
    attachment_->detach(&st);
    if (!st.Failed()) {
      attachment_ = nullptr;
      return;
    }
  } catch (...) {
    // ForceClose never throws; the handle is released below
  }
  ReleaseHandle();
}

void TIBDatabase::ReleaseHandle() noexcept {
  if (attachment_) attachment_->release();
  attachment_ = nullptr;
}

bool TIBDatabase::TestConnected() noexcept {
  if (!Connected()) return false;
  try {
    fbapi::Status st;
    attachment_->ping(&st);
    return !st.Failed();
  } catch (...) {  // no answer: not connected
    return false;
  }
}

void TIBDatabase::DropDatabase() {
  if (!Connected()) fbapi::Fail("Database not connected", 0, -901);
  std::vector<TIBTransaction*> transactions = transactions_;
  for (TIBTransaction* transaction : transactions) {
    if (transaction->InTransaction()) transaction->Rollback();
  }
  fbapi::Status st;
  attachment_->dropDatabase(&st);
  st.Check();
  attachment_ = nullptr;
}

std::string TIBDatabase::HostOf(const std::string& databaseName) {
  if (!fbapi::IsRemoteName(databaseName)) return {};
  std::string name = databaseName;
  for (const char* scheme : {"inet://", "inet4://"}) {
    if (name.rfind(scheme, 0) == 0) {
      name.erase(0, std::string(scheme).size());
      std::size_t end = name.find_first_of("/:");
      return name.substr(0, end);
    }
  }
  std::string host = name.substr(0, name.find(':'));
  return host.substr(0, host.find('/'));
}
