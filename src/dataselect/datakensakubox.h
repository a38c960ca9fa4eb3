// TDataListKensakuBox ("検索条件の設定"): edits the search condition of a
// data-set list. The caller sets ListType, copies its condition into
// Jyoken, runs Prepare, shows the dialog modally and on OK copies Jyoken
// back. The stored condition itself is read and written by datakensaku.h.
#pragma once

#include <cstdint>
#include <memory>

#include "dataselect/datakensaku.h"
#include "ui/sdi.h"

class QCheckBox;
class QComboBox;
class TSeihinVersionList;
class TUserList;
class TxEdit;
class TxPlButton;

// The data kinds of the search: index 0 "選択なし", then the six kinds.
std::int32_t KensakuKindIndex(std::int32_t DataType, std::int32_t CodeType);
void KensakuKindTypes(std::int32_t Index, std::int32_t& DataType, std::int32_t& CodeType);

class TDataListKensakuBox : public TBSDI {
  Q_OBJECT
 public:
  explicit TDataListKensakuBox(QWidget* owner = nullptr);
  ~TDataListKensakuBox() override;

  std::int32_t ListType = 0;
  TDataKensakuRec Jyoken;

  void Prepare(std::uint8_t Mode);
  void btnOKClick();
  void FormClose(TCloseAction& action) override;

  TxEdit* txtCode = nullptr;
  QComboBox* cmbDataKbn = nullptr;
  TxEdit* txtListName = nullptr;
  QComboBox* cmbTanto = nullptr;
  QComboBox* cmbDataVer = nullptr;
  QCheckBox* cboxYukou = nullptr;
  TxPlButton* btnOK = nullptr;
  TxPlButton* btnCancel = nullptr;

 private:
  std::unique_ptr<TUserList> users_;
  std::unique_ptr<TSeihinVersionList> versions_;
  std::uint8_t mode_ = 0;
};
