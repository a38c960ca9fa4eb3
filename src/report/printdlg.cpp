#include "report/printdlg.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "core/globals.h"
#include "core/sjis.h"
#include "core/winutil.h"
#include "dbaccess/fberror.h"
#include "dbaccess/systemstore.h"
#include "platform/fb/ibx.h"
#include "platform/fb/transactionguard.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/hint.h"
#include "report/colorset.h"
#include "report/quillbox.h"

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Runs `body` on the system database's transaction; a transaction started
// here is committed (or rolled back when `rollBack` and the body failed).
// Errors are reported at the print dialog's place with `message`.
template <typename Body>
void OnStyleRow(const char* message, bool rollBack, Body body) {
  if (!DataModuleExists()) return;
  TTransactionGuard transaction(SystemStore().IBTransactionDEF);
  TIBSQL sql;
  sql.SetDatabase(&SystemStore().IBDatabaseDEF);
  sql.SetTransaction(&SystemStore().IBTransactionDEF);
  try {
    transaction.Begin();
    body(sql);
    transaction.Commit();
  } catch (...) {
    sql.Close();
    ReportCurrentException("TPrintDlgBox.GetStyleColorRec", message, true);
    if (transaction.WasActive()) return;
    if (rollBack)
      transaction.Rollback();
    else
      transaction.CommitQuietly();
  }
}

}  // namespace

void InitDefaultPrintRec(TDefaultPrintRec& rec) {
  rec = TDefaultPrintRec{};
  rec.LineColor1 = SystemDef.PLineColor1;
  rec.LineColor2 = SystemDef.PLineColor2;
  rec.NetColor1 = SystemDef.NetColor1;
  rec.NetColor2 = SystemDef.NetColor2;
}

void ApplyMonochrome(int colorFlag, TQuillbox& q) {
  if (colorFlag != 0) return;
  q.UserColor1 = q.UserColor2 = 0;
  q.OcrGreen = q.OcrBlue = q.OcrPink = q.OcrBrown = q.OcrOrange = q.OcrViolet = q.OcrPurple = 0;
  q.NetColor1 = GrayColor(q.NetColor1);
  q.NetColor2 = GrayColor(q.NetColor2);
}

std::string PrintStyleName(const std::string& title) { return Trim(FixLen("020-" + UpperCase(title), 40)); }

void ReadStyleColorRec(TDefaultPrintRec& rec) {
  if (rec.Title.empty()) return;
  OnStyleRow("ユーザー別帳票色情報の取得に失敗しました。", false, [&](TIBSQL& sql) {
    SetSql(sql,
           "SELECT LINECOLOR1,LINECOLOR2,NETCOLOR1,NETCOLOR2,SSTR FROM STYLECOLOR\n"
           "WHERE OPCODE=:OPCODE AND STYLENAME=:STYLENAME");
    sql.ParamByName("OPCODE").AsInteger(SystemDef.OpCode);
    sql.ParamByName("STYLENAME").AsString(PrintStyleName(rec.Title));
    sql.ExecQuery();
    if (!sql.Eof()) {
      auto take = [&](const char* column, TColor& into) {
        const int value = sql.FieldByName(column).AsInteger();
        if (value != -1) into = value;
      };
      take("LINECOLOR1", rec.LineColor1);
      take("LINECOLOR2", rec.LineColor2);
      take("NETCOLOR1", rec.NetColor1);
      take("NETCOLOR2", rec.NetColor2);
      rec.Extra = sql.FieldByName("SSTR").AsString();
    }
    sql.Close();
  });
}

void WriteStyleColorRec(const TDefaultPrintRec& rec) {
  if (rec.Title.empty()) return;
  const std::string style = PrintStyleName(rec.Title);
  OnStyleRow("ユーザー別帳票色情報の更新に失敗しました。", true, [&](TIBSQL& sql) {
    SetSql(sql, "SELECT COUNT(OPCODE) AS RECCNT FROM STYLECOLOR\nWHERE OPCODE=:OPCODE AND STYLENAME=:STYLENAME");
    sql.ParamByName("OPCODE").AsInteger(SystemDef.OpCode);
    sql.ParamByName("STYLENAME").AsString(style);
    sql.ExecQuery();
    const bool exists = sql.FieldByName("RECCNT").AsInteger() > 0;
    sql.Close();
    SetSql(sql, exists ? "UPDATE STYLECOLOR SET LINECOLOR1=:LINECOLOR1,LINECOLOR2=:LINECOLOR2,LINECOLOR3=:LINECOLOR3,"
                         "LINECOLOR4=:LINECOLOR4,LINECOLOR5=:LINECOLOR5,NETCOLOR1=:NETCOLOR1,NETCOLOR2=:NETCOLOR2,"
                         "SSTR=:SSTR\nWHERE OPCODE=:OPCODE AND STYLENAME=:STYLENAME"
                       : "INSERT INTO STYLECOLOR(OPCODE,STYLENAME,LINECOLOR1,LINECOLOR2,LINECOLOR3,LINECOLOR4,"
                         "LINECOLOR5,NETCOLOR1,NETCOLOR2,SSTR)\nVALUES(:OPCODE,:STYLENAME,:LINECOLOR1,:LINECOLOR2,"
                         ":LINECOLOR3,:LINECOLOR4,:LINECOLOR5,:NETCOLOR1,:NETCOLOR2,:SSTR)");
    sql.ParamByName("OPCODE").AsInteger(SystemDef.OpCode);
    sql.ParamByName("STYLENAME").AsString(style);
    auto colour = [](TColor value, std::int32_t environment) { return value == environment ? -1 : value; };
    sql.ParamByName("LINECOLOR1").AsInteger(colour(rec.LineColor1, SystemDef.PLineColor1));
    sql.ParamByName("LINECOLOR2").AsInteger(colour(rec.LineColor2, SystemDef.PLineColor2));
    for (const char* unused : {"LINECOLOR3", "LINECOLOR4", "LINECOLOR5"}) sql.ParamByName(unused).AsInteger(-1);
    sql.ParamByName("NETCOLOR1").AsInteger(colour(rec.NetColor1, SystemDef.NetColor1));
    sql.ParamByName("NETCOLOR2").AsInteger(colour(rec.NetColor2, SystemDef.NetColor2));
    sql.ParamByName("SSTR").AsString(rec.Extra);
    sql.ExecQuery();
    sql.Close();
  });
}

// ---- the dialog -------------------------------------------------------------------------------------------

TPrintDlgBox::TPrintDlgBox(QWidget* owner, const QString& name) : TBSDI(owner, bsDialog, name) {
  setFixedSize(420, 200);
  KeepOnClose = true;  // the caller owns and frees the dialog
  lblMain = new QLabel(this);
  lblMain->setObjectName("lblMain");
  lblMain->setGeometry(16, 12, 390, 36);
  lblMain->setWordWrap(true);
  lblColor = new QLabel("色指定:", this);
  lblColor->setGeometry(16, 60, 70, 22);
  grpColor = new QGroupBox(this);
  grpColor->setGeometry(90, 52, 200, 36);
  btnMono = new QRadioButton("白黒印刷", grpColor);
  btnMono->setObjectName("btnMono");
  btnMono->setGeometry(8, 8, 90, 22);
  btnMono->setChecked(true);
  btnColor = new QRadioButton("カラー印刷", grpColor);
  btnColor->setObjectName("btnColor");
  btnColor->setGeometry(100, 8, 96, 22);
  btnColorSelect = new QPushButton("色選択", this);
  btnColorSelect->setObjectName("btnColorSelect");
  btnColorSelect->setGeometry(300, 58, 80, 26);
  lblStartPage = new QLabel("開始ﾍﾟｰｼﾞ:", this);
  lblStartPage->setGeometry(16, 100, 70, 22);
  txtStartPage = new QLineEdit("1", this);
  txtStartPage->setObjectName("txtStartPage");
  txtStartPage->setGeometry(90, 100, 60, 22);
  chkBoth = new QCheckBox("両面印刷用に余白を調整する", this);
  chkBoth->setObjectName("chkBoth");
  chkBoth->setGeometry(16, 130, 300, 22);
  auto* hints = new QPlainTextEdit(this);
  hints->setObjectName("HintArea");
  hints->setReadOnly(true);
  hints->setFocusPolicy(Qt::NoFocus);
  hints->setGeometry(16, 160, 200, 30);
  HintMemo = hints;
  auto button = [this](const char* name, const char* text) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
  };
  btnPreview = button("btnPreview", "プレビュー");
  btnCopy = button("btnCopy", "コピー");
  btnOK = button("btnOK", "OK");
  btnCancel = button("btnCancel", "キャンセル");
  connect(btnOK, &QPushButton::clicked, this, [this] { OkClick(1); });
  connect(btnPreview, &QPushButton::clicked, this, [this] { OkClick(2); });
  connect(btnCopy, &QPushButton::clicked, this, [this] { OkClick(3); });
  connect(btnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
  connect(btnColorSelect, &QPushButton::clicked, this, [this] { ColorSelectClick(); });
  Initialized = true;
}

void TPrintDlgBox::InitDialog(std::uint8_t mode) {
  Mode = mode;
  LoadHints();
  ApplyOptions();
  firstShow_ = false;
}

int TPrintDlgBox::ApplyOptions() {
  setWindowTitle(Q(CaptionText));
  lblMain->setText(Q(MessageText));
  QPalette palette = lblMain->palette();
  palette.setColor(QPalette::WindowText, ColorToQColor(MessageColor));
  lblMain->setPalette(palette);
  for (QWidget* w : std::initializer_list<QWidget*>{lblColor, grpColor, btnColorSelect}) w->setVisible(ShowColor);
  lblStartPage->setVisible(ShowStartPage);
  txtStartPage->setVisible(ShowStartPage);
  chkBoth->setVisible(ShowBothSides);
  btnPreview->setVisible(ShowPreview);
  btnCopy->setVisible(ShowCopy);
  if (firstShow_) {
    int height = 200;
    if (ShowColor) height = 250;
    if (ShowStartPage || ShowBothSides) height = 300;
    setFixedSize(width(), height);
  }
  if (auto* hints = qobject_cast<QPlainTextEdit*>(HintMemo.data())) {
    hints->setGeometry(16, height() - 44, width() - 32 - 4 * 92, 36);
    hints->setPlainText(QString::fromStdString(GetLongHint(HintText)));
  }
  const int y = height() - 40;
  int x = width() - 16;
  for (QPushButton* b : {btnCancel, btnOK, btnCopy, btnPreview}) {
    if (b->isHidden()) continue;
    x -= 92;
    b->setGeometry(x, y, 88, 28);
  }
  if (PerOperator && PrintRec) ReadStyleColorRec(*PrintRec);
  SaveRestoreSettings("Fukugen");
  return 0;
}

void TPrintDlgBox::LoadHints() {
  SetHint(btnMono, "白黒で印刷する場合に選択します。");
  SetHint(btnColor, "カラーで印刷する場合に選択します。");
  SetHint(btnColorSelect, "帳票の色を選択します。");
  SetHint(txtStartPage, "印刷を開始するページ番号を入力します。");
  SetHint(chkBoth, "両面印刷用に余白を調整する場合にチェックします。");
  SetHint(btnPreview, "印刷イメージを画面に表示します。");
  SetHint(btnCopy, "帳票の内容をコピーします。");
  SetHint(btnOK, "帳票を印刷します。");
  SetHint(btnCancel, "印刷を取り止めます。");
}

std::string TPrintDlgBox::SettingValue(const std::string& key) const {
  for (const auto& line : Settings) {
    const auto eq = line.find('=');
    if (eq != std::string::npos && line.substr(0, eq) == key) return line.substr(eq + 1);
  }
  return {};
}

void TPrintDlgBox::SaveRestoreSettings(const std::string& name) {
  if (!PrintRec) return;
  const std::string which = UpperCase(name);
  if (which == "HOZON") {
    Settings.clear();
    if (ShowColor && PrintRec->ColorPrint == 1) Settings.push_back("C010=1");
    if (ShowBothSides && PrintRec->BothSides != 0) Settings.push_back("C020=1");
    std::string text;
    for (const auto& line : Settings) text += line + "\r\n";
    PrintRec->Extra = text;
  } else if (which == "FUKUGEN") {
    Settings.clear();
    for (std::string line : SplitString(PrintRec->Extra, '\n')) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!line.empty()) Settings.push_back(line);
    }
    if (ShowColor && SettingValue("C010") == "1") {
      PrintRec->ColorPrint = 1;
      btnColor->setChecked(true);
    }
    if (ShowBothSides && SettingValue("C020") == "1") {
      PrintRec->BothSides = 1;
      chkBoth->setChecked(true);
    }
  }
}

void TPrintDlgBox::OkClick(int result) {
  if (PrintRec) {
    PrintRec->ColorPrint = btnColor->isChecked() ? 1 : 0;
    const int start = StrToIntDef(Trim(txtStartPage->text().toStdString()), 0);
    PrintRec->StartPage = start == 0 ? 1 : start;
    PrintRec->BothSides = chkBoth->isChecked() ? 1 : 0;
  }
  SaveRestoreSettings("Hozon");
  Result = result;
  done(mrOk);
}

void TPrintDlgBox::FormClose(TCloseAction& action) {
  TBSDI::FormClose(action);
  if (PerOperator && PrintRec) WriteStyleColorRec(*PrintRec);
}

void TPrintDlgBox::ColorSelectClick() {
  if (!PrintRec) return;
  TPrnColorSetBox box(this);
  box.PerOperator = PerOperator;
  box.Colors = {PrintRec->LineColor1, PrintRec->LineColor2, PrintRec->NetColor1, PrintRec->NetColor2};
  box.Prepare();
  if (box.ShowModal() != mrOk) return;
  PrintRec->LineColor1 = box.Colors[0];
  PrintRec->LineColor2 = box.Colors[1];
  PrintRec->NetColor1 = box.Colors[2];
  PrintRec->NetColor2 = box.Colors[3];
  if (PerOperator) WriteStyleColorRec(*PrintRec);
}
