#include "dataselect/datadetail.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>

#include "core/appinfo.h"
#include "core/datetext.h"
#include "core/globals.h"
#include "core/settings.h"
#include "dataselect/datasentaku.h"
#include "dbaccess/serverfiles.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/align.h"
#include "platform/vcl/color.h"
#include "platform/vcl/dpi.h"
#include "platform/vcl/hint.h"
#include "ui/corvexedit.h"
#include "ui/plbutton.h"

namespace {

const char* const kNone = "設定なし";

std::string OrNone(const std::string& Text) { return Text.empty() ? kNone : Text; }

std::int32_t InGroup(std::int32_t OpCode) {
  const std::int64_t base = static_cast<std::int64_t>(SystemDef.GroupId) * 10000;
  return base > 0 ? static_cast<std::int32_t>(OpCode % base) : OpCode;
}

}  // namespace

std::string DataKindName(std::int32_t DataType, std::int32_t CodeType) {
  struct Kind {
    int type, code;
    const char* name;
  };
  static const Kind kinds[] = {{1, 1, "法人"},         {2, 1, "個人(一般)"},       {2, 2, "個人(不動産)"},
                               {3, 1, "医療法人"},     {2, 3, "個人(クリニック)"}, {2, 4, "個人(農業)"}};
  for (const Kind& k : kinds)
    if (k.type == DataType && k.code == CodeType) return k.name;
  return kNone;
}

TDataSyosaiInfoBox::TDataSyosaiInfoBox(QWidget* owner) : TBSDI(owner, bsDialog, "TDataSyosaiInfoBox") {
  NotifyMenu = KeepHistory = AllowOtherProcess = SaveFormSize = ReloadAccInf = NotifyActivate = false;
  KeepOnClose = true;
  setWindowTitle("データの詳細情報");
  resize(Px(560), Px(560));
  auto* basic = new QGroupBox(this);
  basic->setGeometry(Px(12), Px(8), Px(536), Px(300));
  const char* captions[] = {"コード:", "データ区分:", "会社名:", "フリガナ:", "データリスト名:", "会計年度:",
                            "会計期間:", "担当者コード:", "部門管理:", "本支店管理:", "仕訳件数:"};
  QLabel** values[] = {&lblCode, &lblDataKbn, &lblName, &lblKana, nullptr, &lblNendo, &lblKikan,
                       &lblTanto, &lblBumonKanri, &lblSitenKanri, &lblSiwakeKensu};
  for (int i = 0; i < 11; ++i) {
    auto* l = new QLabel(captions[i], basic);
    l->setGeometry(Px(12), Px(16 + 25 * i), Px(110), Px(18));
    if (values[i]) {
      *values[i] = new QLabel(basic);
      (*values[i])->setGeometry(Px(130), Px(16 + 25 * i), Px(390), Px(18));
    }
  }
  txtListName = new TCorvexEdit(basic);
  txtListName->setObjectName("txtListName");
  txtListName->setMaxLength(40);
  txtListName->SetImeMode(imHira);
  txtListName->OnImeStatusChange = [this] { txtListNameImeStatusChange(); };
  txtListName->setGeometry(Px(130), Px(112), Px(300), Px(21));
  auto* manage = new QGroupBox("管理情報", this);
  manage->setGeometry(Px(12), Px(312), Px(536), Px(160));
  (new QLabel("データの状態:", manage))->setGeometry(Px(12), Px(22), Px(110), Px(18));
  lblStatus = new QLabel(manage);
  lblStatus->setGeometry(Px(130), Px(22), Px(200), Px(18));
  cboxStatusClear = new QCheckBox("データの状態を回復する", manage);
  cboxStatusClear->setGeometry(Px(330), Px(20), Px(200), Px(20));
  cboxStatusClear->setStyleSheet("color: red;");
  SetHint(cboxStatusClear,
          "データ状態を回復します。|「データ処理中にアプリケーションが異常終了した」等でデータが「使用中」になってしまった場合に、この項目にチェックを入れて［OK］を押すと次回よりデータの選択が可能となります。");
  (new QLabel("データフォルダ:", manage))->setGeometry(Px(12), Px(48), Px(110), Px(18));
  txtDataPath = new QPlainTextEdit(manage);
  txtDataPath->setReadOnly(true);
  txtDataPath->setGeometry(Px(130), Px(46), Px(390), Px(40));
  lblDataSeigenMessage = new QLabel("現在、オペレータ毎のデータ選択は制限されていません。", manage);
  lblDataSeigenMessage->setGeometry(Px(130), Px(90), Px(390), Px(18));
  lblDataSeigenMessage->setStyleSheet("color: blue; font-weight: bold;");
  (new QLabel("データの更新:", manage))->setGeometry(Px(12), Px(118), Px(110), Px(18));
  cboxDataUpdateLock = new QCheckBox("禁止する", manage);
  cboxDataUpdateLock->setGeometry(Px(130), Px(116), Px(200), Px(20));
  SetHint(cboxDataUpdateLock,
          "データ更新の許可／禁止を設定します。|この項目にチェックを入れると、「データ選択」画面から古いバージョンのデータ（更新が必要なデータ）の選択を不可にします。\r\n※選択不可データはグレー表示されます。");
  btnOK = new TxPlButton(this);
  btnOK->setText("OK");
  btnOK->setGeometry(Px(364), Px(520), Px(88), Px(28));
  btnOK->OnClick = [this](QObject*) { btnOKClick(); };
  SetHint(btnOK, "内容を登録して画面を閉じます。|内容を登録して画面を閉じます。");
  F12Button = btnOK;
  btnCancel = new TxPlButton(this);
  btnCancel->setText("キャンセル");
  btnCancel->SetModalResult(mrCancel);
  btnCancel->setGeometry(Px(458), Px(520), Px(88), Px(28));
  SetHint(btnCancel, "画面を閉じます。|画面を閉じます。");
  auto* hints = new QPlainTextEdit(this);
  hints->setObjectName("HintMemo");
  hints->setReadOnly(true);
  hints->setGeometry(Px(12), Px(478), Px(536), Px(36));
  HintMemo = hints;
  const char* names[] = {"F1", "F2", "F3", "F4", "F5", "F6", "F7"};
  for (int i = 1; i <= 7; ++i) {
    TxPlButton* b = FKeys[static_cast<std::size_t>(i)] = new TxPlButton(this);
    b->setObjectName(names[i - 1]);
    b->setText(QString::fromStdString(FKeyCaptions[static_cast<std::size_t>(i)]));
    b->setGeometry(Px(12 + 44 * (i - 1)), Px(520), Px(42), Px(28));
    b->setFocusPolicy(Qt::NoFocus);
    b->OnClick = [this, b](QObject*) { F1Click(b); };
  }
  // F7 carries the only caption ("F7:再構築"); it ends clear of OK.
  F7 = FKeys[7];
  F7->setGeometry(Px(12 + 44 * 6), Px(520), Px(84), Px(28));
  Initialized = true;
}

void TDataSyosaiInfoBox::Prepare(std::uint8_t Mode) {
  mode_ = Mode;
  TDataInfomation data;
  data.ConnectKind = ConnectKind;
  TDataInfomation::ClearDataInfoRec(Info);
  const std::string folder = AccessFolder();
  const std::string file = folder + "/" + DataFile;
  if (DataModuleExists() ? ServerFiles().ServerFExist(file, ConnectKind) : false) data.ReadInfo(folder, Info);
  const bool readOnly = ReadOnly || Info.STATUS == 0 || Info.STATUS == 3 || !ListRow || ListRow->Shougou.empty();
  NewListName.clear();
  NewUpdateLock = 0;
  StatusClear = 0;
  Rebuilt = 0;
  RebuildAllowed = ListRow && !ListRow->Shougou.empty() &&
                   ((Origin == 0 && ((ListRow->KyoyuLock == 0 && ListRow->NetDrive == 0) ||
                                     (ListRow->KyoyuLock == 1 && ListRow->NetDrive == 1))) ||
                    (Origin == 1 && Info.SHARE_STATUS == 1));
  lblStatus->setText(QString::fromStdString(DataStatusText(Info.STATUS)));
  const std::string bracket = "[" + AppInfo.AppTitle + "のデータ]";
  const std::string root = UpperCase(SystemDef.DataRoot);
  std::string shown = DataFolder;
  if (!root.empty())
    for (std::size_t at; (at = shown.find(root)) != std::string::npos;) shown.replace(at, root.size(), bracket);
  txtDataPath->setPlainText(QString::fromStdString(shown));
  SetHint(txtDataPath, DataFolder + "|データの場所です。\r\n\r\n" + bracket + "は、\"" + SystemDef.DataRoot + "\"です。");
  const bool allowed = Info.STATUS == 1 || (ConnectKind != 0 && Info.STATUS == 2);
  ClearShown = !allowed && ((DataModuleExists() && SystemStore().IsUnrestrictedOperator()) || InGroup(Info.OPCODE) == InGroup(SystemDef.OpCode));
  cboxStatusClear->setVisible(ClearShown);
  cboxStatusClear->setChecked(false);
  cboxDataUpdateLock->setChecked(UpdateLock == 1);
  lblDataSeigenMessage->setVisible(SystemDef.UnrestrictedOperators == 1);
  const bool inUse = Info.STATUS == 3;
  lblCode->setText(QString::fromStdString(OrNone(Info.CODE)));
  lblDataKbn->setText(QString::fromStdString(DataKindName(Info.DATAKBN, Info.CODEKBN)));
  lblName->setText(QString::fromStdString(OrNone(Info.SHOUGOU)));
  lblKana->setText(QString::fromStdString(inUse ? "-" : OrNone(Info.KANA)));
  txtListName->setText(QString::fromStdString(ListName.empty() ? Info.SHOUGOU : ListName));
  lblNendo->setText(QString::fromStdString(Info.NENDO > 0 ? Format("%d期", Info.NENDO) : kNone));
  std::string kikan = kNone;
  if (!Info.KISHU.empty() && !Info.KIMATU.empty()) {
    try {
      kikan.clear();
      FormatDateRange(kikan, StrToDateFixed(Info.KISHU), StrToDateFixed(Info.KIMATU));
      if (kikan.empty()) kikan = kNone;
    } catch (...) {  // a period that cannot be read is shown as none
      kikan = kNone;
    }
  }
  lblKikan->setText(QString::fromStdString(kikan));
  lblTanto->setText(QString::fromStdString(Info.TANTO != 0 ? Format("%d", Info.TANTO) : kNone));
  std::string bumon = kNone, siten = kNone;
  if (Info.BUMON == 1) bumon = Format("損益のみに%d部門設定", Info.BUMONCNT);
  if (Info.BUMON == 2) bumon = Format("全科目に%d部門設定", Info.BUMONCNT);
  if (Info.SITEN == 1) siten = Format("%d支店設定", Info.SITENCNT);
  lblBumonKanri->setText(QString::fromStdString(inUse ? "-" : bumon));
  lblSitenKanri->setText(QString::fromStdString(inUse ? "-" : siten));
  lblSiwakeKensu->setText(QString::fromStdString(inUse ? "-件" : Format("%d件", Info.SIWAKE)));
  readOnly_ = readOnly;
  txtListName->setEnabled(!readOnly);
  txtListName->SetColor(readOnly ? clBtnFace : clWindow);
  SetHint(txtListName,
          readOnly ? "ﾃﾞｰﾀ選択画面におけるﾃﾞｰﾀの表示名です。|「データ選択」画面におけるﾃﾞｰﾀの表示名です。\r\n決算書、試算表、元帳などの社名の印字は「基本設定」の「名称・期間」ﾀﾌﾞで変更します。"
                   : "ﾃﾞｰﾀ選択画面におけるﾃﾞｰﾀの表示名を変更できます。|「データ選択」画面におけるﾃﾞｰﾀの表示名を変更できます。\r\n決算書、試算表、元帳などの社名の印字は「基本設定」の「名称・期間」ﾀﾌﾞで変更します。");
  bool okVisible = !readOnly || ClearShown;
  if (Info.STATUS == 0) okVisible = false;
  if (Info.STATUS == 10) {
    okVisible = false;
    cboxStatusClear->setVisible(false);
    ClearShown = false;
  }
  btnOK->setVisible(okVisible);
  UpdateKeyBar();
  FirstPlacement = false;
}

std::string TDataSyosaiInfoBox::AccessFolder() const {
  if (ListRow) {
    for (std::string path : {DataFolderPath(*ListRow), NativePath(ListRow->PasName)}) {
      while (path.size() > 1 && path.back() == '/') path.pop_back();
      if (!path.empty() && UpperCase(path) == DataFolder) return path;
    }
  }
  return DataFolder;
}

std::int32_t TDataSyosaiInfoBox::RowPlace() const {
  if (ConnectKind != 1 && ConnectKind != 2) return 0;
  if (DataPlace >= 0) return DataPlace;
  if (const auto* owner = qobject_cast<const TDataSentakuBox*>(parentWidget()))
    return owner->ListCtl ? owner->ListCtl->DataPlace : owner->DataPlace;
  return SystemDef.DataPlace;
}

void TDataSyosaiInfoBox::UpdateKeyBar() {
  for (std::size_t i = 1; i <= 6; ++i) FKeys[i]->setText(QString::fromStdString(FKeyCaptions[i]));
  const bool offered = RebuildAllowed && !txtListName->ImeOnFlg();
  F7->setText(QString::fromStdString(offered ? "F7:再構築" : FKeyCaptions[7]));
}

void TDataSyosaiInfoBox::txtListNameImeStatusChange() { UpdateKeyBar(); }

void TDataSyosaiInfoBox::F1Click(TxPlButton* Sender) {
  if (Sender != F7 || F7->text().toStdString() == FKeyCaptions[7]) return;
  RebuildClick();
}

void TDataSyosaiInfoBox::FormKeyUp(Word& key, Qt::KeyboardModifiers shift) {
  if (key >= VK_F1 && key <= VK_F1 + 6) {
    F1Click(FKeys[static_cast<std::size_t>(key - VK_F1 + 1)]);
  } else if (key == VK_F1 + 7) {
    key = 0;  // F8 is consumed
  }
  TBSDI::FormKeyUp(key, shift);
}

void TDataSyosaiInfoBox::showEvent(QShowEvent* event) {
  TBSDI::showEvent(event);
  if (readOnly_) btnCancel->setFocus();
  else if (txtListName->isEnabled()) txtListName->setFocus();
}

void TDataSyosaiInfoBox::btnOKClick() {
  const std::string name = txtListName->text().toStdString();
  if (IsBlankPath(name)) {
    if (ShowSentakuBox(kMsgConfirmation, "データリスト名が入力されていません。会社名を設定しますか？",
                       MsgButtons({mbOK, mbCancel})) == mrOk)
      txtListName->setText(lblName->text());
    return;
  }
  NewListName = name;
  StatusClear = ClearShown && cboxStatusClear->isChecked() ? 1 : 0;
  NewUpdateLock = cboxDataUpdateLock->isChecked() ? 1 : 0;
  done(mrOk);
}

void TDataSyosaiInfoBox::FormClose(TCloseAction& action) {
  TBSDI::FormClose(action);
  action = caHide;
}
