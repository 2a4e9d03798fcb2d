#include <algorithm>
#include <tuple>

#include "../calendar/calendar_test_support.h"
#include "engine/places.h"

namespace merkwald {
namespace {

// Every field of a place, as one text a failure shows whole.
std::string fields(const Place& p) {
    std::ostringstream out;
    out << p.name << "|" << p.longitude_degree << "," << p.longitude_minute << ","
        << p.longitude_second << "," << p.longitude_direction << "|" << p.latitude_degree << ","
        << p.latitude_minute << "," << p.latitude_second << "," << p.latitude_direction << "|"
        << p.diff_to_gmt << "|" << p.height;
    return out.str();
}

TEST(Places, ValuesCountNotLines) {
    // Blanks, unquoted texts, a quoted comma, a record over two lines, blank lines
    // and every line end.
    const PlacesFile f = parse_places(
        " 2 \r\n\r\n\"Frankfurt, Main\" , 8, 41, 0, O, 50, 7, 0, N, 1, 112\r"
        "Genf,6,9,0.5,\"O\"\r\n46,12,0,\"N\",1.5,-3.25\r\n");
    EXPECT_TRUE(f.ok);
    ASSERT_EQ(f.places.size(), 2u);
    EXPECT_EQ(fields(f.places[0]), "Frankfurt, Main|8,41,0,O|50,7,0,N|1|112");
    EXPECT_EQ(fields(f.places[1]), "Genf|6,9,0.5,O|46,12,0,N|1.5|-3.25");
}

TEST(Places, FailuresKeepWhatWasRead) {
    std::string hundred_and_one = "101\n";
    for (int i = 0; i < 101; ++i)
        hundred_and_one += "\"P" + std::to_string(i) + "\",1,0,0,\"O\",1,0,0,\"N\",1,0\n";
    const std::string a = "\"A\",1,0,0,\"O\",1,0,0,\"N\",1,0\n";
    // text, announced count, places read
    const std::tuple<std::string, int, std::size_t> rows[] = {
        {"", 0, 0},
        {"2\n" + a + "\"B\",x,0,0,\"O\",2,0,0,\"N\",1,0\n", 2, 1},  // text in a number field
        {"1\n\"A\",1,,0,\"O\",1,0,0,\"N\",1,0\n", 1, 0},            // an empty number field
        {"1\n\"A\",1,0,0,\"O\",1,0,0,\"N\",1,0,5\n", 1, 1},  // a decimal comma splits the value
        {hundred_and_one, 101, 100},                         // at most a hundred places
    };
    for (const auto& [text, count, read] : rows) {
        const PlacesFile f = parse_places(text);
        EXPECT_EQ(read == std::size_t(count) && count > 0 && count <= 100, f.ok) << text;
        EXPECT_EQ(count, f.count) << text;
        EXPECT_EQ(read, f.places.size()) << text;
    }
}

// The shipped file reads whole, the default place among its towns.
TEST(Places, ShippedFile) {
    const PlacesFile f = read_places(std::filesystem::path(MERKWALD_SOURCE_DIR) / "data");
    EXPECT_TRUE(f.ok);
    EXPECT_TRUE(std::any_of(f.places.begin(), f.places.end(),
                            [](const Place& p) { return p.name == "Landshut"; }));
}

}  // namespace
}  // namespace merkwald
