#include "runtime/PlexaGeneratorU.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/Registry.h"
#include "platform/SysUtils.h"

namespace krv {
namespace {

namespace fs = std::filesystem;

// Each test gets its own installation folder named by its own registry file.
class GeneratorTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("plexa_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "home");
        std::ofstream(dir_ / "registry.reg", std::ios::binary)
            << "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\KRV\\Corvantis]\r\n"
            << "\"ServerPath\"=\"" << (dir_ / "home").string() << "\"\r\n";
        SetRegistryFilePath((dir_ / "registry.reg").string());
    }
    void TearDown() override {
        SetRegistryFilePath("");
        fs::remove_all(dir_);
    }
    // The report's lines without their time stamps.
    std::vector<std::string> ReportLines() const {
        std::ifstream in(dir_ / "home" / "Log" /
                         ("Alert_PlexaGenerator_" + FormatDateTime("yyyymmdd", Date()) + ".log"),
                         std::ios::binary);
        std::stringstream all;
        all << in.rdbuf();
        std::vector<std::string> lines;
        std::string text = all.str();
        for (size_t start = 0; start < text.size();) {
            size_t next = text.find("\r\n[", start);
            std::string line = text.substr(start, next == std::string::npos ? text.size() - start - 2
                                                                            : next - start);
            EXPECT_EQ(line[0], '[');
            lines.push_back(line.substr(line.find("] ") + 2));
            start = next == std::string::npos ? text.size() : next + 2;
        }
        return lines;
    }
    fs::path dir_;
};

TEST(SQLSa, ScramblesAndUnscramblesEveryPassword) {
    std::mt19937 rng(42);
    for (int i = 0; i < 2000; ++i) {
        std::string password(1 + rng() % 40, '\0');
        for (char& c : password) c = char(1 + rng() % 255);
        std::string scrambled = EncodeSQLSa(password);
        ASSERT_EQ(scrambled.size(), 2 * password.size());
        ASSERT_EQ(scrambled.find_first_not_of("0123456789ABCDEF"), std::string::npos);
        ASSERT_EQ(DecodeSQLSa(scrambled), password);
    }
    // Position 8 is stored unrotated, position 1 rotated right by one.
    EXPECT_EQ(EncodeSQLSa("aaaaaaaa").substr(14, 2), "61");
    EXPECT_EQ(EncodeSQLSa("a").substr(0, 2), "B0");
    EXPECT_EQ(DecodeSQLSa("b0"), "a");       // either case
    EXPECT_EQ(DecodeSQLSa("B06"), "a");      // a final odd character is ignored
    EXPECT_EQ(EncodeSQLSa(""), EncodeSQLSa(kEmptyPasswordMarker));
    EXPECT_EQ(DecodeSQLSa(EncodeSQLSa("")), "");
    EXPECT_EQ(DecodeSQLSa(""), "");
}

TEST_F(GeneratorTest, DamagedPasswordGivesTheMarkerAndFiveReportLines) {
    EXPECT_EQ(DecodeSQLSa("B0ZZ"), kPasswordErrorMarker);
    std::vector<std::string> lines = ReportLines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "---------------------------------- on " + EncodeSQLSa("DecodeSQLSa") +
                            " ----------------------------------");
    EXPECT_EQ(lines[1], "讯息信息:");
    EXPECT_EQ(lines[2], "Exception is EConvertError\r\nMessage 01: '$ZZ' is not a valid integer value");
    EXPECT_EQ(lines[3], "ErrorMessage Count: 1");
    EXPECT_EQ(lines[4], "Programer Message: 解析 Sa 时发生错误!");
}

TEST_F(GeneratorTest, ReportLinesByKindOfError) {
    ReportException(nullptr, "  ", "");
    EDBEngineError db({{17, "login failed"}, {2, "no table"}});
    ReportException(&db, "Open", " why ");
    EWin32Error os("Access denied", 5);
    ReportException(&os, "", "");
    EInOutError io("Disk full", 112);
    ReportException(&io, "", "");
    Exception plain("100% done");
    ReportException(&plain, "", "");
    std::runtime_error foreign("x");
    ReportException(&foreign, "", "");
    const std::string dashes = "----------------------------------";
    std::vector<std::string> expect = {
        dashes + dashes,
        dashes + " on Open " + dashes,
        "讯息信息:",
        "EDBEngineError Error 01: Code: 17, Message: login failed",
        "EDBEngineError Error 02: Code: 2, Message: no table",
        "ErrorMessage Count: 2",
        "Programer Message:  why ",
        dashes + dashes, "讯息信息:", "EWin32Error Error 01: Code: 5, Message: Access denied",
        "ErrorMessage Count: 1",
        dashes + dashes, "讯息信息:", "EInOutError Error 01: Code: 112, Message: Disk full",
        "ErrorMessage Count: 1",
        dashes + dashes, "讯息信息:", "Exception is Exception\r\nMessage 01: 100% done",
        "ErrorMessage Count: 1",
        dashes + dashes, "讯息信息:", "Exception is std::runtime_error\r\nMessage 01: x",
        "ErrorMessage Count: 1",
    };
    EXPECT_EQ(ReportLines(), expect);
}

TEST_F(GeneratorTest, AlertFolderFallsBackAndWriteFailureIsAnAnswer) {
    EXPECT_EQ(GetAlertHomePath(), (dir_ / "home").string());
    SetRegistryFilePath((dir_ / "missing.reg").string());
    EXPECT_EQ(GetAlertHomePath(), GetTempFolder());
    // A file where the Log folder should be: the write fails quietly.
    SetRegistryFilePath((dir_ / "registry.reg").string());
    std::ofstream(dir_ / "home" / "Log") << "x";
    EXPECT_FALSE(WriteGeneratorAlert("lost"));
    EXPECT_EQ(DecodeSQLSa("ZZ"), kPasswordErrorMarker);  // reports nothing, still answers
}

}  // namespace
}  // namespace krv
