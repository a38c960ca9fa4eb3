// TSyohizeiDataExport: the export object of the consumption-tax link. Its link
// body runs the link builder, which adds the DATA node, turns the builder's
// failure results into EDataExportError and puts the builder's
// transitional-measure value into BASIC's KEIKASHOCHIKAZEISHISAN.
#pragma once

#include "link/exportobject.h"

class TSyohizeiDataExport : public TComDataExport {
 public:
  using TComDataExport::TComDataExport;

  void WriteBody(TXmlSaveDoc& Doc) override;

  // Let the builder's second pass reuse the first pass's journal read.
  bool ReuseJournalRead = true;
};
