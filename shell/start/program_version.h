#pragma once
// The program's version as the captions show it and the version check compares it.

#include <QString>

namespace merkwald {

inline constexpr char kProductTitle[] = "Merkwald";

struct ProgramVersion {
    int major = 1, minor = 0, revision = 0;

    // "1.5.12"
    [[nodiscard]] QString text() const {
        return QStringLiteral("%1.%2.%3").arg(major).arg(minor).arg(revision);
    }
    // The parts joined without separators: 1.5.12 is 1512.
    [[nodiscard]] int number() const {
        return QStringLiteral("%1%2%3").arg(major).arg(minor).arg(revision).toInt();
    }
};

}  // namespace merkwald
