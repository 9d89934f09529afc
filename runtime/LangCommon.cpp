#include "runtime/LangCommon.h"

#include "platform/SysUtils.h"
#include "platform/TypInfo.h"
#include "platform/XmlDom.h"
#include "runtime/CorvantisINI.h"

namespace krv {

namespace {

template <class Settings>
TLangSettings CopyOf(const Settings& ini) {
    TLangSettings s;
    s.HomeFolder = ini.HomePath;
    s.SystemCodePage = ini.SystemCodePage;
    s.UICodePage = ini.UICodePage;
    s.DBCodePage = ini.DBCodePage;
    s.UIKind = ini.UIConvertKind;
    s.DBKind = ini.DBConvertKind;
    return s;
}

TLangSettings SettingsFiles(TDesignType designType) {
    if (designType == dtServer) return CopyOf(TCorvantisIniS());
    return CopyOf(TCorvantisIniC());
}

TLangSettingsReader& Reader() {
    static TLangSettingsReader reader;
    return reader;
}

}  // namespace

const TTypeInfo& TypeInfoDesignType() {
    static const TTypeInfo type = MakeEnumType("TDesignType", {"dtClient", "dtServer"});
    return type;
}

TLangSettings ReadLangSettings(TDesignType designType) {
    return Reader() ? Reader()(designType) : SettingsFiles(designType);
}

void SetLangSettingsReader(TLangSettingsReader reader) { Reader() = std::move(reader); }

std::string LanguageFolderName(const std::string& uiCodePage) {
    if (uiCodePage == "936") return "CHS";
    if (uiCodePage == "950") return "CHT";
    if (uiCodePage == "437") return "ENG";
    return "";
}

std::string LanguageFolder(TDesignType designType) {
    TLangSettings settings = ReadLangSettings(designType);
    std::string name = LanguageFolderName(settings.UICodePage);
    if (name.empty() || settings.HomeFolder.empty()) return "";
    std::string folder = IncludeTrailingPathDelimiter(settings.HomeFolder) + "MultiLanguage/" + name + "/";
    return DirectoryExists(folder) ? folder : "";
}

std::string LanguagePackagePath(TDesignType designType, const std::string& fileBase) {
    std::string folder = LanguageFolder(designType);
    return folder.empty() ? "" : folder + fileBase + ".Lng";
}

std::string ReadLangMessage(bool isServer, const std::string& fileBase, const std::string& messageName,
                            const std::string& defaultText) {
    std::string path = LanguagePackagePath(isServer ? dtServer : dtClient, fileBase);
    if (path.empty() || !FileExists(path) || !IsValidXmlName(messageName)) return defaultText;
    try {
        XmlDocument doc;
        if (!doc.Load(path)) return defaultText;
        XmlNode root = doc.DocumentElement();
        if (!root) return defaultText;
        XmlNode found = root.SelectSingleNode(Format("//%s/@%s", {messageName, "Msg"}));
        if (!found) return defaultText;
        return found.NodeType() == XmlNodeType::Attribute ? found.TextA() : "";
    } catch (const std::exception&) {
        return defaultText;  // a package that cannot be queried counts as no message
    }
}

}  // namespace krv
