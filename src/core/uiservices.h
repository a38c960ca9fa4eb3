// What the shared file and folder helpers need of the window layer: message
// boxes, the folder and computer browsers and message processing. The window
// framework fills these when it starts; until then nothing is shown (messages
// go to the standard error stream), browsers count as cancelled and questions
// as declined.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/rtl/msgkind.h"

struct TCoreUiServices {
  // The message-lines box: the comma-separated parts of Text as lines.
  std::function<void(const std::string& Text, int Kind)> ShowMessageLines;
  // An error box with one OK button.
  std::function<void(const std::string& Text)> ShowError;
  // A warning box with Yes and No; true for Yes.
  std::function<bool(const std::string& Text)> AskWarningYesNo;
  // The folder browser: title, the current folder as the initial selection and
  // the folder at which browsing starts (empty: the top); nothing when cancelled.
  std::function<std::optional<std::string>(const std::string& Title, const std::string& Folder,
                                           const std::string& Root)>
      BrowseFolder;
  // The browser for computers on the network; nothing when cancelled.
  std::function<std::optional<std::string>(const std::string& Title)> BrowseComputer;
  // Runs the application's pending events once.
  std::function<void()> ProcessMessages;
};

inline TCoreUiServices CoreUi;

// The calls the helpers make; each falls back as described above.
void UiShowMessageLines(const std::string& Text, int Kind);
void UiShowError(const std::string& Text);
bool UiAskWarningYesNo(const std::string& Text);
