#pragma once
// What the engine would show in a message box goes through this interface: the
// windows show a box, the command line writes standard error, tests record it.

#include <string_view>

namespace merkwald {

// What every reader says of a file it cannot open or read to its end.
inline constexpr std::string_view kFileNotFound = "Datei nicht gefunden";

enum class MessageIcon { critical, exclamation, information, question };

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Modal: returns once the user has confirmed.
    virtual void show_message(std::string_view text, MessageIcon icon) = 0;
};

// Swallows everything (previews, benchmarks).
class SilentSink final : public MessageSink {
public:
    void show_message(std::string_view, MessageIcon) override {}
};

}  // namespace merkwald
