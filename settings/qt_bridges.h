#pragma once
// Where Qt's types meet the engine's: text (the engine's strings are UTF-8) and
// days (the engine counts date serials). The settings store, the windows and the
// editing tools all convert here.

#include <QDate>
#include <QString>
#include <filesystem>
#include <string>
#include <string_view>

#include "calendar/date_serial.h"

namespace merkwald {

[[nodiscard]] inline QString to_qstring(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

[[nodiscard]] inline std::string to_utf8(const QString& text) {
    return text.toUtf8().toStdString();
}

// File names: the engine's are paths, built from UTF-8 so that they name the
// same file on every system.
[[nodiscard]] inline std::filesystem::path utf8_path(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

[[nodiscard]] inline std::filesystem::path to_path(const QString& path) {
    return utf8_path(to_utf8(path));
}

[[nodiscard]] inline QString path_text(const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    return to_qstring({reinterpret_cast<const char*>(name.data()), name.size()});
}

[[nodiscard]] inline QDate to_qdate(DaySerial serial) {
    const Ymd d = ymd_of(serial);
    return QDate(d.year, d.month, d.day);
}

// 0 for a date outside the calendar's years.
[[nodiscard]] inline DaySerial to_day_serial(const QDate& date) {
    return make_date(date.year(), date.month(), date.day()).value_or(DaySerial{});
}

}  // namespace merkwald
