// The export object without a database: the link settings file Veruda.ini,
// the installed product's registry values, and the SYSTEM and BASIC nodes.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/appinfo.h"
#include "core/uiservices.h"
#include "link/exportobject.h"
#include "link/xmlsavedoc.h"
#include "platform/rtl/cp932.h"
#include "platform/rtl/inifile.h"
#include "platform/win/registry.h"

namespace fs = std::filesystem;

namespace {

class ExportObject : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "link-export-XXXXXX").string();
    dir_ = mkdtemp(pattern.data());
    setenv("VERUDA_APPDATA_DIR", dir_.c_str(), 1);
    setenv("VERUDA_REGISTRY_FILE", (dir_ + "/registry.ini").c_str(), 1);
    SetDefaultAppInfo(AppInfo);
  }
  void TearDown() override {
    unsetenv("VERUDA_APPDATA_DIR");
    unsetenv("VERUDA_REGISTRY_FILE");
    fs::remove_all(dir_);
  }
  std::string SettingsFile() const { return dir_ + "/norvane/corvexzaimu/ini/Veruda.ini"; }
  void RegisterProduct(const std::string& key, const std::string& product, const std::string& version) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\NORVANE\\" + key, true));
    reg.WriteString("Product", product);
    reg.WriteString("Version", version);
  }
  std::string dir_;
};

TEST_F(ExportObject, SettingsFileRemembersTheLastChoicesWithoutACaller) {
  {
    TComDataExport exporter("", 0);
    EXPECT_TRUE(fs::is_directory(dir_ + "/norvane/corvexzaimu/ini"));
    EXPECT_EQ(exporter.ExportFile, "");
    EXPECT_EQ(exporter.FunctionId, 1);
    exporter.ExportFile = "/home/user/Documents/link.xml";
    exporter.KomonsakiName = "株式会社前回";
    exporter.DataPath = "data/0001";
  }
  TIniFile ini(SettingsFile());
  EXPECT_EQ(ini.ReadString("SYOUHIZEI", "EXPORTFILE", "?"), "/home/user/Documents/link.xml");
  EXPECT_EQ(ini.ReadString("SYOUHIZEI", "KOMONSAKI", "?"), "株式会社前回");
  EXPECT_EQ(ini.ReadString("SYOUHIZEI", "DATA", "?"), "data/0001");

  {
    TComDataExport again("/caller/ignored.xml", 0);  // value 0: the file's path wins
    EXPECT_EQ(again.ExportFile, "/home/user/Documents/link.xml");
    EXPECT_EQ(again.KomonsakiName, "株式会社前回");
  }
  {
    TComDataExport called("/caller/out.xml", 3);  // a caller's value: its path stays
    EXPECT_EQ(called.ExportFile, "/caller/out.xml");
    EXPECT_EQ(called.FunctionId, 3);
    EXPECT_EQ(called.CallerValue, 3);
  }
  ini.Reload();
  EXPECT_EQ(ini.ReadString("SYOUHIZEI", "EXPORTFILE", "?"), "/home/user/Documents/link.xml");
  EXPECT_EQ(TComDataExport::SettingsSection("RC_G"), "RENKETUNOUZEI_G");
  EXPECT_EQ(TComDataExport::SettingsSection("XX"), "");
}

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST_F(ExportObject, SettingsFileWithAStrayByteKeepsRemembering) {
  fs::create_directories(dir_ + "/norvane/corvexzaimu/ini");
  const std::string before =
      "; \x81\x20\r\n[HOJINZEI]\r\nDATA=\xFF\xFE\r\n[SYOUHIZEI]\r\nEXPORTFILE=/old\x80.xml\r\n";
  std::ofstream(SettingsFile(), std::ios::binary) << before;
  std::vector<std::string> errors;
  CoreUi.ShowError = [&](const std::string& text) { errors.push_back(text); };
  {
    TComDataExport exporter("", 0);
    exporter.ExportFile = "/home/user/文書/link.xml";
    exporter.KomonsakiName = "株式会社今回";
  }
  EXPECT_EQ(errors, std::vector<std::string>{});
  EXPECT_EQ(Bytes(SettingsFile()), "; \x81\x20\r\n[HOJINZEI]\r\nDATA=\xFF\xFE\r\n[SYOUHIZEI]\r\n"
                                   "EXPORTFILE=/home/user/\x95\xB6\x8F\x91/link.xml\r\nDATA=\r\n"
                                   "KOMONSAKI=\x8A\x94\x8E\xAE\x89\xEF\x8E\xD0\x8D\xA1\x89\xF1\r\n");

  // A path Shift-JIS cannot carry: the other keys are still written, and the
  // user learns that the path was not remembered.
  {
    TComDataExport exporter("", 0);
    exporter.ExportFile = "/home/user/😀.xml";
    exporter.KomonsakiName = "株式会社次回";
  }
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].rfind("設定ファイル(" + SettingsFile() + ")に書き込めませんでした。\r", 0), 0u) << errors[0];
  EXPECT_NE(errors[0].find("EXPORTFILE"), std::string::npos) << errors[0];
  TIniFile ini(SettingsFile());
  EXPECT_EQ(ini.ReadString("SYOUHIZEI", "KOMONSAKI", ""), "株式会社次回");
  EXPECT_EQ(ini.ReadString("SYOUHIZEI", "EXPORTFILE", ""), "/home/user/文書/link.xml");

  // A settings file that cannot be written at all is reported with its reason.
  fs::remove(SettingsFile());
  fs::create_directory(SettingsFile());
  { TComDataExport exporter("", 0); }
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[1], "設定ファイル(" + SettingsFile() + ")に書き込めませんでした。\r同じ名前のフォルダがあります。");
  CoreUi.ShowError = nullptr;
}

// An export object whose link body is empty: the frame alone is written.
class FrameOnly : public TComDataExport {
 public:
  FrameOnly() : TComDataExport("", 1) {}
  void WriteBody(TXmlSaveDoc&) override {}
};

TEST_F(ExportObject, TheLinkFileIsWrittenThroughALinkAndNeverOverASpecialFile) {
  FrameOnly exporter;
  fs::create_directory(dir_ + "/out");
  std::ofstream(dir_ + "/out/real.xml") << "earlier";
  fs::create_symlink(dir_ + "/out/real.xml", dir_ + "/link.xml");
  exporter.ExportFile = dir_ + "/link.xml";
  WriteLinkFile(exporter);
  EXPECT_TRUE(fs::is_symlink(dir_ + "/link.xml"));
  EXPECT_EQ(Bytes(dir_ + "/out/real.xml").rfind("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>", 0), 0u);

  // A file name of 255 bytes.
  exporter.ExportFile = dir_ + "/out/" + std::string(251, 'a') + ".xml";
  WriteLinkFile(exporter);
  EXPECT_TRUE(fs::is_regular_file(exporter.ExportFile));

  ASSERT_EQ(::mkfifo((dir_ + "/pipe.xml").c_str(), 0600), 0);
  fs::create_symlink("/dev/null", dir_ + "/null.xml");
  fs::create_directory(dir_ + "/folder.xml");
  struct Case {
    const char* name;
    const char* reason;
  } cases[] = {{"pipe.xml", "名前付きパイプ(FIFO)のため書き込めません。"},
               {"null.xml", "デバイスのため書き込めません。"},
               {"folder.xml", "同じ名前のフォルダがあります。"},
               {"missing/x.xml", "保存先のフォルダがありません。"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    exporter.ExportFile = dir_ + "/" + c.name;
    try {
      WriteLinkFile(exporter);
      ADD_FAILURE() << "written";
    } catch (const EDataExportError& e) {
      EXPECT_EQ(std::string(e.what()), "中間ファイル(" + exporter.ExportFile + ")を作成できませんでした。");
      EXPECT_EQ(e.Detail, c.reason);
      EXPECT_NE(e.Code, 16);
      EXPECT_NE(e.Code, 6);
    }
  }
  EXPECT_TRUE(fs::is_fifo(dir_ + "/pipe.xml"));
  EXPECT_TRUE(fs::is_symlink(dir_ + "/null.xml"));
  EXPECT_TRUE(fs::is_directory(dir_ + "/folder.xml"));
}

TEST_F(ExportObject, ProductNameAndVersionFromTheNewestKeyOfVersion11) {
  {
    TComDataExport none("", 0);  // no key: empty values, no error
    EXPECT_EQ(none.ProgramName, "");
    EXPECT_EQ(none.ProgramVer, "");
  }
  RegisterProduct("CORVEXZAIMU10", "財務10", "10.4.0");
  RegisterProduct("CORVEXZAIMU11", "財務11", "11.1.0");
  RegisterProduct("CorvexZaimu11_R2", "財務11 R2", "11.2.0");
  RegisterProduct("CORVEXZAIMU12OLD", "財務12", "12.0.0");
  TComDataExport exporter("", 0);
  EXPECT_EQ(exporter.ProgramName, "財務11 R2");
  EXPECT_EQ(exporter.ProgramVer, "11.2.0");
  EXPECT_EQ(exporter.Caption, "消費税のヴェルダ（令和元年度版 以降） from 財務11 R2");
  EXPECT_EQ(TComDataExport::GetProductRegValue(10, 0, "Version"), "10.4.0");
}

TEST_F(ExportObject, FrameOfASimplifiedIndividual) {
  RegisterProduct("CORVEXZAIMU11", "財務<11>", "11.1.0");
  TComDataExport exporter("", 4);
  exporter.KomonsakiName = "山田 & 子";
  exporter.PeriodFrom = EncodeDate(2020, 1, 1);
  exporter.PeriodTo = EncodeDate(2020, 12, 31);
  exporter.CompanyKind = 2;
  exporter.TaxKanni = 1;
  TXmlSaveDoc doc("1.0", "Shift_JIS", "");
  exporter.WriteSystemNode(doc);
  exporter.WriteBasicNode(doc);
  EXPECT_EQ(Cp932ToUtf8(doc.SaveToBytes()),
            "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n"
            "<REPORT>\r\n"
            "  <SYSTEM>\r\n"
            "    <GYOUMUPREFIX>SY31</GYOUMUPREFIX>\r\n"
            "    <VERSION>1</VERSION>\r\n"
            "    <FUNCTIONID>4</FUNCTIONID>\r\n"
            "    <CONNECTEDPROGRAMVER>11.0.2</CONNECTEDPROGRAMVER>\r\n"
            "    <PROGRAMNAME>財務&lt;11&gt;</PROGRAMNAME>\r\n"
            "    <PROGRAMVER>11.1.0</PROGRAMVER>\r\n"
            "  </SYSTEM>\r\n"
            "  <BASIC>\r\n"
            "    <KOMONSAKINAME>山田 &amp; 子</KOMONSAKINAME>\r\n"
            "    <JIGYOUNENDOFROM>20200101</JIGYOUNENDOFROM>\r\n"
            "    <JIGYOUNENDOTO>20201231</JIGYOUNENDOTO>\r\n"
            "    <HOUJINKOJINKUBUN>2</HOUJINKOJINKUBUN>\r\n"
            "    <KAZEIKUBUN>2</KAZEIKUBUN>\r\n"
            "    <KEIKASHOCHIKAZEISHISAN>1</KEIKASHOCHIKAZEISHISAN>\r\n"
            "    <URIAGEZEIGAKUKEISAN>1</URIAGEZEIGAKUKEISAN>\r\n"
            "    <SHIIREZEIGAKUKEISAN/>\r\n"
            "  </BASIC>\r\n"
            "</REPORT>\r\n");
}

TEST_F(ExportObject, FormIdWithoutABranchAndTheAbstractBody) {
  TComDataExport exporter("", 0);
  TXmlSaveDoc doc("1.0", "Shift_JIS", "");
  exporter.WriteSystemNode(doc);
  exporter.FormId = "ZZ99";
  try {
    exporter.WriteBasicNode(doc);
    ADD_FAILURE();
  } catch (const EDataExportError& e) {
    EXPECT_STREQ(e.what(), "業務Prefixが条件に加えられていません。");
    EXPECT_EQ(e.Detail, "SetBasicNode(BASICﾉｰﾄﾞを作成)");
    EXPECT_EQ(e.Code, 256);
  }
  EXPECT_THROW(exporter.WriteBody(doc), Exception);
  EXPECT_EQ(exporter.ExportKind, 0);
}

}  // namespace
