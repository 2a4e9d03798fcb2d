#pragma once
// merkwald-cli's commands, runnable in-process: arguments in, text out.

#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/date_serial.h"
#include "calendar/sun.h"
#include "engine/engine_state.h"
#include "engine/list_view.h"
#include "engine/messages.h"
#include "engine/name_days.h"
#include "settings/settings.h"

namespace merkwald::cli {

// What the commands get from the outside world; main() fills it from the clock
// and the settings store, tests fill it by hand.
struct Context {
    Context(std::ostream& o, std::ostream& e) : out(o), err(e) {}
    std::ostream& out;
    std::ostream& err;
    DaySerial today{};
    int now_seconds = 0;         // local time of day, [0, 86400)
    long long unix_seconds = 0;  // the same moment as seconds since 1970 (UTC)
    HomePlace home;              // with `Diff to GMT` and `Daylight Saving Time`
    std::filesystem::path program_folder;
    // The folder the command was started in: a `--file` name is relative to it,
    // as with every terminal program (empty: the process's current folder).
    // Names in the settings and in `add_file` lines stay relative to the
    // program folder.
    std::filesystem::path working_folder;
    // Where the installation's places file is read; empty: the program folder.
    std::filesystem::path places_folder;
    // What the list needs of the settings.
    EngineSettings engine;
    ListStyle style;
    std::string data_filename;
    // The entry dialogs' presets (lead time, colours, templates), for `add`.
    Settings entry_settings;
    // The shipped name-day table, and which of its name days `list` adds.
    std::filesystem::path name_day_file;
    NameDayChoice name_days = NameDayChoice::none;
};

// Exit status: 0 fine, 1 a failure the command reports, 2 bad arguments.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Messages that the windows show in a box go to standard error, one at a time.
class StderrSink final : public MessageSink {
public:
    explicit StderrSink(std::ostream& err) : err_(err) {}
    void show_message(std::string_view text, MessageIcon icon) override;

private:
    std::ostream& err_;
};

// Runs the command line (without the program name).
int run(const std::vector<std::string>& args, Context& ctx);

// Reads the option at args[i] as "--name value" or "--name=value" into name and
// value, moving i past what it took; false when the value is missing.
[[nodiscard]] bool take_name_value(const std::vector<std::string>& args, std::size_t& i,
                                   std::string& name, std::string& value);

// A `--file` value as the file list's entry: a relative name made absolute
// against the working folder.
[[nodiscard]] std::string command_line_file(const Context& ctx, const std::string& name);

// Text as the terminal wants it: every CRLF (and lone CR) becomes LF.
[[nodiscard]] std::string to_lf(std::string_view text);

int run_list(const std::vector<std::string>& args, Context& ctx);
int run_missed(const std::vector<std::string>& args, Context& ctx);

// The calendar commands: holidays, church-year, holiday, astro. `args` are the
// arguments after the command word.
int run_holidays(const std::vector<std::string>& args, Context& ctx);
int run_church_year(const std::vector<std::string>& args, Context& ctx);
int run_holiday(const std::vector<std::string>& args, Context& ctx);
int run_astro(const std::vector<std::string>& args, Context& ctx);

// check: every problem of the reminder files as "FILE:LINE: text"; 1 when there is one.
int run_check(const std::vector<std::string>& args, Context& ctx);

// add: appends one birthday or appointment record as the entry dialogs do.
int run_add(const std::vector<std::string>& args, Context& ctx);

// ics: the events of a range as an iCalendar text.
int run_ics(const std::vector<std::string>& args, Context& ctx);

// namedays: the name days of the people in the birthday records, a week ahead;
// with --all also the table's names of the day.
int run_namedays(const std::vector<std::string>& args, Context& ctx);

// publish: the events of the coming days to the CalDAV calendar of the settings;
// 1 on a failure of the server or the connection, 2 on missing or bad settings.
int run_publish(const std::vector<std::string>& args, Context& ctx);

}  // namespace merkwald::cli
