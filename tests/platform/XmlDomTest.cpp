#include "platform/XmlDom.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/CodePage.h"

namespace krv {
namespace {

namespace fs = std::filesystem;

class XmlDomTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/xmldomXXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Write(const std::string& name, const std::string& bytes) {
        std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    fs::path dir_;
};

// The same package text stored in each encoding a language package may use.
TEST_F(XmlDomTest, LoadsFilesInTheirDeclaredEncoding) {
    const std::u16string simplified = u"自动摊提折旧作业";
    const std::u16string traditional = u"自動攤提折舊作業";
    auto body = [](const char16_t* encoding, const std::u16string& caption) {
        return std::u16string(u"<?xml version=\"1.0\" encoding=\"") + encoding + u"\"?>\n<Root><frm Caption=\"" +
               caption + u"\"/></Root>";
    };
    std::string utf16("\xFF\xFE", 2);
    for (char16_t c : body(u"UTF-16", simplified)) utf16 += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    struct Case {
        const char* name;
        std::string bytes;
        std::u16string caption;
    };
    const Case cases[] = {
        {"GB2312", WideToAnsi(body(u"GB2312", simplified), 936), simplified},
        {"gbk", WideToAnsi(body(u"gbk", simplified), 936), simplified},
        {"BIG5", WideToAnsi(body(u"BIG5", traditional), 950), traditional},
        {"UTF-8", WideToUtf8(body(u"UTF-8", simplified)), simplified},
        {"UTF-8 with BOM", "\xEF\xBB\xBF" + WideToUtf8(body(u"utf-8", traditional)), traditional},
        {"UTF-16", utf16, simplified},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        XmlDocument doc;
        ASSERT_TRUE(doc.Load(Write("p.Lng", c.bytes))) << doc.ParseError().Reason;
        XmlNode node = doc.DocumentElement().SelectSingleNode("//frm/@Caption");
        EXPECT_EQ(node.Text(), c.caption);
        EXPECT_EQ(node.TextA(), WideToAnsi(c.caption, 936));  // narrowed to the system code page (GB)
    }
}

TEST_F(XmlDomTest, FileWithoutDeclarationIsUtf8AndUnknownEncodingFails) {
    XmlDocument doc;
    EXPECT_TRUE(doc.Load(Write("a.xml", WideToUtf8(u"<a t=\"后台\"/>"))));
    EXPECT_EQ(doc.DocumentElement().GetAttributeA("t"), "后台");

    EXPECT_FALSE(doc.Load(Write("b.xml", "<?xml version=\"1.0\" encoding=\"EBCDIC-XYZ\"?><a/>")));
    EXPECT_NE(doc.ParseError().ErrorCode, 0);
    EXPECT_FALSE(doc.DocumentElement());

    EXPECT_FALSE(doc.Load((dir_ / "missing.Lng").string()));
    EXPECT_NE(doc.ParseError().ErrorCode, 0);
    EXPECT_FALSE(doc.ParseError().Reason.empty());
}

TEST_F(XmlDomTest, NarrowTextIsWidenedAndItsDeclarationIgnored) {
    XmlDocument doc;
    // Declared BIG5 but held as GB bytes, as texts handed around in memory are.
    ASSERT_TRUE(doc.LoadXml(std::string("<?xml version=\"1.0\" encoding=\"BIG5\"?><R a=\"直接处理\"/>")));
    EXPECT_EQ(doc.DocumentElement().GetAttributeA("a"), "直接处理");
    ASSERT_TRUE(doc.LoadXml(u"<?xml version=\"1.0\" encoding=\"GB2312\"?><R a=\"条件\"/>"));
    EXPECT_EQ(doc.DocumentElement().GetAttribute("a"), u"条件");
}

TEST_F(XmlDomTest, ParseFailureLeavesAnEmptyDocumentWithAReason) {
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadXml(std::string("<Root><a/></Root>")));
    for (const char* bad : {"<Root><a></Root>", "", "no xml at all"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(doc.LoadXml(std::string(bad)));
        EXPECT_NE(doc.ParseError().ErrorCode, 0);
        EXPECT_FALSE(doc.ParseError().Reason.empty());
        EXPECT_FALSE(doc.DocumentElement());
        EXPECT_EQ(doc.Node().ChildCount(), 0);
    }
    EXPECT_TRUE(doc.LoadXml(std::string("<ok/>")));
    EXPECT_EQ(doc.ParseError().ErrorCode, 0);
}

TEST_F(XmlDomTest, QueriesNodesAttributesAndTexts) {
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadXml(std::string(
        "<Lang Caption=\"F\"><g><btnOk Caption=\"确定\" Hint=\"h\"/></g><btnOk Caption=\"second\"/>"
        "<sOver Msg=\"\"/><t>one<!--c--><b>two</b><![CDATA[<3>]]></t></Lang>")));
    XmlNode root = doc.DocumentElement();
    EXPECT_EQ(root.NodeType(), XmlNodeType::Element);
    EXPECT_EQ(root.NodeNameA(), "Lang");

    XmlNode ok = root.SelectSingleNode("//btnOk");  // first in document order, at any depth
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok.GetAttributeA("Caption"), "确定");
    ASSERT_EQ(ok.AttributeCount(), 2);
    EXPECT_EQ(ok.Attribute(1).NodeNameA(), "Hint");
    EXPECT_EQ(ok.Attribute(1).NodeType(), XmlNodeType::Attribute);
    EXPECT_FALSE(ok.Attribute(2));
    EXPECT_FALSE(ok.Attribute(-1));
    EXPECT_EQ(ok.GetAttributeA("Missing"), "");
    EXPECT_EQ(ok.Attributes().Length(), 2);

    XmlNode msg = root.SelectSingleNode("//sOver/@Msg");
    ASSERT_TRUE(msg);
    EXPECT_EQ(msg.NodeType(), XmlNodeType::Attribute);
    EXPECT_EQ(msg.TextA(), "");
    EXPECT_FALSE(root.SelectSingleNode("//sNone/@Msg"));

    EXPECT_EQ(root.SelectNodes("//btnOk").Length(), 2);
    EXPECT_EQ(root.SelectNodes("//btnOk").Item(1).GetAttributeA("Caption"), "second");
    EXPECT_FALSE(root.SelectNodes("//btnOk").Item(2));
    EXPECT_EQ(root.SelectSingleNode("t").TextA(), "onetwo<3>");
    EXPECT_EQ(root.SelectSingleNode("t").ChildCount(), 4);

    EXPECT_THROW(root.SelectSingleNode("//a b"), EXmlError);
    EXPECT_THROW(root.SelectNodes("//["), EXmlError);
}

TEST_F(XmlDomTest, ValidNames) {
    for (const char* good : {"btnOk", "_x", "sp02", "a.b-c", "条件"}) EXPECT_TRUE(IsValidXmlName(good)) << good;
    for (const char* bad : {"", "1a", "a b", "*", "a/b", "a[1]", "@x"}) EXPECT_FALSE(IsValidXmlName(bad)) << bad;
}

TEST_F(XmlDomTest, InternalEntityReadsBackAndNothingExternalIsLoaded) {
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadXml(std::string(
        "<?xml version=\"1.0\" encoding=\"GB2312\"?><!DOCTYPE SC[<!ENTITY stdd \"&amp;stdd;\">]>"
        "<SC a=\"x&stdd;y\">&stdd;</SC>")));
    EXPECT_EQ(doc.DocumentElement().GetAttributeA("a"), "x&stdd;y");
    EXPECT_EQ(doc.DocumentElement().TextA(), "&stdd;");

    ASSERT_TRUE(doc.LoadXml(std::string(
        "<!DOCTYPE r [<!ENTITY x SYSTEM \"file:///etc/hostname\">]><r>&x;</r>")));
    EXPECT_EQ(doc.DocumentElement().TextA(), "&x;");
}

TEST_F(XmlDomTest, BuildsAndSerialisesRaw) {
    XmlDocument doc;
    XmlNode root = doc.CreateElement("Root");
    EXPECT_FALSE(doc.DocumentElement());  // not placed yet
    doc.AppendChild(root);
    XmlNode r1 = doc.CreateElement("R1");
    r1.SetAttribute("ID", "u1");
    r1.SetAttribute("Name", "A&B<\"李\">");
    EXPECT_FALSE(doc.DocumentElement().SelectSingleNode("//R1"));  // a waiting element stays hidden
    root.AppendChild(r1);
    r1.SetAttribute("ID", "u2");  // the handle still refers to the placed element
    XmlNode r2 = root.AppendChild(doc.CreateElement("R2"));
    r2.SetAttribute("Mob", "");
    EXPECT_EQ(doc.XmlA(), "<Root><R1 ID=\"u2\" Name=\"A&amp;B&lt;&quot;李&quot;>\"/><R2 Mob=\"\"/></Root>");
    EXPECT_EQ(doc.DocumentElement().SelectSingleNode("R1").GetAttributeA("Name"), "A&B<\"李\">");
    EXPECT_EQ(r1.AttributeNode("ID").XmlA(), "ID=\"u2\"");

    // Moving an element that is already placed moves it.
    r1.AppendChild(r2);
    EXPECT_EQ(root.XmlA(), "<Root><R1 ID=\"u2\" Name=\"A&amp;B&lt;&quot;李&quot;>\"><R2 Mob=\"\"/></R1></Root>");
}

TEST_F(XmlDomTest, RefusedCallsRaise) {
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadXml(std::string("<a x=\"1\"><b/></a>")));
    XmlNode a = doc.DocumentElement();
    XmlNode b = a.SelectSingleNode("b");
    EXPECT_THROW(a.SelectSingleNode("@x").SetAttribute("y", "2"), EXmlError);
    EXPECT_THROW(a.SetAttribute("bad name", "2"), EXmlError);
    EXPECT_THROW(b.AppendChild(a), EXmlError);  // below itself
    EXPECT_THROW(doc.CreateElement("1x"), EXmlError);
    EXPECT_THROW(doc.AppendChild(doc.CreateElement("second")), EXmlError);
    XmlDocument other;
    EXPECT_THROW(a.AppendChild(other.CreateElement("c")), EXmlError);
    EXPECT_THROW(XmlNode().SetAttribute("a", "b"), EXmlError);
    EXPECT_EQ(doc.XmlA(), "<a x=\"1\"><b/></a>");  // nothing changed
}

TEST_F(XmlDomTest, NodesOutliveTheirDocumentHandle) {
    XmlNode node;
    {
        XmlDocument doc;
        ASSERT_TRUE(doc.LoadXml(std::string("<a><b c=\"d\"/></a>")));
        node = doc.DocumentElement().SelectSingleNode("b/@c");
    }
    EXPECT_EQ(node.TextA(), "d");
}

}  // namespace
}  // namespace krv
