#include <gtest/gtest.h>

#include <string>

#include "editors/templates.h"
#include "editors_test_support.h"
#include "tests/support/recording_sink.h"

namespace merkwald {
namespace {

std::string blocks(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i) {
        const std::string n = std::to_string(i);
        text += "*\r\nCaption " + n + "\r\nvor " + n + "\r\nnach " + n + "\r\n";
    }
    return text;
}

struct CountRow {
    const char* what;
    std::string text;
    std::size_t count;
};

TEST(Templates, BlockCount) {
    const CountRow rows[] = {
        {"30 blocks offer 25", blocks(30), 25},
        {"exactly 25", blocks(25), 25},
        {"empty file", "", 0},
        {"third block starts with another line", blocks(2) + "x\r\nC\r\nv\r\nn\r\n" + blocks(1), 2},
        {"ends in the middle of a block", blocks(2) + "*\r\nHalber Block\r\n", 2},
        {"ends after the text before", blocks(1) + "*\r\nC\r\nvor\r\n", 1},
        {"marker with blanks and LF endings", "  *  \nC\nv\nn\n", 1},
    };
    for (const CountRow& row : rows) {
        EXPECT_EQ(row.count, parse_templates(row.text).size()) << row.what;
    }
}

TEST(Templates, LinesAreTrimmedAndEmptyTextsKept) {
    const std::vector<TextTemplate> t =
        parse_templates("*\r\n  Caption A \r\n\r\n  hat Geburtstag  \r\n*\rB\rvor\rnach");
    ASSERT_EQ(2u, t.size());
    EXPECT_EQ((TextTemplate{"Caption A", "", "hat Geburtstag"}), t[0]);
    EXPECT_EQ((TextTemplate{"B", "vor", "nach"}), t[1]);
}

TEST(Templates, PositionOutsideTheListGivesTheFirst) {
    const std::vector<TextTemplate> t = parse_templates(blocks(3));
    EXPECT_EQ("Caption 1", template_at(t, -1).caption);
    EXPECT_EQ("Caption 3", template_at(t, 2).caption);
    EXPECT_EQ("Caption 1", template_at(t, 3).caption);
    EXPECT_EQ(TextTemplate{}, template_at({}, 0));
}

TEST(Templates, MissingFilesAreReportedInStartOrder) {
    test::TempFolder folder;
    test::RecordingSink sink;
    TemplateTables tables = load_templates(folder.path(), sink);
    EXPECT_FALSE(tables.birthday.found);
    EXPECT_FALSE(tables.appointment.found);
    ASSERT_EQ(2u, sink.shown.size());
    EXPECT_EQ("geb_text.dat nicht gefunden!\nGeburtstage eingeben und importieren deaktiviert!",
              sink.shown[0].text);
    EXPECT_EQ("term_text.dat nicht gefunden!", sink.shown[1].text);
    EXPECT_EQ(MessageIcon::critical, sink.shown[1].icon);

    sink.shown.clear();
    test::write_bytes(folder / "term_text.dat", blocks(2));
    tables = load_templates(folder.path(), sink);
    EXPECT_EQ(1u, sink.shown.size());
    EXPECT_TRUE(tables.appointment.found);
    EXPECT_EQ(2u, tables.appointment.templates.size());
}

TEST(Templates, ShippedFilesFollowTheBlockFormat) {
    test::RecordingSink sink;
    const TemplateTables tables = load_templates(MERKWALD_SOURCE_DIR "/data", sink);
    EXPECT_TRUE(sink.shown.empty());
    EXPECT_EQ(8u, tables.birthday.templates.size());
    EXPECT_EQ(8u, tables.appointment.templates.size());
    EXPECT_EQ("Geburtstag von", tables.birthday.templates[4].before);
}

}  // namespace
}  // namespace merkwald
