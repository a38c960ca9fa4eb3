// The file-choice dialogs offscreen: the history of places in its settings
// section, the checks of OK per kind, the browse buttons with the real file
// dialog (driven through the responder), the root check and the derived
// dialog's choice of the default place.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <unistd.h>

#include "core/globals.h"
#include "core/uiservices.h"
#include "dataselect/fileoperationdlg.h"
#include "platform/rtl/inifile.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/application.h"
#include "platform/vcl/dpi.h"
#include "platform/vcl/responder.h"
#include "ui/coreservices.h"
#include "ui/plbutton.h"
#include "ui/xcheckbox.h"
#include "ui/xcombobox.h"
#include "ui/xedit.h"

namespace fs = std::filesystem;

namespace {

const char* const kSection = "DATASAVE";
const char* const kHistFile = "history.ini";
const char* const kNoFileName = "ファイル名を入力または[参照]ボタンより選択して下さい。";

// Sets an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (old_) setenv(name_, old_->c_str(), 1);
    else unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class FileOperationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    std::random_device random;
    root_ = (fs::temp_directory_path() / ("fileop-" + std::to_string(::getpid()) + "-" + std::to_string(random())))
                .string();
    for (int i = 1; i <= 11; ++i) fs::create_directories(Dir(i));
    fs::create_directories(root_ + "/ini");
    savedSystemDef_ = SystemDef;
    SystemDef.IniDir = root_ + "/ini";
    savedUi_ = CoreUi;
    InstallFrameworkServices();
    CoreUi.BrowseFolder = [this](const std::string& title, const std::string& folder, const std::string&) {
      browsed_.push_back(title + "|" + folder);
      return browseAnswer_;
    };
    responder_.Install();
  }

  void TearDown() override {
    CoreUi = savedUi_;
    SystemDef = savedSystemDef_;
    std::error_code ec;
    fs::remove_all(root_, ec);
  }

  std::string Dir(int i) const { return root_ + "/place" + std::to_string(i); }
  std::string HistPath() const { return root_ + "/ini/" + kHistFile; }

  void WriteHistory(const std::vector<int>& dirs) {
    TIniFile ini(HistPath());
    for (std::size_t i = 0; i < dirs.size(); ++i) ini.WriteString(kSection, Format("HIST%d", int(i + 1)), Dir(dirs[i]));
  }
  std::vector<std::string> StoredHistory() const { return TIniFile(HistPath()).ReadSectionValues(kSection); }
  std::vector<std::string> HistLines(const std::vector<int>& dirs) const {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < dirs.size(); ++i) lines.push_back(Format("HIST%d=%s", int(i + 1), Dir(dirs[i])));
    return lines;
  }
  std::vector<std::string> Places(const std::vector<int>& dirs) const {
    std::vector<std::string> places;
    for (int d : dirs) places.push_back(Dir(d));
    return places;
  }
  static std::vector<std::string> ComboItems(const TFileOperationBox& box) {
    std::vector<std::string> items;
    for (int i = 0; i < box.cmbFileSelect->count(); ++i) items.push_back(box.cmbFileSelect->itemText(i).toStdString());
    return items;
  }
  static void SetPlace(TFileOperationBox& box, const std::string& place) {
    box.cmbFileSelect->setEditText(QString::fromStdString(place));
  }
  void Setup(TFileOperationBox& box, std::uint8_t kind, bool history = true) {
    box.FileKind = kind;
    box.UseHistory = history;
    box.HistoryFile = kHistFile;
    box.HistorySection = kSection;
    box.CaptionText = "データの保存";
    box.MainMessage = "保存先を指定して下さい。";
    box.PlaceLabel = "保存先の場所:";
  }
  // Shows the dialog, lets `drive` work on it, clicks OK; the modal result and
  // whether the dialog was still open after the click.
  std::pair<TModalResult, bool> ShowAndOk(TFileOperationBox& box, std::function<void()> drive = {}) {
    bool stayed = false;
    responder_.Then([&](const ShownDialog& shown) {
      EXPECT_EQ(shown.caption, "データの保存");
      if (drive) drive();
      box.btnOK->click();
      stayed = box.isVisible();
      return mrNone;
    });
    const TModalResult r = box.ShowModal();
    return {r, stayed};
  }
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const ShownDialog& s : responder_.Shown()) {
      if (s.kind.rfind("TFileOperationBox", 0) == 0 || s.kind == "QFileDialog") continue;
      std::string text;
      for (const std::string& line : s.lines)
        if (!line.empty()) text += (text.empty() ? "" : "\r") + line;
      texts.push_back(s.kind + ":" + text);
    }
    return texts;
  }

  std::string root_;
  TSystemDef savedSystemDef_;
  TCoreUiServices savedUi_;
  std::optional<std::string> browseAnswer_;
  std::vector<std::string> browsed_;
  ScriptedResponder responder_{mrOk};
};

// ---- history --------------------------------------------------------------------------------

TEST_F(FileOperationTest, HistoryIsShownAndTheChosenPlaceMovesToTheTopOfAtMostEight) {
  struct Case {
    const char* name;
    std::vector<int> history;
    int defaultDir;                  // 0: none
    std::vector<int> shown;          // the place list after Prepare
    std::string choose;              // "" keeps the first entry, "#n" picks list entry n, else typed text
    std::string result;
    std::vector<std::string> stored;
  };
  const std::string typedNew = Dir(11) + "/";
  const Case cases[] = {
      {"ten lines show ten, eight written", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10},
       "#4", Dir(5), HistLines({5, 1, 2, 3, 4, 6, 7, 8})},
      {"the first place stays first once", {2, 1, 3}, 0, {2, 1, 3}, "", Dir(2), HistLines({2, 1, 3})},
      {"a listed place typed with its slash is not doubled", {1, 2, 3}, 0, {1, 2, 3}, Dir(3) + "/", Dir(3),
       {"HIST1=" + Dir(3) + "/", "HIST2=" + Dir(1), "HIST3=" + Dir(2)}},
      {"a new place goes on top", {1, 2}, 0, {1, 2}, typedNew, Dir(11),
       {"HIST1=" + typedNew, "HIST2=" + Dir(1), "HIST3=" + Dir(2)}},
      {"the default folder is appended, not stored", {1, 2}, 7, {1, 2, 7}, "", Dir(1), HistLines({1, 2})},
      {"no history: the default folder alone", {}, 7, {7}, "", Dir(7), HistLines({7})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(HistPath());
    WriteHistory(c.history);
    TFileOperationBox box;
    EXPECT_EQ(box.HistoryDir, SystemDef.IniDir);
    Setup(box, fkFolder);
    box.DefaultDir = c.defaultDir ? Dir(c.defaultDir) : "";
    box.Prepare(0);
    EXPECT_EQ(ComboItems(box), Places(c.shown));
    EXPECT_EQ(box.cmbFileSelect->currentIndex(), 0);
    const auto [r, stayed] = ShowAndOk(box, [&] {
      if (c.choose.rfind("#", 0) == 0) box.cmbFileSelect->setCurrentIndex(std::stoi(c.choose.substr(1)));
      else if (!c.choose.empty()) SetPlace(box, c.choose);
    });
    EXPECT_EQ(r, mrOk);
    EXPECT_FALSE(stayed);
    EXPECT_EQ(box.ResultPath, c.result);
    EXPECT_EQ(StoredHistory(), c.stored);
  }
}

TEST_F(FileOperationTest, HistoryIsOnlyStoredWhenOnAndDeletingKeepsTheCurrentPlace) {
  WriteHistory({1, 2, 3});
  {
    TFileOperationBox box;
    Setup(box, fkFolder, false);
    box.Prepare(0);
    EXPECT_FALSE(box.btnHistDelete->isVisibleTo(&box));
    EXPECT_EQ(ShowAndOk(box, [&] { box.cmbFileSelect->setCurrentIndex(2); }).first, mrOk);
    EXPECT_EQ(box.ResultPath, Dir(3));
    EXPECT_EQ(StoredHistory(), HistLines({1, 2, 3}));
  }
  TFileOperationBox box;
  Setup(box, fkFolder);
  box.Prepare(0);
  EXPECT_TRUE(box.btnHistDelete->isVisibleTo(&box));
  box.cmbFileSelect->setCurrentIndex(1);
  responder_.Then(mrCancel);
  box.btnHistDeleteClick();
  EXPECT_EQ(ComboItems(box), Places({1, 2, 3}));
  EXPECT_EQ(StoredHistory(), HistLines({1, 2, 3}));
  responder_.Then([](const ShownDialog& shown) {
    EXPECT_EQ(shown.kind, "確認");
    EXPECT_EQ(shown.lines.at(0), "履歴を削除します。よろしいですか？");
    return mrOk;
  });
  box.btnHistDeleteClick();
  EXPECT_EQ(ComboItems(box), Places({2}));
  EXPECT_EQ(box.cmbFileSelect->currentIndex(), 0);
  EXPECT_EQ(StoredHistory(), HistLines({2}));
  EXPECT_EQ(box.HistoryItems(), Places({2}));
}

// ---- OK per kind ----------------------------------------------------------------------------

TEST_F(FileOperationTest, OkChecksTheFileNameAndReturnsThePathByKind) {
  struct Case {
    std::uint8_t kind;
    std::string fileName;
    std::string place;
    bool accepted;
    std::string result;
    std::string message;  // kind and text of the box shown, or ""
  };
  const std::string place = Dir(1);
  const Case cases[] = {
      {fkFolder, "ignored.dat", place + "/", true, place, ""},
      {fkFolder2, "", place, true, place, ""},
      {fkOpenFile, "", place, false, "", std::string("情報:") + kNoFileName},
      {fkSaveFile, " \u3000 ", place, false, "", std::string("情報:") + kNoFileName},
      {fkSaveFile, " data.dat\u3000", place + "/", true, place + "/data.dat", ""},
      {fkOpenFile, "data.dat", place, true, place + "/data.dat", ""},
      {fkFolder, "", "  ", false, "", "情報:場所を入力または[参照]ボタンより選択して下さい。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.kind) + " [" + c.fileName + "] [" + c.place + "]");
    responder_.Clear();
    TFileOperationBox box;
    Setup(box, c.kind, false);
    box.DefaultFileName = c.fileName;
    box.Prepare(0);
    const bool fileKind = c.kind == fkOpenFile || c.kind == fkSaveFile;
    EXPECT_EQ(box.txtFileName->isVisibleTo(&box), fileKind);
    EXPECT_EQ(box.lblFileName->isVisibleTo(&box), fileKind);
    EXPECT_EQ(box.txtFileName->Text(), fileKind ? c.fileName : "");
    box.ResultPath.clear();
    const auto [r, stayed] = ShowAndOk(box, [&] { SetPlace(box, c.place); });
    EXPECT_EQ(r == mrOk, c.accepted);
    EXPECT_EQ(stayed, !c.accepted);
    EXPECT_EQ(box.ResultPath, c.result);
    const std::vector<std::string> expected = c.message.empty() ? std::vector<std::string>{}
                                                                : std::vector<std::string>{c.message};
    EXPECT_EQ(BoxTexts(), expected);
  }
}

TEST_F(FileOperationTest, RootPlaceNeedsConsentWhileAccountControlIsOn) {
  const std::string registry = root_ + "/registry.ini";
  TIniFile(registry).WriteString("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System", "EnableLUA", "1");
  ScopedEnv reg("VERUDA_REGISTRY_FILE", registry);
  ScopedEnv docs("VERUDA_DOCUMENTS_DIR", Dir(9));
  TFileOperationBox box;
  Setup(box, fkSaveFile);
  box.DefaultFileName = "save.dat";
  box.Prepare(0);
  bool stayedAfterNo = false;
  responder_.Then([&](const ShownDialog&) {
    SetPlace(box, "/");
    box.btnOK->click();  // answered No below: the dialog stays
    stayedAfterNo = box.isVisible();
    box.btnOK->click();  // answered Yes: the Documents folder is used
    return mrNone;
  });
  responder_.Then(mrNo).Then(mrYes);
  EXPECT_EQ(box.ShowModal(), mrOk);
  EXPECT_TRUE(stayedAfterNo);
  EXPECT_EQ(box.ResultPath, Dir(9) + "/save.dat");
  ASSERT_EQ(BoxTexts().size(), 2u);
  EXPECT_EQ(BoxTexts()[0].substr(0, BoxTexts()[0].find(':')), "警告");
}

// ---- browsing -------------------------------------------------------------------------------

TEST_F(FileOperationTest, BrowsingPutsTheChosenPlaceOnTopAndTheNameInTheEdit) {
  std::ofstream(Dir(4) + "/old.dat") << "x";
  struct Case {
    std::uint8_t kind;
    std::string chosen;  // the file or folder picked in the browser
    std::string place, name;
  };
  const Case cases[] = {
      {fkOpenFile, Dir(4) + "/old.dat", Dir(4), "old.dat"},
      {fkSaveFile, Dir(5) + "/new.dat", Dir(5), "new.dat"},
      {fkFolder, Dir(2), Dir(2), ""},
      {fkFolder2, Dir(6), Dir(6), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.chosen);
    WriteHistory({1, 2, 3});
    responder_.Clear();
    browsed_.clear();
    TFileOperationBox box;
    Setup(box, c.kind);
    box.DefaultExt = "DAT";
    box.FilterName = "保存ﾃﾞｰﾀ";
    box.DefaultFileName = "old.dat";
    box.Prepare(0);
    box.cmbFileSelect->setCurrentIndex(1);
    browseAnswer_ = c.chosen;
    responder_.Then([&](const ShownDialog& shown) {
      EXPECT_EQ(shown.kind, "QFileDialog");
      auto* dialog = qobject_cast<QFileDialog*>(shown.window);
      EXPECT_NE(dialog, nullptr);
      if (!dialog) return mrCancel;
      EXPECT_EQ(shown.caption, "ファイルの選択");
      EXPECT_EQ(dialog->nameFilters(), (QStringList{"保存ﾃﾞｰﾀ (*.dat)", "すべてのﾌｧｲﾙ(*.*) (*)"}));
      EXPECT_EQ(dialog->acceptMode(), c.kind == fkSaveFile ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
      // The file named in the edit does not exist in the chosen place: the dialog opens there.
      if (c.kind == fkOpenFile) {
        EXPECT_EQ(dialog->directory().absolutePath().toStdString(), Dir(2));
      }
      auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
      EXPECT_NE(edit, nullptr);
      if (!edit) return mrCancel;
      edit->setText(QString::fromStdString(c.chosen));
      QMetaObject::invokeMethod(dialog, "accept");  // as the dialog's own OK: an open dialog wants an existing file
      return mrNone;
    });
    box.btnSansyoClick();
    const bool folder = c.kind == fkFolder || c.kind == fkFolder2;
    EXPECT_EQ(browsed_, folder ? std::vector<std::string>{"フォルダの選択|" + Dir(2)} : std::vector<std::string>{});
    const std::vector<std::string> expected =
        c.place == Dir(2) ? Places({1, 2, 3}) : std::vector<std::string>{c.place, Dir(1), Dir(2), Dir(3)};
    EXPECT_EQ(ComboItems(box), expected);
    EXPECT_EQ(box.cmbFileSelect->currentText().toStdString(), c.place);
    if (!folder) {
      EXPECT_EQ(box.txtFileName->Text(), c.name);
    }
    // A cancelled browser changes nothing.
    browseAnswer_.reset();
    if (!folder) responder_.Then(mrCancel);
    box.btnSansyoClick();
    EXPECT_EQ(ComboItems(box), expected);
  }
}

// ---- the derived dialog ---------------------------------------------------------------------

TEST_F(FileOperationTest, DefaultPlaceChoiceDisablesThePlaceAndSkipsTheHistory) {
  WriteHistory({1, 2});
  TFileOperationBoxEx1 box;
  EXPECT_EQ(box.SelectMode, 1);
  EXPECT_TRUE(box.btnSelect1->isChecked());
  Setup(box, fkFolder);
  box.Prepare(0);
  EXPECT_EQ(box.btnSelect2->y(), box.txtFileName->y());
  EXPECT_EQ(box.height(), Px(360));
  const std::vector<QWidget*> placeControls{box.lblFileSelect, box.cmbFileSelect, box.btnSansyo,
                                            box.btnHistDelete, box.lblFileName, box.txtFileName};
  const auto [r2, stayed2] = ShowAndOk(box, [&] {
    box.btnSelect2->click();
    for (QWidget* w : placeControls) EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    box.cmbFileSelect->setCurrentIndex(1);
  });
  EXPECT_EQ(r2, mrOk);
  EXPECT_FALSE(stayed2);
  EXPECT_EQ(box.SelectMode, 2);
  EXPECT_EQ(StoredHistory(), HistLines({1, 2}));

  // Back to the chosen place: the base checks apply, and the history is stored.
  box.FileKind = fkOpenFile;
  box.DefaultFileName = "";
  box.SetSelectMode(1);
  box.Prepare(0);
  EXPECT_GT(box.btnSelect2->y(), box.txtFileName->y());
  for (QWidget* w : placeControls) EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
  responder_.Clear();
  auto [r1, stayed1] = ShowAndOk(box, [&] { box.cmbFileSelect->setCurrentIndex(1); });
  EXPECT_NE(r1, mrOk);
  EXPECT_TRUE(stayed1);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{std::string("情報:") + kNoFileName});
  std::tie(r1, stayed1) = ShowAndOk(box, [&] {
    box.cmbFileSelect->setCurrentIndex(1);
    box.txtFileName->SetText("restore.dat");
  });
  EXPECT_EQ(r1, mrOk);
  EXPECT_EQ(box.SelectMode, 1);
  EXPECT_EQ(box.ResultPath, Dir(2) + "/restore.dat");
  EXPECT_EQ(StoredHistory(), HistLines({2, 1}));
}

}  // namespace
