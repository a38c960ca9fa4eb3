// Renders each dialog to a PNG under the build folder's "screenshots" for
// people to look at (no pixel comparison: the files only have to exist).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <QApplication>
#include <QPixmap>
#include <QVBoxLayout>

#include "core/globals.h"
#include "platform/vcl/application.h"
#include "platform/vcl/perfectgrid.h"
#include "platform/vcl/responder.h"
#include "ui/checkedcombo.h"
#include "ui/dateedit.h"
#include "ui/inputdlg.h"
#include "ui/kikanpanel.h"
#include "ui/messagebox.h"
#include "ui/messagebox2.h"
#include "ui/progressdialog.h"
#include "ui/sdi.h"

namespace {

std::filesystem::path ShotFolder() {
  const char* bin = std::getenv("PROJECT_BINARY_DIR");
  std::filesystem::path dir = std::filesystem::path(bin ? bin : ".") / "screenshots";
  std::filesystem::create_directories(dir);
  return dir;
}

void Save(QWidget* w, const std::string& name) {
  QApplication::processEvents();
  const QPixmap shot = w->grab();
  const auto path = ShotFolder() / (name + ".png");
  ASSERT_TRUE(shot.save(QString::fromStdString(path.string()), "PNG")) << path;
  EXPECT_GT(std::filesystem::file_size(path), 0u);
}

// Answers every dialog by saving its picture first.
struct ShootingResponder : ScriptedResponder {
  std::string next;
  TModalResult Respond(const ShownDialog& shown) override {
    if (!next.empty()) Save(shown.window, next);
    next.clear();
    return ScriptedResponder::Respond(shown);
  }
};

struct ScreenshotTest : ::testing::Test {
  void SetUp() override {
    EnsureApplication();
    BuildGengoTable();
    responder.Install();
  }
  ShootingResponder responder;
};

}  // namespace

TEST_F(ScreenshotTest, MessageBoxes) {
  const char* names[] = {"messagebox2_warning", "messagebox2_error", "messagebox2_information",
                         "messagebox2_confirmation"};
  for (int kind = 0; kind < 4; ++kind) {
    TMessage2InfoRec info;
    InitMessage2Info(static_cast<std::uint8_t>(kind), info);
    info.Lines[0].Text = "選択したデータを処理します。";
    info.Lines[1].Text = "処理中はほかの操作を行わないでください。";
    info.Lines[2] = {"注意）この操作は元に戻せません。", 255};
    if (kind == 3) {
      info.Buttons = MsgButtons({mbYes, mbNo, mbCancel});
      info.AgreeMode = 1;
      info.AgreeCaption = "同意する";
    }
    responder.next = names[kind];
    ShowMessageBox2(info);
  }
  TMessage2InfoRec canned;
  InitMessage2Info(0, canned);
  canned.MessageNo = 0x10003010;
  responder.next = "messagebox2_canned";
  ShowMessageBox2(canned);

  TMessageInfoRec info;
  InitMessageInfo(info);
  info.Kind = 2;
  info.Caption = "データのロック";
  info.Text = "次のデータはほかのコンピュータで使用中です。";
  info.Lines = {"001 株式会社サンプル商事", "002 有限会社テスト工業"};
  info.AgreeCaption = "内容を確認しました。";
  responder.next = "messagebox";
  ShowMessageBox(info);
}

TEST_F(ScreenshotTest, InputDialogs) {
  TInputDlgBox dlg;
  dlg.CaptionText = "入力";
  dlg.HintText = "名前|新しいデータ領域の名前を入力します。";
  const struct { int mode; const char* name; const char* message; } modes[] = {
      {0, "inputdlg_text", "新しいデータ領域のフォルダ名を入力して下さい。"},
      {1, "inputdlg_password", "パスワードを入力して下さい。"},
      {2, "inputdlg_combo", "データ場所を選択して下さい。"},
      {3, "inputdlg_amount", "金額を入力して下さい。"},
      {4, "inputdlg_dates", "期間を入力して下さい。"}};
  dlg.ComboItems = {"本社", "大阪支店"};
  dlg.Date1 = EncodeDate(2023, 4, 1);
  dlg.Date2 = EncodeDate(2024, 3, 31);
  for (const auto& m : modes) {
    dlg.InputMode = m.mode;
    dlg.MessageText = m.message;
    dlg.InputText = m.mode == 3 ? "1,234,000" : m.mode == 2 ? "本社" : "DATA01";
    dlg.Prepare(true);
    responder.next = m.name;
    dlg.ShowModal();
  }
}

TEST_F(ScreenshotTest, ProgressAndControls) {
  TxAnimeProgressDialog progress;
  progress.SetCaption("データの保存");
  progress.SetInfoLabel("データを保存しています...");
  progress.SetCommonAVI(aviCopyFiles);
  progress.Show(nullptr);
  Save(progress.Handle(), "progress");
  progress.Close();

  QWidget form;
  form.setWindowTitle("コントロール");
  auto* layout = new QVBoxLayout(&form);
  auto* p16 = new TxKikanPanel16;
  p16->SetKikan(99, EncodeDate(2023, 4, 1), EncodeDate(2024, 3, 31), EncodeDate(2023, 4, 1));
  p16->SetStno(4);
  p16->SetEdno(9);
  auto* date = new TCorvexExDateEdit;
  date->SetEditStyle(desYearMonthDayHMS);
  date->SetEraTable(GengoTable);
  date->SetDateTime(EncodeDate(2020, 4, 1) + EncodeTime(10, 30, 0, 0));
  auto* grid = new TPerfectGrid;
  grid->SetCols(3);
  grid->SetColumnHeader(0, "コード");
  grid->SetColumnHeader(1, "会社名");
  grid->SetColumnHeader(2, "年度");
  for (int i = 1; i <= 3; ++i) {
    grid->InsertRow(99);
    grid->SetCellText(i, 0, "00" + std::to_string(i));
    grid->SetCellText(i, 1, i == 2 ? "株式会社テスト" : "サンプル商事");
    grid->SetCellText(i, 2, "令和5年");
  }
  SystemDef.ClientColor1 = 0xFFFFFF;
  SystemDef.ClientColor2 = 0xF0F8FF;
  SystemDef.ColHeaderColor = 0xE0E0E0;
  SystemDef.ActiveColor = 0x0000FF;
  TBSDI::ColorPerfectGrid(grid, 0);
  grid->SetRowTextColor(2, clRed);
  grid->SetRow(1);
  auto* combo = new TxCheckedComboBox;
  combo->SetItems({"山田", "佐藤", "鈴木"});
  combo->ClickCheck(0, true);
  combo->ClickCheck(2, true);
  for (QWidget* w : std::initializer_list<QWidget*>{p16, date, grid, combo}) layout->addWidget(w);
  form.resize(420, 320);
  form.show();
  Save(&form, "controls");
}
