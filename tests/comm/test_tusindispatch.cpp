// The refusals of the data-communication window started by name, as a table
// of the facts each operation looks at, and the refusals after the slot table.
#include <gtest/gtest.h>

#include "comm/tusindispatch.h"

namespace {

TDispatchFacts Ready(std::int32_t code) {
  TDispatchFacts f;
  f.Code = code;
  f.CommId = "abcd12345678";
  f.CommPassword = "pw1";
  f.CashId = "genk00001111";
  f.CashPassword = "gp1";
  return f;
}

TEST(TusinDispatch, RefusalsBeforeTheSlotTable) {
  struct Case {
    const char* name;
    TDispatchFacts facts;
    const char* text;  // part of the notice; nullptr: goes on
    std::int32_t result;
  };
  auto with = [](std::int32_t code, auto change) {
    TDispatchFacts f = Ready(code);
    change(f);
    return f;
  };
  const Case cases[] = {
      {"relay send ready", Ready(opRelaySend), nullptr, -1},
      {"cash-book send ready", Ready(opCashBookSend), nullptr, -1},
      {"cloud data under AppKind 2", with(opRelaySend, [](auto& f) { f.AppKind = 2; f.CloudArea = 3; }),
       "クラウドシェアデータでは利用できません。", -1},
      {"relay receive of cloud data", with(opRelayReceive, [](auto& f) { f.CloudArea = 3; }),
       "クラウドシェアデータでデータ受信は実行できません。", -1},
      {"relay receive of cloud data, connection kind 2",
       with(opRelayReceive, [](auto& f) { f.CloudArea = 3; f.ConnectKind = 2; }), nullptr, -1},
      {"relay send without ID", with(opRelaySend, [](auto& f) { f.CommId = "   "; }), "通信IDが設定されてません。", -1},
      {"relay send without password", with(opRelaySend, [](auto& f) { f.CommPassword = ""; }),
       "パスワードが設定されてません。", -1},
      {"relay send ignores the cash-book ID", with(opRelaySend, [](auto& f) { f.CashId = ""; }), nullptr, -1},
      {"another window open", with(opCashBookSend, [](auto& f) { f.OtherWindowOpen = true; }),
       "現在メニュー以外の画面を表示中なので、データ通信処理は行えません。", -1},
      {"automatic send ignores other windows", with(opAutoSend, [](auto& f) { f.OtherWindowOpen = true; }), nullptr, -1},
      {"cash-book receive without cash-book ID", with(opCashBookReceive, [](auto& f) { f.CashId = ""; }),
       "通信IDが設定されてません。", -1},
      {"automatic receive without cash-book password", with(opAutoReceive, [](auto& f) { f.CashPassword = ""; }),
       "パスワードが設定されてません。", 0},
      {"approved journals", with(opServerCheck, [](auto& f) { f.ApprovedJournals = true; }),
       "承認済み仕訳が含まれます。", -1},
      {"approved journals, automatic send outside AppKind 3",
       with(opAutoSend, [](auto& f) { f.ApprovedJournals = true; }), nullptr, -1},
      {"combined data, cash-book send", with(opCashBookSend, [](auto& f) { f.CombinedKind = 1; }),
       "合算データのため、現金出納帳の送信処理は行えません。", -1},
      {"combined data, master send", with(opMasterSend, [](auto& f) { f.CombinedKind = 2; }),
       "合算データのため、現金出納帳の送信処理は行えません。", -1},
      {"combined data, cash-book receive", with(opCashBookReceive, [](auto& f) { f.CombinedKind = 1; }),
       "合算データのため、現金出納帳の受信処理は行えません。", -1},
  };
  for (const Case& c : cases) {
    std::int32_t result = 99;
    const TCommNotice n = DispatchRefusal(c.facts, result);
    if (c.text) {
      EXPECT_NE(n.Text.find(c.text), std::string::npos) << c.name << ": " << n.Text;
    } else {
      EXPECT_TRUE(n.Empty()) << c.name << ": " << n.Text;
    }
    EXPECT_EQ(result, c.result) << c.name;
  }
}

TEST(TusinDispatch, AnotherOperatorAttached) {
  const TCommNotice ask = AttachedElsewhereNotice("現金出納帳送信", 0);
  EXPECT_EQ(ask.Kind, kMsgConfirmation);
  EXPECT_EQ(ask.Text, "　\r\nこのデータは他のオペレータが使用中です。現金出納帳送信を開始しますか？\r\n ");
  const TCommNotice refuse = AttachedElsewhereNotice("自動受信", 3);
  EXPECT_EQ(refuse.Kind, kMsgWarning);
  EXPECT_NE(refuse.Text.find("データ受信は行えません。"), std::string::npos);
}

TEST(TusinDispatch, RefusalsAfterTheSlotTable) {
  TSlotTable empty;
  TSlotTable full;
  for (TSlotEntry& s : full.Slots) {
    s.CompanyName = "株式会社テスト";
    s.Kishu = "2024/04/01 00:00";
  }
  TSlotTable slot3Other = full;
  slot3Other.Slots[2].Kishu = "2023/04/01 00:00";
  TSlotTable onlySlot2 = empty;
  onlySlot2.Slots[1].CompanyName = "株式会社テスト";
  struct Case {
    const char* name;
    std::int32_t code;
    const TSlotTable* table;
    bool stops;
    const char* text;
    std::int32_t result;
  } cases[] = {
      {"send, unreceived full data in slot 3", opCashBookSend, &full, true, "未受信の全データが存在します", -1},
      {"automatic send, unreceived full data", opAutoSend, &full, true, "未受信の全データが存在します", -1},
      {"send, slot 3 of another period", opCashBookSend, &slot3Other, false, nullptr, -1},
      {"send, empty slots", opCashBookSend, &empty, false, nullptr, -1},
      {"master send with slot 1 full", opMasterSend, &full, true, "受信処理を行ってから、マスター送信して下さい。", -1},
      {"master send, empty slots", opMasterSend, &empty, false, nullptr, -1},
      {"receive without data", opCashBookReceive, &onlySlot2, true, "受信データがありません。", 0},
      {"automatic receive without data, silently", opAutoReceive, &empty, true, nullptr, 0},
      {"automatic receive from slot 2", opAutoReceive, &onlySlot2, false, nullptr, -1},
      {"server check", opServerCheck, &full, false, nullptr, -1},
  };
  for (const Case& c : cases) {
    std::int32_t result = -1;
    TCommNotice n;
    EXPECT_EQ(SlotRefusal(c.code, *c.table, "2024/04/01", result, n), c.stops) << c.name;
    if (c.text) {
      EXPECT_NE(n.Text.find(c.text), std::string::npos) << c.name;
    } else {
      EXPECT_TRUE(n.Empty()) << c.name;
    }
    EXPECT_EQ(result, c.result) << c.name;
  }
}

TEST(TusinDispatch, OperationCodeAndCaption) {
  EXPECT_EQ(OperationCodeOf("3", 1), 3);
  EXPECT_EQ(OperationCodeOf("", 4), 4);
  EXPECT_EQ(OperationCodeOf("-1", 4), 4);
  EXPECT_EQ(OperationCodeOf("x", 4), 4);
  EXPECT_EQ(OperationCaption(opRelaySend, 0), "データ送信");
  EXPECT_EQ(OperationCaption(opServerCheck, 0), "サーバー確認");
  EXPECT_EQ(OperationCaption(opAutoReceive, 3), "自動受信");
  EXPECT_EQ(OperationCaption(opAutoReceive, 0), "");
}

}  // namespace
