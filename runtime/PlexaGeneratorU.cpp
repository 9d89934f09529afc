#include "runtime/PlexaGeneratorU.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "platform/Registry.h"
#include "platform/SysUtils.h"

namespace krv {
namespace {

const char* const kLastResortFolder = "/tmp";
const char* const kDashes = "----------------------------------";

std::string ReadHomeFromRegistry() {
    TRegistry registry(RegRoot::LocalMachine);
    if (!registry.OpenKeyReadOnly("Software\\KRV\\Corvantis")) return {};
    std::string path = registry.ReadString("ClientPath");
    return path.empty() ? registry.ReadString("ServerPath") : path;
}

// The class name a report prints: ours say it themselves, others come from the type.
std::string ClassNameOf(const std::exception& e) {
    if (auto* own = dynamic_cast<const Exception*>(&e)) return own->ClassName();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(
        abi::__cxa_demangle(typeid(e).name(), nullptr, nullptr, &status), std::free);
    return status == 0 && name ? name.get() : typeid(e).name();
}

std::string ErrorLine(const char* kind, int index, int64_t code, const std::string& message) {
    return Format(std::string(kind) + " Error %.2d: Code: %d, Message: %s",
                  {index, code, message});
}

uint8_t RotateRight(uint8_t v, int n) {
    n &= 7;
    return n == 0 ? v : uint8_t((v >> n) | (v << (8 - n)));
}
uint8_t RotateLeft(uint8_t v, int n) {
    n &= 7;
    return n == 0 ? v : uint8_t((v << n) | (v >> (8 - n)));
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::string GetAlertHomePath() {
    try {
        std::string home = ReadHomeFromRegistry();
        if (home.empty()) home = GetTempFolder();
        return home.empty() ? kLastResortFolder : home;
    } catch (const std::exception&) {
        return kLastResortFolder;
    }
}

bool WriteGeneratorAlert(const std::string& line) {
    try {
        std::string home = GetAlertHomePath();
        if (home.empty()) home = ApplicationFolder();
        std::string folder = IncludeTrailingPathDelimiter(PlatformPath(home)) + "Log";
        if (!ForceDirectories(folder)) return false;
        double now = Now();
        std::string file = folder + PathDelim + "Alert_PlexaGenerator_" +
                           FormatDateTime("YYYYMMDD", now) + ".log";
        return AppendLineToFile(file, "[" + FormatDateTime("ddddd tt", now) + "] " + line);
    } catch (const std::exception&) {
        return false;
    }
}

void ReportException(const std::exception* e, const std::string& where,
                     const std::string& programmerMessage) {
    std::string title = kDashes;
    if (!Trim(where).empty()) title += " on " + where + " ";
    WriteGeneratorAlert(title + kDashes);
    if (e) {
        WriteGeneratorAlert("讯息信息:");
        int count = 1;
        if (auto* db = dynamic_cast<const EDBEngineError*>(e)) {
            count = db->ErrorCount();
            for (int i = 0; i < count; ++i)
                WriteGeneratorAlert(ErrorLine("EDBEngineError", i + 1, db->Errors(i).errorCode,
                                              db->Errors(i).message));
        } else if (auto* os = dynamic_cast<const EWin32Error*>(e)) {
            WriteGeneratorAlert(ErrorLine("EWin32Error", 1, os->ErrorCode(), os->Message()));
        } else if (auto* io = dynamic_cast<const EInOutError*>(e)) {
            WriteGeneratorAlert(ErrorLine("EInOutError", 1, io->ErrorCode(), io->Message()));
        } else {
            // The message is appended after formatting, so a "%" in it stays as it is.
            WriteGeneratorAlert(Format("Exception is %s\r\nMessage %.2d: ", {ClassNameOf(*e), 1}) +
                                e->what());
        }
        WriteGeneratorAlert(Format("ErrorMessage Count: %d", {count}));
    }
    if (!Trim(programmerMessage).empty())
        WriteGeneratorAlert("Programer Message: " + programmerMessage);
}

std::string EncodeSQLSa(const std::string& password) {
    const std::string& clear = password.empty() ? std::string(kEmptyPasswordMarker) : password;
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(clear.size() * 2);
    for (size_t i = 0; i < clear.size(); ++i) {
        uint8_t v = RotateRight(uint8_t(clear[i]), int((i + 1) % 8));
        out += hex[v >> 4];
        out += hex[v & 0xF];
    }
    return out;
}

std::string DecodeSQLSa(const std::string& scrambled) {
    std::string clear;
    clear.reserve(scrambled.size() / 2);
    for (size_t k = 1; 2 * k <= scrambled.size(); ++k) {
        int high = HexValue(scrambled[2 * k - 2]), low = HexValue(scrambled[2 * k - 1]);
        if (high < 0 || low < 0) {
            EConvertError error("'$" + scrambled.substr(2 * k - 2, 2) +
                                "' is not a valid integer value");
            ReportException(&error, EncodeSQLSa("DecodeSQLSa"), "解析 Sa 时发生错误!");
            return kPasswordErrorMarker;
        }
        clear += char(RotateLeft(uint8_t(high * 16 + low), int(k % 8)));
    }
    return clear == kEmptyPasswordMarker ? std::string() : clear;
}

}  // namespace krv
