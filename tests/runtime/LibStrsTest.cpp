#include "runtime/LibStrs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <unordered_map>

#include <unistd.h>

#include "platform/Registry.h"

namespace krv {
namespace {

// ---- an independent calendar: one entry per day, walked one step at a time -----------------

struct Day {
    int y, m, d;
    int weekday;  // 1 = Sunday ... 7 = Saturday
    std::string ymd;
};

class Calendar {
public:
    // 1 January 1990 was a Monday.
    Calendar() {
        int y = 1990, m = 1, d = 1, weekday = 2;
        while (y < 2041) {
            char buf[32];
            std::snprintf(buf, sizeof buf, "%04d%02d%02d", y, m, d);
            index_[buf] = days_.size();
            days_.push_back({y, m, d, weekday, buf});
            weekday = weekday % 7 + 1;
            if (++d > MonthLength(y, m)) {
                d = 1;
                if (++m > 12) m = 1, ++y;
            }
        }
    }
    static int MonthLength(int y, int m) {
        static const int len[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
        return m == 2 && leap ? 29 : len[m - 1];
    }
    size_t Index(const std::string& ymd) const { return index_.at(ymd); }
    const Day& At(size_t i) const { return days_.at(i); }
    size_t Size() const { return days_.size(); }

    // The walk: the first day at or after `from` that satisfies `runs`.
    template <class Pred>
    size_t FirstFrom(size_t from, Pred runs) const {
        size_t i = from;
        while (!runs(days_.at(i))) ++i;
        return i;
    }
    // Months moved one at a time, the day pulled back to the month's end.
    std::string AddMonths(const Day& day, int months) const {
        int y = day.y, m = day.m;
        for (; months > 0; --months)
            if (++m > 12) m = 1, ++y;
        for (; months < 0; ++months)
            if (--m < 1) m = 12, --y;
        char buf[32];
        std::snprintf(buf, sizeof buf, "%04d%02d%02d", y, m, std::min(day.d, MonthLength(y, m)));
        return buf;
    }
    // Which occurrence of its weekday a day is in its month (0 first ...), and whether the last.
    static int Ordinal(const Day& day) { return (day.d - 1) / 7; }
    static bool IsLast(const Day& day) { return day.d + 7 > MonthLength(day.y, day.m); }

private:
    std::vector<Day> days_;
    std::unordered_map<std::string, size_t> index_;
};

const Calendar& Cal() {
    static const Calendar calendar;
    return calendar;
}

// Start dates over several years, every day.
std::vector<size_t> StartDays() {
    std::vector<size_t> starts;
    for (size_t i = Cal().Index("20190101"); i <= Cal().Index("20261231"); ++i) starts.push_back(i);
    return starts;
}

Variant WeeklyCycle(int n, int weekday) { return VarArrayOf({1, VarArrayOf({n, weekday})}); }
Variant FixedDayCycle(int n, int day) {
    return VarArrayOf({2, VarArrayOf({0, std::to_string(n), day})});
}
Variant OrdinalCycle(int n, int ordinal, int weekday) {
    return VarArrayOf({2, VarArrayOf({1, n, ordinal, weekday})});
}

bool RunsOnOrdinal(const Day& day, int ordinal, int weekday) {
    if (day.weekday != weekday + 1) return false;
    return ordinal == 4 ? Calendar::IsLast(day) : Calendar::Ordinal(day) == ordinal;
}

// ---- text ------------------------------------------------------------------------------------

TEST(LibStrsText, DelimitedItemsAndCounts) {
    struct Case {
        std::string s, sep;
        int index;
        std::string item;
    } cases[] = {
        {"a;b;c", ";", 2, "b"},  {"a;b;c", ";", 3, "c"}, {"a;b;c", ";", 4, ""},
        {"a;;c", ";", 2, ""},    {"", ";", 1, ""},       {"a;b;c", ";", 0, ""},
        {"a;b;", ";", 3, ""},    {"a;b;", ";", 2, "b"},  {"x||y||z", "||", 3, "z"},
        {"abc", "", 1, "abc"},   {"abc", "", 2, ""},     {"甲\x03乙", "\x03", 2, "乙"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetDelimitedItem(c.s, c.sep, c.index), c.item) << c.s << " " << c.index;

    struct Count {
        std::string s, sep;
        int n;
    } counts[] = {{"", ";", 0}, {"abc", ";", 1}, {"a;b;c", ";", 3}, {"a;;", ";", 3},
                  {"aaa", "aa", 3}, {"abc", "", 1}};
    for (const auto& c : counts) EXPECT_EQ(CountDelimitedItems(c.s, c.sep), c.n) << c.s;
}

TEST(LibStrsText, CutFirstItem) {
    std::string s = "12/05/2024";
    EXPECT_EQ(CutFirstItem(s, "/"), "12");
    EXPECT_EQ(s, "05/2024");
    EXPECT_EQ(CutFirstItem(s, "/"), "05");
    EXPECT_EQ(CutFirstItem(s, "/"), "2024");
    EXPECT_EQ(s, "");
    s = "a--b";
    EXPECT_EQ(CutFirstItem(s, "--"), "a");
    EXPECT_EQ(s, "b");
    s = "whole";
    EXPECT_EQ(CutFirstItem(s, ""), "whole");
    EXPECT_EQ(s, "");
}

TEST(LibStrsText, ReplaceAllOf) {
    struct Case {
        std::string s, oldText, newText;
        bool trim;
        std::string result;
    } cases[] = {
        {"abc", "b", "B", false, "abc"},             // differs only in case: unchanged
        {"a.b.c", ".", "/", false, "a/b/c"},
        {"aab", "ab", "b", false, "b"},              // each search restarts at the beginning
        {"xaaay", "aa", "a", false, "xay"},
        {"abab", "ab", "abab", false, "abababab"},   // New holds Old: one pass, and it ends
        {"aaa", "a", "aa", false, "aaaaaa"},
        {"  x y  ", " ", "", false, "xy"},
        {"\t a-b \r\n", "-", "+", true, "a+b"},
        {"abc", "", "x", false, "abc"},
        {"折旧折旧", "折旧", "摊提", false, "摊提摊提"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReplaceAllOf(c.s, c.oldText, c.newText, c.trim), c.result) << c.s;
}

TEST(LibStrsText, NumbersAddressesAndTemp) {
    struct Case {
        std::string s;
        double value;
    } cases[] = {{"1.5", 1.5}, {" -2 ", -2}, {"1e3", 1000}, {"1,5", -1}, {"", -1},
                 {"abc", -1},  {"1.2.3", -1}, {"0x10", -1}, {"inf", -1}, {".5", 0.5}};
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(StrToFloatDefault(c.s, -1), c.value) << c.s;

    EXPECT_TRUE(IsLoopbackAddress("127.0.0.1"));
    EXPECT_FALSE(IsLoopbackAddress("localhost"));
    EXPECT_FALSE(IsLoopbackAddress("127.0.0.1 "));
    std::string temp = GetLongTempPath();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.back(), '/');
}

// ---- date styles -----------------------------------------------------------------------------

TEST(LibStrsDates, Styles) {
    struct Case {
        int style;
        std::string sep;
        int y, m, d;
        std::string date, yearMonth;
    } cases[] = {
        {1, "/", 2024, 3, 5, "2024/03/05", "2024/03"},
        {2, "-", 2024, 3, 5, "03-05-2024", "03-2024"},
        {3, ".", 2024, 3, 5, "05.03.2024", "03.2024"},
        {4, "/", 2024, 3, 5, "113/03/05", "113/03"},  // at least two digits, never cut
        {5, "/", 2024, 3, 5, "113/03/05", "113/03"},
        {4, "/", 2001, 3, 1, "90/03/01", "90/03"},
        {5, "/", 2001, 3, 1, "090/03/01", "090/03"},
        {1, "", 2024, 3, 5, "20240305", "202403"},
        {1, "-/", 2024, 3, 5, "2024-03-05", "2024-03"},  // only the first character
        {6, "/", 2024, 3, 5, "", ""},
    };
    for (const auto& c : cases) {
        double date = EncodeDate(c.y, c.m, c.d);
        EXPECT_EQ(FormatDateStyle(c.style, c.sep, date), c.date) << c.style;
        EXPECT_EQ(FormatYearMonthStyle(c.style, c.sep, date), c.yearMonth) << c.style;
        if (!c.date.empty() && c.sep.size() == 1) {
            EXPECT_EQ(ParseDateStyle(c.date, c.style, c.sep), date) << c.date;
        }
    }
    EXPECT_EQ(FormatDateStyle(1, "/", 0), "");
    EXPECT_EQ(FormatDateStyle(1, "/", 1e300), "");
}

TEST(LibStrsDates, ParseDateStyle) {
    struct Case {
        std::string s;
        int style;
        std::string sep;
        double date;
    } cases[] = {
        {"2024/04/31", 1, "/", EncodeDate(2024, 5, 1)},  // the day rolls into the next month
        {" 2024 / 4 / 5 ", 1, "/", EncodeDate(2024, 4, 5)},
        {"113/2/29", 5, "/", EncodeDate(2024, 2, 29)},
        {"02--29--2024", 2, "--", EncodeDate(2024, 2, 29)},
        {"", 1, "/", 0},
        {"   ", 1, "/", 0},
        {"2024/13/01", 1, "/", 0},
        {"2024/00/01", 1, "/", 0},
        {"2024/xx/01", 1, "/", 0},
        {"2024/04", 1, "/", 0},
        {"2024/04/-1", 1, "/", 0},
        {"2024/04/99999", 1, "/", 0},  // outside a 16-bit part
        {"2024/04/01", 0, "/", 0},
        {"9999/12/40", 1, "/", 0},     // past the calendar
    };
    for (const auto& c : cases) EXPECT_EQ(ParseDateStyle(c.s, c.style, c.sep), c.date) << c.s;
}

TEST(LibStrsDates, YmdTextsAndMonthLengths) {
    EXPECT_EQ(YmdToDate("20240229"), EncodeDate(2024, 2, 29));
    for (std::string bad : {"20230229", "2024022", "202402290", "2024ab01", "00000101", ""})
        EXPECT_EQ(YmdToDate(bad), 0) << bad;

    struct Case {
        std::string s;
        bool valid;
    } cases[] = {{"", true},          {"20240229", true},  {"17530101", true},
                 {"99991231", true},  {"17521231", false}, {"20240230", false},
                 {"2024023", false},  {"202402011", false}, {"2024 2 1", false},
                 {"abcdefgh", false}};
    for (const auto& c : cases) EXPECT_EQ(IsValidYmd(c.s), c.valid) << c.s;

    struct Month {
        int y, m, days;
    } months[] = {{2024, 2, 29}, {2023, 2, 28}, {1900, 2, 28}, {2000, 2, 29},
                  {2024, 4, 30}, {2024, 12, 31}, {2024, 0, 0},  {2024, 13, 0}};
    for (const auto& c : months) EXPECT_EQ(DaysInMonthOf(c.y, c.m), c.days);
}

// ---- date arithmetic against the calendar walk -----------------------------------------------

TEST(LibStrsArithmetic, AddToYmdCases) {
    struct Case {
        Variant value;
        std::string unit;
        int amount;
        std::string result;
    } cases[] = {
        {"20240131", "M", 1, "20240229"},  {"20240229", "Y", 1, "20250228"},
        {"20240315", "M", -3, "20231215"}, {"20240315", "m", 12, "20250315"},
        {"2024031", "D", 1, ""},           {"20241231", "D", 1, "20250101"},
        {"20240115", "M", -1, "20231215"}, {"20241215", "M", 1, "20250115"},
        {"20240101", "X", 1, ""},          {Variant::FromDate(EncodeDate(2024, 1, 31)), "D", 1, "20240201"},
        {Variant(), "D", 1, ""},           {Variant(5), "D", 1, ""},
        {"99991231", "D", 1, ""},          {"00010101", "M", -1, ""},
        {"20240101", "Y", 100000, ""},     {u"20240101", "D", 0, "20240101"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AddToYmd(c.value, c.unit, c.amount), c.result) << VarToStr(c.value) << c.unit;
}

TEST(LibStrsArithmetic, AddToYmdAgreesWithWalks) {
    const Calendar& cal = Cal();
    std::mt19937 rng(7);
    for (size_t i = cal.Index("20190101"); i <= cal.Index("20261231"); i += 3) {
        const Day& day = cal.At(i);
        int days = int(rng() % 801) - 400;
        EXPECT_EQ(AddToYmd(day.ymd, "D", days), cal.At(i + days).ymd) << day.ymd << " " << days;
        int months = int(rng() % 61) - 30;
        EXPECT_EQ(AddToYmd(day.ymd, "M", months), cal.AddMonths(day, months)) << day.ymd;
        int years = int(rng() % 21) - 10;
        EXPECT_EQ(AddToYmd(day.ymd, "Y", years), cal.AddMonths(day, 12 * years)) << day.ymd;
    }
}

TEST(LibStrsArithmetic, CycleExamples) {
    EXPECT_EQ(GetCycleStartDate("20240401", WeeklyCycle(1, 1)), "20240401");
    EXPECT_EQ(GetCycleStartDate("20240402", WeeklyCycle(1, 1)), "20240408");
    EXPECT_EQ(GetCycleStartDate("20240415", FixedDayCycle(1, 31)), "20240430");
    EXPECT_EQ(GetCycleStartDate("20240427", OrdinalCycle(1, 4, 5)), "20240531");
    EXPECT_EQ(GetCycleStartDate("20240427", VarArrayOf({0, "3"})), "20240427");
    // Hourly and unknown kinds, and damaged definitions, give nothing.
    EXPECT_EQ(GetCycleStartDate("20240427", VarArrayOf({3, 1.5})), "");
    EXPECT_EQ(GetCycleStartDate("20240427", VarArrayOf({9, 1})), "");
    EXPECT_EQ(GetCycleStartDate("20240427", VarArrayOf({"x", 1})), "");
    EXPECT_EQ(GetCycleStartDate("20240427", VarArrayOf({1, VarArrayOf({"one", 1})})), "");
    EXPECT_EQ(GetCycleStartDate("20240427", VarArrayOf({2, VarArrayOf({1, 1, 2})})), "");
    EXPECT_EQ(GetCycleStartDate("20240427", Variant(2)), "");
    EXPECT_EQ(GetCycleStartDate("bad", WeeklyCycle(1, 1)), "");
    // Values the options form never sends still end.
    EXPECT_EQ(GetCycleStartDate("20240427", OrdinalCycle(0, 0, 1)), "");
    EXPECT_EQ(GetCycleStartDate("20240427", OrdinalCycle(1, 7, 1)), "");
    EXPECT_EQ(GetCycleStartDate("20240427", FixedDayCycle(1, 0)), "20240531");
}

// Every N = 1 cycle is exactly "the first run day on or after the start".
TEST(LibStrsArithmetic, CycleStartMatchesDayWalkForOnePeriod) {
    const Calendar& cal = Cal();
    for (size_t start : StartDays()) {
        const std::string& ymd = cal.At(start).ymd;
        for (int w = 0; w < 7; ++w) {
            size_t expect = cal.FirstFrom(start, [&](const Day& d) { return d.weekday == w + 1; });
            ASSERT_EQ(GetCycleStartDate(ymd, WeeklyCycle(1, w)), cal.At(expect).ymd)
                << ymd << " weekday " << w;
        }
        for (int dd = 1; dd <= 31; ++dd) {
            size_t expect = cal.FirstFrom(start, [&](const Day& d) {
                return d.d == std::min(dd, Calendar::MonthLength(d.y, d.m));
            });
            ASSERT_EQ(GetCycleStartDate(ymd, FixedDayCycle(1, dd)), cal.At(expect).ymd)
                << ymd << " day " << dd;
        }
        for (int o = 0; o <= 4; ++o)
            for (int w = 0; w < 7; ++w) {
                size_t expect =
                    cal.FirstFrom(start, [&](const Day& d) { return RunsOnOrdinal(d, o, w); });
                ASSERT_EQ(GetCycleStartDate(ymd, OrdinalCycle(1, o, w)), cal.At(expect).ymd)
                    << ymd << " ordinal " << o << " weekday " << w;
            }
    }
}

// For longer periods: a weekly cycle runs N - 1 weeks after the first run day; a fixed day
// skips N - 1 more months after the first run day's month; the k-th weekday is taken in the
// start's month N - 1 months on, or one month later when that falls before the start.
TEST(LibStrsArithmetic, CycleStartFollowsTheRulesForLongerPeriods) {
    const Calendar& cal = Cal();
    const std::vector<size_t> starts = StartDays();
    for (size_t k = 0; k < starts.size(); k += 5) {
        size_t start = starts[k];
        const Day& s = cal.At(start);
        for (int n : {2, 3, 5}) {
            for (int w = 0; w < 7; ++w) {
                size_t first = cal.FirstFrom(start, [&](const Day& d) { return d.weekday == w + 1; });
                ASSERT_EQ(GetCycleStartDate(s.ymd, WeeklyCycle(n, w)), cal.At(first + 7 * (n - 1)).ymd)
                    << s.ymd << " n " << n << " weekday " << w;
            }
            for (int dd = 1; dd <= 31; ++dd) {
                size_t first = cal.FirstFrom(start, [&](const Day& d) {
                    return d.d == std::min(dd, Calendar::MonthLength(d.y, d.m));
                });
                Day firstMonth = cal.At(first);
                firstMonth.d = 1;
                const Day& target = cal.At(cal.Index(cal.AddMonths(firstMonth, n - 1)));
                std::string expect = target.ymd.substr(0, 6) + Format("%.2d", {std::min(
                                         dd, Calendar::MonthLength(target.y, target.m))});
                ASSERT_EQ(GetCycleStartDate(s.ymd, FixedDayCycle(n, dd)), expect)
                    << s.ymd << " n " << n << " day " << dd;
            }
            for (int o = 0; o <= 4; ++o)
                for (int w = 0; w < 7; ++w) {
                    auto inMonth = [&](int offset) {
                        Day monthStart = s;
                        monthStart.d = 1;
                        size_t i = cal.Index(cal.AddMonths(monthStart, offset));
                        return cal.At(cal.FirstFrom(i, [&](const Day& d) { return RunsOnOrdinal(d, o, w); })).ymd;
                    };
                    std::string expect = inMonth(n - 1);
                    if (expect < s.ymd) expect = inMonth(n);
                    ASSERT_EQ(GetCycleStartDate(s.ymd, OrdinalCycle(n, o, w)), expect)
                        << s.ymd << " n " << n << " ordinal " << o << " weekday " << w;
                }
        }
    }
}

TEST(LibStrsArithmetic, WeekEdgesAndRulesAgreeWithWalks) {
    const Calendar& cal = Cal();
    std::mt19937 rng(11);
    for (size_t i = cal.Index("20200101"); i <= cal.Index("20251231"); i += 2) {
        const Day& day = cal.At(i);
        int weeks = int(rng() % 21) - 10;
        size_t moved = i + 7 * weeks;
        size_t sunday = moved, saturday = moved;
        while (cal.At(sunday).weekday != 1) --sunday;
        while (cal.At(saturday).weekday != 7) ++saturday;
        ASSERT_EQ(WeekEdgeDate(day.ymd, weeks, "1"), cal.At(sunday).ymd) << day.ymd;
        ASSERT_EQ(WeekEdgeDate(day.ymd, weeks, "2"), cal.At(saturday).ymd) << day.ymd;
        std::string n = std::to_string(weeks);
        int days = int(rng() % 31) - 15;
        std::string d = std::to_string(days);
        // weeks
        ASSERT_EQ(ShiftDateByRule(day.ymd, n, "0", d, "0"), cal.At(moved + days).ymd);
        ASSERT_EQ(ShiftDateByRule(day.ymd, n, "0", d, "1"), cal.At(sunday).ymd);
        ASSERT_EQ(ShiftDateByRule(day.ymd, n, "0", d, "2"), cal.At(saturday).ymd);
        // months
        const Day& shifted = cal.At(cal.Index(cal.AddMonths(day, weeks)));
        ASSERT_EQ(ShiftDateByRule(day.ymd, n, "1", d, "0"),
                  cal.At(cal.Index(shifted.ymd) + days).ymd);
        ASSERT_EQ(ShiftDateByRule(day.ymd, n, "1", d, "1"), shifted.ymd.substr(0, 6) + "01");
        ASSERT_EQ(ShiftDateByRule(day.ymd, n, "1", d, "2"),
                  shifted.ymd.substr(0, 6) +
                      std::to_string(Calendar::MonthLength(shifted.y, shifted.m)));
        // year-months
        ASSERT_EQ(ShiftDateByRule(day.ymd.substr(0, 6), n, "0", "x", "x"), shifted.ymd.substr(0, 6));
    }
}

TEST(LibStrsArithmetic, ShiftDateByRuleCases) {
    struct Case {
        std::string base, n, unit, d, mode, result;
    } cases[] = {
        {"202403", "2", "0", "0", "0", "202405"},
        {"202411", "3", "1", "0", "0", "202502"},
        {"20240131", "1", "1", "0", "9", "20240229"},  // other modes keep the shifted date
        {"20240110", "x", "1", "0", "0", ""},
        {"20240110", "1", "1", "y", "0", ""},
        {"20240110", "1", "1", "y", "1", "20240201"},  // D is not needed here
        {"2024011", "1", "1", "0", "0", ""},
        {"", "1", "1", "0", "0", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShiftDateByRule(c.base, c.n, c.unit, c.d, c.mode), c.result) << c.base;
}

// ---- dynamic dates ---------------------------------------------------------------------------

std::string Record(std::initializer_list<const char*> fields) {
    std::string r;
    for (const char* f : fields) r += std::string(f) + kFieldSep;
    return r;
}

Variant DynamicArgs(Variant values, std::vector<std::string> records) {
    Variant list = VarArrayCreate(0, int(records.size()));
    list[0] = int(records.size());
    for (size_t i = 0; i < records.size(); ++i) list[int(i) + 1] = records[i];
    return VarArrayOf({Variant(), std::move(values), Variant(), std::move(list)});
}

TEST(LibStrsDynamicDates, MovesSinglesAndRanges) {
    Variant values = VarArrayCreate(1, 4);
    values[1] = "20230101";
    values[2] = VarArrayOf({Variant(), "202301", "202302"});
    values[3] = "keep";
    values[4] = VarArrayOf({Variant(), "20230101", "20230131"});
    Variant args = DynamicArgs(values, {
        // single date: run date, moved by -1 month then the first of the month
        Record({"1", "", "Y", "-1", "1", "1", "0", "D", "1"}),
        // year-month range: start stays at the run month, end one month on
        Record({"0", "", "Y", "0", "1", "0", "0", "Y", "1", "1", "0", "0", "M", "2"}),
        // not moving
        Record({"1", "", "N", "5", "1", "0", "0", "D", "3"}),
        // date range: start Sunday of last week, end the Saturday
        Record({"0", "", "Y", "-1", "0", "1", "0", "Y", "-1", "0", "2", "0", "D", "4"}),
    });
    Variant result = ResolveDynamicDates(args, "20240515");
    ASSERT_TRUE(result.IsArray());
    EXPECT_EQ(result[1].AsString(), "20240401");
    EXPECT_EQ(result[2][1].AsString(), "202405");
    EXPECT_EQ(result[2][2].AsString(), "202406");
    EXPECT_EQ(result[3].AsString(), "keep");
    EXPECT_EQ(result[4][1].AsString(), "20240505");
    EXPECT_EQ(result[4][2].AsString(), "20240511");
    EXPECT_EQ(args[1][1].AsString(), "20230101");  // the input is left alone
}

TEST(LibStrsDynamicDates, DamagedInputGivesEmptyText) {
    Variant values = VarArrayCreate(1, 2);
    values[2] = "20230101";
    const std::vector<std::vector<std::string>> damaged = {
        {Record({"1", "", "Y", "x", "1", "0", "0", "D", "1"})},      // N no integer
        {Record({"1", "", "Y", "1", "1", "0", "z", "D", "1"})},      // D no integer
        {Record({"1", "", "Y", "1", "1", "0", "0", "D", "7"})},      // position outside
        {Record({"1", "", "Y", "1", "1", "0", "0", "D", "p"})},      // position no integer
        {Record({"0", "", "Y", "0", "1", "0", "0", "N", "1", "1", "0", "0", "D", "2"})},  // no range
    };
    for (const auto& records : damaged) {
        Variant result = ResolveDynamicDates(DynamicArgs(values, records), "20240515");
        EXPECT_TRUE(result.IsNarrowText() && result.AsString().empty()) << records[0];
    }
    Variant shortList = DynamicArgs(values, {});
    shortList[3][0] = 2;  // claims two records it lacks
    EXPECT_EQ(ResolveDynamicDates(shortList, "20240515"), Variant(""));
    EXPECT_EQ(ResolveDynamicDates(Variant(3), "20240515"), Variant(""));
    EXPECT_EQ(ResolveDynamicDates(DynamicArgs(values, {}), "20240515"), values);
}

// ---- variants and code pages -----------------------------------------------------------------

TEST(LibStrsVariants, CodePageConversions) {
    EXPECT_EQ(WideToAnsiCP(u"折旧", 936), "折旧");
    EXPECT_EQ(WideToAnsiCP(u"折旧", 99999), "折旧");  // unsupported: the system code page
    EXPECT_EQ(AnsiToWideCP("折旧", 99999), u"折旧");
    EXPECT_EQ(AnsiToWideCP(WideToAnsiCP(u"舊", 950), 950), u"舊");

    Variant nested = VarArrayOf({u"甲", "乙", 5, VarArrayOf({u"丙", Variant::Null()})});
    Variant grid = VarArrayCreate(0, 1, 0, 1);
    grid.At(0, 0) = u"丁";
    grid.At(1, 1) = VarArrayOf({u"戊"});
    nested = VarArrayOf({nested, grid});

    Variant narrow = VarToAnsiCP(nested, 936);
    EXPECT_EQ(narrow[0][0], Variant("甲"));
    EXPECT_EQ(narrow[0][1], Variant("乙"));
    EXPECT_EQ(narrow[0][2], Variant(5));
    EXPECT_EQ(narrow[0][3][0], Variant("丙"));
    EXPECT_TRUE(narrow[0][3][1].IsNull());
    EXPECT_EQ(narrow[1].At(0, 0), Variant("丁"));
    EXPECT_EQ(narrow[1].At(1, 1)[0], Variant(u"戊"));  // not entered inside a grid
    EXPECT_EQ(VarToAnsiCP(Variant(u"甲"), 936), Variant("甲"));
    EXPECT_EQ(VarToAnsiCP(Variant("甲"), 936), Variant("甲"));
    EXPECT_TRUE(VarToAnsiCP(Variant(), 936).IsEmpty());
    EXPECT_EQ(VarToAnsiCP(Variant(7), 936), Variant(7));

    Variant wide = VarToWideCP(nested, 936);
    EXPECT_EQ(wide[0][0], Variant(u"甲"));
    EXPECT_EQ(wide[0][1], Variant(u"乙"));
    EXPECT_EQ(wide[0][3][0], Variant(u"丙"));
    EXPECT_EQ(wide[1].At(0, 0), Variant(u"丁"));
    EXPECT_EQ(VarToWideCP(Variant("折旧"), 936), Variant(u"折旧"));
    // BIG5 bytes are widened as BIG5.
    EXPECT_EQ(VarToWideCP(Variant(WideToAnsiCP(u"舊", 950)), 950), Variant(u"舊"));

    EXPECT_EQ(VarIIf(true, 1, "b"), Variant(1));
    EXPECT_EQ(VarIIf(false, 1, "b"), Variant("b"));
    EXPECT_TRUE(VarIsBlank(Variant()));
    EXPECT_TRUE(VarIsBlank(Variant::Null()));
    EXPECT_FALSE(VarIsBlank(Variant("")));
}

TEST(LibStrsVariants, PackVarArray) {
    const std::u16string s(1, u'\x03');
    EXPECT_EQ(PackVarArray(u"P", VarArrayOf({2, "a", u"乙", "unused"})),
              u"P" + s + u"2" + s + u"a" + s + u"乙" + s);
    EXPECT_EQ(PackVarArray(u"P", VarArrayOf({5, "a"})), u"P" + s + u"5" + s + u"a" + s);
    EXPECT_EQ(PackVarArray(u"P", VarArrayOf({"x", "a"})), u"P" + s + u"x" + s);
    EXPECT_EQ(PackVarArray(u"P", Variant(4)), u"P" + s + s);
    EXPECT_EQ(PackVarArray(u"P", VarArrayOf({0})), u"P" + s + u"0" + s);
}

TEST(LibStrsVariants, ButtonCaptionsAndWordPacking) {
    struct Case {
        std::string name, caption;
    } cases[] = {{"Yes", "是(&Y)"},      {"No", "否(&N)"},       {"OK", "确定"},
                 {"Cancel", "取消"},     {"Abort", "中断(&A)"},  {"Retry", "重试(&R)"},
                 {"Ignore", "忽略(&I)"}, {"All", "全部(&A)"},    {"NoToAll", "全否(&o)"},
                 {"YesToAll", "全是(&A)"}, {"Help", "帮助(&H)"}, {"yes", "yes"}, {"", ""}};
    for (const auto& c : cases) EXPECT_EQ(ChineseButtonCaption(c.name), c.caption);

    EXPECT_EQ(MakeLong(0x1234, 0xABCD), 0xABCD1234u);
    EXPECT_EQ(LoWord(0xABCD1234u), 0x1234);
    EXPECT_EQ(HiWord(0xABCD1234u), 0xABCD);
    EXPECT_EQ(HiByte(0xABCD), 0xAB);
    EXPECT_EQ(PointToLParam(-1, 2), 0x0002FFFFu);
}

// ---- logging ---------------------------------------------------------------------------------

class AlertLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("libstrs_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        SetRegistryFilePath((dir_ / "registry.reg").string());
    }
    void TearDown() override {
        SetRegistryFilePath("");
        ResetFormatSettings();
        std::error_code ec;
        std::filesystem::permissions(dir_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(dir_, ec);
    }
    void WriteRegistry(const std::string& values) {
        std::ofstream((dir_ / "registry.reg").string(), std::ios::binary)
            << "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\KRV\\Corvantis]\r\n" << values;
    }
    static std::string ReadAll(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    std::filesystem::path dir_;
};

TEST_F(AlertLogTest, HomePathPrefersClientPath) {
    EXPECT_EQ(GetCorvantisHomePath(), "");  // no registry file
    WriteRegistry("\"ServerPath\"=\"/srv/s\"\r\n");
    EXPECT_EQ(GetCorvantisHomePath(), "/srv/s");
    WriteRegistry("\"ClientPath\"=\"/opt/c\"\r\n\"ServerPath\"=\"/srv/s\"\r\n");
    EXPECT_EQ(GetCorvantisHomePath(), "/opt/c");
    WriteRegistry("\"ClientPath\"=\"\"\r\n\"ServerPath\"=\"/srv/s\"\r\n");
    EXPECT_EQ(GetCorvantisHomePath(), "/srv/s");
    WriteRegistry("\"ClientPath\"=dword:00000001\r\n");
    EXPECT_EQ(GetCorvantisHomePath(), "");
}

TEST_F(AlertLogTest, WritesOneLinePerCallIntoTheDatedFile) {
    WriteRegistry("\"ClientPath\"=\"" + dir_.string() + "\"\r\n");
    SetDateSeparator('-');
    SetTimeSeparator('.');
    double today = Date();
    ASSERT_TRUE(WriteAlertLog("unit", "first 100% 折旧", "D"));
    ASSERT_TRUE(WriteAlertLog("unit", "second", "X"));
    ASSERT_TRUE(WriteAlertLog("unit", "monthly", "M"));
    ASSERT_TRUE(WriteAlertLog("x.txt", "dotted", "Y"));
    const std::filesystem::path log = dir_ / "Log";
    std::string daily = ReadAll(log / ("Alert_unit_" + FormatDateTime("yyyymmdd", today) + ".log"));
    EXPECT_EQ(daily.substr(0, 12), "[" + FormatDateTime("yyyy-mm-dd", today) + " ");
    EXPECT_NE(daily.find("] first 100% 折旧\r\n["), std::string::npos);
    EXPECT_NE(daily.find("] second\r\n"), std::string::npos);
    // "[yyyy-mm-dd hh.nn.ss.zzz] "
    EXPECT_EQ(daily[14], '.');
    EXPECT_EQ(daily[20], '.');
    EXPECT_EQ(daily.substr(24, 2), "] ");
    EXPECT_TRUE(std::filesystem::exists(log / ("Alert_unit_" + FormatDateTime("yyyymm", today) + ".log")));
    EXPECT_TRUE(std::filesystem::exists(log / ("Alert_x.txt_" + FormatDateTime("yyyy", today))));
}

TEST_F(AlertLogTest, UnwritableLogFolderAnswersFalse) {
    WriteRegistry("\"ClientPath\"=\"" + (dir_ / "home").string() + "\"\r\n");
    std::filesystem::create_directories(dir_ / "home");
    // A file where the Log folder should be.
    std::ofstream((dir_ / "home" / "Log").string()) << "x";
    EXPECT_FALSE(WriteAlertLog("unit", "lost", "D"));
    std::filesystem::remove(dir_ / "home" / "Log");
    std::filesystem::create_directories(dir_ / "home" / "Log");
    std::filesystem::permissions(dir_ / "home" / "Log", std::filesystem::perms::owner_read |
                                                          std::filesystem::perms::owner_exec);
    if (::geteuid() != 0) {
        EXPECT_FALSE(WriteAlertLog("unit", "lost", "D"));
    }
    std::filesystem::permissions(dir_ / "home" / "Log", std::filesystem::perms::owner_all);
}

}  // namespace
}  // namespace krv
