#include "apptest.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QCoreApplication>
#include <QPushButton>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "core/globals.h"
#include "core/processforms.h"
#include "dataselect/datasentaku.h"
#include "platform/vcl/perfectgrid.h"
#include "dataselect/logondialog.h"
#include "dbaccess/dm.h"
#include "fixture/builder.h"
#include "fixture/description.h"
#include "link/datachoice.h"
#include "link/mainwindow.h"
#include "link/wizard.h"
#include "platform/fb/ibx.h"
#include "platform/vcl/application.h"
#include "ui/plbutton.h"
#include "ui/xedit.h"

namespace fs = std::filesystem;

namespace apptest {

namespace {

std::string SourceDir() {
  const char* dir = std::getenv("PROJECT_SOURCE_DIR");
  return dir && *dir ? dir : PROJECT_SOURCE_DIR_FALLBACK;
}

// The demo installation, built once per test process.
const fixture::Installation& CachedInstallation() {
  const std::string descDir = SourceDir() + "/tools/fixture/demo";
  return fixture::ProcessInstallation(fixture::ReadDescription(descDir), BinaryDir() + "/app-installation", "demo");
}

std::string Rebase(const std::string& path, const std::string& from, const std::string& to) {
  return path.rfind(from, 0) == 0 ? to + path.substr(from.size()) : path;
}

// The copy's settings files and data-set list name the copy's folders.
void MoveInstallation(const std::string& from, const std::string& to) {
  for (const auto& entry : fs::recursive_directory_iterator(to)) {
    if (!entry.is_regular_file() || entry.path().extension() != ".ini") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    std::string text = s.str();
    bool changed = false;
    for (std::size_t at; (at = text.find(from)) != std::string::npos; changed = true) text.replace(at, from.size(), to);
    in.close();
    if (changed) std::ofstream(entry.path(), std::ios::binary | std::ios::trunc) << text;
  }
  for (const auto& entry : fs::recursive_directory_iterator(to)) {
    if (entry.path().filename() != "rqaccdef.fdb") continue;
    TIBDatabase db;
    db.DatabaseName = entry.path().string();
    db.Params = TIBStrings{"user_name=VFNZFR", "lc_ctype=SJIS_0208"};
    db.Open();
    TIBTransaction tr;
    tr.SetDefaultDatabase(&db);
    tr.StartTransaction();
    TIBSQL sql;
    sql.SetDatabase(&db);
    sql.SetTransaction(&tr);
    sql.SQL = "UPDATE DATALIST SET PASNAME=REPLACE(PASNAME,:OLDP,:NEWP)";
    sql.ParamByName("OLDP").AsString(from);
    sql.ParamByName("NEWP").AsString(to);
    sql.ExecQuery();
    sql.Close();
    tr.Commit();
    db.Close();
  }
}

}  // namespace

std::string BinaryDir() {
  const char* dir = std::getenv("PROJECT_BINARY_DIR");
  return dir && *dir ? dir : fs::temp_directory_path().string();
}

void AppTest::SetUp() {
  EnsureApplication();
  const fixture::Installation& inst = CachedInstallation();
  std::random_device rd;
  root_ = (fs::path(BinaryDir()) / "app-tests" / ("t" + std::to_string(::getpid()) + "-" + std::to_string(rd())))
              .string();
  fs::create_directories(root_);
  fs::copy(inst.target, root_, fs::copy_options::recursive);
  MoveInstallation(inst.target, root_);
  for (const auto& [name, value] : inst.Environment())
    setenv(name.c_str(), Rebase(value, inst.target, root_).c_str(), 1);
  programDir_ = Rebase(inst.programDir, inst.target, root_);
  appDataDir_ = Rebase(inst.appDataDir, inst.target, root_);
  documentsDir_ = Rebase(inst.documentsDir, inst.target, root_);
  registryFile_ = Rebase(inst.registryFile, inst.target, root_);
  runtimeDir_ = Rebase(inst.runtimeDir, inst.target, root_);
  for (const auto& ds : inst.dataSets) dataSets_.emplace_back(ds.label, Rebase(ds.folder, inst.target, root_));

  SystemDef = TSystemDef{};
  AccInf = TACCINF{};
  ConnectKind = 0;
  AppKind = 0;
  RegisterDataSentakuBox();
  responder_.Install();
}

void AppTest::TearDown() {
  FreeDataModule();
  SetDialogResponder(nullptr);
  std::error_code ec;
  if (!HasFailure()) fs::remove_all(root_, ec);
}

std::string AppTest::DataSetFolder(const std::string& label) const {
  for (const auto& [l, folder] : dataSets_)
    if (l == label) return folder;
  ADD_FAILURE() << "no data set " << label;
  return {};
}

std::vector<std::string> AppTest::BoxTexts() const {
  std::vector<std::string> texts;
  for (const ShownDialog& shown : responder_.Shown()) {
    if (shown.kind == "TLogonBox" || shown.kind == "QFileDialog") continue;
    std::string text;
    for (std::size_t i = 0; i < shown.lines.size(); ++i) text += (i ? "\r" : "") + shown.lines[i];
    while (!text.empty() && text.back() == '\r') text.pop_back();
    texts.push_back(text);
  }
  return texts;
}

bool AppTest::BoxShown(const std::string& text) const {
  for (const auto& t : BoxTexts())
    if (t.find(text) != std::string::npos) return true;
  return false;
}

void AppTest::AnswerLogon() {
  responder_.Then([](const ShownDialog& shown) {
    auto* box = dynamic_cast<TLogonBox*>(shown.window);
    if (!box) return mrCancel;
    const fs::path dir = fs::path(BinaryDir()) / "screenshots";
    fs::create_directories(dir);
    box->grab().save(QString::fromStdString((dir / "app-logon.png").string()));
    box->txtOpCode->SetText("10");
    box->txtPassword->SetText("demo");
    box->OperatorLogonClick();
    return static_cast<TModalResult>(box->result());
  });
}

std::unique_ptr<TForm1> AppTest::StartProgram(const std::vector<std::string>& Args) {
  auto form = std::make_unique<TForm1>(Args);
  if (!form->Created()) return form;
  if (!form->InitApplication()) return form;
  form->show();
  QCoreApplication::processEvents();
  return form;
}

std::string AppTest::Next(TForm1& form) {
  form.Button2->click();
  QCoreApplication::processEvents();
  return form.Wizard1->ActivePage();
}

void AppTest::AnswerDataChoice(const std::string& folder) {
  responder_.Then([folder](const ShownDialog& shown) {
    auto* box = dynamic_cast<TDataSentakuBox*>(shown.window);
    if (!box) return mrCancel;
    if (folder.empty()) {
      box->ESCClick();
      return mrCancel;
    }
    for (int r = 1; r <= box->PerfectGrid1->Rows(); ++r) {
      if (box->GetRowDataFolder(r) != folder) continue;
      box->PerfectGrid1->SetRow(r);
      box->F12Click();
      return static_cast<TModalResult>(box->result());
    }
    ADD_FAILURE() << "no row for " << folder;
    return mrCancel;
  });
}

void AppTest::ToPeriodPage(TForm1& form, const std::string& folder) {
  ASSERT_EQ(Next(form), "page2");
  AnswerDataChoice(folder);
  form.btnDataSentaku->click();
  ASSERT_TRUE(form.DataConnected());
  ASSERT_EQ(Next(form), "page3");
}

}  // namespace apptest
