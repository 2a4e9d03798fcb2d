// Birthdays out of address book exports, one hand-written card per form.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "engine/vcard.h"

namespace merkwald {
namespace {

std::string sample(const std::string& name) {
    std::ifstream in(MERKWALD_TEST_DATA "/vcard/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Each version and form; years and charsets decided as the card says.
TEST(Vcard, EachVersionAndForm) {
    const std::pair<std::string, VcardPerson> rows[] = {
        // 4.0, basic date, folded FN, escaped comma, a group prefix
        {"BEGIN:VCARD\nVERSION:4.0\nitem1.FN:Anna\n  Maria\\, die Zweite\nBDAY:19851224\n"
         "END:VCARD\n",
         {"Anna Maria, die Zweite", {1985, 12, 24}, 1}},
        // 2.1, quoted-printable in ISO-8859-1 with a soft line break
        {"BEGIN:VCARD\r\nVERSION:2.1\r\n"
         "FN;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:Eva Schr=F6der-=\r\nWei=DF\r\n"
         "BDAY:1999-09-09\r\nEND:VCARD\r\n",
         {"Eva Schröder-Weiß", {1999, 9, 9}, 1}},
        // 2.1, quoted-printable UTF-8 with the bare parameter form
        {"BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=UTF-8;QUOTED-PRINTABLE:Kr=C3=BCger;Greta\r\n"
         "BDAY:19771111\r\nEND:VCARD\r\n",
         {"Greta Krüger", {1977, 11, 11}, 1}},
        // "Ã¼" is valid UTF-8, but the card says Latin-1.
        {"BEGIN:VCARD\r\nFN;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:J=C3=BC\r\n"
         "BDAY:--0101\r\nEND:VCARD\r\n",
         {"JÃ¼", {0, 1, 1}, 1}},
        // An 8-bit file: a value with CHARSET=UTF-8 beside Windows-1252 ones.
        {"BEGIN:VCARD\r\nN:M\xfcller;\r\nFN;CHARSET=UTF-8:J\xc3\xb6rg\r\nBDAY:--0101\r\n"
         "END:VCARD\r\n",
         {"Jörg", {0, 1, 1}, 1}},
        // A blank line between AGENT and its card.
        {"BEGIN:VCARD\r\nFN:Chef\r\nAGENT:\r\n\r\nBEGIN:VCARD\r\nFN:Hilfe\r\n"
         "BDAY:1960-01-01\r\nEND:VCARD\r\nBDAY:1950-01-01\r\nEND:VCARD\r\n",
         {"Chef", {1950, 1, 1}, 1}},
    };
    for (const auto& [card, person] : rows) {
        const VcardBook book = parse_vcards(card);
        EXPECT_TRUE(book.problems.empty()) << card;
        EXPECT_EQ(book.people, std::vector<VcardPerson>{person}) << card;
    }
}

// Exports in the forms the programs that write them use, one sample file each.
TEST(Vcard, AddressBookExportsAsProgramsWriteThem) {
    struct Row {
        const char* file;
        std::vector<VcardPerson> people;
        std::vector<VcardProblem> problems = {};
        int without_birthday = 0;
    };
    const Row rows[] = {
        // macOS and Nextcloud: the year 1604 of X-APPLE-OMIT-YEAR stands for none
        {"apple_omit_year.vcf",
         {{"Paula Lindner", {0, 4, 16}, 1}, {"Till Östermann", {1983, 11, 2}, 9}}},
        // Android 2.1 and Google 3.0 without a year; a card with an address only
        {"android_no_year.vcf",
         {{"Jonas Brandt", {0, 2, 3}, 1},
          {"Mia Krause", {0, 2, 29}, 8},
          {"Lars Vogt", {1990, 7, 21}, 19}},
         {},
         1},
        {"vcard4_date_and_or_time.vcf",
         {{"Greta Hahn", {0, 2, 3}, 1}, {"Emil Sauer", {1985, 4, 12}, 7}},
         {{15, "BDAY ist kein Datum: um 1920"}}},
        // Outlook: UTF-16 with byte-order mark
        {"outlook_utf16.vcf",
         {{"Jürgen Weiß", {1972, 10, 5}, 1}, {"Ayşe Çelik", {1988, 1, 30}, 9}}},
        // Notepad: UTF-8 with byte-order mark
        {"notepad_bom.vcf", {{"Anna Größer", {1979, 8, 8}, 1}, {"Bernd Kühn", {1966, 1, 31}, 6}}},
        // 2.1 quoted-printable in two CHARSETs, a soft line break, a nested AGENT card
        {"vcard21_agent.vcf",
         {{"Jürgen Schönfeld", {1961, 3, 14}, 1}, {"Björn Große", {1958, 12, 24}, 15}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        const std::string bytes = sample(row.file);
        const VcardBook book = parse_vcards(bytes);
        EXPECT_EQ(book.people, row.people);
        EXPECT_EQ(book.without_birthday, row.without_birthday);
        EXPECT_EQ(book.problems, row.problems);
        // Cut off anywhere (an odd byte of UTF-16, half an escape, half a
        // quoted-printable byte), the file is read without reaching past its end:
        // exactly n bytes on the heap.
        for (std::size_t n = 0; n < bytes.size(); ++n) {
            const std::vector<char> cut(bytes.begin(), bytes.begin() + std::ptrdiff_t(n));
            EXPECT_LE(parse_vcards({cut.data(), n}).people.size(), book.people.size()) << n;
        }
    }
}

TEST(Vcard, BrokenCardsAreReportedAndTheRestKept) {
    const VcardBook book = parse_vcards(
        "BEGIN:VCARD\r\nFN:Ohne Ende\r\nBDAY:1970-01-01\r\n"                  // 1-3: no END
        "BEGIN:VCARD\r\nFN:Gut\r\nBDAY:1971-02-02\r\nEND:VCARD\r\n"           // 4-7
        "BEGIN:VCARD\r\nFN:Falsch\r\nBDAY:1971-02-30\r\nEND:VCARD\r\n"        // 8-11
        "BEGIN:VCARD\r\nFN:Text\r\nBDAY;VALUE=text:um 1800\r\nEND:VCARD\r\n"  // 12-15
        "BEGIN:VCARD\r\nFN:Kein Geburtstag\r\nEND:VCARD\r\n"                  // 16-18
        "BEGIN:VCARD\r\nBDAY:1972-03-03\r\nEND:VCARD\r\n"                     // 19-21
        "END:VCARD\r\n"                                                       // 22
        "BEGIN:VCARD\r\nEMAIL:x@example.org\r\nEND:VCARD\r\n");               // 23-25
    EXPECT_EQ(book.people, (std::vector<VcardPerson>{{"Gut", {1971, 2, 2}, 4}}));
    EXPECT_EQ(book.without_birthday, 2);
    EXPECT_EQ(book.problems, (std::vector<VcardProblem>{
                                 {1, "vCard ohne END:VCARD"},
                                 {10, "BDAY ist kein Datum: 1971-02-30"},
                                 {14, "BDAY ist kein Datum: um 1800"},
                                 {19, "vCard ohne Namen (FN oder N)"},
                                 {22, "END:VCARD ohne BEGIN:VCARD"},
                             }));

    // A file that says UTF-8 (its byte-order mark) but holds another byte: name
    // and report read it as Windows-1252, never as broken UTF-8.
    const VcardBook marked = parse_vcards(
        "\xEF\xBB\xBF"
        "BEGIN:VCARD\r\nFN:Marta\r\nBDAY;VALUE=text:M\xE4rz\r\nEND:VCARD\r\n"
        "BEGIN:VCARD\r\nFN:J\xFCrgen\r\nBDAY:1970-01-02\r\nEND:VCARD\r\n");
    EXPECT_EQ(marked.people, (std::vector<VcardPerson>{{"J\u00fcrgen", {1970, 1, 2}, 5}}));
    EXPECT_EQ(marked.problems, (std::vector<VcardProblem>{{3, "BDAY ist kein Datum: M\u00e4rz"}}));
}

}  // namespace
}  // namespace merkwald
