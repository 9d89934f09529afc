// The XML document object model the module uses, as a small facade over pugixml.
//
// A document is a shared handle (copies refer to the same document); nodes keep their document
// alive. Texts come back wide, or narrowed with the system code page through the "A" variants;
// arguments may be given narrow (system code page) or wide. Nothing outside the text is ever
// loaded: no external DTD or entity, no network. An internal DTD subset is accepted and an entity
// reference the parser does not know (such as "&stdd;") reads back as written.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "platform/SysUtils.h"

namespace krv {

// A call the document refuses (a node of the wrong type, a bad XPath expression, a bad name).
// The code is the DOM's result code.
class EXmlError : public EOleException {
public:
    EXmlError(std::string message, int code) : EOleException(std::move(message)), code_(code) {}
    std::string ClassName() const override { return "EXmlError"; }
    int Code() const { return code_; }

private:
    int code_;
};

// The DOM's node type numbers.
enum class XmlNodeType {
    None = 0, Element = 1, Attribute = 2, Text = 3, CData = 4, ProcessingInstruction = 7,
    Comment = 8, Document = 9, DocumentType = 10
};

// An argument text, narrow in the system code page or wide; held as UTF-8 for the parser.
class XmlText {
public:
    XmlText(const char* text);
    XmlText(const std::string& text);
    XmlText(const char16_t* text);
    XmlText(const std::u16string& text);
    const std::string& Utf8() const { return utf8_; }

private:
    std::string utf8_;
};

// Whether the text can be an element or attribute name (and so be pasted into an XPath step).
bool IsValidXmlName(const XmlText& name);

struct XmlDocumentData;
class XmlNodeList;

class XmlNode {
public:
    XmlNode() = default;  // no node

    bool IsNull() const { return !node_ && !attr_; }
    explicit operator bool() const { return !IsNull(); }
    bool operator==(const XmlNode& other) const;

    XmlNodeType NodeType() const;
    std::u16string NodeName() const;
    std::string NodeNameA() const;
    std::string NodeNameUtf8() const;  // as stored, for comparing many names cheaply
    // An attribute's value; an element's text (all text below it, in document order).
    std::u16string Text() const;
    std::string TextA() const;
    // Outer XML, raw: no declaration, indentation or line breaks; empty elements as <A x="1"/>.
    std::u16string Xml() const;
    std::string XmlA() const;

    // XPath relative to this node: the first match (an element, an attribute, ...) or no node,
    // and all matches. A malformed expression raises EXmlError.
    XmlNode SelectSingleNode(const XmlText& xpath) const;
    XmlNodeList SelectNodes(const XmlText& xpath) const;

    // Child nodes of every kind (elements, texts, comments ...), in document order.
    int ChildCount() const;
    XmlNodeList ChildNodes() const;
    // Attributes of an element in document order (none for other nodes); an index out of range
    // gives no node; a missing attribute reads as "".
    int AttributeCount() const;
    XmlNode Attribute(int index) const;
    XmlNodeList Attributes() const;
    XmlNode AttributeNode(const XmlText& name) const;
    std::u16string GetAttribute(const XmlText& name) const;
    std::string GetAttributeA(const XmlText& name) const;
    // Sets (adding at the end when new) an attribute of an element; other nodes raise EXmlError.
    void SetAttribute(const XmlText& name, const XmlText& value);

    // Moves `child` (an element of the same document, new or already placed) to the end of this
    // element's children and answers it. Moving a node below itself raises EXmlError.
    XmlNode AppendChild(const XmlNode& child);

private:
    friend class XmlDocument;
    friend class XmlNodeList;
    XmlNode(std::shared_ptr<XmlDocumentData> doc, pugi::xml_node node, pugi::xml_attribute attr = {});
    pugi::xml_node ElementOrRaise(const char* operation) const;

    std::shared_ptr<XmlDocumentData> doc_;
    pugi::xml_node node_;       // the node, or an attribute's element
    pugi::xml_attribute attr_;  // set for an attribute node
};

class XmlNodeList {
public:
    int Length() const { return static_cast<int>(nodes_.size()); }
    // No node for an index out of range.
    XmlNode Item(int index) const;

private:
    friend class XmlNode;
    std::vector<XmlNode> nodes_;
};

// The outcome of the last load: code 0 when it parsed.
struct XmlParseError {
    int ErrorCode = 0;
    std::string Reason;  // narrow (ASCII) text for messages
    long FilePos = 0;    // byte offset of the error in the parsed text
};

class XmlDocument {
public:
    XmlDocument();  // a new, empty document

    // From a file, honouring its byte order mark or declared encoding (UTF-8, UTF-16, GB2312/GBK,
    // BIG5, Latin-1 ...). False when it did not load; the document is then empty and ParseError
    // tells why.
    bool Load(const std::string& path);
    // From text, whose declaration (if any) is ignored: narrow text is widened from `codePage`
    // (0: the system code page), wide text taken as it is.
    bool LoadXml(const std::string& text, int codePage = 0);
    bool LoadXml(const std::u16string& text);
    const XmlParseError& ParseError() const;

    // The root element, or no node.
    XmlNode DocumentElement() const;
    // The document node itself (XPath from the top, the number of top-level nodes).
    XmlNode Node() const;
    // A new element that belongs to this document but to no parent yet; AppendChild places it.
    // A name that is no XML name raises EXmlError.
    XmlNode CreateElement(const XmlText& name);
    // Places an element at the top level of the document (as its root element).
    XmlNode AppendChild(const XmlNode& child);
    std::u16string Xml() const;
    std::string XmlA() const;

private:
    bool Parse(const void* data, size_t size, pugi::xml_encoding encoding);
    bool Fail(int code, std::string reason);
    std::shared_ptr<XmlDocumentData> data_;
};

}  // namespace krv
