// Second process for the platform tests.
//   hold <name> [<go file>]   waits for <go file> (when given), then tries to create
//                             the named mutex: prints "held" and sleeps until
//                             killed, or prints "busy" and exits 1
//   send <handle> <text>      sends one caller datagram; exit 0 when delivered
//   <handle,msg,value,path>   (one argument, as the caller starts the link program)
//                             plays the link program: disables, raises and enables
//                             the caller and posts msg with value and the close
//                             code $VERUDA_TEST_CLOSE_CODE (default 0); writes
//                             "written" to path when one is given
//   print <out> <err> <code>  writes <out> to stdout, <err> to stderr, exits <code>
//   sleep <ms>                sleeps, exits 0
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "platform/win/caller.h"
#include "platform/win/namedmutex.h"
#include "platform/win/paths.h"

namespace {

int Hold(const std::string& name, const std::string& goFile) {
  while (!goFile.empty() && !FileExists(goFile)) std::this_thread::sleep_for(std::chrono::microseconds(200));
  auto mutex = CreateNamedMutex(name);
  std::cout << (mutex ? "held" : "busy") << std::endl;
  if (!mutex) return 1;
  for (;;) pause();
}

std::vector<std::string> Split(const std::string& text) {
  std::vector<std::string> parts;
  std::size_t start = 0, comma;
  while ((comma = text.find(',', start)) != std::string::npos) {
    parts.push_back(text.substr(start, comma - start));
    start = comma + 1;
  }
  parts.push_back(text.substr(start));
  return parts;
}

int Link(const std::string& argument, int closeCode) {
  std::vector<std::string> f = Split(argument);
  if (f.size() != 4) return 2;
  CallerHandle handle = std::stoll(f[0]);
  if (!f[3].empty()) std::ofstream(f[3]) << "written";
  bool ok = EnableWindow(handle, false);
  ok = SetForegroundWindow(handle) && ok;
  ok = EnableWindow(handle, true) && ok;
  ok = PostMessage(handle, static_cast<std::uint32_t>(std::stoul(f[1])), std::stoll(f[2]), closeCode) && ok;
  std::cout << "link program output that the caller must not show" << std::endl;
  return ok ? 0 : 3;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> a(argv + 1, argv + argc);
  if (a.size() >= 2 && a[0] == "hold") return Hold(a[1], a.size() > 2 ? a[2] : "");
  if (a.size() == 3 && a[0] == "send") return SendCallerDatagram(std::stoll(a[1]), a[2]) ? 0 : 1;
  if (a.size() == 1 && Split(a[0]).size() == 4) {
    const char* code = std::getenv("VERUDA_TEST_CLOSE_CODE");
    return Link(a[0], code ? std::stoi(code) : 0);
  }
  if (a.size() == 4 && a[0] == "print") {
    std::cout << a[1] << std::flush;
    std::cerr << a[2] << std::flush;
    return std::stoi(a[3]);
  }
  if (a.size() == 2 && a[0] == "sleep") {
    std::this_thread::sleep_for(std::chrono::milliseconds(std::stoi(a[1])));
    return 0;
  }
  std::cerr << "win_test_helper: unknown command\n";
  return 2;
}
