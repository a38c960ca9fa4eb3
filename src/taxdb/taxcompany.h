// The company settings of the computation taken from the company information.
#pragma once

#include "tax/taxcontext.h"

struct TACCINF;
// The tax settings of a company information record (AccInf).
TTaxCompanyInfo TaxCompanyInfoOf(const TACCINF& accInf);
