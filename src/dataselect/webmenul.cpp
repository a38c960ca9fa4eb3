#include "dataselect/webmenul.h"

#include <QMetaObject>
#include <QPlainTextEdit>

#include <memory>
#include <stdexcept>

#include "core/globals.h"
#include "core/processforms.h"
#include "dataselect/datasentaku.h"
#include "dbaccess/fberror.h"
#include "dbaccess/systemstore.h"
#include "platform/fb/ibsql.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/dpi.h"
#include "platform/vcl/keys.h"
#include "platform/vcl/perfectgrid.h"
#include "ui/plbutton.h"

namespace {

enum : int { ucNo = 0, ucCode = 1, ucName = 2 };

const char* const kCaption = "ログインユーザー";

}  // namespace

TfmWebMenuL::TfmWebMenuL(QWidget* owner) : TBSDI(owner, bsDialog, "TfmWebMenuL") {
  setWindowTitle(kCaption);
  resize(Px(357), Px(361));

  PerfectGrid1 = new TPerfectGrid(this);
  PerfectGrid1->setObjectName("PerfectGrid1");
  PerfectGrid1->setGeometry(Px(12), Px(12), Px(333), Px(222));
  PerfectGrid1->SetFixedLefts(0);
  PerfectGrid1->SetCols(3);
  const struct { const char* header; int width; Qt::Alignment align; } columns[] = {
      {"No", 50, Qt::AlignCenter}, {"コード", 70, Qt::AlignLeft | Qt::AlignVCenter},
      {"オペレータ名", 154, Qt::AlignLeft | Qt::AlignVCenter}};
  for (int c = 0; c < 3; ++c) {
    PerfectGrid1->SetColumnHeader(c, columns[c].header);
    PerfectGrid1->SetColumnWidth(c, columns[c].width);
    PerfectGrid1->SetColumnAlignment(c, columns[c].align);
  }
  ColorPerfectGrid(PerfectGrid1, 0);

  HintArea = new QPlainTextEdit(this);
  HintArea->setObjectName("HintArea");
  HintArea->setReadOnly(true);
  HintArea->setEnabled(false);
  HintArea->setGeometry(Px(12), Px(244), Px(333), Px(68));
  HintArea->setPlainText(
      "他のオペレーターがコルベクス財務を利用中のため、バ\n"
      "ージョンアップができません。\n"
      "他のオペレータの利用がない状態で、管理者権限に\n"
      "て、バージョンアップを実行してください。");

  F1 = NewPlButton(this, "F1", "F1:ヘルプ", 12, 322, 90, 28);
  F1->hide();
  ESC = NewPlButton(this, "ESC", "ESC:ｷｬﾝｾﾙ", 159, 322, 90, 28);
  ESC->hide();
  F12 = NewPlButton(this, "F12", "F12:閉じる", 255, 322, 90, 28);
  F12->OnClick = [this](QObject*) { done(mrOk); };
  F12Button = F12;

  // A database error leaves this constructor, so the window is not created.
  if (!LoadUsers()) loadResult_ = mrCancel;
  Initialized = true;
}

TfmWebMenuL::~TfmWebMenuL() = default;

bool TfmWebMenuL::LoadUsers() {
  users_.clear();
  TIBSQL sql;
  sql.SetDatabase(&SystemStore().IBDatabaseDEF);
  sql.SetTransaction(&SystemStore().IBTransactionDEF);
  TTransactionGuard guard(SystemStore().IBTransactionDEF);
  try {
    guard.Begin();
    // The list grows with the rows read: every logged-on operator is listed.
    SetSql(sql, "SELECT * FROM LOGONUSERLIST ");
    for (sql.ExecQuery(); !sql.Eof(); sql.Next()) {
      if (sql.FieldByName("OPCODE").AsInteger() == SystemDef.OpCode) continue;
      TLoginUserR user;
      user.OpCode = sql.FieldByName("OPERATORCODE").AsInteger();
      user.GroupId = sql.FieldByName("GROUPID").AsInteger();
      users_.push_back(user);
    }
    sql.Close();
    SetSql(sql, "SELECT * FROM OPERATOR WHERE GROUPID =:GROUPID and OPCODE =:OPCODE ");
    for (TLoginUserR& user : users_) {
      sql.ParamByName("GROUPID").AsInteger(user.GroupId);
      sql.ParamByName("OPCODE").AsInteger(user.OpCode);
      sql.ExecQuery();
      if (!sql.Eof()) user.OpName = sql.FieldByName("OPNAME").AsTrimString();
      sql.Close();
    }
    guard.Commit();
  } catch (const EIBError& e) {
    guard.Rollback();
    ShowFbError(e, "TfmWebMenuL.fnDBConect_OP", "", true);
    throw;
  } catch (...) {
    guard.Rollback();
    throw;
  }
  return !users_.empty();
}

void TfmWebMenuL::SetParams(const std::vector<std::string>& Params) {
  ParamLines = Params;
  bool found = false;
  const int type = StrToIntDef(Trim(ParamValue(Params, "SyoriType", found)), -1);
  if (type >= 0) SyoriType = type;
  FormStyle = StrToIntDef(Trim(ParamValue(Params, "FormStyle", found)), 0);
  switch (FormStyle) {
    case 0: case 1: case 2: break;
    default: setWindowFlag(Qt::WindowStaysOnTopHint, true);
  }
}

void TfmWebMenuL::InitDialog(std::uint8_t Mode) {
  DialogMode = Mode;
  FirstPlacement = false;
}

std::int32_t TfmWebMenuL::Execute(std::int32_t Modal) {
  if (Modal != 1) {
    show();
    return 1;
  }
  if (MenuRequestProc && MenuRequestProc(10, "") > 0) {
    ShowSentakuBox(kMsgWarning, "メニュー以外の処理が開いています。\r全ての処理を閉じてから処理を実行してください。",
                   MsgButtons({mbYes}));
    return -1;
  }
  PlaceForm(0, 0, 0, 0, 3);
  InitDialog(1);
  ShowModal();
  return users_.empty() ? 0 : 1;
}

void TfmWebMenuL::FormShow() {
  TBSDI::FormShow();
  if (loadResult_ == mrCancel) {
    // Nobody else is logged on: the window closes at once.
    QMetaObject::invokeMethod(this, [this] { done(mrCancel); }, Qt::QueuedConnection);
    return;
  }
  PerfectGrid1->ClearRows();
  for (std::size_t i = 0; i < users_.size(); ++i) {
    const int row = PerfectGrid1->InsertRow(PerfectGrid1->Rows() + 1);
    PerfectGrid1->SetCellText(row, ucNo, std::to_string(i + 1));
    PerfectGrid1->SetCellText(row, ucCode, std::to_string(users_[i].OpCode));
    PerfectGrid1->SetCellText(row, ucName, users_[i].OpName);
  }
}

void TfmWebMenuL::FormKeyUp(Word& key, Qt::KeyboardModifiers shift) {
  if (key == VK_ESCAPE || key == VK_F1) {
    key = 0;
    return;
  }
  TBSDI::FormKeyUp(key, shift);
}

void TfmWebMenuL::FormClose(TCloseAction& action) {
  setResult(users_.empty() ? mrCancel : mrOk);
  PerfectGrid1->ClearRows();
  TBSDI::FormClose(action);
}

namespace {

// The process interface of one started window; a window whose loading failed
// is not created, and running it says so.
class TWebMenuLProcess : public IProcessForm {
 public:
  explicit TWebMenuLProcess(QWidget* owner) {
    try {
      form_ = new TfmWebMenuL(owner);
    } catch (const std::exception&) {
      form_ = nullptr;
    }
  }
  ~TWebMenuLProcess() override {
    if (form_ && !form_->isVisible()) delete form_.data();
  }
  std::int32_t Execute(std::int32_t Modal) override {
    if (form_) return form_->Execute(Modal);
    ShowSentakuBox(kMsgError, Format("%s画面の初期化に失敗しました。\r処理を終了します。", kCaption), MsgButtons({mbOK}));
    return -1;
  }
  void SetParams(const std::vector<std::string>& Params) override {
    if (form_) form_->SetParams(Params);
  }

 private:
  QPointer<TfmWebMenuL> form_;
};

const TProcessClass kWebMenuLClass{"TfmWebMenuL", [](void* owner) -> std::unique_ptr<IProcessForm> {
                                     return std::make_unique<TWebMenuLProcess>(static_cast<QWidget*>(owner));
                                   }};

const bool kRegistered = (RegisterProcessClass(&kWebMenuLClass, kProcLoginUsers), true);

}  // namespace

const TProcessClass* RegisterWebMenuL() {
  (void)kRegistered;
  RegisterProcessClass(&kWebMenuLClass, kProcLoginUsers);
  return &kWebMenuLClass;
}
