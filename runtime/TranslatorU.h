// Binding of the conversion library that turns GB text into BIG5 text and back.
#pragma once

#include <string>

#include "platform/DynLib.h"

namespace krv {

class TTranslator {
public:
    // Loads the library and binds its entry points. Raises Exception "Load Library %s Error!"
    // when the library cannot be loaded and "Get Library Procedure Address Error!" when one of the
    // two conversions is missing.
    TTranslator();
    TTranslator(const TTranslator&) = delete;
    TTranslator& operator=(const TTranslator&) = delete;

    // Text returned unchanged when the entry point is absent; empty text stays empty.
    std::string Big5ToGb(const std::string& s) const;
    std::string GbToBig5(const std::string& s) const;

    // The library's name as the module loads it; tests point it elsewhere.
    static const std::string& LibraryName();
    static void SetLibraryName(const std::string& name);

private:
    using Conversion = int (*)(const char*, int, char*, int);
    using SaveOrderProc = int (*)(int);

    void LoadLib();
    static std::string Call(Conversion convert, const std::string& s);

    TDynLib library_;
    Conversion gbToBig5_ = nullptr;
    Conversion big5ToGb_ = nullptr;
    Conversion getBig5Data_ = nullptr;
    Conversion getGbData_ = nullptr;
    SaveOrderProc saveOrder_ = nullptr;
};

}  // namespace krv
