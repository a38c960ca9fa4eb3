// Lists for choosers, grids and checks: the operators of a group
// (TUserList), the operators logged on in a group (TLoginUserListOnDef) and
// the branches an operator may choose in a data set (TSitenList). Each list
// owns its statements and lines. Lines are "code:name" texts for a combo box
// or, with TabForm, double-quoted tab-separated cells for a grid.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/fb/ibx.h"

struct TUserListRec {
  std::int32_t GROUPID = 0;
  std::int32_t OPCODE = 0;
  std::string OPNAME;
  std::string PASWORD;
  std::int32_t JOBLEVEL = 0;
  std::string NAME;
  bool JIMUSHO = false;
  bool OKINIIRI = false;
  bool KANSA = false;
  std::vector<std::string> UseSiten;
  std::string Spare;
  bool MYNUMBER_ADM = false;
  bool SHONIN = false;
};

class TUserList {
 public:
  TUserList();
  ~TUserList();

  std::string FirstEntry;
  std::int32_t GroupId = 0;
  std::int32_t Count = 0;
  bool TabForm = false;
  bool ApproversOnly = false;

  void Execute();
  void Clear();
  std::int32_t GetOpCode(std::int32_t Index) const;
  std::string GetText() const;
  std::int32_t IndexOfOpCode(std::int32_t OpCode) const;
  // Which 0: the system-database statement; any other but -1: the data-set
  // statement; -1: both back on the list's own transaction.
  void SetTransaction(TIBTransaction* Transaction, std::int32_t Which);
  const std::vector<TUserListRec>& Entries() const { return entries_; }
  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  TIBTransaction transaction_;
  TIBSQL sqlDef_;
  TIBSQL sqlDat_;
  std::vector<TUserListRec> entries_;
  std::vector<std::string> lines_;
};

struct TLoginUserListRec {
  std::int32_t OPERATORCODE = 0;
  std::string OPNAME;
  std::string PCNAME;
};

class TLoginUserList {
 public:
  virtual ~TLoginUserList() = default;
  std::int32_t Count = 0;
  std::int32_t GroupId = 0;
  std::int32_t OwnOpCode = 0;
  bool IncludeSelf = false;

  std::int32_t GetOpCode(std::int32_t Index) const;
  void GetOpName(std::int32_t Index, std::string& Name) const;
  void Clear();
  const std::vector<std::string>& Lines() const { return lines_; }

 protected:
  TIBSQL sql_;
  std::vector<TLoginUserListRec> entries_;
  std::vector<std::string> lines_;
};

class TLoginUserListOnDef : public TLoginUserList {
 public:
  TLoginUserListOnDef();
  void Execute(std::int32_t GroupId, std::int32_t OwnOpCode, bool IncludeSelf);
};

struct TSitenListRec {
  std::string Code;
  std::string Name;
  std::int32_t Kind = 0;   // 0 whole company, 1 group or medical division, 2 branch, 3 with departments, 5 facility group
  std::int32_t Jigyou = 0;
  std::int32_t Bumex = 0;
  std::int32_t Color = 0;
  std::string Spare1;
  std::string Spare2;
};

// Flags of TSitenList.
enum : std::uint8_t { slWhole = 1, slGroups = 2, slBranches = 4, slBranchesWithBumon = 8 };

class TSitenList {
 public:
  TSitenList();

  std::int32_t Count = 0;
  std::uint8_t Flags = 0;
  std::int32_t OpCode = 0;
  std::int32_t JigyouFilter = 0;
  bool TabForm = false;
  bool Include00 = true;

  // Operator id, -1 for all branches. AccInf must hold the data set's
  // company information.
  void Execute(std::int32_t OpCode);
  void GetCode(std::int32_t Index, std::string& Code) const;
  void SetTransaction(TIBTransaction* Transaction);
  void Clear();
  const std::vector<TSitenListRec>& Entries() const { return entries_; }
  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  void ExecuteGeneral(std::int32_t Op);
  void ExecuteMedical(std::int32_t Op);
  void AddWhole(const std::string& Name, std::int32_t Bumex);
  void AddGroups(std::int32_t Kind);
  void AddBranches(bool WithBumonOnly, bool Medical);
  bool Permits(const std::string& Sql);
  TIBSQL sql_;
  std::vector<TSitenListRec> entries_;
  std::vector<std::string> lines_;
};
