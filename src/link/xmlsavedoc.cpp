#include "link/xmlsavedoc.h"

#include <stdexcept>

#include "platform/rtl/cp932.h"
#include "platform/rtl/inifile.h"
#include "platform/rtl/sysutils.h"

namespace {

// Length of the UTF-8 sequence that starts with byte b (1 for stray bytes).
std::size_t Utf8SequenceLength(unsigned char b) {
  if (b >= 0xF0) return 4;
  if (b >= 0xE0) return 3;
  if (b >= 0xC0) return 2;
  return 1;
}

std::uint32_t DecodeUtf8(std::string_view seq) {
  const auto b0 = static_cast<unsigned char>(seq[0]);
  if (seq.size() == 1) return b0;
  std::uint32_t cp = b0 & (0xFF >> (seq.size() + 1));
  for (std::size_t i = 1; i < seq.size(); ++i) cp = (cp << 6) | (static_cast<unsigned char>(seq[i]) & 0x3F);
  return cp;
}

// Escaped UTF-8 text to CP932; characters CP932 lacks become &#xHHHH;.
std::string ToCp932WithReferences(std::string_view utf8) {
  try {
    return Utf8ToCp932(utf8);
  } catch (const ETextConversion&) {
    // characters CP932 lacks: the text is written with references below
  }
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    std::size_t n = std::min(Utf8SequenceLength(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
    std::string_view seq = utf8.substr(i, n);
    try {
      out += Utf8ToCp932(seq);
    } catch (const ETextConversion&) {
      out += Format("&#x%X;", static_cast<std::int64_t>(DecodeUtf8(seq)));
    }
    i += n;
  }
  return out;
}

void WriteNode(const TXmlNode& node, int depth, std::string& out) {
  out.append(static_cast<std::size_t>(depth) * 2, ' ');
  out += '<';
  out += node.Name;
  for (const auto& [name, value] : node.Attributes) {
    out += ' ' + name + "=\"" + value + '"';
  }
  if (node.Children.empty() && node.Text.empty()) {
    out += "/>\r\n";
    return;
  }
  out += '>';
  out += node.Text;
  if (!node.Children.empty()) {
    out += "\r\n";
    for (const auto& child : node.Children) WriteNode(*child, depth + 1, out);
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
  }
  out += "</" + node.Name + ">\r\n";
}

void SetAttribute(TXmlNode& node, std::string_view name, std::string_view value) {
  const std::string escapedName = XmlEscape(name);
  for (auto& attr : node.Attributes) {
    if (attr.first == escapedName) {
      attr.second = XmlEscape(value);
      return;
    }
  }
  node.Attributes.emplace_back(escapedName, XmlEscape(value));
}

}  // namespace

std::string XmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default: out += c;
    }
  }
  return out;
}

TXmlSaveDoc::TXmlSaveDoc(std::string version, std::string encoding, std::string standAlone)
    : version_(std::move(version)), encoding_(std::move(encoding)), standAlone_(std::move(standAlone)) {}

TXmlSaveDoc::~TXmlSaveDoc() = default;

TXmlNode* TXmlSaveDoc::CreateRoot(std::string_view name, std::string_view /*namespaceUri*/) {
  root_ = std::make_unique<TXmlNode>();
  root_->Name = XmlEscape(name);
  return root_.get();
}

TXmlNode* TXmlSaveDoc::AddChild(TXmlNode* parent, std::string_view name, std::string_view attrName,
                                std::string_view attrValue) {
  if (parent == nullptr) parent = root_.get();
  if (parent == nullptr) throw std::logic_error("TXmlSaveDoc.AddChild: the document has no root element");
  auto child = std::make_unique<TXmlNode>();
  child->Name = XmlEscape(name);
  if (!attrName.empty()) SetAttribute(*child, attrName, attrValue);
  parent->Children.push_back(std::move(child));
  return parent->Children.back().get();
}

void TXmlSaveDoc::AddTextChild(TXmlNode* parent, std::string_view name, std::string_view text,
                               std::string_view attrName, std::string_view attrValue) {
  if (parent == nullptr) throw std::logic_error("TXmlSaveDoc.AddTextChild: no parent element");
  TXmlNode* child = AddChild(parent, name, attrName, attrValue);
  child->Text = XmlEscape(text);
}

void TXmlSaveDoc::SetChildValue(TXmlNode* parent, std::string_view name, std::string_view text,
                                std::string_view attrName, std::string_view attrValue) {
  TXmlNode* child = FindChild(parent, name);
  if (child == nullptr) return;  // nothing to change; the program always changes an existing element
  if (!text.empty()) child->Text = XmlEscape(text);
  if (!attrName.empty()) SetAttribute(*child, attrName, attrValue);
}

TXmlNode* TXmlSaveDoc::FindChild(TXmlNode* parent, std::string_view name) const {
  if (parent == nullptr) parent = root_.get();
  if (parent == nullptr) return nullptr;
  const std::string escaped = XmlEscape(name);
  for (const auto& child : parent->Children) {
    if (child->Name == escaped) return child.get();
  }
  return nullptr;
}

std::string TXmlSaveDoc::SaveToBytes() const {
  std::string text = "<?xml version=\"" + version_ + "\"";
  if (!encoding_.empty()) text += " encoding=\"" + encoding_ + "\"";
  if (!standAlone_.empty()) text += " standalone=\"" + standAlone_ + "\"";
  text += "?>\r\n";
  if (root_) WriteNode(*root_, 0, text);
  return ToCp932WithReferences(text);
}

void TXmlSaveDoc::Save(const std::string& fileName) const { WriteFileAtomically(fileName, SaveToBytes()); }
