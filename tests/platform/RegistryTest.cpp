#include "platform/Registry.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/CodePage.h"

namespace krv {
namespace {

namespace fs = std::filesystem;

// A version 5.00 export as regedit writes it, with the kinds of values exports hold.
const char* const kExport =
    "Windows Registry Editor Version 5.00\n"
    "\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\KRV\\Corvantis]\n"
    "\"ClientPath\"=\"C:\\\\Program Files\\\\KRV\\\\\"\n"
    "\"Quoted\"=\"say \\\"hi\\\"\"\n"
    "\"名称\"=\"折旧\"\n"
    "@=\"default\"\n"
    "\"Count\"=dword:0000002a\n"
    "\"Big\"=hex(b):01,00,00,00,01,00,00,00\n"
    "\"Expand\"=hex(2):25,00,54,00,4d,00,50,00,25,00,00,00\n"
    "\"Multi\"=hex(7):61,00,00,00,62,00,63,00,00,00,00,00\n"
    "\"Blob\"=hex:de,ad,\\\n"
    "  be,ef\n"
    "\"Later\"=\"first\"\n"
    "\"Later\"=\"second\"\n"
    "\"Gone\"=\"x\"\n"
    "\"Gone\"=-\n"
    "\"Broken\"=\"no closing quote\n"
    "\"BadDword\"=dword:xyz\n"
    "; a comment\n"
    "\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\KRV\\Corvantis\\Sub1]\n"
    "\"x\"=\"1\"\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\KRV\\Corvantis\\Sub2\\Deep]\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\KRV\\Corvantis\\Old]\n"
    "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\KRV\\Corvantis\\Old]\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\KRV\\Gone]\n"
    "\"v\"=\"1\"\n"
    "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\KRV\\Gone]\n"
    "[HKEY_CURRENT_USER\\Software\\KRV\\Corvantis]\n"
    "\"ClientPath\"=\"user\"\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Damaged\n"
    "\"Lost\"=\"value\"\n";

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        file_ = fs::temp_directory_path() /
                ("registry_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".reg");
        SetRegistryFilePath(file_.string());
    }
    void TearDown() override {
        SetRegistryFilePath("");
        fs::remove(file_);
    }
    void WriteBytes(const std::string& bytes) {
        std::ofstream(file_, std::ios::binary) << bytes;
    }
    // As regedit writes it: UTF-16LE with a byte-order mark and CR LF.
    void WriteUtf16(const std::string& gbText) {
        std::string crlf;
        for (char c : gbText) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        std::string bytes = "\xFF\xFE";
        for (char16_t c : AnsiToWide(crlf, 936)) bytes += {char(c & 0xFF), char(c >> 8)};
        WriteBytes(bytes);
    }
    fs::path file_;
};

TEST_F(RegistryTest, ReadsAUnicodeExport) {
    WriteUtf16(kExport);
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\KRV\\Corvantis"));
    EXPECT_EQ(reg.ReadString("ClientPath"), "C:\\Program Files\\KRV\\");
    EXPECT_EQ(reg.ReadString("clientpath"), "C:\\Program Files\\KRV\\");
    EXPECT_EQ(reg.ReadString("Quoted"), "say \"hi\"");
    EXPECT_EQ(reg.ReadString("名称"), "折旧");
    EXPECT_EQ(reg.ReadWideString("名称"), u"折旧");
    EXPECT_EQ(reg.ReadString(""), "default");
    EXPECT_EQ(reg.ReadInteger("Count"), 42);
    EXPECT_EQ(reg.GetDataType("Big"), RegDataType::QWord);
    EXPECT_EQ(reg.GetDataType("Expand"), RegDataType::ExpandString);
    EXPECT_EQ(reg.ReadString("Expand"), "%TMP%");
    EXPECT_EQ(reg.GetDataType("Multi"), RegDataType::MultiString);
    EXPECT_EQ(reg.GetDataType("Blob"), RegDataType::Binary);
    EXPECT_EQ(reg.ReadString("Later"), "second");
    EXPECT_FALSE(reg.ValueExists("Gone"));
    EXPECT_FALSE(reg.ValueExists("Broken"));
    EXPECT_FALSE(reg.ValueExists("BadDword"));
    // A missing value reads empty; a value of another kind is an error the caller sees.
    EXPECT_EQ(reg.ReadString("Missing"), "");
    EXPECT_THROW(reg.ReadString("Count"), ERegistryException);
    EXPECT_THROW(reg.ReadInteger("ClientPath"), ERegistryException);
    EXPECT_THROW(reg.ReadInteger("Missing"), ERegistryException);
    EXPECT_EQ(reg.GetKeyNames(), (std::vector<std::string>{"Sub1", "Sub2"}));
}

TEST_F(RegistryTest, KeysOpenOnlyWhenTheyExist) {
    WriteUtf16(kExport);
    TRegistry reg;
    EXPECT_TRUE(reg.OpenKeyReadOnly("\\SOFTWARE\\krv\\corvantis\\"));
    EXPECT_TRUE(reg.KeyExists("Software\\KRV"));               // a parent of written keys
    EXPECT_TRUE(reg.KeyExists("Software\\KRV\\Corvantis\\Sub2"));
    EXPECT_FALSE(reg.KeyExists("Software\\KRV\\Corvantis\\Old"));  // deleted again
    EXPECT_FALSE(reg.KeyExists("Software\\KRV\\Gone"));
    EXPECT_FALSE(reg.KeyExists("Software\\KRV\\Corv"));
    EXPECT_FALSE(reg.OpenKeyReadOnly("Software\\Missing"));
    EXPECT_FALSE(reg.HasOpenKey());
    EXPECT_EQ(reg.ReadString("ClientPath"), "");  // no key open
    EXPECT_FALSE(reg.KeyExists("Software\\Damaged"));

    TRegistry user(RegRoot::CurrentUser);
    ASSERT_TRUE(user.OpenKeyReadOnly("Software\\KRV\\Corvantis"));
    EXPECT_EQ(user.ReadString("ClientPath"), "user");
}

TEST_F(RegistryTest, ReadsAnAnsiRegedit4Export) {
    WriteBytes("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\KRV\\Corvantis]\r\n"
               "\"ServerPath\"=\"/srv/折旧\"\r\n"
               "\"Expand\"=hex(2):41,42,00\r\n");
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\KRV\\Corvantis"));
    EXPECT_EQ(reg.ReadString("ServerPath"), "/srv/折旧");
    EXPECT_EQ(reg.ReadString("Expand"), "AB");
    EXPECT_EQ(reg.GetValueNames(), (std::vector<std::string>{"ServerPath", "Expand"}));
}

TEST_F(RegistryTest, DamagedOrMissingFilesHaveNoKeys) {
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKeyReadOnly("Software\\KRV\\Corvantis"));  // no file at all
    std::string full = std::string("\xFF\xFE") + "W\0i\0n\0";
    const std::string damaged[] = {
        "",
        "not a registry file\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\KRV\\Corvantis]\r\n",
        full,                                  // truncated header
        std::string("\xFF\xFE\x00", 3),        // odd byte count
        "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\KRV\\Corv",
        std::string("REGEDIT4\n\0\0\0[", 14),
    };
    for (const auto& bytes : damaged) {
        WriteBytes(bytes);
        EXPECT_FALSE(reg.OpenKeyReadOnly("Software\\KRV\\Corvantis"));
    }
    SetRegistryFilePath(fs::temp_directory_path().string());  // a folder, not a file
    EXPECT_FALSE(reg.OpenKeyReadOnly("Software\\KRV\\Corvantis"));
    SetRegistryFilePath(file_.string());
    // Truncated inside a value: the key and the values before it survive.
    WriteBytes("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\KRV\\Corvantis]\r\n"
               "\"ClientPath\"=\"/opt\"\r\n\"Blob\"=hex:01,0");
    ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\KRV\\Corvantis"));
    EXPECT_EQ(reg.ReadString("ClientPath"), "/opt");
}

TEST_F(RegistryTest, FileComesFromTheEnvironmentUnlessSet) {
    SetRegistryFilePath("");
    setenv("KRV_REGISTRY_FILE", "/tmp/from-env.reg", 1);
    EXPECT_EQ(RegistryFilePath(), "/tmp/from-env.reg");
    unsetenv("KRV_REGISTRY_FILE");
    EXPECT_EQ(RegistryFilePath(), "/etc/krv/registry.reg");
    SetRegistryFilePath(file_.string());
    EXPECT_EQ(RegistryFilePath(), file_.string());
}

}  // namespace
}  // namespace krv
