#include "editing/converter.h"

#include <optional>
#include <system_error>

#include "editing/reminder_document.h"
#include "engine/number.h"
#include "engine/text.h"

namespace merkwald {

namespace fs = std::filesystem;

namespace {

constexpr std::array<std::string_view, 16> kEnglish = {
    "black",     "blue",         "green",  "cyan",      "red",        "magenta",
    "armygreen", "lightgray",    "gray",   "lightblue", "lightgreen", "lightcyan",
    "lightred",  "lightmagenta", "yellow", "white"};
// Red has no German word.
constexpr std::array<std::string_view, 16> kGerman = {
    "schwarz", "blau",     "grün",     "cyan",     "",        "magenta",     "oliv", "hellgrau",
    "grau",    "hellblau", "hellgrün", "hellcyan", "hellrot", "hellmagenta", "gelb", "weiss"};

}  // namespace

int colour_index(std::string_view word) {
    for (std::size_t i = 0; i < kEnglish.size(); ++i) {
        if (word == kEnglish[i]) return int(i);
    }
    for (std::size_t i = 0; i < kGerman.size(); ++i) {
        if (!kGerman[i].empty() && word == kGerman[i]) return int(i);
    }
    return 0;
}

std::string convert_line(std::string line) {
    tabs_to_spaces(line);
    const SplitLine split = split_tag_line(line);
    if (split.kind == LineKind::tag && split.name == "color" && leading_value(split.value) == 0) {
        return "<color=" + int_text(kTextModePalette[std::size_t(colour_index(split.value))]) + ">";
    }
    return line;
}

ConvertCheck check_conversion(const std::string& input_name, const std::string& output_name,
                              const fs::path& input, const fs::path& output) {
    std::error_code ec;
    if (equals_ignore_case(input_name, output_name) || same_file(input, output)) {
        return ConvertCheck::same_file;
    }
    if (input_name.empty() || !fs::is_regular_file(input, ec)) return ConvertCheck::missing_input;
    if (fs::is_regular_file(output, ec)) return ConvertCheck::output_exists;
    return ConvertCheck::ok;
}

std::string_view check_message(ConvertCheck check) {
    switch (check) {
        case ConvertCheck::same_file:
            return "Ausgabedatei kann nicht gleich Eingabedatei sein!";
        case ConvertCheck::missing_input:
            return "Zu Konvertierende Datei nicht vorhanden!";
        case ConvertCheck::output_exists:
            return "Zieldatei wird überschrieben!";
        case ConvertCheck::ok:
            break;
    }
    return {};
}

WriteOutcome convert_file(const fs::path& input, const fs::path& output) {
    if (same_file(input, output))
        return WriteOutcome::worded(std::string(check_message(ConvertCheck::same_file)));
    std::string reason;
    const std::optional<ReminderDocument> source = load_document(input, &reason);
    if (!source) return WriteOutcome::worded(reason);
    ReminderDocument converted;
    converted.encoding = source->encoding;
    converted.byte_order_mark = source->byte_order_mark;
    std::vector<std::string> lines;
    lines.reserve(source->lines.size());
    for (const DocumentLine& line : source->lines) lines.push_back(convert_line(line.text));
    converted.lines = new_lines(lines);
    return write_file_safely(output, document_bytes(converted));
}

}  // namespace merkwald
