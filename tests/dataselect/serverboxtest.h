// The fixture of the shared-server selection dialog tests: a real
// installation with a second folder standing for a mounted share (mapped to
// the letter "S" in the connection settings), its areas, and the dialog
// opened offscreen.
#pragma once

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include "core/globals.h"
#include "core/uiservices.h"
#include "core/settings.h"
#include "dataselect/connsettings.h"
#include "dataselect/datadetail.h"
#include "dataselect/datasentaku.h"
#include "dataselect/serversentaku.h"
#include "dbaccess/datainfo.h"
#include "dstest.h"
#include "fixture/builder.h"
#include "fixture/description.h"
#include "platform/rtl/inifile.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/hint.h"
#include "platform/vcl/perfectgrid.h"
#include "report/engine.h"
#include "ui/corvexedit.h"
#include "ui/inputdlg.h"
#include "ui/plbutton.h"
#include "ui/xcombobox.h"
#include "ui/xedit.h"

namespace fs = std::filesystem;

namespace serverboxtest {

using dstest::DataSets;

struct TAreaDef {
  const char* folder;   // under the shared root; "sv0001/001" for a child
  const char* code;     // nullptr: an area without a data set
  const char* name;
  int shareStatus;
  int gassan;
};

class ServerBoxTest : public dstest::DsTest {
 protected:
  void SetUp() override {
    DsTest::SetUp();
    ConnectDef();
    SystemDef.OpCode = 10010;
    SystemDef.SysDir = sysDir_;
    SystemDef.ServerListUpdate = 0;
    ShareDir = "corvexzaimu";
    mount_ = root_ + "/net";
    shareRoot_ = mount_ + "/corvexzaimu";
    fs::create_directories(shareRoot_);
    WriteShareDrive("S", mount_);
  }

  // An area folder; with a code it holds a data set (the real one of
  // DataSets() when real, else a stand-in file the list never opens) and
  // its settings file.
  void MakeArea(const TAreaDef& a, bool real = false) {
    const fs::path folder = fs::path(shareRoot_) / a.folder;
    fs::create_directories(folder);
    TDataInfomationRec info;
    if (a.code) {
      const fs::path set = DataSets().dataSets[0].folder;
      if (real) {
        fs::copy_file(set / "rqacc.fdb", folder / "rqacc.fdb");
        fs::copy_file(set / "rqacc.ini", folder / "rqacc.ini");
        ReadDataInfoFile(DataInfoFileName(folder.string()), info);
      } else {
        std::ofstream(folder / "rqacc.fdb") << "data set";
      }
      info.CODE = a.code;
      info.DATALISTNAME = a.name;
      info.SHOUGOU = a.name;
      info.NENDO = 3;
      info.KISHU = "2019/04/01";
      info.KIMATU = "2020/03/31";
      info.VERSION1 = {11, 1, 0};
      info.VERSION2 = "11.1.0";
    }
    info.STATUS = dsFree;
    info.SHARE_STATUS = static_cast<std::uint8_t>(a.shareStatus);
    info.GASSANKBN = static_cast<std::uint8_t>(a.gassan);
    WriteDataInfoFile(DataInfoFileName(folder.string()), "", info);
  }

  void MakeAreas(std::initializer_list<TAreaDef> areas) {
    for (const TAreaDef& a : areas) MakeArea(a);
  }

  std::unique_ptr<TServerSentakuBox> Open() {
    auto box = std::make_unique<TServerSentakuBox>();
    box->DriveLetter = "S";
    box->PrepareSelection(1);
    box->show();
    QApplication::setActiveWindow(box.get());
    box->PerfectGrid1->setFocus();
    QApplication::processEvents();
    box->UpdateKeyBar();
    return box;
  }

  static std::vector<std::string> Column(const TServerSentakuBox& box, int col) {
    std::vector<std::string> texts;
    for (int r = 1; r <= box.PerfectGrid1->Rows(); ++r) texts.push_back(box.PerfectGrid1->CellText(r, col));
    return texts;
  }

  static int RowOfFolder(const TServerSentakuBox& box, const std::string& folder) {
    for (int r = 1; r <= box.PerfectGrid1->Rows(); ++r)
      if (box.PerfectGrid1->CellText(r, scFolder) == folder) return r;
    return 0;
  }

  bool BoxShown(const std::string& text) const {
    for (const std::string& t : BoxTexts())
      if (t.find(text) != std::string::npos) return true;
    return false;
  }

  std::string Area(const char* name) const { return shareRoot_ + "/" + name; }

  std::string mount_, shareRoot_;
};

}  // namespace serverboxtest
