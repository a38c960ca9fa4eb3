// The consumption-tax return's settings row (TAX_KAZEIHOUSIKI, REC = 1) of a
// data set: loaded into a parameter record before each pass of the
// link builder, and created with its defaults when it is missing.
#pragma once

#include "tax/taxpar.h"
#include "taxdb/taxdata.h"

// Default contents of a settings record: return kind 0 "確定", all numbers,
// amounts and dates 0, texts empty, the rate blocks starting with 3 and 5,
// the company identity from the company information (AccInf) by company
// kind, FUHYO22_KAZEI_COPY and FUHYO52_KAZEI_COPY 1. The computation fields
// from KikanSettei on and the accumulators are left as they are.
void InitTaxParams(TTAXPAR& Par);

// Loads row REC = 1 of data set Data into Par (inserting it with its defaults
// first when it is missing) on the data set's ordinary transaction, which is started when it is
// not active and then committed or, on an error, rolled back; a transaction
// the caller holds is left to the caller. Par is replaced by a fresh record
// filled from the row. On a database error an error box "ﾃﾞｰﾀﾍﾞｰｽ ｴﾗｰ" with the
// error text is shown and the error passes on; on any error Par keeps the
// defaults of InitTaxParams.
void LoadTaxSettingsRow(const TTaxDataConnection& Data, TTAXPAR& Par);
