#include "editing/publish/publish_job.h"

#include "engine/date_text.h"
#include "settings/qt_bridges.h"

namespace merkwald {

std::variant<PublishJob, PublishReport> prepare_publish(
    const CalDavTarget& target, const QString& password, const std::vector<Occurrence>& events,
    UtcTime stamp, const std::filesystem::path& state_folder, bool dry_run) {
    const std::string collection = target.collection.toString(QUrl::FullyEncoded).toStdString();
    PublishJob job;
    job.state_file = publish_state_file(state_folder, collection);
    if (!dry_run) {
        // Two runs at once would each write back the state they read, and the
        // later one would forget what the other sent.
        job.state_lock = lock_file(job.state_file);
        std::error_code missing;
        if (job.state_lock.held() && !std::filesystem::exists(job.state_file, missing)) {
            // Where no file stands yet the lock is its folder's, which every
            // new file there needs: the run holds the file's own instead.
            std::string message;
            if (write_publish_state(job.state_file, PublishState{collection, {}}, message)) {
                job.state_lock = FileLock();
                job.state_lock = lock_file(job.state_file);
            }
        }
        if (!job.state_lock.held()) {
            PublishReport report;
            report.failure = PublishFailure::busy;
            report.failure_text = to_qstring(job.state_lock.message());
            return report;
        }
    }
    StateFile read = read_publish_state(job.state_file, collection);
    if (read.outcome == StateRead::damaged) {
        PublishReport report;
        report.failure = PublishFailure::state_damaged;
        report.failure_text = to_qstring(read.message);
        report.dry_run = dry_run;
        return report;
    }
    job.collection = target.collection;
    job.user = target.user;
    job.password = password;
    job.accepted_fingerprint = target.fingerprint;
    job.state = std::move(read.state);
    job.wanted = wanted_resources(events, stamp);
    job.dry_run = dry_run;
    return job;
}

namespace {

void add_items(std::string& out, std::string_view heading,
               const std::vector<PublishedItem>& items) {
    out.append(heading).append(": ").append(std::to_string(items.size())).append("\n");
    for (const PublishedItem& item : items) {
        out.append("  ");
        if (item.day != DaySerial{}) out.append(format_date(item.day, "dd.mm.yyyy")).append(" ");
        if (!item.summary.empty()) out.append(item.summary).append(" ");
        out.append("[").append(item.uid).append("]\n");
    }
}

}  // namespace

std::string publish_report_text(const PublishReport& report) {
    std::string out;
    if (report.dry_run) out += "Probelauf: nichts wurde gesendet.\n";
    add_items(out, report.dry_run ? "Neu anzulegen" : "Neu angelegt", report.created);
    add_items(out, report.dry_run ? "Zu ändern" : "Geändert", report.changed);
    add_items(out, report.dry_run ? "Zu löschen" : "Gelöscht", report.deleted);
    std::vector<PublishedItem> alone = report.conflicts;
    for (const std::string& uid : report.left_alone) alone.push_back({uid, {}, DaySerial{}});
    add_items(out, "Unberührt gelassen", alone);
    out += "Unverändert: " + std::to_string(report.unchanged) + "\n";
    if (!report.conflicts.empty())
        out += std::to_string(report.conflicts.size()) +
               " Termine wurden inzwischen auf dem Server geändert und bleiben, wie sie dort "
               "sind.\n";
    return out;
}

}  // namespace merkwald
