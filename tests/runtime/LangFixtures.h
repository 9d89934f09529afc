// Shared by the language and conversion tests: settings as the configuration computes them, set
// for the duration of a test, and a temporary installation folder.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "runtime/LangCommon.h"
#include "runtime/TranslatorU.h"

namespace krv::test {

// The conversion kinds follow from the code pages as the client settings compute them.
inline TLangSettings SettingsFor(const std::string& ui, const std::string& system = "936",
                                 const std::string& db = "936", const std::string& home = "") {
    TLangSettings s;
    s.HomeFolder = home;
    s.SystemCodePage = system;
    s.UICodePage = ui;
    s.DBCodePage = db;
    s.UIKind = ui == "950" ? 2 : (ui == "936" && system == "950" ? 4 : 0);
    s.DBKind = ui == "950" && db == "936" ? 2 : (ui == "936" && db == "950" ? 1 : 0);
    return s;
}

class ScopedLangSettings {
public:
    explicit ScopedLangSettings(TLangSettings client, TLangSettings server = {}) {
        SetLangSettingsReader([client, server](TDesignType type) { return type == dtServer ? server : client; });
    }
    ~ScopedLangSettings() { SetLangSettingsReader(nullptr); }
    ScopedLangSettings(const ScopedLangSettings&) = delete;
    ScopedLangSettings& operator=(const ScopedLangSettings&) = delete;
};

class ScopedLibraryName {
public:
    explicit ScopedLibraryName(const std::string& name) : saved_(TTranslator::LibraryName()) {
        TTranslator::SetLibraryName(name);
    }
    ~ScopedLibraryName() { TTranslator::SetLibraryName(saved_); }
    ScopedLibraryName(const ScopedLibraryName&) = delete;
    ScopedLibraryName& operator=(const ScopedLibraryName&) = delete;

private:
    std::string saved_;
};

class TempFolder {
public:
    TempFolder() {
        char pattern[] = "/tmp/krvlangXXXXXX";
        path_ = mkdtemp(pattern) ? pattern : "";
        path_ += "/";
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return path_; }
    std::string Write(const std::string& relative, const std::string& bytes) const {
        std::filesystem::path file = path_ + relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
        return file.string();
    }

private:
    std::string path_;
};

// Known BIG5 bytes of a few captions, for checks that need no library call.
inline const std::string kBig5Houtai = "\xAB\xE1\xBB\x4F";                 // 後臺
inline const std::string kBig5Zhijie = "\xAA\xBD\xB1\xB5\xB3\x42\xB2\x7A";  // 直接處理

}  // namespace krv::test
