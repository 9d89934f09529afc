// Throughput of the date arithmetic that periodic jobs run: the first run date of a cycle and the
// dynamic dates of a job moved to a run date.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "runtime/LibStrs.h"

namespace {

using krv::Variant;
using krv::VarArrayOf;

std::vector<std::string> StartDates() {
    std::vector<std::string> dates;
    for (double d = krv::EncodeDate(2024, 1, 1); d < krv::EncodeDate(2025, 1, 1); ++d)
        dates.push_back(krv::FormatDateTime("yyyymmdd", d));
    return dates;
}

void CycleStart(benchmark::State& state, Variant cycle) {
    const std::vector<std::string> dates = StartDates();
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(krv::GetCycleStartDate(dates[i], cycle));
        if (++i == dates.size()) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK_CAPTURE(CycleStart, Weekly, VarArrayOf({1, VarArrayOf({2, 3})}));
BENCHMARK_CAPTURE(CycleStart, FixedDay, VarArrayOf({2, VarArrayOf({0, 1, 31})}));
BENCHMARK_CAPTURE(CycleStart, LastFriday, VarArrayOf({2, VarArrayOf({1, 3, 4, 5})}));

std::string Record(std::initializer_list<const char*> fields) {
    std::string r;
    for (const char* f : fields) r += std::string(f) + krv::kFieldSep;
    return r;
}

// A job with ten options, four of them moving dates (two single dates, two ranges).
Variant JobArguments() {
    Variant values = krv::VarArrayCreate(1, 10);
    for (int i = 1; i <= 10; ++i) values[i] = "value";
    values[1] = "20240101";
    values[2] = VarArrayOf({Variant(), "20240101", "20240131"});
    values[3] = "202401";
    values[4] = VarArrayOf({Variant(), "202401", "202403"});
    const std::vector<std::string> records = {
        Record({"1", "", "Y", "-1", "1", "1", "0", "D", "1"}),
        Record({"0", "", "Y", "-1", "0", "1", "0", "Y", "-1", "0", "2", "0", "D", "2"}),
        Record({"1", "", "Y", "1", "1", "0", "0", "M", "3"}),
        Record({"0", "", "Y", "0", "1", "0", "0", "Y", "2", "1", "0", "0", "M", "4"}),
    };
    Variant list = krv::VarArrayCreate(0, int(records.size()));
    list[0] = int(records.size());
    for (size_t i = 0; i < records.size(); ++i) list[int(i) + 1] = records[i];
    return VarArrayOf({Variant(), values, Variant(), list});
}

void DynamicDates(benchmark::State& state) {
    const Variant args = JobArguments();
    const std::vector<std::string> dates = StartDates();
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(krv::ResolveDynamicDates(args, dates[i]));
        if (++i == dates.size()) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(DynamicDates);

}  // namespace

BENCHMARK_MAIN();
