// The data places of the client modes: the 100 rows of DATAPLACEMAN (place 0
// is the system folder and lists its data sets in DATALIST, the others in
// DATALIST_EX under their REC). A place with a name is in use.
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

// Loads the places in ORDERKBN, REC order (only the named ones with
// NamedOnly); an empty table first gets its 100 rows. False after a failure
// (reported; the list is then empty).
bool LoadDataPlaces(std::vector<TDataPlaceRec>& Places, bool NamedOnly = true);
