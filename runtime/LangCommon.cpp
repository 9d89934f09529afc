#include "runtime/LangCommon.h"

#include "platform/CodePage.h"
#include "platform/SysUtils.h"
#include "platform/TypInfo.h"
#include "platform/XmlDom.h"

namespace krv {

namespace {

// Without settings files the process's own code page decides, as the settings default to it.
TLangSettings SettingsOfTheSystem(TDesignType) {
    TLangSettings s;
    int codePage = GetSystemCodePage();
    s.SystemCodePage = codePage == 936 || codePage == 950 ? IntToStr(codePage) : "437";
    s.UICodePage = s.SystemCodePage;
    s.UIKind = s.UICodePage == "950" ? 2 : (s.UICodePage == "936" && s.SystemCodePage == "950" ? 4 : 0);
    return s;
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
    return Reader() ? Reader()(designType) : SettingsOfTheSystem(designType);
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
