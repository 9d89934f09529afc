#include "platform/IniFiles.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/CodePage.h"

namespace krv {
namespace {

namespace fs = std::filesystem;

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        file_ = fs::temp_directory_path() /
                ("ini_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".ini");
    }
    void TearDown() override { fs::remove(file_); }
    void Write(const std::string& bytes) { std::ofstream(file_, std::ios::binary) << bytes; }
    fs::path file_;
};

// As an installation on Windows writes it: CR LF, blanks around "=", comments, GB values.
const char* const kSettings =
    "; installer settings\r\n"
    "stray=before any section\r\n"
    "[Server Information]\r\n"
    "ComputerName = 10.0.0.1;10.0.0.2 \r\n"
    "  ServerPort=211\r\n"
    "serverport=999\r\n"
    "Quoted=\"  padded  \"\r\n"
    "Single='x'\r\n"
    "Half=\"open\r\n"
    "Empty=\r\n"
    "NoEquals\r\n"
    "=no name\r\n"
    ";ServerPort=1\r\n"
    "Inline=a ; not a comment\r\n"
    "\r\n"
    "[ Client Components ]\r\n"
    "LangType=CHS\r\n"
    "Caption=自动摊提折旧作业\r\n"
    "[SERVER INFORMATION]\r\n"
    "ComputerName=later section is not read\r\n"
    "Extra=also not read\r\n"
    "[WorkDLLPath]\r\n"
    "P1=D:\\Pkg\r\n"
    "P2=\\Sub\r\n"
    "p1=duplicate\r\n"
    "[Numbers]\r\n"
    "A= -12 \r\n"
    "B=12abc\r\n"
    "C=$1F\r\n"
    "D=99999999999\r\n"
    "[Last]\r\n"
    "Tail=no line end";

TEST_F(IniFileTest, ReadsWindowsProfileRules) {
    Write(kSettings);
    TIniFile ini(file_.string());
    struct Case {
        std::string section, key, value;
    } cases[] = {
        {"Server Information", "ComputerName", "10.0.0.1;10.0.0.2"},
        {"server information", "SERVERPORT", "211"},  // names ignore case, first key wins
        {"Server Information", "Quoted", "  padded  "},
        {"Server Information", "Single", "x"},
        {"Server Information", "Half", "\"open"},
        {"Server Information", "Empty", ""},
        {"Server Information", "Inline", "a ; not a comment"},
        {"Server Information", "Extra", "<default>"},  // only in the repeated section
        {"Server Information", "NoEquals", "<default>"},
        {"Client Components", "Caption", "自动摊提折旧作业"},
        {"Client Components", "LangType", "CHS"},
        {"Last", "Tail", "no line end"},
        {"Missing", "Key", "<default>"},
        {"", "stray", "<default>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ini.ReadString(c.section, c.key, "<default>"), c.value) << c.key;

    EXPECT_EQ(ini.ReadInteger("Numbers", "A", 0), -12);
    EXPECT_EQ(ini.ReadInteger("Numbers", "B", 5), 5);
    EXPECT_EQ(ini.ReadInteger("Numbers", "C", 5), 5);
    EXPECT_EQ(ini.ReadInteger("Numbers", "D", 5), 5);
    EXPECT_EQ(ini.ReadInteger("Numbers", "Missing", 7), 7);
    EXPECT_TRUE(ini.ReadBool("Numbers", "A", false));
    EXPECT_TRUE(ini.ReadBool("Numbers", "B", true));

    EXPECT_EQ(ini.ReadSectionValues("workdllpath"),
              (std::vector<std::string>{"P1=D:\\Pkg", "P2=\\Sub"}));
    EXPECT_EQ(ini.ReadSection("WorkDLLPath"), (std::vector<std::string>{"P1", "P2"}));
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Server Information",
                                                            "Client Components", "WorkDLLPath",
                                                            "Numbers", "Last"}));
    EXPECT_TRUE(ini.SectionExists("numbers"));
    EXPECT_TRUE(ini.ValueExists("Numbers", "a"));
    EXPECT_FALSE(ini.ValueExists("Numbers", "Z"));
}

TEST_F(IniFileTest, LineEndsAndEncodings) {
    Write("[S]\nA=1\rB=2\r\nC=3");
    TIniFile unix(file_.string());
    EXPECT_EQ(unix.ReadString("S", "A", ""), "1");
    EXPECT_EQ(unix.ReadString("S", "B", ""), "2");
    EXPECT_EQ(unix.ReadString("S", "C", ""), "3");

    std::string bytes = "\xFF\xFE";
    for (char16_t c : std::u16string(u"[S]\r\nName=折旧\r\n")) bytes += {char(c & 0xFF), char(c >> 8)};
    Write(bytes);
    EXPECT_EQ(TIniFile(file_.string()).ReadString("S", "Name", ""), "折旧");

    Write("\xEF\xBB\xBF[S]\r\nA=1\r\n");
    EXPECT_EQ(TIniFile(file_.string()).ReadString("S", "A", ""), "1");
}

TEST_F(IniFileTest, MissingOrDamagedFilesGiveDefaults) {
    TIniFile missing((file_.string() + ".none"));
    EXPECT_EQ(missing.ReadString("S", "A", "d"), "d");
    EXPECT_TRUE(missing.ReadSections().empty());
    const std::string damaged[] = {
        std::string("[S\0]\r\nA=\0\xFF", 10),
        "[[[[\r\n]]]]\r\n====\r\n",
        "[S]\r\nA",
        std::string(1, '\xFF'),
    };
    for (const auto& bytes : damaged) {
        Write(bytes);
        TIniFile ini(file_.string());
        EXPECT_EQ(ini.ReadString("S", "B", "d"), "d");
    }
    TIniFile folder(fs::temp_directory_path().string());
    EXPECT_EQ(folder.ReadInteger("S", "A", 3), 3);
}

}  // namespace
}  // namespace krv
