#include "tax/taxcodes.h"

#include <array>

#include "platform/rtl/cp932.h"
#include "tax/taxcontext.h"

namespace {

struct CodeEntry {
  int code;
  const char* group;
  const char* detail;
  int methodKind;
  int taxUH;
  int taxDC;
  int category;
};

constexpr const char* kUri = "売上";
constexpr const char* kKaisyu = "貸倒回収";
constexpr const char* kHenkan = "返還";
constexpr const char* kKasidaore = "貸倒";
constexpr const char* kSiire = "仕入";
constexpr const char* kKariuke = "仮受";
constexpr const char* kKaribarai = "仮払";

// Every known code in code order.
constexpr std::array<CodeEntry, 93> kCodes = {{
    {110, kUri, "課税売上", 1, 1, 3, 1},
    {111, kUri, "第１種課税売上", 2, 1, 3, 2},
    {112, kUri, "第２種課税売上", 2, 1, 3, 3},
    {113, kUri, "第３種課税売上", 2, 1, 3, 4},
    {114, kUri, "第４種課税売上", 2, 1, 3, 5},
    {115, kUri, "第５種課税売上", 2, 1, 3, 6},
    {116, kUri, "第６種課税売上", 2, 1, 3, 84},
    {120, kUri, "免税売上", 0, 0, 3, 7},
    {130, kUri, "非課税売上", 0, 0, 3, 8},
    {140, kUri, "非課税売上（有価証券）", 0, 0, 3, 9},
    {150, kUri, "非課税売上（輸出等）", 0, 0, 3, 10},
    {210, kKaisyu, "課税売上", 0, 1, 3, 11},
    {220, kKaisyu, "免税売上", 0, 0, 3, 12},
    {230, kKaisyu, "非課税売上", 0, 0, 3, 13},
    {240, kKaisyu, "非課税売上（有価証券）", 0, 0, 3, 14},
    {250, kKaisyu, "非課税売上（輸出等）", 0, 0, 3, 15},
    {310, kHenkan, "課税売上", 1, 1, 1, 16},
    {311, kHenkan, "第１種課税返還", 2, 1, 1, 17},
    {312, kHenkan, "第２種課税返還", 2, 1, 1, 18},
    {313, kHenkan, "第３種課税返還", 2, 1, 1, 19},
    {314, kHenkan, "第４種課税返還", 2, 1, 1, 20},
    {315, kHenkan, "第５種課税返還", 2, 1, 1, 21},
    {316, kHenkan, "第６種課税返還", 2, 1, 1, 85},
    {320, kHenkan, "免税売上", 0, 0, 1, 22},
    {330, kHenkan, "非課税売上", 0, 0, 1, 23},
    {340, kHenkan, "非課税売上（有価証券）", 0, 0, 1, 24},
    {350, kHenkan, "非課税売上（輸出等）", 0, 0, 1, 25},
    {410, kKasidaore, "課税売上", 0, 1, 1, 26},
    {420, kKasidaore, "免税売上", 0, 0, 1, 27},
    {430, kKasidaore, "非課税売上", 0, 0, 1, 28},
    {440, kKasidaore, "非課税売上（有価証券）", 0, 0, 1, 29},
    {450, kKasidaore, "非課税売上（輸出等）", 0, 0, 1, 30},
    {511, kSiire, "課税売上対応課税仕入", 0, 2, 1, 31},
    {512, kSiire, "共通売上対応課税仕入", 0, 2, 1, 32},
    {513, kSiire, "非課売上対応課税仕入", 0, 2, 1, 33},
    {521, kSiire, "課税売上対応課税輸入", 0, 2, 1, 34},
    {522, kSiire, "共通売上対応課税輸入", 0, 2, 1, 35},
    {523, kSiire, "非課売上対応課税輸入", 0, 2, 1, 36},
    {531, kSiire, "課税売上対応調整（棚卸）", 0, 2, 1, 37},
    {532, kSiire, "共通売上対応調整（棚卸）", 0, 2, 1, 38},
    {533, kSiire, "非課税売上対調整（棚卸）", 0, 2, 1, 39},
    {540, kSiire, "非課税仕入", 0, 0, 1, 40},
    {551, kSiire, "課税売上対応特定課税仕入", 0, 2, 1, 88},
    {552, kSiire, "共通売上対応特定課税仕入", 0, 2, 1, 89},
    {553, kSiire, "非課売上対応特定課税仕入", 0, 2, 1, 90},
    {561, kSiire, "課税売上対応課税仕入返還", 0, 2, 3, 41},
    {562, kSiire, "共通売上対応課税仕入返還", 0, 2, 3, 42},
    {563, kSiire, "非課売上対応課税仕入返還", 0, 2, 3, 43},
    {571, kSiire, "課税売上対応課税輸入返還", 0, 2, 3, 44},
    {572, kSiire, "共通売上対応課税輸入返還", 0, 2, 3, 45},
    {573, kSiire, "非課売上対応課税輸入返還", 0, 2, 3, 46},
    {581, kSiire, "課税売上対応特定仕入返還", 0, 2, 3, 91},
    {582, kSiire, "共通売上対応特定仕入返還", 0, 2, 3, 92},
    {583, kSiire, "非課売上対応特定仕入返還", 0, 2, 3, 93},
    {610, kKariuke, "売上", 1, 0, 3, 47},
    {611, kKariuke, "第１種課税売上", 2, 0, 3, 48},
    {612, kKariuke, "第２種課税売上", 2, 0, 3, 49},
    {613, kKariuke, "第３種課税売上", 2, 0, 3, 50},
    {614, kKariuke, "第４種課税売上", 2, 0, 3, 51},
    {615, kKariuke, "第５種課税売上", 2, 0, 3, 52},
    {616, kKariuke, "第６種課税売上", 2, 0, 3, 86},
    {620, kKariuke, "貸倒回収", 0, 0, 3, 53},
    {630, kKariuke, "返還", 1, 0, 1, 54},
    {631, kKariuke, "第１種課税返還", 2, 0, 1, 55},
    {632, kKariuke, "第２種課税返還", 2, 0, 1, 56},
    {633, kKariuke, "第３種課税返還", 2, 0, 1, 57},
    {634, kKariuke, "第４種課税返還", 2, 0, 1, 58},
    {635, kKariuke, "第５種課税返還", 2, 0, 1, 59},
    {636, kKariuke, "第６種課税返還", 2, 0, 1, 87},
    {640, kKariuke, "貸倒", 0, 0, 1, 60},
    {711, kKaribarai, "課税売上対応課税仕入", 0, 0, 1, 61},
    {712, kKaribarai, "共通売上対応課税仕入", 0, 0, 1, 62},
    {713, kKaribarai, "非課売上対応課税仕入", 0, 0, 1, 63},
    {721, kKaribarai, "課税売上対応課税輸入", 0, 0, 1, 64},
    {722, kKaribarai, "共通売上対応課税輸入", 0, 0, 1, 65},
    {723, kKaribarai, "非課売上対応課税輸入", 0, 0, 1, 66},
    {724, kKaribarai, "課税売上対応課税輸入(国)", 0, 0, 1, 78},
    {725, kKaribarai, "共通売上対応課税輸入(国)", 0, 0, 1, 79},
    {726, kKaribarai, "非課売上対応課税輸入(国)", 0, 0, 1, 80},
    {731, kKaribarai, "課税売上対応調整（棚卸）", 0, 0, 1, 67},
    {732, kKaribarai, "共通売上対応調整（棚卸）", 0, 0, 1, 68},
    {733, kKaribarai, "非課売上対応調整（棚卸）", 0, 0, 1, 69},
    {761, kKaribarai, "課税売上対応課税仕入返還", 0, 0, 3, 70},
    {762, kKaribarai, "共通売上対応課税仕入返還", 0, 0, 3, 71},
    {763, kKaribarai, "非課売上対応課税仕入返還", 0, 0, 3, 72},
    {771, kKaribarai, "課税売上対応課税輸入返還", 0, 0, 3, 73},
    {772, kKaribarai, "共通売上対応課税輸入返還", 0, 0, 3, 74},
    {773, kKaribarai, "非課売上対応課税輸入返還", 0, 0, 3, 75},
    {774, kKaribarai, "課税売対課税輸入返還(国)", 0, 0, 3, 81},
    {775, kKaribarai, "共通売対課税輸入返還(国)", 0, 0, 3, 82},
    {776, kKaribarai, "非課売対課税輸入返還(国)", 0, 0, 3, 83},
    {810, "課税対象外", "課税対象外・不課税", 0, 0, 0, 76},
    {910, "区分未定", "区分未定", 0, 0, 0, 77},
}};

const CodeEntry* FindCode(int code) {
  // The table is in code order: a binary search.
  std::size_t lo = 0, hi = kCodes.size();
  while (lo < hi) {
    std::size_t mid = (lo + hi) / 2;
    if (kCodes[mid].code < code) lo = mid + 1;
    else hi = mid;
  }
  return (lo < kCodes.size() && kCodes[lo].code == code) ? &kCodes[lo] : nullptr;
}

bool InRange(int code, int from, int to) { return code >= from && code <= to; }

std::string DefaultFormatDate(TDateTime date) { return FormatDateTime("yyyy/mm/dd", date); }

}  // namespace

bool GetTaxCodeInfo(int code, std::string& groupName, std::string& detailName,
                    int& methodKind, int& taxUH, int& taxDC) {
  const CodeEntry* e = FindCode(code);
  if (e == nullptr) {
    groupName = "Error" + std::string(15, ' ');
    detailName = " ";
    methodKind = 9;
    taxUH = 0;
    taxDC = 0;
    return false;
  }
  groupName = e->group;
  if (code == 910) {
    // Six full-width spaces and four half-width ones.
    detailName = std::string(e->detail) + "　　　　　　" + "    ";
  } else {
    detailName = Cp932PadRight(e->detail, 24);
  }
  methodKind = e->methodKind;
  taxUH = e->taxUH;
  taxDC = e->taxDC;
  return true;
}

int TaxCodeToCategory(int code) {
  const CodeEntry* e = FindCode(code);
  return e ? e->category : 0;
}

bool IsSeparateTaxCode(int code) {
  return InRange(code, 521, 523) || InRange(code, 551, 553) || InRange(code, 571, 573) ||
         InRange(code, 581, 583) || InRange(code, 721, 726) || InRange(code, 771, 776);
}

bool IsTokuteiShiireCode(int code) { return InRange(code, 551, 553) || InRange(code, 581, 583); }

int NormalizeKaniTaxCode(int& code) {
  if (TaxCompany.TaxKanni == 1) {
    if (code == 110 || code == 310 || code == 610 || code == 630) code += TaxCompany.TaxJigyou;
  } else {
    if (InRange(code, 111, 116)) code = 110;
    else if (InRange(code, 311, 316)) code = 310;
    else if (InRange(code, 611, 616)) code = 610;
    else if (InRange(code, 631, 636)) code = 630;
  }
  return code;
}

bool CheckTaxCodeForAccount(std::string& msg, const std::string& accountCode, int taxCode) {
  bool result = true;
  // Step 1: the suspense account for tax paid takes the 700 codes only.
  if (accountCode == TaxCompany.KaribaraiUserCode) {
    bool allowed = InRange(taxCode, 711, 713) || InRange(taxCode, 721, 726) ||
                   InRange(taxCode, 731, 733) || InRange(taxCode, 761, 763) ||
                   InRange(taxCode, 771, 776) || taxCode == 810 || taxCode == 910;
    if (!allowed) {
      msg = "仮払消費税の税コードは[700番台,810,910]を使用してください。";
      return false;
    }
    msg.clear();
  } else if (taxCode >= 700 && taxCode < 800) {
    msg = "税コードが[700番台]は、科目に仮払消費税を使用してください。";
    return false;
  }
  // Step 2: the suspense account for tax received takes the 600 codes only.
  const char* kKariukeError = "仮受消費税の税コードは[600番台,810,910]を使用してください。";
  if (accountCode == TaxCompany.KariukeUserCode) {
    if (TaxCompany.TaxKanni == 0) {
      if (taxCode == 610 || taxCode == 620 || taxCode == 630 || taxCode == 640 || taxCode == 810 ||
          taxCode == 910) {
        msg.clear();
      } else if (InRange(taxCode, 611, 616) || InRange(taxCode, 631, 636)) {
        msg = "注意：原則課税が選択されています。";
      } else {
        msg = kKariukeError;
        result = false;
      }
    } else if (TaxCompany.TaxKanni == 1) {
      if (InRange(taxCode, 611, 616) || taxCode == 620 || InRange(taxCode, 631, 636) ||
          taxCode == 640 || taxCode == 810 || taxCode == 910) {
        msg.clear();
      } else if (taxCode == 610 || taxCode == 630) {
        msg = "注意：簡易課税が選択されています。";
      } else {
        msg = kKariukeError;
        result = false;
      }
    }
  } else if (taxCode >= 600 && taxCode < 700) {
    msg = "税コードが[600番台]は、科目に仮受消費税を使用してください。";
    result = false;
  }
  return result;
}

bool CheckCounterTaxCode(std::string& msg, const std::string& accountCode, int& counterTaxCode) {
  if ((accountCode == TaxCompany.KariukeUserCode || accountCode == TaxCompany.KaribaraiUserCode) &&
      counterTaxCode != 810 && counterTaxCode != 910) {
    msg = "仮受消費税、仮払消費税の相手税コードは[810,910]を使用してください。";
    counterTaxCode = 810;
    return false;
  }
  return true;
}

bool CheckShokuchiTaxCode(std::string& msg, const std::string& accountCode, int& taxCode) {
  if (accountCode == TaxCompany.ShokuchiUserCode && taxCode != 810 && taxCode != 910) {
    msg = "諸口の消費税コードは、[810,910]を使用してください。";
    taxCode = 810;
    return false;
  }
  return true;
}

bool CheckTokuteiShiireCode(std::string& msg, int& taxCode, int rateNo, TDateTime date) {
  if (!IsTokuteiShiireCode(taxCode)) return true;
  bool result = true;
  const TDateTime start = EncodeDate(2015, 10, 1);
  if (DateOf(date) < start) {
    const auto& format = TaxHooks.FormatDateSlash;
    msg = "特定課税仕入れ用の消費税コード[551,552,553,581,582,583]では[" +
          (format ? format(start) : DefaultFormatDate(start)) + "]より前の取引を登録できません。";
    result = false;
  }
  const char* rateName = rateNo == 1 ? "3%" : rateNo == 2 ? "5%" : rateNo == 4 ? "軽減8%" : nullptr;
  if (rateName != nullptr) {
    msg = std::string("特定課税仕入れ用の消費税コード[551,552,553,581,582,583]では税率[") + rateName +
          "]は使用できません。";
    result = false;
  }
  return result;
}
