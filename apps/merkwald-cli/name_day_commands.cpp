// The shipped name days on the terminal: `namedays`.

#include <ostream>

#include "cli.h"
#include "engine/date_text.h"
#include "engine/name_days.h"
#include "engine/refresh.h"

namespace merkwald::cli {

namespace {

constexpr std::string_view kUsage = "Aufruf: merkwald-cli namedays [--today DATUM] [--all]\n";

int usage(Context& ctx, const std::string& error = {}) {
    ctx.err << error << kUsage;
    return kExitUsage;
}

}  // namespace

int run_namedays(const std::vector<std::string>& args, Context& ctx) {
    DaySerial today = ctx.today;
    bool all = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--all") {
            all = true;
            continue;
        }
        std::string name, value;
        if (!take_name_value(args, i, name, value) || name != "--today") return usage(ctx);
        const auto day = parse_date(value);
        if (!day) return usage(ctx, "Falsches Datum bei " + name + ": " + value + '\n');
        today = *day;
    }
    const auto table = read_name_day_table(ctx.name_day_file);
    if (!table) {
        ctx.err << "Die Namenstage-Tabelle kann nicht gelesen werden: "
                << ctx.name_day_file.string() << '\n';
        return kExitFailure;
    }
    for (const NameDayProblem& problem : table->problems)
        ctx.err << ctx.name_day_file.string() << ':' << problem.line << ": " << problem.text
                << '\n';

    // Only the records are wanted: the people of the birthdays and the typed name days.
    StderrSink sink(ctx.err);
    EngineState state(ctx.engine, today, ctx.program_folder);
    RefreshTables tables;
    tables.capture = RefreshTables::Capture::only;
    refresh(state, tables, ctx.data_filename, sink);
    add_name_days(state, tables, table->table, all ? NameDayChoice::all : NameDayChoice::own_people,
                  sink);
    for (const LineEntry& line : tables.lines) ctx.out << to_lf(line.text);
    return tables.failed_files > 0 || !table->problems.empty() ? kExitFailure : kExitOk;
}

}  // namespace merkwald::cli
