#include "settings/command_line.h"

#include <limits>

#include "engine/number.h"
#include "settings/qt_bridges.h"

namespace merkwald {

CommandLine::CommandLine(const std::string& text) {
    std::size_t begin = 0;
    while (begin < text.size()) {
        const auto end = std::min(text.find(' ', begin), text.size());
        if (end > begin) words_.push_back(text.substr(begin, end - begin));
        begin = end + 1;
    }
}

CommandLine CommandLine::from_arguments(const QStringList& arguments) {
    CommandLine line;
    for (const QString& argument : arguments.mid(1)) line.words_.push_back(to_utf8(argument));
    return line;
}

bool CommandLine::contains(std::string_view word) const {
    for (std::string_view argument : words_) {
        if (argument.starts_with('/')) argument.remove_prefix(1);
        if (argument == word) return true;
    }
    return false;
}

std::optional<std::string_view> CommandLine::value_of(std::string_view prefix) const {
    for (const std::string& argument : words_) {
        if (argument.starts_with(prefix)) return std::string_view(argument).substr(prefix.size());
    }
    return std::nullopt;
}

std::optional<std::string> CommandLine::file() const {
    const auto value = value_of("/file=");
    if (!value) return std::nullopt;
    return std::string(*value);
}

std::optional<int> CommandLine::unload_seconds() const {
    const auto value = value_of("/unload=");
    if (!value) return std::nullopt;
    const double seconds = leading_value(*value);
    // A count too large for the field never runs out.
    return to_int32(seconds).value_or(seconds < 0 ? std::numeric_limits<int>::min()
                                                  : std::numeric_limits<int>::max());
}

}  // namespace merkwald
