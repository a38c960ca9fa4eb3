#include "dataselect/datakensakubox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

#include "core/globals.h"
#include "dbaccess/oplists.h"
#include "dbaccess/productversions.h"
#include "platform/vcl/dpi.h"
#include "platform/vcl/hint.h"
#include "ui/plbutton.h"
#include "ui/xedit.h"

namespace {

struct TKind {
  const char* name;
  std::int32_t type, code;
};
const TKind kKinds[] = {{"選択なし", 0, 0},   {"法人", 1, 1},          {"個人(一般)", 2, 1},  {"個人(不動産)", 2, 2},
                        {"医療法人", 3, 1},   {"個人(クリニック)", 2, 3}, {"個人(農業)", 2, 4}};
const char* const kNothing = "選択なし";

}  // namespace

std::int32_t KensakuKindIndex(std::int32_t DataType, std::int32_t CodeType) {
  if (DataType == 1) return 1;
  if (DataType == 3) return 4;
  if (DataType == 2) {
    for (int i = 2; i <= 6; ++i)
      if (kKinds[i].type == 2 && kKinds[i].code == CodeType) return i;
  }
  return 0;
}

void KensakuKindTypes(std::int32_t Index, std::int32_t& DataType, std::int32_t& CodeType) {
  const bool valid = Index >= 0 && Index < 7;
  DataType = valid ? kKinds[Index].type : 0;
  CodeType = valid ? kKinds[Index].code : 0;
}

TDataListKensakuBox::TDataListKensakuBox(QWidget* owner) : TBSDI(owner, bsDialog, "TDataListKensakuBox") {
  NotifyMenu = KeepHistory = AllowOtherProcess = SaveFormSize = ReloadAccInf = NotifyActivate = false;
  KeepOnClose = true;
  setWindowTitle("検索条件の設定");
  resize(Px(524), Px(360));
  auto* group = new QGroupBox(this);
  group->setGeometry(Px(12), Px(8), Px(500), Px(200));
  const char* labels[] = {"コード:", "データ区分:", "データリスト名:", "担当者:", "データバージョン:"};
  for (int i = 0; i < 5; ++i) (new QLabel(labels[i], group))->setGeometry(Px(12), Px(18 + 35 * i), Px(120), Px(18));
  auto place = [](QWidget* w, int i, int width) { w->setGeometry(Px(140), Px(14 + 35 * i), Px(width), Px(24)); };
  txtCode = new TxEdit(group);
  txtCode->setMaxLength(8);
  place(txtCode, 0, 120);
  cmbDataKbn = new QComboBox(group);
  for (const TKind& k : kKinds) cmbDataKbn->addItem(k.name);
  place(cmbDataKbn, 1, 200);
  txtListName = new TxEdit(group);
  txtListName->setMaxLength(40);
  place(txtListName, 2, 340);
  cmbTanto = new QComboBox(group);
  place(cmbTanto, 3, 240);
  cmbDataVer = new QComboBox(group);
  place(cmbDataVer, 4, 240);
  cboxYukou = new QCheckBox("この検索条件を毎回有効にする", this);
  cboxYukou->setGeometry(Px(24), Px(216), Px(300), Px(20));
  SetHint(cmbDataKbn, "選択した区分に該当するデータを抽出して表示します。|選択した区分に該当するデータを抽出して表示します。");
  SetHint(txtCode, "入力したコードを前方一致（先頭一致）で抽出して表示します。|入力したコード前方一致（先頭一致）で抽出して表示します。");
  SetHint(txtListName, "入力した文字を含むデータを抽出して表示します。|入力した文字を含むデータを抽出して表示します。");
  SetHint(cmbTanto, "選択したｵﾍﾟﾚｰﾀが担当するデータを抽出して表示します。|選択したｵﾍﾟﾚｰﾀが担当するデータを抽出して表示します。");
  SetHint(cmbDataVer, "選択したﾊﾞｰｼﾞｮﾝのデータを抽出して表示します。| 選択したﾊﾞｰｼﾞｮﾝのデータを抽出して表示します。");
  SetHint(cboxYukou, "ここで設定した条件に該当するデータだけを常時表示させる場合にﾁｪｯｸします。| ここで設定した条件に該当するデータだけを常時表示させる場合にﾁｪｯｸします。");
  btnOK = new TxPlButton(this);
  btnOK->setText("OK");
  btnOK->setGeometry(Px(320), Px(320), Px(90), Px(28));
  btnOK->OnClick = [this](QObject*) { btnOKClick(); };
  SetHint(btnOK, "設定した条件に該当するデータを表示します。| 設定した条件に該当するデータを表示します。");
  F12Button = btnOK;
  btnCancel = new TxPlButton(this);
  btnCancel->setText("キャンセル");
  btnCancel->SetModalResult(mrCancel);
  btnCancel->setGeometry(Px(420), Px(320), Px(90), Px(28));
  SetHint(btnCancel, "データの検索を中止します。| データの検索を中止します。");

  users_ = std::make_unique<TUserList>();
  users_->GroupId = SystemDef.GroupId;
  users_->FirstEntry = kNothing;
  versions_ = std::make_unique<TSeihinVersionList>();
  versions_->FirstName = kNothing;
  try {
    users_->Execute();
    versions_->Execute(true);
  } catch (...) {
    // The lists stay empty; the conditions on person and version cannot be chosen.
  }
  for (const std::string& line : users_->Lines()) cmbTanto->addItem(QString::fromStdString(line));
  for (const std::string& name : versions_->Names()) cmbDataVer->addItem(QString::fromStdString(name));
  if (cmbTanto->count() == 0) cmbTanto->addItem(kNothing);
  if (cmbDataVer->count() == 0) cmbDataVer->addItem(kNothing);
  Initialized = true;
}

TDataListKensakuBox::~TDataListKensakuBox() = default;

void TDataListKensakuBox::Prepare(std::uint8_t Mode) {
  mode_ = Mode;
  cmbDataKbn->setCurrentIndex(KensakuKindIndex(Jyoken.DATATYPE, Jyoken.CODETYPE));
  txtCode->setText(QString::fromStdString(Jyoken.DATACODE));
  txtListName->setText(QString::fromStdString(Jyoken.DATANAME));
  const int tanto = Jyoken.TANTO != 0 ? users_->IndexOfOpCode(Jyoken.TANTO) : 0;
  cmbTanto->setCurrentIndex(tanto > 0 && tanto < cmbTanto->count() ? tanto : 0);
  const int ver = Jyoken.SEIHINNAME.empty() ? 0 : versions_->IndexOfName(Jyoken.SEIHINNAME);
  cmbDataVer->setCurrentIndex(ver > 0 && ver < cmbDataVer->count() ? ver : 0);
  cboxYukou->setChecked(Jyoken.JYOKENUSE != 0);
  FirstPlacement = false;
}

void TDataListKensakuBox::btnOKClick() {
  KensakuKindTypes(cmbDataKbn->currentIndex(), Jyoken.DATATYPE, Jyoken.CODETYPE);
  Jyoken.DATACODE = txtCode->text().toStdString();
  Jyoken.DATANAME = txtListName->text().toStdString();
  const int tanto = cmbTanto->currentIndex();
  Jyoken.TANTO = tanto > 0 ? users_->GetOpCode(tanto) : 0;
  const int ver = cmbDataVer->currentIndex();
  Jyoken.DATAVER.clear();
  Jyoken.SEIHINNAME.clear();
  if (ver > 0) {
    versions_->GetVersionText(ver, Jyoken.DATAVER);
    versions_->GetName(ver, Jyoken.SEIHINNAME);
  }
  Jyoken.SPARE1.clear();
  Jyoken.VERCOMPARE = 0;
  Jyoken.JYOKENUSE = cboxYukou->isChecked() ? 1 : 0;
  done(mrOk);
}

void TDataListKensakuBox::FormClose(TCloseAction& action) {
  TBSDI::FormClose(action);
  action = caHide;
}
