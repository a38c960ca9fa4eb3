#include "platform/fb/ibservices.h"
#include "platform/fb/fbapi.h"
TIBCustomService::~TIBCustomService() { Detach(); }
void TIBCustomService::Attach() { fbapi::Fail("not yet"); }
void TIBCustomService::Detach() noexcept {}
void TIBCustomService::Start(const std::vector<unsigned char>&) { fbapi::Fail("not yet"); }
bool TIBCustomService::QueryLine(std::string&) { fbapi::Fail("not yet"); }
std::vector<unsigned char> TIBCustomService::Query(const std::vector<unsigned char>&) { fbapi::Fail("not yet"); }
void TIBCustomService::CheckActive() const {}
std::string TIBControlService::GetNextLine() { fbapi::Fail("not yet"); }
void TIBControlService::StartAction(const std::vector<unsigned char>&) { fbapi::Fail("not yet"); }
void TIBBackupService::ServiceStart() { fbapi::Fail("not yet"); }
void TIBRestoreService::ServiceStart() { fbapi::Fail("not yet"); }
void TIBValidationService::ServiceStart() { fbapi::Fail("not yet"); }
bool TIBValidationService::ErrorsFound() { fbapi::Fail("not yet"); }
void TIBServerProperties::Fetch() { fbapi::Fail("not yet"); }
void TIBServerProperties::FetchDatabaseInfo() { fbapi::Fail("not yet"); }
void TIBServerProperties::FetchVersionInfo() { fbapi::Fail("not yet"); }
