#include "platform/IniFiles.h"

#include <fstream>
#include <iterator>
#include <unordered_set>

#include "platform/CodePage.h"
#include "platform/SysUtils.h"

namespace krv {
namespace {

std::string ReadFileBytes(const std::string& path) {
    // A folder or a device under the name reads as no file, never as an error.
    if (!FileExists(path)) return {};
    try {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    } catch (const std::exception&) {
        return {};
    }
}

std::string ReadFileText(const std::string& path) {
    std::string bytes = ReadFileBytes(path);
    if (bytes.size() >= 2 && uint8_t(bytes[0]) == 0xFF && uint8_t(bytes[1]) == 0xFE) {
        std::u16string wide;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2)
            wide.push_back(char16_t(uint8_t(bytes[i]) | (uint8_t(bytes[i + 1]) << 8)));
        return WideToAnsi(wide);
    }
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
    return bytes;
}

// Blanks and tabs only: a GB byte is never taken for a blank.
std::string TrimBlanks(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

std::string Unquoted(const std::string& value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

}  // namespace

TIniFile::TIniFile(std::string fileName) : fileName_(std::move(fileName)) {
    Parse(ReadFileText(fileName_));
}

void TIniFile::Parse(const std::string& text) {
    Section* current = nullptr;  // null before the first section and inside a repeated one
    std::unordered_set<std::string> keysSeen;  // upper-cased keys of the current section
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        std::string line = TrimBlanks(text.substr(start, end - start));
        start = end + 1;
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++start;
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            size_t close = line.find(']');
            std::string name = TrimBlanks(line.substr(1, close == std::string::npos
                                                             ? std::string::npos
                                                             : close - 1));
            if (FindSection(name)) {
                current = nullptr;  // the first section of a name is the one read
            } else {
                sections_.push_back({name, {}});
                current = &sections_.back();
                keysSeen.clear();
            }
            continue;
        }
        size_t eq = line.find('=');
        if (!current || eq == std::string::npos) continue;
        std::string key = TrimBlanks(line.substr(0, eq));
        if (key.empty()) continue;
        if (keysSeen.insert(UpperCase(key)).second) current->entries.emplace_back(key, Unquoted(TrimBlanks(line.substr(eq + 1))));
    }
}

const TIniFile::Section* TIniFile::FindSection(const std::string& section) const {
    for (const auto& s : sections_)
        if (SameText(s.name, section)) return &s;
    return nullptr;
}

const std::string* TIniFile::FindValue(const std::string& section, const std::string& key) const {
    const Section* s = FindSection(section);
    if (!s) return nullptr;
    for (const auto& entry : s->entries)
        if (SameText(entry.first, key)) return &entry.second;
    return nullptr;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const {
    const std::string* value = FindValue(section, key);
    return value ? *value : defaultValue;
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key,
                          int defaultValue) const {
    const std::string* value = FindValue(section, key);
    return value ? StrToIntDef(*value, defaultValue) : defaultValue;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key,
                        bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool TIniFile::SectionExists(const std::string& section) const {
    return FindSection(section) != nullptr;
}

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const {
    return FindValue(section, key) != nullptr;
}

std::vector<std::string> TIniFile::ReadSections() const {
    std::vector<std::string> names;
    for (const auto& s : sections_) names.push_back(s.name);
    return names;
}

std::vector<std::string> TIniFile::ReadSection(const std::string& section) const {
    std::vector<std::string> keys;
    if (const Section* s = FindSection(section))
        for (const auto& entry : s->entries) keys.push_back(entry.first);
    return keys;
}

std::vector<std::string> TIniFile::ReadSectionValues(const std::string& section) const {
    std::vector<std::string> lines;
    if (const Section* s = FindSection(section))
        for (const auto& entry : s->entries) lines.push_back(entry.first + "=" + entry.second);
    return lines;
}

}  // namespace krv
