// Simplified/Traditional conversion between the GB and BIG5 code pages: the narrow text is decoded
// to UTF-8 with iconv, OpenCC's Taiwan configurations change the script, and iconv encodes the
// result in the target code page. A character the target code page cannot hold becomes that code
// page's default character, as the system's own narrowing does.
#include "libs/Krlanguage/Krlanguage.h"

#include <iconv.h>
#include <opencc/SimpleConverter.hpp>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace {

constexpr char kDefaultChar = '?';  // the default character of code pages 936 and 950

// One iconv direction. iconv descriptors carry state, so each is used under the library's lock.
class IconvCoder {
public:
    IconvCoder(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~IconvCoder() {
        if (Valid()) iconv_close(cd_);
    }
    IconvCoder(const IconvCoder&) = delete;
    IconvCoder& operator=(const IconvCoder&) = delete;

    bool Valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts all of `in`; a sequence that cannot be converted becomes the default character and
    // the walk resumes after it (`skip` tells how many input bytes that sequence spans).
    template <typename Skip>
    void Convert(std::string_view in, std::string& out, Skip skip) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        out.clear();
        out.resize(in.size() * 2 + 16);
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        size_t written = 0;
        while (srcLeft > 0) {
            char* dst = out.data() + written;
            size_t dstLeft = out.size() - written;
            size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            written = out.size() - dstLeft;
            if (rc != static_cast<size_t>(-1)) break;
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            // EILSEQ or EINVAL (a sequence cut off at the end): replace it and go on.
            size_t n = std::min(srcLeft, skip(static_cast<unsigned char>(*src)));
            src += n;
            srcLeft -= n;
            if (written == out.size()) out.resize(out.size() * 2);
            out[written++] = kDefaultChar;
        }
        out.resize(written);
    }

private:
    iconv_t cd_;
};

// Bytes of one UTF-8 character from its first byte.
size_t Utf8Length(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

// A byte the decoder refused is dropped alone, so the next byte gets its own chance.
size_t OneByte(unsigned char) { return 1; }

class ScriptConverter {
public:
    ScriptConverter(const char* fromCodePage, const char* toCodePage, const char* openccConfig)
        : decode_("UTF-8", fromCodePage), encode_(toCodePage, "UTF-8"), encodeOnly_(toCodePage, fromCodePage) {
        try {
            script_ = std::make_unique<opencc::SimpleConverter>(openccConfig);
        } catch (...) {
            script_.reset();  // missing character data: Ready() says so
        }
    }

    bool Ready() const { return script_ && decode_.Valid() && encode_.Valid(); }

    // The whole text in the target code page and script. OpenCC stops at a NUL byte, so text
    // holding NULs is converted piece by piece and the NULs are kept.
    void Convert(std::string_view in, std::string& out) {
        decode_.Convert(in, utf8_, OneByte);
        converted_.clear();
        size_t start = 0;
        while (start <= utf8_.size()) {
            size_t nul = utf8_.find('\0', start);
            size_t end = nul == std::string::npos ? utf8_.size() : nul;
            if (end > start) converted_ += script_->Convert(utf8_.data() + start, end - start);
            if (nul == std::string::npos) break;
            converted_ += '\0';
            start = nul + 1;
        }
        encode_.Convert(converted_, out, Utf8Length);
    }

    bool EncodeReady() const { return encodeOnly_.Valid(); }

    // The same characters in the target code page, without a change of script.
    void Encode(std::string_view in, std::string& out) { encodeOnly_.Convert(in, out, OneByte); }

private:
    IconvCoder decode_;
    IconvCoder encode_;
    IconvCoder encodeOnly_;
    std::unique_ptr<opencc::SimpleConverter> script_;
    std::string utf8_;
    std::string converted_;
};

std::mutex& Lock() {
    static std::mutex lock;
    return lock;
}

// The converters live as long as the process and are never destroyed: closing an iconv handle
// from a static destructor at exit can run while glibc already holds its conversion lock (it
// unloads a conversion module whose clean-up finalises this library), which deadlocks. The
// library is linked "nodelete", so unloading it never strands them.
ScriptConverter& ToBig5() {
    static ScriptConverter& converter = *new ScriptConverter("CP936", "CP950", "s2tw.json");
    return converter;
}

ScriptConverter& ToGb() {
    static ScriptConverter& converter = *new ScriptConverter("CP950", "CP936", "tw2s.json");
    return converter;
}

bool IsPlainAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

int Deliver(std::string_view result, char* buffer, int capacity) {
    int length = static_cast<int>(result.size());
    if (buffer && capacity >= length) {
        if (!result.empty()) std::memcpy(buffer, result.data(), result.size());
        if (capacity > length) buffer[length] = '\0';
    }
    return length;
}

// ASCII is the same in both code pages and scripts, so most texts (names, numbers) pass through.
int Run(ScriptConverter& converter, bool changeScript, const char* text, int length, char* buffer,
        int capacity) {
    if (!text || length <= 0) return Deliver({}, buffer, capacity);
    std::string_view in(text, static_cast<size_t>(length));
    if (IsPlainAscii(in)) return Deliver(in, buffer, capacity);
    std::lock_guard<std::mutex> guard(Lock());
    static thread_local std::string out;
    try {
        if (changeScript) {
            if (!converter.Ready()) return -1;
            converter.Convert(in, out);
        } else {
            if (!converter.EncodeReady()) return -1;
            converter.Encode(in, out);
        }
    } catch (...) {
        return -1;  // nothing may cross the C boundary
    }
    return Deliver(out, buffer, capacity);
}

}  // namespace

extern "C" {

int GBtoBIG5(const char* text, int length, char* buffer, int capacity) {
    return Run(ToBig5(), true, text, length, buffer, capacity);
}

int BIG5toGB(const char* text, int length, char* buffer, int capacity) {
    return Run(ToGb(), true, text, length, buffer, capacity);
}

int GetBIG5Data(const char* text, int length, char* buffer,
                                                       int capacity) {
    return Run(ToBig5(), false, text, length, buffer, capacity);
}

int GetGBData(const char* text, int length, char* buffer, int capacity) {
    return Run(ToGb(), false, text, length, buffer, capacity);
}

int SaveOrder(int) { return 0; }

}
