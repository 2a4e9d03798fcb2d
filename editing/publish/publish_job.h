#pragma once
// From the settings and the coming days' occurrences to a job for the client,
// and from its report to the text the terminal shows.

#include <QString>
#include <filesystem>
#include <string>
#include <variant>
#include <vector>

#include "editing/publish/caldav_client.h"
#include "editing/publish/caldav_settings.h"

namespace merkwald {

// The job, or a report of why there is none (a damaged state file).
[[nodiscard]] std::variant<PublishJob, PublishReport> prepare_publish(
    const CalDavTarget& target, const QString& password, const std::vector<Occurrence>& events,
    UtcTime stamp, const std::filesystem::path& state_folder, bool dry_run = false);

// Every created, changed, deleted and left-alone occurrence, with counts, in German.
[[nodiscard]] std::string publish_report_text(const PublishReport& report);

}  // namespace merkwald
