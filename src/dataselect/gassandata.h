// TGassanDataCtl: the distributed-input children of a combined data set
// (合算データ, kind 1, or 合算本支店データ, kind 2). A child is a complete copy
// of the parent's database in a numbered sub-folder of the parent's folder
// ("001" to "999"), cleared of journals, balances and the audit lock, marked
// 合算データ区分 10 and registered as a child row of the data list. The
// controller also writes the parent's kind and child count.
//
// A caller sets the parent folder and record number and then switches the
// controller on, which reads the child list; setting another folder or
// record switches it off.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "dbaccess/datainfo.h"
#include "dbaccess/datalistrec.h"
#include "platform/win/paths.h"

class TDataSentakuListCtl;

struct TGassanChildData {
  std::int32_t Rec = 0;
  std::int32_t ChildNo = 0;
  std::string Code;     // branch code; empty in the numbered form
  std::string Folder;
};

class TGassanDataCtl {
 public:
  TGassanDataCtl();
  ~TGassanDataCtl();
  TGassanDataCtl(const TGassanDataCtl&) = delete;
  TGassanDataCtl& operator=(const TGassanDataCtl&) = delete;

  bool Active() const { return active_; }
  void SetActive(bool Value);
  void SetParentFolder(const std::string& Folder);
  void SetParentRec(std::int32_t Rec);
  const std::string& ParentFolder() const { return parentFolder_; }

  void LoadChildList();
  std::int32_t IndexOfChild(const std::string& Folder) const;
  // The highest child number plus Step (Step - 1 without children).
  std::int32_t NextChildNo(std::int32_t Step) const;
  // The next numbered folder name ("%.3d") under Folder; empty when Folder is
  // missing. Throws past "999".
  static void NextChildFolderName(const std::string& Folder, std::int32_t Step, std::string& Name);
  // Creates, clears and registers one child; false (its folder removed and
  // nothing registered) when a step failed. Throws only the 999 refusal.
  bool CreateChildData(const std::string& Code);
  // Clears the current child's database in one transaction; a failure is
  // reported, rolled back and thrown again.
  void AccDataSyokika();
  // Writes the parent's 合算データ区分 and 合算データ数 (0 for kinds 0 and 10).
  void SetGassanSettings(std::uint8_t Kind, std::int32_t Count);

  const std::vector<TGassanChildData>& Children() const { return children_; }
  std::uint8_t BranchForm() const { return branch_; }
  std::int32_t StoredCount() const { return count_; }
  const std::string& ChildFolder() const { return childFolder_; }
  // The child folder that AccDataSyokika clears (CreateChildData sets it).
  void SetChildFolder(const std::string& Folder) { childFolder_ = ExcludeTrailingPathDelimiter(Folder); }

 private:
  bool active_ = false;
  std::string parentFolder_;
  std::int32_t parentRec_ = 0;
  std::string childFolder_, code_;
  std::uint8_t branch_ = 0;
  std::int32_t count_ = 0;
  std::int32_t netDrive_ = 0;
  std::string pasName_;
  std::vector<TGassanChildData> children_;
  TDataInfomationRec info_;
  std::unique_ptr<TDataSentakuListCtl> listCtl_;
  std::unique_ptr<TDataInfomation> dataInfo_;
};
