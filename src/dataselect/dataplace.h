// The data places of the client modes: the 100 rows of DATAPLACEMAN (place 0
// is the system folder and lists its data sets in DATALIST, the others in
// DATALIST_EX under their REC). A place with a name is in use.
//
// The list of places is a plain vector: LoadDataPlaces fills it, the lookups
// below read it, SaveDataPlaces writes back the rows whose Change is set.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TDataPlaceRec {
  std::int32_t Rec = 0;
  std::int32_t OrderKbn = 0;
  std::string Name;
  std::string Path;
  std::uint8_t Change = 0;   // 0 unchanged, 1 new, 2 renamed or moved, 9 deleted
};

// Change states of a place.
enum : std::uint8_t { pcNone = 0, pcCreated = 1, pcChanged = 2, pcDeleted = 9 };

// Loads the places in ORDERKBN, REC order (only the named ones with
// NamedOnly); an empty table first gets its 100 rows. False after a failure
// (reported; the list is then empty).
bool LoadDataPlaces(std::vector<TDataPlaceRec>& Places, bool NamedOnly = true);

// Writes every place whose Change is set, in list order, in one transaction:
// ORDERKBN and NAME; a created place also gets its DATALIST_EX rows
// (DataListCnt of them), a deleted one loses them. Afterwards every Change is
// 0. Returns 1; a failure rolls back and is thrown to the caller.
std::int32_t SaveDataPlaces(std::vector<TDataPlaceRec>& Places);

// Whether any data-set folder registered under place Rec exists on the data
// server; a database error counts as true.
bool PlaceHasData(std::int32_t Rec);

// Loads the named places into Places and returns their names, each followed
// by "\r".
std::string GetPlaceNames(std::vector<TDataPlaceRec>& Places);
// REC of the Index-th place, -1 out of range.
std::int32_t GetPlaceRec(const std::vector<TDataPlaceRec>& Places, std::int32_t Index);
// PATH of the Index-th place, empty out of range.
std::string GetPlacePath(const std::vector<TDataPlaceRec>& Places, std::int32_t Index);
// Index of the place with that REC, -1 when none.
std::int32_t IndexOfPlace(const std::vector<TDataPlaceRec>& Places, std::int32_t Rec);
// PATH of the place with that REC, empty when none.
std::string GetPlacePathByRec(const std::vector<TDataPlaceRec>& Places, std::int32_t Rec);
