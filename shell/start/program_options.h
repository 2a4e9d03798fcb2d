#pragma once
// "--help" and "--version", as desktop programs answer them, beside the old
// command words ("no_logo", "/once", "/file=", "no_events", "/unload="), which
// stay as they are and are not options to the parser.

#include <QStringList>
#include <optional>

#include "shell/start/program_version.h"

namespace merkwald {

enum class ProgramKind;

// The text to print before ending without a window, or nullopt to start.
// `arguments` start with the program name.
[[nodiscard]] std::optional<QString> information_request(const QStringList& arguments,
                                                         ProgramKind kind,
                                                         const ProgramVersion& version);

}  // namespace merkwald
