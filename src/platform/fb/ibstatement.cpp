#include "platform/fb/ibsql.h"
#include "platform/fb/fbapi.h"
TIBCustomStatement::TIBCustomStatement() = default;
TIBCustomStatement::~TIBCustomStatement() = default;
void TIBCustomStatement::SetDatabase(TIBDatabase* d) { database_ = d; }
TIBTransaction* TIBCustomStatement::Transaction() const { return transaction_; }
void TIBCustomStatement::SetTransaction(TIBTransaction* t) { transaction_ = t; }
void TIBCustomStatement::Prepare() { fbapi::Fail("not yet"); }
bool TIBCustomStatement::Prepared() const { return false; }
void TIBCustomStatement::Unprepare() noexcept {}
int TIBCustomStatement::ParamCount() { return 0; }
TIBXSQLVAR& TIBCustomStatement::Params(int) { fbapi::Fail("not yet"); }
TIBXSQLVAR& TIBCustomStatement::ParamByName(const std::string&) { fbapi::Fail("not yet"); }
TIBXSQLVAR* TIBCustomStatement::FindParam(const std::string&) { return nullptr; }
TIBXSQLVAR& TIBCustomStatement::Fields(int) { fbapi::Fail("not yet"); }
TIBXSQLVAR& TIBCustomStatement::FieldByName(const std::string&) { fbapi::Fail("not yet"); }
TIBXSQLVAR* TIBCustomStatement::FindField(const std::string&) { return nullptr; }
bool TIBCustomStatement::Active() const { return false; }
bool TIBCustomStatement::Eof() const { return true; }
void TIBCustomStatement::Close() noexcept {}
TIBValue TIBCustomStatement::FieldValue(int) const { return {}; }
std::string TIBCustomStatement::ReadBlob(const TIBValue&) const { return {}; }
void TIBCustomStatement::Execute(bool) { fbapi::Fail("not yet"); }
bool TIBCustomStatement::FetchNext() { return false; }
void TIBCustomStatement::CheckActive() const {}
void TIBQuery::First() {}
void TIBQuery::Next() {}
void TIBQuery::Prior() {}
void TIBQuery::Last() {}
