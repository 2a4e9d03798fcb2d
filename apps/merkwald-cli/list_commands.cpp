// The reminder list on the terminal: `list` and `missed`.

#include <optional>
#include <ostream>

#include "cli.h"
#include "engine/date_text.h"
#include "engine/messages.h"
#include "engine/number.h"
#include "engine/range.h"
#include "engine/refresh.h"

namespace merkwald::cli {

namespace {

constexpr std::string_view kUsage =
    "Aufruf: merkwald-cli list [--today DATUM] [--file DATEI] [--lead-days N]\n"
    "        merkwald-cli list --from DATUM --to DATUM [--file DATEI]\n"
    "        merkwald-cli missed [--today DATUM] [--file DATEI]\n";

struct ListOptions {
    std::optional<DaySerial> today;
    std::optional<std::string> file;
    std::optional<int> lead_days;
    std::optional<DaySerial> from, to;

    // A range excludes a day and lead days of its own, and needs both ends.
    [[nodiscard]] bool consistent() const {
        if (!from && !to) return true;
        return from && to && !today && !lead_days;
    }
};

// The message for a date option whose value is no date.
std::string bad_date(const std::string& name, const std::string& value) {
    return "Falsches Datum bei " + name + ": " + value + '\n';
}

// Accepts "--name value" and "--name=value"; nullopt on anything it does not know.
// `error` names a value that is wrong, beyond the usage text.
std::optional<ListOptions> parse_options(const std::vector<std::string>& args, bool lead_days,
                                         const Context& ctx, std::string& error) {
    ListOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i], value;
        if (!take_name_value(args, i, name, value)) return std::nullopt;
        if (name == "--today") {
            o.today = parse_date(value);
            if (!o.today) {
                error = bad_date(name, value);
                return std::nullopt;
            }
        } else if (name == "--file") {
            if (value.empty()) return std::nullopt;
            o.file = command_line_file(ctx, value);
        } else if ((name == "--from" || name == "--to") && lead_days) {
            const auto day = parse_date(value);
            if (!day) {
                error = bad_date(name, value);
                return std::nullopt;
            }
            (name == "--from" ? o.from : o.to) = *day;
        } else if (name == "--lead-days" && lead_days) {
            if (value.empty() || value.find_first_not_of("0123456789") != std::string::npos)
                return std::nullopt;
            const auto n = to_int16(leading_value(value));
            if (!n) return std::nullopt;
            o.lead_days = *n;
        } else {
            return std::nullopt;
        }
    }
    if (!o.consistent()) return std::nullopt;
    return o;
}

struct Refreshed {
    EngineState state;
    RefreshTables tables;
};

Refreshed run_refresh(const ListOptions& o, Context& ctx, MessageSink& sink) {
    Refreshed r{EngineState(ctx.engine, o.today.value_or(ctx.today), ctx.program_folder), {}};
    r.state.lead_days = o.lead_days;
    // The shipped name days look for the people in the birthday records.
    if (ctx.name_days != NameDayChoice::none) r.tables.capture = RefreshTables::Capture::people;
    refresh(r.state, r.tables, o.file.value_or(ctx.data_filename), sink);
    if (ctx.name_days != NameDayChoice::none) {
        const auto table = read_name_day_table(ctx.name_day_file);
        if (table) add_name_days(r.state, r.tables, table->table, ctx.name_days, sink);
    }
    return r;
}

int usage(Context& ctx, const std::string& error = {}) {
    ctx.err << error << kUsage;
    return kExitUsage;
}

int run_range(const ListOptions& o, Context& ctx) {
    const auto range = make_range(*o.from, *o.to);
    if (!range) {
        ctx.err << "Das Ende des Zeitraums liegt vor seinem Anfang oder mehr als " << kMaxRangeDays
                << " Tage danach.\n";
        return kExitUsage;
    }
    StderrSink sink(ctx.err);
    EngineState state(ctx.engine, ctx.today, ctx.program_folder);
    RefreshTables tables;
    refresh_range(state, tables, o.file.value_or(ctx.data_filename), *range, sink);
    if (tables.read_ok) {
        const SortedList sorted = sort_by_group(state, tables);
        ctx.out << to_lf(plain_text(compose_range_list(state, sorted, ctx.style, *range)));
    }
    return tables.failed_files > 0 ? kExitFailure : kExitOk;
}

}  // namespace

std::string to_lf(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

void StderrSink::show_message(std::string_view text, MessageIcon) {
    err_ << to_lf(text) << '\n';
    err_.flush();
}

int run_list(const std::vector<std::string>& args, Context& ctx) {
    std::string error;
    const auto options = parse_options(args, true, ctx, error);
    if (!options) return usage(ctx, error);
    if (options->from) return run_range(*options, ctx);
    StderrSink sink(ctx.err);
    Refreshed r = run_refresh(*options, ctx, sink);
    if (r.tables.read_ok) {
        const SortedList sorted = sort_by_group(r.state, r.tables);
        ctx.out << to_lf(plain_text(compose_list(r.state, sorted, ctx.style)));
    }
    return r.tables.failed_files > 0 ? kExitFailure : kExitOk;
}

int run_missed(const std::vector<std::string>& args, Context& ctx) {
    std::string error;
    const auto options = parse_options(args, false, ctx, error);
    if (!options) return usage(ctx, error);
    StderrSink sink(ctx.err);
    Refreshed r = run_refresh(*options, ctx, sink);
    if (!r.tables.missed.empty()) {
        const MissedView view = missed_view(r.state, r.tables, sink);
        ctx.out << to_lf(view.caption) << '\n' << to_lf(view.text);
    }
    return r.tables.failed_files > 0 ? kExitFailure : kExitOk;
}

}  // namespace merkwald::cli
