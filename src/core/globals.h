// Process-wide state shared by every subsystem: the shared records, the kind
// flags, the hooks through which shared code calls back into the host
// program, and the settings constants (built-in values that the start-up
// overwrites from the application information, see core/appinfo.h).
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
// 1 when the application information's OEM value is OemWord, else 0.
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

// ---- settings constants copied from the application information at start-up ----
inline std::string CompanyName = "norvane";
inline std::string CompanyUrl = "https://www.norvane.example/";
inline std::string SinceYears = "2009-2012";
inline std::string AppName = "duzoziz";
inline std::string HomeDir = "norvane\\corvexzaimu";
inline std::string ShareDir = "corvexzaimu";
inline std::string ServerDir = "\\corvexzaimu\\data";
inline std::string ServerTempDir = "\\corvexzaimu\\temp";
inline std::string DataDefFile = "rqaccdef.fdb";
inline std::string DataFile = "rqacc.fdb";
inline std::string DataBackupFile = "rqacc.fbk";
inline std::array<std::string, 6> InitDataFiles = {"acc11.gbk", "acc21.gbk", "acc22.gbk",
                                                   "acc23.gbk", "acc24.gbk", "acc31.gbk"};
inline std::string DataIniFile = "rqacc.ini";
inline std::string ZEdoreDataDir = "rqzview";
inline std::string TessalyHomeDir = "norvane\\Tessaly";
inline std::string CashBookDataDir = "cb_data";
inline std::string CashBookBackupFile = "rqcashbook.fbk";
inline std::int32_t DataListCnt = 120;

// Colours are 0x00BBGGRR. Indexes: 0 ColHeaderColor, 1 ColHeaderGradColor1,
// 2 ColHeaderGradColor2, 3 ClientColor, 4 ClientColor1, 5 ClientColor2,
// 6 TotalColor, 7 ActiveColor.
inline std::array<std::int32_t, 8> DefaultGridColors = {0xDBDBDB, 0xFFFFFF, 0xDBDBDB, 0xFFFFFF,
                                                        0xFFFFFF, 0xE1F0FF, 0x8EC7FF, 0x246BFF};

// ---- constants ---------------------------------------------------------------------
inline const std::string OemWord = "BrannexData";
inline const std::string BackupFileName = "rqacc.fbk";
inline const std::array<std::string, 4> SbcProductNames = {"", "GO-Global", "RDS", "XenDesktop"};
inline const std::array<std::string, 13> FKeyCaptions = {"ESC:", "F1:", "F2:", "F3:", "F4:",  "F5:", "F6:",
                                                         "F7:",  "F8:", "F9:", "F10:", "F11:", "F12:"};
inline const std::array<std::string, 2> SortMarks = {"▲", "▼"};
inline const std::array<std::string, 2> PrintFontNames = {"ＭＳ 明朝", "ＭＳ ゴシック"};
inline const std::array<std::string, 6> BusinessTypeNames = {"法人",     "個人(一般)",       "個人(不動産)",
                                                             "医療法人", "個人(クリニック)", "個人(農業)"};
// Indexed by company kind 1 corporation, 2 individual, 3 medical corporation.
inline const std::array<std::string, 4> AllBranchesNames = {"", "法人全体", "総体", "法人全体"};
inline const std::array<std::string, 5> MedicalDivisionNames = {"法人全体", "病院・診療所", "老人保健施設",
                                                                "指定訪問看護", "その他の事業"};
inline const std::array<std::string, 6> BusinessKindNames = {"第一種事業", "第二種事業", "第三種事業",
                                                             "第四種事業", "第五種事業", "第六種事業"};
inline const std::array<std::int32_t, 4> CodeWidths = {3, 4, 5, 6};
// Combined-data kinds of a data-list row: every kind, and the kinds with child rows.
constexpr bool IsGassanAllKind(std::uint8_t kind) { return kind <= 2; }
constexpr bool IsGassanParentKind(std::uint8_t kind) { return kind == 1 || kind == 2; }
inline std::uint16_t FpuControlWord = 0;
