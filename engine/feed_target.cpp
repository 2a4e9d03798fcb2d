#include "feed_target.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

#include "engine_state.h"
#include "icalendar.h"
#include "safe_rewrite.h"
#include "text.h"

namespace merkwald {

namespace fs = std::filesystem;

namespace {

// The program's calendars carry their PRODID on the third line: this much of
// the head is enough, and a huge foreign file is not read whole.
constexpr std::size_t kHeadBytes = 512;

fs::path real_path(const fs::path& file) {
    std::error_code ec;
    const fs::path real = fs::weakly_canonical(resolve_links(file), ec);
    return ec ? file.lexically_normal() : real;
}

bool lies_in(const fs::path& file, const fs::path& folder) {
    const auto f = std::mismatch(folder.begin(), folder.end(), file.begin(), file.end()).first;
    return f == folder.end() || (std::next(f) == folder.end() && f->empty());
}

bool in_program_folder(const fs::path& file, const fs::path& program_folder) {
    if (program_folder.empty()) return false;
    const fs::path folder = real_path(program_folder);
    return lies_in(file.lexically_normal(), program_folder.lexically_normal()) ||
           lies_in(real_path(file), folder);
}

bool is_list_file(const fs::path& file, const std::vector<fs::path>& list) {
    return std::any_of(list.begin(), list.end(), [&file](const fs::path& listed) {
        return same_file(file, listed) || same_file(file, backup_of(listed));
    });
}

FeedRefusal refusal_of_place(const fs::path& file) {
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    if (fs::exists(status)) {
        if (!fs::is_regular_file(status)) return FeedRefusal::not_a_file;
        return is_own_calendar(file) ? FeedRefusal::none : FeedRefusal::foreign_file;
    }
    // A dangling link would create its target.
    const fs::path parent = resolve_links(file).parent_path();
    return fs::is_directory(parent.empty() ? fs::path(".") : parent, ec) ? FeedRefusal::none
                                                                         : FeedRefusal::no_folder;
}

}  // namespace

FeedTarget check_feed_target(std::string_view name, const FeedGuard& guard) {
    FeedTarget target;
    target.file = resolve_file_name(guard.program_folder, std::string(name)).lexically_normal();
    const fs::path& file = target.file;
    if (is_list_file(file, guard.reminder_files)) {
        target.refusal = FeedRefusal::reminder_file;
    } else if (!guard.settings_file.empty() && same_file(file, guard.settings_file)) {
        target.refusal = FeedRefusal::settings_store;
    } else if (in_program_folder(file, guard.program_folder) &&
               !equals_ignore_case(file.extension().string(), ".ics")) {
        target.refusal = FeedRefusal::program_folder;
    } else {
        target.refusal = refusal_of_place(file);
    }
    return target;
}

std::string_view feed_refusal_text(FeedRefusal refusal) {
    switch (refusal) {
        case FeedRefusal::none:
            return {};
        case FeedRefusal::reminder_file:
            return "Die Datei gehört zur Dateiliste (eine Erinnerungsdatei oder ihre Sicherung).";
        case FeedRefusal::settings_store:
            return "Die Datei ist die Einstellungsdatei des Programms.";
        case FeedRefusal::program_folder:
            return "Im Programmordner darf das Kalender-Abo nur eine .ics-Datei sein.";
        case FeedRefusal::foreign_file:
            return "Die Datei ist kein Kalender, den Merkwald geschrieben hat; überschrieben wird "
                   "nur eine neue Datei oder das eigene frühere Kalender-Abo.";
        case FeedRefusal::not_a_file:
            return "Der Name steht nicht für eine gewöhnliche Datei.";
        case FeedRefusal::no_folder:
            return "Der Ordner der Datei existiert nicht.";
    }
    return {};
}

std::string with_feed_extension(std::string_view name) {
    std::string out(name);
    const fs::path path(std::u8string(name.begin(), name.end()));
    if (!path.has_filename() || path.has_extension()) return out;
    return out + ".ics";
}

bool is_own_calendar(const fs::path& file) {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) return false;
    std::ifstream in(file, std::ios::binary);
    std::string head(kHeadBytes, '\0');
    in.read(head.data(), std::streamsize(head.size()));
    head.resize(std::size_t(in.gcount()));
    return head.starts_with("BEGIN:VCALENDAR\r\n") &&
           head.find("\r\nPRODID:" + std::string(kCalendarProductId) + "\r\n") != std::string::npos;
}

}  // namespace merkwald
