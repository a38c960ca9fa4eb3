// The dictionary file between two real data sets: export and import of the
// description and partner dictionaries in the current and the older record
// kinds, the file's bytes, and the files that are refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cashbooktest.h"
#include "comm/jisyoloader.h"
#include "platform/rtl/cp932.h"

namespace {

using cashbooktest::CashBookTest;

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class JisyoLoaderTest : public CashBookTest {
 protected:
  void SetUp() override {
    CashBookTest::SetUp();
    // Data set 1: two description classifications, one partner classification.
    ExecOn(DataFile(1),
           "INSERT INTO HOJOMST (KCODE, HCODE, HNAME) VALUES ('1520', '009', '定期');"
           "INSERT INTO KAMOKU_SZ (SCODE, KCODE, HCODE, BCODE) VALUES ('', '1520', '009', ' ');"
           "INSERT INTO TEKDICTI (CREC, SCODE, SORTCODE, TEXT, MOVEMENT) VALUES (11, '', 5, '売上関係', 1);"
           "INSERT INTO TEKDICTI (CREC, SCODE, SORTCODE, TEXT, MOVEMENT) VALUES (12, '', 7, '経費関係', 0);"
           "INSERT INTO TEKDIC (TEKCODE, CREC, KANA, TEXT, SCODE, KAR_KCODE, KAR_HCODE, KAR_BCODE, KAR_TAXCODE,"
           " KAS_KCODE, KAS_HCODE, KAS_BCODE, KAS_TAXCODE, TAXOLD, HAIBUN, RTIME)"
           " VALUES (1, 11, 'ｳﾘｱｹﾞ', '現金売上 \"特\"', '', '1110', ' ', ' ', 810, '4110', ' ', ' ', 110, 0, 2,"
           " '2019-06-01 10:20:30');"
           "INSERT INTO TEKDIC (TEKCODE, CREC, KANA, TEXT, SCODE, KAR_KCODE, KAR_HCODE, KAR_BCODE, KAR_TAXCODE,"
           " KAS_KCODE, KAS_HCODE, KAS_BCODE, KAS_TAXCODE)"
           " VALUES (2, 11, 'ﾖｷﾝ', '定期' || ASCII_CHAR(13) || ASCII_CHAR(10) || '預入', '', '1520', '009', ' ', 810,"
           " '1110', ' ', ' ', 810);"
           "INSERT INTO TEKDIC (TEKCODE, CREC, KANA, TEXT, SCODE, KAR_KCODE, KAR_TAXCODE)"
           " VALUES (3, 12, 'ﾌﾞﾝｸﾞ', '文具', '', '6110', 511);"
           "INSERT INTO TORDICTI (CREC, SCODE, SORTCODE, TEXT) VALUES (21, '', 1, '得意先');"
           "INSERT INTO TORDIC (TEKCODE, CREC, KANA, TEXT, TEKTEXT, SCODE, KAR_KCODE, KAR_TAXCODE, KAS_KCODE, KAS_TAXCODE)"
           " VALUES (1, 21, 'ｴｰｼｬ', 'Ａ社', '売上代金', '', '1210', 810, '4110', 110)");
    // Data set 2 has one description classification only, and old entries.
    ExecOn(DataFile(2),
           "INSERT INTO TEKDICTI (CREC, SCODE, SORTCODE, TEXT) VALUES (31, '', 3, '旧分類');"
           "INSERT INTO TEKDIC (TEKCODE, CREC, KANA, TEXT, SCODE) VALUES (70, 31, 'ﾌﾙｲ', '古い摘要', '');"
           "INSERT INTO TORDICTI (CREC, SCODE, SORTCODE, TEXT) VALUES (41, '', 1, '');");
    ConnectDataSet(1);
    file_ = temp_.File("rqzjisyo.txt");
  }
  // Imports the file into data set 2 through a connection of its own.
  bool ImportInto2(TJisyoLoader& loader) {
    TIBDatabase db;
    db.DatabaseName = DataFile(2);
    db.Params = TIBStrings{"user_name=VFNZFR", "lc_ctype=SJIS_0208"};
    db.Open();
    TIBTransaction tr;
    tr.SetDefaultDatabase(&db);
    loader.SetDatabase(&db);
    loader.SetTransaction(&tr);
    const bool ok = loader.ImportFile(file_);
    db.Close();
    return ok;
  }
  void WriteBytes(const std::string& utf8) {
    std::ofstream out(file_, std::ios::binary | std::ios::trunc);
    out << Utf8ToCp932(utf8);
  }
  std::string file_;
};

TEST_F(JisyoLoaderTest, RoundTripCarriesUserCodesAndCleansTexts) {
  TJisyoLoader exporter;
  ASSERT_TRUE(exporter.ExportFile(file_));
  const std::string bytes = ReadBytes(file_);
  EXPECT_NE(bytes.find(Utf8ToCp932("// ファイル種別: 摘要・取引先辞書設定\r\n// ファイルVer : 1.1\r\n")), std::string::npos);
  EXPECT_NE(bytes.find(Utf8ToCp932("// データ種別  : 法人\r\n")), std::string::npos);
  // Kind 202 carries user codes, the double quote as two apostrophes, the time.
  EXPECT_NE(bytes.find(Utf8ToCp932("\"202\",11,\" \",\"ｳﾘｱｹﾞ\",\"現金売上 ''特''\",\"\",\"100\",\" \",\" \",\"810\",\"411\","
                                   "\" \",\" \",\"110\",0,0,0,0,2,\"2019/06/01 10:20:30\",\r\n")),
            std::string::npos)
      << Cp932ToUtf8Lossy(bytes);
  EXPECT_NE(bytes.find(Utf8ToCp932("\"200\",12,\" \",2,\"経費関係\",0,\r\n")), std::string::npos);
  EXPECT_NE(bytes.find(Utf8ToCp932("\"定期預入\"")), std::string::npos);

  TJisyoLoader importer;
  ASSERT_TRUE(ImportInto2(importer));
  const std::string dat2 = DataFile(2);
  // Only the target's own classification is filled; the second one's entry is dropped.
  EXPECT_EQ(RowsOn(dat2, "SELECT CREC, SORTCODE, TEXT FROM TEKDICTI ORDER BY CREC"),
            (std::vector<std::string>{"31|1|売上関係"}));
  EXPECT_EQ(RowsOn(dat2, "SELECT CREC, KANA, TEXT, KAR_KCODE, COALESCE(KAR_HCODE, '(null)'), KAS_KCODE, KAS_TAXCODE,"
                         " HAIBUN, RTIME FROM TEKDIC ORDER BY KANA"),
            (std::vector<std::string>{"31|ｳﾘｱｹﾞ|現金売上 \"特\"|1110||4110|110|2|2019/06/01 10:20:30",
                                      "31|ﾖｷﾝ|定期預入|1520|(null)|1110|810|0|"}));
  EXPECT_EQ(RowsOn(dat2, "SELECT TEXT, TEKTEXT, KAR_KCODE, KAS_KCODE FROM TORDIC"),
            (std::vector<std::string>{"Ａ社|売上代金|1210|4110"}));
  EXPECT_EQ(QueryOn(dat2, "SELECT TEXT FROM TORDICTI WHERE CREC=41"), "得意先");
}

TEST_F(JisyoLoaderTest, OlderRecordKindsCarryInternalCodes) {
  TJisyoLoader exporter;
  exporter.SetFileVersion("1.0");
  exporter.JisyoKind = 2;
  ASSERT_TRUE(exporter.ExportFile(file_));
  const std::string text = Cp932ToUtf8Lossy(ReadBytes(file_));
  EXPECT_NE(text.find("\"301\",21,\" \",\"ｴｰｼｬ\",\"Ａ社\",\"売上代金\",\"1210\",\"\",\"\",\"810\",\"4110\""), std::string::npos)
      << text;
  EXPECT_EQ(text.find("\"20"), std::string::npos);   // the description dictionary was left out
  TJisyoLoader importer;
  importer.SetFileVersion("1.0");
  importer.JisyoKind = 2;
  ASSERT_TRUE(ImportInto2(importer));
  EXPECT_EQ(RowsOn(DataFile(2), "SELECT KAR_KCODE, KAS_KCODE FROM TORDIC"), (std::vector<std::string>{"1210|4110"}));
  EXPECT_EQ(QueryOn(DataFile(2), "SELECT COUNT(*) FROM TEKDIC"), "1");   // untouched
}

TEST_F(JisyoLoaderTest, RefusedFilesChangeNothing) {
  TJisyoLoader exporter;
  ASSERT_TRUE(exporter.ExportFile(file_));
  const std::string good = Cp932ToUtf8Lossy(ReadBytes(file_));
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string t = good;
    t.replace(t.find(from), from.size(), to);
    return t;
  };
  std::string headerOnly;
  for (std::size_t at = 0; at < good.size();) {
    const std::size_t end = good.find("\r\n", at);
    if (good.compare(at, 2, "//") == 0) headerOnly += good.substr(at, end + 2 - at);
    at = end + 2;
  }
  const std::pair<const char*, std::string> cases[] = {
      {"other kind", replaced("摘要・取引先辞書設定", "科目設定")},
      {"major version 2", replaced("// ファイルVer : 1.1", "// ファイルVer : 2.0")},
      {"header only", headerOnly},
      {"empty", ""},
  };
  for (const auto& [name, text] : cases) {
    SCOPED_TRACE(name);
    WriteBytes(text);
    TJisyoLoader importer;
    EXPECT_FALSE(ImportInto2(importer));
    EXPECT_EQ(RowsOn(DataFile(2), "SELECT TEXT FROM TEKDIC"), (std::vector<std::string>{"古い摘要"}));
  }
  TJisyoLoader importer;
  EXPECT_FALSE(importer.ImportFile("  "));
}

}  // namespace
