#include "editors/vcard_import.h"

#include <cstdio>
#include <regex>

#include "editors/record_file.h"
#include "engine/date_text.h"
#include "engine/text.h"
#include "engine/text_file.h"

namespace merkwald {

namespace {

struct DayMonth {
    int day = 0;
    int month = 0;
};

// "17.05.1980", "17.05.", "17.5.80": the day and month of a record's date.
std::optional<DayMonth> day_month_of(std::string_view value) {
    int day = 0, month = 0;
    const std::string text(trim_blanks(value));
    if (std::sscanf(text.c_str(), "%d.%d", &day, &month) != 2) return std::nullopt;
    return DayMonth{day, month};
}

struct TargetRecord {
    std::optional<DayMonth> date;
    std::string text;
};

std::vector<TargetRecord> target_records(std::string_view text) {
    std::vector<TargetRecord> records;
    TargetRecord current;
    bool inside = false;
    for_each_line(text, [&](std::string_view raw) {
        const std::string line(trim_blanks(raw));
        if (line == "<record>") {
            current = {};
            inside = true;
        } else if (line == "</record>") {
            if (inside) records.push_back(current);
            inside = false;
        } else if (inside && line.rfind("<date=", 0) == 0) {
            current.date = day_month_of(std::string_view(line).substr(6));
        } else if (inside && !(line.starts_with('<') && line.ends_with('>'))) {
            current.text += line + '\n';
        }
        return true;
    });
    return records;
}

}  // namespace

std::vector<VcardCandidate> vcard_candidates(const VcardBook& book, std::string_view target_text) {
    const std::vector<TargetRecord> records = target_records(target_text);
    std::vector<VcardCandidate> out;
    for (const VcardPerson& person : book.people) {
        VcardCandidate candidate{person, false};
        for (const TargetRecord& record : records) {
            if (record.date && record.date->day == person.birthday.day &&
                record.date->month == person.birthday.month &&
                record.text.find(person.name) != std::string::npos) {
                candidate.already_there = true;
                break;
            }
        }
        out.push_back(std::move(candidate));
    }
    return out;
}

std::string vcard_record_date(const VcardBirthday& birthday) {
    char text[16];
    if (birthday.year == 0) {
        std::snprintf(text, sizeof text, "%02d.%02d.", birthday.day, birthday.month);
    } else {
        std::snprintf(text, sizeof text, "%02d.%02d.%04d", birthday.day, birthday.month,
                      birthday.year);
    }
    return text;
}

TextTemplate without_age(TextTemplate text) {
    // The age and the word or full stop that belongs to it; then what is left empty.
    static const std::regex age(R"(\s*<(full_)?years_after_date>(\.|\s+Jahren?\b)?)");
    static const std::regex empty_brackets(R"(\s*\(\s*\))");
    static const std::regex blanks(R"(  +)");
    for (std::string* part : {&text.before, &text.after}) {
        *part = std::regex_replace(*part, age, "");
        *part = std::regex_replace(*part, empty_brackets, "");
        *part = std::regex_replace(*part, blanks, " ");
    }
    return text;
}

VcardImportOutcome append_vcard_birthdays(const std::filesystem::path& target,
                                          const std::vector<VcardPerson>& people,
                                          const TextTemplate& text, const RecordStyle& style,
                                          DaySerial today, Utf8Change utf8) {
    std::vector<std::string> lines;
    for (const VcardPerson& person : people) {
        const VcardBirthday& b = person.birthday;
        if (b.year != 0) {
            const auto day = make_date(b.year, b.month, b.day);
            if (!day || *day > today)
                return {0, person.name + ": " + std::string(kFutureBirthday), {}};
        }
        const std::string line = template_line(b.year == 0 ? without_age(text) : text, person.name);
        if (auto problem = check_entry_fields(style, line))
            return {0, person.name + ": " + *problem, {}};
        lines.emplace_back();
        for (std::string& l :
             entry_record_lines(EntryKind::birthday, vcard_record_date(b), style, line))
            lines.push_back(std::move(l));
    }
    if (lines.empty()) return {};
    lines.emplace_back();
    VcardImportOutcome outcome;
    outcome.write = append_lines(target, lines, utf8);
    if (outcome.write.ok) outcome.written = int(people.size());
    return outcome;
}

}  // namespace merkwald
