#include "shell/command_line.h"

#include <limits>

#include "engine/number.h"
#include "settings/qt_bridges.h"

namespace merkwald {

CommandLine CommandLine::from_arguments(const QStringList& arguments) {
    return CommandLine(to_utf8(arguments.mid(1).join(u' ')));
}

std::optional<std::string> CommandLine::file() const {
    constexpr std::string_view kWord = "/file=";
    const auto at = text_.find(kWord);
    if (at == std::string::npos) return std::nullopt;
    const auto begin = at + kWord.size();
    const auto end = text_.find(' ', begin);
    return text_.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

std::optional<int> CommandLine::unload_seconds() const {
    constexpr std::string_view kWord = "/unload=";
    const auto at = text_.find(kWord);
    if (at == std::string::npos) return std::nullopt;
    const double seconds = leading_value(std::string_view(text_).substr(at + kWord.size()));
    // A count too large for the field never runs out.
    return to_int32(seconds).value_or(seconds < 0 ? std::numeric_limits<int>::min()
                                                  : std::numeric_limits<int>::max());
}

}  // namespace merkwald
