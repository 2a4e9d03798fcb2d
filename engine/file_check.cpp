#include "file_check.h"

#include <algorithm>

#include "date_text.h"
#include "line_source.h"
#include "messages.h"
#include "number.h"
#include "placeholders.h"
#include "reader.h"
#include "refresh.h"
#include "tags.h"
#include "text.h"

namespace merkwald {

namespace {

class FileChecker {
public:
    FileChecker(const EngineState& state, std::string file, bool main_file,
                std::vector<FileProblem>& out)
        : state_(state), file_(std::move(file)), main_(main_file), out_(out) {}

    void line(long long number, std::string_view prepared);
    void finish();

private:
    void report(long long line, std::string text) {
        out_.push_back({file_, line, std::move(text)});
    }
    void tag(long long number, const std::string& name, std::string_view value,
             std::string_view prepared);
    void text(long long number, std::string_view prepared);
    void end_record(long long number);

    const EngineState& state_;
    std::string file_;
    bool main_;
    std::vector<FileProblem>& out_;
    long long open_ = 0;  // line of the open `<record>`, 0 when none is open
    std::string record_text_;
    std::vector<std::pair<std::size_t, long long>> text_lines_;  // offset in record_text_, line
};

void FileChecker::line(long long number, std::string_view prepared) {
    const SplitView split = split_prepared_line(prepared);
    const std::string name = to_lower(trim_blanks(split.name));
    if (split.kind != LineKind::tag || !is_reader_tag(name)) {
        // An unknown `<name=value>` line is most likely a misspelt tag.
        if (split.kind == LineKind::tag && prepared.find('=') != std::string_view::npos &&
            prepared.ends_with('>') && std::count(prepared.begin(), prepared.end(), '<') == 1)
            report(number, "unbekannte Markierung, die Zeile wird als Text gezeigt: " +
                               std::string(prepared));
        text(number, prepared);
        return;
    }
    tag(number, name, trim_blanks(split.value), prepared);
}

void FileChecker::tag(long long number, const std::string& name, std::string_view value,
                      std::string_view prepared) {
    const std::string shown(prepared);
    const Tag t = find_tag(name);
    if (t == Tag::record) {
        if (open_) report(open_, "Datensatz ohne Ende: <record> ohne </record>");
        open_ = number;
        record_text_.clear();
        text_lines_.clear();
    } else if (t == Tag::end_record) {
        end_record(number);
    } else if (t == Tag::date) {
        if (!value.empty() && !parse_date(value)) report(number, "kein gültiges Datum: " + shown);
    } else if (t == Tag::add_file) {
        if (!main_ && !state_.settings.light)
            report(number, "add_file wirkt nur in der Hauptdatei, die Zeile wird als Text gezeigt");
        else if (!file_exists(state_.resolve(std::string(value))))
            report(number, "verknüpfte Datei fehlt: " + std::string(value));
    } else if (t == Tag::active) {
        if (!is_active_value(value)) {
            report(number, "unbekannter Wert, die Zeile wird als Text gezeigt: " + shown);
            text(number, prepared);
        }
    } else if (t != Tag::group && !number_value_fits(name, value)) {
        report(number, "Zahl außerhalb des Bereichs (das Programm meldet \"" +
                           std::string(kFileNotFound) +
                           "\" und liest die Datei nicht weiter): " + shown);
    }
}

void FileChecker::text(long long number, std::string_view prepared) {
    text_lines_.emplace_back(record_text_.size(), number);
    record_text_.append(prepared);
    record_text_.append("\r\n");
}

void FileChecker::end_record(long long number) {
    if (!open_) report(number, "</record> ohne <record>");
    if (const auto at = placeholder_syntax_error(record_text_)) {
        auto it = std::upper_bound(text_lines_.begin(), text_lines_.end(),
                                   std::pair{*at, static_cast<long long>(1) << 62});
        const auto& [offset, line] = *std::prev(it);
        const std::size_t end = record_text_.find("\r\n", offset);
        report(line,
               "Syntaxfehler in einem Platzhalter: " + record_text_.substr(offset, end - offset));
    }
    open_ = 0;
    record_text_.clear();
    text_lines_.clear();
}

void FileChecker::finish() {
    if (open_) report(open_, "Datensatz ohne Ende: <record> ohne </record>");
}

void check_one_file(const EngineState& state, const std::string& file, bool main_file,
                    std::vector<FileProblem>& out) {
    LineSource source(state.resolve(file));
    if (!source.is_open() || source.failed()) {
        out.push_back({file, 0, std::string(kFileNotFound)});
        return;
    }
    const std::size_t first = out.size();
    FileChecker checker(state, file, main_file, out);
    std::string prepared;
    std::string_view raw;
    long long number = 0;
    while (source.next(raw)) {
        prepared.assign(raw);
        tabs_to_spaces(prepared);
        checker.line(++number, trim_blanks(prepared));
    }
    if (source.failed()) out.push_back({file, number + 1, "Lesefehler"});
    checker.finish();
    // A record without end is only known later than the lines after its start.
    std::stable_sort(out.begin() + std::ptrdiff_t(first), out.end(),
                     [](const FileProblem& a, const FileProblem& b) { return a.line < b.line; });
}

}  // namespace

std::vector<FileProblem> check_files(const EngineState& state, const std::string& main_file) {
    // The refresh itself decides which files belong to the list.
    EngineState scratch = state;
    RefreshTables tables;
    tables.capture = RefreshTables::Capture::only;
    SilentSink silent;
    refresh(scratch, tables, main_file, silent);

    std::vector<FileProblem> problems;
    for (std::size_t i = 0; i < tables.files.size(); ++i)
        check_one_file(state, tables.files[i], i == 0, problems);
    return problems;
}

std::string problem_line(const FileProblem& problem) {
    return problem.file + ':' + int_text(problem.line) + ": " + problem.text;
}

}  // namespace merkwald
