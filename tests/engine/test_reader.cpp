#include "engine/reader.h"
#include "engine/record_scan.h"
#include "engine/refresh.h"
#include "engine_test_support.h"

namespace merkwald {
namespace {

class Reader : public test::TempFolderTest {
protected:
    EngineState state_{EngineSettings{}, test::d("05.03.1999"), {}};
    RefreshTables tables_;
    test::RecordingSink sink_;

    void run(const std::string& main = "main.rmd") {
        state_.program_folder = folder_;
        refresh(state_, tables_, main, sink_);
    }
};

std::string records(int count, const std::string& date) {
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += "<record>\r\n<date=" + date + ">\r\nNr. " + std::to_string(i) + "\r\n</record>\r\n";
    return text;
}

TEST_F(Reader, ShowsAtMost998LinesButMissesEveryRecord) {
    write("main.rmd", records(1000, "04.03.1960") + records(3, "05.03.1960"));
    state_.lead_days = 400;
    run();
    ASSERT_EQ(tables_.lines.size(), 998u);
    EXPECT_EQ(tables_.lines.back().text, "Nr. 998\r\n");
    EXPECT_EQ(tables_.missed.size(), 1000u) << "the missed list keeps its first 1000 entries";
    EXPECT_TRUE(tables_.read_ok) << "a 1001st missed record is no read failure";
    EXPECT_FALSE(state_.sound_mark) << "records beyond the list do not sound";
    EXPECT_TRUE(sink_.shown.empty());
}

TEST_F(Reader, RunLongFieldsSurviveFilesAndRefreshes) {
    write("main.rmd", "<record>\r\n<active_before=14>\r\n<date=01.01.1960>\r\n</record>\r\n");
    run();
    EXPECT_EQ(state_.record.active_before, 14);
    write("main.rmd", "<record>\r\n<date=19.03.1960>\r\nIn 14 Tagen\r\n</record>\r\n");
    run();
    ASSERT_EQ(tables_.lines.size(), 1u);
    EXPECT_EQ(tables_.lines[0].text, "In 14 Tagen\r\n");
}

TEST_F(Reader, NumbersRoundHalvesToEvenAndWeeksDown) {
    write("main.rmd",
          "<record>\r\n<active_before= 2.5x>\r\n<active_week=2.9>\r\n"
          "<active_day=0>\r\n<color=-1>\r\n<priority=abc>\r\n");
    run();
    EXPECT_EQ(state_.record.active_before, 2);
    EXPECT_EQ(state_.record.active_week, 2);
    EXPECT_EQ(state_.record.day_of_month, 1);
    EXPECT_EQ(state_.record.color, 0xFFFFFFFFu);
    EXPECT_EQ(state_.record.priority, 0);
}

TEST_F(Reader, MissingFilesDevicesAndFoldersAreNoReminderFiles) {
    write("main.rmd", "<add_file=/dev/zero>\r\n<add_file=" + folder_.string() + ">\r\n");
    run();
    EXPECT_EQ(tables_.files.size(), 1u) << "links to a device or a folder are skipped";
    EXPECT_TRUE(sink_.shown.empty());
    for (const char* main : {"fehlt.rmd", "/dev/zero"}) {
        sink_.shown.clear();
        run(main);
        EXPECT_FALSE(tables_.read_ok) << main;
        ASSERT_EQ(sink_.shown.size(), 1u) << main;
        EXPECT_EQ(sink_.shown[0].icon, MessageIcon::critical);
    }
}

TEST_F(Reader, ScanFindsEveryRecordsLines) {
    const auto path = write("scan.rmd",
                            "<add_file=x.rmd>\r\n\r\n<record>\r\n<date=01.01.1990>\r\nText\r\n"
                            "</record>\r\n\t< RECORD >\r\n<record>\r\n</Record>\r\n</record>\r\n"
                            "<record>\r\n");
    const RecordScan scan = scan_records(path, sink_);
    EXPECT_TRUE(scan.ok);
    EXPECT_EQ(scan.records, (std::vector<RecordBounds>{{3, 6}, {8, 9}, {0, 10}}))
        << "a second <record> replaces the start; a </record> without one has none";
    EXPECT_TRUE(sink_.shown.empty());
    std::filesystem::remove(path);
    EXPECT_FALSE(scan_records(path, sink_).ok);
    ASSERT_EQ(sink_.shown.size(), 1u);
    EXPECT_EQ(sink_.shown[0].text, "Datei nicht gefunden");
}

}  // namespace
}  // namespace merkwald
