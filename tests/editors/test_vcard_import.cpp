// "Geburtstage aus Adressbuch importieren": who is new, the records written, and
// the preview window.

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTableWidget>

#include "editors/vcard_import_form.h"
#include "editors_test_support.h"

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

// A birthday without a year loses the age from its template.
TEST(VcardImport, RecordsWrittenThroughTheEntryFileFunction) {
    test::TempFolder folder;
    const auto target = folder / "main.rmd";
    test::write_bytes(target, "<record>\r\nAlt\r\n</record>\r\n");
    const VcardBook book = parse_vcards(kBook);
    const VcardImportOutcome outcome = append_vcard_birthdays(
        target, {book.people[0], book.people[1]}, kAgeTemplate, {0, 0, "14"}, day(2026, 12, 7));
    ASSERT_TRUE(outcome.write.ok) << outcome.write.message;
    EXPECT_EQ(outcome.written, 2);
    const std::string written = test::read_bytes(target);
    EXPECT_EQ(1, test::count_of(written, "<date=17.05.1980>\r\n<active_before=14>\r\n"));
    EXPECT_TRUE(written.ends_with(
        "<record>\r\n<date=01.03.>\r\n<active_before=14>\r\n<group=geburtstage>\r\n"
        "Bald: Jörg Müller hat <days_before_event_text> am <event_d.mmmm> Geburtstag\r\n"
        "</record>\r\n\r\n"))
        << written;
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
}

}  // namespace
}  // namespace merkwald
