#include <gtest/gtest.h>

#include <string>

#include "comm/memberservice.h"
#include "comm/pzconv.h"
#include "comm/slottable.h"
#include "comm/statusrequest.h"
#include "core/globals.h"

namespace {

TEST(StatusRequest, QueryValuesArePercentEncoded) {
  const std::pair<std::string, std::string> cases[] = {
      {"ab+c/d=", "ab%2bc/d%3d"},
      {"ID 01&x=1", "ID%2001%26x%3d1"},
      {"pass#?%", "pass%23%3f%25"},
      {"A-Z_a.z~09", "A-Z_a.z~09"},
      {"株", "%e6%a0%aa"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(EscapeQueryValue(in), out) << in;
  EXPECT_EQ(BuildStatusRequestPath(1730, "S N", "ID&1", {{"fSname", "03"}, {"fShare", "1"}}),
            "/request.php?Scode=1730&sSno=S%20N&sFName=ID%261&fSname=03&fShare=1");
}

TEST(StatusRequest, CompanyNameTravelsAsBase64OfCp932) {
  EXPECT_EQ(CompanyNameField("株式会社"), "ipSOronvjtA=");
  EXPECT_EQ(DecodeCompanyName("ipSOronvjtA="), "株式会社");
  // "+" and "=" of the Base64 text are escaped in the request.
  const std::string field = CompanyNameField("\xef\xbd\x9e");  // ～ is 0x81 0x60 in CP932
  EXPECT_EQ(field, "gWA=");
  EXPECT_EQ(EscapeQueryValue(field), "gWA%3d");
}

TEST(StatusRequest, ReplyIsReadFromItsFirstNonEmptyLine) {
  const TStatusReply reply("\r\n\r\nline one\r\nx\r\n\r\nfour\r\nRESULT    000\r\nVALUE  2024/05/01 10:11:12\n");
  EXPECT_EQ(reply.Line(1), "line one");
  EXPECT_EQ(reply.Line(3), "");  // an empty line inside the reply counts
  EXPECT_EQ(reply.CodeAt(5), "000");
  EXPECT_EQ(reply.ValueAt(6, 8), "2024/05/01 10:11:12");
  EXPECT_EQ(reply.CodeAt(2), "");
  EXPECT_FALSE(reply.HasLine(7));
  EXPECT_EQ(reply.ValueAt(7, 1), "");
}

TEST(StatusRequest, TimesAreRecomposed) {
  EXPECT_EQ(SlashTimeText("2024/05/01 10:11:12"), "2024/05/01 10:11:12");
  EXPECT_EQ(CompactTimeText("20240501101112", true), "2024/05/01 10:11:12");
  EXPECT_EQ(CompactTimeText("202405011011xx", false), "2024/05/01 10:11");
  TDateTime t = 0;
  ASSERT_TRUE(TimeTextToDateTime("2024/05/01 10:11:12", t));
  EXPECT_EQ(DateTimeToStr(t), "2024/05/01 10:11:12");
  EXPECT_FALSE(TimeTextToDateTime(SlashTimeText("0000/00/00 00:00:00"), t));
  EXPECT_FALSE(TimeTextToDateTime(SlashTimeText("2024/5"), t));
}

TEST(StatusRequest, SlotTableRequestFollowsTheOperation) {
  struct Case {
    int op;
    bool autoFlag;
    std::uint8_t oem;
    std::uint8_t appKind;
    int code;
    std::string commId;
    std::string kubun;
    bool cloud;
  };
  const Case cases[] = {
      {1, false, 0, 0, 1720, "WEB", "", false},   {2, false, 1, 0, 1720, "WEB", "10", false},
      {20, false, 0, 0, 1723, "WEB", "", true},   {21, true, 0, 0, 1724, "WEB", "", true},
      {22, false, 0, 2, 1724, "WEB", "", true},   {21, true, 2, 0, 1723, "WEB", "10", true},
      {25, false, 0, 0, 1723, "WEB", "", true},   {5, false, 0, 0, 1720, "CASH", "2", false},
      {30, true, 1, 0, 1720, "CASH", "2", false},
  };
  const auto savedOem = OemKind;
  const auto savedApp = AppKind;
  for (const auto& c : cases) {
    OemKind = c.oem;
    AppKind = c.appKind;
    TQueryFields fields;
    std::string commId;
    bool cloud = false;
    EXPECT_EQ(TMemberService::SlotTableCode({c.op, c.autoFlag, "WEB", "CASH"}, fields, commId, cloud), c.code)
        << c.op;
    EXPECT_EQ(commId, c.commId) << c.op;
    EXPECT_EQ(cloud, c.cloud) << c.op;
    EXPECT_EQ(fields.empty() ? "" : fields[0].second, c.kubun) << c.op;
  }
  OemKind = savedOem;
  AppKind = savedApp;
}

// A slot-table reply in the member service's layout.
std::string SlotReply(bool cloud, const std::string& companyOfSlot2, const std::string& send,
                      const std::string& receive) {
  std::string r = "\r\nhead\r\nx\r\nx\r\nx\r\nRESULT    000\r\nFTPHOST127.0.0.1:2121\r\nFTPPASSpw\r\nignored\r\n";
  for (int slot = 1; slot <= 10; ++slot) {
    const bool filled = slot == 2;
    r += "SLOT-LABEL   No." + std::to_string(slot) + "\r\n";
    r += "COMPANY   " + (filled ? TxPzConv::EncodeBase64(companyOfSlot2) : std::string()) + "\r\n";
    r += "NENDO     12\r\n";
    r += "KISHU      2024-04-01 00:00:00\r\n";
    r += "KIMATU     2025-03-31 00:00:00\r\n";
    r += "UPDATE    " + send + "\r\n";
    r += "PASSWORD  pw" + std::to_string(slot) + "\r\n";
    r += "VERSION     1101\r\n";
    r += "USESTART  " + receive + "\r\n";
    if (cloud) r += "USE          2\r\n";
  }
  return r;
}

TEST(SlotTable, CloudFormIsReadAtItsColumns) {
  SystemDef.WarekiDisplay = 0;
  TSlotTable table;
  table.Slots[0].Password = "earlier";  // a blank slot keeps lines 3 to 10
  ASSERT_TRUE(ReadSlotTable(TStatusReply(SlotReply(true, "\x8a\x94", "2024-05-01 10:11:12", "0000-00-00 00:00:00")),
                            true, table));
  EXPECT_EQ(table.FtpHost, "127.0.0.1:2121");
  EXPECT_EQ(table.FtpPassword, "pw");
  EXPECT_EQ(table.Slots[0].Label, "No.1");
  EXPECT_EQ(table.Slots[0].CompanyName, "");
  EXPECT_EQ(table.Slots[0].Password, "earlier");
  const TSlotEntry& e = table.Slots[1];
  EXPECT_EQ(e.CompanyName, "株");
  EXPECT_EQ(e.Nendo, "12");
  EXPECT_EQ(e.Kishu, "2024/04/01 00:00");
  EXPECT_EQ(e.Kimatu, "2025/03/31 00:00");
  EXPECT_EQ(e.SendTime, "2024/05/01 10:11");
  EXPECT_EQ(e.LastUpdateText, "2024/05/01 10:11:12");
  EXPECT_EQ(e.Password, "pw2");
  EXPECT_EQ(e.Version, "1101");
  EXPECT_EQ(e.ReceiveTimeDisplay, "-");
  EXPECT_EQ(e.UseState, "2");
  EXPECT_FALSE(ReadSlotTable(TStatusReply("x\r\nx\r\nx\r\nx\r\nRESULT    000\r\n"), true, table));
}

TEST(SlotTable, RelayReceiveTimeShowsOnlyWhenLaterThanTheSend) {
  SystemDef.WarekiDisplay = 0;
  TSlotTable table;
  ASSERT_TRUE(ReadSlotTable(TStatusReply(SlotReply(false, "a", "2024-05-01 10:11", "2024-05-01 10:12")), false,
                            table));
  EXPECT_EQ(table.Slots[1].ReceiveTimeDisplay, "2024/05/01 10:12");
  EXPECT_EQ(table.Slots[1].UseState, "");
  ASSERT_TRUE(ReadSlotTable(TStatusReply(SlotReply(false, "a", "2024-05-01 10:11", "2024-05-01 10:11")), false,
                            table));
  EXPECT_EQ(table.Slots[1].ReceiveTimeDisplay, "-");
}

}  // namespace
