#pragma once
// A program folder in a temporary directory and the commands run on it in-process.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "../support/temp_folder.h"
#include "apps/merkwald-cli/cli.h"

namespace merkwald::cli::test {

struct Outcome {
    int status;
    std::string out, err;
    friend bool operator==(const Outcome&, const Outcome&) = default;
    friend void PrintTo(const Outcome& o, std::ostream* os) {
        *os << "{" << o.status << ", " << ::testing::PrintToString(o.out) << ", "
            << ::testing::PrintToString(o.err) << "}";
    }
};

using Command = int (*)(const std::vector<std::string>&, Context&);

class CliTest : public ::testing::Test {
protected:
    ~CliTest() override { std::filesystem::remove_all(folder); }

    void write(const std::string& name, const std::string& text) const {
        std::ofstream(folder / name, std::ios::binary) << text;
    }

    Outcome run_command(Command command, const std::vector<std::string>& args) {
        std::ostringstream out, err;
        Context ctx(out, err);
        ctx.today = today;
        ctx.now_seconds = 12 * 3600;
        ctx.home = home;
        ctx.program_folder = folder;
        ctx.working_folder = working_folder.empty() ? folder : working_folder;
        ctx.engine = engine;
        ctx.data_filename = "main.rmd";
        ctx.name_day_file = name_day_file;
        ctx.name_days = name_days;
        const int status = command(args, ctx);
        return {status, out.str(), err.str()};
    }
    Outcome run_cli(const std::vector<std::string>& args) { return run_command(run, args); }

    const std::filesystem::path folder = merkwald::test::make_unique_folder("merkwald-cli-test");
    DaySerial today = *make_date(1999, 3, 5);
    HomePlace home;
    EngineSettings engine;
    std::filesystem::path working_folder;  // empty: the program folder
    std::filesystem::path name_day_file =
        std::filesystem::path(MERKWALD_SOURCE_DIR) / "data" / "namenstage.dat";
    NameDayChoice name_days = NameDayChoice::none;
};

}  // namespace merkwald::cli::test
