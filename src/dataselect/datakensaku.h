// The search condition of a data-set list (TDataKensakuRec): the operator's
// stored condition in KENSAKUJYOKEN (one row per operator and list kind), and
// the test whether a list row passes a condition.
#pragma once

#include <cstdint>
#include <string>

#include "dbaccess/datalistrec.h"

struct TDataKensakuRec {
  std::int32_t OPCODE = 0;
  std::int32_t LISTTYPE = 0;
  std::int32_t JYOKENUSE = 0;   // 1: the condition filters the list
  std::int32_t DATATYPE = 0;    // 0 none; -13 corporations and medical corporations
  std::int32_t CODETYPE = 0;    // 0 none
  std::string DATACODE;         // code prefix
  std::string DATANAME;         // text contained in the list name
  std::int32_t TANTO = 0;       // person in charge; 0 none
  std::string DATAVER;          // "major.minor", empty none
  std::string SPARE1;
  std::int32_t VERCOMPARE = 0;  // 0 exact major.minor, 1 major only, 2 this version or later
  std::string SEIHINNAME;
  std::int32_t SORTCOL = 0;     // grid column of the data-selection list
  std::int32_t SORTTYPE = 0;    // 1 descending
  std::string SPARE2, SPARE3;
};

// The stored SORTCOL code of a grid column and back (unknown values give 0).
std::int32_t KensakuGridColumnOfCode(std::int32_t Code);
std::int32_t KensakuCodeOfGridColumn(std::int32_t Column);

// OPCODE := SystemDef.OpCode, LISTTYPE := ListType, every filter cleared.
void ResetKensakuCondition(TDataKensakuRec& Rec, std::int32_t ListType);
// Clears the filters only (in-use flag, types, code, name, person, versions).
void ClearKensakuFilters(TDataKensakuRec& Rec);

// The stored condition of (Rec.OPCODE, Rec.LISTTYPE) on the system database;
// a missing row is inserted with the reset values. False after a failure
// (reported; Rec stays reset).
bool KensakuSelectRecord(TDataKensakuRec& Rec);
// Writes every column / only SORTCOL and SORTTYPE of the row.
bool KensakuUpdateRecord(const TDataKensakuRec& Rec);
bool KensakuUpdateRecordSortField(const TDataKensakuRec& Rec);

// Whether a list row passes every filter of the condition (data and code
// type, name text, person in charge, version, code prefix).
bool KensakuPasses(const TDataKensakuRec& Cond, const TDataListRec& Rec);
