#pragma once
// Bringing a calendar collection on a server up to date with the coming days'
// occurrences, one resource per occurrence, named by its UID. What this program
// wrote earlier is remembered in a state file of its own (href, ETag and a hash
// of the text sent), so that it changes and deletes only its own resources, and
// only as long as nobody changed them on the server since: every change and
// delete is conditional on the remembered ETag, every new resource on there
// being none yet. Nothing here talks to a server; the client carries the plan out.

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "icalendar.h"
#include "occurrences.h"

namespace merkwald {

// One resource as it should stand on the server.
struct WantedResource {
    std::string uid;
    std::string href;  // relative to the collection: the UID, escaped, and ".ics"
    std::string text;  // the whole calendar sent
    std::string hash;  // of the text without its DTSTAMP, which changes with every run
    DaySerial day{};
    std::string summary;  // the event's first line, for the report
};

// A resource this program wrote.
struct PublishedResource {
    std::string href;
    std::string etag;  // as the server sent it, quotes included; empty: none came
    std::string hash;
    // Changed or taken by someone else on the server (a condition failed): left
    // alone from then on, neither sent again nor deleted.
    bool yielded = false;
    // Sent as new, with no answer yet: written down before the request goes
    // out, so that a run that dies after the server stored it but before the
    // answer arrived does not leave the resource unknown. A later run sends it
    // again; a failed condition then means it is ours already.
    bool pending = false;
    friend bool operator==(const PublishedResource&, const PublishedResource&) = default;
};

struct PublishState {
    std::string collection;  // the URL the entries belong to
    std::map<std::string, PublishedResource> by_uid;
    friend bool operator==(const PublishState&, const PublishState&) = default;
};

enum class StepKind {
    create,  // PUT with If-None-Match: *
    change,  // PUT with If-Match: the remembered ETag
    remove,  // DELETE with If-Match: the remembered ETag
};

struct PublishStep {
    StepKind kind = StepKind::create;
    std::string uid;
    std::string href;
    std::string etag;                        // for change and remove
    const WantedResource* wanted = nullptr;  // for create and change
    bool pending = false;                    // a create an earlier run sent without answer
};

struct PublishPlan {
    std::vector<PublishStep> steps;  // removals first, then changes, then new ones
    int unchanged = 0;
    // Not touched: yielded earlier, or a change or removal is due but the server
    // never told an ETag to make it conditional on, or a removal of a resource
    // whose creation was never confirmed.
    std::vector<std::string> left_alone;
};

// The resources of the occurrences (icalendar's UIDs, which a refresh keeps stable).
[[nodiscard]] std::vector<WantedResource> wanted_resources(const std::vector<Occurrence>& events,
                                                           UtcTime stamp);

// The href of a UID: characters other than letters, digits, '-', '_' and '.' as %XX.
[[nodiscard]] std::string resource_href(std::string_view uid);

[[nodiscard]] PublishPlan plan_publish(const std::vector<WantedResource>& wanted,
                                       const PublishState& state);

// The state file of a collection: its name depends on the URL, so that another
// URL starts afresh instead of deleting on a server that never saw our resources.
[[nodiscard]] std::filesystem::path publish_state_file(const std::filesystem::path& folder,
                                                       std::string_view collection);

enum class StateRead {
    read,     // or missing: nothing written yet
    damaged,  // cannot be read or is not ours; nothing may be sent
};

struct StateFile {
    StateRead outcome = StateRead::read;
    PublishState state;
    std::string message;  // German, for a damaged file
};

// A missing file is an empty state for `collection`. A file of another
// collection (a hash collision of the names) is damaged too: its entries must
// not be taken for this server's.
[[nodiscard]] StateFile read_publish_state(const std::filesystem::path& file,
                                           std::string_view collection);

[[nodiscard]] std::string publish_state_text(const PublishState& state);

// Crash-safe (safe_rewrite); false with a German message when it failed.
[[nodiscard]] bool write_publish_state(const std::filesystem::path& file, const PublishState& state,
                                       std::string& message);

}  // namespace merkwald
