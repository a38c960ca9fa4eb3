// Records of the refund statement (消費税の還付申告に関する明細書):
// TKanpuMeisai_Hojin serves corporations and medical corporations (company
// kinds 1 and 3), TKanpuMeisai_Kojin individuals (kind 2). A run (TTaxRun)
// holds one of each.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/rtl/currency.h"
#include "platform/rtl/datetime.h"

// One row of a transaction list (sections 10, 30 and 40).
struct TKanpuSisan {
  std::string Syurui;          // SYURUI: kind of asset or goods
  std::int32_t Keizoku = 0;    // KEIZOKU: continuing transaction
  TDateTime Hizuke = 0;        // HIZUKE
  Currency Kingaku;            // KINGAKU
  std::string Simei;           // SIMEI: partner
  std::string Jyusyo;          // JYUSYO: address
};

// One row of the export list (section 20).
struct TKanpuTorihiki {
  std::string Simei;
  std::string Jyusyo;
  Currency Kingaku;
  std::string Shohin;          // SHOHIN: goods
  std::string Zeikan;          // ZEIKAN: customs office
};

// One purchase row: the amount in the financial statements, the part that is
// not a taxable purchase, the part that is a specific taxable purchase, and
// the taxable purchases (Kessan - NotKazei).
struct TKanpuSiireRow {
  Currency Kessan;
  Currency NotKazei;
  Currency Tokutei;
  Currency Kazei;
};

// A purchase table: Rows rows (index 0 = row 1) followed by the total row.
template <int Rows>
struct TKanpuSiireTable {
  static constexpr int kRows = Rows;
  std::array<TKanpuSiireRow, Rows + 1> Row{};
  TKanpuSiireRow& Total() { return Row[Rows]; }
  const TKanpuSiireRow& Total() const { return Row[Rows]; }
};

// The part both records share at their start.
struct TKanpuHead {
  std::int32_t ZeiKbn = 0;        // ZEIKBN (reset: the company's TAXDEFUH)
  std::int32_t KessanZeiKbn = 0;  // statements: 0 tax-inclusive, 1 tax-exclusive (KESSANZEIKUBUN)
  std::int32_t SisanZeiKbn = 0;   // asset amounts (SHISANZEIKUBUN)
  std::int32_t KanpuRiyuu01 = 0;
  std::int32_t KanpuRiyuu02 = 0;
  std::int32_t KanpuRiyuuOther = 0;
  std::array<std::string, 3> KanpuRiyuuOtherText{};
};

// Bank and customs-agent fields of the exports (the YUSYUTU_* columns).
struct TKanpuYusyutuInfo {
  std::string YusyutuKinyuKikan;
  std::int32_t YusyutuKinyuKikanKbn = 0;
  std::string YusyutuKinyuMise;
  std::int32_t YusyutuKinyuMiseKbn = 0;
  std::int32_t YusyutuKinyuKozaKbn = 0;
  std::string YusyutuKinyuKozaNo;
  std::string YusyutuTukanSimei;
  std::string YusyutuTukanJyusyo;
};

struct TKanpuMeisai_Hojin : TKanpuHead, TKanpuYusyutuInfo {
  std::array<TKanpuSisan, 10> SyuyouSisan{};
  std::array<TKanpuTorihiki, 10> Yusyutu{};
  TKanpuSiireTable<4> SiireSoneki;  // goods, selling and general, non-operating, other
  TKanpuSiireTable<3> SiireSisan;   // fixed assets, deferred assets, other
  Currency SiireZeigaku;            // thousand yen
  std::array<TKanpuSisan, 5> Tanaorosi{};
  std::array<TKanpuSisan, 10> KoteiSisan{};
  std::array<std::string, 3> TokusyuJijyoText{};
  TKanpuSiireTable<4> InputSiireSoneki;
  TKanpuSiireTable<3> InputSiireSisan;
  Currency InputSiireZeigaku;
};

struct TKanpuMeisai_Kojin : TKanpuHead, TKanpuYusyutuInfo {
  std::array<TKanpuSisan, 5> SyuyouSisan{};
  std::array<TKanpuTorihiki, 5> Yusyutu{};
  std::string OtherSyotokuName;
  TKanpuSiireTable<3> SiireJigyou;    // purchases, necessary expenses, fixed assets
  TKanpuSiireTable<2> SiireFudousan;  // necessary expenses, fixed assets
  TKanpuSiireTable<3> SiireSonota;    // purchases, necessary expenses, fixed assets
  Currency KazeiTotal;
  Currency SiireZeigaku;              // yen
  std::array<TKanpuSisan, 5> Tanaorosi{};
  std::array<TKanpuSisan, 5> KoteiSisan{};
  std::array<std::string, 3> TokusyuJijyoText{};
  std::int32_t TokusyuJijyoNen = 0;
  TKanpuSiireTable<3> InputSiireJigyou;
  TKanpuSiireTable<2> InputSiireFudousan;
  TKanpuSiireTable<3> InputSiireSonota;
  Currency InputKazeiTotal;
  Currency InputSiireZeigaku;
};

// The specific taxable purchases (codes 551-553 and 581-583) of each journal
// purchase row as the journal read found them, in whichever pass it ran. The
// record's Tokutei column takes them in a principle pass only; this tally
// keeps them in every pass, so that a pass which reuses another pass's read
// gets its own Tokutei column back (ApplyRefundReadTokutei).
struct TRefundReadTokutei {
  std::array<Currency, 4> Soneki{};    // corporations: SiireSoneki rows
  std::array<Currency, 3> Sisan{};     // corporations: SiireSisan rows
  std::array<Currency, 3> Jigyou{};    // individuals: SiireJigyou rows
  std::array<Currency, 2> Fudousan{};  // individuals: SiireFudousan rows
};
