#include "runtime/CodeConverter.h"

#include <gtest/gtest.h>

#include "LangFixtures.h"
#include "platform/Graphics.h"

namespace krv {
namespace {

using test::kBig5Houtai;
using test::kBig5Zhijie;
using test::ScopedLangSettings;
using test::SettingsFor;

TEST(CodeConverterTest, NoConversionNeededLoadsNoLibrary) {
    ScopedLangSettings settings(SettingsFor("936"));
    test::ScopedLibraryName missing("NoSuchLanguageLibrary.dll");  // would raise if loaded
    TCodeConverter converter(nullptr);
    EXPECT_FALSE(converter.HasTranslator());
    EXPECT_EQ(converter.UIKind(), 0);
    EXPECT_EQ(converter.GbToBig5("后台"), "后台");
    EXPECT_EQ(converter.DesignToScreen("后台"), Variant("后台"));
    EXPECT_EQ(converter.ConvertVariant(2, "后台"), Variant("后台"));
}

TEST(CodeConverterTest, MissingLibraryFailsTheConstructionWhenAConversionIsNeeded) {
    ScopedLangSettings settings(SettingsFor("950"));
    test::ScopedLibraryName missing("NoSuchLanguageLibrary.dll");
    EXPECT_THROW(TCodeConverter(nullptr), Exception);
}

TEST(CodeConverterTest, DirectionsFollowTheKinds) {
    {
        ScopedLangSettings settings(SettingsFor("950"));  // UI kind 2, DB kind 2
        TCodeConverter converter(nullptr);
        EXPECT_EQ(converter.DesignToScreen("后台"), Variant(kBig5Houtai));
        EXPECT_EQ(converter.ScreenToDesign(kBig5Houtai), Variant("后台"));
        EXPECT_EQ(converter.DatabaseToScreen("直接处理"), Variant(kBig5Zhijie));
        EXPECT_EQ(converter.ScreenToDatabase(kBig5Zhijie), Variant("直接处理"));
        EXPECT_EQ(converter.GbToBig5("后台"), kBig5Houtai);
        EXPECT_EQ(converter.Big5ToGb(kBig5Houtai), "后台");
    }
    {
        ScopedLangSettings settings(SettingsFor("936", "936", "950"));  // UI kind 0, DB kind 1
        TCodeConverter converter(nullptr);
        EXPECT_EQ(converter.UIKind(), 0);
        EXPECT_EQ(converter.DBKind(), 1);
        EXPECT_EQ(converter.DatabaseToScreen(kBig5Houtai), Variant("后台"));
        EXPECT_EQ(converter.ScreenToDatabase("后台"), Variant(kBig5Houtai));
        EXPECT_EQ(converter.DesignToScreen("后台"), Variant("后台"));
    }
    {
        ScopedLangSettings settings(SettingsFor("936", "950"));  // GB interface on a BIG5 system
        TCodeConverter converter(nullptr);
        EXPECT_EQ(converter.UIKind(), 4);
        EXPECT_EQ(converter.DesignToScreen("后台"), Variant("后台"));
    }
}

TEST(CodeConverterTest, ConvertVariantWalksArraysAndKeepsOtherKinds) {
    ScopedLangSettings settings(SettingsFor("950"));
    TCodeConverter converter(nullptr);
    EXPECT_TRUE(converter.ConvertVariant(2, Variant::Null()).IsNull());
    EXPECT_TRUE(converter.ConvertVariant(2, Variant()).IsEmpty());
    EXPECT_EQ(converter.ConvertVariant(2, 42), Variant(42));
    EXPECT_EQ(converter.ConvertVariant(2, Variant::FromDate(38000.5)), Variant::FromDate(38000.5));
    EXPECT_EQ(converter.ConvertVariant(2, u"后台"), Variant(kBig5Houtai));  // wide in, narrow out
    for (TConvertKind other : {0, 3, 4}) EXPECT_EQ(converter.ConvertVariant(other, "后台"), Variant("后台"));

    Variant nested = VarArrayOf({"后台", VarArrayOf({"直接处理", 7, Variant::Null()}), 1.5});
    Variant converted = converter.ConvertVariant(2, nested);
    EXPECT_EQ(converted, VarArrayOf({kBig5Houtai, VarArrayOf({kBig5Zhijie, 7, Variant::Null()}), 1.5}));
    EXPECT_EQ(nested[0], Variant("后台"));  // the input is left alone

    Variant grid = VarArrayCreate(0, 1, 1, 2);
    grid.At(0, 1) = "后台";
    grid.At(1, 2) = VarArrayOf({"直接处理"});
    grid.At(1, 1) = 3;
    Variant back = converter.ConvertVariant(1, converter.ConvertVariant(2, grid));
    EXPECT_EQ(back, grid);
    EXPECT_EQ(converter.ConvertVariant(2, grid).At(1, 2)[0], Variant(kBig5Zhijie));
}

TEST(CodeConverterTest, ChineseFontByKind) {
    const struct { TConvertKind kind; TFontCharset charset; } cases[] = {
        {0, GB2312_CHARSET}, {1, GB2312_CHARSET}, {2, CHINESEBIG5_CHARSET}, {3, CHINESEBIG5_CHARSET}, {4, GB2312_CHARSET}};
    for (const auto& c : cases) {
        TFont font;
        TCodeConverter::ApplyChineseFont(c.kind, &font);
        EXPECT_EQ(font.Name(), "SimSun");
        EXPECT_EQ(font.Charset(), c.charset) << int(c.kind);
    }
}

}  // namespace
}  // namespace krv
