// Special measures for small businesses after the introduction of the reduced
// rate: the reduced-rate share of sales (by ten business days or by the
// purchase side) and of purchases (by the sales side), entered per business in
// the TAX_TOKUREI_* tables, with each business's net sales or national tax at
// the reduced 8 % and the 10 % rates.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/rtl/currency.h"
#include "platform/rtl/datetime.h"

struct TTokureiKeisan_Uriage010_JigyoRec_R011001 {
  std::string JigyouName;        // FJIGYOUNAME
  std::int32_t Wariai50 = 0;     // FWARIAI50: 1 = the 50 % rule
  Currency Komoku010;            // tax-inclusive sales
  TDateTime Komoku020 = 0;       // first of the ten business days
  TDateTime Komoku021 = 0;       // last of them
  Currency Komoku030;            // sales of the ten days (basis)
  Currency Komoku040;            // reduced-rate part of them
  double Wariai = 0;             // share in percent, cut to 0.1 (display only)
  Currency NukiK8;               // net sales at reduced 8 %
  Currency Nuki10;               // net sales at 10 %
};
using TTokureiKeisan_Uriage010_JigyoList_R011001 = std::vector<TTokureiKeisan_Uriage010_JigyoRec_R011001>;

struct TTokureiKeisan_Uriage020_JigyoRec_R011001 {
  std::string JigyouName;
  std::int32_t Wariai50 = 0;
  Currency Komoku010, Komoku020, Komoku030;  // purchases of goods for sale
  Currency KomokuTotal;                      // their sum
  Currency Komoku040;                        // reduced-rate part
  double Wariai = 0;
  Currency Komoku050;                        // tax-inclusive sales
  Currency NukiK8;
  Currency Nuki10;
};
using TTokureiKeisan_Uriage020_JigyoList_R011001 = std::vector<TTokureiKeisan_Uriage020_JigyoRec_R011001>;

template <typename List>
struct TTokureiUriageHeader {
  TDateTime TaisyouKikanStart = 0;
  TDateTime TaisyouKikanEnd = 0;
  List JigyoList;
  Currency TotalK8;
  Currency Total10;
  Currency Komoku010K8;
  Currency Komoku010_10;
  Currency GokeiK8;
  Currency Gokei10;
};
using TTokureiKeisan_Uriage010_R011001 = TTokureiUriageHeader<TTokureiKeisan_Uriage010_JigyoList_R011001>;
using TTokureiKeisan_Uriage020_R011001 = TTokureiUriageHeader<TTokureiKeisan_Uriage020_JigyoList_R011001>;

struct TTokureiKeisan_Siire010_JigyoRec_R011001 {
  std::string JigyouName;
  std::int32_t Wariai50 = 0;     // stored, not used
  Currency Komoku010;            // sales
  Currency Komoku020;            // reduced-rate sales
  double Wariai = 0;
  Currency Komoku030;            // tax-inclusive purchases
  Currency Komoku040;
  Currency SiireKomi;            // copy of Komoku030
  Currency KokuzeiK8;            // national tax at reduced 8 %
  Currency Kokuzei10;            // national tax at 10 %
};

// A pair of values: the reduced 8 % column and the 10 % column.
struct TTokureiPair {
  Currency K8;
  Currency R10;
};

// The ten pairs of the purchase computation, in form order.
enum TokureiSiireItem : int {
  kSiireItem010 = 0,
  kSiireItem020,
  kSiireItem020Kokuzei,
  kSiireItem030,
  kSiireItem030Kokuzei,
  kSiireItem040,
  kSiireItem050,
  kSiireItemJigyoKokuzei,  // total of the business rows' national tax
  kSiireItemSum,           // 020 and 030 national tax + 040 + 050
  kSiireItemGokei,         // FGOKEI
  kSiireItemCount
};

struct TTokureiKeisan_Siire010_R011001 {
  TDateTime TaisyouKikanStart = 0;
  TDateTime TaisyouKikanEnd = 0;
  std::vector<TTokureiKeisan_Siire010_JigyoRec_R011001> JigyoList;
  std::array<TTokureiPair, kSiireItemCount> SiireItems{};
};

// Row computations in the rate table of the era (ConvertByRate). Each fills
// the row's share and converted amounts from its entered columns.
void ComputeUriage010Row(int era, TTokureiKeisan_Uriage010_JigyoRec_R011001& row);
void ComputeUriage020Row(int era, TTokureiKeisan_Uriage020_JigyoRec_R011001& row);
void ComputeSiire010Row(int era, TTokureiKeisan_Siire010_JigyoRec_R011001& row);

// The purchase common row: both columns of the ten items from the row's
// columns (index 0 = FKOMOKU010, 1 = 020, 2 = 030, 3 = 040, 4 = 050).
struct TTokureiSiireCommonRow {
  TDateTime Start = 0, End = 0;
  TTokureiPair Gokei;
  std::array<TTokureiPair, 5> Komoku{};
};
void ApplySiireCommonRow(int era, TTokureiKeisan_Siire010_R011001& rec, const TTokureiSiireCommonRow& row);

// Appends a business row and adds it into the record's totals.
void AddUriage010Row(int era, TTokureiKeisan_Uriage010_R011001& rec, TTokureiKeisan_Uriage010_JigyoRec_R011001 row);
void AddUriage020Row(int era, TTokureiKeisan_Uriage020_R011001& rec, TTokureiKeisan_Uriage020_JigyoRec_R011001 row);
void AddSiire010Row(int era, TTokureiKeisan_Siire010_R011001& rec, TTokureiKeisan_Siire010_JigyoRec_R011001 row);
