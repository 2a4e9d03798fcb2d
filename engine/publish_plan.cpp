#include "publish_plan.h"

#include "safe_rewrite.h"
#include "text.h"
#include "text_file.h"

namespace merkwald {

namespace {

// The state file's first line; a later format gets another number.
constexpr std::string_view kStateHeader = "merkwald-caldav-state 1";
constexpr std::string_view kCollectionPrefix = "collection ";

// The text without its DTSTAMP line: two runs on the same events send the same.
std::string content_hash(std::string_view text) {
    const std::size_t stamp = text.find("\r\nDTSTAMP:");
    if (stamp == std::string_view::npos) return hex64(fnv1a(text));
    const std::size_t end = text.find("\r\n", stamp + 2);
    const std::uint64_t head = fnv1a(text.substr(0, stamp));
    return hex64(end == std::string_view::npos ? head : fnv1a(text.substr(end), head));
}

std::string first_line(std::string_view text) {
    return std::string(text.substr(0, text.find_first_of("\r\n")));
}

// A field may hold anything but the separators of the file's lines.
bool storable(std::string_view field) {
    return field.find_first_of("\t\r\n") == std::string_view::npos;
}

std::vector<std::string_view> split_tabs(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t pos = 0;
    while (true) {
        const std::size_t tab = line.find('\t', pos);
        fields.push_back(line.substr(pos, tab == std::string_view::npos ? tab : tab - pos));
        if (tab == std::string_view::npos) return fields;
        pos = tab + 1;
    }
}

StateFile damaged(const std::filesystem::path& file) {
    StateFile result;
    result.outcome = StateRead::damaged;
    result.message = "Die Ablage des Kalender-Abgleichs " + display_name(file) +
                     " ist unlesbar. Solange sie besteht, sendet Merkwald nichts; wird sie "
                     "gelöscht, beginnt der Abgleich neu und lässt die früher gesendeten "
                     "Termine auf dem Server unberührt.";
    return result;
}

}  // namespace

std::string resource_href(std::string_view uid) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string href;
    for (const char c : uid) {
        const auto byte = std::uint8_t(c);
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
        if (plain) {
            href += c;
        } else {
            href += '%';
            href += kHex[byte >> 4];
            href += kHex[byte & 15];
        }
    }
    return href + ".ics";
}

std::vector<WantedResource> wanted_resources(const std::vector<Occurrence>& events, UtcTime stamp) {
    std::vector<WantedResource> out;
    out.reserve(events.size());
    for (SingleEvent& one : single_event_calendars(events, stamp)) {
        WantedResource r;
        r.href = resource_href(one.uid);
        r.hash = content_hash(one.text);
        r.day = one.event->day;
        r.summary = first_line(one.event->text);
        r.uid = std::move(one.uid);
        r.text = std::move(one.text);
        out.push_back(std::move(r));
    }
    return out;
}

PublishPlan plan_publish(const std::vector<WantedResource>& wanted, const PublishState& state) {
    PublishPlan plan;
    std::map<std::string_view, const WantedResource*> by_uid;
    for (const WantedResource& r : wanted) by_uid.emplace(r.uid, &r);

    for (const auto& [uid, done] : state.by_uid) {
        if (by_uid.contains(uid) || done.yielded) continue;
        if (done.etag.empty() || done.pending) {
            plan.left_alone.push_back(uid);
            continue;
        }
        plan.steps.push_back({StepKind::remove, uid, done.href, done.etag, nullptr});
    }
    std::vector<PublishStep> creations;
    for (const WantedResource& r : wanted) {
        const auto found = state.by_uid.find(r.uid);
        if (found == state.by_uid.end()) {
            creations.push_back({StepKind::create, r.uid, r.href, {}, &r});
            continue;
        }
        const PublishedResource& done = found->second;
        if (done.pending) {
            creations.push_back({StepKind::create, r.uid, r.href, {}, &r, true});
        } else if (done.yielded) {
            plan.left_alone.push_back(r.uid);
        } else if (done.hash == r.hash) {
            ++plan.unchanged;
        } else if (done.etag.empty()) {
            // Without an ETag a PUT could not tell the user's change on the
            // server from ours, and would overwrite it.
            plan.left_alone.push_back(r.uid);
        } else {
            plan.steps.push_back({StepKind::change, r.uid, done.href, done.etag, &r});
        }
    }
    plan.steps.insert(plan.steps.end(), std::make_move_iterator(creations.begin()),
                      std::make_move_iterator(creations.end()));
    return plan;
}

std::filesystem::path publish_state_file(const std::filesystem::path& folder,
                                         std::string_view collection) {
    return folder / ("caldav-" + hex64(fnv1a(collection)) + ".state");
}

StateFile read_publish_state(const std::filesystem::path& file, std::string_view collection) {
    StateFile result;
    result.state.collection = std::string(collection);
    std::error_code ec;
    if (!std::filesystem::exists(file, ec) && !ec) return result;
    const std::optional<FileText> text = read_text_file(file);
    if (!text) return damaged(file);
    const std::vector<std::string> lines = split_lines(text->text);
    if (lines.size() < 2 || lines[0] != kStateHeader || !lines[1].starts_with(kCollectionPrefix) ||
        std::string_view(lines[1]).substr(kCollectionPrefix.size()) != collection)
        return damaged(file);
    for (std::size_t i = 2; i < lines.size(); ++i) {
        const std::vector<std::string_view> f = split_tabs(lines[i]);
        if (f.size() != 5 || f[0].empty() || f[1].empty() || f[4].size() != 1 || f[4][0] < '0' ||
            f[4][0] > '2')
            return damaged(file);
        result.state.by_uid[std::string(f[0])] = {std::string(f[1]), std::string(f[2]),
                                                  std::string(f[3]), f[4] == "1", f[4] == "2"};
    }
    return result;
}

std::string publish_state_text(const PublishState& state) {
    std::string out;
    out.reserve(64 + state.by_uid.size() * 120);
    out.append(kStateHeader).append("\r\n");
    out.append(kCollectionPrefix).append(state.collection).append("\r\n");
    for (const auto& [uid, r] : state.by_uid) {
        // An ETag the line format cannot hold is as good as none: the entry is
        // then left alone rather than changed unconditionally.
        const std::string& etag = storable(r.etag) ? r.etag : std::string();
        if (!storable(uid) || !storable(r.href) || !storable(r.hash)) continue;
        out.append(uid).append("\t").append(r.href).append("\t").append(etag).append("\t");
        out.append(r.hash).append(r.yielded ? "\t1\r\n" : r.pending ? "\t2\r\n" : "\t0\r\n");
    }
    return out;
}

bool write_publish_state(const std::filesystem::path& file, const PublishState& state,
                         std::string& message) {
    const WriteOutcome outcome = write_file_safely(file, publish_state_text(state));
    if (!outcome.ok()) message = german_text(outcome);
    return outcome.ok();
}

}  // namespace merkwald
