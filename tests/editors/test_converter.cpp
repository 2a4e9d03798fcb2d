#include <gtest/gtest.h>

#include <string>

#include "editors/converter.h"
#include "editors_test_support.h"
#include "engine/text_file.h"

namespace merkwald {
namespace {

using test::read_bytes;
using test::write_bytes;

TEST(Converter, EveryColourWordGivesItsPaletteNumber) {
    const char* english[] = {"black",    "blue",         "green",      "cyan",
                             "red",      "magenta",      "armygreen",  "lightgray",
                             "gray",     "lightblue",    "lightgreen", "lightcyan",
                             "lightred", "lightmagenta", "yellow",     "white"};
    const char* german[] = {"schwarz", "blau",        "grün", "cyan",     nullptr,    "magenta",
                            "oliv",    "hellgrau",    "grau", "hellblau", "hellgrün", "hellcyan",
                            "hellrot", "hellmagenta", "gelb", "weiss"};
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(i, colour_index(english[i])) << english[i];
        if (german[i] != nullptr) {
            EXPECT_EQ(i, colour_index(german[i])) << german[i];
        }
    }
    EXPECT_EQ(0, colour_index("rot"));
    EXPECT_EQ(0, colour_index("Blue"));
}

TEST(Converter, Lines) {
    struct Row {
        const char* line;
        const char* converted;
    };
    const Row rows[] = {
        {"<color=blue>", "<color=8388608>"},
        {"<color=hellrot>", "<color=255>"},
        {"\t< COLOR = lightgreen >  ", "<color=65280>"},
        {"<color=Blue>", "<color=0>"},
        {"<color=rot>", "<color=0>"},
        {"<color=255>", "<color=255>"},
        {"<color= 255 >", "<color= 255 >"},
        {"<color=0>", "<color=0>"},
        {"<colour=blue>", "<colour=blue>"},
        {"\t  eingerückter\tText  ", "eingerückter Text"},
        {"", ""},
    };
    for (const Row& row : rows) EXPECT_EQ(row.converted, convert_line(row.line)) << row.line;
}

class ConvertFile : public ::testing::Test {
  protected:
    test::TempFolder folder;
    std::filesystem::path in = folder / "alt.rmd";
    std::filesystem::path out = folder / "neu.rmd";
};

TEST_F(ConvertFile, CopiesEveryLineWithCrlfInTheInputsEncoding) {
    const std::string old =
        *utf8_to_windows1252("<record>\n\t<color=grün>\r\n  Größe\tund Weite \r</record>");
    write_bytes(in, old);
    ASSERT_TRUE(convert_file(in, out).ok);
    EXPECT_EQ(*utf8_to_windows1252("<record>\r\n<color=32768>\r\nGröße und Weite\r\n</record>\r\n"),
              read_bytes(out));
    EXPECT_EQ(old, read_bytes(in));
}

TEST_F(ConvertFile, ChecksInTheirOrder) {
    EXPECT_EQ(ConvertCheck::missing_input, check_conversion("alt.rmd", "neu.rmd", in, out));
    write_bytes(in, "x\r\n");
    EXPECT_EQ(ConvertCheck::ok, check_conversion("alt.rmd", "neu.rmd", in, out));
    EXPECT_EQ(ConvertCheck::same_file, check_conversion("alt.rmd", "ALT.RMD", in, in));
    // Another spelling of the same file would have the output destroy the input.
    EXPECT_EQ(ConvertCheck::same_file,
              check_conversion("alt.rmd", (folder / "alt.rmd").string(), in, folder / "alt.rmd"));
    EXPECT_EQ(ConvertCheck::same_file, check_conversion("fehlt", "FEHLT", in, in));
    write_bytes(out, "y\r\n");
    EXPECT_EQ(ConvertCheck::output_exists, check_conversion("alt.rmd", "neu.rmd", in, out));
    EXPECT_EQ("Zieldatei wird überschrieben!", check_message(ConvertCheck::output_exists));
}

TEST_F(ConvertFile, UnwritableOutputFails) {
    write_bytes(in, "x\r\n");
    EXPECT_FALSE(convert_file(in, folder / "fehlt" / "neu.rmd").ok);
    EXPECT_FALSE(convert_file(folder / "fehlt.rmd", out).ok);
    EXPECT_FALSE(test::exists(out));
}

}  // namespace
}  // namespace merkwald
