// The record list on a generated 100,000-record file (about 17 MB): opening it,
// one edit through the record editor, one delete, one undo. Besides the time,
// each benchmark reports `peak_MiB`: the most heap the action held at once
// above what was held before it, counted by the replaced operator new below
// (what Qt allocates with malloc itself is not counted).
// Run offscreen: QT_QPA_PLATFORM=offscreen merkwald_bench_editors

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDateTime>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <new>
#include <optional>

#include "editors/records/record_list.h"
#include "reminder_generator.h"
#include "settings/settings.h"
#include "tests/support/scripted_platform.h"

namespace {

std::atomic<std::size_t> g_held{0};
std::atomic<std::size_t> g_peak{0};

}  // namespace

// The heap is counted where the C library tells a block's size (glibc);
// elsewhere `peak_MiB` stays 0.
#if defined(__GLIBC__)
#include <malloc.h>

namespace {

void note_alloc(void* p) {
    if (p == nullptr) return;
    const std::size_t now = g_held += malloc_usable_size(p);
    std::size_t peak = g_peak.load();
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {}
}

void* counted_new(std::size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr) throw std::bad_alloc();
    note_alloc(p);
    return p;
}

void counted_delete(void* p) noexcept {
    if (p == nullptr) return;
    g_held -= malloc_usable_size(p);
    std::free(p);
}

}  // namespace

void* operator new(std::size_t size) { return counted_new(size); }
void* operator new[](std::size_t size) { return counted_new(size); }
void operator delete(void* p) noexcept { counted_delete(p); }
void operator delete[](void* p) noexcept { counted_delete(p); }
void operator delete(void* p, std::size_t) noexcept { counted_delete(p); }
void operator delete[](void* p, std::size_t) noexcept { counted_delete(p); }
#endif

namespace merkwald {
namespace {

namespace fs = std::filesystem;

constexpr int kRecords = 100000;

// The peak above the heap held now, from here on.
class PeakHeap {
public:
    PeakHeap() : base_(g_held.load()) { g_peak = base_; }
    [[nodiscard]] double mebibytes() const { return double(g_peak.load() - base_) / (1 << 20); }

private:
    std::size_t base_;
};

QApplication& application() {
    static int argc = 1;
    static char name[] = "merkwald_bench_editors";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        return new QApplication(argc, argv);
    }();
    return *app;
}

void when_modal(std::function<void(QWidget*)> action) {
    QTimer::singleShot(0, qApp, [action = std::move(action)]() mutable {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            action(modal);
        } else {
            when_modal(std::move(action));
        }
    });
}

// The services and settings of the windows, with a fresh copy of the file.
struct World {
    World()
        : settings((application(), default_settings(folder.path()))),
          engine(EngineSettings{}, *make_date(2026, 12, 7), folder_path()),
          clock(QDateTime(QDate(2026, 12, 7), QTime(12, 0))),
          services{clock, dialogs, sound},
          context{settings, engine, folder_path(), services} {
        const fs::path source = bench::generated_file(kRecords);
        fs::copy_file(source, file(), fs::copy_options::overwrite_existing);
        settings.data_filename = file().string();
    }
    [[nodiscard]] fs::path folder_path() const { return folder.path().toStdString(); }
    [[nodiscard]] fs::path file() const { return folder_path() / "main.rmd"; }

    QTemporaryDir folder;
    Settings settings;
    EngineState engine;
    test::ScriptedDialogs dialogs;
    test::ManualClock clock;
    test::RecordingSound sound;
    Services services;
    EditorContext context;
};

int row_count(const RecordList& list) { return list.table()->model()->rowCount(); }

void BM_RecordListOpen100k(benchmark::State& state) {
    World world;
    std::optional<RecordList> list;
    double peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
        PeakHeap heap;
        list.emplace(nullptr, world.context, std::vector<std::string>{world.file().string()});
        benchmark::DoNotOptimize(row_count(*list));
        peak = heap.mebibytes();
    }
    state.counters["peak_MiB"] = peak;
}
BENCHMARK(BM_RecordListOpen100k)->Unit(benchmark::kMillisecond)->Iterations(3);

// The editor opened on a row in the middle, its text changed and saved.
void BM_RecordListEdit100k(benchmark::State& state) {
    World world;
    RecordList list(nullptr, world.context, {world.file().string()});
    double peak = 0;
    int round = 0;
    for (auto _ : state) {
        const QString text = QStringLiteral("Geändert %1").arg(++round);
        when_modal([text](QWidget* modal) {
            modal->findChild<QPlainTextEdit*>(QStringLiteral("RTBox1"))->setPlainText(text);
            modal->findChild<QPushButton*>(QStringLiteral("Speichern"))->click();
        });
        PeakHeap heap;
        list.edit_row(kRecords / 2);
        peak = heap.mebibytes();
    }
    state.counters["peak_MiB"] = peak;
}
BENCHMARK(BM_RecordListEdit100k)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RecordListDelete100k(benchmark::State& state) {
    World world;
    RecordList list(nullptr, world.context, {world.file().string()});
    double peak = 0;
    for (auto _ : state) {
        list.table()->selectRow(kRecords / 2);
        PeakHeap heap;
        list.delete_record();
        peak = heap.mebibytes();
        state.PauseTiming();
        list.undo();
        state.ResumeTiming();
    }
    state.counters["peak_MiB"] = peak;
    state.counters["rows"] = row_count(list);
}
BENCHMARK(BM_RecordListDelete100k)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RecordListUndo100k(benchmark::State& state) {
    World world;
    RecordList list(nullptr, world.context, {world.file().string()});
    double peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        list.table()->selectRow(kRecords / 2);
        list.delete_record();
        state.ResumeTiming();
        PeakHeap heap;
        list.undo();
        peak = heap.mebibytes();
    }
    state.counters["peak_MiB"] = peak;
    state.counters["rows"] = row_count(list);
}
BENCHMARK(BM_RecordListUndo100k)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace merkwald
