#include "reminder_generator.h"

#include <array>
#include <fstream>
#include <map>
#include <random>

namespace merkwald::bench {

namespace {

constexpr std::array<const char*, 12> kNames{"Anna Bauer",    "Bernd Schulz", "Clara Weiß",
                                             "Dieter Vogel",  "Eva Schröder", "Fritz Neumann",
                                             "Greta Krüger",  "Hans Zimmer",  "Ilse Hartmann",
                                             "Jonas Lehmann", "Karin Wolf",   "Lukas Braun"};
constexpr std::array<const char*, 6> kWeekdays{"monday",   "tuesday", "wednesday",
                                               "thursday", "friday",  "saturday"};

std::string date_text(std::mt19937& rng, int first_year, int last_year) {
    const int day = std::uniform_int_distribution(1, 28)(rng);
    const int month = std::uniform_int_distribution(1, 12)(rng);
    const int year = std::uniform_int_distribution(first_year, last_year)(rng);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", day, month, year);
    return buf;
}

}  // namespace

std::string generate_reminders(int records, unsigned seed) {
    std::mt19937 rng(seed);
    std::string out;
    out.reserve(std::size_t(records) * 150);
    const auto tag = [&out](const char* name, const std::string& value) {
        out += "<";
        out += name;
        out += "=";
        out += value;
        out += ">\r\n";
    };
    for (int i = 0; i < records; ++i) {
        const std::string name = kNames[std::size_t(i) % kNames.size()];
        const int kind = std::uniform_int_distribution(0, 99)(rng);
        out += "<record>\r\n";
        if (kind < 55) {  // birthdays
            tag("date", date_text(rng, 1930, 2015));
            tag("color", std::to_string(std::uniform_int_distribution(0, 0xFFFFFF)(rng)));
            tag("active_before", std::to_string(std::uniform_int_distribution(3, 21)(rng)));
            tag("group", "geburtstage");
            out += name +
                   " hat <days_before_event_text> am <event_d.mmmm> "
                   "<years_after_date>. Geburtstag\r\n";
        } else if (kind < 65) {  // name days
            tag("date", date_text(rng, 2000, 2000));
            tag("active_before", "2");
            tag("group", "namenstage");
            out += "Namenstag von " + name + " am <event_dddd>, <event_d.mmmm>\r\n";
        } else if (kind < 82) {  // appointments
            tag("date", date_text(rng, 2026, 2027));
            tag("active", "once");
            tag("active_before", std::to_string(std::uniform_int_distribution(1, 14)(rng)));
            tag("group", "termine");
            out += "Termin bei " + name + " <days_before_event_text> (<dd.mm.yyyy>)\r\n";
        } else if (kind < 90) {  // monthly: day of month or n-th weekday
            tag("date", "01.01.2020");
            tag("active", "monthly");
            if (kind % 2) {
                tag("active_day", kWeekdays[std::size_t(kind) % kWeekdays.size()]);
                tag("active_week", std::to_string(1 + kind % 4));
            } else {
                tag("active_day", std::to_string(std::uniform_int_distribution(1, 31)(rng)));
            }
            tag("active_before", "3");
            out += "Monatliches Treffen <event_dd.mm.yyyy>\r\n";
        } else if (kind < 97) {  // periodic
            tag("date", date_text(rng, 2020, 2025));
            tag("active", "periodic");
            tag("periodic_repeat", std::to_string(std::uniform_int_distribution(7, 90)(rng)));
            tag("active_before", "2");
            out += "Müll rausbringen <days_before_event_text_first>\r\n";
        } else {  // always
            tag("active", "always");
            tag("group", "sonstiges");
            out += "Sonnenaufgang <sunrise>, Sonnenuntergang <sunset>\r\n";
        }
        out += "</record>\r\n";
    }
    return out;
}

std::filesystem::path generated_file(int records) {
    static std::map<int, std::filesystem::path> written;
    auto [it, added] = written.try_emplace(records);
    if (added) {
        it->second = std::filesystem::temp_directory_path() /
                     ("merkwald-bench-" + std::to_string(records) + ".rmd");
        std::ofstream(it->second, std::ios::binary) << generate_reminders(records);
    }
    return it->second;
}

}  // namespace merkwald::bench
