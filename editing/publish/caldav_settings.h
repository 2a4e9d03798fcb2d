#pragma once
// What publishing to a calendar collection needs of the settings, checked
// before anything is sent.

#include <QString>
#include <QUrl>
#include <optional>

#include "settings/settings.h"

namespace merkwald {

// Read by the command-line tool and the programs before the secret store, so
// that scripts and tests need none. Whoever can read the environment of the
// user's processes can read it: a secret store is the better place.
inline constexpr char kCalDavPasswordVariable[] = "MERKWALD_CALDAV_PASSWORD";

enum class CalDavProblem {
    none,
    no_url,
    bad_url,
    plain_http,  // http to another computer: the password would travel readable
    no_user,
};

struct CalDavTarget {
    QUrl collection;  // http or https, ending in '/'
    QString user;
    QString fingerprint;  // normalised (see normalise_fingerprint); empty: none accepted
};

// Whether publishing is asked for at all: an address is set.
[[nodiscard]] bool publishing_wanted(const Settings& settings);

[[nodiscard]] CalDavProblem check_caldav(const Settings& settings);
// The target of valid settings; nullopt with the problem otherwise.
[[nodiscard]] std::optional<CalDavTarget> caldav_target(const Settings& settings);
// German, for the user.
[[nodiscard]] QString caldav_problem_text(CalDavProblem problem);

// Hexadecimal, upper case, pairs joined by ':'; empty for a text that is no
// SHA-256 fingerprint in any of the usual spellings.
[[nodiscard]] QString normalise_fingerprint(const QString& text);

// The secret store's name of the password: user and collection.
[[nodiscard]] QString password_account(const CalDavTarget& target);

}  // namespace merkwald
