#include "platform/CodePage.h"

#include <gtest/gtest.h>

namespace krv {
namespace {

TEST(CodePage, RoundTripsAndDefaultCharacter) {
    EXPECT_EQ(GetSystemCodePage(), 936);
    const std::string gb = "自动摊提折旧作业";
    std::u16string wide = AnsiToWide(gb, 936);
    EXPECT_EQ(wide, u"自动摊提折旧作业");
    EXPECT_EQ(WideToAnsi(wide, 936), gb);
    // The Traditional form exists in BIG5 and comes back unchanged.
    std::string big5 = WideToAnsi(u"自動攤提折舊作業", 950);
    EXPECT_EQ(big5.size(), 16u);
    EXPECT_EQ(AnsiToWide(big5, 950), u"自動攤提折舊作業");
    // A character BIG5 lacks becomes the default character, its neighbours survive.
    EXPECT_EQ(WideToAnsi(u"a\u4E2Ab", 437), "a?b");
    // A truncated double-byte character does not stop the conversion.
    std::u16string cut = AnsiToWide(std::string("ab") + gb.substr(0, 1), 936);
    EXPECT_EQ(cut.substr(0, 2), u"ab");
    EXPECT_EQ(cut.size(), 3u);
    EXPECT_EQ(AnsiToUtf8("折旧"), "\xE6\x8A\x98\xE6\x97\xA7");
}

TEST(CodePage, SystemCodePageIsASettingAndUnknownPagesGiveNothing) {
    SetSystemCodePage(950);
    EXPECT_EQ(AnsiToWide(WideToAnsi(u"舊")), u"舊");
    SetSystemCodePage(936);
    EXPECT_FALSE(IsCodePageSupported(99999));
    EXPECT_TRUE(AnsiToWide("abc", 99999).empty());
    EXPECT_TRUE(IsCodePageSupported(437));
}

}  // namespace
}  // namespace krv
