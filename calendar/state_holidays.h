#pragma once
// The legal days off of each German state (Bundesland), including the days the
// feast table does not know (Frauentag, Weltkindertag, Berlin's one-off days).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "date_serial.h"

namespace merkwald {

// The sixteen states in the order of their ISO 3166-2 codes' usual listing.
enum class State { BW, BY, BE, BB, HB, HH, HE, MV, NI, NW, RP, SL, SN, ST, SH, TH };

inline constexpr int kStateCount = 16;

// "BY", "by" and "DE-BY" all name Bavaria; nullopt for anything else.
[[nodiscard]] std::optional<State> state_from_code(std::string_view code);
[[nodiscard]] std::string_view state_code(State state);  // "BY"
[[nodiscard]] std::string_view state_name(State state);  // "Bayern"

struct LegalHoliday {
    DaySerial day{};
    std::string_view name;  // "Fronleichnam"
    friend bool operator==(const LegalHoliday&, const LegalHoliday&) = default;
};

// The state's legal days off in `year`, in date order. Days that only some towns
// keep (Fronleichnam in parts of Saxony and Thuringia, Mariä Himmelfahrt in
// Bavaria's Catholic towns, Augsburg's Friedensfest) are not included.
[[nodiscard]] std::vector<LegalHoliday> legal_holidays(int year, State state);

// The name of the legal day off that `day` is in the state, or "".
[[nodiscard]] std::string legal_holiday_name(DaySerial day, State state);

// The list lines: "Fronleichnam: Donnerstag, 4. Juni", as the holiday list writes its
// dates; like that list, empty for a year outside [kFirstListYear, kLastListYear].
[[nodiscard]] std::vector<std::string> legal_holiday_lines(int year, State state);

}  // namespace merkwald
