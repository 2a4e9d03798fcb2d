// The events of a range for calendar programs: `ics`.

#include <optional>
#include <ostream>

#include "cli.h"
#include "engine/date_text.h"
#include "engine/icalendar.h"
#include "engine/occurrences.h"

namespace merkwald::cli {

namespace {

constexpr std::string_view kIcsUsage =
    "Aufruf: merkwald-cli ics --from DATUM --to DATUM [--file DATEI]\n";

struct IcsOptions {
    std::optional<DaySerial> from, to;
    std::optional<std::string> file;
};

std::optional<IcsOptions> parse_ics_options(const std::vector<std::string>& args,
                                            const Context& ctx) {
    IcsOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name, value;
        if (!take_name_value(args, i, name, value)) return std::nullopt;
        if (name == "--from" || name == "--to") {
            const auto day = parse_date(value);
            if (!day) return std::nullopt;
            (name == "--from" ? o.from : o.to) = *day;
        } else if (name == "--file" && !value.empty()) {
            o.file = command_line_file(ctx, value);
        } else {
            return std::nullopt;
        }
    }
    if (!o.from || !o.to) return std::nullopt;
    return o;
}

}  // namespace

int run_ics(const std::vector<std::string>& args, Context& ctx) {
    const auto options = parse_ics_options(args, ctx);
    if (!options) {
        ctx.err << kIcsUsage;
        return kExitUsage;
    }
    if (*options->to < *options->from || *options->to - *options->from >= kMaxCalendarDays) {
        ctx.err << "Das Ende des Zeitraums liegt vor seinem Anfang, oder der Zeitraum umfasst "
                   "mehr als "
                << kMaxCalendarDays << " Tage.\n";
        return kExitUsage;
    }
    StderrSink sink(ctx.err);
    EngineState state(ctx.engine, ctx.today, ctx.program_folder);
    // Each event is written as it is made: a year of a large file never stands whole in memory.
    // A file that cannot be read hands on no event, so it leaves no output at all.
    IcalendarWriter writer([&ctx](std::string_view piece) { ctx.out << piece; },
                           utc_from_unix(ctx.unix_seconds));
    const OccurrenceList list = stream_occurrences(
        state, options->file.value_or(ctx.data_filename), DateRange{*options->from, *options->to},
        sink, [&writer](Occurrence&& event) { writer.add(event); });
    if (list.failed_files > 0) return kExitFailure;
    writer.finish();
    return kExitOk;
}

}  // namespace merkwald::cli
