// Profile (ini) files read by the rules a Windows installation writes them with: "[section]"
// lines and key=value lines, CR LF or LF line ends, blanks around names and values ignored, one
// pair of enclosing quotes taken off a value, ";" lines are comments, section and key names
// compared ignoring ASCII case, the first occurrence of a section or key wins. Values are kept as
// the bytes of the file (GB text stays GB); a file that starts with a UTF-16LE byte-order mark is
// narrowed to the system code page first.
//
// The file is read once, when the object is made; a missing or unreadable file behaves as an
// empty one, so every read answers its default. Nothing is ever written.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace krv {

class TIniFile {
public:
    explicit TIniFile(std::string fileName);

    const std::string& FileName() const { return fileName_; }

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;
    // A decimal integer (optional sign, blanks around); anything else gives the default.
    int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
    // An integer value other than 0 is true; a value that is no integer gives the default.
    bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;

    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& key) const;
    // Sections in file order (first spelling of each).
    std::vector<std::string> ReadSections() const;
    // Key names of a section in file order, each once.
    std::vector<std::string> ReadSection(const std::string& section) const;
    // "name=value" for every key of a section in file order, each key once (its first value).
    std::vector<std::string> ReadSectionValues(const std::string& section) const;

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> entries;  // first of each key only
    };
    const Section* FindSection(const std::string& section) const;
    const std::string* FindValue(const std::string& section, const std::string& key) const;
    void Parse(const std::string& text);

    std::string fileName_;
    std::vector<Section> sections_;
};

}  // namespace krv
