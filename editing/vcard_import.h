#pragma once
// "Geburtstage aus Adressbuch importieren": which people of an address book are
// new to the target file, and appending the chosen ones as birthday records
// through the entry dialogs' file function.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editing/entry_records.h"
#include "engine/vcard.h"

namespace merkwald {

// A birthday without a year is written as a yearly record in this year: a leap
// year, so 29 February stays a day of its own, and far enough back that an age
// shown by a template edited later is plainly no real one. Its text comes from
// a template that shows nothing of the year (year_less_template).
inline constexpr int kNoBirthYear = 1904;

struct VcardCandidate {
    VcardPerson person;
    bool already_there = false;  // same whole name and same day and month in the target
};

// The people of `book`, each marked when `target_text` (the target file's text)
// has a record, as the reader reads it, with a date on the same day and month
// and the person's name as a whole (not "Anna" inside "Annalena") in its text.
// Linear in the sizes of both.
[[nodiscard]] std::vector<VcardCandidate> vcard_candidates(const VcardBook& book,
                                                           std::string_view target_text);

// The record date: "17.05.1980", or "17.05.1904" for a card without a year.
[[nodiscard]] std::string vcard_record_date(const VcardBirthday& birthday);
// As the preview shows it: "17.05.1980", or "17.05." without a year.
[[nodiscard]] std::string vcard_birthday_text(const VcardBirthday& birthday);
// The age the person reaches on the next birthday (today's, when it is today);
// nullopt without a year.
[[nodiscard]] std::optional<int> age_at_next_birthday(const VcardBirthday& birthday,
                                                      DaySerial today);

// true when the template shows anything that comes from the birth year: an age,
// a distance from the birth date, the birth date's year or weekday.
[[nodiscard]] bool uses_birth_year(const TextTemplate& text);

// The template for a birthday without a year: the chosen one when it shows
// nothing of the year, else the first such template of the list, else
// "hat <days_before_event_text> Geburtstag (<event_dddd>, <event_d.mmmm>)".
[[nodiscard]] TextTemplate year_less_template(const std::vector<TextTemplate>& templates,
                                              int position);

struct VcardImportOutcome {
    int written = 0;
    std::string problem;  // German; empty when everything was written
    WriteOutcome write;
};

// Appends one birthday record per person, all in one write, with the text of
// template `position` around the name (year_less_template's for a birthday
// without a year). A birthday after `today` or a field the reader would not
// read back stops the import before anything is written.
[[nodiscard]] VcardImportOutcome append_vcard_birthdays(const std::filesystem::path& target,
                                                        const std::vector<VcardPerson>& people,
                                                        const std::vector<TextTemplate>& templates,
                                                        int position, const RecordStyle& style,
                                                        DaySerial today,
                                                        Utf8Change utf8 = Utf8Change::allowed);

}  // namespace merkwald
