#include "editing/publish/caldav_settings.h"

#include <QHostAddress>

#include "settings/qt_bridges.h"

namespace merkwald {

namespace {

bool is_loopback(const QString& host) {
    const QHostAddress address(host);
    return host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0 ||
           (!address.isNull() && address.isLoopback());
}

}  // namespace

bool publishing_wanted(const Settings& settings) {
    return !to_qstring(settings.caldav_url).trimmed().isEmpty();
}

CalDavProblem check_caldav(const Settings& settings) {
    const QString text = to_qstring(settings.caldav_url).trimmed();
    if (text.isEmpty()) return CalDavProblem::no_url;
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != u"http" && scheme != u"https") || url.host().isEmpty() ||
        url.hasQuery() || url.hasFragment())
        return CalDavProblem::bad_url;
    if (scheme == u"http" && !is_loopback(url.host())) return CalDavProblem::plain_http;
    if (to_qstring(settings.caldav_user).trimmed().isEmpty()) return CalDavProblem::no_user;
    return CalDavProblem::none;
}

std::optional<CalDavTarget> caldav_target(const Settings& settings) {
    if (check_caldav(settings) != CalDavProblem::none) return std::nullopt;
    CalDavTarget target;
    QUrl url(to_qstring(settings.caldav_url).trimmed(), QUrl::StrictMode);
    // The resources are named relative to the collection, which only a final
    // slash makes the folder they resolve against.
    if (!url.path().endsWith(u'/')) url.setPath(url.path() + u'/');
    target.collection = url;
    target.user = to_qstring(settings.caldav_user).trimmed();
    target.fingerprint = normalise_fingerprint(to_qstring(settings.caldav_fingerprint));
    return target;
}

QString caldav_problem_text(CalDavProblem problem) {
    switch (problem) {
        case CalDavProblem::none:
            return {};
        case CalDavProblem::no_url:
            return QStringLiteral("Es ist keine Adresse eines CalDAV-Kalenders eingestellt.");
        case CalDavProblem::bad_url:
            return QStringLiteral(
                "Die Adresse des CalDAV-Kalenders ist keine gültige http- oder https-Adresse.");
        case CalDavProblem::plain_http:
            return QStringLiteral(
                "Die Adresse des CalDAV-Kalenders muss mit https:// beginnen: über http ginge "
                "das Passwort lesbar durchs Netz (http nur zu diesem Rechner).");
        case CalDavProblem::no_user:
            return QStringLiteral("Für den CalDAV-Kalender ist kein Benutzername eingestellt.");
    }
    return {};
}

QString normalise_fingerprint(const QString& text) {
    QString rest = text.trimmed();
    if (rest.startsWith(QStringLiteral("sha256"), Qt::CaseInsensitive)) rest.remove(0, 6);
    QString hex;
    for (const QChar c : rest) {
        if (c == u':' || c == u' ' || c == u'-') continue;
        if (!c.isDigit() && !(c.toLower() >= u'a' && c.toLower() <= u'f')) return {};
        hex += c.toUpper();
    }
    if (hex.size() != 64) return {};
    QString out;
    for (qsizetype i = 0; i < hex.size(); i += 2) {
        if (i > 0) out += u':';
        out += hex.mid(i, 2);
    }
    return out;
}

QString password_account(const CalDavTarget& target) {
    return target.user + u' ' + target.collection.toString();
}

}  // namespace merkwald
