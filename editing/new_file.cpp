#include "editing/new_file.h"

#include "editing/reminder_document.h"
#include "engine/engine_state.h"
#include "engine/file_lock.h"
#include "settings/qt_bridges.h"

namespace merkwald {

namespace fs = std::filesystem;

fs::path new_file_path(const std::string& typed, const fs::path& program_folder) {
    std::string name = typed;
    if (!name.ends_with(".rmd")) name += ".rmd";
    return resolve_file_name(program_folder, name);
}

std::vector<std::string> add_file_lines(const std::vector<std::string>& linked) {
    std::vector<std::string> lines;
    lines.reserve(linked.size());
    for (const std::string& name : linked) lines.push_back("<add_file=" + name + ">");
    return lines;
}

NewFileOutcome create_new_file(const fs::path& file, const std::vector<std::string>& linked) {
    ReminderDocument doc;
    doc.lines = new_lines(add_file_lines(linked));
    const std::string bytes = document_bytes(doc);
    NewFileOutcome outcome;
    const FileLock lock = lock_file(file);
    if (!lock.held()) {
        outcome.write = WriteOutcome::failed(WriteFailure::busy, file);
        return outcome;
    }
    std::string old_bytes;
    // Only what could be read is kept as the backup; anything else is written anew.
    const FileRead read = read_regular_file(file, old_bytes);
    outcome.write =
        read.ok ? rewrite_with_backup(file, {.before = old_bytes, .after = bytes}, &read.stamp)
                : write_file_safely(file, bytes);
    if (outcome.write.ok()) {
        outcome.file_list.push_back(to_utf8(path_text(file)));
        outcome.file_list.insert(outcome.file_list.end(), linked.begin(), linked.end());
    }
    return outcome;
}

}  // namespace merkwald
