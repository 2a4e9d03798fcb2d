// Two `add` started together on one file: each record lands, or its writer is
// refused with a message and a failing exit status. Nothing is lost silently.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>

#include "../support/cli_process.h"
#include "../support/temp_folder.h"
#include "engine/text_file.h"

namespace merkwald::cli {
namespace {

namespace fs = std::filesystem;

// Enough records that reading and writing the file takes a while.
std::string many_records(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += "<record>\r\n<date=01.01.1990>\r\n<group=geburtstage>\r\nBestand " +
                std::to_string(i) + "\r\n</record>\r\n";
    }
    return text;
}

// How often a line holding the word ` name ` stands in the file, read by the
// engine's reader.
int lines_naming(const fs::path& file, const std::string& name) {
    const std::optional<FileText> text = read_text_file(file);
    if (!text) return -1;
    int count = 0;
    for (const std::string& line : split_lines(text->text))
        count += (" " + line + " ").find(" " + name + " ") != std::string::npos ? 1 : 0;
    return count;
}

TEST(ConcurrentAdd, FiftyPairsOnOneFileLoseNothing) {
    const fs::path home = merkwald::test::make_unique_folder("merkwald-cli-pairs");
    fs::create_directories(home / "config");
    fs::copy_file(fs::path(MERKWALD_SOURCE_DIR) / "data" / "geb_text.dat", home / "geb_text.dat");
    const fs::path file = home / "gemeinsam.rmd";
    constexpr int kBefore = 2000;
    std::ofstream(file, std::ios::binary) << many_records(kBefore);

    int landed = 0;
    for (int pair = 0; pair < 50; ++pair) {
        const std::string names[2] = {"Erster" + std::to_string(pair),
                                      "Zweiter" + std::to_string(pair)};
        std::unique_ptr<merkwald::test::CliProcess> writers[2];
        for (int w = 0; w < 2; ++w) {
            writers[w] = std::make_unique<merkwald::test::CliProcess>(
                MERKWALD_CLI_BINARY,
                std::vector<std::string>{"add", "birthday", names[w], "01.02.1980", "--file",
                                         file.string()},
                home, home / ("fehler" + std::to_string(w)));
        }
        for (int w = 0; w < 2; ++w) {
            SCOPED_TRACE(names[w]);
            const int status = writers[w]->wait();
            const std::string err =
                merkwald::test::file_text(home / ("fehler" + std::to_string(w)));
            if (status == 0) {
                EXPECT_EQ(1, lines_naming(file, names[w]));
                EXPECT_EQ("", err);
                ++landed;
            } else {
                EXPECT_EQ(1, status);
                EXPECT_EQ(0, lines_naming(file, names[w]));
                EXPECT_NE(std::string::npos, err.find("gemeinsam.rmd")) << err;
            }
        }
    }
    EXPECT_EQ(kBefore + landed, lines_naming(file, "<record>"));
    // No temporary file and no lock file stays beside the reminder file.
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(home))
        if (!entry.path().filename().string().starts_with("fehler"))
            names.insert(entry.path().filename().string());
    EXPECT_EQ((std::set<std::string>{"config", "geb_text.dat", "gemeinsam.rmd", "gemeinsam.bak"}),
              names);
    EXPECT_TRUE(fs::is_empty(home / "config")) << "the command-line tool never writes the settings";
    fs::remove_all(home);
}

}  // namespace
}  // namespace merkwald::cli
