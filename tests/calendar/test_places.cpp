#include <gtest/gtest.h>

#include <fstream>

#include "calendar/places.h"

namespace merkwald {
namespace {

constexpr const char* kTwo =
    "2\n"
    "\"München\",11,35,0,\"O\",48,8,0,\"N\",1,519\n"
    "\"Wien\",16,22,0,\"O\",48,12,0,\"N\",1,171\n";

std::string with_line_ends(std::string text, const std::string& end) {
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += end;
        else
            out += c;
    }
    return out;
}

TEST(Places, ReadsEveryLineEnd) {
    for (const std::string end : {"\n", "\r\n", "\r"}) {
        const PlacesFile f = parse_places(with_line_ends(kTwo, end));
        ASSERT_TRUE(f.ok);
        EXPECT_EQ(2, f.count);
        ASSERT_EQ(2u, f.places.size());
        const Place& m = f.places[0];
        EXPECT_EQ("München", m.name);
        EXPECT_EQ(11, m.longitude_degree);
        EXPECT_EQ(35, m.longitude_minute);
        EXPECT_EQ(0, m.longitude_second);
        EXPECT_EQ("O", m.longitude_direction);
        EXPECT_EQ(48, m.latitude_degree);
        EXPECT_EQ(8, m.latitude_minute);
        EXPECT_EQ("N", m.latitude_direction);
        EXPECT_EQ(1, m.diff_to_gmt);
        EXPECT_EQ(519, m.height);
        EXPECT_EQ("Wien", f.places[1].name);
    }
}

TEST(Places, ValuesCountNotLines) {
    // Blanks, unquoted texts, a quoted comma, a record over two lines, blank lines.
    const PlacesFile f = parse_places(
        " 2 \r\n\r\n"
        "\"Frankfurt, Main\" , 8, 41, 0, O, 50, 7, 0, N, 1, 112\r\n"
        "Genf,6,9,0.5,\"O\"\r\n46,12,0,\"N\",1.5,-3.25\r\n");
    ASSERT_TRUE(f.ok);
    ASSERT_EQ(2u, f.places.size());
    EXPECT_EQ("Frankfurt, Main", f.places[0].name);
    EXPECT_EQ("O", f.places[0].longitude_direction);
    EXPECT_EQ(112, f.places[0].height);
    EXPECT_EQ("Genf", f.places[1].name);
    EXPECT_EQ(0.5, f.places[1].longitude_second);
    EXPECT_EQ(1.5, f.places[1].diff_to_gmt);
    EXPECT_EQ(-3.25, f.places[1].height);
}

TEST(Places, Windows1252Names) {
    const PlacesFile f = parse_places("1\r\n\"Z\xFCrich\",8,33,0,\"O\",47,22,0,\"N\",1,408\r\n");
    ASSERT_TRUE(f.ok);
    ASSERT_EQ(1u, f.places.size());
    EXPECT_EQ("Zürich", f.places[0].name);
}

TEST(Places, Utf8ByteOrderMarkIsSkipped) {
    const PlacesFile f = parse_places(
        "\xEF\xBB\xBF"
        "1\n\"Bern\",7,27,0,\"O\",46,57,0,\"N\",1,540\n");
    ASSERT_TRUE(f.ok);
    EXPECT_EQ("Bern", f.places.at(0).name);
}

TEST(Places, FailuresKeepWhatWasRead) {
    struct Row {
        const char* text;
        int count;
        std::size_t read;
    };
    const Row rows[] = {
        {"", 0, 0},
        {"zwei\n", 0, 0},
        {"-1\n", 0, 0},
        {"2.5\n", 0, 0},
        // Announces 3, holds 2.
        {"3\n\"A\",1,0,0,\"O\",1,0,0,\"N\",1,0\n\"B\",2,0,0,\"O\",2,0,0,\"N\",1,0\n", 3, 2},
        // A number field holding text, in the second record.
        {"2\n\"A\",1,0,0,\"O\",1,0,0,\"N\",1,0\n\"B\",x,0,0,\"O\",2,0,0,\"N\",1,0\n", 2, 1},
        // An empty number field.
        {"1\n\"A\",1,,0,\"O\",1,0,0,\"N\",1,0\n", 1, 0},
        // A number with a comma as decimal separator splits into two values.
        {"1\n\"A\",1,0,0,\"O\",1,0,0,\"N\",1,0,5\n", 1, 1},
    };
    for (const Row& r : rows) {
        const PlacesFile f = parse_places(r.text);
        const bool complete = r.read == std::size_t(r.count) && r.count > 0;
        EXPECT_EQ(complete, f.ok) << r.text;
        EXPECT_EQ(r.count, f.count) << r.text;
        EXPECT_EQ(r.read, f.places.size()) << r.text;
    }
}

TEST(Places, MoreThanAHundredPlacesIsAnError) {
    std::string text = "101\n";
    for (int i = 0; i < 101; ++i)
        text += "\"P" + std::to_string(i) + "\",1,0,0,\"O\",1,0,0,\"N\",1,0\n";
    const PlacesFile f = parse_places(text);
    EXPECT_FALSE(f.ok);
    EXPECT_EQ(101, f.count);
    EXPECT_EQ(100u, f.places.size());
}

TEST(Places, MissingFile) {
    const PlacesFile f = read_places(std::filesystem::path(MERKWALD_TEST_DATA) / "no such folder");
    EXPECT_FALSE(f.ok);
    EXPECT_TRUE(f.places.empty());
}

// The shipped file: German, Austrian and Swiss towns, all east and north, zone 1.
TEST(Places, ShippedFile) {
    const PlacesFile f = read_places(std::filesystem::path(MERKWALD_SOURCE_DIR) / "data");
    ASSERT_TRUE(f.ok);
    EXPECT_GE(f.places.size(), 40u);
    EXPECT_EQ(std::size_t(f.count), f.places.size());
    for (const Place& p : f.places) {
        EXPECT_EQ("O", p.longitude_direction) << p.name;
        EXPECT_EQ("N", p.latitude_direction) << p.name;
        const double lon = p.longitude_degree + p.longitude_minute / 60;
        const double lat = p.latitude_degree + p.latitude_minute / 60;
        EXPECT_TRUE(lon > 5.8 && lon < 17.2) << p.name;
        EXPECT_TRUE(lat > 45.8 && lat < 55.1) << p.name;
        EXPECT_EQ(1, p.diff_to_gmt) << p.name;
        EXPECT_TRUE(p.height > 0 && p.height < 1000) << p.name;
    }
    const char* capitals[] = {"Berlin",    "Bremen",   "Dresden",     "Düsseldorf", "Erfurt",
                              "Hamburg",   "Hannover", "Kiel",        "Magdeburg",  "Mainz",
                              "München",   "Potsdam",  "Saarbrücken", "Schwerin",   "Stuttgart",
                              "Wiesbaden", "Wien",     "Bern",        "Zürich"};
    for (const char* name : capitals) {
        const bool found = std::any_of(f.places.begin(), f.places.end(),
                                       [&](const Place& p) { return p.name == name; });
        EXPECT_TRUE(found) << name;
    }
}

}  // namespace
}  // namespace merkwald
