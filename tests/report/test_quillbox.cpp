// The report component: the limited settings, the page-number format, the
// file it writes (header, records, page ends) and the settings it hands on.
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/rtl/datetime.h"
#include "report/engine.h"
#include "report/quillbox.h"
#include "reporttest.h"

namespace {

using Quillbox = ReportTest;

TEST_F(Quillbox, LimitedSettersKeepOrMapValues) {
  TQuillbox q;
  struct Case {
    void (TQuillbox::*set)(int);
    int (TQuillbox::*get)() const;
    int value;
    int expected;
  };
  const Case cases[] = {
      {&TQuillbox::SetCopie, &TQuillbox::Copie, 5, 5},       {&TQuillbox::SetCopie, &TQuillbox::Copie, 0, 5},
      {&TQuillbox::SetCopie, &TQuillbox::Copie, 100, 5},     {&TQuillbox::SetZoom, &TQuillbox::Zoom, 4, 10},
      {&TQuillbox::SetZoom, &TQuillbox::Zoom, 21, 10},       {&TQuillbox::SetZoom, &TQuillbox::Zoom, 20, 20},
      {&TQuillbox::SetScale, &TQuillbox::Scale, 49, 100},    {&TQuillbox::SetPrintQuality, &TQuillbox::PrintQuality, -5, 0},
      {&TQuillbox::SetColorMode, &TQuillbox::ColorMode, 2, 2}, {&TQuillbox::SetColorMode, &TQuillbox::ColorMode, 3, 0},
      {&TQuillbox::SetDuplex, &TQuillbox::Duplex, 4, 0},     {&TQuillbox::SetCollate, &TQuillbox::Collate, 2, 0},
      {&TQuillbox::SetVRATIO, &TQuillbox::VRATIO, 30, 1030}, {&TQuillbox::SetVRATIO, &TQuillbox::VRATIO, 1040, 1040},
      {&TQuillbox::SetVRATIO, &TQuillbox::VRATIO, 60, 1000}, {&TQuillbox::SetVRATIO, &TQuillbox::VRATIO, -51, 1000},
      {&TQuillbox::SetHRATIO, &TQuillbox::HRATIO, -50, 950},
  };
  for (const auto& c : cases) {
    (q.*c.set)(c.value);
    EXPECT_EQ((q.*c.get)(), c.expected) << c.value;
  }
}

TEST_F(Quillbox, PageNumberFormatCountsMarkersAndNeverTrustsOtherPercents) {
  struct Case {
    const char* format;
    const char* stored;
    int count;
    bool stillOn;
  };
  const Case cases[] = {
      {"- %d / %D -", "- %d / %D -", 2, true},
      {"Page %d", "Page %d", 1, true},
      {"頁", "(%d/%d)", 0, false},
      {"%d %d %d", "(%d/%d)", 3, false},
      {"%d %s", "(%d/%d)", 1, false},   // a printf marker of another kind is refused
      {"%d%n", "(%d/%d)", 1, false},
      {"100%% %d", "100%% %d", 1, true},
  };
  for (const auto& c : cases) {
    TQuillbox q;
    q.PageBango = true;
    q.SetPageBangoFormat(c.format);
    EXPECT_EQ(q.PageBangoFormat(), c.stored) << c.format;
    EXPECT_EQ(q.PageBangoMarkCount(), c.count) << c.format;
    EXPECT_EQ(q.PageBango, c.stillOn) << c.format;
  }
}

using QuillboxFile = ReportTest;

TEST_F(QuillboxFile, WritesHeaderRecordsAndPageEndsAsExpected) {
  TQuillbox q;
  q.DataFile = Path("list.dat");
  q.Title = "一覧";
  q.Orientation = 1;
  q.NetColor1 = 0x123456;
  q.UserColor2 = 0xFF;
  q.PrintFom = false;
  q.SetCopie(2);
  q.SetPageBangoAlignment(TPageNoAlignment::Center);
  EXPECT_EQ(q.PageBangoAlignment(), TPageNoAlignment::Center);
  q.OpenDataFile(false);
  q.WriteHeader();  // a second header writes nothing
  q.WriteSimpleText(10, 20, "a;b", "ＭＳ 明朝", 10, "", "黒", "OFF", "left", 4);
  q.NewPage();
  q.WriteLine(1, 2, 3, 4, 1, 0, "0", false);
  q.BlankPage = 1;
  q.NewPage();
  q.WriteBox(1, 2, 3, 4, 1, 0, "黒", "白", 1);
  q.CloseDataFile();
  EXPECT_EQ(q.PageNo, 3);

  const std::string stars60(60, '*');
  const std::string expected =
      Crlf({("*QUILLBOX*" + stars60).c_str(), "*[SETTING]", ("*PATH=" + dir_).c_str(), "*VERSION=3.00",
            ("*DATE=" + FormatDateTime("yyyy/mm/dd", Date())).c_str(), "*TITLE=一覧", "*FORMFILE=",
            "*PAPERSIZE=9", "*OUTPUTPAPER=0", "*ORIENTATION=1", "*TOPMARGIN=0", "*LEFTMARGIN=0",
            "*FORMTOPMARGIN=0", "*FORMLEFTMARGIN=0", "*NETC1=$123456", "*NETC2=$C0C0C0", "*USERC1=$000000",
            "*USERC2=$0000FF", "*FORMPRINT=FALSE", "*COPIES=2", "*PAGENOSWITCH=FALSE", "*PAGENOLEFT=0",
            "*PAGENOTOP=0", "*PAGENOALIGNMENT=1", "*PAGENOFORMAT=(%d/%d)",
            (std::string(61, '*') + "QUILLBOX*").c_str(), "TEXT;10;20;a:b ;ＭＳ 明朝;10;;黒;1;LEFT;0;0;", "E;",
            "LINE;1;2;3;4;1;0;0;", "BOX;100;100;101;101;0;0;黒;白;1;", "E;", "BOX;1;2;3;4;1;0;黒;白;1;"});
  EXPECT_EQ(ReadBytes(Path("list.dat")), expected);
}

TEST_F(QuillboxFile, TemporaryNameIsCreatedBesideTheDataFileAndKeptInFull) {
  const std::string folder = Path(std::string(150, 'f'));
  std::filesystem::create_directories(folder);
  TQuillbox q;
  q.DataFile = folder + "/list.dat";
  q.OpenDataFile(true);
  q.CloseDataFile();
  EXPECT_EQ(q.DataFile.substr(0, folder.size() + 2), folder + "/~");
  EXPECT_TRUE(std::filesystem::exists(q.DataFile));
  TQBOXDEF def;
  q.FillSettings(def);
  EXPECT_EQ(def.DataFile, q.DataFile);  // long paths are never cut
  EXPECT_EQ(def.DocTitle, "QUILLBOX-3.00");

  // A folder that cannot take the file: an input/output error, and nothing left behind.
  TQuillbox bad;
  bad.DataFile = Path("missing/list.dat");
  EXPECT_THROW(bad.OpenDataFile(true), EInOutError);
  EXPECT_THROW(bad.OpenDataFile(false), EInOutError);
  EXPECT_FALSE(bad.IsOpen());
}

TEST_F(QuillboxFile, PrintDeletesTheDataFileOnlyWithDelFile) {
  for (bool del : {false, true}) {
    TQuillbox q;
    q.DataFile = Path("p.dat");
    q.OpenDataFile(false);
    q.CloseDataFile();
    q.PrnDlg = false;
    q.DelFile = del;
    q.PageBango = true;
    q.Print();
    EXPECT_EQ(std::filesystem::exists(Path("p.dat")), !del);
    EXPECT_FALSE(q.PageBango);
  }
}

}  // namespace
