// merkwald-cli list and missed, in-process and as the binary.

#include <array>
#include <cstdio>

#include "cli_test_support.h"

namespace merkwald::cli {
namespace {

namespace fs = std::filesystem;
using test::Outcome;

class ListCommands : public test::CliTest {
protected:
    ListCommands() {
        engine.last_start = "01.03.99";
        write("main.rmd",
              "<record>\r\n<date=07.03.1970>\r\n<active_before=7>\r\n<group=geburtstage>\r\n"
              "Anna hat <days_before_event_text> Geburtstag\r\nZweite Zeile\r\n</record>\r\n"
              "<record>\r\n<date=03.03.1980>\r\nVorgestern\r\n</record>\r\n");
        write("range.rmd",
              "<record>\r\n<date=07.03.1970>\r\n<active_before=0>\r\n<group=geburtstage>\r\n"
              "Anna hat <days_before_event_text> Geburtstag\r\n</record>\r\n"
              "<record>\r\n<date=20.03.1970>\r\n<group=termine>\r\nZwanzigster\r\n</record>\r\n"
              "<record>\r\n<date=02.03.1980>\r\n<group=termine>\r\nZweiter\r\n</record>\r\n");
        write("other.rmd", "<record>\r\n<date=20.03.1970>\r\nSpäter\r\n</record>\r\n");
        write("bad.rmd", "<record>\r\n<date=05.03.1970>\r\nText > <x\r\n</record>\r\n");
    }
};

// What the window would show, with LF; the messages of its boxes go to standard error.
TEST_F(ListCommands, PrintTheWindowTexts) {
    const std::string range = "--file=range.rmd";
    const std::pair<std::vector<std::string>, Outcome> rows[] = {
        {{"list"},
         {kExitOk,
          "Freitag, 5.3.1999\n\nGeburtstage:\n\nAnna hat in 2 Tagen Geburtstag\nZweite Zeile\n\n",
          ""}},
        {{"list", "--file=other.rmd", "--lead-days", "15"},
         {kExitOk, "Freitag, 5.3.1999\n\nSpäter\n\n", ""}},
        // --from and --to: the list of the first day with every lead time reaching to the last.
        {{"list", range, "--from", "1.3.1999", "--to", "7.3.1999"},
         {kExitOk,
          "Ereignisse vom 1.3.1999 bis 7.3.1999\n\n"
          "Geburtstage:\n\nAnna hat in 6 Tagen Geburtstag\n\nTermine:\n\nZweiter\n\n",
          ""}},
        // Past this year's 20 March the next one lies in 2000.
        {{"list", range, "--from", "2000-03-08", "--to", "2000-03-19"},
         {kExitOk, "Ereignisse vom 8.3.2000 bis 19.3.2000\n\n", ""}},
        // Nothing is printed when the last file failed.
        {{"list", "--file", "fehlt.rmd"}, {kExitFailure, "", "Datei nicht gefunden\n"}},
        // A name on the command line is made whole against the current folder.
        {{"list", "--file", "bad.rmd"},
         {kExitOk, "Freitag, 5.3.1999\n\n",
          "Syntaxfehler in Datei: " + (folder / "bad.rmd").string() +
              "\nZeile:  4\nText > <x\n\n"}},
        {{"missed"},
         {kExitOk, "Seit dem letzten Start (01.03.99) abgelaufen...\n  03.03.1999: Vorgestern\n",
          ""}},
    };
    for (const auto& [args, expected] : rows)
        EXPECT_EQ(run_cli(args), expected) << ::testing::PrintToString(args);
}

TEST_F(ListCommands, BadArgumentsAreUsageErrors) {
    const std::string from = "--from=1.3.1999", to = "--to=2.3.1999";
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"list", "--lead-days", "-1"},
          {"list", "--file"},
          {"frobnicate"},
          {"list", "--from", "7.3.1999", "--to", "6.3.1999"},
          {"list", "--from", "7.3.1999"},
          {"missed", from, to}}) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const Outcome o = run_cli(args);
        EXPECT_EQ(o.status, kExitUsage);
        EXPECT_EQ(o.out, "");
        EXPECT_NE(o.err, "");
    }
    // A wrong date is named with its option.
    EXPECT_EQ(run_cli({"list", "--from=30.2.1999", "--to", "1.3.1999"})
                  .err.rfind("Falsches Datum bei --from: 30.2.1999\n", 0),
              0u);
}

TEST_F(ListCommands, HelpAndVersion) {
    const Outcome help = run_cli({"--help"});
    EXPECT_EQ(help.status, kExitOk);
    EXPECT_NE(help.out.find("Sonne und Mond für einen Ort"), std::string::npos);
    EXPECT_EQ(run_cli({"--version"}).out.rfind("merkwald-cli ", 0), 0u);
}

// The binary itself, with its own settings store and program folder.
TEST(CliBinary, ListsTheProgramFoldersExampleWithTheStoredSettings) {
    const fs::path home = merkwald::test::make_unique_folder("merkwald-cli-bin");
    fs::create_directories(home / "config" / "Merkwald");
    std::ofstream(home / "beispiel.rmd", std::ios::binary)
        << "<record>\r\n<date=05.03.1960>\r\n<group=termine>\r\nHeute\r\n</record>\r\n";
    const std::string command = "XDG_CONFIG_HOME='" + (home / "config").string() +
                                "' MERKWALD_HOME='" + home.string() +
                                "' '" MERKWALD_CLI_BINARY "' list --today 05.03.1999 2>&1";
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    for (std::array<char, 256> buf{}; std::fgets(buf.data(), int(buf.size()), pipe);)
        output += buf.data();
    EXPECT_EQ(pclose(pipe), 0);
    EXPECT_EQ(output, "Freitag, 5.3.1999\n\nTermine:\n\nHeute\n\n");
    EXPECT_FALSE(fs::exists(home / "config" / "Merkwald" / "Merkwald.conf"))
        << "the command-line tool never writes the settings";
    fs::remove_all(home);
}

}  // namespace
}  // namespace merkwald::cli
