// TDataSyosaiInfoBox ("データの詳細情報"): the basic and management information
// of one data set. The user may change the data set's name in the list,
// prohibit its update by newer program versions and clear a data status that
// an abnormal end left behind. The caller sets the inputs, runs Prepare,
// shows the dialog modally and reads the outputs after OK. The dialog hides
// on close and is reused.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "dataselect/datalistrec.h"
#include "dbaccess/datainfo.h"
#include "ui/sdi.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class TCorvexEdit;
class TxPlButton;

class TDataSyosaiInfoBox : public TBSDI {
  Q_OBJECT
 public:
  explicit TDataSyosaiInfoBox(QWidget* owner = nullptr);

  // Inputs.
  const TDataListRec* ListRow = nullptr;
  std::string DataFolder;      // upper-cased by the caller
  std::string ListName;
  std::int32_t UpdateLock = 0;
  bool ReadOnly = false;
  std::uint8_t Origin = 0;     // 0 the data-selection list, 1 the shared-server selection
  // Outputs.
  std::string NewListName;
  std::int32_t NewUpdateLock = 0;
  std::int32_t StatusClear = 0;
  std::int32_t Rebuilt = 0;

  void Prepare(std::uint8_t Mode);
  void btnOKClick();
  void FormClose(TCloseAction& action) override;

  QLabel *lblCode, *lblDataKbn, *lblName, *lblKana, *lblNendo, *lblKikan, *lblTanto, *lblBumonKanri,
      *lblSitenKanri, *lblSiwakeKensu, *lblStatus, *lblDataSeigenMessage;
  TCorvexEdit* txtListName = nullptr;
  QPlainTextEdit* txtDataPath = nullptr;
  QCheckBox* cboxDataUpdateLock = nullptr;
  QCheckBox* cboxStatusClear = nullptr;
  TxPlButton* btnOK = nullptr;
  TxPlButton* btnCancel = nullptr;
  TxPlButton* F7 = nullptr;
  TDataInfomationRec Info;
  bool ClearShown = false;
  bool RebuildAllowed = false;

 private:
  std::uint8_t mode_ = 0;
};

// The name of a data kind (DATAKBN, CODEKBN); "設定なし" for other pairs.
std::string DataKindName(std::int32_t DataType, std::int32_t CodeType);
