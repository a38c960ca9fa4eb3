#include "ui/htmlhelp.h"

#include <QDesktopServices>
#include <QUrl>

#include "core/globals.h"

namespace {

std::function<bool(const std::string&)> g_opener;

struct KindFolders {
  const char* top;
  const char* pages;
};
constexpr KindFolders kFolders[] = {
    {"/zaimu/", "/zaimu/olm.files/"},
    {"/", "/ecbolm.files/"},
    {"/tessaly/", "/tessaly/tyhelp.files/"},
    {"/", "/csbolm.files/"},
};

}  // namespace

std::string HtmlHelpPath(const std::string& helpDir, int appKind, const std::string& page) {
  if (page.empty() || appKind < 0 || appKind > 3) return {};
  const bool topPage = page == "olm.html" || page == "ecbolm.html" || page == "tyhelp.html" || page == "csbolm.html";
  std::string dir = helpDir;
  while (!dir.empty() && dir.back() == '/') dir.pop_back();
  return dir + (topPage ? kFolders[appKind].top : kFolders[appKind].pages) + page;
}

int OpenHtmlHelp(const std::string& page) {
  const std::string path = HtmlHelpPath(SystemDef.HelpDir, AppKind, page);
  if (path.empty()) return 0;
  const bool ok = g_opener ? g_opener(path) : QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
  return ok ? 0 : 1;
}

void SetHelpOpener(std::function<bool(const std::string&)> opener) { g_opener = std::move(opener); }
