#include "engine/system_error.h"

#include <cerrno>
#include <string_view>

namespace merkwald {
namespace {

struct Reason {
    int error;
    std::string_view text;
};

constexpr Reason kReasons[] = {
    {ENOENT, "Datei oder Ordner nicht vorhanden"},
    {EACCES, "Zugriff verweigert"},
    {EPERM, "Vorgang nicht erlaubt"},
    {ENOSPC, "Kein Platz mehr auf dem Datenträger"},
#ifdef EDQUOT  // not among the C library's codes on Windows
    {EDQUOT, "Speicherkontingent überschritten"},
#endif
    {EROFS, "Datenträger ist schreibgeschützt"},
    {EISDIR, "Ist ein Ordner"},
    {ENOTDIR, "Ein Teil des Pfades ist kein Ordner"},
    {EEXIST, "Datei ist schon vorhanden"},
    {EBUSY, "Datei ist in Benutzung"},
    {ETXTBSY, "Datei ist in Benutzung"},
    {ENAMETOOLONG, "Dateiname zu lang"},
    {EMFILE, "Zu viele offene Dateien"},
    {ENFILE, "Zu viele offene Dateien"},
    {EXDEV, "Verschieben zwischen Datenträgern nicht möglich"},
    {EIO, "Ein- oder Ausgabefehler"},
};

}  // namespace

std::string german_error_text(int error) {
    for (const Reason& reason : kReasons) {
        if (reason.error == error) return std::string(reason.text);
    }
    return {};
}

std::string german_error_reason(int error) {
    const std::string text = german_error_text(error);
    return text.empty() ? text : " (" + text + ")";
}

}  // namespace merkwald
