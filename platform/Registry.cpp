#include "platform/Registry.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>

#include "platform/CodePage.h"

namespace krv {
namespace {

const char* const kDefaultRegistryFile = "/etc/krv/registry.reg";

std::mutex& PathMutex() {
    static std::mutex m;
    return m;
}
std::string& OverridePath() {
    static std::string path;
    return path;
}

// ---- file text -------------------------------------------------------------------------------

std::optional<std::string> ReadAllBytes(const std::string& path) {
    if (!FileExists(path)) return std::nullopt;  // a folder under the name is no file
    try {
        std::ifstream in(path, std::ios::binary);
        if (!in) return std::nullopt;
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (in.bad()) return std::nullopt;
        return bytes;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::u16string Utf16LeToWide(const std::string& bytes, size_t from) {
    std::u16string out;
    out.reserve((bytes.size() - from) / 2);
    for (size_t i = from; i + 1 < bytes.size(); i += 2)
        out.push_back(char16_t(uint8_t(bytes[i]) | (uint8_t(bytes[i + 1]) << 8)));
    return out;  // an odd trailing byte (a truncated file) is dropped
}

// An export is UTF-16LE with a byte-order mark, UTF-8 with one, or ANSI.
std::u16string DecodeFile(const std::string& bytes) {
    if (bytes.size() >= 2 && uint8_t(bytes[0]) == 0xFF && uint8_t(bytes[1]) == 0xFE)
        return Utf16LeToWide(bytes, 2);
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        return Utf8ToWide(bytes.substr(3));
    return AnsiToWide(bytes);
}

std::vector<std::u16string> SplitLines(const std::u16string& text) {
    std::vector<std::u16string> lines;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != u'\r' && text[i] != u'\n') continue;
        lines.emplace_back(text, start, i - start);
        if (i + 1 < text.size() && text[i] == u'\r' && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    return lines;
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\0'; }

std::u16string TrimWide(const std::u16string& s) {
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

char16_t FoldWide(char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c; }

bool SameWide(const std::u16string& a, const std::u16string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldWide(a[i]) != FoldWide(b[i])) return false;
    return true;
}

bool StartsWithWide(const std::u16string& s, const std::u16string& prefix) {
    return s.size() >= prefix.size() && SameWide(s.substr(0, prefix.size()), prefix);
}

// ---- key paths -------------------------------------------------------------------------------

const char16_t* RootName(RegRoot root) {
    switch (root) {
        case RegRoot::ClassesRoot: return u"HKEY_CLASSES_ROOT";
        case RegRoot::CurrentUser: return u"HKEY_CURRENT_USER";
        case RegRoot::LocalMachine: return u"HKEY_LOCAL_MACHINE";
        case RegRoot::Users: return u"HKEY_USERS";
        case RegRoot::CurrentConfig: return u"HKEY_CURRENT_CONFIG";
    }
    return u"HKEY_LOCAL_MACHINE";
}

// The short spellings some tools write; exports use the long ones.
std::u16string CanonicalRoot(const std::u16string& root) {
    static const std::pair<const char16_t*, const char16_t*> aliases[] = {
        {u"HKLM", u"HKEY_LOCAL_MACHINE"}, {u"HKCU", u"HKEY_CURRENT_USER"},
        {u"HKCR", u"HKEY_CLASSES_ROOT"},  {u"HKU", u"HKEY_USERS"},
        {u"HKCC", u"HKEY_CURRENT_CONFIG"}};
    for (const auto& [shortName, longName] : aliases)
        if (SameWide(root, shortName)) return longName;
    return root;
}

// "ROOT\a\b" with single separators and no leading or trailing one.
std::u16string NormalisePath(const std::u16string& path) {
    std::u16string out;
    for (char16_t c : path) {
        if (c == u'\\' && (out.empty() || out.back() == u'\\')) continue;
        out.push_back(c);
    }
    while (!out.empty() && out.back() == u'\\') out.pop_back();
    size_t cut = out.find(u'\\');
    std::u16string root = CanonicalRoot(out.substr(0, cut));
    return cut == std::u16string::npos ? root : root + out.substr(cut);
}

std::u16string FullPath(RegRoot root, const std::string& key) {
    return NormalisePath(std::u16string(RootName(root)) + u"\\" + AnsiToWide(key));
}

// ---- value data ------------------------------------------------------------------------------

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// A quoted text starting at `at` (on the opening quote); `at` ends past the closing quote.
// Regedit escapes only the backslash and the quote; any other backslash stays as written.
std::optional<std::u16string> ReadQuoted(const std::u16string& line, size_t& at) {
    if (at >= line.size() || line[at] != u'"') return std::nullopt;
    std::u16string out;
    for (size_t i = at + 1; i < line.size(); ++i) {
        char16_t c = line[i];
        if (c == u'"') {
            at = i + 1;
            return out;
        }
        if (c == u'\\' && i + 1 < line.size() && (line[i + 1] == u'\\' || line[i + 1] == u'"'))
            c = line[++i];
        out.push_back(c);
    }
    return std::nullopt;  // no closing quote: a truncated line
}

std::optional<std::vector<uint8_t>> ReadHexBytes(const std::u16string& data) {
    std::vector<uint8_t> bytes;
    int pending = -1;
    for (char16_t c : data) {
        if (c == u',' || IsBlank(c) || c == u'\\') {
            if (pending >= 0) bytes.push_back(uint8_t(pending));
            pending = -1;
            continue;
        }
        int digit = HexDigit(c);
        if (digit < 0 || pending > 0xF) return std::nullopt;
        pending = pending < 0 ? digit : pending * 16 + digit;
    }
    if (pending >= 0) bytes.push_back(uint8_t(pending));
    return bytes;
}

// Strings inside hex data: UTF-16LE in version 5 exports, ANSI in REGEDIT4 ones.
std::u16string BytesToText(const std::vector<uint8_t>& bytes, bool unicode) {
    if (unicode) return Utf16LeToWide(std::string(bytes.begin(), bytes.end()), 0);
    return AnsiToWide(std::string(bytes.begin(), bytes.end()));
}

std::u16string StripTrailingNuls(std::u16string s) {
    while (!s.empty() && s.back() == u'\0') s.pop_back();
    return s;
}

std::vector<std::u16string> SplitMulti(const std::u16string& s) {
    std::vector<std::u16string> lines;
    size_t start = 0;
    while (start < s.size()) {
        size_t end = s.find(u'\0', start);
        if (end == std::u16string::npos) end = s.size();
        if (end == start) break;  // the empty string ends the list
        lines.push_back(s.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

uint64_t LittleEndian(const std::vector<uint8_t>& bytes, size_t width) {
    uint64_t n = 0;
    for (size_t i = 0; i < width && i < bytes.size(); ++i) n |= uint64_t(bytes[i]) << (8 * i);
    return n;
}

std::optional<TRegistry::Value> ReadHexValue(int kind, const std::u16string& data, bool unicode) {
    auto bytes = ReadHexBytes(data);
    if (!bytes) return std::nullopt;
    TRegistry::Value v;
    switch (kind) {
        case 1:
        case 2:
            v.type = kind == 1 ? RegDataType::String : RegDataType::ExpandString;
            v.text = StripTrailingNuls(BytesToText(*bytes, unicode));
            break;
        case 4:
            v.type = RegDataType::Integer;
            v.number = LittleEndian(*bytes, 4);
            break;
        case 7:
            v.type = RegDataType::MultiString;
            v.lines = SplitMulti(BytesToText(*bytes, unicode));
            break;
        case 0xB:
            v.type = RegDataType::QWord;
            v.number = LittleEndian(*bytes, 8);
            break;
        default:
            v.type = kind == 3 ? RegDataType::Binary : RegDataType::Unknown;
            v.bytes = std::move(*bytes);
    }
    return v;
}

// The data after "=": "text", dword:n, hex:..., hex(k):...; nullopt when it cannot be read.
std::optional<TRegistry::Value> ReadData(const std::u16string& data, bool unicode) {
    if (!data.empty() && data[0] == u'"') {
        size_t at = 0;
        auto text = ReadQuoted(data, at);
        if (!text) return std::nullopt;
        TRegistry::Value v;
        v.type = RegDataType::String;
        v.text = std::move(*text);
        return v;
    }
    if (StartsWithWide(data, u"dword:")) {
        std::u16string digits = TrimWide(data.substr(6));
        if (digits.empty() || digits.size() > 8) return std::nullopt;
        uint64_t n = 0;
        for (char16_t c : digits) {
            int d = HexDigit(c);
            if (d < 0) return std::nullopt;
            n = n * 16 + uint64_t(d);
        }
        TRegistry::Value v;
        v.type = RegDataType::Integer;
        v.number = n;
        return v;
    }
    if (StartsWithWide(data, u"hex:")) return ReadHexValue(3, data.substr(4), unicode);
    if (StartsWithWide(data, u"hex(")) {
        size_t close = data.find(u"):");
        if (close == std::u16string::npos || close == 4 || close > 12) return std::nullopt;
        int kind = 0;
        for (size_t i = 4; i < close; ++i) {
            int d = HexDigit(data[i]);
            if (d < 0) return std::nullopt;
            kind = kind * 16 + d;
        }
        return ReadHexValue(kind, data.substr(close + 2), unicode);
    }
    return std::nullopt;
}

// ---- the walk --------------------------------------------------------------------------------

// Joins hex data that regedit wraps with a trailing "\" onto one logical line.
std::vector<std::u16string> LogicalLines(const std::vector<std::u16string>& lines) {
    std::vector<std::u16string> out;
    bool continuing = false;
    for (const auto& raw : lines) {
        std::u16string line = TrimWide(raw);
        if (continuing)
            out.back() += line;
        else
            out.push_back(line);
        continuing = !out.back().empty() && out.back().back() == u'\\' &&
                     out.back().find(u"=hex") != std::u16string::npos;
        if (continuing) out.back().pop_back();
    }
    return out;
}

struct KeyScan {
    bool exists = false;
    std::unique_ptr<TRegistry::Key> key;
};

void AddSubKey(TRegistry::Key& key, const std::string& name) {
    for (const auto& existing : key.subKeys)
        if (SameText(existing, name)) return;
    key.subKeys.push_back(name);
}

void RemoveSubKey(TRegistry::Key& key, const std::string& name) {
    std::erase_if(key.subKeys, [&](const std::string& s) { return SameText(s, name); });
}

void SetValue(TRegistry::Key& key, std::string name, std::optional<TRegistry::Value> value) {
    auto it = std::find_if(key.values.begin(), key.values.end(),
                           [&](const auto& entry) { return SameText(entry.first, name); });
    if (it != key.values.end()) key.values.erase(it);
    if (value) key.values.emplace_back(std::move(name), std::move(*value));
}

// Reads the file and keeps only what belongs to `target`: whether it exists, its values and
// the names of its direct children. A parent key exists when any key below it does.
KeyScan ScanFile(const std::u16string& target) {
    KeyScan scan;
    scan.key = std::make_unique<TRegistry::Key>();
    auto bytes = ReadAllBytes(RegistryFilePath());
    if (!bytes) return scan;
    std::vector<std::u16string> lines = LogicalLines(SplitLines(DecodeFile(*bytes)));
    size_t first = 0;
    while (first < lines.size() && lines[first].empty()) ++first;
    if (first == lines.size()) return scan;
    bool unicode;
    if (lines[first] == u"Windows Registry Editor Version 5.00")
        unicode = true;
    else if (lines[first] == u"REGEDIT4")
        unicode = false;
    else
        return scan;  // not a registry export

    const std::u16string below = target + u"\\";
    bool inTarget = false;
    for (size_t i = first + 1; i < lines.size(); ++i) {
        const std::u16string& line = lines[i];
        if (line.empty() || line[0] == u';') continue;
        if (line[0] == u'[') {
            inTarget = false;
            if (line.back() != u']') continue;  // damaged key line: its values go nowhere
            bool remove = line.size() > 1 && line[1] == u'-';
            std::u16string path = NormalisePath(line.substr(remove ? 2 : 1,
                                                            line.size() - (remove ? 3 : 2)));
            bool self = SameWide(path, target);
            if (remove && (self || StartsWithWide(below, path + u"\\"))) {
                // the key or one of its parents is deleted: forget what was read so far
                scan.exists = false;
                scan.key->values.clear();
                scan.key->subKeys.clear();
            } else if (self) {
                scan.exists = inTarget = true;
            } else if (StartsWithWide(path, below)) {
                std::u16string rest = path.substr(below.size());
                size_t cut = rest.find(u'\\');
                std::string child = WideToAnsi(rest.substr(0, cut));
                if (remove) {
                    if (cut == std::u16string::npos) RemoveSubKey(*scan.key, child);
                    continue;
                }
                scan.exists = true;
                AddSubKey(*scan.key, child);
            }
            continue;
        }
        if (!inTarget) continue;
        std::u16string name;
        size_t at = 0;
        if (line[0] == u'@') {
            at = 1;
        } else {
            auto quoted = ReadQuoted(line, at);
            if (!quoted) continue;
            name = std::move(*quoted);
        }
        while (at < line.size() && IsBlank(line[at])) ++at;
        if (at >= line.size() || line[at] != u'=') continue;
        std::u16string data = TrimWide(line.substr(at + 1));
        if (data == u"-") {
            SetValue(*scan.key, WideToAnsi(name), std::nullopt);
            continue;
        }
        if (auto value = ReadData(data, unicode)) SetValue(*scan.key, WideToAnsi(name), value);
    }
    return scan;
}

}  // namespace

std::string RegistryFilePath() {
    {
        std::lock_guard<std::mutex> lock(PathMutex());
        if (!OverridePath().empty()) return OverridePath();
    }
    const char* env = std::getenv("KRV_REGISTRY_FILE");
    return env && *env ? env : kDefaultRegistryFile;
}

void SetRegistryFilePath(const std::string& path) {
    std::lock_guard<std::mutex> lock(PathMutex());
    OverridePath() = path;
}

bool TRegistry::OpenKeyReadOnly(const std::string& key) {
    CloseKey();
    KeyScan scan = ScanFile(FullPath(root_, key));
    if (!scan.exists) return false;
    open_ = std::move(scan.key);
    open_->path = key;
    currentPath_ = key;
    return true;
}

void TRegistry::CloseKey() {
    open_.reset();
    currentPath_.clear();
}

bool TRegistry::KeyExists(const std::string& key) const {
    return ScanFile(FullPath(root_, key)).exists;
}

const TRegistry::Value* TRegistry::FindValue(const std::string& name) const {
    if (!open_) return nullptr;
    for (const auto& [valueName, value] : open_->values)
        if (SameText(valueName, name)) return &value;
    return nullptr;
}

bool TRegistry::ValueExists(const std::string& name) const { return FindValue(name) != nullptr; }

RegDataType TRegistry::GetDataType(const std::string& name) const {
    const Value* v = FindValue(name);
    return v ? v->type : RegDataType::Unknown;
}

std::u16string TRegistry::ReadWideString(const std::string& name) const {
    const Value* v = FindValue(name);
    if (!v) return {};
    if (v->type != RegDataType::String && v->type != RegDataType::ExpandString)
        throw ERegistryException("Invalid data type for '" + name + "'");
    return v->text;
}

std::string TRegistry::ReadString(const std::string& name) const {
    return WideToAnsi(ReadWideString(name));
}

int TRegistry::ReadInteger(const std::string& name) const {
    const Value* v = FindValue(name);
    if (!v || v->type != RegDataType::Integer)
        throw ERegistryException("Invalid data type for '" + name + "'");
    return int(uint32_t(v->number));
}

std::vector<std::string> TRegistry::GetValueNames() const {
    std::vector<std::string> names;
    if (open_)
        for (const auto& entry : open_->values) names.push_back(entry.first);
    return names;
}

std::vector<std::string> TRegistry::GetKeyNames() const {
    return open_ ? open_->subKeys : std::vector<std::string>{};
}

}  // namespace krv
