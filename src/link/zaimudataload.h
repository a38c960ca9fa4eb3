// TZaimuDataLoad: the base of the link builders. It carries the period and tax
// fields that the export object hands over before a build.
#pragma once

#include <cstdint>

class TZaimuDataLoad {
 public:
  virtual ~TZaimuDataLoad() = default;

  std::int32_t StartCell = 0;    // first cell of the calculation period (0..15)
  std::int32_t EndCell = 15;     // last cell of the calculation period
  std::int32_t LastCell = 15;    // last cell the fiscal year uses (15: twelve months)
  std::int32_t TaxDefUH = 0;     // 0 tax-included, 1 tax-excluded bookkeeping
  std::int32_t TaxKanni = 0;     // the data set's taxation method (1 simplified)
  std::int32_t TaxJigyou = 0;    // the data set's main business kind (0 none, 1..6)
  std::int32_t TumiageFlag = 0;  // accumulation method of the tax amounts
};
