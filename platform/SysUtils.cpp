#include "platform/SysUtils.h"

#include <cerrno>
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
    int y, m, d, h, n, sec, ms;
    DecodeDate(date, y, m, d);
    DecodeTime(date, h, n, sec, ms);
    char buffer[40];
    if (h == 0 && n == 0 && sec == 0)
        std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d", y, m, d);
    else
        std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d %02d:%02d:%02d", y, m, d, h, n, sec);
    return buffer;
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

}  // namespace krv
