// "Geburtstage aus Adressbuch importieren": who is new, the records written, and
// the preview window.

#include <gtest/gtest.h>

#include <QLabel>
#include <QTableWidget>
#include <algorithm>

#include "editing/templates.h"
#include "editors/files/vcard_import_form.h"
#include "editors_test_support.h"
#include "engine/date_text.h"

namespace merkwald {
namespace {

using test::day;

// One card in each form the import reads, and a broken one.
constexpr char kBook[] =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anna Berg\r\nBDAY:1980-05-17\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:4.0\r\nN:Müller;Jörg;;;\r\nBDAY:--0301\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:2.1\r\n"
    "FN;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:J=FCrgen Sch=F6n\r\n"
    "BDAY:19750102\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ohne Tag\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Kaputt\r\nBDAY:1980-13-45\r\n";

const TextTemplate kAgeTemplate{"a", "Bald:",
                                "hat <days_before_event_text> am <event_d.mmmm> "
                                "<years_after_date>. Geburtstag"};

std::vector<TextTemplate> shipped_templates() {
    test::RecordingSink sink;
    const TemplateTable table = load_birthday_templates(MERKWALD_SOURCE_DIR "/data", sink);
    EXPECT_TRUE(table.found);
    return table.templates;
}

// Whichever template is chosen: read without a message, due on its day every
// year, no age and no "wird heute alt".
TEST(VcardImport, ABirthdayWithoutAYearFallsDueEveryYearWithoutAge) {
    const std::vector<TextTemplate> templates = shipped_templates();
    ASSERT_GE(templates.size(), 8u);
    const std::vector<VcardPerson> people{{"Jonas Brandt", {0, 2, 3}, 1},
                                          {"Mia Krause", {0, 2, 29}, 1}};
    for (int position = 0; position < int(templates.size()); ++position) {
        SCOPED_TRACE(templates[std::size_t(position)].caption);
        test::TempFolder folder;
        const auto target = folder / "main.rmd";
        ASSERT_TRUE(append_vcard_birthdays(target, people, templates, position, {0, 0, "7"},
                                           day(2026, 12, 7))
                        .write.ok());
        const std::pair<DaySerial, const char*> days[] = {
            {day(2027, 2, 3), "eute"},  {day(2030, 2, 3), "eute"}, {day(2027, 1, 31), "n 3 Tagen"},
            {day(2027, 2, 2), "orgen"}, {day(2027, 3, 1), "eute"},  // 29 February in a common year
            {day(2028, 2, 29), "eute"},
        };
        for (const auto& [today, distance] : days) {
            const test::Listed listed = test::listed_on(target, today, 3);
            EXPECT_TRUE(listed.messages.empty());
            ASSERT_EQ(listed.texts.size(), 1u) << format_date(today, "dd.mm.yyyy");
            const std::string& text = listed.texts[0];
            EXPECT_NE(text.find(distance), std::string::npos) << text;
            for (const char* wrong : {"alt", "Jahr", "1904", "12"})
                EXPECT_EQ(text.find(wrong), std::string::npos) << text;
        }
        EXPECT_TRUE(test::listed_on(target, day(2027, 2, 4), 3).texts.empty());
    }
}

// Every person of every sample, imported with an age template, appears on the
// day of the birthday with the name and the age (or none).
TEST(VcardImport, EverySampleReadsBackOnItsDay) {
    test::TempFolder folder;
    const auto target = folder / "main.rmd";
    std::vector<VcardPerson> people;
    for (const char* file :
         {"apple_omit_year.vcf", "android_no_year.vcf", "vcard4_date_and_or_time.vcf",
          "outlook_utf16.vcf", "notepad_bom.vcf", "vcard21_agent.vcf"}) {
        const VcardBook book = parse_vcards(
            test::read_bytes(MERKWALD_SOURCE_DIR "/tests/engine/data/vcard/" + std::string(file)));
        people.insert(people.end(), book.people.begin(), book.people.end());
    }
    ASSERT_EQ(people.size(), 13u);
    ASSERT_TRUE(append_vcard_birthdays(target, people, shipped_templates(), 0, {0, 0, "0"},
                                       day(2026, 12, 7))
                    .write.ok());
    for (const VcardPerson& p : people) {
        SCOPED_TRACE(p.name);
        const DaySerial on = p.birthday.day == 29 && p.birthday.month == 2
                                 ? day(2027, 3, 1)
                                 : day(2027, p.birthday.month, p.birthday.day);
        const test::Listed listed = test::listed_on(target, on);
        EXPECT_TRUE(listed.messages.empty());
        const auto mine = std::find_if(listed.texts.begin(), listed.texts.end(), [&](auto& t) {
            return t.find(p.name) != std::string::npos;
        });
        ASSERT_NE(mine, listed.texts.end());
        const bool with_year = p.birthday.year != 0;
        EXPECT_EQ(mine->find(" hat heute am ") != std::string::npos, with_year) << *mine;
        if (with_year) {
            EXPECT_NE(mine->find(" " + std::to_string(2027 - p.birthday.year) + "."),
                      std::string::npos)
                << *mine;
        }
    }
}

TEST(VcardImport, KnownPeopleAreWholeNamesOnTheDaysTheReaderReads) {
    const std::string target =
        "<record>\r\n< DATE = 17.05.1990 >\r\nAnnalena Berg hat Geburtstag\r\n</record>\r\n"
        "<record>\r\n<date=01.02.1970>\r\n<Group=geburtstage>\r\nGeburtstag: Paul\r\n"
        "</record>\r\n"
        "<record>\r\n<date=03.02.1904>\r\nJonas Brandt hat Geburtstag\r\n</record>\r\n"
        "<record>\r\n<date=08.08.>\r\nAnna Größer\r\n</record>\r\n"
        "<record>\r\n<date=09.09.1999>\r\n<group=Anna-Lena Roth>\r\n</record>\r\n"
        "Anna-Lena Roth außerhalb\r\n";
    const std::pair<VcardPerson, bool> rows[] = {
        {{"Anna", {1990, 5, 17}, 1}, false},  // only inside "Annalena"
        {{"Annalena Berg", {1985, 5, 17}, 1}, true},
        {{"Berg", {1985, 5, 17}, 1}, true},
        {{"Annalena Berg", {1985, 5, 18}, 1}, false},
        {{"Paul", {0, 2, 1}, 1}, true},
        {{"Jonas Brandt", {0, 2, 3}, 1}, true},
        {{"Anna Größer", {1979, 8, 8}, 1}, true},      // the import's former "08.08."
        {{"Anna-Lena Roth", {1999, 9, 9}, 1}, false},  // a tag, and text outside a record
    };
    VcardBook book;
    for (const auto& row : rows) book.people.push_back(row.first);
    const std::vector<VcardCandidate> candidates = vcard_candidates(book, target);
    ASSERT_EQ(candidates.size(), std::size(rows));
    for (std::size_t i = 0; i < candidates.size(); ++i)
        EXPECT_EQ(candidates[i].already_there, rows[i].second) << rows[i].first.name;
}

// The age shown is the one of the next birthday; a template that shows the
// birth year in any way is never used for a birthday without one.
TEST(VcardImport, TheAgeAndTheTemplatesThatShowTheYear) {
    const std::pair<VcardBirthday, std::optional<int>> rows[] = {
        {{2001, 12, 7}, 25},  // today
        {{2001, 12, 8}, 25}, {{2001, 12, 6}, 26},        {{2002, 3, 1}, 25},
        {{2004, 2, 29}, 23}, {{0, 12, 8}, std::nullopt},
    };
    for (const auto& [birthday, age] : rows) {
        SCOPED_TRACE(vcard_birthday_text(birthday));
        EXPECT_EQ(age_at_next_birthday(birthday, day(2026, 12, 7)), age);
    }
    const std::pair<TextTemplate, bool> templates[] = {
        {{"", "", "wird <years_after_date>"}, true},
        {{"", "<full_years_after_date>", ""}, true},
        {{"", "", "geboren am <d.mmmm.yyyy>"}, true},
        {{"", "", "geboren an einem <dddd>"}, true},
        {{"", "", "seit <days_after_date> Tagen"}, true},
        {{"", "", "am <event_dddd>, <event_d.mmmm.yyyy>, <d.mmmm>"}, false},
        {{"", "", "<YEARS_AFTER_DATE>"}, false},  // not a placeholder: removed
    };
    for (const auto& [text, uses] : templates) EXPECT_EQ(uses, uses_birth_year(text)) << text.after;
}

TEST(VcardImportForm, PreviewChecksOnlyNewPeopleAndImportsTheChecked) {
    test::EditorWorld world(day(2026, 12, 7));
    const auto target = world.folder / "main.rmd";
    // Anna is there already; Jörg is there with another day, so he is new.
    test::write_bytes(target,
                      "<record>\r\n<date=17.05.1980>\r\nAnna Berg hat Geburtstag\r\n</record>\r\n"
                      "<record>\r\n<date=02.03.1970>\r\nJörg Müller\r\n</record>\r\n");
    VcardImportForm form(nullptr, world.context, {kAgeTemplate}, target, parse_vcards(kBook));
    QTableWidget& table = *form.table();
    ASSERT_EQ(table.rowCount(), 3);
    EXPECT_EQ(table.item(0, kVcardTake)->checkState(), Qt::Unchecked);
    EXPECT_EQ(table.item(1, kVcardTake)->checkState(), Qt::Checked);
    table.item(2, kVcardTake)->setCheckState(Qt::Unchecked);
    form.import_button()->click();
    EXPECT_EQ(form.written(), 1);
    EXPECT_EQ(test::count_of(test::read_bytes(target), "Jörg Müller"), 2);
    EXPECT_EQ(table.item(0, kVcardAge)->text(), QStringLiteral("47"));  // 17 May 2027
    EXPECT_EQ(table.item(1, kVcardBirthday)->text(), QStringLiteral("01.03."));
    EXPECT_TRUE(form.status_line()->text().contains(QStringLiteral("1 ohne Geburtstag")));
}

}  // namespace
}  // namespace merkwald
