#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "apps/merkwald-cli/cli.h"

namespace merkwald::cli {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status;
    std::string out, err;
};

class ListCommands : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("merkwald-list-cli-" + std::to_string(getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        write("main.rmd",
              "<record>\r\n<date=07.03.1970>\r\n<active_before=7>\r\n<group=geburtstage>\r\n"
              "Anna hat <days_before_event_text> Geburtstag\r\nZweite Zeile\r\n</record>\r\n"
              "<record>\r\n<date=03.03.1980>\r\nVorgestern\r\n</record>\r\n");
    }
    void TearDown() override { fs::remove_all(folder_); }

    void write(const std::string& name, const std::string& text) {
        std::ofstream(folder_ / name, std::ios::binary) << text;
    }

    Outcome run_cli(const std::vector<std::string>& args) {
        std::ostringstream out, err;
        Context ctx(out, err);
        ctx.today = *make_date(1999, 3, 5);
        ctx.program_folder = folder_;
        ctx.data_filename = "main.rmd";
        ctx.engine.last_start = "01.03.99";
        const int status = run(args, ctx);
        return {status, out.str(), err.str()};
    }

    fs::path folder_;
};

TEST_F(ListCommands, ListPrintsTheWindowTextWithLineFeeds) {
    const Outcome o = run_cli({"list"});
    EXPECT_EQ(o.status, kExitOk);
    EXPECT_EQ(o.out,
              "Freitag, 5.3.1999\n\nGeburtstage:\n\nAnna hat in 2 Tagen Geburtstag\nZweite Zeile\n\n");
    EXPECT_EQ(o.err, "");
}

TEST_F(ListCommands, TodayFileAndLeadDaysOptions) {
    write("other.rmd", "<record>\r\n<date=20.03.1970>\r\nSpäter\r\n</record>\r\n");
    EXPECT_EQ(run_cli({"list", "--today", "20.3.99", "--file", "other.rmd"}).out,
              "Samstag, 20.3.1999\n\nSpäter\n\n");
    const Outcome ahead = run_cli({"list", "--file=other.rmd", "--lead-days", "15"});
    EXPECT_EQ(ahead.out, "Freitag, 5.3.1999\n\nSpäter\n\n");
}

TEST_F(ListCommands, BadArgumentsAreUsageErrors) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"list", "--today", "31.02.1999"},
          {"list", "--lead-days", "-1"},
          {"list", "--lead-days", "zwei"},
          {"list", "--file"},
          {"list", "--bogus", "1"},
          {"missed", "--lead-days", "3"},
          {"frobnicate"},
          {}}) {
        const Outcome o = run_cli(args);
        EXPECT_EQ(o.status, kExitUsage) << (args.empty() ? "" : args[0]);
        EXPECT_EQ(o.out, "");
        EXPECT_NE(o.err, "");
    }
}

TEST_F(ListCommands, UnreadableFileReportsAndFails) {
    const Outcome o = run_cli({"list", "--file", "fehlt.rmd"});
    EXPECT_EQ(o.status, kExitFailure);
    EXPECT_EQ(o.out, "") << "nothing is printed when the last file failed";
    EXPECT_EQ(o.err, "Datei nicht gefunden\n");
}

TEST_F(ListCommands, MessagesGoToStandardErrorWithLineFeeds) {
    write("bad.rmd", "<record>\r\n<date=05.03.1970>\r\nText > <x\r\n</record>\r\n");
    const Outcome o = run_cli({"list", "--file", "bad.rmd"});
    EXPECT_EQ(o.status, kExitOk);
    EXPECT_EQ(o.err, "Syntaxfehler in Datei: bad.rmd\nZeile:  4\nText > <x\n\n");
    EXPECT_EQ(o.out, "Freitag, 5.3.1999\n\n");
}

TEST_F(ListCommands, MissedShowsCaptionAndEntries) {
    const Outcome o = run_cli({"missed"});
    EXPECT_EQ(o.status, kExitOk);
    EXPECT_EQ(o.out, "Seit dem letzten Start (01.03.99) abgelaufen...\n  03.03.1999: Vorgestern\n");
    EXPECT_EQ(run_cli({"missed", "--today", "02.03.1999"}).out, "");
}

TEST_F(ListCommands, HelpAndVersion) {
    EXPECT_EQ(run_cli({"--help"}).status, kExitOk);
    EXPECT_NE(run_cli({"--help"}).out.find("merkwald-cli"), std::string::npos);
    EXPECT_EQ(run_cli({"--version"}).out.rfind("merkwald-cli ", 0), 0u);
}

// The binary itself, with its own settings store and program folder.
TEST(CliBinary, ListsTheProgramFoldersExampleWithTheStoredSettings) {
    const fs::path home = fs::temp_directory_path() / ("merkwald-cli-bin-" + std::to_string(getpid()));
    fs::remove_all(home);
    fs::create_directories(home / "config" / "Merkwald");
    std::ofstream(home / "beispiel.rmd", std::ios::binary)
        << "<record>\r\n<date=05.03.1960>\r\n<group=termine>\r\nHeute\r\n</record>\r\n";
    const std::string command = "XDG_CONFIG_HOME='" + (home / "config").string() +
                                "' MERKWALD_HOME='" + home.string() + "' '" MERKWALD_CLI_BINARY
                                "' list --today 05.03.1999 2>&1";
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        std::array<char, 256> buf{};
        while (std::fgets(buf.data(), int(buf.size()), pipe)) output += buf.data();
        EXPECT_EQ(pclose(pipe), 0);
    }
    EXPECT_EQ(output, "Freitag, 5.3.1999\n\nTermine:\n\nHeute\n\n");
    EXPECT_FALSE(fs::exists(home / "config" / "Merkwald" / "Merkwald.conf"))
        << "the command-line tool never writes the settings";
    fs::remove_all(home);
}

}  // namespace
}  // namespace merkwald::cli
