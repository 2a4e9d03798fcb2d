#pragma once
// merkwald-cli's commands, runnable in-process: arguments in, text out.

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "calendar/date_serial.h"
#include "calendar/sun.h"

namespace merkwald::cli {

// What the commands get from the outside world; main() fills it from the clock
// and the settings store, tests fill it by hand.
struct Context {
    std::ostream& out;
    std::ostream& err;
    DaySerial today = 0;
    int now_seconds = 0;  // local time of day, [0, 86400)
    HomePlace home;       // with `Diff to GMT` and `Daylight Saving Time`
    std::filesystem::path program_folder;
};

// Exit status: 0 fine, 1 a failure the command reports, 2 bad arguments.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// The calendar commands: holidays, church-year, holiday, astro. `args` are the
// arguments after the command word.
int run_holidays(const std::vector<std::string>& args, Context& ctx);
int run_church_year(const std::vector<std::string>& args, Context& ctx);
int run_holiday(const std::vector<std::string>& args, Context& ctx);
int run_astro(const std::vector<std::string>& args, Context& ctx);

}  // namespace merkwald::cli
