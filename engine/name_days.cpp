#include "name_days.h"

#include <algorithm>
#include <iterator>
#include <set>
#include <utility>

#include "evaluate.h"
#include "placeholders.h"
#include "text.h"
#include "text_file.h"

namespace merkwald {
namespace {

// Words that stand before a first name in birthday texts: kinship, address and
// the openings of the birthday templates. Compared without regard to case.
constexpr std::string_view kLeadWords[] = {
    "Oma",
    "Opa",
    "Uroma",
    "Uropa",
    "Omi",
    "Opi",
    "Tante",
    "Onkel",
    "Großtante",
    "Großonkel",
    "Patenkind",
    "Pate",
    "Patin",
    "Patenonkel",
    "Patentante",
    "Cousin",
    "Cousine",
    "Neffe",
    "Nichte",
    "Schwager",
    "Schwägerin",
    "Schwiegermutter",
    "Schwiegervater",
    "Bruder",
    "Schwester",
    "Mutter",
    "Vater",
    "Mama",
    "Papa",
    "Mutti",
    "Vati",
    "Sohn",
    "Tochter",
    "Enkel",
    "Enkelin",
    "Nachbar",
    "Nachbarin",
    "Kollege",
    "Kollegin",
    "Freund",
    "Freundin",
    "Chef",
    "Chefin",
    "Frau",
    "Herr",
    "Herrn",
    "Dr",
    "Prof",
    "Geburtstag",
    "Glückwunsch",
    "Karte",
    "Familie",
};

bool is_lead_word(std::string_view word) {
    return std::any_of(std::begin(kLeadWords), std::end(kLeadWords),
                       [word](std::string_view lead) { return equals_ignore_case(word, lead); });
}

// The code point that starts at `s[i]` and its length in bytes; a broken
// sequence counts as one byte.
std::pair<char32_t, std::size_t> code_point_at(std::string_view s, std::size_t i) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t n = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    if (i + n > s.size()) n = 1;
    if (n == 1) return {b, 1};
    char32_t c = b & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k)
        c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    return {c, n};
}

// Letters of the names: ASCII and the Latin letters beyond it, up to Latin
// Extended-B (not × and ÷).
bool is_letter(char32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
    return c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7;
}

// Drops what is not a letter at both ends ("Nikolaus:" -> "Nikolaus").
std::string_view strip_to_letters(std::string_view word) {
    while (!word.empty() && !is_letter(code_point_at(word, 0).first))
        word.remove_prefix(code_point_at(word, 0).second);
    while (!word.empty()) {
        std::size_t start = word.size() - 1;
        while (start > 0 && (static_cast<unsigned char>(word[start]) & 0xC0) == 0x80) --start;
        if (is_letter(code_point_at(word, start).first)) break;
        word.remove_suffix(word.size() - start);
    }
    return word;
}

// A name of the table or of a birthday text: letters, inner hyphens and apostrophes.
bool is_name(std::string_view word) {
    if (word.empty() || word.front() == '-' || word.back() == '-') return false;
    for (std::size_t i = 0; i < word.size();) {
        const auto [c, n] = code_point_at(word, i);
        if (!is_letter(c) && c != '-' && c != '\'') return false;
        i += n;
    }
    return true;
}

bool starts_with_capital(std::string_view word) {
    const char32_t c = code_point_at(word, 0).first;
    return (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
}

std::string day_text(int month, int day) {
    std::string text(6, '.');
    text[0] = char('0' + day / 10);
    text[1] = char('0' + day % 10);
    text[3] = char('0' + month / 10);
    text[4] = char('0' + month % 10);
    return text;
}

// "TT.MM." (one digit allowed); nullopt when no such day exists in a leap year.
std::optional<std::pair<int, int>> parse_day(std::string_view text) {
    const auto dot = text.find('.');
    if (dot == std::string_view::npos || text.empty() || text.back() != '.') return std::nullopt;
    const std::string_view day = text.substr(0, dot);
    const std::string_view month = text.substr(dot + 1, text.size() - dot - 2);
    const auto number = [](std::string_view digits) -> std::optional<int> {
        if (digits.empty() || digits.size() > 2) return std::nullopt;
        int n = 0;
        for (const char c : digits) {
            if (c < '0' || c > '9') return std::nullopt;
            n = n * 10 + (c - '0');
        }
        return n;
    };
    const auto d = number(day), m = number(month);
    if (!d || !m || !make_date(2000, *m, *d)) return std::nullopt;
    return std::pair{*m, *d};
}

// Splits "A (a, b), B" at the commas outside parentheses; false on an unclosed
// or stray parenthesis.
bool split_names(std::string_view text, std::vector<std::string_view>& items) {
    int depth = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const char c = i < text.size() ? text[i] : ',';
        if (c == '(' && ++depth > 1) return false;
        if (c == ')' && --depth < 0) return false;
        if (c == ',' && depth == 0) {
            items.push_back(trim_blanks(text.substr(start, i - start), kBlanksAndTabs));
            start = i + 1;
        }
    }
    return depth == 0;
}

// "Johannes (Hans, Jan)"; nullopt when a part is no name.
std::optional<NameDayName> parse_name(std::string_view item) {
    NameDayName entry;
    const auto open = item.find('(');
    entry.name = std::string(trim_blanks(item.substr(0, open), kBlanksAndTabs));
    if (!is_name(entry.name)) return std::nullopt;
    if (open == std::string_view::npos) return entry;
    if (item.back() != ')') return std::nullopt;
    const std::string_view inner = item.substr(open + 1, item.size() - open - 2);
    std::size_t start = 0;
    for (std::size_t i = 0; i <= inner.size(); ++i) {
        if (i < inner.size() && inner[i] != ',') continue;
        const std::string_view form = trim_blanks(inner.substr(start, i - start), kBlanksAndTabs);
        if (!is_name(form)) return std::nullopt;
        entry.short_forms.emplace_back(form);
        start = i + 1;
    }
    return entry;
}

std::optional<NameDay> parse_line(std::string_view line, std::string& problem) {
    const auto blank = line.find_first_of(kBlanksAndTabs);
    const auto date = parse_day(line.substr(0, blank));
    if (!date) {
        problem = "kein gültiger Tag: " + std::string(line.substr(0, blank));
        return std::nullopt;
    }
    NameDay day{date->first, date->second, {}};
    std::vector<std::string_view> items;
    const std::string_view names =
        blank == std::string_view::npos ? std::string_view() : line.substr(blank);
    if (trim_blanks(names, kBlanksAndTabs).empty() || !split_names(names, items)) {
        problem = "keine Namen oder eine offene Klammer";
        return std::nullopt;
    }
    for (const std::string_view item : items) {
        auto name = parse_name(item);
        if (!name) {
            problem = "kein gültiger Name: " + std::string(item);
            return std::nullopt;
        }
        day.names.push_back(std::move(*name));
    }
    return day;
}

// The entries of the typed name-day records: the table name each names, on
// which day of the year.
std::set<std::pair<std::size_t, std::size_t>> typed_name_days(
    const NameDayTable& table, const std::vector<PersonRecord>& records) {
    std::set<std::pair<std::size_t, std::size_t>> typed;
    for (const PersonRecord& r : records) {
        if (r.birthday) continue;
        const auto match = table.find(first_name_of(r.text));
        if (!match) continue;
        const NameDay& day = table.days()[match->day];
        const Ymd date = ymd_of(r.date);
        if (date.month == day.month && date.day == day.day) typed.insert({match->day, match->name});
    }
    return typed;
}

// A double name is taken by its whole, else by its first part.
std::optional<NameDayTable::Match> find_person(const NameDayTable& table, std::string_view name) {
    if (auto match = table.find(name)) return match;
    const auto hyphen = name.find('-');
    if (hyphen == std::string_view::npos) return std::nullopt;
    return table.find(name.substr(0, hyphen));
}

}  // namespace

std::optional<NameDayTable::Match> NameDayTable::find(std::string_view word) const {
    const auto it = index_.find(to_lower(word));
    if (it == index_.end()) return std::nullopt;
    return it->second;
}

bool NameDayTable::add(NameDay day, std::string& clash) {
    const std::size_t day_index = days_.size();
    std::map<std::string, Match> added;
    for (std::size_t n = 0; n < day.names.size(); ++n) {
        std::vector<std::string_view> words{day.names[n].name};
        words.insert(words.end(), day.names[n].short_forms.begin(), day.names[n].short_forms.end());
        for (const std::string_view word : words) {
            const std::string key = to_lower(word);
            if (index_.contains(key) || !added.emplace(key, Match{day_index, n}).second) {
                clash = std::string(word);
                return false;
            }
        }
    }
    index_.merge(added);
    days_.push_back(std::move(day));
    return true;
}

NameDayParse parse_name_day_table(std::string_view text) {
    NameDayParse parse;
    std::set<std::pair<int, int>> seen;
    long long number = 0;
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    for_each_line(text, [&](std::string_view raw) {
        ++number;
        const std::string_view line = trim_blanks(raw, kBlanksAndTabs);
        if (line.empty() || line.front() == '#') return true;
        std::string problem;
        auto day = parse_line(line, problem);
        if (day && !seen.insert({day->month, day->day}).second) {
            problem = "der Tag " + day_text(day->month, day->day) + " steht schon weiter oben";
            day.reset();
        }
        std::string clash;
        if (day && !parse.table.add(std::move(*day), clash))
            problem = "der Name " + clash + " steht schon an einem anderen Tag";
        if (!problem.empty()) parse.problems.push_back({number, std::move(problem)});
        return true;
    });
    return parse;
}

std::optional<NameDayParse> read_name_day_table(const std::filesystem::path& path) {
    const auto file = read_text_file(path);
    if (!file) return std::nullopt;
    return parse_name_day_table(file->text);
}

std::string first_name_of(std::string_view record_text) {
    std::size_t pos = 0;
    while (pos < record_text.size()) {
        const auto start = record_text.find_first_not_of(" \t\r\n", pos);
        if (start == std::string_view::npos) break;
        auto end = record_text.find_first_of(" \t\r\n", start);
        if (end == std::string_view::npos) end = record_text.size();
        pos = end;
        const std::string_view token = record_text.substr(start, end - start);
        if (token.find_first_of("<>") != std::string_view::npos) continue;
        const std::string_view word = strip_to_letters(token);
        if (word.empty() || !starts_with_capital(word) || is_lead_word(word)) continue;
        return is_name(word) ? std::string(word) : std::string();
    }
    return {};
}

std::vector<DueNameDay> due_name_days(const NameDayTable& table,
                                      const std::vector<PersonRecord>& records, DaySerial today,
                                      int lead_days, bool all) {
    const auto typed = typed_name_days(table, records);
    std::vector<DueNameDay> due;
    std::set<std::pair<std::string, DaySerial>> shown;
    const auto consider = [&](const NameDayTable::Match& match, const std::string& name, bool own,
                              int lead) {
        if (typed.contains({match.day, match.name})) return;
        const NameDay& day = table.days()[match.day];
        const auto date = make_date(2000, day.month, day.day);
        const auto event = date ? next_anniversary({.date = *date, .today = today}) : std::nullopt;
        if (!event || *event - today > lead) return;
        if (shown.insert({to_lower(name), *event}).second) due.push_back({name, *event, own});
    };
    for (const PersonRecord& person : records) {
        if (!person.birthday) continue;
        const std::string name = first_name_of(person.text);
        if (const auto match = find_person(table, name)) consider(*match, name, true, lead_days);
    }
    if (all) {
        for (std::size_t d = 0; d < table.days().size(); ++d) {
            const auto& names = table.days()[d].names;
            for (std::size_t n = 0; n < names.size(); ++n)
                consider({d, n}, names[n].name, false, 0);
        }
    }
    std::stable_sort(due.begin(), due.end(), [](const DueNameDay& a, const DueNameDay& b) {
        return a.event_date < b.event_date;
    });
    return due;
}

std::string name_day_text(std::string_view name, bool light) {
    return std::string(name) + " hat <days_before_event_text> Namenstag (<event_ddd>, " +
           (light ? "<event_dd.mm.>)\r\n  " : "<event_dd.mm.>)\r\n");
}

void add_name_days(EngineState& state, RefreshTables& tables, const NameDayTable& table,
                   NameDayChoice choice, MessageSink& sink) {
    if (choice == NameDayChoice::none) return;
    const int lead = state.lead_days.value_or(kNameDayLeadDays);
    for (const DueNameDay& day :
         due_name_days(table, tables.people, state.today, lead, choice == NameDayChoice::all)) {
        if (tables.line_counter() > kMaxShownLines) break;
        LineEntry entry;
        entry.text = expand_placeholders(state, name_day_text(day.name, state.settings.light),
                                         {.record = day.event_date, .event = day.event_date},
                                         {kNameDayFileName, 0}, sink)
                         .text;
        entry.color = state.settings.record_color;
        if (state.settings.groups) entry.group = std::string(kNameDayGroup);
        entry.sort_date = day.event_date;
        tables.lines.push_back(std::move(entry));
        if (day.own && day.event_date == state.today) state.sound_mark = true;
    }
}

}  // namespace merkwald
