// The whole refresh over one reminder file made of the fuzz input: read, sort,
// compose the list and the missed window, as the main window does.

#include <unistd.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/evaluate.h"
#include "engine/list_view.h"
#include "engine/messages.h"
#include "engine/refresh.h"
#include "fuzz_support.h"

namespace {

namespace fs = std::filesystem;
using namespace merkwald;

// One folder per process: parallel fuzzing jobs must not share the file. It goes
// when the process ends normally; a crash leaves it for inspection.
class TempFolder {
public:
    TempFolder()
        : path_(fs::temp_directory_path() / ("merkwald-fuzz-" + std::to_string(::getpid()))) {
        fs::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    [[nodiscard]] const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

const fs::path& folder() {
    static const TempFolder temp;
    return temp.path();
}

// Last-start values as the settings may hold them, good and broken.
constexpr std::array<std::string_view, 8> kLastStarts{
    "01.01.80", "04.03.99", "31.12.29", "", "xx.yy.zz", "29.02.00", "1.1.0100", "31.12.9999"};

HomePlace pick_home(fuzz::Header& h) {
    HomePlace home;
    switch (h.byte() % 4) {
        case 0:
            break;
        case 1:  // polar night and day
            home.latitude_degree = 80;
            break;
        case 2:  // out of range: the table keeps its values
            home.longitude_degree = 200;
            home.latitude_direction = "S";
            break;
        default:
            home.diff_to_gmt = (int(h.byte()) - 128) * 1e6;
            home.daylight_saving = true;
            break;
    }
    return home;
}

void run_once(const std::uint8_t* data, std::size_t size) {
    fuzz::Header h(data, size);
    const DaySerial today = fuzz::pick_date(h);
    const std::uint8_t flags = h.byte();
    EngineSettings settings;
    settings.light = flags & 1;
    settings.groups = flags & 2;
    settings.record_color = flags & 4 ? 0xFF0000u : 0;
    settings.last_start = std::string(kLastStarts[h.byte() % kLastStarts.size()]);
    settings.home = pick_home(h);
    const std::uint16_t lead = h.word();
    const int refreshes = flags & 8 ? 2 : 1;

    const fs::path file = folder() / "main.rmd";
    {
        const std::string_view text = h.rest();
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(text.data(), std::streamsize(text.size()));
    }

    EngineState state(settings, today, folder());
    if (flags & 16) state.lead_days = flags & 32 ? int(lead) * 32768 : int(lead % 400);
    state.syntax_error_switch = flags & 64;
    RefreshTables tables;
    tables.capture = RefreshTables::Capture::also;
    SilentSink sink;
    for (int i = 0; i < refreshes; ++i) refresh(state, tables, "main.rmd", sink);
    // Every day the engine computes stays in the calendar's range.
    for (const CapturedRecord& c : tables.captured)
        if (!in_range(evaluate_record(state, c.record, state.today).event_date)) __builtin_trap();
    for (const LineEntry& line : tables.lines)
        if (!in_range(line.sort_date)) __builtin_trap();

    ListStyle style;
    style.suppress_space = flags & 128;
    style.record_color = settings.record_color;
    const SortedList list = sort_by_group(state, tables);
    const std::string text = plain_text(compose_list(state, list, style));
    if (text.empty()) __builtin_trap();  // the heading is always there
    if (!tables.missed.empty()) {
        const MissedView view = missed_view(state, tables, sink);
        if (view.caption.empty()) __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    run_once(data, size);
    return 0;
}
