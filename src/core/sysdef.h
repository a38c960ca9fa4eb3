// TSystemDef: the run-time and system settings of the framework (folders of the
// start-up, connection settings, the logged-on operator and the operator's
// stored settings). One instance, SystemDef (core/globals.h).
#pragma once

#include <array>
#include <cstdint>
#include <string>

class QWidget;

// A font as the framework's forms take it (name, size, style bits
// 1 bold / 2 italic, character set, height); the window layer turns it into
// its own font object.
struct TFontDesc {
  std::string Name;
  std::int32_t Size = 0;
  std::int32_t Style = 0;
  std::int32_t CharSet = 0;
  std::int32_t Height = 0;
};

struct TSystemDef {
  std::int32_t GroupId = 0;
  std::string ConnectIniFile;     // connection settings file: IniDir/<AppName>.ini
  std::string WinUserName;
  std::string UserDocDir;         // Documents folder / HomeDir
  std::string DataRoot;           // common application data / HomeDir
  std::string ExeDir;             // program folder, no trailing delimiter
  std::string BaseDir;            // parent of ExeDir
  std::string HelpDir;
  std::string SqlDir;
  std::string IniDir;
  std::string LogDir;
  std::string TempDir;
  std::string WinTempDir;
  std::string ZEdoreDir;
  std::string SysDir;             // folder of the system and file-manager databases
  std::string DataDir;            // folder of the current data set
  std::string HostName;           // database server; empty when stand-alone
  std::uint8_t GoGlobal = 0;
  std::uint8_t GroupMode = 0;
  std::string DbUser;
  std::string DbPassword;
  std::string Serial;
  std::string PcName;
  std::int32_t OpCode = 0;        // group * 10000 + login code
  std::int32_t LoginCode = 0;
  std::string OpName;
  std::int32_t JobLevel = 0;      // 9 = unrestricted
  std::uint8_t Jimusho = 0;
  std::string DefSisetuCode;
  std::uint8_t MyNumberAdmin = 0;
  std::uint8_t Approver = 0;
  std::int32_t DefSisetuJigyoKbn = 0;
  std::string CurSisetuCode;
  std::int32_t PeriodShiftMode = 0;
  std::string FontName;
  std::int32_t FontSize = 0;
  std::int32_t FontStyle = 0;
  std::int32_t FontCharSet = 0;
  std::int32_t FontHeight = 0;
  std::int32_t GridResize = 0;
  std::int32_t ShowHint = 0;
  std::int32_t GridMaxRow = 0;
  std::int32_t GridRsiz = 0;
  std::int32_t PanelColor = 0;
  std::int32_t PanelBackColor = 0;
  std::int32_t MenuPrintSw = 0;
  std::int32_t ColHeaderColor = 0;
  std::int32_t FixedTopColor = 0;
  std::int32_t RowHeaderColor = 0;
  std::int32_t FixedLeftColor = 0;
  std::int32_t ActiveColor = 0;
  std::int32_t ClientColor = 0;
  std::int32_t ClientColor1 = 0;
  std::int32_t ClientColor2 = 0;
  std::int32_t ClientColor3 = 0;
  std::int32_t TotalColor = 0;
  std::int32_t ColHeaderGradColor1 = 0;
  std::int32_t ColHeaderGradColor2 = 0;
  std::int32_t ForeColor = 0;
  std::int32_t BorderColor = 0;
  std::int32_t ThruBorderColor = 0;
  std::string PrinterName;
  std::int32_t PreviewZOOM = 0;
  std::int32_t NetColor1 = 0;
  std::int32_t NetColor2 = 0;
  std::int32_t PLineColor1 = 0;
  std::int32_t PLineColor2 = 0;
  std::int32_t HojWait = 0;
  std::int32_t DicSwitch = 0;
  std::int32_t DicTekAuto = 0;
  std::int32_t DicTorAuto = 0;
  std::int32_t DicUsednt = 0;
  std::int32_t DicType = 0;
  std::int32_t DicNum1 = 0;
  std::int32_t DicNum2 = 0;
  std::int32_t DicSortType = 0;
  std::int32_t TekAutoUp = 0;
  std::int32_t TorAutoUp = 0;
  std::int32_t UserPrint = 0;
  std::int32_t SwkTotal = 0;
  std::int32_t SwkLine = 0;
  std::int32_t Reserve3 = 0;
  std::int32_t Reserve1 = 0;
  std::int32_t KingakuPlus = 0;
  std::int32_t ZeroPrint = 0;
  std::int32_t SankakuPlus = 0;
  std::int32_t Reserve2Flag1 = 0;
  std::int32_t Reserve2Flag2 = 0;
  std::int32_t Reserve2 = 0;
  std::int32_t Reserve4 = 0;
  std::int32_t Reserve5 = 0;
  std::string SysDefText;
  std::string AppTitle;
  std::string AppVer;
  std::int32_t AppVersion = 0;    // generation number passed to the logon as APPVERSION
  std::int32_t MFTop = 0;
  std::int32_t MFLeft = 0;
  std::int32_t MFWidth = 0;
  std::int32_t MFHeight = 0;
  std::string DataVersion;        // "%d.%d.%d" of the connected data set
  std::int32_t OSMajorVersion = 0;
  TFontDesc MainFont;             // copy of the main window's font, never changed
  TFontDesc SysFont;              // the framework forms' font with the operator's settings
  std::int32_t MenuHeight = 0;
  std::int32_t MenuExtra = 0;
  std::int32_t FrameHeight = 0;
  std::int32_t CaptionHeight = 0;
  std::int32_t FrameAdjust = 0;
  std::int32_t ShowDataSentaku = 0;
  std::string ZenkaiDrive;
  std::int32_t LastMenu = 0;
  std::string SelectResult;
  std::uint8_t MenuRequestResult = 0;
  std::uint8_t FormShown = 0;
  std::string OfficeName;
  std::string OfficeAddress;
  std::string OfficeTel;
  std::int32_t KyoyuDataAuto = 0;
  std::int32_t ServerListUpdate = 0;
  std::int32_t Reserve4Flag3 = 0;
  std::int32_t Reserve4Flag4 = 0;
  std::int32_t Reserve4Choice56 = 0;
  std::int32_t LedgerLastBalance = 0;
  std::int32_t Reserve4Flag8 = 0;
  std::int32_t UnrestrictedOperators = 0;
  std::int32_t Reserve4Flag9 = 0;
  std::int32_t WarekiDisplay = 0;  // 1: dates shown in the Japanese era calendar
  std::int32_t Reserve4Flag11 = 0;
  std::int32_t NextItemMove = 0;
  std::uint8_t KamokuCodeDigits = 0;
  std::uint8_t HojoCodeDigits = 0;
  std::uint8_t BumonCodeDigits = 0;
  std::uint8_t SiwakeDateFocus = 0;
  std::int32_t DataDamaged = 0;
  std::int32_t DataCheckMode = 0;
  std::int32_t SisanTotalOutput = 0;
  std::int32_t LedgerTitleOutput = 0;
  std::int32_t SisanBsPageBreak = 0;
  std::int32_t SisanTitleOutput = 0;
  std::string SisanTitle;
  std::array<std::string, 3> BsTitles;
  std::array<std::string, 3> AssetTitles;
  std::array<std::string, 3> LiabilityTitles;
  std::array<std::string, 3> PlTitles;
  std::array<std::string, 3> SgaTitles;
  std::int32_t DataPlace = 0;
  std::int32_t TekiyouEditMode = 0;
  std::int32_t LedgerOneLine = 0;
  std::int32_t LedgerTagMark = 0;
  std::int32_t RensouExtract = 0;
  std::string SelectPath2;
  std::int32_t TekiyouInputKind = 0;
  std::int32_t TorihikiInputKind = 0;
  std::int32_t BackRulePrint = 0;
  std::int32_t TaxCodePrint = 0;
  std::int32_t KessanTegata = 0;
  std::int32_t KessanHanbai = 0;
  std::int32_t SisanLineAdjust = 0;
  std::int32_t DefSisetuColor = 0;
  std::int32_t RensouCodeInput = 0;
  std::int32_t RensouListOrder = 0;
  std::string ServerWorkDir;      // drive of SysDir followed by ServerTempDir (server installations)
  std::int32_t SysVerMajor = 0;
  std::int32_t SysVerMinor1 = 0;
  std::int32_t SysVerMinor2 = 0;
  std::int32_t SisanPeriodOutput = 0;
  std::string Sisan2Title;
  std::int32_t TekDicOpen = 0;
  std::int32_t TorDicOpen = 0;
  std::int32_t TekRensouOpen = 0;
  std::int32_t TorRensouOpen = 0;
  std::int32_t TekAutoOpen = 0;
  std::int32_t TorAutoOpen = 0;
  std::int32_t TekNoInput = 0;
  std::int32_t TorNoInput = 0;
  std::int32_t KyoyuTakeState = 0;

  // Further folders and selections that the start-up and the data selection keep here.
  std::string PrintDir;           // BaseDir followed by the print folder
  std::string ViewerTempDir;      // WinTempDir followed by the viewer work folder
  std::string SystemFolder;       // the system folder
  std::string DataPasName;        // registered list path of the selected data set
  QWidget* ProgressDialog = nullptr;  // a running progress dialog that refusal boxes close first
};
