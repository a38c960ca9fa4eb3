// TDataSentakuPrintDlg: the print dialog of the data-set lists, the
// framework's print dialog with the paper orientation (縦 portrait, 横
// landscape), kept as the saved value "P010=%d" of the dialog. Then the list
// print itself: the dialog, and on OK the printout of the list.
#pragma once

#include <cstdint>
#include <string>

#include "dbaccess/datalistrec.h"
#include "report/printdlg.h"

class QRadioButton;

class TDataSentakuPrintDlg : public TPrintDlgBox {
  Q_OBJECT
 public:
  explicit TDataSentakuPrintDlg(QWidget* owner = nullptr);

  std::int32_t Orientation = 0;  // 0 portrait, 1 landscape
  QRadioButton* btnYousiTate = nullptr;
  QRadioButton* btnYousiYoko = nullptr;

  void InitDialog(std::uint8_t mode) override;
  int ApplyOptions() override;
  void LoadHints() override;
  void SaveRestoreSettings(const std::string& name) override;

 protected:
  void OkClick(int result) override;
};

// What a list print shows: the dialog's caption and message, the list kind
// (0 data-set list, 1 shared-server list), the rows and the display order.
struct TDataListPrintJob {
  std::string Caption;
  std::string Message;
  std::int32_t ListKind = 0;
  const TDataSentakuRecArray* Rows = nullptr;
  const TDataSentakuRecDispArray* DispIndex = nullptr;
};

// The list print dialog and, on its print or preview choice, the printout.
// 1 printed or previewed, 0 cancelled.
std::int32_t RunDataListPrint(QWidget* owner, const TDataListPrintJob& job);
