#include "platform/fb/ibstoredproc.h"
#include "platform/fb/fbapi.h"
void TIBStoredProc::Prepare() { fbapi::Fail("not yet"); }
bool TIBStoredProc::Prepared() const { return false; }
void TIBStoredProc::Unprepare() noexcept {}
void TIBStoredProc::ExecProc() { fbapi::Fail("not yet"); }
int TIBStoredProc::ParamCount() { return 0; }
TIBXSQLVAR& TIBStoredProc::Params(int) { fbapi::Fail("not yet"); }
TIBXSQLVAR& TIBStoredProc::ParamByName(const std::string&) { fbapi::Fail("not yet"); }
bool TIBStoredProc::IsOutput(int) { return false; }
