// Placeholder expansion on its own: any text, any dates of the calendar range.

#include <cstdint>
#include <string>

#include "engine/evaluate.h"
#include "engine/messages.h"
#include "engine/placeholders.h"
#include "fuzz_support.h"

namespace {

using namespace merkwald;

// Counts instead of printing; a report must name the text it is about.
class CountingSink final : public MessageSink {
public:
    void show_message(std::string_view text, MessageIcon) override {
        ++count;
        if (text.empty()) __builtin_trap();
    }
    int count = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Header h(data, size);
    const DaySerial today = fuzz::pick_date(h);
    const DaySerial record_date = fuzz::pick_date(h);
    const DaySerial event_date = fuzz::pick_date(h);
    const std::uint8_t flags = h.byte();
    EngineSettings settings;
    if (flags & 2) settings.home.latitude_degree = 89;
    if (flags & 4) settings.home.diff_to_gmt = -1e9;
    EngineState state(settings, today);
    state.syntax_error_switch = flags & 1;
    CountingSink sink;
    const std::string text(h.rest());
    const auto [out, moved_event] = expand_placeholders(
        state, text, {.record = record_date, .event = event_date}, {"fuzz.rmd", 1}, sink);
    // The switch silences syntax errors, and only errors are ever reported.
    if (state.syntax_error_switch && sink.count != 0) __builtin_trap();
    if (sink.count > 1 || (sink.count == 1 && !out.empty())) __builtin_trap();
    if (!in_range(moved_event)) __builtin_trap();
    (void)days_to_anniversary({.date = record_date, .today = today});
    (void)next_anniversary({.date = record_date, .today = today});
    return 0;
}
