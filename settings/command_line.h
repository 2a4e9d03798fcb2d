#pragma once
// The words of the programs' command line. Each word is one whole argument, so
// that a file name such as "concerts.rmd" never reads as "once" and a name with
// blanks stays one name. The plain words may carry a leading slash ("/no_logo"),
// as the autostart entry writes them.

#include <QStringList>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace merkwald {

class CommandLine {
public:
    CommandLine() = default;
    // Words separated by blanks (a line typed by hand or stored).
    explicit CommandLine(const std::string& text);
    // The arguments behind the program name, each one word.
    [[nodiscard]] static CommandLine from_arguments(const QStringList& arguments);

    // True when one argument is `word`, with or without a leading slash.
    [[nodiscard]] bool contains(std::string_view word) const;
    [[nodiscard]] bool no_logo() const { return contains("no_logo"); }
    [[nodiscard]] bool no_events() const { return contains("no_events"); }
    [[nodiscard]] bool once() const { return contains("once"); }
    // The rest of the first argument starting "/file=", blanks included.
    [[nodiscard]] std::optional<std::string> file() const;
    // The seconds behind "/unload=" (0 when no number follows); nullopt without
    // an argument starting "/unload=".
    [[nodiscard]] std::optional<int> unload_seconds() const;

private:
    [[nodiscard]] std::optional<std::string_view> value_of(std::string_view prefix) const;
    std::vector<std::string> words_;
};

}  // namespace merkwald
