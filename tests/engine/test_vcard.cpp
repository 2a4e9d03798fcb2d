// Birthdays out of address book exports, one hand-written card per form.

#include <gtest/gtest.h>

#include "engine/vcard.h"

namespace merkwald {
namespace {

VcardBook parse(std::string_view text) { return parse_vcards(text); }

TEST(Vcard, EachVersionAndForm) {
    struct Row {
        std::string_view card;
        VcardPerson person;
    };
    const Row rows[] = {
        // 4.0, basic date, folded FN, escaped comma, a group prefix
        {"BEGIN:VCARD\nVERSION:4.0\nitem1.FN:Anna\n  Maria\\, die Zweite\nBDAY:19851224\n"
         "END:VCARD\n",
         {"Anna Maria, die Zweite", {1985, 12, 24}, 1}},
        // 4.0 without a year; no FN, the name from N
        {"BEGIN:VCARD\r\nVERSION:4.0\r\nN:Schulz;Bernd;Karl;Dr.;\r\nBDAY:--0229\r\nEND:VCARD\r\n",
         {"Dr. Bernd Karl Schulz", {0, 2, 29}, 1}},
        // 3.0 with the extended no-year form
        {"BEGIN:VCARD\r\nFN:Clara\r\nBDAY;VALUE=date:--05-17\r\nEND:VCARD\r\n",
         {"Clara", {0, 5, 17}, 1}},
        // 2.1, quoted-printable in ISO-8859-1 with a soft line break
        {"BEGIN:VCARD\r\nVERSION:2.1\r\n"
         "FN;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:Eva Schr=F6der-=\r\nWei=DF\r\n"
         "BDAY:1999-09-09\r\nEND:VCARD\r\n",
         {"Eva Schröder-Weiß", {1999, 9, 9}, 1}},
        // 2.1, quoted-printable UTF-8 with the bare parameter form
        {"BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=UTF-8;QUOTED-PRINTABLE:Kr=C3=BCger;Greta\r\n"
         "BDAY:19771111\r\nEND:VCARD\r\n",
         {"Greta Krüger", {1977, 11, 11}, 1}},
    };
    for (const Row& row : rows) {
        const VcardBook book = parse(row.card);
        EXPECT_TRUE(book.problems.empty()) << row.card;
        ASSERT_EQ(book.people.size(), 1u) << row.card;
        EXPECT_EQ(book.people[0], row.person) << row.card;
    }
}

TEST(Vcard, BrokenCardsAreReportedAndTheRestKept) {
    const VcardBook book = parse(
        "BEGIN:VCARD\r\nFN:Ohne Ende\r\nBDAY:1970-01-01\r\n"                  // 1-3: no END
        "BEGIN:VCARD\r\nFN:Gut\r\nBDAY:1971-02-02\r\nEND:VCARD\r\n"           // 4-7
        "BEGIN:VCARD\r\nFN:Falsch\r\nBDAY:1971-02-30\r\nEND:VCARD\r\n"        // 8-11
        "BEGIN:VCARD\r\nFN:Text\r\nBDAY;VALUE=text:um 1800\r\nEND:VCARD\r\n"  // 12-15
        "BEGIN:VCARD\r\nFN:Kein Geburtstag\r\nEND:VCARD\r\n"                  // 16-18
        "BEGIN:VCARD\r\nBDAY:1972-03-03\r\nEND:VCARD\r\n"                     // 19-21
        "END:VCARD\r\n");                                                     // 22
    ASSERT_EQ(book.people.size(), 1u);
    EXPECT_EQ(book.people[0], (VcardPerson{"Gut", {1971, 2, 2}, 4}));
    EXPECT_EQ(book.without_birthday, 1);
    EXPECT_EQ(book.problems, (std::vector<VcardProblem>{
                                 {1, "vCard ohne END:VCARD"},
                                 {10, "BDAY ist kein Datum: 1971-02-30"},
                                 {14, "BDAY ist kein Datum: um 1800"},
                                 {19, "vCard ohne Namen (FN oder N)"},
                                 {22, "END:VCARD ohne BEGIN:VCARD"},
                             }));
}

}  // namespace
}  // namespace merkwald
