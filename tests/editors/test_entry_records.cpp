#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "editors/entry_records.h"
#include "editors/new_file.h"
#include "editors/templates.h"
#include "editors_test_support.h"
#include "engine/text_file.h"
#include "tests/support/recording_sink.h"

namespace merkwald {
namespace {

const DaySerial kToday = test::day(2026, 12, 7);

const std::vector<TextTemplate> kTemplates = {{"Erste", "", "hat Geburtstag"},
                                              {"Zweite", "Geburtstag von", "am <event_d.mmmm>"}};

EntryInput input(std::string name, std::string date, int position = 0, std::int32_t color = 0) {
    return {std::move(name), std::move(date), position, {color, 0, "14"}};
}

class EntrySave : public ::testing::Test {
protected:
    test::TempFolder folder;
    std::filesystem::path file = folder / "main.rmd";
};

// An appointment is a one-time record in the group "termine".
TEST_F(EntrySave, EachSaveAppendsOneRecordWithTwoEmptyLinesBetween) {
    const EntryInput inputs[] = {input("Anna", "5.3.1998"), input("Bernd", "24.12.1960", 1, 255),
                                 input("Zahnarzt", "07.01.2025", -1, 32768)};
    for (int i = 0; i < 3; ++i) {
        const EntryKind kind = i < 2 ? EntryKind::birthday : EntryKind::appointment;
        EXPECT_TRUE(save_entry(kind, file, inputs[i], kTemplates, kToday).write.ok) << i;
    }
    EXPECT_EQ(
        "\r\n<record>\r\n<date=05.03.1998>\r\n<active_before=14>\r\n<group=geburtstage>\r\n"
        " Anna hat Geburtstag\r\n</record>\r\n\r\n"
        "\r\n<record>\r\n<date=24.12.1960>\r\n<color=255>\r\n<active_before=14>\r\n"
        "<group=geburtstage>\r\nGeburtstag von Bernd am <event_d.mmmm>\r\n</record>\r\n\r\n"
        "\r\n<record>\r\n<date=07.01.2025>\r\n<color=32768>\r\n<active_before=14>\r\n"
        "<group=termine>\r\n<active=once>\r\n Zahnarzt hat Geburtstag\r\n</record>\r\n\r\n",
        read_bytes(file));
}

TEST_F(EntrySave, ChecksComeBeforeAnyWriting) {
    using C = EntryCheck;
    const std::tuple<const char*, const char*, EntryCheck> rows[] = {
        {"", "1.1.2000", C::no_name},
        {"   ", "1.1.2000", C::no_name},
        {"", "", C::no_name},
        {"Anna", "", C::bad_date},
        {"Anna", "31.2.2000", C::bad_date},
        {"Anna", "morgen", C::bad_date}};
    for (const auto& [name, date, check] : rows) {
        EXPECT_EQ(
            check,
            save_entry(EntryKind::birthday, file, input(name, date), kTemplates, kToday).check)
            << name << "|" << date;
    }
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ("Kein Name!", no_name_message(EntryKind::birthday));
    EXPECT_EQ("Kein Text!", no_name_message(EntryKind::appointment));
}

TEST_F(EntrySave, NoTemplatesWriteTheNameAlone) {
    ASSERT_TRUE(
        save_entry(EntryKind::birthday, file, input("Anna", "1.1.2000", -1), {}, kToday).write.ok);
    EXPECT_NE(std::string::npos, read_bytes(file).find("\r\n Anna \r\n</record>"));
}

TEST_F(EntrySave, AppendKeepsEncodingAndLineEndsOfTheFile) {
    const std::string old = latin1("Jürgen\n<record>\r\nMüller\r</record>");
    write_bytes(file, old);
    ASSERT_TRUE(save_entry(EntryKind::birthday, file, input("Jörg", "1.1.2000"), kTemplates, kToday)
                    .write.ok);
    const std::string bytes = read_bytes(file);
    EXPECT_EQ(old + "\r\n\r\n<record>", bytes.substr(0, old.size() + 12));
    EXPECT_NE(std::string::npos, bytes.find(latin1(" Jörg hat Geburtstag\r\n")));
    EXPECT_FALSE(is_valid_utf8(bytes));
}

TEST(EntryLines, LineBreakInANameStaysOnOneTextLine) {
    EXPECT_EQ("vor Anna Berta nach", template_line({"c", "vor", "nach"}, "Anna\r\nBerta"));
}

TEST(EntryPresetsTest, PositionsTheListDoesNotHaveSelectTheFirst) {
    Settings settings;
    settings.days_before = "7";
    settings.birthday_color = 255;
    settings.appointment_color = 65280;
    struct Row {
        std::optional<std::int32_t> stored;
        int count;
        int position;
    };
    const Row rows[] = {{std::nullopt, 8, 0}, {-1, 8, 0},           {3, 8, 3}, {8, 8, 0},
                        {-7, 8, 0},           {std::nullopt, 0, -1}};
    for (const Row& row : rows) {
        settings.selected_text = row.stored;
        EXPECT_EQ(row.position,
                  entry_presets(settings, EntryKind::birthday, row.count).template_position)
            << row.stored.value_or(-99) << " of " << row.count;
    }
    EXPECT_EQ(255, entry_presets(settings, EntryKind::birthday, 1).color);
    EXPECT_EQ(65280, entry_presets(settings, EntryKind::appointment, 1).color);
    EXPECT_EQ("7", entry_presets(settings, EntryKind::appointment, 1).lead_time);
    settings.days_before.clear();
    EXPECT_EQ("21", entry_presets(settings, EntryKind::birthday, 1).lead_time);
}

TEST(EntryPresetsTest, StoredIntoRecordAndStore) {
    test::EditorWorld world;
    world.store.create_key(kMainKey, kKeyClass);
    store_entry_presets(world.settings, world.store, EntryKind::appointment, {"3", 4242, 2});
    EXPECT_EQ("3", world.settings.days_before);
    StoreValue value;
    ASSERT_TRUE(world.store.query_value(kMainKey, "TermColor", value));
    EXPECT_EQ(StoreValue(std::int32_t(4242)), value);
    ASSERT_TRUE(world.store.query_value(kMainKey, "SelectedTermText", value));
    EXPECT_EQ(2, std::stoi(std::get<std::string>(value)));
}

TEST(NewFile, NameGetsItsExtensionAndFolder) {
    const std::filesystem::path folder = "/prog";
    const std::pair<const char*, const char*> rows[] = {
        {"neu", "/prog/neu.rmd"},
        {"neu.rmd", "/prog/neu.rmd"},
        {"neu.RMD", "/prog/neu.RMD.rmd"},
        {"daten/neu.txt", "/prog/daten/neu.txt.rmd"},
        {"/home/anna/neu", "/home/anna/neu.rmd"}};
    for (const auto& [typed, path] : rows) {
        EXPECT_EQ(std::filesystem::path(path), new_file_path(typed, folder)) << typed;
    }
}

// Linked files become entries two and three; without them the file is emptied
// (its old content kept in the backup); a file that cannot be made gives no list.
TEST(NewFile, LinkedFilesLeadTheFileAndTheList) {
    test::TempFolder folder;
    const std::filesystem::path file = folder / "neu.rmd";
    NewFileOutcome outcome = create_new_file(file, {"geb.rmd", "/daten/termine.rmd"});
    ASSERT_TRUE(outcome.write.ok);
    EXPECT_EQ("<add_file=geb.rmd>\r\n<add_file=/daten/termine.rmd>\r\n", read_bytes(file));
    EXPECT_EQ((std::vector<std::string>{file.string(), "geb.rmd", "/daten/termine.rmd"}),
              outcome.file_list);

    const std::string before = read_bytes(file);
    outcome = create_new_file(file, {});
    ASSERT_TRUE(outcome.write.ok);
    EXPECT_EQ("", read_bytes(file));
    EXPECT_EQ(1u, outcome.file_list.size());
    EXPECT_EQ(before, read_bytes(folder / "neu.bak"));

    outcome = create_new_file(folder / "fehlt" / "neu.rmd", {"a.rmd"});
    EXPECT_FALSE(outcome.write.ok);
    EXPECT_FALSE(outcome.write.message.empty());
    EXPECT_TRUE(outcome.file_list.empty());
}

std::string blocks(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i) {
        const std::string n = std::to_string(i);
        text += "*\r\nCaption " + n + "\r\nvor " + n + "\r\nnach " + n + "\r\n";
    }
    return text;
}

TEST(Templates, BlockCount) {
    const std::tuple<const char*, std::string, std::size_t> rows[] = {
        {"30 blocks offer 25", blocks(30), 25},
        {"exactly 25", blocks(25), 25},
        {"empty file", "", 0},
        {"third block starts with another line", blocks(2) + "x\r\nC\r\nv\r\nn\r\n" + blocks(1), 2},
        {"ends in the middle of a block", blocks(2) + "*\r\nHalber Block\r\n", 2},
        {"ends after the text before", blocks(1) + "*\r\nC\r\nvor\r\n", 1},
        {"marker with blanks and LF endings", "  *  \nC\nv\nn\n", 1},
    };
    for (const auto& [what, text, count] : rows)
        EXPECT_EQ(count, parse_templates(text).size()) << what;
}

TEST(Templates, LinesAreTrimmedAndEmptyTextsKept) {
    const std::vector<TextTemplate> t =
        parse_templates("*\r\n  Caption A \r\n\r\n  hat Geburtstag  \r\n*\rB\rvor\rnach");
    ASSERT_EQ(2u, t.size());
    EXPECT_EQ((TextTemplate{"Caption A", "", "hat Geburtstag"}), t[0]);
    EXPECT_EQ((TextTemplate{"B", "vor", "nach"}), t[1]);
}

TEST(Templates, MissingFilesAreReportedInStartOrder) {
    test::TempFolder folder;
    test::RecordingSink sink;
    const TemplateTables tables = load_templates(folder.path(), sink);
    EXPECT_FALSE(tables.birthday.found);
    EXPECT_FALSE(tables.appointment.found);
    ASSERT_EQ(2u, sink.shown.size());
    EXPECT_EQ("geb_text.dat nicht gefunden!\nGeburtstage eingeben und importieren deaktiviert!",
              sink.shown[0].text);
    EXPECT_EQ("term_text.dat nicht gefunden!", sink.shown[1].text);
    EXPECT_EQ(MessageIcon::critical, sink.shown[1].icon);
}

}  // namespace
}  // namespace merkwald
