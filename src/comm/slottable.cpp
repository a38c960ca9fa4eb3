#include "comm/slottable.h"

#include "core/datetext.h"
#include "core/globals.h"
#include "platform/rtl/sysutils.h"

namespace {

constexpr std::size_t kFirstBlockLine = 9;

std::string Chars(const std::string& v, std::size_t from1, std::size_t count) {
  if (from1 == 0 || from1 > v.size()) return "";
  return v.substr(from1 - 1, count);
}

// "YYYY/MM/DD hh:mm" from "YYYY-MM-DD hh:mm..." (characters 1-4, 6-7, 9-10, 12-16).
std::string MinuteText(const std::string& v) {
  return Chars(v, 1, 4) + "/" + Chars(v, 6, 2) + "/" + Chars(v, 9, 2) + " " + Chars(v, 12, 5);
}

bool EraOn() { return SystemDef.WarekiDisplay == 1; }

std::string EraDate(const std::string& minuteText) {
  std::string text;
  FormatDateSlash("yy/mm/dd", 2, text, StrToDateFixed(minuteText.substr(0, 10)));
  return text;
}

std::string DateDisplay(const std::string& minuteText) { return EraOn() ? EraDate(minuteText) : minuteText; }

std::string DateTimeDisplay(const std::string& minuteText, const std::string& raw) {
  return EraOn() ? EraDate(minuteText) + " " + Chars(raw, 12, 5) : minuteText;
}

}  // namespace

std::size_t SlotTableLineCount(bool CloudForm) { return kFirstBlockLine - 1 + 10 * (CloudForm ? 10 : 9); }

bool ReadSlotTable(const TStatusReply& Reply, bool CloudForm, TSlotTable& Table) {
  if (Reply.LineCount() < SlotTableLineCount(CloudForm)) return false;
  Table.FtpHost = Reply.ValueAt(6, 8);
  Table.FtpPassword = Reply.ValueAt(7, 8);
  const std::size_t blockLines = CloudForm ? 10 : 9;
  for (std::size_t slot = 0; slot < Table.Slots.size(); ++slot) {
    const std::size_t base = kFirstBlockLine + slot * blockLines;  // block line 1
    auto at = [&](std::size_t line, std::size_t column) { return Reply.ValueAt(base + line - 1, column); };
    TSlotEntry& e = Table.Slots[slot];
    e.Label = at(1, 14);
    e.CompanyName = DecodeCompanyName(at(2, 11));
    if (Trim(e.CompanyName).empty()) continue;
    e.Nendo = at(3, 11);
    const std::string kishu = at(4, 12), kimatu = at(5, 12), send = at(6, 11), receive = at(9, 11);
    e.Kishu = MinuteText(kishu);
    e.KishuDisplay = DateDisplay(e.Kishu);
    e.Kimatu = MinuteText(kimatu);
    e.KimatuDisplay = DateDisplay(e.Kimatu);
    e.SendTime = MinuteText(send);
    e.SendTimeDisplay = DateTimeDisplay(e.SendTime, send);
    if (CloudForm) e.LastUpdateText = e.SendTime.substr(0, 11) + Chars(send, 12, 8);
    e.Password = at(7, 11);
    e.Version = at(8, 13);
    e.ReceiveTime = MinuteText(receive);
    if (Chars(e.ReceiveTime, 1, 4) == "0000" || (!CloudForm && send >= receive))
      e.ReceiveTimeDisplay = "-";
    else
      e.ReceiveTimeDisplay = DateTimeDisplay(e.ReceiveTime, receive);
    if (CloudForm) e.UseState = at(10, 14);
  }
  return true;
}
