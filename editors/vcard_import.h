#pragma once
// "Geburtstage aus Adressbuch importieren": which people of an address book are
// new to the target file, and appending the chosen ones as birthday records
// through the entry dialogs' file function.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "editors/entry_records.h"
#include "engine/vcard.h"

namespace merkwald {

struct VcardCandidate {
    VcardPerson person;
    bool already_there = false;  // same name and same day and month in the target
};

// The people of `book`, each marked when `target_text` (the target file's text)
// has a record with the person's name in its text and a date on the same day
// and month.
[[nodiscard]] std::vector<VcardCandidate> vcard_candidates(const VcardBook& book,
                                                           std::string_view target_text);

// The record date: "17.05.1980", or "17.05." for a card without a year.
[[nodiscard]] std::string vcard_record_date(const VcardBirthday& birthday);

// A template's text without the age: without a year there is none to show.
[[nodiscard]] TextTemplate without_age(TextTemplate text);

struct VcardImportOutcome {
    int written = 0;
    std::string problem;  // German; empty when everything was written
    WriteOutcome write;
};

// Appends one birthday record per person, all in one write, with the template's
// text around the name (without the age for a birthday without a year). A
// birthday after `today` or a field the reader would not read back stops the
// import before anything is written.
[[nodiscard]] VcardImportOutcome append_vcard_birthdays(const std::filesystem::path& target,
                                                        const std::vector<VcardPerson>& people,
                                                        const TextTemplate& text,
                                                        const RecordStyle& style, DaySerial today,
                                                        Utf8Change utf8 = Utf8Change::allowed);

}  // namespace merkwald
