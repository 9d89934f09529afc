#include "runtime/LibStrs.h"

#include <cmath>

#include "platform/CodePage.h"
#include "platform/Registry.h"

namespace krv {
namespace {

// ---- small readers ---------------------------------------------------------------------------

// An optional sign and decimal digits, nothing else (no blanks).
bool ParseWhole(const std::string& s, int64_t& value) {
    if (s.empty() || s.find_first_of(" \t\r\n") != std::string::npos) return false;
    return TryStrToInt64(s, value);
}

bool ParseInt(const std::string& s, int& value) {
    int64_t v = 0;
    if (!ParseWhole(s, v) || v < INT32_MIN || v > INT32_MAX) return false;
    value = int(v);
    return true;
}

// An integer held as an integer, an integral float or an integer text.
bool VariantInt(const Variant& v, int& value) {
    switch (v.Kind()) {
        case VarKind::Integer:
            if (v.AsInt64() < INT32_MIN || v.AsInt64() > INT32_MAX) return false;
            value = int(v.AsInt64());
            return true;
        case VarKind::Float: {
            double f = v.AsFloat();
            if (f != std::trunc(f) || f < INT32_MIN || f > INT32_MAX) return false;
            value = int(f);
            return true;
        }
        case VarKind::String:
        case VarKind::WideString:
            return ParseInt(v.AsString(), value);
        default:
            return false;
    }
}

// Dates of the years 1..9999 only, so that no conversion leaves the calendar.
const double kFirstDate = -693593;   // 0001-01-01
const double kLastDate = 2958465;    // 9999-12-31

bool InCalendar(double date) { return date >= kFirstDate && date < kLastDate + 1; }

bool SplitDate(double date, int& year, int& month, int& day) {
    if (!InCalendar(date)) return false;
    DecodeDate(date, year, month, day);
    return true;
}

// Zero-padded to at least `width` digits; the date arithmetic writes many of these, so it
// skips the general formatter.
void AppendPadded(std::string& out, int value, int width) {
    char digits[12];
    int n = 0;
    unsigned v = value < 0 ? 0u - unsigned(value) : unsigned(value);
    do digits[n++] = char('0' + v % 10); while ((v /= 10) != 0);
    if (value < 0) out += '-';
    for (int i = n; i < width; ++i) out += '0';
    while (n > 0) out += digits[--n];
}

std::string Padded(int value, int width) {
    std::string out;
    AppendPadded(out, value, width);
    return out;
}

std::string Ymd(int year, int month, int day) {
    std::string out;
    out.reserve(8);
    AppendPadded(out, year, 4);
    AppendPadded(out, month, 2);
    AppendPadded(out, day, 2);
    return out;
}

// A date value as "yyyymmdd"; "" outside the calendar.
std::string YmdOf(double date) {
    int y, m, d;
    return SplitDate(date, y, m, d) ? Ymd(y, m, d) : std::string();
}

// The first six characters ("yyyymm") of a date text.
std::string YearMonthOf(const std::string& ymd) { return ymd.substr(0, 6); }

}  // namespace

// ---- text ------------------------------------------------------------------------------------

std::string GetDelimitedItem(const std::string& s, const std::string& separator, int index) {
    if (s.empty() || index < 1) return {};
    if (separator.empty()) return index == 1 ? s : std::string();
    size_t start = 0;
    for (int field = 1;; ++field) {
        size_t end = s.find(separator, start);
        if (field == index) return s.substr(start, end == std::string::npos ? end : end - start);
        if (end == std::string::npos) return {};
        start = end + separator.size();
    }
}

int CountDelimitedItems(const std::string& s, const std::string& separator) {
    if (s.empty()) return 0;
    if (separator.empty()) return 1;
    int count = 1;
    // Occurrences of a longer separator may overlap: search again one byte after each match.
    for (size_t at = s.find(separator); at != std::string::npos; at = s.find(separator, at + 1))
        ++count;
    return count;
}

std::string CutFirstItem(std::string& s, const std::string& separator) {
    size_t at = separator.empty() ? std::string::npos : s.find(separator);
    std::string first;
    if (at == std::string::npos) {
        first.swap(s);
    } else {
        first = s.substr(0, at);
        s.erase(0, at + separator.size());
    }
    return first;
}

namespace {

// Every search starts again at the beginning, so a replacement may form a new occurrence with
// the text before it. Such an occurrence ends inside the replaced text or after it, so feeding
// the replacement back through the scanner finds exactly what a restart would find, in linear
// time. The bound stops a rewriting that would go on for ever.
std::string ReplaceRestarting(const std::string& s, const std::string& oldText,
                              const std::string& newText) {
    const size_t limit = std::max<size_t>(1000000, 64 * s.size());
    std::string out;
    out.reserve(s.size());
    std::string pending(s.rbegin(), s.rend());  // input still to scan, next byte last
    size_t replaced = 0;
    while (!pending.empty()) {
        out += pending.back();
        pending.pop_back();
        if (out.size() < oldText.size() ||
            out.compare(out.size() - oldText.size(), oldText.size(), oldText) != 0)
            continue;
        out.resize(out.size() - oldText.size());
        pending.append(newText.rbegin(), newText.rend());
        if (++replaced == limit) break;
    }
    out.append(pending.rbegin(), pending.rend());
    return out;
}

std::string ReplaceOnePass(const std::string& s, const std::string& oldText,
                           const std::string& newText) {
    std::string out;
    size_t start = 0;
    for (size_t at = s.find(oldText); at != std::string::npos; at = s.find(oldText, start)) {
        out.append(s, start, at - start);
        out += newText;
        start = at + oldText.size();
    }
    out.append(s, start, std::string::npos);
    return out;
}

}  // namespace

std::string ReplaceAllOf(const std::string& s, const std::string& oldText,
                         const std::string& newText, bool trimResult) {
    std::string result = s;
    if (!oldText.empty() && !SameText(oldText, newText)) {
        // A New that holds Old would be found again for ever: replace once from left to right.
        result = newText.find(oldText) != std::string::npos
                     ? ReplaceOnePass(s, oldText, newText)
                     : ReplaceRestarting(s, oldText, newText);
    }
    return trimResult ? Trim(result) : result;
}

double StrToFloatDefault(const std::string& s, double defaultValue) {
    double value = 0;
    return TryStrToFloat(s, value) ? value : defaultValue;
}

bool IsLoopbackAddress(const std::string& s) { return s == "127.0.0.1"; }

std::string GetLongTempPath() { return GetTempFolder(); }

// ---- date styles -----------------------------------------------------------------------------

namespace {

// The year as the style counts it: the Republic-of-China calendar starts with 1912 as year 1.
int StyleYear(int style, int year) { return style >= 4 ? year - 1911 : year; }

}  // namespace

std::string FormatDateStyle(int style, const std::string& separator, double date) {
    int y, m, d;
    if (date == 0 || style < 1 || style > 5 || !SplitDate(date, y, m, d)) return {};
    std::string sep = separator.substr(0, 1);
    y = StyleYear(style, y);
    switch (style) {
        case 1: return Format("%.4d%s%.2d%s%.2d", {y, sep, m, sep, d});
        case 2: return Format("%.2d%s%.2d%s%.4d", {m, sep, d, sep, y});
        case 3: return Format("%.2d%s%.2d%s%.4d", {d, sep, m, sep, y});
        case 4: return Format("%.2d%s%.2d%s%.2d", {y, sep, m, sep, d});
        default: return Format("%.3d%s%.2d%s%.2d", {y, sep, m, sep, d});
    }
}

std::string FormatYearMonthStyle(int style, const std::string& separator, double date) {
    int y, m, d;
    if (date == 0 || style < 1 || style > 5 || !SplitDate(date, y, m, d)) return {};
    std::string sep = separator.substr(0, 1);
    y = StyleYear(style, y);
    switch (style) {
        case 1: return Format("%.4d%s%.2d", {y, sep, m});
        case 2:
        case 3: return Format("%.2d%s%.4d", {m, sep, y});
        case 4: return Format("%.2d%s%.2d", {y, sep, m});
        default: return Format("%.3d%s%.2d", {y, sep, m});
    }
}

double ParseDateStyle(const std::string& s, int style, const std::string& separator) {
    if (Trim(s).empty() || style < 1 || style > 5) return 0;
    std::string rest = s;
    int parts[3];
    for (int& part : parts) {
        int64_t v = 0;
        // Each part is a small positive number (a signed 16-bit value in the stored form).
        if (!ParseWhole(Trim(CutFirstItem(rest, separator)), v) || v < 1 || v > 32767) return 0;
        part = int(v);
    }
    int year, month, day;
    switch (style) {
        case 1: year = parts[0], month = parts[1], day = parts[2]; break;
        case 2: month = parts[0], day = parts[1], year = parts[2]; break;
        case 3: day = parts[0], month = parts[1], year = parts[2]; break;
        default: year = parts[0] + 1911, month = parts[1], day = parts[2];
    }
    double first = 0;
    if (!TryEncodeDate(year, month, 1, first)) return 0;
    // The day is not held to the month's length: 31 April is 1 May.
    double date = first + (day - 1);
    return InCalendar(date) ? date : 0;
}

double YmdToDate(const std::string& s) {
    if (s.size() != 8) return 0;
    int parts[3];
    const std::string pieces[3] = {s.substr(0, 4), s.substr(4, 2), s.substr(6, 2)};
    for (int i = 0; i < 3; ++i)
        if (!ParseInt(pieces[i], parts[i])) parts[i] = 0;
    double date = 0;
    if (!TryEncodeDate(parts[0], parts[1], parts[2], date)) return 0;
    return date;
}

bool IsValidYmd(const std::string& s) {
    if (s.empty()) return true;
    if (s.size() != 8 || s.find_first_not_of("0123456789") != std::string::npos) return false;
    return YmdToDate(s) != 0 && s >= "17530101" && s <= "99991231";
}

int DaysInMonthOf(int year, int month) { return DaysInAMonth(year, month); }

// ---- date arithmetic -------------------------------------------------------------------------

namespace {

// The day pulled back until the date is valid; false when even day 1 is none (a year outside
// 1..9999) or the day is below 1.
bool ClampDay(int year, int month, int& day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    day = std::min(day, DaysInAMonth(year, month));
    return true;
}

std::string AddToDate(double date, const std::string& unit, int amount) {
    int y, m, d;
    if (!SplitDate(date, y, m, d)) return {};
    std::string u = UpperCase(unit);
    if (u == "D") return YmdOf(std::floor(date) + amount);
    if (u == "M") {
        int64_t total = int64_t(y) * 12 + m + amount;
        int64_t month = total % 12, year = total / 12;
        if (month == 0) month = 12, --year;
        if (year < 1 || year > 9999) return {};
        y = int(year), m = int(month);
    } else if (u == "Y") {
        int64_t year = int64_t(y) + amount;
        if (year < 1 || year > 9999) return {};
        y = int(year);
    } else {
        return {};
    }
    if (!ClampDay(y, m, d)) return {};
    return Ymd(y, m, d);
}

}  // namespace

std::string AddToYmd(const Variant& value, const std::string& unit, int amount) {
    double date = 0;
    switch (value.Kind()) {
        case VarKind::String:
        case VarKind::WideString: date = YmdToDate(value.AsString()); break;
        // A day count reaches here as a date or, from C++ callers, as a plain double.
        case VarKind::Date:
        case VarKind::Float: date = value.AsFloat(); break;
        default: return {};
    }
    if (date == 0) return {};
    return AddToDate(date, unit, amount);
}

std::string WeekEdgeDate(const std::string& baseYmd, int weeks, const std::string& edge) {
    double base = YmdToDate(baseYmd);
    if (base == 0) return {};
    double moved = base + 7.0 * weeks;
    if (!InCalendar(moved)) return {};
    int weekday = DayOfWeek(moved);
    return YmdOf(moved + (edge == "1" ? 1 - weekday : 7 - weekday));
}

namespace {

std::string ShiftMonths(const std::string& ymd, int months) { return AddToYmd(ymd, "M", months); }

std::string LastDayOf(const std::string& ymd) {
    int year = 0, month = 0;
    ParseInt(ymd.substr(0, 4), year);
    ParseInt(ymd.substr(4, 2), month);
    return YearMonthOf(ymd) + Padded(DaysInMonthOf(year, month), 2);
}

// Every N weeks on weekday w (0 = Sunday).
std::string WeeklyStart(const std::string& startYmd, int weeks, int weekday) {
    double start = YmdToDate(startYmd);
    if (start == 0) return {};
    int b = DayOfWeek(start), t = weekday + 1;
    double moved = start + 7.0 * (t < b ? weeks : weeks - 1);
    if (!InCalendar(moved)) return {};
    return YmdOf(moved + (t - DayOfWeek(moved)));
}

// Every N months on day d; a day the month lacks gives its last day.
std::string FixedDayStart(const std::string& startYmd, int months, int day) {
    int startDay = 0;
    if (YmdToDate(startYmd) == 0 || !ParseInt(startYmd.substr(6, 2), startDay)) return {};
    std::string shifted = ShiftMonths(startYmd, day >= startDay ? months - 1 : months);
    if (shifted.empty()) return {};
    std::string candidate = YearMonthOf(shifted) + Padded(day, 2);
    return IsValidYmd(candidate) ? candidate : LastDayOf(shifted);
}

// The ordinal-th weekday (0 first ... 3 fourth, 4 last) of the month `offset` months after the
// start's month.
std::string OrdinalWeekdayOfMonth(const std::string& startYmd, int offset, int ordinal,
                                  int weekday) {
    std::string shifted = ShiftMonths(startYmd, offset);
    if (shifted.empty()) return {};
    int t = weekday + 1;
    if (ordinal == 4) {
        double last = YmdToDate(LastDayOf(shifted));
        int e = DayOfWeek(last) - t;
        return YmdOf(last - (e >= 0 ? e : e + 7));
    }
    double first = YmdToDate(YearMonthOf(shifted) + "01");
    int c = t - DayOfWeek(first);
    return YmdOf(first + (c >= 0 ? c + 7 * ordinal : c + 7 * (ordinal + 1)));
}

std::string OrdinalStart(const std::string& startYmd, int months, int ordinal, int weekday) {
    if (ordinal < 0 || ordinal > 4 || YmdToDate(startYmd) == 0) return {};
    // A date before the start moves one month on; that month's date is never before the start
    // when N >= 1, and for other N the search ends there.
    for (int offset : {months - 1, months}) {
        std::string result = OrdinalWeekdayOfMonth(startYmd, offset, ordinal, weekday);
        if (result.empty()) return {};
        if (result >= startYmd) return result;
    }
    return {};
}

// Element i of an array, or nullptr when it has none.
const Variant* Element(const Variant& array, int i) {
    if (!array.IsArray() || array.DimCount() != 1 || i < array.LowBound() ||
        i > array.HighBound())
        return nullptr;
    return &array[i];
}

bool IntElement(const Variant& array, int i, int& value) {
    const Variant* e = Element(array, i);
    return e && VariantInt(*e, value);
}

}  // namespace

std::string GetCycleStartDate(const std::string& startYmd, const Variant& cycle) {
    int kind = 0;
    if (!IntElement(cycle, 0, kind)) return {};
    const Variant* details = Element(cycle, 1);
    int a = 0, b = 0, c = 0, d = 0;
    switch (kind) {
        case 0:
            return AddToYmd(startYmd, "D", 0);
        case 1:
            if (!details || !IntElement(*details, 0, a) || !IntElement(*details, 1, b)) return {};
            return WeeklyStart(startYmd, a, b);
        case 2:
            if (!details || !IntElement(*details, 0, a) || !IntElement(*details, 1, b) ||
                !IntElement(*details, 2, c))
                return {};
            if (a == 0) return FixedDayStart(startYmd, b, c);
            if (!IntElement(*details, 3, d)) return {};
            return OrdinalStart(startYmd, b, c, d);
        default:
            return {};
    }
}

std::string ShiftDateByRule(const std::string& baseDate, const std::string& n,
                            const std::string& unit, const std::string& d,
                            const std::string& mode) {
    int amount = 0;
    if (!ParseInt(n, amount)) return {};
    if (baseDate.size() < 7) return YearMonthOf(ShiftMonths(baseDate + "01", amount));
    int days = 0, modeValue = -1;
    ParseInt(mode, modeValue);
    bool needsDays = modeValue == 0;
    if (needsDays && !ParseInt(d, days)) return {};
    if (unit != "0") {
        std::string shifted = ShiftMonths(baseDate, amount);
        if (shifted.empty()) return {};
        switch (modeValue) {
            case 0: return AddToYmd(shifted, "D", days);
            case 1: return YearMonthOf(shifted) + "01";
            case 2: return LastDayOf(shifted);
            default: return shifted;
        }
    }
    if (modeValue != 0) return WeekEdgeDate(baseDate, amount, mode);
    return AddToYmd(baseDate, "D", 7 * amount + days);
}

namespace {

struct DynamicRule {
    bool moves;
    std::string n, unit, mode, d;
};

// The #3-separated fields of a record, read 1-based; a missing field reads "".
class RecordFields {
public:
    explicit RecordFields(const std::string& record) {
        size_t start = 0;
        for (size_t at; (at = record.find(kFieldSep, start)) != std::string::npos; start = at + 1)
            fields_.push_back(record.substr(start, at - start));
        fields_.push_back(record.substr(start));
    }
    const std::string& operator()(int i) const {
        static const std::string none;
        return i >= 1 && size_t(i) <= fields_.size() ? fields_[size_t(i) - 1] : none;
    }

private:
    std::vector<std::string> fields_;
};

DynamicRule RuleAt(const RecordFields& f, int field) {
    return {f(field) == "Y", f(field + 1), f(field + 2), f(field + 3), f(field + 4)};
}

// The new value of one moving date; throws when the rule's numbers are damaged.
std::string ApplyRule(const DynamicRule& rule, const std::string& base) {
    int check = 0;
    if (!ParseInt(rule.n, check) || !ParseInt(rule.d, check) || !ParseInt(rule.mode, check))
        throw EConvertError("damaged dynamic date");
    if (rule.n == "0" && rule.mode == "0" && rule.d == "0") return base;
    return ShiftDateByRule(base, rule.n, rule.unit, rule.d, rule.mode);
}

Variant& Slot(Variant& array, const std::string& positionText) {
    int p = 0;
    if (!ParseInt(positionText, p)) throw EConvertError("damaged dynamic date position");
    return array[p];  // checked: a position outside the array raises
}

}  // namespace

Variant ResolveDynamicDates(const Variant& args, const std::string& runYmd) {
    try {
        const Variant* list = Element(args, 3);
        const Variant* values = Element(args, 1);
        int count = 0;
        if (!list || !values || !IntElement(*list, 0, count)) return Variant("");
        Variant result = *values;
        const std::string month = YearMonthOf(runYmd);
        for (int i = 1; i <= count; ++i) {
            const Variant* entry = Element(*list, i);
            if (!entry) return Variant("");
            const RecordFields field(entry->AsString());
            if (field(1) != "0") {
                DynamicRule rule = RuleAt(field, 3);
                if (!rule.moves) continue;
                Slot(result, field(9)) = ApplyRule(rule, field(8) == "D" ? runYmd : month);
                continue;
            }
            const std::string base = field(13) == "D" ? runYmd : month;
            Variant& range = Slot(result, field(14));
            DynamicRule start = RuleAt(field, 3), end = RuleAt(field, 8);
            if (start.moves) range[1] = ApplyRule(start, base);
            if (end.moves) range[2] = ApplyRule(end, base);
        }
        return result;
    } catch (const std::exception&) {
        return Variant("");
    }
}

// ---- variants and code pages -----------------------------------------------------------------

std::string WideToAnsiCP(const std::u16string& w, int codePage) {
    std::string out = WideToAnsi(w, codePage);
    return out.empty() && !w.empty() ? WideToAnsi(w, 0) : out;
}

std::u16string AnsiToWideCP(const std::string& s, int codePage) {
    std::u16string out = AnsiToWide(s, codePage);
    return out.empty() && !s.empty() ? AnsiToWide(s, 0) : out;
}

namespace {

// Walks an array as the conversions do: a one-dimensional array enters its nested arrays, a
// two-dimensional one converts its own cells only, other arrays stay as they are.
template <class Convert>
void WalkTexts(Variant& array, Convert& convert) {
    int dims = array.DimCount();
    if (dims > 2) return;
    for (Variant& element : array.Elements()) {
        if (element.IsArray()) {
            if (dims == 1) WalkTexts(element, convert);
        } else {
            convert(element);
        }
    }
}

template <class Convert>
Variant ConvertTexts(const Variant& v, Convert convert, const char* errorLine) {
    Variant result = v;
    if (VarIsBlank(v)) return result;
    try {
        if (result.IsArray())
            WalkTexts(result, convert);
        else if (result.IsText())
            convert(result, true);
        return result;
    } catch (const std::exception& e) {
        WriteAlertLog("libstrs", std::string(errorLine) + e.what(), "D");
        return v;
    }
}

}  // namespace

Variant VarToAnsiCP(const Variant& v, int codePage) {
    // In arrays only wide texts change; a scalar text of either width is narrowed.
    auto convert = [codePage](Variant& e, bool scalar = false) {
        if (e.IsWideText() || (scalar && e.IsNarrowText()))
            e = WideToAnsiCP(e.AsWideString(), codePage);
    };
    return ConvertTexts(v, convert, "LINE[2735] ");
}

Variant VarToWideCP(const Variant& v, int codePage) {
    auto convert = [codePage](Variant& e, bool = false) {
        if (e.IsNarrowText())
            e = AnsiToWideCP(e.NarrowRef(), codePage);
        else if (e.IsWideText())
            e = AnsiToWideCP(WideToAnsi(e.WideRef()), codePage);
    };
    return ConvertTexts(v, convert, "LINE[115] ");
}

std::u16string PackVarArray(const std::u16string& prefix, const Variant& arr) {
    const char16_t sep = char16_t(kFieldSep);
    auto text = [](const Variant& v) {
        if (v.IsArray()) return std::u16string();
        try {
            return VarToWideStr(v);
        } catch (const std::exception&) {
            return std::u16string();
        }
    };
    const Variant* head = Element(arr, 0);
    std::u16string out = prefix + sep + (head ? text(*head) : u"") + sep;
    int n = 0;
    if (!head || !VariantInt(*head, n)) return out;
    for (int i = 1; i <= n && i <= arr.HighBound(); ++i) out += text(arr[i]) + sep;
    return out;
}

// ---- logging and environment -----------------------------------------------------------------

std::string GetCorvantisHomePath() {
    try {
        TRegistry registry(RegRoot::LocalMachine);
        if (!registry.OpenKeyReadOnly("Software\\KRV\\Corvantis")) return {};
        std::string path = registry.ReadString("ClientPath");
        return path.empty() ? registry.ReadString("ServerPath") : path;
    } catch (const std::exception&) {
        return {};  // a value that is no text counts as missing
    }
}

bool WriteAlertLog(const std::string& name, const std::string& message,
                   const std::string& period) {
    try {
        std::string home = GetCorvantisHomePath();
        if (home.empty()) home = ApplicationFolder();
        std::string folder = IncludeTrailingPathDelimiter(PlatformPath(home)) + "Log";
        if (!ForceDirectories(folder)) return false;
        const char* stamp = period == "M" ? "YYYYMM" : period == "Y" ? "YYYY" : "YYYYMMDD";
        double now = Now();
        std::string file = folder + PathDelim + "Alert_" + name + "_" + FormatDateTime(stamp, now);
        if (name.find('.') == std::string::npos) file += ".log";
        return AppendLineToFile(file, "[" + FormatDateTime("YYYY/MM/DD hh:nn:ss:zzz", now) +
                                          "] " + message);
    } catch (const std::exception&) {
        return false;
    }
}

// ---- dialogs ---------------------------------------------------------------------------------

std::string ChineseButtonCaption(const std::string& buttonName) {
    static const std::pair<const char*, const char*> captions[] = {
        {"Yes", "是(&Y)"},       {"No", "否(&N)"},        {"OK", "确定"},
        {"Cancel", "取消"},      {"Abort", "中断(&A)"},   {"Retry", "重试(&R)"},
        {"Ignore", "忽略(&I)"},  {"All", "全部(&A)"},     {"NoToAll", "全否(&o)"},
        {"YesToAll", "全是(&A)"}, {"Help", "帮助(&H)"}};
    for (const auto& [name, caption] : captions)
        if (buttonName == name) return caption;
    return buttonName;
}

}  // namespace krv
