#include "core/uiservices.h"

#include <iostream>

void UiShowMessageLines(const std::string& Text, int Kind) {
  if (CoreUi.ShowMessageLines) CoreUi.ShowMessageLines(Text, Kind);
  else std::cerr << Text << '\n';
}

void UiShowError(const std::string& Text) {
  if (CoreUi.ShowError) CoreUi.ShowError(Text);
  else std::cerr << Text << '\n';
}

bool UiAskWarningYesNo(const std::string& Text) { return CoreUi.AskWarningYesNo && CoreUi.AskWarningYesNo(Text); }
