// The link file of real data sets, checked against expected files written by
// hand: data/empty_corporation.xml is the whole file of an empty period of the
// corporation on principle taxation; the other cases are that file with the
// values and elements that differ, each worked out by hand in the comments.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "core/globals.h"
#include "core/uiservices.h"
#include "dbaccess/datasetconnection.h"
#include "link/exportobject.h"
#include "link/exportsetup.h"
#include "link/linkbody.h"
#include "link/xmlsavedoc.h"
#include "linktest.h"
#include "platform/rtl/cp932.h"
#include "tax/taxcontext.h"

namespace fs = std::filesystem;
using namespace linktest;

namespace {

// The expected text (UTF-8, LF) with element `name` inside group `group` set
// to `value` ("" makes it an empty element).
std::string SetValue(std::string text, const std::string& group, const std::string& name, const std::string& value) {
  const std::size_t from = group.empty() ? 0 : text.find("<" + group + ">");
  const std::size_t to = group.empty() ? std::string::npos : text.find("</" + group + ">", from);
  EXPECT_NE(from, std::string::npos) << group;
  const std::size_t empty = text.find("<" + name + "/>", from);
  const std::size_t open = text.find("<" + name + ">", from);
  const std::string element = value.empty() ? "<" + name + "/>" : "<" + name + ">" + value + "</" + name + ">";
  if (empty != std::string::npos && empty < open && empty < to) {
    text.replace(empty, name.size() + 3, element);
  } else if (open != std::string::npos && open < to) {
    const std::string close = "</" + name + ">";
    const std::size_t end = text.find(close, open) + close.size();
    text.replace(open, end - open, element);
  } else {
    ADD_FAILURE() << "no element " << name << " in " << group;
  }
  return text;
}

struct Value {
  const char* group;
  const char* name;
  const char* value;
};

std::string WithValues(std::string text, std::initializer_list<Value> values) {
  for (const Value& v : values) text = SetValue(std::move(text), v.group, v.name, v.value);
  return text;
}

// The lines where two link texts differ, for the failure message.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string LineDiff(const std::string& actual, const std::string& expected) {
  const auto a = Lines(actual), e = Lines(expected);
  std::string out;
  for (std::size_t n = 0; n < std::max(a.size(), e.size()); ++n) {
    const std::string la = n < a.size() ? a[n] : "(none)", le = n < e.size() ? e[n] : "(none)";
    if (la != le) out += "line " + std::to_string(n + 1) + ": actual [" + la + "] expected [" + le + "]\n";
  }
  return out;
}

#define EXPECT_SAME_TEXT(actual, expected)                      \
  do {                                                          \
    const std::string a_ = (actual), e_ = (expected);           \
    EXPECT_TRUE(a_ == e_) << LineDiff(a_, e_);                  \
  } while (false)

std::string EmptyCorporation() { return LinkText(ExpectedLinkFile("empty_corporation.xml")); }

// The empty period of the simplified-taxed corporation: its name, KAZEIKUBUN
// "2", an empty SHIIREZEIGAKUKEISAN, and asset amounts of its tax-included
// setting (no linked journal lines).
std::string EmptySimplified() {
  return WithValues(EmptyCorporation(), {{"BASIC", "KOMONSAKINAME", "簡易商店株式会社"},
                                         {"BASIC", "KAZEIKUBUN", "2"},
                                         {"BASIC", "SHIIREZEIGAKUKEISAN", ""},
                                         {"KANPUH", "SHISANZEIKUBUN", "1"}});
}

const char* kEmptyKanpuk =
    "    <KANPUK>\n"
    "      <KESSANZEIKUBUN>1</KESSANZEIKUBUN>\n"
    "      <JIGYOSHIIRE1>0</JIGYOSHIIRE1>\n"
    "      <JIGYOSHIIRE2>0</JIGYOSHIIRE2>\n"
    "      <JIGYOHITSUYOU1>0</JIGYOHITSUYOU1>\n"
    "      <JIGYOHITSUYOU2>0</JIGYOHITSUYOU2>\n"
    "      <JIGYOKOTEISHISAN1>0</JIGYOKOTEISHISAN1>\n"
    "      <JIGYOKOTEISHISAN2>0</JIGYOKOTEISHISAN2>\n"
    "      <FUDOUSANHITSUYOU1>0</FUDOUSANHITSUYOU1>\n"
    "      <FUDOUSANHITSUYOU2>0</FUDOUSANHITSUYOU2>\n"
    "      <FUDOUSANKOTEISHISAN1>0</FUDOUSANKOTEISHISAN1>\n"
    "      <FUDOUSANKOTEISHISAN2>0</FUDOUSANKOTEISHISAN2>\n"
    "      <SONOTASHIIRE1>0</SONOTASHIIRE1>\n"
    "      <SONOTASHIIRE2>0</SONOTASHIIRE2>\n"
    "      <SONOTAHITSUYOU1>0</SONOTAHITSUYOU1>\n"
    "      <SONOTAHITSUYOU2>0</SONOTAHITSUYOU2>\n"
    "      <SONOTAKOTEISHISAN1>0</SONOTAKOTEISHISAN1>\n"
    "      <SONOTAKOTEISHISAN2>0</SONOTAKOTEISHISAN2>\n"
    "    </KANPUK>\n";

// The empty period of the individual: HOUJINKOJINKUBUN "2" and KANPUK in
// place of KANPUH.
std::string EmptyIndividual() {
  std::string text = WithValues(EmptyCorporation(), {{"BASIC", "KOMONSAKINAME", "山田商店"},
                                                     {"BASIC", "HOUJINKOJINKUBUN", "2"}});
  const std::string kanpuh = Element(text, "KANPUH");
  text.replace(text.find(kanpuh), kanpuh.size(), kEmptyKanpuk);
  return text;
}

class LinkExport : public LinkDbTest {};

// Months 10 to 12 of the fiscal year (2020-07 .. 2020-09) hold no journal
// line: every rate group of era 4 is written with all its items empty, the
// refund amounts read "0", and the file carries the fiscal year, not the
// chosen months. A&B is escaped once; ㈱ 髙 ① survive in CP932.
TEST_F(LinkExport, EmptyPeriodFramesOfTheThreeKinds) {
  Connect(kTrading);
  EXPECT_EQ(Export(10, 12), ExpectedLinkFile("empty_corporation.xml"));
  DataSetConnection().AccDatDisconnect("", false, false);

  Connect(kMixed);
  EXPECT_EQ(LinkText(Export(10, 12)), EmptySimplified());
  DataSetConnection().AccDatDisconnect("", false, false);

  Connect(kIndividual);
  const std::string individual = LinkText(Export(10, 12));
  EXPECT_SAME_TEXT(individual, EmptyIndividual());
  EXPECT_EQ(Element(individual, "KANPUH"), "");
}

// The whole year of the corporation on principle taxation.
//  10 %: sales 11,000, export sale (code 120) 2,000, sales return 1,100;
//        purchases 3,300 + fixed asset 330,000 = 333,300, purchase return 1,100;
//        debt-relief adjustment 11,000: national tax 11,000 x 7.8/110 = 780 exactly.
//  reduced 8 %: sales 5,400, purchases 1,080.
//  Simplified groups: a principle-taxed data set without a main business puts
//  every sale and return into the fourth type.
//  Both new rates in use and no old one: KEIKASHOCHIKAZEISHISAN "2".
//  Refund statement in thousands (truncated) x 1000: goods 3,300 + 1,080 - 1,100
//  = 3,280 -> 3,000; expenses 2,000 not taxable -> 2,000 / 2,000; fixed asset
//  330,000. KESSANZEIKUBUN "1" from the tax-included setting, SHISANZEIKUBUN
//  "2" from the linked journal line of kind 9.
TEST_F(LinkExport, SalesAndPurchasesAtBothRatesOnBothSides) {
  Connect(kTrading);
  const std::string expected = WithValues(EmptyCorporation(), {
      {"BASIC", "KEIKASHOCHIKAZEISHISAN", "2"},
      {"D020114", "KAZEIURIAGEZEIKOMI10", "11000"},
      {"D020114", "MENZEIURIAGEZEINUKI10", "2000"},
      {"D020114", "KAZEIURIAGEHENKANZEIKOMI10", "1100"},
      {"D020113", "KAZEIURIAGEZEIKOMI8K", "5400"},
      {"D020124", "SHIIREKAZEIZEIKOMI10", "333300"},
      {"D020124", "SHIIREHENKANKAZEIZEIKOMI10", "1100"},
      {"D020123", "SHIIREKAZEIZEIKOMI8K", "1080"},
      {"D02204", "GIMUMENJOKAZEI10", "780"},
      {"D020214", "KAZEIURIAGE4SHUZEIKOMI10", "11000"},
      {"D020224", "KAZEIHENKAN4SHUZEIKOMI10", "1100"},
      {"D020214", "MENZEIURIAGEZEINUKI10", "2000"},
      {"D020213", "KAZEIURIAGE4SHUZEIKOMI8K", "5400"},
      {"KANPUH", "SHOHINSHIIRE1", "3000"},
      {"KANPUH", "HANBAIIPPAN1", "2000"},
      {"KANPUH", "HANBAIIPPAN2", "2000"},
      {"KANPUH", "KOTEISHISAN1", "330000"},
  });
  EXPECT_SAME_TEXT(LinkText(Export(1, 12)), expected);
}

// The simplified-taxed data set whose main business is the second type: the
// correction of mixed codes moves the sale under 110 (11,000) and the
// third-type sale (3,300) and return (1,100) to the second type; the principle
// groups show the same amounts as plain sales. Only 10 %: "1".
TEST_F(LinkExport, MixedCodeCorrectionInTheSimplifiedGroups) {
  Connect(kMixed);
  const std::string expected = WithValues(EmptySimplified(), {
      {"D020114", "KAZEIURIAGEZEIKOMI10", "14300"},
      {"D020114", "KAZEIURIAGEHENKANZEIKOMI10", "1100"},
      {"D020214", "KAZEIURIAGE2SHUZEIKOMI10", "14300"},
      {"D020224", "KAZEIHENKAN2SHUZEIKOMI10", "1100"},
  });
  EXPECT_SAME_TEXT(LinkText(Export(1, 12)), expected);
}

// The individual's refund statement in yen: purchases 3,300 less the return
// 1,100; the expense 1,100; the fixed asset 55,000. Principle purchases at
// 10 %: 3,300 + 1,100 + 55,000.
TEST_F(LinkExport, RefundStatementOfAnIndividualInYen) {
  Connect(kIndividual);
  const std::string expected = WithValues(EmptyIndividual(), {
      {"D020124", "SHIIREKAZEIZEIKOMI10", "59400"},
      {"D020124", "SHIIREHENKANKAZEIZEIKOMI10", "1100"},
      {"KANPUK", "JIGYOSHIIRE1", "2200"},
      {"KANPUK", "JIGYOHITSUYOU1", "1100"},
      {"KANPUK", "JIGYOKOTEISHISAN1", "55000"},
  });
  EXPECT_SAME_TEXT(LinkText(Export(1, 12)), expected);
}

// A period with a debit import line at the old rate stops the export with the
// two-line information box and code 17; the earlier file stays byte for byte
// and no temporary file is left. A period without that line exports.
TEST_F(LinkExport, OldRateImportStopsTheExport) {
  Connect(kOldRate);
  const std::string path = TempPath("link.xml");
  { std::ofstream(path, std::ios::binary) << "earlier file\r\n"; }
  try {
    ExportTo(path, 1, 12);
    ADD_FAILURE() << "no error";
  } catch (const EDataExportError& e) {
    EXPECT_STREQ(e.what(), "計算対象外のデータ　または　計算条件が選択されました。");
    EXPECT_EQ(e.Code, 17);
    EXPECT_EQ(e.Detail, "");
  }
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].kind, kMsgInformation);
  EXPECT_EQ(shown_[0].text,
            "指定した集計期間内に旧税率（3% 又は 5%）の課税貨物に係る仕訳が存在するため,連動ファイルは作成できません。");
  EXPECT_EQ(ReadBytes(path), "earlier file\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(TempPath("")), fs::directory_iterator{}), 1);

  // The document itself: no DATA node, BASIC keeps the writer's "1".
  TSyohizeiDataExport exporter(path, 1);
  TakeDataSetIntoExport(exporter);
  TXmlSaveDoc doc("1.0", "Shift_JIS", "");
  exporter.WriteSystemNode(doc);
  exporter.WriteBasicNode(doc);
  EXPECT_THROW(exporter.WriteBody(doc), EDataExportError);
  EXPECT_EQ(doc.FindChild(nullptr, "DATA"), nullptr);
  EXPECT_EQ(doc.FindChild(doc.FindChild(nullptr, "BASIC"), "KEIKASHOCHIKAZEISHISAN")->Text, "1");

  // December to September leaves the November line out.
  shown_.clear();
  EXPECT_NE(LinkText(ExportTo(path, 3, 12)).find("<DATA>"), std::string::npos);
  EXPECT_TRUE(shown_.empty());
}

// The old-rate import check rides on the first pass's journal read, which
// must still meet every line that the check counts: a line without a tax
// direction (TAXDC 0), one whose account is missing from the chart and one
// without its link row are not aggregated, yet they stop the export as
// before; a credit line, the 8 % rate, another code, a deleted line and a line
// after the period do not. The months are October to March.
TEST_F(LinkExport, OldRateImportLinesOfEveryKindStopTheExport) {
  struct Case {
    const char* what;
    // TAISHAKU, KCODE, TAXCODE, TAXDC, OLDRATE, DELFLG, HIZUKE
    const char* values;
    bool dropLinkRow;
    bool refused;
  };
  const Case cases[] = {
      {"debit import at 5 %", "1, '5210', 521, 1, 2, 0, '2019-11-20'", false, true},
      {"no tax direction", "1, '1910', 721, 0, 1, 0, '2019-11-20'", false, true},
      {"account missing from the chart", "1, '5999', 771, 1, 2, 0, '2019-11-20'", false, true},
      {"no link row", "1, '5210', 573, 1, 1, 0, '2019-11-20'", true, true},
      {"credit side", "2, '5210', 521, 1, 2, 0, '2019-11-20'", false, false},
      {"rate 8 %", "1, '5210', 521, 1, 3, 0, '2019-11-20'", false, false},
      {"not an import code", "1, '5210', 511, 1, 2, 0, '2019-11-20'", false, false},
      {"deleted", "1, '5210', 521, 1, 2, 1, '2019-11-20'", false, false},
      {"after the period", "1, '5210', 521, 1, 2, 0, '2020-04-10'", false, false},
  };
  Connect(kOldRateVariants);
  for (const Case& c : cases) {
    Exec(std::string("INSERT INTO SIWAKE (REC, SWKREC, TAISHAKU, KCODE, TAXCODE, TAXDC, OLDRATE, DELFLG, HIZUKE, ") +
         "NUK, ZEI, RIT) VALUES (900, 900, " + c.values + ", 5000, 250, 5)");
    if (c.dropLinkRow) Exec("DELETE FROM SIWAKE2 WHERE REC=900");
    shown_.clear();
    bool refused = false;
    try {
      Export(1, 6);
    } catch (const EDataExportError& e) {
      EXPECT_EQ(e.Code, 17) << c.what;
      refused = true;
    }
    EXPECT_EQ(refused, c.refused) << c.what;
    EXPECT_EQ(shown_.size(), c.refused ? 1u : 0u) << c.what;
    Exec("DELETE FROM SIWAKE WHERE REC=900");
    Exec("DELETE FROM SIWAKE2 WHERE REC=900");
  }
}

// Whether linked journal lines of kind 9 exist is a look at the whole journal
// that the refund statement's asset method needs: one export asks the data
// set once, not once per pass, and the answer reaches the file (trading: a
// linked line exists, so the asset amounts count as tax-excluded, "2").
TEST_F(LinkExport, LinkedJournalQuestionAskedOncePerExport) {
  Connect(kTrading);
  const auto ask = TaxHooks.TaxDefUHWithLinkSiwake;
  ASSERT_TRUE(ask);
  int asked = 0;
  TaxHooks.TaxDefUHWithLinkSiwake = [&](std::int32_t value) {
    ++asked;
    return ask(value);
  };
  for (bool reuse : {true, false}) {
    asked = 0;
    const std::string text = LinkText(Export(1, 12, reuse));
    EXPECT_EQ(asked, 1) << (reuse ? "one read" : "two reads");
    EXPECT_NE(text.find("<SHISANZEIKUBUN>2</SHISANZEIKUBUN>"), std::string::npos);
  }
  TaxHooks.TaxDefUHWithLinkSiwake = ask;
}

// The second pass may start from the first pass's journal read; the files are
// the same byte for byte as with two reads.
TEST_F(LinkExport, OneJournalReadGivesTheSameFile) {
  for (int rec : {kTrading, kMixed, kIndividual, kGenerated}) {
    Connect(rec);
    EXPECT_EQ(Export(1, 12, true), Export(1, 12, false)) << "data set " << rec;
    EXPECT_EQ(Export(2, 7, true), Export(2, 7, false)) << "data set " << rec;
    DataSetConnection().AccDatDisconnect("", false, false);
  }
}

// Specific taxable purchases move the refund statement's journal tables only
// in the principle pass, where at a taxable-sales ratio of 95 % or more they
// count as not taxable. The second pass starts from the first pass's journal
// read, and the file must still be the one of two independent reads, byte for
// byte. Each case also names the not-taxable amount of the expense row, which
// shows whether the specific purchases were counted there: 50,000 - 5,000 in
// October at 100 %, 53,000 with November at exactly 95.0 %, none for the year
// at about 8.6 % (corporations in thousands of yen, individuals in yen).
TEST_F(LinkExport, OneJournalReadGivesTheSameFileWithSpecificPurchases) {
  struct Case {
    int rec;
    int from, to;
    const char* element;
    const char* notTaxable;
  };
  const Case cases[] = {
      {kSpecificCorporation, 1, 1, "HANBAIIPPAN2", "45000"},
      {kSpecificCorporation, 1, 2, "HANBAIIPPAN2", "53000"},
      {kSpecificCorporation, 1, 12, "HANBAIIPPAN2", "0"},
      {kSpecificSimplified, 1, 1, "HANBAIIPPAN2", "45000"},
      {kSpecificSimplified, 1, 2, "HANBAIIPPAN2", "53000"},
      {kSpecificSimplified, 1, 12, "HANBAIIPPAN2", "0"},
      {kSpecificIndividual, 1, 1, "JIGYOHITSUYOU2", "45000"},
      {kSpecificIndividual, 1, 2, "JIGYOHITSUYOU2", "53000"},
      {kSpecificIndividual, 1, 12, "JIGYOHITSUYOU2", "0"},
      {kSpecificRealEstate, 1, 1, "FUDOUSANHITSUYOU2", "45000"},
      {kSpecificRealEstate, 1, 2, "FUDOUSANHITSUYOU2", "53000"},
      {kSpecificRealEstate, 1, 12, "FUDOUSANHITSUYOU2", "0"},
  };
  int connected = 0;
  for (const Case& c : cases) {
    if (c.rec != connected) {
      if (connected != 0) DataSetConnection().AccDatDisconnect("", false, false);
      Connect(c.rec);
      connected = c.rec;
    }
    const std::string reused = Export(c.from, c.to, true);
    const std::string twoReads = Export(c.from, c.to, false);
    const std::string where = "data set " + std::to_string(c.rec) + ", months " + std::to_string(c.from) + "-" +
                              std::to_string(c.to);
    EXPECT_TRUE(reused == twoReads) << where << "\n" << LineDiff(LinkText(reused), LinkText(twoReads));
    const std::string element = std::string("<") + c.element + ">" + c.notTaxable + "</" + c.element + ">";
    EXPECT_NE(LinkText(twoReads).find(element), std::string::npos) << where << ": " << element;
  }
}

}  // namespace
