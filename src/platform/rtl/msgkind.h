// The kinds of message the program shows, as every layer numbers them: the
// window framework's message boxes and icons, the data module's dialogs, the
// shared helpers' boxes, the exchange's notices and the computation's
// messages. The numbers are those of the stored and exchanged requests:
// 0 warning (警告), 1 error (エラー), 2 information (情報), 3 confirmation (確認).
#pragma once

#include <cstdint>

enum TMsgKind : std::uint8_t { kMsgWarning = 0, kMsgError = 1, kMsgInformation = 2, kMsgConfirmation = 3 };
