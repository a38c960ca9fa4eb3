// Benchmark of the link-file export against a raw fetch of the same journal.
//
//   bench-link-export [N ...]     journal lines per data set; default
//                                 200000 1000000 (add 2000000 for the large run)
//   BENCH_ROUNDS=r                rounds of each measurement (default 5)
//
// For each N a data set of N generated journal lines over the fiscal year
// 2019-10-01 .. 2020-09-30 (a corporation on principle taxation with sales,
// purchases, expenses, fixed assets, returns and transfers at both rates) is
// built in a child process. Then, each in a fresh child process so that no
// engine state or memory carries over, the embedded engine and the Firebird
// server on 127.0.0.1 are measured in turns, round after round, each round
// starting with another step:
//   raw fetch    the journal read's own SELECT written directly on the
//                Firebird OO API (its own attachment, no field layer of the
//                project, no text conversion), every row fetched;
//   export       the whole export of the year to a link file through the
//                program's layers, as the wizard runs it;
//   with pump    (embedded) the same export with the program's message pump
//                installed on a Qt application.
// Each line gives the median wall time with its range, on the embedded
// engine the median CPU time of the process too (the steadier figure on a
// busy machine), and the peak resident memory of the step over all rounds;
// the pump's cost is also worked out from its calls per export and the time
// of one call. Then the question for linked journal rows of kind 9 is
// timed with the index on LINKKUB, without it (data sets made before the
// index), and as the former count over the journal view.
// Targets: export <= 1.2 x raw fetch at 1,000,000 lines; the pump costs at
// most 2 %; peak memory that does not grow with N.
#include <firebird/Interface.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/globals.h"
#include "dbaccess/datasetconnection.h"
#include "fixture/builder.h"
#include "fixture/description.h"
#include "linkrun.h"
#include "platform/fb/ibx.h"
#include "platform/vcl/focus.h"
#include "tax/taxcontext.h"
#include "taxdb/readers.h"

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
// Starts a new peak (the kernel's reset of VmHWM).
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

double Seconds(std::chrono::steady_clock::time_point from) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

std::string EnvOr(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != 0 ? value : fallback;
}

// The journal read's SELECT of the whole year on the Firebird OO API alone:
// its own attachment and snapshot transaction, the parameters bound by hand,
// every row fetched into the message buffer and only the net amount added up.
class RawFetch {
 public:
  explicit RawFetch(const std::string& database) {
    master_ = Firebird::fb_get_master_interface();
    Firebird::IXpbBuilder* dpb = master_->getUtilInterface()->getXpbBuilder(&status_, Firebird::IXpbBuilder::DPB,
                                                                           nullptr, 0);
    dpb->insertString(&status_, isc_dpb_user_name, EnvOr("VERUDA_DB_USER", "VFNZFR").c_str());
    dpb->insertString(&status_, isc_dpb_password, EnvOr("VERUDA_DB_PASSWORD", "dravon").c_str());
    dpb->insertString(&status_, isc_dpb_lc_ctype, "SJIS_0208");
    provider_ = master_->getDispatcher();
    attachment_ = provider_->attachDatabase(&status_, database.c_str(), dpb->getBufferLength(&status_),
                                            dpb->getBuffer(&status_));
    dpb->dispose();
    std::string sql = JournalReadStatement(false);
    for (const char* name : {":DT1", ":DT2"}) sql.replace(sql.find(name), 4, "?");
    Firebird::ITransaction* tr = attachment_->startTransaction(&status_, 0, nullptr);
    statement_ = attachment_->prepare(&status_, tr, 0, sql.c_str(), 3, Firebird::IStatement::PREPARE_PREFETCH_METADATA);
    tr->commit(&status_);
  }
  ~RawFetch() {
    try {
      statement_->free(&status_);
      attachment_->detach(&status_);
    } catch (const Firebird::FbException&) {
    }
    provider_->release();
    status_.dispose();
  }
  RawFetch(const RawFetch&) = delete;
  RawFetch& operator=(const RawFetch&) = delete;

  long long Run() {
    const unsigned char tpb[] = {isc_tpb_version3, isc_tpb_concurrency, isc_tpb_nowait};
    Firebird::ITransaction* tr = attachment_->startTransaction(&status_, sizeof tpb, tpb);
    Firebird::IMessageMetadata* in = statement_->getInputMetadata(&status_);
    Firebird::IMessageMetadata* out = statement_->getOutputMetadata(&status_);
    std::vector<unsigned char> params(in->getMessageLength(&status_));
    Firebird::IUtil* util = master_->getUtilInterface();
    const ISC_TIMESTAMP from{util->encodeDate(2019, 10, 1), 0}, to{util->encodeDate(2020, 9, 30), 0};
    for (unsigned i = 0; i < 2; ++i) {
      const ISC_TIMESTAMP& value = i == 0 ? from : to;
      std::memcpy(params.data() + in->getOffset(&status_, i), &value, sizeof value);
      const short notNull = 0;
      std::memcpy(params.data() + in->getNullOffset(&status_, i), &notNull, sizeof notNull);
    }
    std::vector<unsigned char> row(out->getMessageLength(&status_));
    const unsigned nukOffset = out->getOffset(&status_, 5);
    Firebird::IResultSet* cursor = statement_->openCursor(&status_, tr, in, params.data(), out, 0);
    long long rows = 0;
    std::int64_t sum = 0;
    while (cursor->fetchNext(&status_, row.data()) == Firebird::IStatus::RESULT_OK) {
      std::int64_t nuk;
      std::memcpy(&nuk, row.data() + nukOffset, sizeof nuk);
      sum += nuk;
      ++rows;
    }
    cursor->close(&status_);
    in->release();
    out->release();
    tr->commit(&status_);
    checksum_ += sum;
    return rows;
  }

 private:
  Firebird::IMaster* master_ = nullptr;
  Firebird::ThrowStatusWrapper status_{Firebird::fb_get_master_interface()->getStatus()};
  Firebird::IProvider* provider_ = nullptr;
  Firebird::IAttachment* attachment_ = nullptr;
  Firebird::IStatement* statement_ = nullptr;
  std::int64_t checksum_ = 0;
};

// CPU time of the whole process (the embedded engine's threads included).
double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double MedianOf(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

// Median wall and CPU time and highest peak of one kind of step over the
// rounds. The CPU time of this process is the steadier figure on a busy
// machine; over TCP the server does the work, so there only the wall time
// counts.
struct Step {
  std::vector<double> seconds, cpuSeconds;
  long peakKiB = 0;

  template <typename F>
  void Measure(F work) {
    ResetPeak();
    const double cpu = CpuSeconds();
    const auto started = std::chrono::steady_clock::now();
    work();
    seconds.push_back(Seconds(started));
    cpuSeconds.push_back(CpuSeconds() - cpu);
    peakKiB = std::max(peakKiB, PeakKiB());
  }
  double Median() const { return MedianOf(seconds); }
  double CpuMedian() const { return MedianOf(cpuSeconds); }
  double CpuLeast() const { return cpuSeconds.empty() ? 0 : *std::min_element(cpuSeconds.begin(), cpuSeconds.end()); }
};

// Results of the children, "key value" lines in a file of the run's folder.
class Results {
 public:
  explicit Results(std::string file) : file_(std::move(file)) {}
  void Put(const std::string& key, double value) const { std::ofstream(file_, std::ios::app) << key << " " << value << "\n"; }
  std::map<std::string, double> Read() const {
    std::map<std::string, double> values;
    std::ifstream in(file_);
    std::string key;
    double value = 0;
    while (in >> key >> value) values[key] = value;
    return values;
  }

 private:
  std::string file_;
};

// Runs work in a child process; false when it failed.
bool InChild(const std::function<void()>& work) {
  std::fflush(stdout);
  const pid_t child = fork();
  if (child == 0) {
    int code = 0;
    try {
      work();
    } catch (const Firebird::FbException& e) {
      char text[512];
      Firebird::fb_get_master_interface()->getUtilInterface()->formatStatus(text, sizeof text, e.getStatus());
      std::fprintf(stderr, "%s\n", text);
      code = 1;
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s\n", e.what());
      code = 1;
    }
    std::fflush(stdout);
    std::fflush(stderr);
    _exit(code);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string Hex(std::uint64_t v) {
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(v));
  return text;
}

// FNV-1a of a file, to compare link files across builds.
std::uint64_t FileHash(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::uint64_t h = 1469598103934665603ULL;
  for (char c; in.get(c);) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
  return h;
}

void Print(const char* label, const Step& step, const Step* base, bool cpu) {
  const auto [least, most] = std::minmax_element(step.seconds.begin(), step.seconds.end());
  std::printf("  %-12s %8.3f s wall (%.3f-%.3f)", label, step.Median(), *least, *most);
  if (cpu) std::printf(" %8.3f s CPU", step.CpuMedian());
  std::printf("   peak RSS %6.1f MiB", step.peakKiB / 1024.0);
  if (base) {
    std::printf("   %5.2f x raw fetch", step.Median() / base->Median());
    if (cpu) std::printf(" (CPU %5.2f x)", step.CpuMedian() / base->CpuMedian());
  }
  std::printf("\n");
}

double TimeOf(const std::function<void()>& work) {
  const auto started = std::chrono::steady_clock::now();
  work();
  return Seconds(started);
}

// Each round runs every step once, starting one step later than the round
// before, so that no step always follows the same one.
void RunRounds(const std::vector<std::function<void()>>& steps, int rounds) {
  for (int r = 0; r < rounds; ++r)
    for (std::size_t k = 0; k < steps.size(); ++k) steps[(k + static_cast<std::size_t>(r)) % steps.size()]();
}

void RunStatement(const std::string& sql) {
  DataSetConnection().IBTransactionDAT.StartTransaction();
  DataSetConnection().IBQACC1.SQL.SetText(sql);
  DataSetConnection().IBQACC1.ExecSQL();
  DataSetConnection().IBTransactionDAT.Commit();
}

// The embedded engine: raw fetch, export, export with the message pump, and
// the linked-journal question.
void MeasureEmbedded(const std::string& database, const std::string& folder, int rounds, const Results& results,
                     const std::string& n) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  int argc = 1;
  char name[] = "bench-link-export";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);

  linkbench::OpenDataSet(database);
  RawFetch raw(database);
  const std::string output = folder + "/link.xml";
  long long rows = raw.Run();  // warms the page cache for every step
  linkbench::ExportLinkFile(output, 1, 12);

  Step fetch, plain, pumped;
  int pumps = 0;
  const std::vector<std::function<void()>> steps = {
      [&] { fetch.Measure([&] { rows = raw.Run(); }); },
      [&] { plain.Measure([&] { linkbench::ExportLinkFile(output, 1, 12); }); },
      [&] {
        TaxHooks.ProcessMessages = [&pumps] {
          ++pumps;
          ProcessMessages();
        };
        pumped.Measure([&] { linkbench::ExportLinkFile(output, 1, 12); });
        TaxHooks.ProcessMessages = nullptr;
      },
  };
  RunRounds(steps, rounds);
  std::printf("embedded engine, %lld journal rows read, median of %d rounds:\n", rows, rounds);
  Print("raw fetch", fetch, nullptr, true);
  Print("export", plain, &fetch, true);
  Print("with pump", pumped, &fetch, true);
  // The two exports differ by the pump alone: compare their least CPU times,
  // the ones least disturbed by other work on the machine.
  const double pumpCost = pumped.CpuLeast() / plain.CpuLeast() - 1;
  // The pump's own share: its calls per export times the cost of one call.
  const double perCall = TimeOf([] {
                           for (int i = 0; i < 10000; ++i) ProcessMessages();
                         }) / 10000;
  const double perExport = static_cast<double>(pumps) / rounds;
  std::printf("  message pump: %+.1f %% measured (least CPU); %.0f pumps per export at %.1f us each = %.2f %% of the "
              "export\n",
              pumpCost * 100, perExport, perCall * 1e6, perExport * perCall / plain.CpuMedian() * 100);
  std::printf("  link file: %ju bytes, FNV-1a %s\n", static_cast<std::uintmax_t>(fs::file_size(output)),
              Hex(FileHash(output)).c_str());
  results.Put(n + ".raw", fetch.Median());
  results.Put(n + ".export", plain.Median());
  results.Put(n + ".rawCpu", fetch.CpuMedian());
  results.Put(n + ".exportCpu", plain.CpuMedian());
  results.Put(n + ".pump", pumpCost);
  results.Put(n + ".rawPeak", fetch.peakKiB / 1024.0);
  results.Put(n + ".exportPeak", plain.peakKiB / 1024.0);

  // The linked-journal question: through the index, then as on a data set
  // made before the index, and the former count over the journal view.
  DataSetConnection().ExistsLinkKub9Siwake(0, 0);
  const double indexed = TimeOf([] { DataSetConnection().ExistsLinkKub9Siwake(0, 0); });
  RunStatement("DROP INDEX SIWAKE_LINKKUB");
  const double scanned = TimeOf([] { DataSetConnection().ExistsLinkKub9Siwake(0, 0); });
  const double viewCount = TimeOf([] {
    TIBSQL q;
    q.SetDatabase(&DataSetConnection().IBDatabaseDAT);
    q.SetTransaction(&DataSetConnection().IBTransactionDAT);
    q.SQL.SetText("SELECT COUNT(SWKREC) AS RECCNT FROM SIWAKE_VIEW\nWHERE (DELFLG=0) AND (TAISHAKU=1) AND (LINKKUB=9)");
    DataSetConnection().IBTransactionDAT.StartTransaction();
    q.ExecQuery();
    q.Close();
    DataSetConnection().IBTransactionDAT.Commit();
  });
  RunStatement("CREATE INDEX SIWAKE_LINKKUB ON SIWAKE (LINKKUB)");
  std::printf("  linked journal rows of kind 9: %.4f s with the index, %.4f s without it, %.4f s as a count "
              "over the view\n",
              indexed, scanned, viewCount);
  results.Put(n + ".linkIndexed", indexed);
  linkbench::CloseDataSet();
}

// The server on 127.0.0.1: raw fetch and export over TCP.
void MeasureServer(const std::string& database, const std::string& folder, int rounds, const Results& results,
                   const std::string& n) {
  const std::string remote = "127.0.0.1:" + database;
  linkbench::OpenDataSet(remote);
  RawFetch raw(remote);
  const std::string output = folder + "/link-tcp.xml";
  raw.Run();
  linkbench::ExportLinkFile(output, 1, 12);
  Step fetch, plain;
  RunRounds({[&] { fetch.Measure([&] { raw.Run(); }); },
             [&] { plain.Measure([&] { linkbench::ExportLinkFile(output, 1, 12); }); }},
            rounds);
  std::printf("server on 127.0.0.1 over TCP, median of %d rounds:\n", rounds);
  Print("raw fetch", fetch, nullptr, false);
  Print("export", plain, &fetch, false);
  std::printf("  link file the same as the embedded one: %s\n",
              FileHash(output) == FileHash(folder + "/link.xml") ? "yes" : "NO");
  results.Put(n + ".tcpRaw", fetch.Median());
  results.Put(n + ".tcpExport", plain.Median());
  linkbench::CloseDataSet();
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<long long> sizes;
  for (int i = 1; i < argc; ++i) {
    const long long n = std::atoll(argv[i]);
    if (n <= 0) {
      std::fprintf(stderr, "usage: %s [journal lines ...]   (default 200000 1000000)\n", argv[0]);
      return 64;
    }
    sizes.push_back(n);
  }
  if (sizes.empty()) sizes = {200000, 1000000};
  const int rounds = std::max(1, std::atoi(EnvOr("BENCH_ROUNDS", "5").c_str()));

  std::string pattern = (fs::temp_directory_path() / "bench-link-XXXXXX").string();
  const std::string folder = mkdtemp(pattern.data());
  chmod(folder.c_str(), 0777);  // the server reaches the data set through it
  const Results results(folder + "/results.txt");
  int result = 0;

  for (long long lines : sizes) {
    const std::string n = std::to_string(lines);
    const std::string target = folder + "/inst-" + n;
    std::printf("\n== %lld journal lines\n", lines);
    const auto started = std::chrono::steady_clock::now();
    if (!InChild([&] {
          fixture::BuildOptions options;
          options.serverAccess = true;
          fixture::BuildInstallation(fixture::ParseDescription(Description(lines), "bench", ""), target, options);
        })) {
      result = 1;
      break;
    }
    std::printf("data set built in %.1f s\n", Seconds(started));
    setenv("VERUDA_APPDATA_DIR", (target + "/appdata").c_str(), 1);
    setenv("VERUDA_PROGRAM_DIR", (target + "/program").c_str(), 1);
    setenv("VERUDA_REGISTRY_FILE", (target + "/appdata/registry/HKEY_LOCAL_MACHINE.ini").c_str(), 1);
    const std::string database = target + "/appdata/norvane/corvexzaimu/data/0001/rqacc.fdb";
    if (!InChild([&] { MeasureEmbedded(database, folder, rounds, results, n); })) result = 1;
    if (!InChild([&] { MeasureServer(database, folder, rounds, results, n); }))
      std::printf("(the server on 127.0.0.1 could not be measured)\n");
    fs::remove_all(target);
  }

  const auto values = results.Read();
  auto get = [&](long long lines, const char* key) {
    const auto found = values.find(std::to_string(lines) + "." + key);
    return found == values.end() ? 0.0 : found->second;
  };
  auto ratio = [](double a, double b) { return b > 0 ? a / b : 0; };
  std::printf("\n%10s %8s %8s %6s %8s %8s %6s %7s %8s %8s %8s %8s %6s\n", "lines", "raw s", "export s", "ratio",
              "raw CPU", "exp. CPU", "ratio", "pump", "raw MiB", "exp. MiB", "tcp raw", "tcp exp.", "ratio");
  for (long long lines : sizes) {
    const double raw = get(lines, "raw"), exp = get(lines, "export"), rawCpu = get(lines, "rawCpu"),
                 expCpu = get(lines, "exportCpu"), tcpRaw = get(lines, "tcpRaw"), tcpExp = get(lines, "tcpExport");
    std::printf("%10lld %8.3f %8.3f %6.2f %8.3f %8.3f %6.2f %+6.1f%% %8.1f %8.1f %8.3f %8.3f %6.2f\n", lines, raw, exp,
                ratio(exp, raw), rawCpu, expCpu, ratio(expCpu, rawCpu), get(lines, "pump") * 100,
                get(lines, "rawPeak"), get(lines, "exportPeak"), tcpRaw, tcpExp, ratio(tcpExp, tcpRaw));
  }
  std::printf("targets: export <= 1.20 x raw fetch at 1,000,000 lines; pump <= 2 %%; memory flat in N\n");
  fs::remove_all(folder);
  return result;
}
