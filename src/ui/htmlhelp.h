// Help pages: a window's help page opened with the desktop's browser.
#pragma once

#include <functional>
#include <string>

// The path of a help page under the help folder for the application kind
// (empty when the page is empty or the kind is not 0 to 3).
std::string HtmlHelpPath(const std::string& helpDir, int appKind, const std::string& page);
// Opens the page (SystemDef.HelpDir, AppKind): 0 on success, 0 without
// opening anything for an empty page or another kind, 1 when the desktop
// could not open it.
int OpenHtmlHelp(const std::string& page);
// Where pages are opened (the desktop's browser by default; tests record).
void SetHelpOpener(std::function<bool(const std::string& path)> opener);
