// A message that an exchange step asks its window to show: the text, the box
// kind (TMsgKind) and whether its one button is "Yes" instead of "OK".
// The transfer code only composes notices; the data-communication window
// shows them, so the steps can run and be tested without a screen.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

#include "platform/rtl/msgkind.h"

struct TCommNotice {
  std::string Text;
  std::uint8_t Kind = kMsgError;
  bool YesButton = false;

  bool Empty() const { return Text.empty(); }
  static TCommNotice ErrorOk(std::string text) { return {std::move(text), kMsgError, false}; }
  static TCommNotice ErrorYes(std::string text) { return {std::move(text), kMsgError, true}; }
  static TCommNotice WarningOk(std::string text) { return {std::move(text), kMsgWarning, false}; }
  static TCommNotice WarningYes(std::string text) { return {std::move(text), kMsgWarning, true}; }
  static TCommNotice InformationOk(std::string text) { return {std::move(text), kMsgInformation, false}; }
  static TCommNotice InformationYes(std::string text) { return {std::move(text), kMsgInformation, true}; }
};

// "　\r\n" + Text + "\r\n " (a full-width blank line before and a blank after),
// the frame of most exchange messages.
inline std::string FramedMessage(const std::string& Text) { return "　\r\n" + Text + "\r\n "; }
// "　\r\n" + Prefix + "(" + Code + ")\r\n ": a server error with its code.
inline std::string ServerErrorMessage(const std::string& Prefix, const std::string& Code) {
  return "　\r\n" + Prefix + "(" + Code + ")\r\n ";
}

// The class name an error box gives for an exception: the program's own
// exception classes by their names ("EIBError", "ECipherError", ...), the
// standard library's as the runtime names them ("EOutOfMemory" for a failed
// allocation, "EInOutError" for a file or stream error) and "Exception" for
// any other.
std::string ExceptionClassName(const std::exception& E);
// Head + the class name + " error , with message : " + the exception's text:
// the text of the boxes that report an exception of an exchange.
std::string ExceptionErrorText(const std::string& Head, const std::exception& E);
