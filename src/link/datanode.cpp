#include "link/datanode.h"

#include <array>

#include "link/linkbuilder.h"
#include "link/xmlsavedoc.h"
#include "platform/rtl/sysutils.h"
#include "tax/kanpu.h"

namespace {

using TItemRow = std::array<const char*, 3>;  // ZEINUKI, ZEIGAKU, ZEIKOMI; nullptr: no element

constexpr TItemRow kPrincipleSales[] = {
    {"KAZEIURIAGEZEINUKI", "KAZEIURIAGEZEIGAKU", "KAZEIURIAGEZEIKOMI"},
    {"MENZEIURIAGEZEINUKI", nullptr, nullptr},
    {"HIKAZEIURIAGEYUUKAZEINUKI", nullptr, nullptr},
    {"HIKAZEIURIAGEYUUKAIGAIZEINUKI", nullptr, nullptr},
    {"HIKAZEISHISANYUSHUTSUZEINUKI", nullptr, nullptr},
    {nullptr, nullptr, nullptr},
    {"KAZEIURIAGEHENKANZEINUKI", "KAZEIURIAGEHENKANZEIGAKU", "KAZEIURIAGEHENKANZEIKOMI"},
    {"MENZEIURIAGEHENKANZEINUKI", nullptr, nullptr},
    {"HIKAZEIURIAGEHENKANZEINUKI", nullptr, nullptr},
    {"HIKAZEISHISANHENKANZEINUKI", nullptr, nullptr},
};

constexpr TItemRow kPrinciplePurchases[] = {
    {"SHIIREKAZEIZEINUKI", "SHIIREKAZEIZEIGAKU", "SHIIREKAZEIZEIKOMI"},
    {"SHIIREHIKAZEIZEINUKI", "SHIIREHIKAZEIZEIGAKU", "SHIIREHIKAZEIZEIKOMI"},
    {"SHIIREKYOTUUZEINUKI", "SHIIREKYOTUUZEIGAKU", "SHIIREKYOTUUZEIKOMI"},
    {"TOKUTEISHIIREKAZEIZEINUKI", nullptr, nullptr},
    {"TOKUTEISHIIREHIKAZEIZEINUKI", nullptr, nullptr},
    {"TOKUTEISHIIREKYOTUUZEINUKI", nullptr, nullptr},
    {nullptr, "YUNYUSHIIREKAZEIZEIGAKU", nullptr},
    {nullptr, "YUNYUSHIIREHIKAZEIZEIGAKU", nullptr},
    {nullptr, "YUNYUSHIIREKYOTUUZEIGAKU", nullptr},
    {nullptr, "YUNYUSHIIRETIHO", nullptr},
    {"SHIIREHENKANKAZEIZEINUKI", "SHIIREHENKANKAZEIZEIGAKU", "SHIIREHENKANKAZEIZEIKOMI"},
    {"SHIIREHENKANHIKAZEIZEINUKI", "SHIIREHENKANHIKAZEIZEIGAKU", "SHIIREHENKANHIKAZEIZEIKOMI"},
    {"SHIIREHENKANKYOTUUZEINUKI", "SHIIREHENKANKYOTUUZEIGAKU", "SHIIREHENKANKYOTUUZEIKOMI"},
    {"TOKUTEISHIIREHENKANKAZEIZEINUKI", nullptr, nullptr},
    {"TOKUTEISHIIREHENKANHIKAZEIZEINUKI", nullptr, nullptr},
    {"TOKUTEISHIIREHENKANKYOTUUZEINUKI", nullptr, nullptr},
    {nullptr, "YUNYUHENKANKAZEIZEIGAKU", nullptr},
    {nullptr, "YUNYUHENKANHIKAZEIZEIGAKU", nullptr},
    {nullptr, "YUNYUHENKANKYOTUUZEIGAKU", nullptr},
    {nullptr, "YUNYUHENKANTIHO", nullptr},
};

constexpr TItemRow kBadDebts[] = {
    {"KASHIDAOREZEINUKI", "KASHIDAOREZEIGAKU", "KASHIDAOREZEIKOMI"},
    {"KASHIDAOREKAISHUZEINUKI", "KASHIDAOREKAISHUZEIGAKU", "KASHIDAOREKAISHUZEIKOMI"},
};

constexpr TItemRow kAdjustments[] = {
    {"GIMUMENJOKAZEI", nullptr, nullptr},         {"GIMUMENJOHIKAZEI", nullptr, nullptr},
    {"GIMUMENJOKYOTUU", nullptr, nullptr},        {"KAZEIURIAGEWARIAIHENDO", nullptr, nullptr},
    {"KAZEIGYOMUYOTENYO", nullptr, nullptr},
};

constexpr TItemRow kSimplifiedSales[] = {
    {"KAZEIURIAGE1SHUZEINUKI", "KAZEIURIAGE1SHUZEIGAKU", "KAZEIURIAGE1SHUZEIKOMI"},
    {"KAZEIURIAGE2SHUZEINUKI", "KAZEIURIAGE2SHUZEIGAKU", "KAZEIURIAGE2SHUZEIKOMI"},
    {"KAZEIURIAGE3SHUZEINUKI", "KAZEIURIAGE3SHUZEIGAKU", "KAZEIURIAGE3SHUZEIKOMI"},
    {"KAZEIURIAGE4SHUZEINUKI", "KAZEIURIAGE4SHUZEIGAKU", "KAZEIURIAGE4SHUZEIKOMI"},
    {"KAZEIURIAGE5SHUZEINUKI", "KAZEIURIAGE5SHUZEIGAKU", "KAZEIURIAGE5SHUZEIKOMI"},
    {"KAZEIURIAGE6SHUZEINUKI", "KAZEIURIAGE6SHUZEIGAKU", "KAZEIURIAGE6SHUZEIKOMI"},
    {"KAZEIURIAGEZEROZEINUKI", "KAZEIURIAGEZEROZEIGAKU", "KAZEIURIAGEZEROZEIKOMI"},
    {nullptr, nullptr, nullptr},
    {"MENZEIURIAGEZEINUKI", nullptr, nullptr},
};

constexpr TItemRow kSimplifiedReturns[] = {
    {"KAZEIHENKAN1SHUZEINUKI", "KAZEIHENKAN1SHUZEIGAKU", "KAZEIHENKAN1SHUZEIKOMI"},
    {"KAZEIHENKAN2SHUZEINUKI", "KAZEIHENKAN2SHUZEIGAKU", "KAZEIHENKAN2SHUZEIKOMI"},
    {"KAZEIHENKAN3SHUZEINUKI", "KAZEIHENKAN3SHUZEIGAKU", "KAZEIHENKAN3SHUZEIKOMI"},
    {"KAZEIHENKAN4SHUZEINUKI", "KAZEIHENKAN4SHUZEIGAKU", "KAZEIHENKAN4SHUZEIKOMI"},
    {"KAZEIHENKAN5SHUZEINUKI", "KAZEIHENKAN5SHUZEIGAKU", "KAZEIHENKAN5SHUZEIKOMI"},
    {"KAZEIHENKAN6SHUZEINUKI", "KAZEIHENKAN6SHUZEIGAKU", "KAZEIHENKAN6SHUZEIKOMI"},
    {"KAZEIHENKANZEROZEINUKI", "KAZEIHENKANZEROZEIGAKU", "KAZEIHENKANZEROZEIKOMI"},
    {nullptr, nullptr, nullptr},
    {"MENZEIURIAGEHENKANZEINUKI", nullptr, nullptr},
};

struct TItemTable {
  const TItemRow* Rows;
  int Count;
};
template <std::size_t N>
constexpr TItemTable Table(const TItemRow (&rows)[N]) {
  return {rows, static_cast<int>(N)};
}

// The item table of a group code's letter for a kind; {nullptr, 0} when none.
TItemTable TableOf(char letter, int kind) {
  if (kind == 0) {
    switch (letter) {
      case 'U': return Table(kPrincipleSales);
      case 'S': return Table(kPrinciplePurchases);
      case 'K': return Table(kBadDebts);
      case 'C': return Table(kAdjustments);
    }
  } else if (kind == 1) {
    switch (letter) {
      case 'U': return Table(kSimplifiedSales);
      case 'H': return Table(kSimplifiedReturns);
      case 'K': return Table(kBadDebts);
    }
  }
  return {nullptr, 0};
}

// Element suffix of a code's rate part; "" for an unknown rate.
std::string RateSuffix(const std::string& rate) {
  if (rate == "3" || rate == "5" || rate == "8" || rate == "10") return rate;
  if (rate == "K8") return "8K";
  return "";
}

constexpr const char* kGroupNames[2][27] = {
    {"D020114", "D020113", "D020110", "D020111", "D020112", "D020124", "D020123", "D020120", "D020121",
     "D020122", "D020134", "D020133", "D020130", "D020131", "D020132", "", "", "", "", "", "D02204",
     "D02203", "D02200", "D02201", "D02202", "KANPUH", "KANPUK"},
    {"D020214", "D020213", "D020210", "D020211", "D020212", "D020224", "D020223", "D020220", "D020221",
     "D020222", "D020234", "D020233", "D020230", "D020231", "D020232", "", "", "", "", "", "", "", "", "",
     "", "KANPUH", "KANPUK"},
};

// One rate group of DATA: its kind and position in the name table, its code,
// its first value index and the rate kind that enables it (0: always).
struct TRateGroup {
  int Kind;
  int Position;
  const char* Code;
  int FirstValue;
  int Enable;
};
constexpr TRateGroup kRateGroups[] = {
    {0, 1, "U10", 404, 4},  {0, 2, "UK8", 303, 4},  {0, 3, "U8", 202, 1},   {0, 4, "U5", 101, 0},
    {0, 5, "U3", 0, 0},     {0, 6, "S10", 434, 4},  {0, 7, "SK8", 333, 4},  {0, 8, "S8", 232, 1},
    {0, 9, "S5", 131, 0},   {0, 10, "S3", 30, 0},   {0, 11, "K10", 494, 4}, {0, 12, "KK8", 393, 4},
    {0, 13, "K8", 292, 1},  {0, 14, "K5", 191, 0},  {0, 15, "K3", 90, 0},   {0, 21, "C10", 500, 4},
    {0, 22, "CK8", 399, 4}, {0, 23, "C8", 298, 1},  {0, 24, "C5", 197, 0},  {0, 25, "C3", 96, 0},
    {1, 1, "U10", 745, 4},  {1, 2, "UK8", 685, 4},  {1, 3, "U8", 625, 1},   {1, 4, "U5", 565, 0},
    {1, 5, "U3", 505, 0},   {1, 6, "H10", 772, 4},  {1, 7, "HK8", 712, 4},  {1, 8, "H8", 652, 1},
    {1, 9, "H5", 592, 0},   {1, 10, "H3", 532, 0},  {1, 11, "K10", 799, 4}, {1, 12, "KK8", 739, 4},
    {1, 13, "K8", 679, 1},  {1, 14, "K5", 619, 0},  {1, 15, "K3", 559, 0},
};

void WriteRateGroup(TXmlSaveDoc& doc, TXmlNode* data, const TRateGroup& group, const TSyohizeiDataMake& builder) {
  std::string name;
  GroupElementName(group.Kind, group.Position, name);
  TXmlNode* node = doc.AddChild(data, name);
  const std::string code = group.Code;
  const TItemTable table = TableOf(code[0], group.Kind);
  const bool adjustments = group.Kind == 0 && code[0] == 'C';
  for (int row = 0; row < table.Count; ++row) {
    for (int column = 0; column < 3; ++column) {
      ItemElementName(code, group.Kind, name, column, row);
      if (name.empty()) continue;
      const int index = group.FirstValue + (adjustments ? row : row * 3 + column);
      doc.AddTextChild(node, name, builder.LinkValues[static_cast<std::size_t>(index)]);
    }
  }
}

const char* TaxMethodText(std::int32_t method) { return method == 1 ? "2" : "1"; }

// Amounts of the refund groups: whole yen, at least one digit.
std::string RefundAmount(Currency yen) { return FormatFloat("#0", yen); }

template <int Rows>
void AddPurchaseRow(TXmlSaveDoc& doc, TXmlNode* node, const char* stem, const TKanpuSiireTable<Rows>& table, int row,
                    std::int64_t factor) {
  const TKanpuSiireRow& r = table.Row[static_cast<std::size_t>(row)];
  doc.AddTextChild(node, std::string(stem) + "1", RefundAmount(r.Kessan * factor));
  doc.AddTextChild(node, std::string(stem) + "2", RefundAmount(r.NotKazei * factor));
}

void WriteCorporationRefund(TXmlSaveDoc& doc, TXmlNode* data, const TKanpuMeisai_Hojin& k) {
  std::string name;
  GroupElementName(1, 26, name);
  TXmlNode* node = doc.AddChild(data, name);
  // The record holds thousands of yen.
  doc.AddTextChild(node, "KESSANZEIKUBUN", TaxMethodText(k.KessanZeiKbn));
  AddPurchaseRow(doc, node, "SHOHINSHIIRE", k.SiireSoneki, 0, 1000);
  AddPurchaseRow(doc, node, "HANBAIIPPAN", k.SiireSoneki, 1, 1000);
  AddPurchaseRow(doc, node, "EIGYOGAIHIYOU", k.SiireSoneki, 2, 1000);
  AddPurchaseRow(doc, node, "SONOTASONEKI", k.SiireSoneki, 3, 1000);
  doc.AddTextChild(node, "SHISANZEIKUBUN", TaxMethodText(k.SisanZeiKbn));
  AddPurchaseRow(doc, node, "KOTEISHISAN", k.SiireSisan, 0, 1000);
  AddPurchaseRow(doc, node, "KURINOBESHISAN", k.SiireSisan, 1, 1000);
  AddPurchaseRow(doc, node, "SONOTASISAN", k.SiireSisan, 2, 1000);
}

void WriteIndividualRefund(TXmlSaveDoc& doc, TXmlNode* data, const TKanpuMeisai_Kojin& k) {
  std::string name;
  GroupElementName(1, 27, name);
  TXmlNode* node = doc.AddChild(data, name);
  doc.AddTextChild(node, "KESSANZEIKUBUN", TaxMethodText(k.KessanZeiKbn));
  AddPurchaseRow(doc, node, "JIGYOSHIIRE", k.SiireJigyou, 0, 1);
  AddPurchaseRow(doc, node, "JIGYOHITSUYOU", k.SiireJigyou, 1, 1);
  AddPurchaseRow(doc, node, "JIGYOKOTEISHISAN", k.SiireJigyou, 2, 1);
  AddPurchaseRow(doc, node, "FUDOUSANHITSUYOU", k.SiireFudousan, 0, 1);
  AddPurchaseRow(doc, node, "FUDOUSANKOTEISHISAN", k.SiireFudousan, 1, 1);
  AddPurchaseRow(doc, node, "SONOTASHIIRE", k.SiireSonota, 0, 1);
  AddPurchaseRow(doc, node, "SONOTAHITSUYOU", k.SiireSonota, 1, 1);
  AddPurchaseRow(doc, node, "SONOTAKOTEISHISAN", k.SiireSonota, 2, 1);
}

}  // namespace

void GroupElementName(int Kind, int Position, std::string& Name) {
  Name.clear();
  if (Kind < 0 || Kind > 1 || Position < 1 || Position > 27) return;
  Name = kGroupNames[Kind][Position - 1];
}

void ItemElementName(const std::string& Code, int Kind, std::string& Name, int Column, int Row) {
  Name.clear();
  if (Code.size() < 2) return;
  const TItemTable table = TableOf(Code[0], Kind);
  const std::string suffix = RateSuffix(Code.substr(1));
  if (table.Rows == nullptr || suffix.empty()) return;
  if (Row < 0 || Row >= table.Count || Column < 0 || Column > 2) return;
  const char* stem = table.Rows[Row][static_cast<std::size_t>(Column)];
  if (stem == nullptr) return;
  // Specific taxable purchases exist only at 8 % and 10 %.
  if (Kind == 0 && Code[0] == 'S' && (Code == "S3" || Code == "S5" || Code == "SK8") &&
      ((Row >= 3 && Row <= 5) || (Row >= 13 && Row <= 15)))
    return;
  Name = std::string(stem) + suffix;
}

void WriteDataNode(TXmlSaveDoc& Doc, const TSyohizeiDataMake& Builder, int CompanyKind) {
  TXmlNode* data = Doc.AddChild(nullptr, "DATA");
  for (const TRateGroup& group : kRateGroups) {
    if (group.Enable != 0 && !Builder.RateGroupEnabled(group.Enable)) continue;
    WriteRateGroup(Doc, data, group, Builder);
  }
  if (CompanyKind == 1 || CompanyKind == 3) WriteCorporationRefund(Doc, data, Builder.Run.KanpuHojin);
  else if (CompanyKind == 2) WriteIndividualRefund(Doc, data, Builder.Run.KanpuKojin);
}
