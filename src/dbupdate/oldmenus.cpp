// The menu positions of the page-and-slot menu that preceded the menu control
// by process name, as far as the conversion of step 8.0.2 knows them: the
// first table for job levels up to 1000, the second for the levels above.
#include "core/globals.h"
#include "dbupdate/systemstepprocs.h"

namespace {

struct TOldMenuRec {
  std::int32_t Page;
  std::int32_t Slot;
  const char* ProcId;
  const char* Option;
};

const TOldMenuRec kOldMenu[] = {
    {1, 0, "WzSiwake", "SyoriType=1"},       // 仕訳入力
    {1, 1, "WzSiwake", "SyoriType=0"},       // 仕訳帳
    {1, 2, "WzMonitor", ""},                 // 仕訳モニター
    {1, 10, "WzDataGassan", ""},             // データ合算
    {8, 0, "WzDataTusin", "SyoriType=1"},    // データ送信
    {8, 1, "WzDataTusin", "SyoriType=2"},    // データ受信
    {8, 2, "WzTusinSettei", "SyoriType=1"},  // 通信設定
};

// The second table has the same first page.
const TOldMenuRec kOldMenu2[] = {
    {1, 0, "WzSiwake", "SyoriType=1"},
    {1, 1, "WzSiwake", "SyoriType=0"},
    {1, 2, "WzMonitor", ""},
    {1, 10, "WzDataGassan", ""},
};

}  // namespace

void LookupOldMenuProc(std::int32_t Level, std::int32_t Page, std::int32_t Slot, std::string& ProcId,
                       std::string& Option) {
  ProcId.clear();
  Option.clear();
  const bool first = Level <= 1000;
  if (first && (OemKind == 1 || OemKind == 2) && Page == 1) {
    const char* oem = Slot == 15 ? "WzBrannexSiwake"
                      : Slot == 17 ? "WzKobetuIchiranhyo"
                      : Slot == 18 ? "WzKobetuMeisaihyo"
                      : Slot == 19 ? "WzKobetuMotocho"
                                   : nullptr;
    if (oem) {
      ProcId = oem;
      if (Slot == 15) Option = "SyoriType=1";
      return;
    }
  }
  auto search = [&](const auto& table) {
    for (const TOldMenuRec& rec : table) {
      if (rec.Page == Page && rec.Slot == Slot) {
        ProcId = rec.ProcId;
        Option = rec.Option;
        return;
      }
    }
  };
  if (first)
    search(kOldMenu);
  else
    search(kOldMenu2);
}
