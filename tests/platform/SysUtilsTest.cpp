#include "platform/SysUtils.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace krv {
namespace {

namespace fs = std::filesystem;

TEST(Format, WritesEachKindOfSpecifier) {
    struct Case {
        std::string format;
        std::vector<Variant> args;
        std::string text;
    } cases[] = {
        {"%s-%d", {"a", 7}, "a-7"},
        {"%.2d:%.2d", {9, 5}, "09:05"},
        {"%.4d%.2d%.2d", {2024, 3, 5}, "20240305"},
        {"%.3d", {90}, "090"},
        {"%.2d", {113}, "113"},          // never cut
        {"%.2d", {-5}, "-05"},
        {"%5d|%-5d|", {42, 42}, "   42|42   |"},
        {"%x %.4X", {255, 255}, "FF 00FF"},
        {"%u", {-1}, "4294967295"},
        {"%.3s", {"abcdef"}, "abc"},
        {"%6s", {"ab"}, "    ab"},
        {"%s", {u"宽"}, "宽"},
        {"%.2f %f", {3.14159, 2}, "3.14 2.00"},
        {"%n", {1234567.891}, "1,234,567.89"},
        {"%g", {0.5}, "0.5"},
        {"%e", {12345.0}, "1.23450000000000E+004"},
        {"%*d", {4, 7}, "   7"},
        {"%1:s %0:s", {"a", "b"}, "b a"},
        {"100%%", {}, "100%"},
        {"%s", {"a", "surplus", 3}, "a"},
        {"Net File can't update![%s]", {"x.so"}, "Net File can't update![x.so]"},
        {"%d%.2d%.2d", {int64_t(2024), 1, 2}, "20240102"},
    };
    for (const auto& c : cases) EXPECT_EQ(Format(c.format, c.args), c.text) << c.format;
}

TEST(Format, RaisesForMissingOrMismatchedArguments) {
    struct Case {
        std::string format;
        std::vector<Variant> args;
    } cases[] = {
        {"%s %s", {"a"}}, {"%d", {"12"}}, {"%s", {12}},  {"%d", {1.5}},   {"%f", {"x"}},
        {"%", {}},        {"%5", {1}},    {"%q", {1}},   {"%n", {}},      {"%*d", {"x", 1}},
        {"%d", {Variant()}}, {"%s", {Variant::Null()}},
    };
    for (const auto& c : cases) EXPECT_THROW(Format(c.format, c.args), EConvertError) << c.format;
    try {
        Format("%d", {"x"});
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Format '%d' invalid or incompatible with argument");
    }
}

class DateTimeTest : public ::testing::Test {
protected:
    void TearDown() override { ResetFormatSettings(); }
    // Tuesday 5 March 2024, 14:07:09.045
    const double when = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 45);
};

TEST_F(DateTimeTest, FormatDateTimePatterns) {
    struct Case {
        std::string pattern, text;
    } cases[] = {
        {"YYYYMMDD", "20240305"},
        {"YYYYMM", "202403"},
        {"YYYY", "2024"},
        {"yyyy/mm/dd", "2024/03/05"},
        {"YYYYMMDDHHNNSSZZZ", "20240305140709045"},
        {"YYYY/MM/DD hh:nn:ss:zzz", "2024/03/05 14:07:09:045"},
        {"yy-m-d h:n:s.z", "24-3-5 14:7:9.45"},
        {"hh:mm", "14:07"},              // m right after an hour is minutes
        {"ddd dddd mmm mmmm", "Tue Tuesday Mar March"},
        {"h am/pm", "2 pm"},
        {"hh AMPM", "02 PM"},
        {"'yyyy' \"mm\" yyyy", "yyyy mm 2024"},
        {"c", "2024/03/05 14:07:09"},
        {"ddddd tt", "2024/03/05 14:07:09"},
        {"年yyyy", "年2024"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.pattern, when), c.text) << c.pattern;
}

TEST_F(DateTimeTest, SeparatorsAndShortDateFormatAreProcessSettings) {
    SetDateSeparator('-');
    SetTimeSeparator('.');
    EXPECT_EQ(FormatDateTime("YYYY/MM/DD hh:nn:ss:zzz", when), "2024-03-05 14.07.09.045");
    EXPECT_EQ(DateToStr(when), "2024-03-05");
    SetShortDateFormat("dd/mm/yyyy");
    SetLongTimeFormat("hh:nn");
    EXPECT_EQ(ShortDateFormat(), "dd/mm/yyyy");
    EXPECT_EQ(DateTimeToStr(when), "05-03-2024 14.07");
    EXPECT_EQ(DateTimeToStr(std::floor(when)), "05-03-2024");
    ResetFormatSettings();
    EXPECT_EQ(DateTimeToStr(when), "2024/03/05 14:07:09");
    EXPECT_EQ(DateSeparator(), '/');
    EXPECT_EQ(TimeSeparator(), ':');
}

TEST_F(DateTimeTest, NowCarriesMillisecondsAndDateIsMidnight) {
    double now = Now();
    EXPECT_GT(now, EncodeDate(2020, 1, 1));
    EXPECT_EQ(Date(), std::floor(Now()));
    int h, n, s, ms;
    bool sawMilliseconds = false;
    for (int i = 0; i < 50 && !sawMilliseconds; ++i) {
        DecodeTime(Now(), h, n, s, ms);
        sawMilliseconds = ms != 0;
        usleep(1000);
    }
    EXPECT_TRUE(sawMilliseconds);
}

TEST(Paths, SplitWithEitherSeparator) {
    struct Case {
        std::string path, name, folder, ext;
    } cases[] = {
        {"/opt/krv/ZPNR42C.so", "ZPNR42C.so", "/opt/krv/", ".so"},
        {"C:\\KRV\\Bin\\ZPNR42C.DLL", "ZPNR42C.DLL", "C:\\KRV\\Bin\\", ".DLL"},
        {"dir.v1/name", "name", "dir.v1/", ""},
        {"a\\b/c.tar.gz", "c.tar.gz", "a\\b/", ".gz"},
        {"plain", "plain", "", ""},
        {"", "", "", ""},
        {"/opt/krv/", "", "/opt/krv/", ""},
        // 0x5C as the trail byte of a GB character is no separator
        {"d/\x81\x5C.txt", "\x81\x5C.txt", "d/", ".txt"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExtractFileName(c.path), c.name) << c.path;
        EXPECT_EQ(ExtractFilePath(c.path), c.folder) << c.path;
        EXPECT_EQ(ExtractFileExt(c.path), c.ext) << c.path;
    }
    EXPECT_EQ(ChangeFileExt("a/b.dll", ".so"), "a/b.so");
    EXPECT_EQ(ChangeFileExt("a.d/b", ".so"), "a.d/b.so");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/opt"), "/opt/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/opt/"), "/opt/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\KRV\\"), "C:\\KRV\\");
    EXPECT_EQ(IncludeTrailingPathDelimiter("\x81\x5C"), "\x81\x5C/");
    EXPECT_EQ(IncludeTrailingPathDelimiter(""), "");
    EXPECT_EQ(PlatformPath("Sub\\Dir\\\x81\x5C"), "Sub/Dir/\x81\x5C");
    EXPECT_TRUE(IsDriveOrShareRooted("D:\\Pkg"));
    EXPECT_TRUE(IsDriveOrShareRooted("\\\\srv\\share"));
    EXPECT_FALSE(IsDriveOrShareRooted("\\Sub"));
    EXPECT_FALSE(IsDriveOrShareRooted("/opt"));
}

TEST(Files, FoldersLinesAndEnvironment) {
    fs::path dir = fs::temp_directory_path() / ("sysutils_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    std::string deep = (dir / "a" / "b" / "c").string();
    EXPECT_FALSE(DirectoryExists(deep));
    EXPECT_TRUE(ForceDirectories(deep));
    EXPECT_TRUE(ForceDirectories(deep));  // already there
    EXPECT_TRUE(DirectoryExists(deep));
    std::string file = deep + "/log.txt";
    EXPECT_FALSE(FileExists(file));
    EXPECT_TRUE(AppendLineToFile(file, "one"));
    EXPECT_TRUE(AppendLineToFile(file, "二"));
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(deep));
    std::stringstream text;
    text << std::ifstream(file, std::ios::binary).rdbuf();
    EXPECT_EQ(text.str(), "one\r\n二\r\n");
    EXPECT_FALSE(AppendLineToFile(deep, "a folder"));
    EXPECT_FALSE(AppendLineToFile((dir / "missing" / "x.log").string(), "no folder"));
    EXPECT_FALSE(ForceDirectories(file + "/below-a-file"));
    EXPECT_TRUE(DeleteFile(file));
    EXPECT_FALSE(DeleteFile(file));
    EXPECT_FALSE(ForceDirectories(""));
    fs::remove_all(dir);

    EXPECT_EQ(GetTempFolder().back(), '/');
    EXPECT_TRUE(DirectoryExists(GetTempFolder()));
    EXPECT_FALSE(GetUserName().empty());
    EXPECT_FALSE(GetComputerName().empty());
    EXPECT_TRUE(FileExists(ApplicationExeName()));
    EXPECT_EQ(ApplicationFolder(), ExtractFilePath(ApplicationExeName()));
}

TEST(Numbers, IntegerAndFloatTexts) {
    struct Case {
        std::string text;
        bool ok;
        int64_t value;
    } cases[] = {{"12", true, 12},  {" -7 ", true, -7},  {"+3", true, 3},  {"", false, 0},
                 {"1 2", false, 0}, {"$1F", false, 0},   {"0x10", false, 0},
                 {"9223372036854775807", true, INT64_MAX}, {"9223372036854775808", false, 0},
                 {"-9223372036854775808", true, INT64_MIN}, {"-", false, 0}};
    for (const auto& c : cases) {
        int64_t v = 0;
        EXPECT_EQ(TryStrToInt64(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
    EXPECT_EQ(StrToIntDef("99999999999", -1), -1);
    EXPECT_THROW(StrToInt("x"), EConvertError);
    EXPECT_DOUBLE_EQ(StrToFloat("1.25e2"), 125);
    EXPECT_THROW(StrToFloat("1,5"), EConvertError);
    EXPECT_EQ(FloatToStr(0.1), "0.1");
}

}  // namespace
}  // namespace krv
