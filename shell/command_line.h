#pragma once
// The words of the programs' command line. The line is taken as one text, the
// way the words are matched: anywhere in it, letters as written.

#include <QStringList>
#include <optional>
#include <string>
#include <string_view>

namespace merkwald {

class CommandLine {
public:
    CommandLine() = default;
    explicit CommandLine(std::string text) : text_(std::move(text)) {}
    // The arguments behind the program name, joined by blanks.
    [[nodiscard]] static CommandLine from_arguments(const QStringList& arguments);

    [[nodiscard]] const std::string& text() const { return text_; }
    [[nodiscard]] bool contains(std::string_view word) const {
        return text_.find(word) != std::string::npos;
    }
    [[nodiscard]] bool no_logo() const { return contains("no_logo"); }
    [[nodiscard]] bool no_events() const { return contains("no_events"); }
    // The text behind "/file=" up to the next blank; nullopt without "/file=".
    [[nodiscard]] std::optional<std::string> file() const;
    // The seconds behind "/unload=" (0 when no number follows); nullopt without
    // "/unload=", so that a file name holding "unload" does not close the program.
    [[nodiscard]] std::optional<int> unload_seconds() const;

private:
    std::string text_;
};

}  // namespace merkwald
