// The refresh of a 100,000-record file, as the list command runs it.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "engine/list_view.h"
#include "engine/refresh.h"
#include "reminder_generator.h"

namespace merkwald {
namespace {

namespace fs = std::filesystem;

void BM_Refresh100k(benchmark::State& bench_state) {
    const fs::path file = bench::generated_file(100000);
    SilentSink sink;
    EngineState state(EngineSettings{}, *make_date(2026, 12, 6));
    RefreshTables tables;
    for (auto _ : bench_state) {
        refresh(state, tables, file.string(), sink);
        const auto runs = compose_list(state, sort_by_group(state, tables), ListStyle{});
        benchmark::DoNotOptimize(runs.data());
    }
    bench_state.SetBytesProcessed(bench_state.iterations() * std::int64_t(fs::file_size(file)));
}
BENCHMARK(BM_Refresh100k)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace merkwald
