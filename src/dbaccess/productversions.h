// TSeihinVersionList: the versions of the accounting product with the
// edition name of each: the built-in editions, the numbered editions up to
// the running generation, and the installed products of the family found in
// the registry (HKEY_LOCAL_MACHINE, one sub-key per product under
// AppInfo.RegKey with the values "Version" and "Type").
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TDataVersionRec {
  std::int32_t Major = 0;
  std::int32_t Minor = 0;
  std::int32_t Release = 0;
  std::string Name;
};

class TSeihinVersionList {
 public:
  // ProductKey from the application information by AppKind.
  TSeihinVersionList();

  std::string ProductKey;
  std::string FirstName;
  std::int32_t Count = 0;

  void Execute(bool Descending);
  void Sort(bool Descending);
  void Clear();
  // The names, one per line.
  std::string GetText() const;
  // "%d.%d" of Major and Minor; empty for version 0.0 and outside the list.
  void GetVersionText(std::int32_t Index, std::string& Text) const;
  void GetName(std::int32_t Index, std::string& Name) const;
  std::int32_t IndexOfName(const std::string& Name) const;
  bool IsListed(std::int32_t Major, std::int32_t Minor) const;
  const std::vector<TDataVersionRec>& Entries() const { return entries_; }
  const std::vector<std::string>& Names() const { return names_; }

 private:
  void Add(const TDataVersionRec& Rec);
  void RebuildNames();
  std::vector<TDataVersionRec> entries_;
  std::vector<std::string> names_;
};
