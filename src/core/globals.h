// Process-wide state shared by every subsystem: the shared records, the kind
// flags and the hooks through which shared code calls back into the host
// program. The settings constants (built-in values that the start-up
// overwrites from the application information, see core/appinfo.h) are in
// core/settings.h.
// Everything here is used on the user-interface thread only.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/accinf.h"
#include "core/sysdef.h"

// ---- shared records ----------------------------------------------------------
inline TSystemDef SystemDef;
inline TACCINF AccInf;

// ---- kind flags and process state --------------------------------------------
// Which product of the family hosts the shared code: 0 accounting,
// 1 a further product kind, 2 management analysis, 3 cash book.
inline std::uint8_t AppKind = 0;
// 0 LOCAL (stand-alone), 1 SERVER (database server on the network), 2 SBC.
enum : std::uint8_t { ckLocal = 0, ckServer = 1, ckSbc = 2 };
inline std::uint8_t ConnectKind = 0;
inline std::uint8_t SbcKind = 0;
// 1 when the application information's OEM value is OemWord (core/settings.h), else 0.
inline std::uint8_t OemKind = 0;
inline std::uint8_t DbFatalError = 0;
inline std::string DataVer;

struct TVersion3 {
  std::int32_t Major = 0;
  std::int32_t Minor = 0;
  std::int32_t Release = 0;
};
inline TVersion3 SendDataVersion;
inline TVersion3 CashBookDataVersion;
inline TVersion3 DumpDataVersion;

// A parsed dotted version (see core/versions.h).
struct TVersionRec {
  std::int32_t Major = 0;
  std::int32_t Minor = 0;
  std::int32_t Release = 0;
  std::int32_t Build = 0;
  std::string Text;
};

// ---- hooks ---------------------------------------------------------------------
// Each starts unset; a caller calls a hook only when it is set.
using TMenuRequestProc = std::function<std::int32_t(std::int32_t Code, const std::string& Text)>;
using TStartProcessProc =
    std::function<std::int32_t(const std::string& FormName, std::int32_t Modal, const std::string& Params)>;
// Result: non-zero when the data set's database passed validation.
using TVerifyDataProc = std::function<void(const std::string& Host, const std::string& DataFolder,
                                           std::int32_t Silent, std::int32_t& Result)>;
using TFormActivateProc = std::function<void(bool Flag1, bool Flag2)>;
using TMenuResetProc = std::function<void(std::int32_t Arg)>;
using TMenuStatusRefreshProc = std::function<void(bool Panel, std::int32_t Arg)>;
using TMenuStatusTextProc = std::function<void(bool Panel, const std::string& Text, std::int32_t FacilityNo,
                                               const std::string& Period)>;

inline TMenuRequestProc MenuRequestProc;
inline TStartProcessProc StartProcessProc;
inline TVerifyDataProc VerifyDataProc;
inline TFormActivateProc FormActivateProc;
inline TMenuResetProc MenuResetProc;
inline TMenuStatusRefreshProc MenuStatusRefreshProc;
inline TMenuStatusTextProc MenuStatusTextProc;

