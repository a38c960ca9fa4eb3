// What the data module needs of the window layer: the standard message
// dialog, the input dialog of the password prompt, the end request of the
// application and the close request of a window. The window framework fills
// these when it starts; until then messages go to the standard error stream,
// the input dialog counts as cancelled and an end request is only noted.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/rtl/msgkind.h"

// Modal result of a confirmed dialog.
inline constexpr int kModalOk = 1;

// The input dialog in password mode, as the data password prompt sets it up.
struct TInputDlgRequest {
  int InputMode = 1;              // 1 password text
  std::string Caption;
  std::string Message;
  std::int32_t MessageColor = 0;  // the window-text colour, or red (0x0000FF)
  std::string InputText;          // in: shown; out: what the user typed
  std::string Hint;
  int MaxLength = 0;
  std::uint8_t ImeMode = 0;       // 0: input method off
  int InputFilter = 0;            // 30: letters and digits
};

// Colours of the prompt's message line.
inline constexpr std::int32_t kWindowTextColor = static_cast<std::int32_t>(0x80000008);
inline constexpr std::int32_t kRedColor = 0x0000FF;

struct TDbUiServices {
  // A message dialog of the given kind with one OK button ("\r" breaks lines).
  std::function<void(const std::string& Text, int Kind)> MessageDlg;
  // Shows the input dialog modally; returns its modal result (kModalOk when confirmed).
  std::function<int(TInputDlgRequest& Request)> InputDialog;
  // Asks the application to end once control returns to its message loop.
  std::function<void()> Terminate;
  // Posts a close request to a window.
  std::function<void(std::intptr_t Window)> PostClose;
  // True when the screen's list of installed fonts holds the name.
  std::function<bool(const std::string& FontName)> FontInstalled;
};

inline TDbUiServices DbUi;

// The calls the data module makes; each falls back as described above.
void DbShowMessage(const std::string& Text, int Kind);
int DbInputDialog(TInputDlgRequest& Request);
void DbTerminate();
// Runs the application's pending events once (core's message processing).
void DbProcessMessages();
