#include "shell/main/file_message_sink.h"

#include <string>

namespace merkwald {

void FileNamingSink::show_message(std::string_view text, MessageIcon icon) {
    if (text != state_.messages[1] || tables_.current_file.empty()) {
        inner_.show_message(text, icon);
        return;
    }
    std::string named(text);
    named += "\n\n";
    named += state_.resolve(tables_.current_file).lexically_normal().string();
    inner_.show_message(named, icon);
}

}  // namespace merkwald
