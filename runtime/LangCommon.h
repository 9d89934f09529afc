// What the language packages and the code converter share: which settings object they read, the
// code pages and conversion kinds taken from it, the language folder, and the message lookup.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace krv {

struct TTypeInfo;

// Which installation a component belongs to: the client's or the server's settings apply.
enum TDesignType : uint8_t { dtClient, dtServer };
const TTypeInfo& TypeInfoDesignType();  // "TDesignType": dtClient, dtServer

// Conversion kinds: 0 none, 1 BIG5 to GB, 2 GB to BIG5, 3 none (BIG5 font), 4 none (GB interface
// on a BIG5 system).
using TConvertKind = uint8_t;

// The values taken from one reading of the client or server settings.
struct TLangSettings {
    std::string HomeFolder;  // installation folder with a trailing separator, or ""
    std::string SystemCodePage = "936";
    std::string UICodePage = "936";
    std::string DBCodePage = "936";
    TConvertKind UIKind = 0;
    TConvertKind DBKind = 0;
};

// Reads the settings object of the design type afresh (nothing is cached).
TLangSettings ReadLangSettings(TDesignType designType);
// Replaces where the settings come from (tests); an empty reader restores the settings objects.
using TLangSettingsReader = std::function<TLangSettings(TDesignType)>;
void SetLangSettingsReader(TLangSettingsReader reader);

// The language folder name of a UI code page: "936" CHS, "950" CHT, "437" ENG, else "".
std::string LanguageFolderName(const std::string& uiCodePage);
// Home + "MultiLanguage/" + folder name + "/" of the settings of the design type; "" when the
// code page has no folder, there is no home folder or the folder does not exist.
std::string LanguageFolder(TDesignType designType);
// The package file of a form class: language folder + file base + ".Lng" ("" without a folder).
std::string LanguagePackagePath(TDesignType designType, const std::string& fileBase);

// The text of a message from the package FileBase: the "Msg" attribute of the first element named
// MessageName. Default when there is no package, it does not load or has no such message; an
// attribute that is present but empty gives "". The package is read again on every call.
std::string ReadLangMessage(bool isServer, const std::string& fileBase, const std::string& messageName,
                            const std::string& defaultText);

}  // namespace krv
