// Benchmark of the link-file export against a bare fetch of the same journal.
//
//   bench-link-export [N]      (N journal lines, default 200000)
//
// Builds a data set of N generated journal lines over the fiscal year
// 2019-10-01 .. 2020-09-30 (a corporation on principle taxation with sales,
// purchases, expenses, fixed assets, returns and transfers at both rates) in
// a child process, then measures in this process
//   (b) a bare fetch of the year's journal rows through the Firebird layer
//       (the columns and joins the aggregation reads), and
//   (a) the full export of the year to a link file,
// and prints both times, their ratio and the peak resident memory of each
// step. Targets: (a) at most 2.5 x (b); memory that does not grow with N.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/globals.h"
#include "dbaccess/dm.h"
#include "fixture/builder.h"
#include "fixture/description.h"
#include "linkrun.h"
#include "platform/fb/ibx.h"

namespace fs = std::filesystem;

namespace {

std::string Description(long long lines) {
  return R"([installation]
product-version = 11.1.0

[dataset]
rec = 1
label = bench

[company]
SHOUGOU  = 計測商事株式会社
DATATYPE = 1
KISHU    = 2019-10-01
TAXKANNI = 0

[accounts]
KCODE, KNAME,          GROUPM0, TAX_LCODE, TAX_RCODE
1110,  現金,            1110,    810,       810
1120,  普通預金,        1120,    810,       810
1210,  売掛金,          1210,    810,       810
1520,  器具備品,        1520,    511,       810
1910,  仮払消費税,      1910,    711,       711
2110,  買掛金,          2110,    810,       810
2190,  仮受消費税,      2190,    610,       610
3110,  繰越利益剰余金,  3110,    810,       810
4110,  売上高,          4110,    310,       110
4120,  商品売上高,      4120,    310,       110
4310,  受取利息,        4310,    810,       120
5210,  仕入高,          5210,    511,       561
6110,  通信費,          6110,    511,       561
6120,  消耗品費,        6120,    511,       561
6130,  租税公課,        6130,    540,       810
6140,  旅費交通費,      6140,    511,       561
9990,  諸口,            9990,    810,       810

[generate]
lines = )" + std::to_string(lines) + "\nseed = 1\n";
}

// Peak resident memory of this process since the last reset, in KiB.
long PeakKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}
long CurrentKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  return 0;
}
// Starts a new peak (the kernel's reset of VmHWM).
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

double Seconds(std::chrono::steady_clock::time_point from) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

// Every journal row of the year with the columns the aggregation reads.
long long BareFetch() {
  TIBSQL q;
  q.SetDatabase(&DM->IBDatabaseDAT);
  q.SetTransaction(&DM->IBTransactionDATSS);
  q.SQL.SetText(
      "SELECT S.HIZUKE,S.TAISHAKU,S.KCODE,S.TAXCODE,S.TAXDC,S.NUK,S.ZEI,S.RIT,S.AUTCALCU,S.ZEIRITUNO,S.R_KCODE,"
      "KM.GROUPM0,KM.BLDAC,KM.DAC,S2.LINKKUB,S.OLDRATE\n"
      "FROM SIWAKE S\nINNER JOIN KAMOKUMST KM ON (S.KCODE=KM.KCODE)\nINNER JOIN SIWAKE2 S2 ON (S.REC=S2.REC)\n"
      "WHERE (S.DELFLG=0) AND (S.TAXDC<>0)\nAND (S.HIZUKE>=:DT1) AND (S.HIZUKE<=:DT2)");
  q.ParamByName("DT1").AsDateTime(AccInf.KISHU);
  q.ParamByName("DT2").AsDateTime(AccInf.KIMATU);
  DM->IBTransactionDATSS.StartTransaction();
  long long rows = 0;
  Currency sum;
  for (q.ExecQuery(); !q.Eof(); q.Next()) {
    q.FieldByName("HIZUKE").AsDateTime();
    q.FieldByName("TAISHAKU").AsInteger();
    q.FieldByName("KCODE").AsTrimString();
    q.FieldByName("TAXCODE").AsInteger();
    q.FieldByName("TAXDC").AsInteger();
    sum += q.FieldByName("NUK").AsCurrency();
    sum += q.FieldByName("ZEI").AsCurrency();
    q.FieldByName("RIT").AsCurrency();
    q.FieldByName("AUTCALCU").AsInteger();
    q.FieldByName("R_KCODE").AsTrimString();
    q.FieldByName("GROUPM0").AsTrimString();
    q.FieldByName("DAC").AsInteger();
    q.FieldByName("LINKKUB").AsInteger();
    q.FieldByName("OLDRATE").AsInteger();
    ++rows;
  }
  q.Close();
  DM->IBTransactionDATSS.Commit();
  return rows;
}

}  // namespace

int main(int argc, char** argv) {
  const long long lines = argc > 1 ? std::atoll(argv[1]) : 200000;
  if (lines <= 0) {
    std::fprintf(stderr, "usage: %s [journal lines]\n", argv[0]);
    return 64;
  }
  std::string pattern = (fs::temp_directory_path() / "bench-link-XXXXXX").string();
  const std::string folder = mkdtemp(pattern.data());
  const std::string target = folder + "/inst";

  // The data set is built in a child process, so that the builder's memory
  // does not count here.
  auto started = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    try {
      fixture::BuildInstallation(fixture::ParseDescription(Description(lines), "bench", ""), target);
      _exit(0);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s\n", e.what());
      _exit(1);
    }
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    fs::remove_all(folder);
    return 1;
  }
  std::printf("data set of %lld journal lines built in %.1f s\n", lines, Seconds(started));

  int result = 0;
  try {
    setenv("VERUDA_APPDATA_DIR", (target + "/appdata").c_str(), 1);
    setenv("VERUDA_PROGRAM_DIR", (target + "/program").c_str(), 1);
    setenv("VERUDA_REGISTRY_FILE", (target + "/appdata/registry/HKEY_LOCAL_MACHINE.ini").c_str(), 1);
    linkbench::OpenDataSet(target + "/appdata/norvane/corvexzaimu/data/0001/rqacc.fdb");
    BareFetch();  // warms the page cache for both measurements

    const long baseKiB = CurrentKiB();
    ResetPeak();
    started = std::chrono::steady_clock::now();
    const long long rows = BareFetch();
    const double fetchSeconds = Seconds(started);
    const long fetchPeakKiB = PeakKiB();

    ResetPeak();
    started = std::chrono::steady_clock::now();
    linkbench::ExportLinkFile(folder + "/link.xml", 1, 12);
    const double exportSeconds = Seconds(started);
    const long exportPeakKiB = PeakKiB();

    std::printf("journal rows fetched:   %lld\n", rows);
    std::printf("(b) bare fetch:         %8.3f s   peak RSS %6.1f MiB\n", fetchSeconds, fetchPeakKiB / 1024.0);
    std::printf("(a) full export:        %8.3f s   peak RSS %6.1f MiB\n", exportSeconds, exportPeakKiB / 1024.0);
    std::printf("ratio (a)/(b):          %8.2f     (target <= 2.50)\n", exportSeconds / fetchSeconds);
    std::printf("RSS before the runs:              %6.1f MiB; export above it: %.1f MiB\n", baseKiB / 1024.0,
                (exportPeakKiB - baseKiB) / 1024.0);
    std::printf("link file: %ju bytes\n", static_cast<std::uintmax_t>(fs::file_size(folder + "/link.xml")));
    linkbench::CloseDataSet();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    result = 1;
  }
  fs::remove_all(folder);
  return result;
}
