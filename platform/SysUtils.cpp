#include "platform/SysUtils.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <string_view>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace krv {

// ---- Numbers ---------------------------------------------------------------------------------

std::string IntToStr(int64_t value) { return std::to_string(value); }

bool TryStrToInt64(const std::string& text, int64_t& value) {
    std::string s = Trim(text);
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    if (i == s.size()) return false;
    uint64_t magnitude = 0;
    const uint64_t limit = negative ? uint64_t(std::numeric_limits<int64_t>::max()) + 1
                                    : uint64_t(std::numeric_limits<int64_t>::max());
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        uint64_t digit = uint64_t(s[i] - '0');
        if (magnitude > (limit - digit) / 10) return false;
        magnitude = magnitude * 10 + digit;
    }
    value = negative ? int64_t(0 - magnitude) : int64_t(magnitude);
    return true;
}

int64_t StrToInt64(const std::string& text) {
    int64_t value = 0;
    if (!TryStrToInt64(text, value))
        throw EConvertError("'" + text + "' is not a valid integer value");
    return value;
}

int StrToInt(const std::string& text) {
    int64_t value = StrToInt64(text);
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        throw EConvertError("'" + text + "' is not a valid integer value");
    return int(value);
}

int StrToIntDef(const std::string& text, int defaultValue) {
    int64_t value = 0;
    if (!TryStrToInt64(text, value) || value < std::numeric_limits<int>::min() ||
        value > std::numeric_limits<int>::max())
        return defaultValue;
    return int(value);
}

bool TryStrToFloat(const std::string& text, double& value) {
    std::string s = Trim(text);
    if (s.empty()) return false;
    // Only sign, digits, one ".", and an exponent: strtod would also take "inf", "nan" and hex.
    size_t i = 0;
    if (s[i] == '+' || s[i] == '-') ++i;
    bool digits = false, dot = false;
    for (; i < s.size() && (isdigit(static_cast<unsigned char>(s[i])) || s[i] == '.'); ++i) {
        if (s[i] == '.') {
            if (dot) return false;
            dot = true;
        } else {
            digits = true;
        }
    }
    if (!digits) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        if (i == s.size()) return false;
        for (; i < s.size(); ++i)
            if (!isdigit(static_cast<unsigned char>(s[i]))) return false;
    }
    if (i != s.size()) return false;
    // strtod honours the C locale, which the process never changes from "C".
    errno = 0;
    double parsed = std::strtod(s.c_str(), nullptr);
    if (errno == ERANGE && std::isinf(parsed)) return false;
    value = parsed;
    return true;
}

double StrToFloat(const std::string& text) {
    double value = 0;
    if (!TryStrToFloat(text, value))
        throw EConvertError("'" + text + "' is not a valid floating point value");
    return value;
}

std::string FloatToStr(double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    std::string s = buffer;
    // %G keeps trailing zeros of the mantissa out already; normalise the exponent form "1E+20".
    size_t e = s.find('E');
    if (e != std::string::npos) {
        std::string mantissa = s.substr(0, e);
        std::string exponent = s.substr(e + 1);
        char sign = exponent[0];
        exponent = exponent.substr(1);
        while (exponent.size() > 1 && exponent[0] == '0') exponent.erase(0, 1);
        s = mantissa + "E" + (sign == '-' ? "-" : "+") + exponent;
    }
    return s;
}

// ---- Dates -----------------------------------------------------------------------------------

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInAMonth(int year, int month) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

bool IsValidDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInAMonth(year, month);
}

namespace {
// Days from 0001-01-01 to the given date (proleptic Gregorian).
int64_t DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;  // days since 1970-01-01
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    d = int(doy - (153 * mp + 2) / 5 + 1);
    m = int(mp < 10 ? mp + 3 : mp - 9);
    y = int(yoe + era * 400 + (m <= 2));
}

const int64_t kEpochOffset = DaysFromCivil(1899, 12, 30);
}  // namespace

bool TryEncodeDate(int year, int month, int day, double& date) {
    if (!IsValidDate(year, month, day)) return false;
    date = double(DaysFromCivil(year, month, day) - kEpochOffset);
    return true;
}

double EncodeDate(int year, int month, int day) {
    double date = 0;
    if (!TryEncodeDate(year, month, day, date))
        throw EConvertError("Invalid argument to date encode");
    return date;
}

double EncodeTime(int hour, int minute, int second, int millisecond) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
        millisecond < 0 || millisecond > 999)
        throw EConvertError("Invalid argument to time encode");
    return (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + millisecond) / 86400000.0;
}

void DecodeDate(double date, int& year, int& month, int& day) {
    CivilFromDays(int64_t(std::floor(date)) + kEpochOffset, year, month, day);
}

void DecodeTime(double date, int& hour, int& minute, int& second, int& millisecond) {
    double fraction = std::fabs(date - std::trunc(date));
    int64_t ms = int64_t(std::llround(fraction * 86400000.0));
    if (ms >= 86400000) ms = 86399999;
    hour = int(ms / 3600000);
    minute = int(ms / 60000 % 60);
    second = int(ms / 1000 % 60);
    millisecond = int(ms % 1000);
}

int DayOfWeek(double date) {
    // 1899-12-30 was a Saturday (7).
    int64_t days = int64_t(std::floor(date));
    return int(((days % 7) + 7 + 6) % 7) + 1;
}

std::string DateTimeToStr(double date) {
    int h, n, sec, ms;
    DecodeTime(date, h, n, sec, ms);
    std::string text = FormatDateTime(ShortDateFormat(), date);
    if (h != 0 || n != 0 || sec != 0) text += " " + FormatDateTime(LongTimeFormat(), date);
    return text;
}

bool TryStrToDateTime(const std::string& text, double& date) {
    std::string s = Trim(text);
    int y = 0, m = 0, d = 0, h = 0, n = 0, sec = 0, ms = 0;
    char sep1 = 0, sep2 = 0;
    int consumed = 0;
    if (std::sscanf(s.c_str(), "%4d%c%2d%c%2d%n", &y, &sep1, &m, &sep2, &d, &consumed) != 5 ||
        sep1 != sep2 || (sep1 != '/' && sep1 != '-'))
        return false;
    std::string rest = Trim(s.substr(size_t(consumed)));
    if (!rest.empty()) {
        int tail = 0;
        int fields = std::sscanf(rest.c_str(), "%2d:%2d%n", &h, &n, &tail);
        if (fields != 2) return false;
        std::string more = rest.substr(size_t(tail));
        if (!more.empty()) {
            int tail2 = 0;
            if (std::sscanf(more.c_str(), ":%2d%n", &sec, &tail2) != 1) return false;
            more = more.substr(size_t(tail2));
            if (!more.empty()) {
                int tail3 = 0;
                if (std::sscanf(more.c_str(), ".%3d%n", &ms, &tail3) != 1 ||
                    size_t(tail3) != more.size())
                    return false;
            }
        }
    }
    double day = 0;
    if (!TryEncodeDate(y, m, d, day)) return false;
    if (h > 23 || n > 59 || sec > 59 || h < 0 || n < 0 || sec < 0 || ms < 0) return false;
    date = day + EncodeTime(h, n, sec, ms);
    return true;
}

// ---- Strings ---------------------------------------------------------------------------------

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

namespace {
bool IsTrimmed(unsigned char c) { return c <= ' '; }

template <typename Fold>
std::string FoldAscii(const std::string& s, Fold fold) {
    std::string out = s;
    for (size_t i = 0; i < out.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(out[i]);
        if (IsLeadByte(c) && i + 1 < out.size()) {
            ++i;  // the trail byte may look like an ASCII letter: leave it
            continue;
        }
        out[i] = static_cast<char>(fold(c));
    }
    return out;
}
unsigned char ToUpperAscii(unsigned char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; }
unsigned char ToLowerAscii(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }
}  // namespace

std::string Trim(const std::string& s) { return TrimLeft(TrimRight(s)); }

std::string TrimLeft(const std::string& s) {
    size_t i = 0;
    while (i < s.size() && IsTrimmed(static_cast<unsigned char>(s[i]))) ++i;
    return s.substr(i);
}

std::string TrimRight(const std::string& s) {
    size_t n = s.size();
    while (n > 0 && IsTrimmed(static_cast<unsigned char>(s[n - 1]))) --n;
    return s.substr(0, n);
}

std::string UpperCase(const std::string& s) { return FoldAscii(s, ToUpperAscii); }
std::string LowerCase(const std::string& s) { return FoldAscii(s, ToLowerAscii); }
std::string AnsiUpperCase(const std::string& s) { return UpperCase(s); }
std::string AnsiLowerCase(const std::string& s) { return LowerCase(s); }

int CompareText(const std::string& a, const std::string& b) {
    std::string ua = UpperCase(a), ub = UpperCase(b);
    return ua < ub ? -1 : (ua > ub ? 1 : 0);
}

bool SameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && CompareText(a, b) == 0;
}

int Pos(const std::string& sub, const std::string& s) {
    if (sub.empty()) return 0;
    size_t at = s.find(sub);
    return at == std::string::npos ? 0 : int(at) + 1;
}

std::string Copy(const std::string& s, int index, int count) {
    if (index < 1) index = 1;
    if (count <= 0 || size_t(index) > s.size()) return {};
    return s.substr(size_t(index - 1), size_t(count));
}

void Delete(std::string& s, int index, int count) {
    if (index < 1 || count <= 0 || size_t(index) > s.size()) return;
    s.erase(size_t(index - 1), size_t(count));
}

void Insert(const std::string& sub, std::string& s, int index) {
    if (index < 1) index = 1;
    if (size_t(index) > s.size() + 1) index = int(s.size()) + 1;
    s.insert(size_t(index - 1), sub);
}

// ---- Process settings ------------------------------------------------------------------------

namespace {
struct FormatSettings {
    char dateSeparator = '/';
    char timeSeparator = ':';
    std::string shortDateFormat = "yyyy/mm/dd";
    std::string longTimeFormat = "hh:nn:ss";
};
std::mutex& SettingsMutex() {
    static std::mutex m;
    return m;
}
FormatSettings& Settings() {
    static FormatSettings settings;
    return settings;
}
FormatSettings SettingsCopy() {
    std::lock_guard<std::mutex> lock(SettingsMutex());
    return Settings();
}
template <class Change>
void ChangeSettings(Change change) {
    std::lock_guard<std::mutex> lock(SettingsMutex());
    change(Settings());
}
}  // namespace

char DateSeparator() { return SettingsCopy().dateSeparator; }
void SetDateSeparator(char separator) {
    ChangeSettings([&](FormatSettings& s) { s.dateSeparator = separator; });
}
char TimeSeparator() { return SettingsCopy().timeSeparator; }
void SetTimeSeparator(char separator) {
    ChangeSettings([&](FormatSettings& s) { s.timeSeparator = separator; });
}
std::string ShortDateFormat() { return SettingsCopy().shortDateFormat; }
void SetShortDateFormat(const std::string& format) {
    ChangeSettings([&](FormatSettings& s) { s.shortDateFormat = format; });
}
std::string LongTimeFormat() { return SettingsCopy().longTimeFormat; }
void SetLongTimeFormat(const std::string& format) {
    ChangeSettings([&](FormatSettings& s) { s.longTimeFormat = format; });
}
void ResetFormatSettings() {
    ChangeSettings([](FormatSettings& s) { s = FormatSettings(); });
}

// ---- Date and time texts ---------------------------------------------------------------------

double Now() {
    // <chrono> cannot be compiled with the GB execution character set, so ask the C library.
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::time_t seconds = now.tv_sec;
    int ms = int(now.tv_nsec / 1000000);
    std::tm local{};
    localtime_r(&seconds, &local);
    return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           EncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), ms);
}

double Date() { return std::floor(Now()); }

namespace {

const char* const kShortDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kLongDayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                     "Thursday", "Friday", "Saturday"};
const char* const kShortMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kLongMonthNames[] = {"January", "February", "March",     "April",
                                       "May",     "June",     "July",      "August",
                                       "September", "October", "November", "December"};

std::string Padded(int value, int digits) {
    std::string s = std::to_string(value < 0 ? -value : value);
    if (int(s.size()) < digits) s.insert(0, size_t(digits - int(s.size())), '0');
    return value < 0 ? "-" + s : s;
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; }

// How many times the letter repeats at `at`, ignoring case.
size_t RunLength(const std::string& p, size_t at) {
    size_t n = 1;
    while (at + n < p.size() && Upper(p[at + n]) == Upper(p[at])) ++n;
    return n;
}

bool StartsWithNoCase(const std::string& p, size_t at, const char* word) {
    for (size_t i = 0; word[i]; ++i)
        if (at + i >= p.size() || Upper(p[at + i]) != Upper(word[i])) return false;
    return true;
}

struct DateParts {
    int year, month, day, hour, minute, second, ms, weekday;
};

void AppendDateTime(std::string& out, const std::string& p, const DateParts& t,
                    const FormatSettings& settings, int depth);

// One pattern element at `at`; returns the position after it.
size_t AppendElement(std::string& out, const std::string& p, size_t at, const DateParts& t,
                     const FormatSettings& settings, bool& lastWasHour, int depth) {
    char c = Upper(p[at]);
    size_t run = RunLength(p, at);
    bool hourBefore = lastWasHour;
    lastWasHour = false;
    switch (c) {
        case 'Y':
            out += run <= 2 ? Padded(t.year % 100, 2) : Padded(t.year, 4);
            return at + run;
        case 'M':
            if (hourBefore && run <= 2) {
                out += run == 1 ? std::to_string(t.minute) : Padded(t.minute, 2);
            } else if (run == 1 || run == 2) {
                out += run == 1 ? std::to_string(t.month) : Padded(t.month, 2);
            } else {
                out += run == 3 ? kShortMonthNames[t.month - 1] : kLongMonthNames[t.month - 1];
                run = std::min<size_t>(run, 4);
            }
            return at + run;
        case 'D':
            if (run <= 2) out += run == 1 ? std::to_string(t.day) : Padded(t.day, 2);
            else if (run == 3) out += kShortDayNames[t.weekday - 1];
            else if (run == 4) out += kLongDayNames[t.weekday - 1];
            else if (depth == 0) {
                AppendDateTime(out, settings.shortDateFormat, t, settings, depth + 1);
                run = std::min<size_t>(run, 5);
            }
            return at + run;
        case 'H': {
            int hour = t.hour;
            size_t end = at + std::min<size_t>(run, 2);
            // "h" followed by am/pm writes the twelve-hour clock.
            size_t look = end;
            while (look < p.size() && p[look] != '"' && p[look] != '\'' &&
                   !StartsWithNoCase(p, look, "am/pm") && !StartsWithNoCase(p, look, "ampm"))
                ++look;
            if (look < p.size() && p[look] != '"' && p[look] != '\'') {
                hour %= 12;
                if (hour == 0) hour = 12;
            }
            out += run == 1 ? std::to_string(hour) : Padded(hour, 2);
            lastWasHour = true;
            return end;
        }
        case 'N':
            out += run == 1 ? std::to_string(t.minute) : Padded(t.minute, 2);
            return at + std::min<size_t>(run, 2);
        case 'S':
            out += run == 1 ? std::to_string(t.second) : Padded(t.second, 2);
            return at + std::min<size_t>(run, 2);
        case 'Z':
            out += run >= 3 ? Padded(t.ms, 3) : std::to_string(t.ms);
            return at + std::min<size_t>(run, 3);
        case 'C':
            if (depth == 0) {
                AppendDateTime(out, settings.shortDateFormat, t, settings, depth + 1);
                if (t.hour || t.minute || t.second || t.ms) {
                    out += ' ';
                    AppendDateTime(out, settings.longTimeFormat, t, settings, depth + 1);
                }
            }
            return at + 1;
        case 'T':
            if (run >= 2 && depth == 0)
                AppendDateTime(out, settings.longTimeFormat, t, settings, depth + 1);
            else if (run == 1)
                out += Padded(t.hour, 2) + settings.timeSeparator + Padded(t.minute, 2);
            return at + std::min<size_t>(run, 2);
        case 'A':
            if (StartsWithNoCase(p, at, "am/pm")) {
                bool upper = p[at] == 'A';
                out += t.hour < 12 ? (upper ? "AM" : "am") : (upper ? "PM" : "pm");
                return at + 5;
            }
            if (StartsWithNoCase(p, at, "ampm")) {
                out += t.hour < 12 ? "AM" : "PM";
                return at + 4;
            }
            out += p[at];
            return at + 1;
        case '/':
            out += settings.dateSeparator;
            return at + 1;
        case ':':
            out += settings.timeSeparator;
            return at + 1;
        case '"':
        case '\'': {
            size_t close = p.find(p[at], at + 1);
            if (close == std::string::npos) close = p.size();
            out.append(p, at + 1, close - at - 1);
            return std::min(close + 1, p.size());
        }
        default:
            out += p[at];
            return at + 1;
    }
}

void AppendDateTime(std::string& out, const std::string& p, const DateParts& t,
                    const FormatSettings& settings, int depth) {
    bool lastWasHour = false;
    size_t at = 0;
    while (at < p.size()) {
        char c = Upper(p[at]);
        bool dateTimeLetter = std::string_view("YMDHNSZCTA/:\"'").find(c) != std::string::npos;
        if (!dateTimeLetter) {
            // Keep a double-byte character whole: its trail byte may look like a letter.
            size_t n = IsLeadByte(static_cast<unsigned char>(p[at])) && at + 1 < p.size() ? 2 : 1;
            out.append(p, at, n);
            at += n;
            continue;
        }
        bool hourBefore = lastWasHour;
        at = AppendElement(out, p, at, t, settings, lastWasHour, depth);
        // An hour stays "just before" across separators until the next letter.
        if (!lastWasHour && c == ':') lastWasHour = hourBefore;
    }
}

}  // namespace

std::string FormatDateTime(const std::string& pattern, double date) {
    DateParts t{};
    DecodeDate(date, t.year, t.month, t.day);
    DecodeTime(date, t.hour, t.minute, t.second, t.ms);
    t.weekday = DayOfWeek(date);
    std::string out;
    AppendDateTime(out, pattern, t, SettingsCopy(), 0);
    return out;
}

std::string DateToStr(double date) { return FormatDateTime(ShortDateFormat(), date); }

// ---- Format ----------------------------------------------------------------------------------

namespace {

[[noreturn]] void InvalidFormat(const std::string& format) {
    throw EConvertError("Format '" + format + "' invalid or incompatible with argument");
}

struct FormatCursor {
    const std::string& format;
    const std::vector<Variant>& args;
    size_t next = 0;  // the next argument to take

    const Variant& Take() {
        if (next >= args.size()) throw EConvertError("No argument for format '" + format + "'");
        return args[next++];
    }
};

bool IsInteger(const Variant& v) { return v.Kind() == VarKind::Integer; }
bool IsNumber(const Variant& v) {
    return v.Kind() == VarKind::Integer || v.Kind() == VarKind::Float || v.Kind() == VarKind::Date;
}

std::string IntegerText(const Variant& v, char type, int precision) {
    int64_t n = v.AsInt64();
    std::string digits;
    bool negative = false;
    if (type == 'X') {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%llX", static_cast<unsigned long long>(n));
        digits = buffer;
    } else if (type == 'U') {
        digits = std::to_string(static_cast<uint32_t>(n));
    } else {
        negative = n < 0;
        digits = negative ? std::to_string(0 - static_cast<uint64_t>(n)) : std::to_string(n);
    }
    if (precision > 0 && int(digits.size()) < precision)
        digits.insert(0, size_t(precision - int(digits.size())), '0');
    return negative ? "-" + digits : digits;
}

std::string GroupThousands(const std::string& fixed) {
    size_t start = fixed[0] == '-' ? 1 : 0;
    size_t dot = fixed.find('.');
    size_t end = dot == std::string::npos ? fixed.size() : dot;
    std::string out = fixed.substr(0, start);
    for (size_t i = start; i < end; ++i) {
        out += fixed[i];
        size_t left = end - i - 1;
        if (left > 0 && left % 3 == 0) out += ',';
    }
    return out + fixed.substr(end);
}

std::string FloatText(double value, char type, int precision) {
    char buffer[400];
    switch (type) {
        case 'F':
        case 'N':
            std::snprintf(buffer, sizeof buffer, "%.*f", precision < 0 ? 2 : std::min(precision, 18),
                          value);
            return type == 'N' ? GroupThousands(buffer) : std::string(buffer);
        case 'E': {
            std::snprintf(buffer, sizeof buffer, "%.*E",
                          (precision < 0 ? 15 : std::clamp(precision, 1, 18)) - 1, value);
            // The run-time library writes the exponent with at least three digits.
            std::string text = buffer;
            size_t e = text.find('E');
            if (e != std::string::npos && text.size() - e - 2 < 3) text.insert(e + 2, "0");
            return text;
        }
        default:  // 'G'
            std::snprintf(buffer, sizeof buffer, "%.*G",
                          precision < 0 ? 15 : std::clamp(precision, 1, 18), value);
            return buffer;
    }
}

// A number in the specifier ("*" takes it from the arguments).
int ReadCount(FormatCursor& cur, size_t& i) {
    const std::string& f = cur.format;
    if (i < f.size() && f[i] == '*') {
        ++i;
        const Variant& v = cur.Take();
        if (!IsInteger(v)) InvalidFormat(f);
        return int(std::clamp<int64_t>(v.AsInt64(), 0, 4096));
    }
    int n = 0;
    while (i < f.size() && f[i] >= '0' && f[i] <= '9') {
        n = std::min(n * 10 + (f[i] - '0'), 4096);  // a width is never meant to be huge
        ++i;
    }
    return n;
}

}  // namespace

std::string Format(const std::string& format, const std::vector<Variant>& args) {
    FormatCursor cur{format, args};
    std::string out;
    for (size_t i = 0; i < format.size();) {
        if (format[i] != '%') {
            size_t next = format.find('%', i);
            if (next == std::string::npos) next = format.size();
            out.append(format, i, next - i);
            i = next;
            continue;
        }
        ++i;
        if (i < format.size() && format[i] == '%') {
            out += '%';
            ++i;
            continue;
        }
        // [index:] moves to that argument
        size_t digitsEnd = format.find_first_not_of("0123456789", i);
        if (digitsEnd != std::string::npos && digitsEnd > i && format[digitsEnd] == ':') {
            cur.next = size_t(std::min(std::stoul(format.substr(i, digitsEnd - i).substr(0, 9)),
                                       4096ul));
            i = digitsEnd + 1;
        }
        bool left = false;
        if (i < format.size() && format[i] == '-') {
            left = true;
            ++i;
        }
        int width = ReadCount(cur, i);
        int precision = -1;
        if (i < format.size() && format[i] == '.') {
            ++i;
            precision = ReadCount(cur, i);
        }
        if (i >= format.size()) InvalidFormat(format);
        char type = Upper(format[i++]);
        std::string text;
        switch (type) {
            case 'D':
            case 'U':
            case 'X': {
                const Variant& v = cur.Take();
                if (!IsInteger(v)) InvalidFormat(format);
                text = IntegerText(v, type, precision);
                break;
            }
            case 'S': {
                const Variant& v = cur.Take();
                if (!v.IsText()) InvalidFormat(format);
                text = v.AsString();
                if (precision >= 0 && size_t(precision) < text.size()) text.resize(size_t(precision));
                break;
            }
            case 'F':
            case 'E':
            case 'G':
            case 'N': {
                const Variant& v = cur.Take();
                if (!IsNumber(v)) InvalidFormat(format);
                text = FloatText(v.AsFloat(), type, precision);
                break;
            }
            default:
                InvalidFormat(format);
        }
        if (int(text.size()) < width) {
            std::string pad(size_t(width) - text.size(), ' ');
            text = left ? text + pad : pad + text;
        }
        out += text;
    }
    return out;
}

std::string Format(const std::string& format, std::initializer_list<Variant> args) {
    return Format(format, std::vector<Variant>(args));
}

// ---- Paths -----------------------------------------------------------------------------------

bool IsPathDelimiter(char c) { return c == '/' || c == '\\'; }

namespace {
// The last "/" or "\\" that is not the trail byte of a double-byte character.
size_t LastDelimiter(const std::string& path) {
    size_t last = std::string::npos;
    for (size_t i = 0; i < path.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(path[i]))) {
            ++i;
            continue;
        }
        if (IsPathDelimiter(path[i])) last = i;
    }
    return last;
}
}  // namespace

std::string PlatformPath(const std::string& path) {
    std::string out = path;
    for (size_t i = 0; i < out.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(out[i])))
            ++i;
        else if (out[i] == '\\')
            out[i] = PathDelim;
    }
    return out;
}

std::string ExtractFileName(const std::string& path) {
    size_t cut = LastDelimiter(path);
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string ExtractFilePath(const std::string& path) {
    size_t cut = LastDelimiter(path);
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

std::string ExtractFileExt(const std::string& path) {
    std::string name = ExtractFileName(path);
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string ChangeFileExt(const std::string& path, const std::string& extension) {
    size_t nameStart = ExtractFilePath(path).size();
    size_t dot = path.rfind('.');
    size_t cut = dot == std::string::npos || dot < nameStart ? path.size() : dot;
    return path.substr(0, cut) + extension;
}

std::string IncludeTrailingPathDelimiter(const std::string& path) {
    if (path.empty() || LastDelimiter(path) == path.size() - 1) return path;
    return path + PathDelim;
}

bool IsDriveOrShareRooted(const std::string& path) {
    bool drive = path.size() >= 2 && path[1] == ':' &&
                 ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    bool share = path.size() >= 2 && IsPathDelimiter(path[0]) && IsPathDelimiter(path[1]);
    return drive || share;
}

// ---- Files and the environment ---------------------------------------------------------------

bool FileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

bool DirectoryExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_directory(path, ec);
}

bool ForceDirectories(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    return DirectoryExists(path);
}

bool AppendLineToFile(const std::string& path, const std::string& line) {
    std::FILE* f = std::fopen(path.c_str(), "ab");
    if (!f) return false;
    bool ok = std::fwrite(line.data(), 1, line.size(), f) == line.size() &&
              std::fwrite("\r\n", 1, 2, f) == 2;
    return std::fclose(f) == 0 && ok;
}

bool DeleteFile(const std::string& path) {
    std::error_code ec;
    return FileExists(path) && std::filesystem::remove(path, ec);
}

std::string GetTempFolder() {
    const char* env = std::getenv("TMPDIR");
    std::string folder = env && *env ? env : "/tmp";
    folder = IncludeTrailingPathDelimiter(folder);
    return folder.size() <= 255 ? folder : "/tmp/";
}

std::string ApplicationExeName() {
    std::error_code ec;
    auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : path.string();
}

std::string ApplicationFolder() { return ExtractFilePath(ApplicationExeName()); }

std::string GetUserName() {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_name && *found->pw_name)
        return found->pw_name;
    for (const char* name : {"USER", "LOGNAME"})
        if (const char* env = std::getenv(name); env && *env) return env;
    return {};
}

std::string GetComputerName() {
    char buffer[256] = {};
    if (gethostname(buffer, sizeof buffer - 1) != 0) return {};
    return buffer;
}

}  // namespace krv
