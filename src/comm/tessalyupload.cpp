#include "comm/tessalyupload.h"

#include <filesystem>
#include <map>

#include "comm/filestore.h"
#include "comm/httpsget.h"
#include "comm/statusrequest.h"
#include "core/appinfo.h"
#include "core/fileutil.h"
#include "core/globals.h"
#include "platform/win/childprocess.h"
#include "platform/win/paths.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kUserAgent = "User-Agent: Pelorin";

// Splits the archiver's command line at blanks, keeping text between double
// quotes together (the quotes removed).
std::vector<std::string> SplitCommandLine(const std::string& line) {
  std::vector<std::string> out;
  std::string cur;
  bool quoted = false, any = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if (c == ' ' && !quoted) {
      if (any) out.push_back(cur);
      cur.clear();
      any = false;
    } else {
      cur += c;
      any = true;
    }
  }
  if (any) out.push_back(cur);
  return out;
}

std::uintmax_t FileSize(const std::string& path) {
  std::error_code ec;
  const auto size = fs::file_size(path, ec);
  return ec ? 0 : size;
}

}  // namespace

int ZipFiles(const std::string& Options, const std::string& Archive, const std::string& Files) {
  std::string version;
  const int probe = RunProcess(ZipProgram, {"-v"}, 30000, &version);
  if (probe < 0) return -1;
  {
    std::error_code ec;
    const auto args = SplitCommandLine(Archive);
    if (!args.empty()) fs::remove(args.front(), ec);
  }
  if (probe != 0 || version.find("Zip") == std::string::npos) return -2;
  if (Options.find("-P") != std::string::npos && version.find("[encryption") == std::string::npos) return -3;
  const int rc = RunProcess(ZipProgram, SplitCommandLine(Options + " " + Archive + " " + Files), 300000, nullptr);
  return rc < 0 ? -1 : rc;
}

TFtpWebDbSqlDump::TFtpWebDbSqlDump() : ServiceHost(AppInfo.WebTessalyServer) {}

TFtpWebDbSqlDump::~TFtpWebDbSqlDump() = default;

bool TFtpWebDbSqlDump::WriteScript() { return DumpWriter.DumpDatabase(); }

std::string TFtpWebDbSqlDump::Header(const std::string& Name) const {
  for (const auto& [name, value] : Headers)
    if (name == Name) return value;
  return "";
}

bool TFtpWebDbSqlDump::Request(const std::string& PathAndQuery) {
  std::string host;
  int port = 443;
  SplitHostPort(ServiceHost, 443, host, port);
  try {
    const THttpReply reply = HttpsGet(host, port, PathAndQuery, {kUserAgent});
    if (reply.Status < 200 || reply.Status >= 300) return false;
    Headers = reply.Headers;
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

std::string TFtpWebDbSqlDump::SendDump(const std::string& Id, std::int32_t No) {
  CommId.clear();
  for (char c : Id)
    if (c != '-') CommId += c;
  DataNo = No;
  DatabaseName = "tessaly_d_" + CommId + "_" + std::to_string(DataNo);
  ResultCode = "000";
  FtpHost.clear();
  FtpPassword.clear();
  Headers.clear();
  const std::string& script = DumpWriter.OutputPath;

  // The script never stays behind, whatever happened.
  struct TScriptRemover {
    const std::string& path;
    ~TScriptRemover() {
      std::error_code ec;
      fs::remove(path, ec);
    }
  } remover{script};

  if (CommId.empty()) return ResultCode = "801";
  if (DataNo < 1 || DataNo > 10) return ResultCode = "802";

  DumpWriter.DatabaseName = DatabaseName;
  if (!WriteScript()) return ResultCode = "811";
  if (FileSize(script) == 0) return ResultCode = "812";

  const std::string folder = ExtractFileDir(script);
  ScriptName = ExtractFileName(script);
  ArchiveName = ChangeFileExt(ScriptName, ".zip");
  const std::string archive = PathJoin(folder, ArchiveName);
  std::error_code ec;
  fs::remove(archive, ec);
  try {
    ForceFolder(folder);
    if (ZipFiles("-D -P " + ArchivePassword + " -q -j", "\"" + archive + "\"", "\"" + script + "\"") != 0)
      return ResultCode = "813";
  } catch (const std::exception&) {
    return ResultCode = "813";
  }
  if (FileSize(archive) <= 22) return ResultCode = "814";

  if (!Request("/request.php?pmd=1000&fnm=" + EscapeQueryValue(CommId))) return ResultCode = "831";
  FtpHost = Header("X-Add");
  FtpPassword = Header("X-Pas");
  ResultCode = Header("X-Status");
  if (ResultCode != "000") return ResultCode;

  TFileStoreClient ftp({FtpHost, CommId, FtpPassword});
  ftp.SizeCheckPause = SizeCheckPause;
  ftp.KeepConnected = true;
  char slot[8];
  std::snprintf(slot, sizeof slot, "/%.2d", DataNo);
  TCommNotice notice;
  if (!ftp.Put(archive, FileSize(archive), slot, ArchiveName, notice)) {
    switch (ftp.FailedStep()) {
      case TFileStoreClient::TPutStep::Connect: return ResultCode = "821";
      case TFileStoreClient::TPutStep::Folder: return ResultCode = "823";
      default: return ResultCode = "824";
    }
  }
  if (!ftp.Quit()) return ResultCode = "822";

  DataVersion = DataVersionFrom802(AccInf.VerMajor, AccInf.VerMinor1, 0)
                    ? std::to_string(AccInf.VerMajor) + "." + std::to_string(AccInf.VerMinor1) + ".0"
                    : "8.0.0";
  if (!Request("/request.php?pmd=1100&fnm=" + EscapeQueryValue(CommId) + "&dno=" + std::to_string(DataNo) +
               "&dvr=" + EscapeQueryValue(DataVersion) + "&fpa=" + EscapeQueryValue(ArchivePassword)))
    return ResultCode = "831";
  return ResultCode = Header("X-Status");
}

std::string TFtpWebDbSqlDump::ResultMessage(const std::string& Code) {
  static const std::map<std::string, std::string> kTexts = {
      {"000", "正常終了"},
      {"001", "「wzaimu」データ無し"},
      {"002", "「wzaimu」データより、認証不許可"},
      {"003", "「FtpUsers」データ無し"},
      {"801", "通信IDなし"},
      {"802", "データリスト番号不正"},
      {"811", "SQLDumpファイル作成失敗"},
      {"812", "SQLDumpファイル作成失敗(結果0バイト)"},
      {"813", "SQLDumpファイルZip圧縮失敗"},
      {"814", "SQLDumpファイルZip圧縮失敗(結果0バイト)"},
      {"821", "FTP コネクト失敗"},
      {"822", "FTP ログアウト失敗"},
      {"823", "FTP ディレクトリ移動失敗"},
      {"824", "FTP アップロード失敗"},
      {"825", "FTP ダウンロード失敗"},
      {"831", "HTTP GET失敗"},
      {"900", "ユーザーエージェント不正"},
      {"901", "制御モード不明"},
      {"902", "通信ID不明"},
      {"903", "該当制御コード無し"},
      {"911", "データ管理番号不正"},
      {"912", "データバージョン不正"},
      {"913", "データバージョン内容不正"},
      {"921", "Zipオープン失敗"},
      {"922", "Zip解凍パスワード失敗"},
      {"923", "Zip展開失敗"},
      {"924", "SQLDumpファイル不明"},
      {"999", "サーバープログラム例外エラー"},
  };
  const auto t = kTexts.find(Code);
  return t == kTexts.end() ? "原因不明のエラー発生" : t->second;
}

bool SendAnalysisDump(const std::string& CommId, std::int32_t DataNo, TCommNotice& Notice) {
  Notice = {};
  TFtpWebDbSqlDump upload;
  const std::string code = upload.SendDump(CommId, DataNo);
  if (code == "000") return true;
  Notice = TCommNotice::ErrorYes("経営テサリークラウドデータを送信できません。 エラー : " + code + " " +
                                 TFtpWebDbSqlDump::ResultMessage(code) +
                                 "\r\n経営テサリークラウドサーバーメンテナンス中の可能性もあります。");
  return false;
}
