// TDataSyosaiInfoBox ("データの詳細情報"): the basic and management information
// of one data set. The user may change the data set's name in the list,
// prohibit its update by newer program versions and clear a data status that
// an abnormal end left behind, and rebuild the data set's database (F7,
// datadetailrebuild.cpp). The caller sets the inputs, runs Prepare, shows the
// dialog modally and reads the outputs after OK. The dialog hides on close
// and is reused.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "dbaccess/datainfo.h"
#include "dbaccess/datalistrec.h"
#include "platform/vcl/keys.h"
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
  // The data place of the list row (its table: DATALIST, or DATALIST_EX above
  // 0); -1 takes the place of the owning data-selection dialog, else
  // SystemDef.DataPlace.
  std::int32_t DataPlace = -1;
  // Outputs.
  std::string NewListName;
  std::int32_t NewUpdateLock = 0;
  std::int32_t StatusClear = 0;
  std::int32_t Rebuilt = 0;

  void Prepare(std::uint8_t Mode);
  void btnOKClick();
  void FormClose(TCloseAction& action) override;
  void FormKeyUp(Word& key, Qt::KeyboardModifiers shift) override;
  // The handler of the function-key buttons; only F7 (the rebuild) acts, and
  // only while its caption is not blank.
  void F1Click(TxPlButton* Sender);
  // The name edit's input method changed: the F7 caption follows it.
  void txtListNameImeStatusChange();
  // F7: asks and rebuilds; on success fills the dialog again and sets Rebuilt.
  void RebuildClick();
  // The rebuild of the data set's database through a backup and a restore,
  // under a safety copy that is put back whenever the rebuild fails.
  bool Rebuild();

  QLabel *lblCode, *lblDataKbn, *lblName, *lblKana, *lblNendo, *lblKikan, *lblTanto, *lblBumonKanri,
      *lblSitenKanri, *lblSiwakeKensu, *lblStatus, *lblDataSeigenMessage;
  TCorvexEdit* txtListName = nullptr;
  QPlainTextEdit* txtDataPath = nullptr;
  QCheckBox* cboxDataUpdateLock = nullptr;
  QCheckBox* cboxStatusClear = nullptr;
  TxPlButton* btnOK = nullptr;
  TxPlButton* btnCancel = nullptr;
  std::array<TxPlButton*, 8> FKeys{};  // F1 .. F7 at 1 .. 7 (0 unused)
  TxPlButton* F7 = nullptr;            // FKeys[7]
  TDataInfomationRec Info;
  bool ClearShown = false;
  bool RebuildAllowed = false;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void UpdateKeyBar();
  // The folder as it is on disk (DataFolder is upper-cased for display).
  std::string AccessFolder() const;
  // The list row's table and place; Place 0 names DATALIST.
  std::int32_t RowPlace() const;
  // Writes DATALOCK of the list row; false when the statement failed.
  bool WriteRowLock(std::int32_t Lock);
  std::uint8_t mode_ = 0;
  bool readOnly_ = false;
};

// The name of a data kind (DATAKBN, CODEKBN); "設定なし" for other pairs.
std::string DataKindName(std::int32_t DataType, std::int32_t CodeType);
