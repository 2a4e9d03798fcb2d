#include "editors/field_checks.h"

#include <array>
#include <charconv>

#include "editors/reminder_document.h"
#include "engine/number.h"
#include "engine/reader.h"
#include "engine/text.h"

namespace merkwald {

namespace {

// The tags whose lines the tools write themselves or the reader acts on in a
// way a text line must not: a typed line like these would change the record.
constexpr std::array<std::string_view, 11> kWrittenTags = {
    "record",          "/record",    "add_file",    "date",  "color", "active_before",
    "periodic_repeat", "active_day", "active_week", "group", "active"};

constexpr std::array<std::string_view, 4> kActiveValues = {"always", "once", "periodic", "monthly"};

}  // namespace

std::optional<std::string> check_number(std::string_view label, std::string_view text, long low,
                                        long high, bool empty_allowed) {
    const std::string_view value = trim_blanks(text);
    if (value.empty() && empty_allowed) return std::nullopt;
    long number = 0;
    const char* begin = value.data();
    if (!value.empty() && value.front() == '+') ++begin;
    const char* end = value.data() + value.size();
    const auto [stop, error] = std::from_chars(begin, end, number);
    if (!value.empty() && error == std::errc() && stop == end && number >= low && number <= high) {
        return std::nullopt;
    }
    return std::string(label) + ": erlaubt sind ganze Zahlen von " + int_text(low) + " bis " +
           int_text(high) + ".";
}

bool reads_as_tag(std::string_view line) {
    // The line as it will be written: a control character before a tag becomes a blank.
    const SplitLine split = split_as_read(blank_controls(std::string(line)));
    if (split.kind != LineKind::tag) return false;
    // Tags the tools keep as text lines of a record are harmless as long as the
    // reader can hold their number.
    if (!number_value_fits(split.name, split.value)) return true;
    for (const std::string_view tag : kWrittenTags) {
        if (split.name != tag) continue;
        if (tag != "active") return true;
        for (const std::string_view value : kActiveValues) {
            if (split.value == value) return true;
        }
    }
    return false;
}

std::optional<std::string> check_text(std::string_view label, std::string_view text) {
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (reads_as_tag(line)) {
            return std::string(label) + ": die Zeile \"" + std::string(line) +
                   "\" würde als Steuerzeile gelesen. Bitte ändern.";
        }
        pos = end + 1;
    }
    return std::nullopt;
}

std::optional<FieldProblem> check_record_fields(const RecordFields& f) {
    const RecordMode mode = f.mode.value_or(RecordMode::yearly);
    if (mode != RecordMode::always) {
        if (auto m = check_number("Vorlaufzeit (Tage)", f.lead_time, 0, kLargestNumber, true)) {
            return FieldProblem{"Combo2", *m};
        }
    }
    if (mode == RecordMode::periodic) {
        if (auto m = check_number("Periode (Tage)", f.period, 1, kLargestNumber, true)) {
            return FieldProblem{"Combo3", *m};
        }
    }
    if (mode == RecordMode::monthly) {
        if (auto m = check_number("Wievielter im Monat", f.ordinal, 1, kLargestNumber, false)) {
            return FieldProblem{"Text1", *m};
        }
    }
    if (f.group.find('>') != std::string::npos || f.group.find('\n') != std::string::npos) {
        return FieldProblem{"Combo5",
                            "Gruppe: die Zeichen \">\" und Zeilenumbrüche sind nicht "
                            "erlaubt."};
    }
    if (auto m = check_text("Text", f.text)) return FieldProblem{"RTBox1", *m};
    return std::nullopt;
}

}  // namespace merkwald
