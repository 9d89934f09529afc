#include "runtime/CorvantisINI.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/Classes.h"
#include "platform/CodePage.h"
#include "platform/Registry.h"
#include "platform/SysUtils.h"
#include "runtime/PlexaGeneratorU.h"

namespace krv {
namespace {

namespace fs = std::filesystem;

// An installation as Windows leaves it: a UTF-16LE registry export and CR LF ini files.
class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("corvantis_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "home");
        home_ = (dir_ / "home").string() + "/";
        SetRegistryFilePath((dir_ / "registry.reg").string());
        Registry({{"ClientPath", (dir_ / "home").string()}, {"ServerPath", home_}});
    }
    void TearDown() override {
        SetRegistryFilePath("");
        SetSystemCodePage(936);
        fs::remove_all(dir_);
    }
    void Registry(const std::vector<std::pair<std::string, std::string>>& values) {
        std::string text = "Windows Registry Editor Version 5.00\r\n\r\n"
                           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\KRV]\r\n\r\n"
                           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\KRV\\Corvantis]\r\n";
        for (const auto& [name, value] : values) text += "\"" + name + "\"=\"" + value + "\"\r\n";
        std::u16string wide = AnsiToWide(text);
        std::ofstream out(dir_ / "registry.reg", std::ios::binary);
        out << "\xFF\xFE";
        for (char16_t c : wide) out.put(char(c & 0xFF)).put(char(c >> 8));
    }
    void Ini(const fs::path& file, const std::string& lfText) {
        fs::create_directories(file.parent_path());
        std::string crlf;
        for (char c : lfText) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        std::ofstream(file, std::ios::binary) << crlf;
    }
    fs::path dir_;
    std::string home_;
};

TEST_F(SettingsTest, CodePagesAndConversionKinds) {
    struct Case {
        int systemCodePage;
        std::string codePageSection;
        std::string system, ui, db;
        int uiKind, dbKind;
    } cases[] = {
        {1252, "", "437", "437", "936", 0, 0},
        {950, "UICodePage=936\n", "950", "936", "936", 4, 0},
        {950, "UICodePage=936\nDBCodePage=950\n", "950", "936", "950", 4, 1},
        {936, "UICodePage=950\n", "936", "950", "936", 2, 2},
        {936, "", "936", "936", "936", 0, 0},
    };
    for (const auto& c : cases) {
        SetSystemCodePage(c.systemCodePage);
        Ini(dir_ / "home" / "CorvantisC.ini", "[CodePage]\n" + c.codePageSection);
        TCorvantisIniC client;
        EXPECT_EQ(client.ErrorID, "");
        EXPECT_EQ(client.SystemCodePage, c.system) << c.systemCodePage;
        EXPECT_EQ(client.UICodePage, c.ui) << c.codePageSection;
        EXPECT_EQ(client.DBCodePage, c.db);
        EXPECT_EQ(client.UIConvertKind, c.uiKind) << c.codePageSection;
        EXPECT_EQ(client.DBConvertKind, c.dbKind) << c.codePageSection;
    }
}

TEST_F(SettingsTest, ClientDefaultsWithoutIniFile) {
    TCorvantisIniC client;
    EXPECT_EQ(client.HomePath, home_);  // the separator added once
    EXPECT_EQ(client.SettingPath, home_);
    EXPECT_EQ(client.IniFileName, home_ + "CorvantisC.ini");
    EXPECT_EQ(client.ProfileType, "");
    EXPECT_EQ(client.ProfileName, "Default");
    EXPECT_EQ(client.LangType, "ENG");
    EXPECT_EQ(client.CreateGifBeforeSendEF, "Y");
    EXPECT_EQ(client.LoginCheck, "0");
    EXPECT_EQ(client.PopupMsg, "1");
    EXPECT_FALSE(client.SupportCallBack);
    ASSERT_EQ(VarArrayHighBound(client.ServerList, 2), 0);
    EXPECT_EQ(client.ServerList.At(0, 0), Variant("127.0.0.1"));
    EXPECT_EQ(client.ServerList.At(1, 0), Variant(211));
    EXPECT_EQ(client.DLLPathList, std::vector<std::string>{home_ + "C_PKG/"});
}

TEST_F(SettingsTest, ServerAddressesAndFolders) {
    Ini(dir_ / "home" / "CorvantisC.ini",
        "; written by the installer\n"
        "[Server Information]\n"
        "ComputerName = 10.0.0.1;10.0.0.2;\n"
        "ServerPort=abc\n"
        "SupportCallBack=yes\n"
        "[workdllpath]\n"
        "A=D:\\Pkg\n"
        "B=\\Sub\n"
        "C=Sub2\\\n"
        "D=/opt/pkg\n"
        "E=\\\\srv\\share\n"
        "a=ignored, the first wins\n");
    TCorvantisIniC client;
    ASSERT_EQ(VarArrayHighBound(client.ServerList, 2), 1);
    EXPECT_EQ(client.ServerList.At(0, 0), Variant("10.0.0.1"));
    EXPECT_EQ(client.ServerList.At(0, 1), Variant("10.0.0.2"));
    EXPECT_EQ(client.ServerList.At(1, 1), Variant(211));  // no number: the default port
    EXPECT_TRUE(client.SupportCallBack);
    std::vector<std::string> expect = {"D:\\Pkg\\", home_ + "Sub/", home_ + "Sub2/", "/opt/pkg/",
                                       "\\\\srv\\share\\"};
    EXPECT_EQ(client.DLLPathList, expect);

    struct Case {
        std::string computerName;
        int columns;
        std::string errorId;
    } cases[] = {{";", 0, "E;000016"}, {"", 0, "E;000016"}, {"a;;b", 3, ""}, {";;", 2, ""},
                 {" a ", 1, ""}};
    for (const auto& c : cases) {
        Ini(dir_ / "home" / "CorvantisC.ini",
            "[Server Information]\nComputerName=" + c.computerName +
                "\nServerPort=300\nSupportCallBack=2\n[WorkDLLPath]\nX=Sub\n");
        TCorvantisIniC client;
        EXPECT_EQ(client.ErrorID, c.errorId) << c.computerName;
        EXPECT_FALSE(client.SupportCallBack);
        if (c.columns == 0) {
            EXPECT_TRUE(client.ServerList.IsEmpty());
            EXPECT_EQ(client.DLLPathList, std::vector<std::string>{"X=Sub"});  // unresolved
        } else {
            EXPECT_EQ(VarArrayHighBound(client.ServerList, 2), c.columns - 1) << c.computerName;
            EXPECT_EQ(client.ServerList.At(1, c.columns - 1), Variant(300));
        }
    }
}

TEST_F(SettingsTest, ProfileFolderAndItsFallBack) {
    Registry({{"ClientPath", home_}, {"ProfileType", "1"}});
    Ini(dir_ / "home" / "CorvantisC.ini", "[Client Components]\nLangType=CHS\n");
    const std::string user = GetUserName().substr(0, 32);
    {
        TCorvantisIniC client;
        EXPECT_EQ(client.ProfileName, user);
        EXPECT_EQ(client.SettingPath, home_);
        EXPECT_EQ(client.IniFileName, home_ + "CorvantisC.ini");
        EXPECT_EQ(client.LangType, "CHS");
    }
    const fs::path own = dir_ / "home" / "Profile" / user / "CorvantisC.ini";
    Ini(own, "[Client Components]\nLangType=CHT\n");
    TCorvantisIniC client;
    EXPECT_EQ(client.SettingPath, home_ + "Profile/" + user + "/");
    EXPECT_EQ(client.IniFileName, own.string());
    EXPECT_EQ(client.LangType, "CHT");
}

TEST_F(SettingsTest, MissingKeyOrFolderStopsEarly) {
    SetRegistryFilePath((dir_ / "none.reg").string());
    TCorvantisIniC client;
    EXPECT_EQ(client.ErrorID, "E;000015");
    EXPECT_TRUE(client.ServerList.IsEmpty());
    EXPECT_TRUE(client.DLLPathList.empty());
    EXPECT_EQ(client.HomePath, "");
    TCorvantisIniS server;
    EXPECT_EQ(server.ErrorID, "E;000015");
    EXPECT_TRUE(server.DBSetting.IsEmpty());

    SetRegistryFilePath((dir_ / "registry.reg").string());
    Registry({{"ClientPath", ""}});
    TCorvantisIniC noHome;
    EXPECT_EQ(noHome.ErrorID, "");
    EXPECT_TRUE(noHome.ServerList.IsEmpty());
    EXPECT_EQ(noHome.IniFileName, "");
    TCorvantisIniS noServerHome;
    EXPECT_TRUE(noServerHome.DBSetting.IsEmpty());
}

TEST_F(SettingsTest, DamagedFilesGiveDefaults) {
    std::ofstream(dir_ / "registry.reg", std::ios::binary) << "\xFF\xFEW\0i\0n";  // truncated
    EXPECT_EQ(TCorvantisIniC().ErrorID, "E;000015");
    Registry({{"ClientPath", home_}});
    Ini(dir_ / "home" / "CorvantisC.ini",
        std::string("[Server Information\nComputerName\n=x\n\0\xFF\xFE[", 41));
    TCorvantisIniC client;
    EXPECT_EQ(client.ErrorID, "");
    EXPECT_EQ(client.ServerList.At(0, 0), Variant("127.0.0.1"));
}

TEST_F(SettingsTest, ServerDatabaseSettings) {
    Ini(dir_ / "home" / "CorvantisS.ini",
        "[ProductVersion]\nVersion=9.0\n"
        "[DBE Setting]\n"
        "MainUserName=erp\n"
        "XXXXXX=" + EncodeSQLSa("s3cret") + "\n"
        "TempPassword=" + EncodeSQLSa("") + "\n"
        "MainDBType=oracle\n"
        "MainServerName=dbhost\n"
        "SystemControlAddress=   \n"
        "OtherSystemControlAddress=other\n"
        "MainCommandTimeOut=12x\n"
        "EctPassword=" + EncodeSQLSa("plain") + "\n"
        "MainDBName=公司库\n"
        "[DBPasswordCtrl]\nComputerName= app1 \nServerPort=5000\nSupportCallBack=TRUE\n"
        "[WorkDLLPath]\n");
    TCorvantisIniS server;
    EXPECT_EQ(server.ErrorID, "");
    EXPECT_EQ(server.ProductVersion, "9.0");
    const Variant& db = server.DBSetting;
    EXPECT_EQ(db.At(0, 0), Variant("Vantor"));
    EXPECT_EQ(db.At(0, 1), Variant("erp"));
    EXPECT_EQ(db.At(0, 2), Variant("s3cret"));
    EXPECT_EQ(db.At(0, 3), Variant("oracle"));
    EXPECT_EQ(db.At(0, 4), Variant("公司库"));
    EXPECT_EQ(db.At(0, 6), Variant(300));
    EXPECT_EQ(db.At(0, 7), Variant(3000));
    EXPECT_EQ(db.At(1, 2), Variant(""));
    EXPECT_EQ(db.At(1, 3), Variant("PARADOX"));
    EXPECT_EQ(db.At(1, 5), Variant("PostgreSQL"));
    EXPECT_EQ(db.At(2, 0), Variant("app1"));
    EXPECT_EQ(db.At(2, 1), Variant(5000));
    EXPECT_EQ(db.At(2, 2), Variant(1024));
    EXPECT_EQ(db.At(2, 3), Variant("Chinese_Taiwan_Stroke_BIN"));
    EXPECT_EQ(db.At(3, 2), Variant(EncodeSQLSa("plain")));
    EXPECT_TRUE(db.At(2, 4).IsEmpty());
    EXPECT_EQ(server.DBKind, 1);
    EXPECT_TRUE(server.SupportCallBack);
    EXPECT_EQ(server.SystemControlAddress, "dbhost");
    EXPECT_EQ(server.OtherSystemControlAddress, "other");
    EXPECT_EQ(server.DLLPathList, std::vector<std::string>{home_ + "S_PKG/"});
    TStringList list;
    list.Add("stale");
    server.GetDLLPathList(list);
    EXPECT_EQ(list.ToVector(), server.DLLPathList);
}

TEST_F(SettingsTest, DamagedServerPasswordIsReportedAndReadingGoesOn) {
    Ini(dir_ / "home" / "CorvantisS.ini",
        "[DBE Setting]\nXXXXXX=B0ZZ\nMainDBType=Db2\n[WorkDLLPath]\nP=pkg\n");
    TCorvantisIniS server;
    EXPECT_EQ(server.DBSetting.At(0, 2), Variant(kPasswordErrorMarker));
    EXPECT_EQ(server.DBKind, 2);
    EXPECT_EQ(server.DLLPathList, std::vector<std::string>{home_ + "pkg/"});
    std::ifstream report(dir_ / "home" / "Log" /
                         ("Alert_PlexaGenerator_" + FormatDateTime("yyyymmdd", Date()) + ".log"));
    std::stringstream text;
    text << report.rdbuf();
    EXPECT_NE(text.str().find("Programer Message: "), std::string::npos);
}

}  // namespace
}  // namespace krv
