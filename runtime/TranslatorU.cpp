#include "runtime/TranslatorU.h"

#include <climits>

#include "platform/SysUtils.h"

namespace krv {

namespace {

std::string& ConfiguredLibraryName() {
    static std::string name = "Krlanguage.dll";
    return name;
}

}  // namespace

const std::string& TTranslator::LibraryName() { return ConfiguredLibraryName(); }
void TTranslator::SetLibraryName(const std::string& name) { ConfiguredLibraryName() = name; }

TTranslator::TTranslator() { LoadLib(); }

void TTranslator::LoadLib() {
    if (library_.Loaded()) return;
    const std::string& name = LibraryName();
    if (!library_.Load(name)) throw Exception(Format("Load Library %s Error!", {name}));
    gbToBig5_ = library_.FindAs<int(const char*, int, char*, int)>("GBtoBIG5");
    big5ToGb_ = library_.FindAs<int(const char*, int, char*, int)>("BIG5toGB");
    getBig5Data_ = library_.FindAs<int(const char*, int, char*, int)>("GetBIG5Data");
    getGbData_ = library_.FindAs<int(const char*, int, char*, int)>("GetGBData");
    saveOrder_ = library_.FindAs<int(int)>("SaveOrder");
    if (!gbToBig5_ || !big5ToGb_) {
        library_.Unload();
        throw Exception("Get Library Procedure Address Error!", -1);
    }
}

// The library writes into our buffer; a first guess of twice the input fits every text of these
// two code pages, and a longer answer is fetched again with the size the library asked for.
std::string TTranslator::Call(Conversion convert, const std::string& s) {
    if (!convert || s.empty()) return s;
    if (s.size() > static_cast<size_t>(INT_MAX / 2)) throw Exception("Text too long for code conversion");
    int length = static_cast<int>(s.size());
    std::string out(s.size() * 2 + 16, '\0');
    int needed = convert(s.data(), length, out.data(), static_cast<int>(out.size()));
    if (needed > static_cast<int>(out.size())) {
        out.resize(static_cast<size_t>(needed));
        needed = convert(s.data(), length, out.data(), needed);
    }
    if (needed < 0 || needed > static_cast<int>(out.size()))
        throw Exception(Format("Code conversion of %s failed", {LibraryName()}));
    out.resize(static_cast<size_t>(needed));
    return out;
}

std::string TTranslator::Big5ToGb(const std::string& s) const { return Call(big5ToGb_, s); }
std::string TTranslator::GbToBig5(const std::string& s) const { return Call(gbToBig5_, s); }

}  // namespace krv
