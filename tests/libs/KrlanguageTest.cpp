// The conversion library checked against the iconv and opencc commands on the module's own
// captions and messages, and its C entry points on bad and boundary input.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "libs/Krlanguage/Krlanguage.h"
#include "runtime/TranslatorU.h"

namespace krv {
namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Runs a shell pipeline on a file and answers its standard output.
std::string Pipe(const std::string& command) {
    std::string out;
    FILE* p = popen(command.c_str(), "r");
    if (!p) return out;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
    pclose(p);
    return out;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class KrlanguageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string path = Env("KRV_BIN_DIR") + "/Krlanguage.so";
        handle_ = dlopen(path.c_str(), RTLD_NOW);
        ASSERT_NE(handle_, nullptr) << dlerror();
        toBig5_ = reinterpret_cast<KrTextConversion>(dlsym(handle_, "GBtoBIG5"));
        toGb_ = reinterpret_cast<KrTextConversion>(dlsym(handle_, "BIG5toGB"));
    }
    static void TearDownTestSuite() {
        if (handle_) dlclose(handle_);
        handle_ = nullptr;
    }

    static std::string Convert(KrTextConversion fn, const std::string& s) {
        int n = fn(s.data(), static_cast<int>(s.size()), nullptr, 0);
        std::string out(static_cast<size_t>(n), '\0');
        EXPECT_EQ(fn(s.data(), static_cast<int>(s.size()), out.data(), n), n);
        return out;
    }

    static inline void* handle_ = nullptr;
    static inline KrTextConversion toBig5_ = nullptr;
    static inline KrTextConversion toGb_ = nullptr;
};

TEST_F(KrlanguageTest, ExportsTheFiveEntryPoints) {
    for (const char* name : {"GBtoBIG5", "BIG5toGB", "GetBIG5Data", "GetGBData", "SaveOrder"})
        EXPECT_NE(dlsym(handle_, name), nullptr) << name;
}

// Every caption and message of the module, both ways, as the command-line tools convert them.
TEST_F(KrlanguageTest, MatchesIconvAndOpenccOnTheModulesTexts) {
    const std::string fixture = Env("KRV_SOURCE_DIR") + "/tests/libs/data/captions.txt";
    const std::string gbFile = "iconv -f UTF-8 -t CP936 '" + fixture + "'";
    const std::vector<std::string> gb = Lines(Pipe(gbFile));
    const std::vector<std::string> big5 =
        Lines(Pipe(gbFile + " | iconv -f CP936 -t UTF-8 | opencc -c s2tw | iconv -f UTF-8 -t CP950"));
    const std::vector<std::string> back = Lines(Pipe(
        gbFile + " | iconv -f CP936 -t UTF-8 | opencc -c s2tw | opencc -c tw2s | iconv -f UTF-8 -t CP936"));
    ASSERT_GT(gb.size(), 100u);
    ASSERT_EQ(big5.size(), gb.size());
    ASSERT_EQ(back.size(), gb.size());
    TTranslator translator;  // the module's own binding, loaded by name
    for (size_t i = 0; i < gb.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(translator.GbToBig5(gb[i]), big5[i]);
        EXPECT_EQ(translator.Big5ToGb(big5[i]), back[i]);
    }
}

TEST_F(KrlanguageTest, TheJobCaptionBothWays) {
    const std::string gb = "自动摊提折旧作业";
    const std::string big5 = "\xA6\xDB\xB0\xCA\xC5\x75\xB4\xA3\xA7\xE9\xC2\xC2\xA7\x40\xB7\x7E";  // 自動攤提折舊作業
    EXPECT_EQ(Convert(toBig5_, gb), big5);
    EXPECT_EQ(Convert(toGb_, big5), gb);
}

TEST_F(KrlanguageTest, CharacterWithoutATargetFormBecomesTheDefaultCharacter) {
    // "①" and "あ" exist in GB but not in BIG5; the text around them is kept.
    EXPECT_EQ(Convert(toBig5_, "A①后あ"), "A?\xAB\xE1?");
    // An invalid or cut-off double-byte sequence does not stop the conversion.
    EXPECT_EQ(Convert(toBig5_, std::string("\xFF") + "后" + "\xB0"), "?\xAB\xE1?");
}

TEST_F(KrlanguageTest, BoundaryInput) {
    EXPECT_EQ(toBig5_(nullptr, 5, nullptr, 0), 0);
    EXPECT_EQ(Convert(toBig5_, ""), "");
    EXPECT_EQ(Convert(toBig5_, "plain ASCII 123"), "plain ASCII 123");
    const std::string withNul("后\0台", 5);
    EXPECT_EQ(Convert(toBig5_, withNul), Convert(toBig5_, "后") + '\0' + Convert(toBig5_, "台"));

    // Too small a buffer: the length is answered and nothing is written.
    std::string small(4, '#');
    EXPECT_EQ(toBig5_("后台处理", 8, small.data(), 3), 8);
    EXPECT_EQ(small, "####");

    // A large text converts as its pieces do.
    std::string piece = "自动摊提折旧作业,";
    std::string huge;
    for (int i = 0; i < 100000; ++i) huge += piece;
    std::string expected;
    const std::string converted = Convert(toBig5_, piece);
    for (int i = 0; i < 100000; ++i) expected += converted;
    EXPECT_EQ(Convert(toBig5_, huge), expected);
}

TEST_F(KrlanguageTest, UnusedEntryPointsChangeOnlyTheCodePage) {
    auto getBig5 = reinterpret_cast<KrTextConversion>(dlsym(handle_, "GetBIG5Data"));
    auto getGb = reinterpret_cast<KrTextConversion>(dlsym(handle_, "GetGBData"));
    const std::string big5 = Convert(getBig5, "後台");  // already Traditional: bytes change, script stays
    EXPECT_EQ(big5, "\xAB\xE1\xA5\x78");
    EXPECT_EQ(Convert(getGb, big5), "後台");
}

}  // namespace
}  // namespace krv
