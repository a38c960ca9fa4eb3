// Settings constants: initialised variables with built-in values, most of
// which the start-up overwrites from the application information
// (CopyAppInfoToSettings, core/appinfo.h), and the constants no code changes.
// Note: the folder constant HomeDir shares its name with the home-folder
// function of platform/win/specialfolders.h; a file that needs both includes
// only one of the two headers and reaches the other through a helper.
#pragma once

#include <array>
#include <cstdint>
#include <string>

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
