// TPrDataList: the printout of a data-set list (the local list or the
// shared-server list) in the order and selection a dialog shows, written
// through the report component into a print-data file in the temporary
// folder and then printed or previewed.
#pragma once

#include <cstdint>
#include <memory>

#include "dbaccess/datalistrec.h"
#include "report/printdlg.h"

class TQuillbox;

// Rows per page, right edge and bottom line (tenths of a millimetre) of an
// orientation (0 portrait, 1 landscape).
struct TDataListPage {
  int Rows;
  int RightEdge;
  int BottomLine;
};
TDataListPage DataListPageOf(std::int32_t orientation);

class TPrDataList {
 public:
  TPrDataList();
  ~TPrDataList();
  TPrDataList(const TPrDataList&) = delete;
  TPrDataList& operator=(const TPrDataList&) = delete;

  std::int32_t ListKind = 0;  // 0 data-set list, otherwise the shared-server list
  TDefaultPrintRec PrintSettings;
  TDataSentakuRecArray Rows;
  TDataSentakuRecDispArray DispIndex;
  std::int32_t Orientation = 0;

  // Writes the print-data file and prints it (Mode 1) or previews it (0).
  // An error while writing passes on after the file is closed; nothing is
  // printed then.
  void PrintList(std::int32_t Mode, std::int32_t = 0, std::int32_t = 0);
  TQuillbox& Quillbox() { return *quillbox_; }

 private:
  void PageStep();
  void PageHeader();
  void ListLine(const TDataListRec& row, int number, bool top);

  std::unique_ptr<TQuillbox> quillbox_;
  TDataListPage page_{};
  int pageNo_ = 1;
  int line_ = 0;
};
