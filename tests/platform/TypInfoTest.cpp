#include "platform/TypInfo.h"

#include <gtest/gtest.h>

#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/Graphics.h"
#include "GuiTestKit.h"

namespace krv {
namespace {

enum TDemoStyle : uint8_t { dsFirst, dsSecond, dsThird };

const TTypeInfo& TypeInfoDemoStyle() {
    static const TTypeInfo t = MakeEnumType("TDemoStyle", {"dsFirst", "dsSecond", "dsThird"});
    return t;
}

// One property of every kind, with setters that count calls (a set by name is a code assignment).
class TSample : public TComponent {
    KRV_CLASS(TSample)
    explicit TSample(TComponent* owner) : TComponent(owner) {}
    int Count() const { return count_; }
    void SetCount(int v) { count_ = v; ++sets; }
    TDemoStyle Style() const { return style_; }
    void SetStyle(TDemoStyle v) { style_ = v; }
    TFontStyles Styles() const { return styles_; }
    void SetStyles(TFontStyles v) { styles_ = v; }
    double Ratio() const { return ratio_; }
    void SetRatio(double v) { ratio_ = v; }
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& v) { caption_ = v; }
    const std::u16string& Wide() const { return wide_; }
    void SetWide(const std::u16string& v) { wide_ = v; }
    char Sep() const { return sep_; }
    void SetSep(char v) { sep_ = v; }
    bool Flag() const { return flag_; }
    void SetFlag(bool v) { flag_ = v; }
    TColor Color() const { return color_; }
    void SetColor(TColor v) { color_ = v; }
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor v) { cursor_ = v; }
    TFont* Font() const { return const_cast<TFont*>(&font_); }
    int Fixed() const { return 7; }
    void Go(TObject* sender) { lastSender = sender; }
    void Keyed(TObject*, Word& key, TShiftState) { key = 0; }

    TNotifyEvent OnGo;
    TKeyEvent OnKey;
    TObject* lastSender = nullptr;
    int sets = 0;

private:
    int count_ = 0;
    TDemoStyle style_ = dsFirst;
    TFontStyles styles_;
    double ratio_ = 0;
    std::string caption_;
    std::u16string wide_;
    char sep_ = '/';
    bool flag_ = false;
    TColor color_ = clBtnFace;
    TCursor cursor_ = crDefault;
    TFont font_;
};

const TClassInfo& TSample::StaticClassInfo() {
    using S = TSample;
    static const TClassInfo info = TClassBuilder<S>("TSample", TComponent::StaticClassInfo())
                                       .Creatable()
                                       .Int("Count", &S::Count, &S::SetCount)
                                       .Enum("Style", TypeInfoDemoStyle(), &S::Style, &S::SetStyle)
                                       .Set("Styles", TypeInfoFontStyles(), &S::Styles, &S::SetStyles)
                                       .Float("Ratio", &S::Ratio, &S::SetRatio)
                                       .Str("Caption", &S::Caption, &S::SetCaption)
                                       .WStr("Wide", &S::Wide, &S::SetWide)
                                       .Char("Sep", &S::Sep, &S::SetSep)
                                       .Bool("Flag", &S::Flag, &S::SetFlag)
                                       .Int("Color", &S::Color, &S::SetColor, TypeInfoColor())
                                       .Int("Cursor", &S::Cursor, &S::SetCursor, TypeInfoCursor())
                                       .Object("Font", &S::Font)
                                       .Int("Fixed", &S::Fixed)
                                       .Event("OnGo", &S::OnGo)
                                       .Event("OnKey", &S::OnKey)
                                       .Method("Go", &S::Go)
                                       .Method("Keyed", &S::Keyed)
                                       .Build();
    return info;
}

class TypInfoTest : public ::testing::Test {
protected:
    void TearDown() override { sample->Free(); }
    TSample* sample = Create<TSample>(nullptr);
};

TEST_F(TypInfoTest, PropertiesKnowTheirKindAndDeclaredType) {
    struct Case {
        const char* name;
        TTypeKind kind;
        const char* typeName;
    };
    for (const Case& c : {Case{"count", tkInteger, "Integer"}, Case{"STYLE", tkEnumeration, "TDemoStyle"},
                          Case{"Styles", tkSet, "TFontStyles"}, Case{"Ratio", tkFloat, "Double"},
                          Case{"Caption", tkString, "string"}, Case{"Wide", tkWString, "WideString"},
                          Case{"Sep", tkChar, "Char"}, Case{"Flag", tkEnumeration, "Boolean"},
                          Case{"Color", tkInteger, "TColor"}, Case{"Font", tkClass, "TFont"},
                          Case{"OnGo", tkMethod, "TNotifyEvent"}, Case{"OnKey", tkMethod, "TKeyEvent"},
                          Case{"Name", tkString, "string"}}) {
        const TPropInfo* prop = GetPropInfo(sample, c.name);
        ASSERT_NE(prop, nullptr) << c.name;
        EXPECT_EQ(prop->Kind(), c.kind) << c.name;
        EXPECT_EQ(prop->TypeName(), c.typeName) << c.name;
    }
    EXPECT_FALSE(IsPublishedProp(sample, "Missing"));
    EXPECT_FALSE(IsPublishedProp(nullptr, "Count"));
}

TEST_F(TypInfoTest, GetAndSetByNameGoThroughTheSetters) {
    SetOrdProp(sample, "count", 42);
    EXPECT_EQ(sample->Count(), 42);
    EXPECT_EQ(sample->sets, 1);
    SetEnumProp(sample, "Style", " DSTHIRD ");
    EXPECT_EQ(GetEnumProp(sample, "style"), "dsThird");
    SetSetProp(sample, "Styles", "[fsBold, fsUnderline]");
    EXPECT_EQ(GetSetProp(sample, "Styles"), "[fsBold,fsUnderline]");
    SetStrProp(sample, "Caption", "条件");
    EXPECT_EQ(GetStrProp(sample, "caption"), "条件");
    SetWideStrProp(sample, "Wide", u"宽");
    EXPECT_EQ(GetStrProp(sample, "Wide"), "宽");  // narrowed with the system code page
    SetFloatProp(sample, "Ratio", 2.5);
    EXPECT_DOUBLE_EQ(GetFloatProp(sample, "Ratio"), 2.5);
    SetOrdProp(sample, "Sep", 0xB6);  // a GB lead byte stays positive as an ordinal
    EXPECT_EQ(GetOrdProp(sample, "Sep"), 0xB6);

    auto* font = dynamic_cast<TFont*>(GetObjectProp(sample, "Font"));
    ASSERT_NE(font, nullptr);
    SetStrProp(font, "Name", "Tahoma");
    SetOrdProp(font, "Charset", 134);
    EXPECT_EQ(sample->Font()->Name(), "Tahoma");
    EXPECT_EQ(sample->Font()->Charset(), GB2312_CHARSET);

    EXPECT_EQ(GetPropValue(sample, "Flag"), Variant(false));
    SetPropValue(sample, "Flag", Variant(true));
    EXPECT_TRUE(sample->Flag());
    SetPropValue(sample, "Style", Variant("dsSecond"));
    EXPECT_EQ(GetPropValue(sample, "Style"), Variant("dsSecond"));
    EXPECT_EQ(GetPropValue(sample, "Style", false), Variant(int64_t(1)));
}

TEST_F(TypInfoTest, MisuseRaisesCatchableErrors) {
    EXPECT_THROW(GetOrdProp(sample, "Nope"), EPropertyError);
    EXPECT_THROW(GetOrdProp(sample, "Caption"), EPropertyConvertError);
    EXPECT_THROW(GetStrProp(sample, "Count"), EPropertyConvertError);
    EXPECT_THROW(SetOrdProp(sample, "Fixed", 1), EPropertyError);
    EXPECT_THROW(SetEnumProp(sample, "Style", "dsFourth"), EPropertyConvertError);
    EXPECT_THROW(SetSetProp(sample, "Styles", "[fsBold,fsHuge]"), EPropertyConvertError);
    EXPECT_THROW(GetPropValue(sample, "Font"), EPropertyConvertError);
    // A handler of another event type is refused.
    TMethod keyed = MethodAddress(sample, "Keyed");
    EXPECT_THROW(SetMethodProp(sample, "OnGo", keyed), EPropertyConvertError);
}

TEST_F(TypInfoTest, SetFromTextAsAFormDescriptionWritesIt) {
    struct Case {
        const char* prop;
        const char* text;
        int64_t expected;
    };
    for (const Case& c : {Case{"Color", "clRed", clRed}, Case{"Color", " clBtnFace ", clBtnFace},
                          Case{"Color", "$AFFFFF", 0xAFFFFF}, Case{"Color", "$80000005", clWindow},
                          Case{"Color", "255", 255}, Case{"Cursor", "crHandPoint", crHandPoint},
                          Case{"Count", "-12", -12}, Case{"Style", "dssecond", dsSecond},
                          Case{"Flag", "TRUE", 1}, Case{"Styles", "fsItalic", 2}, Case{"Sep", "-", '-'},
                          Case{"Sep", "#59", ';'}}) {
        SetPropFromText(sample, c.prop, c.text);
        EXPECT_EQ(GetOrdProp(sample, c.prop), c.expected) << c.prop << " " << c.text;
    }
    SetPropFromText(sample, "Ratio", " 1.25 ");
    EXPECT_DOUBLE_EQ(sample->Ratio(), 1.25);
    SetPropFromText(sample->Font(), "Charset", "134");
    EXPECT_EQ(sample->Font()->Charset(), 134);

    for (const Case& bad : {Case{"Color", "clNoSuch", 0}, Case{"Count", "12a", 0}, Case{"Count", "$", 0},
                            Case{"Style", "dsNone", 0}, Case{"Sep", "ab", 0}, Case{"Ratio", "1,5", 0},
                            Case{"Font", "x", 0}}) {
        EXPECT_THROW(SetPropFromText(sample, bad.prop, bad.text), Exception) << bad.prop << " " << bad.text;
    }
}

TEST_F(TypInfoTest, EnumNamesAndValues) {
    EXPECT_EQ(GetEnumName(TypeInfoBoolean(), 1), "True");
    EXPECT_EQ(GetEnumName(TypeInfoBoolean(), 0), "False");
    EXPECT_EQ(GetEnumName(TypeInfoDemoStyle(), 3), "");
    EXPECT_EQ(GetEnumValue(TypeInfoBoolean(), "true"), 1);
    EXPECT_EQ(GetEnumValue(TypeInfoDemoStyle(), "dsMissing"), -1);
    EXPECT_EQ(SetToString(TypeInfoFontStyles(), TFontStyles{fsBold}.Bits()), "[fsBold]");
    EXPECT_EQ(StringToSet(TypeInfoFontStyles(), "[]"), 0);
}

TEST_F(TypInfoTest, HandlersAndPublishedMethodsByName) {
    TMethod go = MethodAddress(sample, "go");
    ASSERT_TRUE(go.Assigned());
    SetMethodProp(sample, "OnGo", go);
    sample->OnGo(sample->Font());
    EXPECT_EQ(sample->lastSender, sample->Font());
    EXPECT_TRUE(GetMethodProp(sample, "OnGo") == go);
    EXPECT_EQ(GetMethodProp(sample, "OnGo").Data(), sample);

    SetMethodProp(sample, "OnGo", TMethod());
    EXPECT_FALSE(sample->OnGo.Assigned());
    EXPECT_FALSE(GetMethodProp(nullptr, "OnGo").Assigned());
    SetMethodProp(nullptr, "OnGo", go);  // no object: nothing happens

    EXPECT_TRUE(CallPublishedMethod(sample, "GO", nullptr));
    EXPECT_EQ(sample->lastSender, nullptr);
    EXPECT_FALSE(CallPublishedMethod(sample, "Keyed", nullptr));  // not a sender-only method
    EXPECT_FALSE(CallPublishedMethod(sample, "Missing", nullptr));
    EXPECT_FALSE(MethodAddress(sample, "Missing").Assigned());
}

TEST(ClassChainTest, FromTheBaseUpToButExcludingTheStop) {
    const TClassInfo& cls = testkit::TKitForm::StaticClassInfo();
    EXPECT_EQ(GetClassChain(cls, "TForm"), (std::vector<std::string>{"TKitForm"}));
    auto all = GetClassChain(cls, "TNoSuchAncestor");
    EXPECT_EQ(all.front(), "TObject");
    EXPECT_EQ(all.back(), "TKitForm");
    EXPECT_TRUE(cls.InheritsFrom(TCustomForm::StaticClassInfo()));
    EXPECT_TRUE(cls.InheritsFrom("twincontrol"));
    EXPECT_FALSE(TForm::StaticClassInfo().InheritsFrom(cls));
}

}  // namespace
}  // namespace krv
