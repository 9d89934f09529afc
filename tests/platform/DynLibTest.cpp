#include "platform/DynLib.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace krv {
namespace {

std::string BinDir() {
    const char* dir = std::getenv("KRV_BIN_DIR");
    return dir ? std::string(dir) + "/" : std::string();
}

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(DynLibTest, WindowsLibraryNamesBecomeSharedObjects) {
    const struct {
        const char* given;
        const char* loaded;
    } cases[] = {
        {"ZPNR42S.DLL", "ZPNR42S.so"},      {"Krlanguage.dll", "Krlanguage.so"},
        {"lib/KRDownLoad.Dll", "lib/KRDownLoad.so"}, {"ZPNR42C.so", "ZPNR42C.so"},
        {"dll", "dll"},                     {".dll", ".dll"},
        {"name.dll.bak", "name.dll.bak"},
    };
    for (const auto& c : cases) EXPECT_EQ(PlatformLibraryName(c.given), c.loaded) << c.given;
}

TEST(DynLibTest, BareWindowsNameIsFoundNextToTheProgram) {
    TDynLib library("ZPNR42S.DLL");
    ASSERT_TRUE(library.Loaded()) << library.Error();
    EXPECT_TRUE(EndsWith(library.Path(), "/ZPNR42S.so")) << library.Path();
    EXPECT_NE(library.Find("GetSvrController"), nullptr);
}

TEST(DynLibTest, FullPathLoadsThatFile) {
    TDynLib library(BinDir() + "ZPNR42S.dll");
    ASSERT_TRUE(library.Loaded()) << library.Error();
    EXPECT_EQ(library.Path(), BinDir() + "ZPNR42S.so");
}

TEST(DynLibTest, MissingLibraryOrExportIsAnAnswerNotACrash) {
    TDynLib missing("NoSuchLibrary.dll");
    EXPECT_FALSE(missing.Loaded());
    EXPECT_NE(missing.Error().find("NoSuchLibrary.so"), std::string::npos) << missing.Error();
    EXPECT_EQ(missing.Find("GetSvrController"), nullptr);
    EXPECT_EQ(missing.Path(), "");

    TDynLib library("ZPNR42S.dll");
    ASSERT_TRUE(library.Loaded());
    EXPECT_EQ(library.Find("NoSuchExport"), nullptr);
    EXPECT_NE(library.Error().find("NoSuchExport"), std::string::npos) << library.Error();

    EXPECT_EQ(LoadLibrary(""), nullptr);
    EXPECT_EQ(GetProcAddress(nullptr, "GetSvrController"), nullptr);
    EXPECT_FALSE(FreeLibrary(nullptr));
    EXPECT_EQ(GetModuleFileName(nullptr), "");
}

TEST(DynLibTest, LibraryStaysUsableAfterMoveAndIsUnloadedOnce) {
    TDynLib first("ZPNR42S.dll");
    ASSERT_TRUE(first.Loaded());
    TDynLib second(std::move(first));
    EXPECT_FALSE(first.Loaded());
    EXPECT_NE(second.Find("GetSvrController"), nullptr);
    first = std::move(second);
    EXPECT_TRUE(first.Loaded());
    first.Unload();
    EXPECT_FALSE(first.Loaded());
    first.Unload();
}

TEST(DynLibTest, AnAddressTellsTheFileThatHoldsIt) {
    const std::string platform = ModuleFileNameOf(reinterpret_cast<const void*>(&PlatformLibraryName));
    EXPECT_TRUE(EndsWith(platform, "/libkrvplatform.so")) << platform;
    EXPECT_EQ(ModuleFileNameOf(nullptr), "");
}

}  // namespace
}  // namespace krv
