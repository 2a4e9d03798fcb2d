#pragma once
// What the editing tools may write: every number as the reader reads it back,
// and no typed text that the reader would take for a tag or a record boundary.

#include <optional>
#include <string>
#include <string_view>

#include "editing/record_fields.h"

namespace merkwald {

struct FieldProblem {
    std::string field_name;  // the objectName of the field, for the focus
    std::string message;     // German, names the field and what it allows
};

inline constexpr long kLargestNumber = 32767;  // the reader keeps 16-bit numbers

// A number field as typed: its label, its text and what it allows. Named, so
// that neither the label and the text nor the bounds change places unnoticed.
struct NumberField {
    std::string_view label;
    std::string_view text;
    long low = 0;
    long high = kLargestNumber;
    bool empty_allowed = false;
};

// A whole number in [low, high] (an empty text only when `empty_allowed`);
// otherwise the message "<label>: erlaubt sind ganze Zahlen von <low> bis <high>."
[[nodiscard]] std::optional<std::string> check_number(const NumberField& field);

// A text line that the reader would take as one of the tags the tools write
// (`<record>`, `</record>`, `<date=...>`, ...) after its own preparation.
[[nodiscard]] bool reads_as_tag(std::string_view line);

// A line that the reader takes as any of its tags: an entry's text line, which
// must stay text whatever the template and the name hold.
[[nodiscard]] bool reads_as_any_tag(std::string_view line);

// The first text line that reads as a tag, as a message; nullopt when none does.
// check_text lets the tags the record editor keeps in its text pass
// (`priority`, `background`, `active_after`); check_entry_text none.
[[nodiscard]] std::optional<std::string> check_text(std::string_view label, std::string_view text);
[[nodiscard]] std::optional<std::string> check_entry_text(std::string_view label,
                                                          std::string_view text);

// Every field of the record editor that its mode writes.
[[nodiscard]] std::optional<FieldProblem> check_record_fields(const RecordFields& fields);

}  // namespace merkwald
