#include "editing/vcard_import.h"

#include <array>
#include <cstdio>
#include <unordered_map>

#include "editing/record_file.h"
#include "engine/date_text.h"
#include "engine/evaluate.h"
#include "engine/tags.h"
#include "engine/text.h"
#include "engine/text_file.h"

namespace merkwald {

namespace {

struct DayMonth {
    int day = 0;
    int month = 0;
};

// A date as the reader reads it; "17.05." as the import once wrote it (which
// the reader refuses) still names the day, so that person counts as known.
std::optional<DayMonth> day_month_of(std::string_view value) {
    if (const auto date = parse_date(value)) {
        const Ymd ymd = ymd_of(*date);
        return DayMonth{ymd.day, ymd.month};
    }
    int day = 0, month = 0;
    const std::string text(trim_blanks(value));
    if (std::sscanf(text.c_str(), "%d.%d", &day, &month) != 2) return std::nullopt;
    return DayMonth{day, month};
}

struct TargetRecord {
    DayMonth date;
    std::string text;  // the text lines, each followed by "\n"
};

// The dated records of the target as the reader reads them: tag names in any
// case, a line the reader does not take as a tag is text.
std::vector<TargetRecord> target_records(std::string_view text) {
    std::vector<TargetRecord> records;
    TargetRecord current;
    std::optional<DayMonth> date;
    bool inside = false;
    for_each_line(text, [&](std::string_view raw) {
        std::string line(raw);
        tabs_to_spaces(line);
        const SplitLine split = split_tag_line(line);
        const Tag tag = split.kind == LineKind::tag ? find_tag(split.name) : Tag::none;
        if (tag == Tag::record) {
            current = {};
            date.reset();
            inside = true;
        } else if (tag == Tag::end_record) {
            if (inside && date) {
                current.date = *date;
                records.push_back(std::move(current));
            }
            inside = false;
        } else if (tag == Tag::date) {
            date = day_month_of(split.value);
        } else if (tag == Tag::none ||
                   (tag == Tag::active && find_active_value(split.value) == ActiveValue::none)) {
            current.text += line + '\n';
        }
        return true;
    });
    return records;
}

// Letters (any non-ASCII byte counts as one), digits, and what joins the parts
// of a name: "Anna" is not a whole name inside "Anna-Lena" or "Annalena".
bool is_name_char(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') ||
           u >= 0x80 || c == '-' || c == '\'';
}

// The people looked up by day, month and the first word of the name.
class NameIndex {
public:
    explicit NameIndex(const std::vector<VcardPerson>& people) : people_(people) {
        for (std::size_t i = 0; i < people.size(); ++i) {
            const std::string& name = people[i].name;
            const std::size_t start = first_word_start(name);
            if (start == name.size()) continue;
            const VcardBirthday& b = people[i].birthday;
            index_[key(b.day, b.month, word_at(name, start))].push_back({i, start});
        }
    }

    // Marks every person whose whole name stands in the record's text.
    void mark(const TargetRecord& record, std::vector<bool>& found) const {
        const std::string& text = record.text;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (!is_name_char(text[i]) || (i > 0 && is_name_char(text[i - 1]))) continue;
            const auto hit = index_.find(key(record.date.day, record.date.month, word_at(text, i)));
            if (hit == index_.end()) continue;
            for (const Entry& e : hit->second)
                if (e.word_start <= i && whole_name_at(text, i - e.word_start, e.person))
                    found[e.person] = true;
        }
    }

private:
    struct Entry {
        std::size_t person;
        std::size_t word_start;  // where the first word starts in the name
    };

    static std::size_t first_word_start(const std::string& name) {
        std::size_t i = 0;
        while (i < name.size() && !is_name_char(name[i])) ++i;
        return i;
    }
    static std::string_view word_at(std::string_view text, std::size_t start) {
        std::size_t end = start;
        while (end < text.size() && is_name_char(text[end])) ++end;
        return text.substr(start, end - start);
    }
    static std::string key(int day, int month, std::string_view word) {
        std::string k{char(day), char(month)};
        return k.append(word);
    }
    bool whole_name_at(const std::string& text, std::size_t start, std::size_t person) const {
        const std::string& name = people_[person].name;
        if (text.compare(start, name.size(), name) != 0) return false;
        const std::size_t end = start + name.size();
        const bool open_start =
            start == 0 || !is_name_char(text[start - 1]) || !is_name_char(name.front());
        const bool open_end =
            end == text.size() || !is_name_char(text[end]) || !is_name_char(name.back());
        return open_start && open_end;
    }

    const std::vector<VcardPerson>& people_;
    std::unordered_map<std::string, std::vector<Entry>> index_;
};

// The placeholders whose value depends on the record date's year: ages and
// distances from the birth date, its year and its weekday.
constexpr std::array<std::string_view, 25> kYearBound = {"years_after_date",
                                                         "full_years_after_date",
                                                         "days_after_date",
                                                         "weeks_after_date",
                                                         "months_after_date",
                                                         "days_before_date",
                                                         "weeks_before_date",
                                                         "months_before_date",
                                                         "years_before_date",
                                                         "ddd",
                                                         "dddd",
                                                         "ddddd",
                                                         "w",
                                                         "ww",
                                                         "y",
                                                         "yy",
                                                         "yyyy",
                                                         "d.m.yy",
                                                         "d.m.yyyy",
                                                         "dd.mm.yy",
                                                         "dd.mm.yyyy",
                                                         "d.mmm.yy",
                                                         "d.mmm.yyyy",
                                                         "d.mmmm.yy",
                                                         "d.mmmm.yyyy"};

bool text_uses_birth_year(std::string_view text) {
    for (std::size_t open = text.find('<'); open != std::string_view::npos;
         open = text.find('<', open + 1)) {
        const std::size_t close = text.find('>', open);
        if (close == std::string_view::npos) return false;
        const std::string_view name = text.substr(open + 1, close - open - 1);
        for (const std::string_view bound : kYearBound)
            if (name == bound) return true;
    }
    return false;
}

std::string two_digits(int n) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", n);
    return text;
}

}  // namespace

std::vector<VcardCandidate> vcard_candidates(const VcardBook& book, std::string_view target_text) {
    const NameIndex index(book.people);
    std::vector<bool> found(book.people.size(), false);
    for (const TargetRecord& record : target_records(target_text)) index.mark(record, found);
    std::vector<VcardCandidate> out;
    out.reserve(book.people.size());
    for (std::size_t i = 0; i < book.people.size(); ++i) out.push_back({book.people[i], found[i]});
    return out;
}

std::string vcard_record_date(const VcardBirthday& birthday) {
    return two_digits(birthday.day) + '.' + two_digits(birthday.month) + '.' +
           std::to_string(birthday.year == 0 ? kNoBirthYear : birthday.year);
}

std::string vcard_birthday_text(const VcardBirthday& birthday) {
    if (birthday.year != 0) return vcard_record_date(birthday);
    return two_digits(birthday.day) + '.' + two_digits(birthday.month) + '.';
}

std::optional<int> age_at_next_birthday(const VcardBirthday& birthday, DaySerial today) {
    if (birthday.year == 0) return std::nullopt;
    const auto born = make_date(birthday.year, birthday.month, birthday.day);
    const auto next = born ? next_anniversary({.date = *born, .today = today}) : std::nullopt;
    if (!next) return std::nullopt;
    return ymd_of(*next).year - birthday.year;
}

bool uses_birth_year(const TextTemplate& text) {
    return text_uses_birth_year(text.before) || text_uses_birth_year(text.after);
}

TextTemplate year_less_template(const std::vector<TextTemplate>& templates, int position) {
    if (!templates.empty()) {
        const TextTemplate chosen = template_at(templates, position);
        if (!uses_birth_year(chosen)) return chosen;
    }
    for (const TextTemplate& t : templates)
        if (!uses_birth_year(t)) return t;
    return {"", "", "hat <days_before_event_text> Geburtstag (<event_dddd>, <event_d.mmmm>)"};
}

VcardImportOutcome append_vcard_birthdays(const std::filesystem::path& target,
                                          const std::vector<VcardPerson>& people,
                                          const std::vector<TextTemplate>& templates, int position,
                                          const RecordStyle& style, DaySerial today,
                                          Utf8Change utf8) {
    const TextTemplate with_year = template_at(templates, position);
    const TextTemplate without_year = year_less_template(templates, position);
    std::vector<std::string> lines;
    for (const VcardPerson& person : people) {
        const VcardBirthday& b = person.birthday;
        if (b.year != 0) {
            const auto day = make_date(b.year, b.month, b.day);
            if (!day || *day > today)
                return {0, person.name + ": " + std::string(kFutureBirthday), {}};
        }
        const std::string line = template_line(b.year == 0 ? without_year : with_year, person.name);
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
    if (outcome.write.ok()) outcome.written = int(people.size());
    return outcome;
}

}  // namespace merkwald
