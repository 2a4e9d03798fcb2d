// Working on the reminder files themselves: `check` and `add`.

#include <optional>
#include <ostream>

#include "cli.h"
#include "editing/entry_records.h"
#include "editing/templates.h"
#include "engine/date_text.h"
#include "engine/file_check.h"
#include "engine/number.h"
#include "engine/text_file.h"

namespace merkwald::cli {

namespace {

constexpr std::string_view kCheckUsage = "Aufruf: merkwald-cli check [--file DATEI]\n";
constexpr std::string_view kAddUsage =
    "Aufruf: merkwald-cli add birthday NAME DATUM [--template N] [--lead-days N] [--file DATEI]\n"
    "                     [--utf8]\n"
    "        merkwald-cli add appointment TEXT DATUM [HH:MM] [--template N] [--lead-days N]\n"
    "                     [--file DATEI] [--utf8]\n";

struct AddRequest {
    EntryKind kind = EntryKind::birthday;
    std::vector<std::string> words;      // name or text, date, and for appointments the time
    std::optional<int> template_number;  // counted from 1
    std::optional<std::string> lead_days;
    std::optional<std::string> file;
    bool utf8 = false;  // a Windows-1252 file may become UTF-8
};

// A whole number of digits only that fits the record's 16-bit fields.
std::optional<int> small_number(const std::string& text) {
    if (text.empty() || text.size() > 5 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int n = std::stoi(text);
    return n <= 32767 ? std::optional<int>(n) : std::nullopt;
}

// nullopt with the message already written on any bad argument.
std::optional<AddRequest> parse_add(const std::vector<std::string>& args, Context& ctx) {
    AddRequest r;
    if (args.empty() || (args[0] != "birthday" && args[0] != "appointment")) return std::nullopt;
    r.kind = args[0] == "birthday" ? EntryKind::birthday : EntryKind::appointment;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (!args[i].starts_with("--")) {
            r.words.push_back(args[i]);
            continue;
        }
        if (args[i] == "--utf8") {
            r.utf8 = true;
            continue;
        }
        std::string name, value;
        if (!take_name_value(args, i, name, value)) return std::nullopt;
        if (name == "--template") {
            r.template_number = small_number(value);
            if (!r.template_number || *r.template_number < 1) return std::nullopt;
        } else if (name == "--lead-days") {
            if (!small_number(value)) {
                ctx.err << "Der Vorlauf muss eine Zahl von 0 bis 32767 sein.\n";
                return std::nullopt;
            }
            r.lead_days = value;
        } else if (name == "--file" && !value.empty()) {
            r.file = command_line_file(ctx, value);
        } else {
            return std::nullopt;
        }
    }
    const std::size_t most = r.kind == EntryKind::birthday ? 2 : 3;
    if (r.words.size() < 2 || r.words.size() > most) return std::nullopt;
    return r;
}

// "14:30" -> " um 14:30 Uhr"; nullopt for anything that is no time of day.
std::optional<std::string> time_suffix(const std::string& text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos) return std::nullopt;
    const auto hour = small_number(text.substr(0, colon));
    const std::string minute_text = text.substr(colon + 1);
    const auto minute = small_number(minute_text);
    if (!hour || !minute || *hour > 23 || *minute > 59 || minute_text.size() != 2)
        return std::nullopt;
    return " um " + std::to_string(*hour) + ":" + minute_text + " Uhr";
}

// The dialog's fields as the command line fills them; the presets where it says nothing.
// nullopt when the time of an appointment is no time.
std::optional<EntryInput> entry_input(const AddRequest& request, const Context& ctx, int count) {
    const EntryPresets presets = entry_presets(ctx.entry_settings, request.kind, count);
    EntryInput input;
    input.name = request.words[0];
    input.date = request.words[1];
    if (request.words.size() == 3) {
        const auto suffix = time_suffix(request.words[2]);
        if (!suffix) return std::nullopt;
        input.name += *suffix;
    }
    input.template_position =
        request.template_number ? *request.template_number - 1 : presets.template_position;
    input.style = {presets.color, ctx.entry_settings.record_color,
                   request.lead_days.value_or(presets.lead_time)};
    return input;
}

int usage_error(Context& ctx, std::string_view message) {
    ctx.err << message;
    return kExitUsage;
}

// The record as save_entry writes it, for the confirmation on standard output.
void print_record(Context& ctx, EntryKind kind, const EntryInput& input,
                  const std::vector<TextTemplate>& templates) {
    const std::string date = written_date(*parse_date(input.date));
    const std::string line =
        template_line(template_at(templates, input.template_position), input.name);
    for (const std::string& l : entry_record_lines(kind, date, input.style, line))
        ctx.out << l << '\n';
}

}  // namespace

int run_check(const std::vector<std::string>& args, Context& ctx) {
    std::string file = ctx.data_filename;
    std::string typed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name, value;
        if (!take_name_value(args, i, name, value) || name != "--file" || value.empty()) {
            ctx.err << kCheckUsage;
            return kExitUsage;
        }
        typed = value;
        file = command_line_file(ctx, value);
    }
    const EngineState state(ctx.engine, ctx.today, ctx.program_folder);
    std::vector<FileProblem> problems = check_files(state, file);
    for (FileProblem& p : problems) {
        // The file named on the command line is reported as it was typed.
        if (!typed.empty() && p.file == file) p.file = typed;
        ctx.out << problem_line(p) << '\n';
    }
    return problems.empty() ? kExitOk : kExitFailure;
}

int run_add(const std::vector<std::string>& args, Context& ctx) {
    // Bytes of another character set would make the whole file invalid UTF-8,
    // and then every umlaut of it would be read as Windows-1252.
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (is_valid_utf8(args[i])) continue;
        ctx.err << "Das " << i + 1
                << ". Argument nach \"add\" ist kein gültiger UTF-8-Text (Zeichensatz des "
                   "Terminals?); es wurde nichts geschrieben.\n";
        return kExitUsage;
    }
    auto request = parse_add(args, ctx);
    if (!request) return usage_error(ctx, kAddUsage);
    const EntryKind kind = request->kind;
    StderrSink sink(ctx.err);
    const TemplateTable table = kind == EntryKind::birthday
                                    ? load_birthday_templates(ctx.program_folder, sink)
                                    : load_appointment_templates(ctx.program_folder, sink);
    if (!table.found) return kExitFailure;
    const int count = int(table.templates.size());
    if (request->template_number && *request->template_number > count) {
        ctx.err << "Die Vorlage " << *request->template_number << " gibt es nicht (1 bis " << count
                << ").\n";
        return kExitUsage;
    }
    const auto input = entry_input(*request, ctx, count);
    if (!input) return usage_error(ctx, "Falsche Uhrzeit, erwartet wird HH:MM.\n");

    const auto target =
        resolve_file_name(ctx.program_folder, request->file.value_or(ctx.data_filename));
    const SaveOutcome outcome = save_entry(kind, target, *input, table.templates, ctx.today,
                                           request->utf8 ? Utf8Change::allowed : Utf8Change::ask);
    switch (outcome.check) {
        case EntryCheck::no_name:
            return usage_error(ctx, std::string(no_name_message(kind)) + '\n');
        case EntryCheck::bad_date:
        case EntryCheck::bad_field:
            return usage_error(
                ctx,
                (outcome.problem.empty() ? std::string(kBadEntryDate) : outcome.problem) + '\n');
        case EntryCheck::ok:
            break;
    }
    if (outcome.write.is(WriteFailure::needs_utf8)) {
        return usage_error(ctx, "Die Datei " + target.string() +
                                    " ist in Windows-1252 gespeichert, das den neuen Text nicht "
                                    "fassen kann. Mit --utf8 wird die ganze Datei in UTF-8 "
                                    "umgewandelt; es wurde nichts geschrieben.\n");
    }
    if (!outcome.write.ok()) {
        ctx.err << german_text(outcome.write) << '\n';
        return kExitFailure;
    }
    print_record(ctx, kind, *input, table.templates);
    return kExitOk;
}

}  // namespace merkwald::cli
