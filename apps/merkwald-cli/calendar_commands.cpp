// The calendar windows on the terminal: `holidays`, `church-year`, `holiday`, `astro`.

#include <algorithm>
#include <cmath>
#include <optional>
#include <ostream>

#include "calendar/astro.h"
#include "calendar/feasts.h"
#include "calendar/state_holidays.h"
#include "cli.h"
#include "engine/date_text.h"
#include "engine/number.h"
#include "engine/places.h"
#include "engine/text.h"

namespace merkwald::cli {

namespace {

constexpr std::string_view kAstroUsage =
    "Aufruf: merkwald-cli astro [--date DATUM] [--time HH:MM] [--place NAME]\n"
    "                           [--lon G,M,S,R] [--lat G,M,S,R] [--zone H] [--dst | --no-dst]\n";

int usage(Context& ctx, std::string_view text) {
    ctx.err << text;
    return kExitUsage;
}

constexpr std::string_view kYearMessage = "Das Jahr muss eine Zahl von 1901 bis 2098 sein.\n";

std::optional<double> whole_field_number(std::string_view text);

// The year as a number (a fraction is dropped, as the windows drop it); nullopt
// for anything else or a year the lists do not cover.
std::optional<int> list_year(std::string_view text) {
    const auto number = whole_field_number(text);
    if (!number) return std::nullopt;
    const double year = std::floor(*number);
    if (year < kFirstListYear || year > kLastListYear) return std::nullopt;
    return int(year);
}

int print_lines(const std::vector<std::string>& lines, Context& ctx) {
    for (const std::string& line : lines) ctx.out << line << '\n';
    return kExitOk;
}

// A field that must hold a number as a whole (blanks around it allowed):
// optional sign, digits, optional point and digits.
std::optional<double> whole_field_number(std::string_view text) {
    const std::string_view t = trim_blanks(text);
    std::size_t i = !t.empty() && (t[0] == '+' || t[0] == '-') ? 1 : 0;
    std::size_t digits = 0;
    bool point = false;
    for (; i < t.size(); ++i) {
        if (t[i] >= '0' && t[i] <= '9')
            ++digits;
        else if (t[i] == '.' && !point)
            point = true;
        else
            return std::nullopt;
    }
    if (digits == 0) return std::nullopt;
    return leading_value(t);
}

struct Coordinate {
    double degree = 0, minute = 0, second = 0;
    std::string direction;
};

// "D,M,S,DIR"; the numbers are read as the window reads its fields.
std::optional<Coordinate> parse_coordinate(std::string_view text) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t comma = text.find(',', start);
        parts.push_back(
            text.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (parts.size() != 4) return std::nullopt;
    return Coordinate{leading_value(parts[0]), leading_value(parts[1]), leading_value(parts[2]),
                      std::string(parts[3])};
}

struct AstroOptions {
    std::optional<std::string> date;
    std::optional<std::string> time;
    std::optional<std::string> place;
    std::optional<Coordinate> lon, lat;
    std::optional<double> zone;
    std::optional<bool> summer_time;
};

// Takes one option with its value; false when the option or its value is bad.
bool take_option(AstroOptions& o, const std::string& name, const std::string& value) {
    if (name == "--date") {
        o.date = value;
    } else if (name == "--time") {
        if (std::count(value.begin(), value.end(), ':') != 1) return false;
        o.time = value;
    } else if (name == "--place") {
        o.place = value;
    } else if (name == "--lon" || name == "--lat") {
        const auto c = parse_coordinate(value);
        if (!c) return false;
        (name == "--lon" ? o.lon : o.lat) = c;
    } else if (name == "--zone") {
        o.zone = leading_value(value);
    } else {
        return false;
    }
    return true;
}

// Accepts "--name value" and "--name=value", and the flags --dst and --no-dst.
std::optional<AstroOptions> parse_astro_options(const std::vector<std::string>& args) {
    AstroOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i], value;
        if (name == "--dst" || name == "--no-dst") {
            const bool on = name == "--dst";
            if (o.summer_time && *o.summer_time != on) return std::nullopt;
            o.summer_time = on;
            continue;
        }
        if (!take_name_value(args, i, name, value)) return std::nullopt;
        if (!take_option(o, name, value)) return std::nullopt;
    }
    return o;
}

// From a row of the places file or the home place of the settings: the same fields.
template <class Where>
void set_coordinates(AstroInput& in, const Where& p) {
    in.longitude_degree = p.longitude_degree;
    in.longitude_minute = p.longitude_minute;
    in.longitude_second = p.longitude_second;
    in.longitude_direction = p.longitude_direction;
    in.latitude_degree = p.latitude_degree;
    in.latitude_minute = p.latitude_minute;
    in.latitude_second = p.latitude_second;
    in.latitude_direction = p.latitude_direction;
    in.zone_hours = p.diff_to_gmt;
}

AstroInput home_input(const Context& ctx) {
    AstroInput in;
    set_coordinates(in, ctx.home);
    in.summer_time = ctx.home.daylight_saving;
    in.date = ctx.today;
    in.hour = ctx.now_seconds / 3600;
    in.minute = ctx.now_seconds / 60 % 60;
    return in;
}

const Place* find_place(const PlacesFile& file, std::string_view name) {
    for (const Place& p : file.places)
        if (p.name == name) return &p;
    for (const Place& p : file.places)
        if (equals_ignore_case(p.name, name)) return &p;
    return nullptr;
}

// The place row of --place; an exit status when the command must stop.
std::optional<int> apply_place(AstroInput& in, const std::string& name, Context& ctx) {
    const PlacesFile file =
        read_places(ctx.places_folder.empty() ? ctx.program_folder : ctx.places_folder);
    if (!file.ok) ctx.err << kPlacesFileMessage << '\n';
    const Place* place = find_place(file, name);
    if (!place) {
        if (!file.ok) return kExitFailure;
        ctx.err << "Unbekannter Ort: " << name << '\n';
        return usage(ctx, kAstroUsage);
    }
    set_coordinates(in, *place);
    return std::nullopt;
}

void apply_options(AstroInput& in, const AstroOptions& o) {
    if (o.lon) {
        in.longitude_degree = o.lon->degree;
        in.longitude_minute = o.lon->minute;
        in.longitude_second = o.lon->second;
        in.longitude_direction = o.lon->direction;
    }
    if (o.lat) {
        in.latitude_degree = o.lat->degree;
        in.latitude_minute = o.lat->minute;
        in.latitude_second = o.lat->second;
        in.latitude_direction = o.lat->direction;
    }
    if (o.zone) in.zone_hours = *o.zone;
    if (o.summer_time) in.summer_time = *o.summer_time;
    if (o.date) in.date = parse_date(*o.date);
    if (o.time) {
        const std::size_t colon = o.time->find(':');
        in.hour = whole_field_number(std::string_view(*o.time).substr(0, colon));
        in.minute = whole_field_number(std::string_view(*o.time).substr(colon + 1));
    }
}

constexpr std::string_view kStateUsage =
    "Aufruf: merkwald-cli holidays JAHR --state LAND   (LAND: BW, BY, BE, BB, HB, HH, HE, MV,\n"
    "                                                  NI, NW, RP, SL, SN, ST, SH, TH)\n";

// `holidays YEAR --state XX`: the state's legal days off instead of the feast list.
int run_state_holidays(const std::vector<std::string>& args, Context& ctx) {
    std::optional<std::string> year_text, code;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name, value;
        if (args[i].starts_with("--")) {
            if (!take_name_value(args, i, name, value) || name != "--state" || code)
                return usage(ctx, kStateUsage);
            code = value;
        } else if (!year_text) {
            year_text = args[i];
        } else {
            return usage(ctx, kStateUsage);
        }
    }
    if (!year_text || !code) return usage(ctx, kStateUsage);
    const auto state = state_from_code(*code);
    if (!state) {
        ctx.err << "Unbekanntes Bundesland: " << *code << '\n';
        return usage(ctx, kStateUsage);
    }
    const auto year = list_year(*year_text);
    if (!year) {
        ctx.err << "Das Jahr muss zwischen " << kFirstListYear << " und " << kLastListYear
                << " liegen.\n";
        return kExitUsage;
    }
    return print_lines(legal_holiday_lines(*year, *state), ctx);
}

}  // namespace

int run_holidays(const std::vector<std::string>& args, Context& ctx) {
    if (args.size() > 1) return run_state_holidays(args, ctx);
    if (args.size() != 1) return usage(ctx, "Aufruf: merkwald-cli holidays JAHR\n");
    const auto year = list_year(args[0]);
    return year ? print_lines(holiday_list_lines(*year), ctx) : usage(ctx, kYearMessage);
}

int run_church_year(const std::vector<std::string>& args, Context& ctx) {
    if (args.size() != 1) return usage(ctx, "Aufruf: merkwald-cli church-year JAHR\n");
    const auto year = list_year(args[0]);
    return year ? print_lines(church_year_lines(*year), ctx) : usage(ctx, kYearMessage);
}

int run_holiday(const std::vector<std::string>& args, Context& ctx) {
    if (args.size() != 1) return usage(ctx, "Aufruf: merkwald-cli holiday DATUM\n");
    const auto day = parse_date(args[0]);
    if (!day) {
        ctx.err << "Falsches Datum\n";
        return kExitUsage;
    }
    ctx.out << holiday_name(*day) << '\n';
    return kExitOk;
}

int run_astro(const std::vector<std::string>& args, Context& ctx) {
    const auto options = parse_astro_options(args);
    if (!options) return usage(ctx, kAstroUsage);
    AstroInput in = home_input(ctx);
    if (options->place) {
        if (const auto stop = apply_place(in, *options->place, ctx)) return *stop;
    }
    apply_options(in, *options);
    // Without --dst or --no-dst the home summer time counts, "automatisch" on the asked-for date.
    if (!options->summer_time && in.date) in.summer_time = ctx.home.summer_hours_on(*in.date) > 0;

    const AstroResult result = compute_astro(in);
    if (result.status != AstroStatus::ok) {
        const std::string_view message = astro_message(result.status);
        if (!message.empty()) ctx.err << message << '\n';
        return kExitFailure;
    }
    for (int i = 0; i < kAstroFields; ++i)
        ctx.out << kAstroLabels[std::size_t(i)] << ' ' << result.texts[std::size_t(i)] << '\n';
    return kExitOk;
}

}  // namespace merkwald::cli
