#include "runtime/TranslatorU.h"

#include <gtest/gtest.h>

#include "LangFixtures.h"
#include "platform/SysUtils.h"

namespace krv {
namespace {

using test::ScopedLibraryName;

TEST(TranslatorTest, ConvertsThroughTheLibraryBothWays) {
    TTranslator translator;
    EXPECT_EQ(translator.GbToBig5("后台"), test::kBig5Houtai);
    EXPECT_EQ(translator.Big5ToGb(test::kBig5Houtai), "后台");
    EXPECT_EQ(translator.GbToBig5(""), "");
}

TEST(TranslatorTest, MissingLibraryOrEntryPointRaisesItsText) {
    {
        ScopedLibraryName missing("NoSuchLanguageLibrary.dll");
        try {
            TTranslator translator;
            FAIL() << "no exception";
        } catch (const Exception& e) {
            EXPECT_STREQ(e.what(), "Load Library NoSuchLanguageLibrary.dll Error!");
        }
    }
    {
        // A library that loads but has no conversion entry points.
        ScopedLibraryName other("libkrvplatform.so");
        try {
            TTranslator translator;
            FAIL() << "no exception";
        } catch (const Exception& e) {
            EXPECT_STREQ(e.what(), "Get Library Procedure Address Error!");
            EXPECT_EQ(e.HelpContext(), -1);
        }
    }
}

}  // namespace
}  // namespace krv
