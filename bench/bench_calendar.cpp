// The calendar feed of a 10,000-record file: every event of the next 365 days,
// read, evaluated day by day, written as iCalendar and replaced on the disk.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "engine/icalendar.h"
#include "reminder_generator.h"

namespace merkwald {
namespace {

namespace fs = std::filesystem;

void BM_CalendarFeed10kYear(benchmark::State& bench_state) {
    const fs::path file = bench::generated_file(10000);
    const fs::path feed = fs::temp_directory_path() / "merkwald-bench-feed.ics";
    SilentSink sink;
    EngineState state(EngineSettings{}, *make_date(2026, 12, 6));
    std::int64_t events = 0;
    for (auto _ : bench_state) {
        const FeedResult result = write_calendar_feed(feed, state, file.string(), {}, sink);
        events += result.events;
        benchmark::DoNotOptimize(result);
    }
    bench_state.counters["events"] =
        benchmark::Counter(double(events) / double(bench_state.iterations()));
    fs::remove(feed);
}
BENCHMARK(BM_CalendarFeed10kYear)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace merkwald
