#include "editing/field_checks.h"

#include <charconv>

#include "editing/reminder_document.h"
#include "engine/number.h"
#include "engine/reader.h"
#include "engine/tags.h"
#include "engine/text.h"

namespace merkwald {

namespace {

// A line the reader takes as a tag; an `active` line only with a value it knows.
bool is_tag_for_reader(const SplitLine& split, Tag tag) {
    return tag != Tag::none &&
           (tag != Tag::active || find_active_value(split.value) != ActiveValue::none);
}

// The tags the record editor loads into its text and writes back as text lines:
// the reader acts on them, and that is what the user wrote them for.
bool kept_as_text(Tag tag) {
    return tag == Tag::priority || tag == Tag::background || tag == Tag::active_after;
}

template <class Predicate>
std::optional<std::string> first_tag_line(std::string_view label, std::string_view text,
                                          Predicate reads_as) {
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (reads_as(line)) {
            return std::string(label) + ": die Zeile \"" + std::string(line) +
                   "\" würde als Steuerzeile gelesen. Bitte ändern.";
        }
        pos = end + 1;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> check_number(const NumberField& field) {
    const auto& [label, text, low, high, empty_allowed] = field;
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
    const Tag tag = find_tag(split.name);
    return is_tag_for_reader(split, tag) && !kept_as_text(tag);
}

bool reads_as_any_tag(std::string_view line) {
    const SplitLine split = split_as_read(blank_controls(std::string(line)));
    return split.kind == LineKind::tag && is_tag_for_reader(split, find_tag(split.name));
}

std::optional<std::string> check_text(std::string_view label, std::string_view text) {
    return first_tag_line(label, text, reads_as_tag);
}

std::optional<std::string> check_entry_text(std::string_view label, std::string_view text) {
    return first_tag_line(label, text, reads_as_any_tag);
}

std::optional<FieldProblem> check_record_fields(const RecordFields& f) {
    const RecordMode mode = f.mode.value_or(RecordMode::yearly);
    if (mode != RecordMode::always) {
        if (auto m = check_number(
                {.label = "Vorlaufzeit (Tage)", .text = f.lead_time, .empty_allowed = true})) {
            return FieldProblem{"Combo2", *m};
        }
    }
    if (mode == RecordMode::periodic) {
        if (auto m = check_number(
                {.label = "Periode (Tage)", .text = f.period, .low = 1, .empty_allowed = true})) {
            return FieldProblem{"Combo3", *m};
        }
    }
    if (mode == RecordMode::monthly) {
        if (auto m = check_number({.label = "Wievielter im Monat", .text = f.ordinal, .low = 1})) {
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
