// TXmlSaveDoc: the small writer the link file is built with. It owns one XML
// document, hands out its elements as plain pointers (owned by the document),
// and saves it as CP932 bytes under the declared encoding.
//
// Layout of a saved file (kept stable; the tax-return program reads it):
//   <?xml version="1.0" encoding="Shift_JIS"?>CRLF
//   elements indented by two spaces per level, one element per line, CRLF;
//   an element with text on one line: <NAME>text</NAME>;
//   an element without text or children: <NAME/>.
// Texts are escaped exactly once (A&B is written A&amp;B). A character that
// CP932 cannot carry is written as a numeric character reference.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct TXmlNode {
  std::string Name;
  std::string Text;
  std::vector<std::pair<std::string, std::string>> Attributes;
  std::vector<std::unique_ptr<TXmlNode>> Children;
};

class TXmlSaveDoc {
 public:
  TXmlSaveDoc(std::string version, std::string encoding, std::string standAlone);
  ~TXmlSaveDoc();

  // Writes the document to fileName atomically (temporary file, then rename):
  // a failure leaves an earlier file at that path untouched. Throws on failure.
  void Save(const std::string& fileName) const;
  // The bytes Save would write.
  std::string SaveToBytes() const;

  TXmlNode* CreateRoot(std::string_view name, std::string_view namespaceUri = {});
  TXmlNode* Root() const { return root_.get(); }
  TXmlNode* AddChild(TXmlNode* parent, std::string_view name, std::string_view attrName = {},
                     std::string_view attrValue = {});
  void AddTextChild(TXmlNode* parent, std::string_view name, std::string_view text,
                    std::string_view attrName = {}, std::string_view attrValue = {});
  void SetChildValue(TXmlNode* parent, std::string_view name, std::string_view text,
                     std::string_view attrName = {}, std::string_view attrValue = {});
  TXmlNode* FindChild(TXmlNode* parent, std::string_view name) const;

 private:
  std::string version_;
  std::string encoding_;
  std::string standAlone_;
  std::unique_ptr<TXmlNode> root_;
};

// The five markup characters as entities: & < > " '.
std::string XmlEscape(std::string_view text);
