#pragma once
// Which file the calendar feed may write. Its name comes from a settings field,
// and a slip there must not turn a file of the user's into a calendar: the feed
// writes only a file that does not exist yet or a calendar this program wrote
// itself, never a reminder file of the list or its backup, nor the settings
// store, and in the program folder (where the data files live, also those not
// created yet) nothing but a name ending in ".ics". Names are compared as the
// file system sees them: any spelling, symbolic and hard links alike.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace merkwald {

struct FeedGuard {
    std::filesystem::path program_folder;               // relative names resolve here
    std::vector<std::filesystem::path> reminder_files;  // the file list, linked files included
    std::filesystem::path settings_file;                // empty when the store is no file
};

enum class FeedRefusal {
    none,
    reminder_file,   // a file of the list or its backup
    settings_store,  // the settings store's file
    program_folder,  // a name in the program folder that is no .ics file
    foreign_file,    // an existing file that is not this program's calendar
    not_a_file,      // a folder, a device, a pipe
    no_folder,       // the folder it would lie in does not exist
};

struct FeedTarget {
    std::filesystem::path file;  // the name taken relative to the program folder
    FeedRefusal refusal = FeedRefusal::none;
};

// Whether the feed may write the file `name` stands for.
[[nodiscard]] FeedTarget check_feed_target(std::string_view name, const FeedGuard& guard);

// The German sentence that says why.
[[nodiscard]] std::string_view feed_refusal_text(FeedRefusal refusal);

// The name with ".ics" added when its last part has no extension.
[[nodiscard]] std::string with_feed_extension(std::string_view name);

// A regular file that begins as this program's calendars do, with its PRODID.
[[nodiscard]] bool is_own_calendar(const std::filesystem::path& file);

}  // namespace merkwald
