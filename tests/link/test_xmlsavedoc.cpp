#include "link/xmlsavedoc.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/rtl/cp932.h"

namespace {

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(XmlSaveDoc, WritesDeclarationAndNestedElementsInShiftJis) {
  TXmlSaveDoc doc("1.0", "Shift_JIS", "");
  TXmlNode* root = doc.CreateRoot("REPORT");
  TXmlNode* system = doc.AddChild(root, "SYSTEM");
  doc.AddTextChild(system, "GYOUMUPREFIX", "SY31");
  TXmlNode* basic = doc.AddChild(nullptr, "BASIC");
  doc.AddTextChild(basic, "KOMONSAKINAME", "㈱髙橋①～商店");
  doc.AddTextChild(basic, "SHIIREZEIGAKUKEISAN", "");

  const std::string expected =
      "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n"
      "<REPORT>\r\n"
      "  <SYSTEM>\r\n"
      "    <GYOUMUPREFIX>SY31</GYOUMUPREFIX>\r\n"
      "  </SYSTEM>\r\n"
      "  <BASIC>\r\n"
      "    <KOMONSAKINAME>㈱髙橋①～商店</KOMONSAKINAME>\r\n"
      "    <SHIIREZEIGAKUKEISAN/>\r\n"
      "  </BASIC>\r\n"
      "</REPORT>\r\n";
  EXPECT_EQ(doc.SaveToBytes(), Utf8ToCp932(expected));
}

TEST(XmlSaveDoc, EscapesTextOnceAndAttributes) {
  TXmlSaveDoc doc("1.0", "Shift_JIS", "yes");
  TXmlNode* root = doc.CreateRoot("REPORT");
  doc.AddTextChild(root, "NAME", "A&B <\"x\"> 'y'", "KIND", "a<b");
  const std::string text = Cp932ToUtf8(doc.SaveToBytes());
  EXPECT_NE(text.find("standalone=\"yes\""), std::string::npos);
  EXPECT_NE(text.find("<NAME KIND=\"a&lt;b\">A&amp;B &lt;&quot;x&quot;&gt; &apos;y&apos;</NAME>"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find("&amp;amp;"), std::string::npos);
}

TEST(XmlSaveDoc, CharacterOutsideCp932BecomesReference) {
  TXmlSaveDoc doc("1.0", "Shift_JIS", "");
  doc.AddTextChild(doc.CreateRoot("R"), "T", "a\xF0\x9F\x98\x80" "b");  // U+1F600
  EXPECT_NE(doc.SaveToBytes().find("<T>a&#x1F600;b</T>"), std::string::npos);
}

TEST(XmlSaveDoc, FindChildLooksAtDirectChildrenOnly) {
  TXmlSaveDoc doc("1.0", "Shift_JIS", "");
  TXmlNode* root = doc.CreateRoot("REPORT");
  TXmlNode* basic = doc.AddChild(root, "BASIC");
  doc.AddTextChild(basic, "KAZEIHOUSIKI", "0");
  EXPECT_EQ(doc.FindChild(nullptr, "BASIC"), basic);
  EXPECT_EQ(doc.FindChild(nullptr, "KAZEIHOUSIKI"), nullptr);
  doc.SetChildValue(basic, "KAZEIHOUSIKI", "1");
  doc.SetChildValue(basic, "KAZEIHOUSIKI", "");  // empty text leaves the value
  EXPECT_EQ(doc.FindChild(basic, "KAZEIHOUSIKI")->Text, "1");
}

TEST(XmlSaveDoc, FailedSaveLeavesEarlierFileUntouched) {
  const auto dir = std::filesystem::temp_directory_path() / "xmlsavedoc_test";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const auto target = dir / "link.xml";
  {
    std::ofstream(target, std::ios::binary) << "earlier";
  }
  TXmlSaveDoc doc("1.0", "Shift_JIS", "");
  doc.CreateRoot("REPORT");
  EXPECT_THROW(doc.Save((dir / "missing" / "link.xml").string()), std::exception);
  doc.Save(target.string());
  EXPECT_EQ(ReadBytes(target).rfind("<?xml", 0), 0u);
  std::size_t files = 0;
  for (auto& e : std::filesystem::directory_iterator(dir)) { (void)e; ++files; }
  EXPECT_EQ(files, 1u);
  std::filesystem::remove_all(dir);
}

}  // namespace
