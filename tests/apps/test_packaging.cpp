// The packaging files say what the build says: the release in the AppStream file
// is the project's version, each desktop entry speaks English and German, and the
// completion knows every command and place.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "apps/merkwald-cli/cli.h"

namespace merkwald {
namespace {

const std::filesystem::path kSource(MERKWALD_SOURCE_DIR);

std::string file_text(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << path;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string first_match(const std::string& text, const std::string& pattern) {
    std::smatch match;
    return std::regex_search(text, match, std::regex(pattern)) ? match[1].str() : std::string();
}

TEST(Packaging, TheNewestReleaseIsTheProjectVersion) {
    const std::string version = first_match(file_text(kSource / "CMakeLists.txt"),
                                            R"(project\(Merkwald VERSION ([0-9.]+))");
    ASSERT_FALSE(version.empty());
    const std::string metainfo = file_text(kSource / "data/org.merkwald.Merkwald.metainfo.xml");
    EXPECT_EQ(version, first_match(metainfo, R"(<release version="([^"]+)\")"));
    EXPECT_NE(std::string::npos, metainfo.find("<project_license>GPL-3.0-or-later<"));
    for (const char* page : {"merkwald.1", "merklight.1", "merkwald-cli.1"})
        EXPECT_EQ("Merkwald " + version, first_match(file_text(kSource / "data/man" / page),
                                                     R"(^\.TH \S+ 1 "[^"]*" "([^"]*)\")"))
            << page;
}

TEST(Packaging, DesktopEntriesSpeakEnglishAndGerman) {
    for (const char* entry : {"org.merkwald.Merkwald.desktop", "org.merkwald.Merklight.desktop"}) {
        const std::string text = file_text(kSource / "data" / entry);
        for (const char* key : {"\nName=", "\nName[de]=", "\nComment=", "\nComment[de]="})
            EXPECT_NE(std::string::npos, text.find(key)) << entry << key;
        EXPECT_NE(first_match(text, "\nComment=([^\n]*)"),
                  first_match(text, "\nComment\\[de\\]=([^\n]*)"))
            << entry;
    }
}

TEST(Packaging, CompletionOffersEveryCommand) {
    const std::string completion = file_text(kSource / "data/completion/merkwald-cli");
    const std::string offered = first_match(completion, R"(local commands="([^"]*)\")") + ' ';
    for (const char* command : {"list", "missed", "holidays", "church-year", "holiday", "astro"}) {
        EXPECT_NE(std::string::npos, offered.find(std::string(command) + ' ')) << command;
        // Each is a command the tool knows: it does not answer "Unbekannter Befehl".
        std::ostringstream out, err;
        cli::Context ctx(out, err);
        (void)cli::run({command, "--help-nicht"}, ctx);
        EXPECT_EQ(std::string::npos, err.str().find("Unbekannter Befehl")) << command;
    }
}

}  // namespace
}  // namespace merkwald
