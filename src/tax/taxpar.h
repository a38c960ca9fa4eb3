// The consumption-tax parameter record TTAXPAR with its three accumulator
// blocks, and the form-1 record TDAI1HYOU; the run (TTaxRun) holds both.
//
// One link run loads the return's settings into a TTAXPAR, copies it whole
// into the run's TaxPar, sets the period, the pass and the era, then runs the
// reset, the journal aggregation and the correction with the engine run. All computation
// state lives in these plain records; nothing here is stored on disk.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/rtl/currency.h"
#include "platform/rtl/datetime.h"

// Rate slots of the accumulators and schedules: 0 = 3 %, 1 = 5 %, 2 = 8 %,
// 3 = reduced 8 %, 4 = 10 %.
constexpr int kRateSlots = 5;
constexpr int kSlot3 = 0;
constexpr int kSlot5 = 1;
constexpr int kSlot8 = 2;
constexpr int kSlotReduced8 = 3;
constexpr int kSlot10 = 4;

// Category indexes 0..94 (1..93 the tax categories, 0 unknown codes, 94 unused).
constexpr int kCategoryCount = 95;

using TaxRow = std::array<Currency, kCategoryCount>;
using TaxBlock = std::array<TaxRow, kRateSlots>;

// Header items of the return settings row (TAX_KAZEIHOUSIKI) that travel with
// the parameters; the computation does not read them.
struct TTaxReturnHeader {
  TDateTime CreateDate = 0;   // today's date when the row is read
  TDateTime TeisyutuBi = 0;   // TEISYUTUBI
  std::string Zeimusyo;       // ZEIMUSYO
  std::string DaihyouKana;    // DAIHYOUKANA
  std::string Daihyou;        // DAIHYOU
  std::string KeiriTantou;    // KEIRITANTOU
  std::string SeiriBangou;    // SEIRIBANGOU
  TDateTime SinkokuBi = 0;    // SINKOKUBI
  TDateTime SidouBi = 0;      // SIDOUBI
  std::int32_t FukiKappu = 0;       // FUKI_KAPPU
  std::int32_t FukiNobebarai = 0;   // FUKI_NOBEBARAI
  std::int32_t FukiKouji = 0;       // FUKI_KOUJI
  std::int32_t FukiGenkin = 0;      // FUKI_GENKIN
  std::string GinkouMei;      // GINKOUMEI
  std::int32_t GinkouKubun = 0;     // GINKOUKUBUN
  std::string SitenMei;       // SITENMEI
  std::int32_t SitenKubun = 0;      // SITENKUBUN
  std::int32_t YokinSyubetu = 0;    // YOKINSYUBETU
  std::string Kouza;          // KOUZA
  std::string YubinkyokuMei;  // YUBINKYOKUMEI
  std::string TyokinKigou;    // TYOKIN_KIGOU
  std::string TyokinBangou;   // TYOKIN_BANGOU
  std::string Zeirisi;        // ZEIRISI
  std::string ZeirisiTel;     // ZEIRISI_TEL
  std::string ZeirisiJimusho; // ZEIRISI_JIMUSHO
  std::int32_t ZeirisiH30 = 0;      // ZEIRISI_H30
  std::int32_t ZeirisiH33 = 0;      // ZEIRISI_H33
  // Company identity from the company information (corporation: ADD1, ADD2,
  // TEL, SHOUGOU, SKANA; individual: AO_ADD1, AO_ADD2, AO_TEL, AO_SIMEI, AO_KANA).
  std::string Add1, Add2, Tel, Name, Kana;
  std::int32_t Fuhyo22KazeiCopy = 1;  // FUHYO22_KAZEI_COPY
};

// Adjustments of schedule-2 lines 18 and 19 for rate slots 2, 3 and 4.
struct TKoujyozeiPair {
  Currency Line18;
  Currency Line19;
};

struct TTAXPAR {
  std::int32_t Era = 0;            // 0..4, set by the link builder from GetTaxEra
  std::int32_t SinkokuKind = 0;    // 0 final, 1 interim, 2 amended
  std::string SinkokuName;         // "確定", "中間", "修正"
  std::string EntryMode;           // "手書": figures entered by hand
  std::string SCode;               // facility code restricting the aggregation
  bool TokureiApplied = false;     // a 75 % rule gave the chosen deduction
  std::int32_t TokureiKind = 0;    // 1 one business type, 2 two types
  std::int32_t TokureiWon = 0;
  bool KeisanTokurei = false;      // booked net and tax kept apart
  TDateTime KikanFrom = 0;
  TDateTime KikanTo = 0;
  std::int32_t SinkokuKubun = 0;   // pass: 0 principle, 1 simplified
  std::int32_t Kazeiuri95Miman = 0;  // 0 itemised, otherwise proportional
  std::int32_t AnbunWariai = 0;      // 0 taxable-sales ratio, otherwise JunzuruWariai
  Currency JunzuruWariai;            // percent
  Currency MinasiRitu1, MinasiRitu2, MinasiRitu3, MinasiRitu4, MinasiRitu5;  // fractions (0.9)
  std::array<Currency, 5> TaxRateSet1{};
  std::array<Currency, 5> TaxRateSet2{};
  Currency TyuukanNoufu;           // interim national tax paid
  Currency TyuukanJouto;           // interim local transfer tax paid
  Currency Koujyozei18A, Koujyozei18B;
  Currency Koujyozei19A, Koujyozei19B;
  std::array<TKoujyozeiPair, 3> KoujyozeiSlot{};  // rate slots 2, 3, 4
  Currency KijyunKikanUri;         // taxable sales of the base period
  TaxBlock Nuki{};                 // net amounts [slot][category]
  TaxBlock Zei{};                  // tax amounts
  TaxBlock Komi{};                 // tax-inclusive amounts
  TTaxReturnHeader Header;
  std::int32_t KikanSettei = 0;    // 1: era and date rule by KikanFrom/KikanTo
  std::int32_t SpecialCalcOn = 0;
  std::int32_t SpecialCalcApplied = 0;
  std::int32_t Fuhyo52KazeiCopy = 1;
  std::int32_t ImportCodesUsed = 0;
  // The journal read met a line of the old-rate import check's kind
  // (IsOldRateImportLine) in the period.
  bool OldRateImportsRead = false;
  // Deemed purchase rate of business type 6: the statutory 40 %. No settings
  // column feeds it, so a fresh record carries the statutory value.
  Currency MinasiRitu6 = Currency::FromRaw(4000);
  std::int32_t MainBusiness = 0;   // 1..6, written by TaxEraOf
  std::int32_t KaniSelectPreset = 0;
  std::int32_t KaniSelect = 0;
  std::int32_t RateColumnState = 0;    // -1, 2 or 4
  std::int32_t RateColumnState10 = 0;
  std::int32_t TokureiOn = 0;
  std::int32_t UriageTokurei1On = 0;
  std::int32_t UriageTokurei2On = 0;
  std::int32_t SiireTokureiOn = 0;
};

// Deemed purchase rate of business type 1..6 (0 for other types).
Currency MinasiRituOf(const TTAXPAR& par, int type);

// Form 1, the main return form. F[1]..F[26] are the lines of the form,
// F[27]..F[33] the seven breakdown values and F[34], F[35] the two further
// values (local-tax bases of the 4 % and 6.3 % columns); F[0] is unused.
enum Dai1Line : int {
  kD1KazeiHyoujun = 1,      // taxable base
  kD1Syouhizei = 2,         // consumption tax
  kD1KoujyoKadai = 3,       // over-deduction adjustment
  kD1KoujyoSiire = 4,       // deductible purchase tax
  kD1Henkan = 5,            // tax on returns
  kD1Kasidaore = 6,         // tax on bad debts
  kD1KoujyoSyoukei = 7,     // total deductions
  kD1KanpuFusoku = 8,       // refund shortfall
  kD1Sasihiki = 9,          // net tax
  kD1TyuukanNoufu = 10,     // interim tax paid
  kD1Noufu = 11,            // tax due
  kD1TyuukanKanpu = 12,     // interim refund
  kD1Kikakutei = 13,        // tax already settled (amended return)
  kD1SasihikiNoufu = 14,    // net tax due on an amended return
  kD1KazeiJouto = 15,       // taxable transfers
  kD1SouJouto = 16,         // total transfers / base-period taxable sales
  kD1JouKanpuFusoku = 17,   // local-tax base: refund shortfall
  kD1JouSasihiki = 18,      // local-tax base: net tax
  kD1JouKanpu = 19,         // local transfer tax refund
  kD1JouNouzei = 20,        // local transfer tax
  kD1JouTyuukanNoufu = 21,  // interim local tax paid
  kD1JouNoufu = 22,         // local tax due
  kD1JouTyuukanKanpu = 23,  // interim local refund
  kD1JouKikakutei = 24,     // local tax already settled
  kD1JouSasihikiNoufu = 25, // net local tax due on an amended return
  kD1Goukei = 26,           // grand total
  kD1Last = 35,
};

struct TDai1Gyousyu {
  Currency Sales;  // thousand yen
  Currency Share;  // percent
};

struct TDAI1HYOU {
  std::array<Currency, kD1Last + 1> F{};
  std::array<TDai1Gyousyu, 6> Gyousyu{};  // business types 1..6
  Currency GyousyuTotal;                  // thousand yen
  bool TokuteiSiire = false;              // lines of specific taxable purchases present
};

// Category-indexed block sums.
void ClearTaxBlocks(TTAXPAR& par);
