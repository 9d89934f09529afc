#include "platform/XmlDom.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <set>

#include "platform/CodePage.h"

namespace krv {

// A created element belongs to its document before it has a parent. pugixml keeps every node in
// the tree, so such an element waits at the top level of the document and is hidden from what the
// document shows (its root element, its top-level nodes, its XML, XPath answers) until it is
// placed. It stays one node throughout, so every handle to it keeps working after the move.
struct XmlDocumentData {
    pugi::xml_document doc;
    std::set<pugi::xml_node> detached;
    XmlParseError parseError;

    bool IsDetached(pugi::xml_node node) const { return detached.count(node) != 0; }
};

namespace {

constexpr int kErrUnsupportedEncoding = 100;  // beyond pugixml's own status codes
constexpr int kErrRefused = -2147467259;      // E_FAIL, for calls the document refuses

// pugixml's parse options for documents as the DOM keeps them: declaration, document type,
// comments and processing instructions are nodes; whitespace-only text is dropped.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_declaration |
                                   pugi::parse_doctype | pugi::parse_comments | pugi::parse_pi;
constexpr unsigned kPrintOptions = pugi::format_raw | pugi::format_no_declaration;

[[noreturn]] void Refuse(const std::string& what) { throw EXmlError(what, kErrRefused); }

std::string Narrow(const std::string& utf8) {
    // Through UTF-16 so that a character missing in the code page becomes one default character.
    return WideToAnsi(Utf8ToWide(utf8));
}

struct StringWriter : pugi::xml_writer {
    std::string text;
    void write(const void* data, size_t size) override { text.append(static_cast<const char*>(data), size); }
};

bool IsNameStart(unsigned char c) { return std::isalpha(c) || c == '_' || c == ':' || c >= 0x80; }
bool IsNameChar(unsigned char c) { return IsNameStart(c) || std::isdigit(c) || c == '-' || c == '.'; }

// The top-level node a node hangs from (the node itself when it is at the top level).
pugi::xml_node TopOf(pugi::xml_node node) {
    while (node.parent() && node.parent().type() != pugi::node_document) node = node.parent();
    return node;
}

void AppendText(pugi::xml_node node, std::string& out) {
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            out += child.value();
        else if (child.type() == pugi::node_element)
            AppendText(child, out);
    }
}

std::string LowerAscii(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The encoding named in the declaration at the start of 8-bit text, lower-cased; "" when none.
std::string DeclaredEncoding(const std::string& bytes) {
    if (bytes.compare(0, 5, "<?xml") != 0) return {};
    size_t end = bytes.find("?>");
    if (end == std::string::npos) return {};
    std::string decl = bytes.substr(0, end);
    size_t at = decl.find("encoding");
    if (at == std::string::npos) return {};
    at += 8;
    while (at < decl.size() && std::isspace(static_cast<unsigned char>(decl[at]))) ++at;
    if (at >= decl.size() || decl[at] != '=') return {};
    ++at;
    while (at < decl.size() && std::isspace(static_cast<unsigned char>(decl[at]))) ++at;
    if (at >= decl.size() || (decl[at] != '"' && decl[at] != '\'')) return {};
    size_t close = decl.find(decl[at], at + 1);
    if (close == std::string::npos) return {};
    return LowerAscii(decl.substr(at + 1, close - at - 1));
}

// The Windows code page of an encoding name; 65001 for UTF-8 and plain ASCII, 0 when unknown.
int CodePageOfEncoding(const std::string& name) {
    static const struct { const char* name; int codePage; } kNames[] = {
        {"", 65001},        {"utf-8", 65001},       {"utf8", 65001},       {"us-ascii", 65001},
        {"ascii", 65001},   {"gb2312", 936},        {"gbk", 936},          {"cp936", 936},
        {"ms936", 936},     {"windows-936", 936},   {"x-gbk", 936},        {"gb_2312-80", 936},
        {"big5", 950},      {"big-5", 950},         {"cp950", 950},        {"x-big5", 950},
        {"windows-950", 950}, {"iso-8859-1", 28591}, {"latin1", 28591},    {"windows-1252", 1252},
        {"utf-16", 65001},  // without a byte order mark the bytes are 8-bit: read them as UTF-8
    };
    for (const auto& entry : kNames)
        if (name == entry.name) return entry.codePage;
    return 0;
}

bool HasUtf16Signature(const std::string& b) {
    auto at = [&](size_t i) { return static_cast<unsigned char>(b[i]); };
    if (b.size() >= 2 && ((at(0) == 0xFF && at(1) == 0xFE) || (at(0) == 0xFE && at(1) == 0xFF))) return true;
    return b.size() >= 4 && ((at(0) == '<' && at(1) == 0 && at(2) == '?' && at(3) == 0) ||
                             (at(0) == 0 && at(1) == '<' && at(2) == 0 && at(3) == '?'));
}

bool HasUtf8Signature(const std::string& b) { return b.compare(0, 3, "\xEF\xBB\xBF") == 0; }

}  // namespace

// ---- XmlText ----------------------------------------------------------------------------------

XmlText::XmlText(const char* text) : utf8_(text ? AnsiToUtf8(text) : std::string()) {}
XmlText::XmlText(const std::string& text) : utf8_(AnsiToUtf8(text)) {}
XmlText::XmlText(const char16_t* text) : utf8_(text ? WideToUtf8(text) : std::string()) {}
XmlText::XmlText(const std::u16string& text) : utf8_(WideToUtf8(text)) {}

bool IsValidXmlName(const XmlText& name) {
    const std::string& s = name.Utf8();
    if (s.empty() || !IsNameStart(static_cast<unsigned char>(s[0]))) return false;
    return std::all_of(s.begin() + 1, s.end(), [](char c) { return IsNameChar(static_cast<unsigned char>(c)); });
}

// ---- XmlNode ----------------------------------------------------------------------------------

XmlNode::XmlNode(std::shared_ptr<XmlDocumentData> doc, pugi::xml_node node, pugi::xml_attribute attr)
    : doc_(std::move(doc)), node_(node), attr_(attr) {}

bool XmlNode::operator==(const XmlNode& other) const {
    return doc_ == other.doc_ && node_ == other.node_ && attr_ == other.attr_;
}

XmlNodeType XmlNode::NodeType() const {
    if (attr_) return XmlNodeType::Attribute;
    switch (node_.type()) {
        case pugi::node_element: return XmlNodeType::Element;
        case pugi::node_pcdata: return XmlNodeType::Text;
        case pugi::node_cdata: return XmlNodeType::CData;
        case pugi::node_pi:
        case pugi::node_declaration: return XmlNodeType::ProcessingInstruction;
        case pugi::node_comment: return XmlNodeType::Comment;
        case pugi::node_document: return XmlNodeType::Document;
        case pugi::node_doctype: return XmlNodeType::DocumentType;
        default: return XmlNodeType::None;
    }
}

static std::string XmlNodeName(pugi::xml_node node, pugi::xml_attribute attr) {
    if (attr) return attr.name();
    switch (node.type()) {
        case pugi::node_pcdata: return "#text";
        case pugi::node_cdata: return "#cdata-section";
        case pugi::node_comment: return "#comment";
        case pugi::node_document: return "#document";
        case pugi::node_declaration: return "xml";
        case pugi::node_doctype: {
            std::string value = node.value();
            return value.substr(0, value.find_first_of(" \t\r\n["));
        }
        default: return node.name();
    }
}

std::u16string XmlNode::NodeName() const { return Utf8ToWide(XmlNodeName(node_, attr_)); }
std::string XmlNode::NodeNameA() const { return Narrow(XmlNodeName(node_, attr_)); }
std::string XmlNode::NodeNameUtf8() const { return XmlNodeName(node_, attr_); }

static std::string NodeTextUtf8(pugi::xml_node node, pugi::xml_attribute attr) {
    if (attr) return attr.value();
    if (node.type() == pugi::node_element || node.type() == pugi::node_document) {
        std::string text;
        AppendText(node, text);
        return text;
    }
    return node.value();
}

std::u16string XmlNode::Text() const { return Utf8ToWide(NodeTextUtf8(node_, attr_)); }
std::string XmlNode::TextA() const { return Narrow(NodeTextUtf8(node_, attr_)); }

static std::string NodeXmlUtf8(const XmlDocumentData* data, pugi::xml_node node, pugi::xml_attribute attr) {
    StringWriter writer;
    if (attr) {
        std::string out = std::string(attr.name()) + "=\"";
        for (const char* p = attr.value(); *p; ++p) {
            switch (*p) {
                case '&': out += "&amp;"; break;
                case '<': out += "&lt;"; break;
                case '"': out += "&quot;"; break;
                default: out += *p;
            }
        }
        return out + "\"";
    }
    if (node.type() == pugi::node_document) {
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
            if (!data->IsDetached(child)) child.print(writer, "", kPrintOptions);
        return writer.text;
    }
    node.print(writer, "", kPrintOptions);
    return writer.text;
}

std::u16string XmlNode::Xml() const { return IsNull() ? u"" : Utf8ToWide(NodeXmlUtf8(doc_.get(), node_, attr_)); }
std::string XmlNode::XmlA() const { return IsNull() ? "" : Narrow(NodeXmlUtf8(doc_.get(), node_, attr_)); }

static pugi::xpath_query CompileXPath(const XmlText& xpath) {
    try {
        return pugi::xpath_query(xpath.Utf8().c_str());
    } catch (const std::exception& e) {
        throw EXmlError(std::string("XPath: ") + e.what(), kErrRefused);
    }
}

XmlNodeList XmlNode::SelectNodes(const XmlText& xpath) const {
    XmlNodeList list;
    if (IsNull()) return list;
    pugi::xpath_query query = CompileXPath(xpath);
    pugi::xpath_node context = attr_ ? pugi::xpath_node(attr_, node_) : pugi::xpath_node(node_);
    pugi::xpath_node_set found;
    try {
        found = query.evaluate_node_set(context);
    } catch (const std::exception& e) {
        throw EXmlError(std::string("XPath: ") + e.what(), kErrRefused);
    }
    found.sort();
    // A match inside a waiting element is seen only from within that element.
    pugi::xml_node home = TopOf(node_);
    bool fromDetached = doc_->IsDetached(home);
    for (const pugi::xpath_node& hit : found) {
        pugi::xml_node owner = hit.attribute() ? hit.parent() : hit.node();
        if (!doc_->detached.empty()) {
            pugi::xml_node top = TopOf(owner);
            bool visible = fromDetached ? top == home : !doc_->IsDetached(top);
            if (!visible) continue;
        }
        list.nodes_.push_back(XmlNode(doc_, owner, hit.attribute()));
    }
    return list;
}

XmlNode XmlNode::SelectSingleNode(const XmlText& xpath) const {
    if (IsNull()) return {};
    if (doc_->detached.empty()) {
        pugi::xpath_query query = CompileXPath(xpath);
        pugi::xpath_node context = attr_ ? pugi::xpath_node(attr_, node_) : pugi::xpath_node(node_);
        pugi::xpath_node hit;
        try {
            hit = query.evaluate_node(context);
        } catch (const std::exception& e) {
            throw EXmlError(std::string("XPath: ") + e.what(), kErrRefused);
        }
        if (!hit) return {};
        return XmlNode(doc_, hit.attribute() ? hit.parent() : hit.node(), hit.attribute());
    }
    XmlNodeList all = SelectNodes(xpath);
    return all.Item(0);
}

XmlNodeList XmlNode::ChildNodes() const {
    XmlNodeList list;
    if (IsNull() || attr_) return list;
    for (pugi::xml_node child = node_.first_child(); child; child = child.next_sibling())
        if (!doc_->IsDetached(child)) list.nodes_.push_back(XmlNode(doc_, child));
    return list;
}

int XmlNode::ChildCount() const { return ChildNodes().Length(); }

XmlNodeList XmlNode::Attributes() const {
    XmlNodeList list;
    if (IsNull() || attr_ || node_.type() != pugi::node_element) return list;
    for (pugi::xml_attribute a = node_.first_attribute(); a; a = a.next_attribute())
        list.nodes_.push_back(XmlNode(doc_, node_, a));
    return list;
}

int XmlNode::AttributeCount() const {
    if (IsNull() || attr_ || node_.type() != pugi::node_element) return 0;
    return static_cast<int>(std::distance(node_.attributes_begin(), node_.attributes_end()));
}

XmlNode XmlNode::Attribute(int index) const {
    if (index < 0 || IsNull() || attr_ || node_.type() != pugi::node_element) return {};
    pugi::xml_attribute a = node_.first_attribute();
    for (int i = 0; a && i < index; ++i) a = a.next_attribute();
    return a ? XmlNode(doc_, node_, a) : XmlNode();
}

XmlNode XmlNode::AttributeNode(const XmlText& name) const {
    if (IsNull() || attr_ || node_.type() != pugi::node_element) return {};
    pugi::xml_attribute a = node_.attribute(name.Utf8().c_str());
    return a ? XmlNode(doc_, node_, a) : XmlNode();
}

std::u16string XmlNode::GetAttribute(const XmlText& name) const { return AttributeNode(name).Text(); }
std::string XmlNode::GetAttributeA(const XmlText& name) const { return AttributeNode(name).TextA(); }

pugi::xml_node XmlNode::ElementOrRaise(const char* operation) const {
    if (IsNull() || attr_ || node_.type() != pugi::node_element)
        Refuse(std::string(operation) + ": the node is not an element");
    return node_;
}

void XmlNode::SetAttribute(const XmlText& name, const XmlText& value) {
    pugi::xml_node element = ElementOrRaise("setAttribute");
    if (!IsValidXmlName(name)) Refuse("setAttribute: '" + name.Utf8() + "' is not a valid name");
    pugi::xml_attribute a = element.attribute(name.Utf8().c_str());
    if (!a) a = element.append_attribute(name.Utf8().c_str());
    a.set_value(value.Utf8().c_str());
}

// Moves an element of `data`'s document below `parent` (an element or the document node).
static XmlNode MoveInto(const std::shared_ptr<XmlDocumentData>& data, pugi::xml_node parent,
                        const XmlNode& child, pugi::xml_node childNode, bool childIsAttribute) {
    if (child.IsNull() || childIsAttribute || childNode.type() != pugi::node_element)
        Refuse("appendChild: only elements can be appended");
    for (pugi::xml_node up = parent; up; up = up.parent())
        if (up == childNode) Refuse("appendChild: a node cannot be moved below itself");
    data->detached.erase(childNode);
    pugi::xml_node moved = parent.append_move(childNode);
    if (!moved) Refuse("appendChild: the node cannot be inserted here");
    return child;
}

XmlNode XmlNode::AppendChild(const XmlNode& child) {
    pugi::xml_node parent = ElementOrRaise("appendChild");
    if (child.doc_ != doc_) Refuse("appendChild: the node belongs to another document");
    return MoveInto(doc_, parent, child, child.node_, static_cast<bool>(child.attr_));
}

XmlNode XmlNodeList::Item(int index) const {
    return index >= 0 && index < Length() ? nodes_[static_cast<size_t>(index)] : XmlNode();
}

// ---- XmlDocument ------------------------------------------------------------------------------

XmlDocument::XmlDocument() : data_(std::make_shared<XmlDocumentData>()) {}

const XmlParseError& XmlDocument::ParseError() const { return data_->parseError; }

bool XmlDocument::Fail(int code, std::string reason) {
    data_->doc.reset();
    data_->detached.clear();
    data_->parseError = {code, std::move(reason), 0};
    return false;
}

bool XmlDocument::Parse(const void* data, size_t size, pugi::xml_encoding encoding) {
    data_->detached.clear();
    pugi::xml_parse_result result = data_->doc.load_buffer(data, size, kParseOptions, encoding);
    if (result) {
        data_->parseError = {};
        return true;
    }
    long offset = static_cast<long>(result.offset);
    Fail(static_cast<int>(result.status),
         std::string(result.description()) + " (at offset " + std::to_string(offset) + ")");
    data_->parseError.FilePos = offset;
    return false;
}

bool XmlDocument::Load(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return Fail(pugi::status_file_not_found, "The system cannot locate the object specified: " + path);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) return Fail(pugi::status_io_error, "The file could not be read: " + path);
    if (HasUtf16Signature(bytes)) return Parse(bytes.data(), bytes.size(), pugi::encoding_auto);
    if (HasUtf8Signature(bytes)) return Parse(bytes.data(), bytes.size(), pugi::encoding_utf8);
    std::string declared = DeclaredEncoding(bytes);
    int codePage = CodePageOfEncoding(declared);
    if (codePage == 65001) return Parse(bytes.data(), bytes.size(), pugi::encoding_utf8);
    if (codePage == 28591) return Parse(bytes.data(), bytes.size(), pugi::encoding_latin1);
    if (codePage == 0 || !IsCodePageSupported(codePage))
        return Fail(kErrUnsupportedEncoding, "System does not support the specified encoding: " + declared);
    std::string utf8 = AnsiToUtf8(bytes, codePage);
    return Parse(utf8.data(), utf8.size(), pugi::encoding_utf8);
}

bool XmlDocument::LoadXml(const std::string& text, int codePage) {
    std::string utf8 = AnsiToUtf8(text, codePage);
    return Parse(utf8.data(), utf8.size(), pugi::encoding_utf8);
}

bool XmlDocument::LoadXml(const std::u16string& text) {
    return Parse(text.data(), text.size() * sizeof(char16_t), pugi::encoding_utf16);
}

XmlNode XmlDocument::DocumentElement() const {
    for (pugi::xml_node child = data_->doc.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_element && !data_->IsDetached(child)) return XmlNode(data_, child);
    return {};
}

XmlNode XmlDocument::Node() const { return XmlNode(data_, data_->doc); }

XmlNode XmlDocument::CreateElement(const XmlText& name) {
    if (!IsValidXmlName(name)) Refuse("createElement: '" + name.Utf8() + "' is not a valid name");
    pugi::xml_node element = data_->doc.append_child(name.Utf8().c_str());
    data_->detached.insert(element);
    return XmlNode(data_, element);
}

XmlNode XmlDocument::AppendChild(const XmlNode& child) {
    if (child.doc_ != data_) Refuse("appendChild: the node belongs to another document");
    XmlNode root = DocumentElement();
    if (root && !(root == child)) Refuse("appendChild: only one top level element is allowed in a document");
    return MoveInto(data_, data_->doc, child, child.node_, static_cast<bool>(child.attr_));
}

std::u16string XmlDocument::Xml() const { return Node().Xml(); }
std::string XmlDocument::XmlA() const { return Node().XmlA(); }

}  // namespace krv
