#include "core/appinfo.h"

#include <filesystem>
#include <fstream>

#include "core/globals.h"
#include "core/settings.h"
#include "platform/rtl/inifile.h"
#include "platform/rtl/sysutils.h"

namespace {

// A decimal integer (blanks around it allowed); the fallback for anything else.
std::int32_t DecimalOr(const std::string& text, std::int32_t fallback) {
  const std::string t = Trim(text);
  if (t.empty()) return fallback;
  std::size_t i = (t[0] == '-' || t[0] == '+') ? 1 : 0;
  if (i == t.size()) return fallback;
  long long value = 0;
  for (; i < t.size(); ++i) {
    if (t[i] < '0' || t[i] > '9') return fallback;
    value = value * 10 + (t[i] - '0');
    if (value > 2147483648LL) return fallback;
  }
  if (t[0] == '-') value = -value;
  if (value > 2147483647LL) return fallback;
  return static_cast<std::int32_t>(value);
}

}  // namespace

void SetDefaultAppInfo(TAppInfoRec& Info) {
  Info.OEM = "-";
  Info.Since = "2009-2019";
  Info.RegKey = "\\SOFTWARE\\NORVANE";
  Info.Qov = "ノルヴェイン Ｑｏｖストレージ";
  Info.QovAlias = "Ｑｏｖ";
  Info.VerMajorDiff = 0;
  Info.VerMinorDiff = 0;
  Info.VerRevDiff = 0;
  Info.VerTest = "";
  Info.DizudovaBlind = 0;
  Info.CompanyName = "株式会社ノルヴェイン";
  Info.ZipCode = "000-0000";
  Info.Addr = "";
  Info.Tel = "";
  Info.Fax = "";
  Info.Mail = "support@norvane.example";
  Info.Url = "https://www.norvane.example/";
  Info.AppName = "duzoziz";
  Info.AppTitle = "コルベクス財務";
  Info.AppTitleCl = "顧問先版";
  Info.ZaimuRegKey = "CORVEXZAIMU";
  Info.HomeDir = "norvane\\corvexzaimu";
  Info.ShareDir = "corvexzaimu";
  Info.ServerDir = "\\corvexzaimu\\data";
  Info.ServerTempDir = "\\corvexzaimu\\temp";
  Info.DataDefFile = "rqaccdef.fdb";
  Info.DataFile = "rqacc.fdb";
  Info.DataBackupFile = "rqacc.fbk";
  Info.DataInitFile = "acc%d.gbk";
  Info.DataIniFile = "rqacc.ini";
  Info.DataListCnt = 120;
  Info.ZEdoreAppTitle = "電子帳簿";
  Info.ZEdoreDataDir = "rqzview";
  Info.ZEdoreWriteDirFmt = "rqz%.2dcd";
  Info.TessalyAppTitle = "経営テサリー";
  Info.TessalyRegKey = "TESSALY";
  Info.TessalyHomeDir = "norvane\\corvexzaimu";
  Info.DizudovaAppTitle = "コルベクス現金出納帳";
  Info.DizudovaRegKey = "DIZUDOVA";
  Info.DizudovaDataDir = "cb_data";
  Info.DizudovaBackupFile = "rqcashbook.fbk";
  Info.MenuDataCon = "データ通信";
  Info.MenuDataCon01 = "データ送信";
  Info.MenuDataCon02 = "データ受信";
  Info.MenuDataCon03 = "通信設定";
  Info.MenuDataConQov01 = "Ｑｏｖ保存";
  Info.MenuDataConQov02 = "Ｑｏｖ復元";
  Info.WebTessalyServer = "tessaly.norvane.example";
  Info.TirvexServer = "tirvex.norvane.example";
  Info.CloudMemberHost = kDefaultCloudMemberHost;
  Info.CloudInstallationId = kDefaultCloudInstallationId;
}

std::int32_t ReadAppInfo(const std::string& ProgramPath, TAppInfoRec& Info) {
  namespace fs = std::filesystem;
  const fs::path file = fs::path(ProgramPath).parent_path() / kAppInfoFileName;
  std::error_code ec;
  if (!fs::exists(file, ec)) return aiNoFile;
  try {
    // TIniFile reads a missing file as empty; a file that exists but cannot be
    // opened is a read error here.
    if (!std::ifstream(file, std::ios::binary).is_open() || fs::is_directory(file, ec)) return aiReadError;
    TIniFile ini(file.string());
    auto str = [&](const char* section, const char* key) { return ini.ReadString(section, key, ""); };
    auto num = [&](const char* section, const char* key, std::int32_t fallback) {
      return DecimalOr(ini.ReadString(section, key, ""), fallback);
    };

    Info.OEM = str("Application", "OEM");
    if (Info.OEM.empty()) {
      SetDefaultAppInfo(Info);
      return aiNoOem;
    }
    Info.Since = str("Application", "Since");
    Info.RegKey = str("Application", "RegKey");
    Info.Qov = str("Application", "Qov");
    Info.QovAlias = str("Application", "QovAlias");
    Info.VerMajorDiff = num("Application", "VerMajorDiff", 0);
    Info.VerMinorDiff = num("Application", "VerMinorDiff", 0);
    Info.VerRevDiff = num("Application", "VerRevDiff", 0);
    Info.VerTest = str("Application", "VerTest");
    Info.DizudovaBlind = num("Application", "DizudovaBlind", 0);
    Info.WebTessalyServer = str("Application", "WebTessalyServer");
    Info.TirvexServer = str("Application", "TirvexServer");

    Info.CompanyName = str("Company", "Name");
    Info.ZipCode = str("Company", "ZipCode");
    Info.Addr = str("Company", "Addr");
    Info.Tel = str("Company", "TEL");
    Info.Fax = str("Company", "FAX");
    Info.Mail = str("Company", "Mail");
    Info.Url = str("Company", "URL");

    Info.AppName = str("Zaimu", "AppName");
    Info.AppTitle = str("Zaimu", "AppTitle");
    Info.AppTitleCl = str("Zaimu", "AppTitle_CL");
    Info.ZaimuRegKey = str("Zaimu", "RegKey");
    Info.HomeDir = str("Zaimu", "HomeDir");
    Info.ShareDir = str("Zaimu", "ShareDir");
    Info.ServerDir = str("Zaimu", "ServerDir");
    Info.ServerTempDir = str("Zaimu", "ServerTempDir");
    Info.DataDefFile = str("Zaimu", "DataDefFile");
    Info.DataFile = str("Zaimu", "DataFile");
    Info.DataBackupFile = str("Zaimu", "DataBackupFile");
    Info.DataInitFile = str("Zaimu", "DataInitFile");
    Info.DataIniFile = str("Zaimu", "DataIniFile");
    Info.DataListCnt = num("Zaimu", "DataListCnt", 120);

    Info.ZEdoreAppTitle = str("ZEdore", "AppTitle");
    Info.ZEdoreDataDir = str("ZEdore", "DataDir");
    Info.ZEdoreWriteDirFmt = str("ZEdore", "WriteDirFmt");

    Info.TessalyAppTitle = str("Tessaly", "AppTitle");
    Info.TessalyRegKey = str("Tessaly", "RegKey");
    Info.TessalyHomeDir = str("Tessaly", "HomeDir");

    Info.DizudovaAppTitle = str("Dizudova", "AppTitle");
    Info.DizudovaRegKey = str("Dizudova", "RegKey");
    Info.DizudovaDataDir = str("Dizudova", "DataDir");
    Info.DizudovaBackupFile = str("Dizudova", "DataBackupFile");

    Info.MenuDataCon = str("Menu", "DataCon");
    Info.MenuDataCon01 = str("Menu", "DataCon01");
    Info.MenuDataCon02 = str("Menu", "DataCon02");
    Info.MenuDataCon03 = str("Menu", "DataCon03");
    Info.MenuDataConQov01 = str("Menu", "DataConQov01");
    Info.MenuDataConQov02 = str("Menu", "DataConQov02");

    const std::string memberHost = Trim(str("CLOUD", "MemberHost"));
    Info.CloudMemberHost = memberHost.empty() ? kDefaultCloudMemberHost : memberHost;
    const std::string installationId = Trim(str("CLOUD", "InstallationId"));
    Info.CloudInstallationId = installationId.empty() ? kDefaultCloudInstallationId : installationId;
    return aiRead;
  } catch (...) {  // any failure reading the file: aiReadError
    return aiReadError;
  }
}

std::uint8_t OemKindOf(const TAppInfoRec& Info) { return Info.OEM == OemWord ? 1 : 0; }

void ApplyOemGridColors(std::uint8_t oemKind) {
  if (oemKind == 1 || oemKind == 2) {
    DefaultGridColors[5] = 0xF2FFEE;
    DefaultGridColors[6] = 0xD6FFC8;
    DefaultGridColors[7] = 0x008000;
  }
}

void CopyAppInfoToSettings(const TAppInfoRec& Info) {
  CompanyName = Info.CompanyName;
  CompanyUrl = Info.Url;
  SinceYears = Info.Since;
  AppName = Info.AppName;
  HomeDir = Info.HomeDir;
  ShareDir = Info.ShareDir;
  ServerDir = Info.ServerDir;
  ServerTempDir = Info.ServerTempDir;
  DataDefFile = Info.DataDefFile;
  DataFile = Info.DataFile;
  DataBackupFile = Info.DataBackupFile;
  // Entry 4 keeps its built-in name; a pattern that cannot take one integer
  // leaves an entry as it was.
  const int kinds[6] = {11, 21, 22, 23, 0, 31};
  for (int i = 0; i < 6; ++i) {
    if (kinds[i] == 0) continue;
    try {
      InitDataFiles[i] = Format(Info.DataInitFile, kinds[i]);
    } catch (const std::exception&) {
      // not one integer in the pattern: the entry keeps its name (see above)
    }
  }
  DataIniFile = Info.DataIniFile;
  ZEdoreDataDir = Info.ZEdoreDataDir;
  TessalyHomeDir = Info.TessalyHomeDir;
  CashBookDataDir = Info.DizudovaDataDir;
  CashBookBackupFile = Info.DizudovaBackupFile;
  DataListCnt = Info.DataListCnt;
}
