#include "platform/rtl/eras.h"

void BuildGengoTable() {
  GengoTable.clear();
  for (const TGengo2Rec& e : BuiltInGengo) {
    TGengoRec rec;
    rec.Name = e.Name;
    rec.ShortName = e.ShortName;
    if (!TryStrToDate(e.StartDate, rec.StartDate)) rec.StartDate = 0;
    rec.StartYear = DecodeDate(rec.StartDate).year;
    GengoTable.push_back(rec);
  }
}

int DateToWareki(TWarekiRec& Rec, TDateTime Date) {
  Rec = TWarekiRec{};
  const TDateParts p = DecodeDate(Date);
  bool named = false;
  if (Date > 0) {
    for (const TGengoRec& era : GengoTable) {
      if (era.Name.empty()) break;
      Rec.EraName = era.Name;
      Rec.EraShortName = era.ShortName;
      Rec.Year = static_cast<std::uint16_t>(p.year - era.StartYear + 1);
      named = true;
      if (Date >= era.StartDate) break;
    }
  }
  if (!named) Rec.Year = static_cast<std::uint16_t>(p.year);
  Rec.Month = static_cast<std::uint16_t>(p.month);
  Rec.Day = static_cast<std::uint16_t>(p.day);
  return p.day;
}
