#include "platform/CodePage.h"

#include <iconv.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <string>

namespace krv {
namespace {

int InitialSystemCodePage() {
    const char* env = std::getenv("KRV_SYSTEM_CODEPAGE");
    if (env && *env) {
        int cp = std::atoi(env);
        if (cp > 0) return cp;
    }
    return 936;
}

std::atomic<int>& SystemCodePage() {
    static std::atomic<int> codePage{InitialSystemCodePage()};
    return codePage;
}

// The iconv name of a Windows code page, or "" when we do not know it.
std::string IconvName(int codePage) {
    switch (codePage) {
        case 65001: return "UTF-8";
        case 1200: return "UTF-16LE";
        case 20127: return "ASCII";
        case 936: return "CP936";
        case 950: return "CP950";
        default: return codePage > 0 ? "CP" + std::to_string(codePage) : "";
    }
}

int Resolve(int codePage) { return codePage == 0 ? GetSystemCodePage() : codePage; }

// One iconv conversion; on an unconvertible or invalid sequence the replacement is written and
// the converter skips one input unit, so nothing stops a conversion half-way.
class Converter {
public:
    Converter(const std::string& to, const std::string& from)
        : handle_(to.empty() || from.empty() ? reinterpret_cast<iconv_t>(-1)
                                             : iconv_open(to.c_str(), from.c_str())) {}
    ~Converter() {
        if (Valid()) iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool Valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    std::string Run(const char* data, size_t size, size_t unit, const std::string& replacement) {
        std::string out;
        out.reserve(size * 2 + 8);
        char* in = const_cast<char*>(data);
        size_t inLeft = size;
        char buffer[4096];
        while (inLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            size_t rc = iconv(handle_, &in, &inLeft, &dst, &dstLeft);
            out.append(buffer, dst - buffer);
            if (rc != static_cast<size_t>(-1)) continue;
            if (errno == E2BIG) continue;
            // EILSEQ or EINVAL (truncated input): replace one unit and go on.
            out += replacement;
            size_t skip = std::min(unit, inLeft);
            in += skip;
            inLeft -= skip;
            iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        }
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        iconv(handle_, nullptr, nullptr, &dst, &dstLeft);
        out.append(buffer, dst - buffer);
        return out;
    }

private:
    iconv_t handle_;
};

std::u16string BytesToU16(const std::string& bytes) {
    std::u16string out(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    return out;
}

std::string U16ToBytes(const std::u16string& text) {
    std::string bytes(text.size() * 2, '\0');
    for (size_t i = 0; i < text.size(); ++i) {
        bytes[2 * i] = static_cast<char>(text[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(text[i] >> 8);
    }
    return bytes;
}

const std::string kWideReplacement("\xFD\xFF", 2);  // U+FFFD, little endian

}  // namespace

int GetSystemCodePage() { return SystemCodePage().load(); }
void SetSystemCodePage(int codePage) { SystemCodePage().store(codePage > 0 ? codePage : 936); }

bool IsCodePageSupported(int codePage) {
    Converter probe("UTF-16LE", IconvName(Resolve(codePage)));
    return probe.Valid();
}

std::u16string AnsiToWide(const std::string& text, int codePage) {
    if (text.empty()) return {};
    Converter conv("UTF-16LE", IconvName(Resolve(codePage)));
    if (!conv.Valid()) return {};
    return BytesToU16(conv.Run(text.data(), text.size(), 1, kWideReplacement));
}

std::string WideToAnsi(const std::u16string& text, int codePage) {
    if (text.empty()) return {};
    Converter conv(IconvName(Resolve(codePage)), "UTF-16LE");
    if (!conv.Valid()) return {};
    std::string bytes = U16ToBytes(text);
    return conv.Run(bytes.data(), bytes.size(), 2, "?");
}

std::string AnsiToUtf8(const std::string& text, int codePage) {
    if (text.empty()) return {};
    Converter conv("UTF-8", IconvName(Resolve(codePage)));
    if (!conv.Valid()) return {};
    return conv.Run(text.data(), text.size(), 1, "\xEF\xBF\xBD");
}

std::string Utf8ToAnsi(const std::string& text, int codePage) {
    if (text.empty()) return {};
    Converter conv(IconvName(Resolve(codePage)), "UTF-8");
    if (!conv.Valid()) return {};
    return conv.Run(text.data(), text.size(), 1, "?");
}

std::u16string Utf8ToWide(const std::string& text) { return AnsiToWide(text, 65001); }
std::string WideToUtf8(const std::u16string& text) { return WideToAnsi(text, 65001); }

}  // namespace krv
