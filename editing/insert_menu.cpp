#include "editing/insert_menu.h"

#include <algorithm>
#include <system_error>

#include "engine/file_access.h"
#include "engine/number.h"
#include "engine/text_file.h"

namespace merkwald {

namespace {

constexpr std::string_view kDayCaptions[] = {"Tag im Monat(1-31)",      "Tag im Monat (01-31)",
                                             "Wochentag (So=1, Sa=7)",  "Wochentag (So-Sa)",
                                             "Wochentag (Sonntag,...)", "Tag im Jahr (1-366)"};
constexpr std::string_view kDayTexts[] = {"<d>", "<dd>", "<w>", "<ddd>", "<dddd>", "<y>"};
constexpr std::string_view kEventDayTexts[] = {"<event_d>",   "<event_dd>",   "<event_w>",
                                               "<event_ddd>", "<event_dddd>", "<event_y>"};

constexpr std::string_view kMonthCaptions[] = {"Monat (1-12)", "Monat (01-12)", "Monat (Jan-Dez)",
                                               "Monat (Januar...)"};
constexpr std::string_view kMonthTexts[] = {"<m>", "<mm>", "<mmm>", "<mmmm>"};
constexpr std::string_view kEventMonthTexts[] = {"<event_m>", "<event_mm>", "<event_mmm>",
                                                 "<event_mmmm>"};

constexpr std::string_view kCombinedCaptions[] = {
    "4.1.",     "04.01.",       "4. Jan.",    "4. Januar",    "4.1.97",       "4. 1. 1997",
    "04.01.97", "04. 01. 1997", "4. Jan. 97", "4. Jan. 1997", "4. Januar 97", "4. Januar 1997"};
constexpr std::string_view kCombinedTexts[] = {
    "<d.m.>",     "<dd.mm.>",     "<d.mmm.>",   "<d.mmmm>",     "<d.m.yy>",    "<d.m.yyyy>",
    "<dd.mm.yy>", "<dd.mm.yyyy>", "<d.mmm.yy>", "<d.mmm.yyyy>", "<d.mmmm.yy>", "<d.mmmm.yyyy>"};
constexpr std::string_view kEventCombinedTexts[] = {
    "<event_d.m.>",     "<event_dd.mm.>",     "<event_d.mmm.>",    "<event_d.mmmm>",
    "<event_d.m.yy>",   "<event_d.m.yyyy>",   "<event_dd.mm.yy>",  "<event_dd.mm.yyyy>",
    "<event_d.mmm.yy>", "<event_d.mmm.yyyy>", "<event_d.mmmm.yy>", "<event_d.mmmm.yyyy>"};

template <std::size_t N>
std::vector<InsertEntry> entries(const std::string_view (&captions)[N],
                                 const std::string_view (&texts)[N]) {
    std::vector<InsertEntry> out;
    for (std::size_t i = 0; i < N; ++i) out.push_back({captions[i], texts[i]});
    return out;
}

std::vector<InsertEntry> event_combined() {
    std::vector<InsertEntry> out = entries(kCombinedCaptions, kEventCombinedTexts);
    out[1].caption = "04.01";
    return out;
}

std::vector<InsertSubmenu> build_table() {
    return {
        {"Tag",
         {{"Datum", entries(kDayCaptions, kDayTexts)},
          {"Ereignis", entries(kDayCaptions, kEventDayTexts)}}},
        {"Woche",
         {{"Datum", {{"Woche (1-53)", "<ww>"}}}, {"Ereignis", {{"Woche (1-53)", "<event_ww>"}}}}},
        {"Monat",
         {{"Datum", entries(kMonthCaptions, kMonthTexts)},
          {"Ereignis", entries(kMonthCaptions, kEventMonthTexts)}}},
        {"Quartal (1-4)", {{"", {{"Datum", "<q>"}, {"Ereignis", "<event_q>"}}}}},
        {"Jahr",
         {{"Datum", {{"Jahr (00-99)", "<yy>"}, {"Jahr (z.b. 1972)", "<yyyy>"}}},
          {"Ereignis", {{"Jahr (00-99)", "<event_yy>"}, {"Jahr (z.B. 1998)", "<event_yyyy>"}}}}},
        {"Kombiniert",
         {{"Datum (z.B. 4.1.97)", entries(kCombinedCaptions, kCombinedTexts)},
          {"Ereignis (z.B. 4.Jan 97)", event_combined()}}},
        {"Berechnungen",
         {{"Datum",
           {{"Tage vor Datum", "<days_before_date>"},
            {"Wochen vor Datum", "<weeks_before_date>"},
            {"Monate vor Datum", "<months_before_date>"},
            {"Jahre vor Datum", "<years_before_date>"},
            {"", ""},
            {"Tage nach Datum", "<days_after_date>"},
            {"Wochen nach Datum", "<weeks_after_date>"},
            {"Monate nach Datum", "<months_after_date>"},
            {"Ganze Jahre nach Datum (beginnt bei 0)", "<full_years_after_date>"},
            {"Jahre nach Datum (beginnt bei 1)", "<years_after_date>"}}},
          {"Ereignis",
           {{"Tage vor Ereignis", "<days_before_event>"},
            {"Wochen vor Ereignis", "<weeks_before_event>"},
            {"Monate vor Ereignis", "<months_before_event>"}}}}},
        {"Astronomisches",
         {{"",
           {{"Morgendämmerung Beginn z.B. 05:10", "<dawn1>"},
            {"Sonnenaufgang z.B. 06:32", "<sunrise>"},
            {"Sonnenuntergang z.B. 20:10", "<sunset>"},
            {"Abendämmerung Ende z.B. 21:00", "<dusk1>"}}},
          {"Tageslänge",
           {{"z.B. 16:10", "<length_of_day>"},
            {"z.B. 16 h 10 m", "<length_of_day_short>"},
            {"z.B. 16 Stunden 10 Minuten", "<length_of_day_long>"}}}}},
    };
}

}  // namespace

const std::vector<InsertSubmenu>& insert_menu_table() {
    static const std::vector<InsertSubmenu> table = build_table();
    return table;
}

InsertTexts load_insert_texts(const std::filesystem::path& file) {
    InsertTexts result;
    std::string bytes;
    const FileRead read = read_regular_file(file, bytes);
    // A missing file gets the general message; one there that cannot be read is named.
    std::error_code ec;
    if (!read.ok && std::filesystem::exists(file, ec)) result.problem = read.message;
    const std::vector<std::string> lines =
        read.ok ? split_lines(decode_text(std::move(bytes)).text) : std::vector<std::string>{};
    if (lines.empty()) {
        result.failed = true;
    } else {
        const double announced = std::min<double>(leading_value(lines[0]), kMaxInsertTexts);
        const int count = announced > 0 ? static_cast<int>(announced) : 0;
        for (int k = 0; k < count; ++k) {
            const std::size_t text_line = 1 + 2 * std::size_t(k);
            if (text_line + 1 >= lines.size()) {
                result.failed = true;
                break;
            }
            result.entries.push_back({lines[text_line], lines[text_line + 1]});
        }
    }
    if (result.failed && result.entries.empty()) {
        result.entries.push_back(
            {std::string(kDefaultInsertText), std::string(kDefaultInsertCaption)});
    }
    return result;
}

}  // namespace merkwald
