#include "record_scan.h"

#include <string>
#include <system_error>

#include "line_source.h"
#include "tags.h"
#include "text.h"

namespace merkwald {

RecordScan scan_records(const std::filesystem::path& path, MessageSink& sink) {
    RecordScan scan;
    LineSource source(path);
    if (!source.is_open() || source.failed()) {
        sink.show_message("Datei nicht gefunden", MessageIcon::critical);
        return scan;
    }
    RecordBounds current;
    long long number = 0;
    std::string prepared;
    std::string_view raw;
    while (source.next(raw)) {
        ++number;
        if (raw.empty()) continue;
        prepared.assign(raw);
        tabs_to_spaces(prepared);
        const SplitLine split = split_tag_line(prepared);
        if (split.kind != LineKind::tag) continue;
        const Tag tag = find_tag(split.name);
        if (tag == Tag::record) {
            current.start = number;
        } else if (tag == Tag::end_record) {
            current.end = number;
            scan.records.push_back(current);
            current = {};
        }
    }
    if (source.failed()) {
        sink.show_message("Datei nicht gefunden", MessageIcon::critical);
        return scan;
    }
    scan.ok = true;
    return scan;
}

bool path_exists(const std::filesystem::path& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::exists(path, ec) && !ec;
}

}  // namespace merkwald
