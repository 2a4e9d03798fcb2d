#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../support/recording_sink.h"
#include "engine/record_scan.h"

namespace merkwald {
namespace {

TEST(RecordScan, FindsEveryRecordsLines) {
    const auto path = std::filesystem::temp_directory_path() / "merkwald-scan.rmd";
    std::ofstream(path, std::ios::binary)
        << "<add_file=x.rmd>\r\n\r\n<record>\r\n<date=01.01.1990>\r\nText\r\n</record>\r\n"
           "\t< RECORD >\r\n<record>\r\n</Record>\r\n</record>\r\n<record>\r\n";
    test::RecordingSink sink;
    const RecordScan scan = scan_records(path, sink);
    EXPECT_TRUE(scan.ok);
    EXPECT_EQ(scan.records, (std::vector<RecordBounds>{{3, 6}, {8, 9}, {0, 10}}))
        << "a second <record> replaces the start; a </record> without one has none";
    EXPECT_TRUE(sink.shown.empty());
    EXPECT_TRUE(path_exists(path));
    std::filesystem::remove(path);
    EXPECT_FALSE(path_exists(path));

    const RecordScan missing = scan_records(path, sink);
    EXPECT_FALSE(missing.ok);
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].text, "Datei nicht gefunden");
}

}  // namespace
}  // namespace merkwald
