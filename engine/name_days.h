#pragma once
// The shipped table of German name days and the name days it adds to the list:
// those of the people in the user's birthday records, or every name of the day.
// A name day shows like a typed name-day record of the example file (group
// "Namenstage", the record colour, a week ahead); a typed record for the same
// name on the same day wins.

#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine_state.h"
#include "messages.h"

namespace merkwald {

inline constexpr std::string_view kNameDayFileName = "namenstage.dat";
inline constexpr int kNameDayLeadDays = 7;
inline constexpr std::string_view kNameDayGroup = "Namenstage";
inline constexpr std::string_view kBirthdayGroup = "Geburtstage";

struct NameDayName {
    std::string name;
    std::vector<std::string> short_forms;  // the usual short and other forms
};

struct NameDay {
    int month = 0;  // [1, 12]
    int day = 0;    // [1, 31], 29 February included
    std::vector<NameDayName> names;
};

class NameDayTable {
public:
    [[nodiscard]] const std::vector<NameDay>& days() const { return days_; }  // in file order

    struct Match {
        std::size_t day = 0;   // into days()
        std::size_t name = 0;  // into days()[day].names
        friend bool operator==(const Match&, const Match&) = default;
    };
    // The table's entry for a name or short form, letter case aside.
    [[nodiscard]] std::optional<Match> find(std::string_view word) const;
    // Adds the day and indexes its names; false (and nothing added) when a
    // name is already listed, which `clash` then names.
    bool add(NameDay day, std::string& clash);

private:
    std::vector<NameDay> days_;
    std::map<std::string, Match> index_;  // lower-cased name -> entry
};

struct NameDayProblem {
    long long line = 0;
    std::string text;
};

struct NameDayParse {
    NameDayTable table;
    std::vector<NameDayProblem> problems;  // the lines left out, and why
};

// One line per day: "TT.MM." and the names, comma-separated, each with its
// short forms in parentheses: "24.06. Johannes (Hans, Jan), Elisabeth".
// "#" starts a remark line. A faulty line is left out and named.
[[nodiscard]] NameDayParse parse_name_day_table(std::string_view text);
// nullopt when the file cannot be read.
[[nodiscard]] std::optional<NameDayParse> read_name_day_table(const std::filesystem::path& path);

enum class NameDayChoice { none, own_people, all };

// The first name a record text names: the first word that is no placeholder,
// starts with a capital and is not one of the words that stand before names
// ("Oma", "Tante", "Geburtstag von" ...); punctuation around it dropped. Empty
// when there is none.
[[nodiscard]] std::string first_name_of(std::string_view record_text);

struct DueNameDay {
    std::string name;  // as it is shown: the person's form of it, or the table's
    DaySerial event_date{};
    bool own = false;  // the name of someone in the birthday records
};

// The name days due on `today`: those of the first names of the birthday
// records up to `lead_days` ahead, and with `all` the table's names of today;
// none that a typed name-day record in `records` names on the same day. In
// date order, equal dates in the birthday records' order, then the table's.
[[nodiscard]] std::vector<DueNameDay> due_name_days(const NameDayTable& table,
                                                    const std::vector<PersonRecord>& records,
                                                    DaySerial today, int lead_days, bool all);

// The text of a name day, as the example file's name-day records read it (in
// the light program, whose reader ends every line with two blanks, so too).
[[nodiscard]] std::string name_day_text(std::string_view name, bool light = false);

// Adds the due name days to the refresh's lines. Needs the refresh's records
// captured (any RefreshTables::Capture but none). A name day of one's own people on
// today sounds like a typed one.
void add_name_days(EngineState& state, RefreshTables& tables, const NameDayTable& table,
                   NameDayChoice choice, MessageSink& sink);

}  // namespace merkwald
