#include "dbaccess/productversions.h"

#include <array>

#include "core/appinfo.h"
#include "core/globals.h"
#include "dbaccess/textsplit.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/registry.h"

namespace {

struct TBuiltInEdition {
  const char* Version;
  const char* Name;
};
constexpr std::array<TBuiltInEdition, 3> kBuiltInEditions = {{
    {"1.0.0", "09版"},
    {"2.0.0", "10版"},
    {"3.0.0", "11版"},
}};

// Major and minor of a version text of exactly three dot-separated parts.
bool ParseThreePart(const std::string& Text, std::int32_t& Major, std::int32_t& Minor) {
  TMojiBunkatu split;
  split.Delimiter = '.';
  split.Split(Text);
  if (split.Count != 3) return false;
  Major = StrToIntDef(split.Item(0), 0);
  Minor = StrToIntDef(split.Item(1), 0);
  return true;
}

}  // namespace

TSeihinVersionList::TSeihinVersionList() {
  ProductKey = AppInfo.ZaimuRegKey;
  if (AppKind == 2) ProductKey = AppInfo.TessalyRegKey;
  if (AppKind == 3) ProductKey = AppInfo.DizudovaRegKey;
}

void TSeihinVersionList::Add(const TDataVersionRec& Rec) { entries_.push_back(Rec); }

void TSeihinVersionList::Execute(bool Descending) {
  Clear();
  if (!FirstName.empty()) Add({0, 0, 0, FirstName});
  if (OemKind == 0) {
    for (const TBuiltInEdition& edition : kBuiltInEditions) {
      TDataVersionRec rec;
      if (ParseThreePart(edition.Version, rec.Major, rec.Minor)) {
        rec.Name = edition.Name;
        Add(rec);
      }
    }
  }
  for (std::int32_t n = 4; n <= SystemDef.AppVersion; ++n) Add({n, 0, 0, Format("%d版", n + 8)});

  TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  if (!AppInfo.RegKey.empty() && registry.OpenKeyReadOnly(AppInfo.RegKey)) {
    const std::vector<std::string> subKeys = registry.GetKeyNames();
    registry.CloseKey();
    const std::string wanted = UpperCase(ProductKey);
    for (const std::string& subKey : subKeys) {
      if (UpperCase(subKey).find(wanted) == std::string::npos) continue;
      TRegistry product;
      product.SetRootKey(HKEY_LOCAL_MACHINE);
      if (!product.OpenKeyReadOnly(AppInfo.RegKey + "\\" + subKey)) continue;
      TDataVersionRec rec;
      if (ParseThreePart(product.ReadString("Version"), rec.Major, rec.Minor) && !IsListed(rec.Major, rec.Minor)) {
        rec.Name = product.ReadString("Type");
        Add(rec);
      }
      product.CloseKey();
    }
  }
  Count = static_cast<std::int32_t>(entries_.size());
  RebuildNames();
  if (Descending) Sort(true);
}

void TSeihinVersionList::Sort(bool Descending) {
  const std::size_t first = FirstName.empty() ? 0 : 1;
  auto outOfOrder = [Descending](const TDataVersionRec& a, const TDataVersionRec& b) {
    if (a.Major != b.Major) return Descending ? a.Major < b.Major : a.Major > b.Major;
    if (a.Minor != b.Minor) return Descending ? a.Minor < b.Minor : a.Minor > b.Minor;
    return false;
  };
  // Neighbour exchanges: entries of equal version keep their order.
  for (bool swapped = true; swapped;) {
    swapped = false;
    for (std::size_t i = first; i + 1 < entries_.size(); ++i) {
      if (outOfOrder(entries_[i], entries_[i + 1])) {
        std::swap(entries_[i], entries_[i + 1]);
        swapped = true;
      }
    }
  }
  RebuildNames();
}

void TSeihinVersionList::Clear() {
  entries_.clear();
  names_.clear();
  Count = 0;
}

void TSeihinVersionList::RebuildNames() {
  names_.clear();
  for (const TDataVersionRec& rec : entries_) names_.push_back(rec.Name);
}

std::string TSeihinVersionList::GetText() const {
  std::string text;
  for (const std::string& name : names_) text += name + "\r\n";
  return text;
}

void TSeihinVersionList::GetVersionText(std::int32_t Index, std::string& Text) const {
  Text.clear();
  if (Index < 0 || Index >= Count) return;
  const TDataVersionRec& rec = entries_[static_cast<std::size_t>(Index)];
  if (rec.Major == 0 && rec.Minor == 0) return;
  Text = Format("%d.%d", rec.Major, rec.Minor);
}

void TSeihinVersionList::GetName(std::int32_t Index, std::string& Name) const {
  Name.clear();
  if (Index >= 0 && Index < Count) Name = entries_[static_cast<std::size_t>(Index)].Name;
}

std::int32_t TSeihinVersionList::IndexOfName(const std::string& Name) const {
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].Name == Name) return static_cast<std::int32_t>(i);
  return -1;
}

bool TSeihinVersionList::IsListed(std::int32_t Major, std::int32_t Minor) const {
  for (const TDataVersionRec& rec : entries_)
    if (rec.Major == Major && rec.Minor == Minor) return true;
  return false;
}
