#include "runtime/CorvantisINI.h"

#include "platform/Classes.h"
#include "platform/CodePage.h"
#include "platform/IniFiles.h"
#include "platform/Registry.h"
#include "platform/SysUtils.h"
#include "runtime/PlexaGeneratorU.h"

namespace krv {
namespace {

const char* const kRegistryKey = "Software\\KRV\\Corvantis";
const size_t kMaxUserName = 32;

std::string SystemCodePageText() {
    int cp = GetSystemCodePage();
    return cp == 936 || cp == 950 ? IntToStr(cp) : "437";
}

bool IsFlagSet(const std::string& value) {
    std::string v = UpperCase(value);
    return v == "1" || v == "Y" || v == "YES" || v == "TRUE";
}

// A value that is no text counts as missing: the settings never fail by raising.
std::string ReadRegistryText(const TRegistry& registry, const char* name) {
    try {
        return registry.ReadString(name);
    } catch (const ERegistryException&) {
        return {};
    }
}

// Folder values of an installation written on Windows keep their meaning: a drive or share
// stays as written, "\Sub" and "Sub" lie below the home folder, "/abs" is absolute here.
std::string ResolveFolder(const std::string& home, const std::string& value) {
    if (IsDriveOrShareRooted(value)) {
        bool ends = !value.empty() && IsPathDelimiter(value.back());
        return ends ? value : value + "\\";
    }
    std::string folder;
    if (!value.empty() && value[0] == '/')
        folder = value;
    else if (!value.empty() && value[0] == '\\')
        folder = home + PlatformPath(value.substr(1));
    else
        folder = home + PlatformPath(value);
    return IncludeTrailingPathDelimiter(folder);
}

std::string ValueOfEntry(const std::string& entry) {
    size_t eq = entry.find('=');
    return eq == std::string::npos ? std::string() : entry.substr(eq + 1);
}

}  // namespace

TCorvantisIniBase::TCorvantisIniBase()
    : UICodePage(SystemCodePageText()), SystemCodePage(UICodePage) {
    ComputeConvertKinds();
}

void TCorvantisIniBase::ComputeConvertKinds() {
    if (UICodePage == "950")
        UIConvertKind = 2;
    else if (UICodePage == "936" && SystemCodePage == "950")
        UIConvertKind = 4;
    else
        UIConvertKind = 0;
    if (UICodePage == "950" && DBCodePage == "936")
        DBConvertKind = 2;
    else if (UICodePage == "936" && DBCodePage == "950")
        DBConvertKind = 1;
    else
        DBConvertKind = 0;
}

bool TCorvantisIniBase::LocateIniFile(const char* pathValue, const char* fileName,
                                      std::string& errorId) {
    TRegistry registry(RegRoot::LocalMachine);
    if (!registry.OpenKeyReadOnly(kRegistryKey)) {
        errorId = "E;000015";
        return false;
    }
    HomePath = ReadRegistryText(registry, pathValue);
    ProfileType = ReadRegistryText(registry, "ProfileType");
    registry.CloseKey();
    if (HomePath.empty()) return false;
    HomePath = IncludeTrailingPathDelimiter(HomePath);

    SettingPath = HomePath;
    if (!ProfileType.empty() && ProfileType != "0") {
        std::string user = GetUserName().substr(0, kMaxUserName);
        SettingPath = HomePath + "Profile" + PathDelim + user + PathDelim;
        ProfileName = user;
    }
    IniFileName = SettingPath + fileName;
    if (!FileExists(IniFileName)) {
        // No file of the user's own: the installation's file (or its defaults) applies.
        SettingPath = HomePath;
        IniFileName = HomePath + fileName;
    }
    return true;
}

std::vector<std::string> TCorvantisIniBase::ResolveFolders(const std::vector<std::string>& entries,
                                                           const char* defaultFolder) const {
    if (entries.empty()) return {HomePath + defaultFolder + PathDelim};
    std::vector<std::string> folders;
    folders.reserve(entries.size());
    for (const auto& entry : entries) folders.push_back(ResolveFolder(HomePath, ValueOfEntry(entry)));
    return folders;
}

// ---- client ----------------------------------------------------------------------------------

TCorvantisIniC::TCorvantisIniC() {
    if (!LocateIniFile("ClientPath", "CorvantisC.ini", ErrorID)) return;
    TIniFile ini(IniFileName);
    LangType = ini.ReadString("Client Components", "LangType", "ENG");
    ProductVersion = ini.ReadString("ProductVersion", "Version", "");
    CreateGifBeforeSendEF = ini.ReadString("UserDefine", "CreateGifBeforeSendEF", "Y");
    UICodePage = ini.ReadString("CodePage", "UICodePage", SystemCodePage);
    DBCodePage = ini.ReadString("CodePage", "DBCodePage", "936");
    SupportCallBack = IsFlagSet(ini.ReadString("Server Information", "SupportCallBack", "0"));
    std::string addresses = Trim(ini.ReadString("Server Information", "ComputerName", "127.0.0.1"));
    int port = ini.ReadInteger("Server Information", "ServerPort", 211);
    DLLPathList = ini.ReadSectionValues("WorkDLLPath");
    AutoCheckNewMsg = ini.ReadString("TaskMessageCenter Setting", "AutoCheckNewMsg", "1");
    CheckInterval = ini.ReadString("TaskMessageCenter Setting", "CheckInterval", "1");
    PopupMsg = ini.ReadString("TaskMessageCenter Setting", "PopupMsg", "1");
    LoginCheck = ini.ReadString("TaskMessageCenter Setting", "LoginCheck", "0");
    ComputeConvertKinds();

    if (!addresses.empty() && addresses.back() == ';') addresses.pop_back();
    if (addresses.empty()) {
        ErrorID = "E;000016";
        return;
    }
    std::vector<std::string> servers;
    for (size_t start = 0;;) {
        size_t cut = addresses.find(';', start);
        servers.push_back(addresses.substr(start, cut == std::string::npos ? cut : cut - start));
        if (cut == std::string::npos) break;
        start = cut + 1;
    }
    ServerList = VarArrayCreate(0, 1, 0, int(servers.size()) - 1);
    for (size_t i = 0; i < servers.size(); ++i) {
        ServerList.At(0, int(i)) = std::move(servers[i]);
        ServerList.At(1, int(i)) = port;
    }
    DLLPathList = ResolveFolders(DLLPathList, "C_PKG");
}

// ---- server ----------------------------------------------------------------------------------

TCorvantisIniS::TCorvantisIniS() {
    if (!LocateIniFile("ServerPath", "CorvantisS.ini", ErrorID)) return;
    DBSetting = VarArrayCreate(0, 3, 0, 7);
    TIniFile ini(IniFileName);
    const char* const db = "DBE Setting";
    auto text = [&](int row, int col, const char* section, const char* key, const char* def) {
        DBSetting.At(row, col) = ini.ReadString(section, key, def);
    };
    auto number = [&](int row, int col, const char* section, const char* key, int def) {
        DBSetting.At(row, col) = ini.ReadInteger(section, key, def);
    };
    auto password = [&](int row, int col, const char* key) {
        DBSetting.At(row, col) = DecodeSQLSa(ini.ReadString(db, key, ""));
    };
    ProductVersion = ini.ReadString("ProductVersion", "Version", "");
    UICodePage = ini.ReadString("CodePage", "UICodePage", SystemCodePage);
    DBCodePage = ini.ReadString("CodePage", "DBCodePage", "936");
    text(0, 1, db, "MainUserName", "sa");
    password(0, 2, "XXXXXX");
    text(0, 0, db, "MainAlias", "Vantor");
    text(0, 3, db, "MainDBType", "MSSQL");
    text(0, 4, db, "MainDBName", "");
    text(0, 5, db, "MainServerName", "");
    const std::string mainServer = DBSetting.At(0, 5).AsString();
    SystemControlAddress = ini.ReadString(db, "SystemControlAddress", "");
    if (Trim(SystemControlAddress).empty()) SystemControlAddress = mainServer;
    OtherSystemControlAddress = ini.ReadString(db, "OtherSystemControlAddress", "");
    if (Trim(OtherSystemControlAddress).empty()) OtherSystemControlAddress = mainServer;
    number(0, 6, db, "MainConnectionTimeOut", 300);
    number(0, 7, db, "MainCommandTimeOut", 3000);
    text(1, 0, db, "TempAlias", "VantorTemp");
    text(1, 1, db, "TempUserName", "sa");
    password(1, 2, "TempPassword");
    text(1, 3, db, "TempDBType", "PARADOX");
    text(1, 4, db, "TempDBName", "");
    text(1, 5, db, "TempDriverName", "PostgreSQL");
    number(1, 6, db, "TempConnectionTimeOut", 300);
    number(1, 7, db, "TempCommandTimeOut", 3000);
    DBSetting.At(2, 0) = Trim(ini.ReadString("DBPasswordCtrl", "ComputerName", ""));
    number(2, 1, "DBPasswordCtrl", "ServerPort", 211);
    number(2, 2, "DBPasswordCtrl", "ClientSocketPort", 1024);
    SupportCallBack = IsFlagSet(ini.ReadString("DBPasswordCtrl", "SupportCallBack", "0"));
    text(2, 3, db, "DataBaseCodeOrder", "Chinese_Taiwan_Stroke_BIN");
    text(3, 0, db, "EctAlias", "EDIDATA");
    text(3, 1, db, "EctUserName", "sa");
    text(3, 2, db, "EctPassword", "");  // kept as stored: this one is not scrambled
    const std::string dbType = DBSetting.At(0, 3).AsString();
    DBKind = SameText(dbType, "ORACLE") ? 1 : SameText(dbType, "DB2") ? 2 : 0;
    ComputeConvertKinds();
    DLLPathList = ResolveFolders(ini.ReadSectionValues("WorkDLLPath"), "S_PKG");
}

void TCorvantisIniS::GetDLLPathList(TStrings& list) const {
    list.BeginUpdate();
    list.Clear();
    for (const auto& folder : DLLPathList) list.Add(folder);
    list.EndUpdate();
}

}  // namespace krv
