#include "tax/oldrate.h"

#include <algorithm>

bool IsOldRateImportLine(int taishaku, int oldRate, int taxCode) {
  return taishaku == 1 && std::ranges::find(kOldRateNumbers, oldRate) != kOldRateNumbers.end() &&
         std::ranges::find(kOldRateImportCodes, taxCode) != kOldRateImportCodes.end();
}
