// The client and server settings of an installation: the registry names the installation folder
// (and whether users have their own profiles), and the ini file in that folder or in the user's
// profile folder holds the settings. An object reads everything when it is made and is then a
// read-only record; nothing is written back. Construction never raises: what went wrong shows
// in ErrorID ("E;000015" no registry key, "E;000016" no server address) and in the values.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Variant.h"

namespace krv {

class TStrings;

// Fields both settings objects start with, in this order.
class TCorvantisIniBase {
public:
    std::string HomePath;        // installation folder with a trailing separator, or ""
    std::string SettingPath;     // folder of the ini file read: the profile folder or HomePath
    std::string ProfileType = "0";
    std::string ProfileName = "Default";
    std::string UICodePage;      // "936", "950", "437" or whatever the ini file names
    std::string DBCodePage = "936";
    std::string SystemCodePage;  // the system's code page when 936 or 950, else "437"
    uint8_t UIConvertKind = 0;   // 0 none, 2 shown in 950, 4 936 shown on a 950 system
    uint8_t DBConvertKind = 0;   // 0 none, 1 UI 936 with data in 950, 2 UI 950 with data in 936
    bool SupportCallBack = false;
    std::string IniFileName;     // full path of the ini file read, or ""

protected:
    TCorvantisIniBase();
    // Reads the registry and finds the ini file. False when construction ends there: no key
    // (errorId becomes "E;000015") or no installation folder.
    bool LocateIniFile(const char* pathValue, const char* fileName, std::string& errorId);
    void ComputeConvertKinds();
    // The "WorkDLLPath" entries made absolute folders; `defaultFolder` below the home folder
    // when the section has none.
    std::vector<std::string> ResolveFolders(const std::vector<std::string>& entries,
                                            const char* defaultFolder) const;
};

class TCorvantisIniC : public TCorvantisIniBase {
public:
    TCorvantisIniC();

    Variant ServerList;  // [0, i] address, [1, i] port of server i; empty when there is none
    std::string ErrorID;
    std::string LangType;
    std::vector<std::string> DLLPathList;  // folders searched for server modules
    std::string ProductVersion;
    std::string CreateGifBeforeSendEF;
    std::string AutoCheckNewMsg;
    std::string CheckInterval;
    std::string PopupMsg;
    std::string LoginCheck;
};

class TCorvantisIniS : public TCorvantisIniBase {
public:
    TCorvantisIniS();

    // Rows 0..3 (main, temporary, application server, electronic-commerce database) by
    // columns 0..7; empty when the settings were not read.
    Variant DBSetting;
    std::string ErrorID;
    std::vector<std::string> DLLPathList;
    std::string ProductVersion;
    uint8_t DBKind = 0;  // 1 ORACLE, 2 DB2, else 0
    std::string SystemControlAddress;
    std::string OtherSystemControlAddress;

    // Replaces the caller's lines with the folders searched for server modules.
    void GetDLLPathList(TStrings& list) const;
};

}  // namespace krv
