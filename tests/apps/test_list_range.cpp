// merkwald-cli list --from DATE --to DATE: the events between two days, as the
// list of the first day with every lead time reaching to the last.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "apps/merkwald-cli/cli.h"

namespace merkwald::cli {
namespace {

namespace fs = std::filesystem;

class ListRange : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("merkwald-range-cli-" + std::to_string(getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        std::ofstream(folder_ / "main.rmd", std::ios::binary)
            << "<record>\r\n<date=07.03.1970>\r\n<active_before=0>\r\n<group=geburtstage>\r\n"
               "Anna hat <days_before_event_text> Geburtstag\r\n</record>\r\n"
               "<record>\r\n<date=20.03.1970>\r\n<group=termine>\r\nZwanzigster\r\n</record>\r\n"
               "<record>\r\n<date=02.03.1980>\r\n<group=termine>\r\nZweiter\r\n</record>\r\n";
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::pair<int, std::string> run_cli(const std::vector<std::string>& args) {
        std::ostringstream out, err;
        Context ctx(out, err);
        ctx.today = *make_date(1999, 3, 5);
        ctx.program_folder = folder_;
        ctx.data_filename = "main.rmd";
        const int status = run(args, ctx);
        return {status, status == kExitUsage ? err.str() : out.str()};
    }

    fs::path folder_;
};

TEST_F(ListRange, ListsTheEventsBetweenBothDaysInclusive) {
    const auto [status, out] = run_cli({"list", "--from", "1.3.1999", "--to", "7.3.1999"});
    EXPECT_EQ(status, kExitOk);
    EXPECT_EQ(out,
              "Ereignisse vom 1.3.1999 bis 7.3.1999\n\n"
              "Geburtstage:\n\nAnna hat in 6 Tagen Geburtstag\n\n"
              "Termine:\n\nZweiter\n\n");
}

TEST_F(ListRange, OneDayAndTheNextYearsEvents) {
    EXPECT_EQ(run_cli({"list", "--from=20.03.99", "--to=20.03.99"}).second,
              "Ereignisse vom 20.3.1999 bis 20.3.1999\n\nTermine:\n\nZwanzigster\n\n");
    // Past this year's 20 March the next one lies in 2000.
    EXPECT_EQ(run_cli({"list", "--from", "2000-03-08", "--to", "2000-03-19"}).second,
              "Ereignisse vom 8.3.2000 bis 19.3.2000\n\n");
}

TEST_F(ListRange, BadRangesAreUsageErrors) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"list", "--from", "7.3.1999", "--to", "6.3.1999"},
          {"list", "--from", "7.3.1999"},
          {"list", "--to", "7.3.1999"},
          {"list", "--from", "1.1.1999", "--to", "1.1.2099"},
          {"list", "--from", "1.3.1999", "--to", "2.3.1999", "--today", "1.3.1999"},
          {"list", "--from", "1.3.1999", "--to", "2.3.1999", "--lead-days", "3"},
          {"list", "--from", "30.2.1999", "--to", "2.3.1999"},
          {"missed", "--from", "1.3.1999", "--to", "2.3.1999"}}) {
        const auto [status, err] = run_cli(args);
        EXPECT_EQ(status, kExitUsage) << args[2];
        EXPECT_NE(err, "");
    }
}

}  // namespace
}  // namespace merkwald::cli
