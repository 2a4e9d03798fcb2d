#pragma once
// The people and birthdays of an address book export (vCard 2.1, 3.0 and 4.0),
// for the birthday import.

#include <string>
#include <string_view>
#include <vector>

namespace merkwald {

struct VcardBirthday {
    int year = 0;  // 0: the card gives day and month only
    int month = 0;
    int day = 0;
    friend bool operator==(const VcardBirthday&, const VcardBirthday&) = default;
};

struct VcardPerson {
    std::string name;  // FN, or built from N when FN is missing or empty; UTF-8
    VcardBirthday birthday;
    long long line = 0;  // the line of its BEGIN:VCARD
    friend bool operator==(const VcardPerson&, const VcardPerson&) = default;
};

struct VcardProblem {
    long long line = 0;
    std::string text;  // German
    friend bool operator==(const VcardProblem&, const VcardProblem&) = default;
};

struct VcardBook {
    std::vector<VcardPerson> people;  // those with a name and a birthday, in file order
    int without_birthday = 0;         // cards without BDAY (an e-mail address only): no fault
    std::vector<VcardProblem> problems;
};

// `bytes` is the file's content, undecoded: UTF-8 or UTF-16 after a byte-order
// mark, else UTF-8 when the whole file is, else each value per its CHARSET, else
// Windows-1252 (quoted-printable values likewise after decoding). Folded lines
// are joined in linear time. A year equal to BDAY's X-APPLE-OMIT-YEAR means
// none; the card nested in a vCard 2.1 AGENT is skipped with its lines. A
// broken card is reported and skipped; the rest is kept.
[[nodiscard]] VcardBook parse_vcards(std::string_view bytes);

// "1980-05-17", "19800517", "--0517", "--05-17", also with a time after "T";
// false for anything else or an impossible day.
[[nodiscard]] bool parse_vcard_date(std::string_view text, VcardBirthday& out);

}  // namespace merkwald
