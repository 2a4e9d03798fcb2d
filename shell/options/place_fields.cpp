#include "shell/options/place_fields.h"

#include "shell/widgets/number_fields.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "engine/number.h"
#include "shell/widgets/window_helpers.h"

namespace merkwald {

namespace {

QString number_text(double value) { return QString::number(value, 'g', 10); }

QLineEdit* coordinate_edit(QWidget* parent, const char* name, int characters) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(u'0') * characters + 14);
    return edit;
}

}  // namespace

PlaceFields place_fields(const Place& place) {
    PlaceFields f;
    f.name = to_qstring(place.name);
    f.longitude = {number_text(place.longitude_degree), number_text(place.longitude_minute),
                   number_text(place.longitude_second), to_qstring(place.longitude_direction)};
    f.latitude = {number_text(place.latitude_degree), number_text(place.latitude_minute),
                  number_text(place.latitude_second), to_qstring(place.latitude_direction)};
    f.diff_to_gmt = number_text(place.diff_to_gmt);
    f.height = number_text(place.height);
    return f;
}

PlaceFields home_place_fields(const Settings& s) {
    PlaceFields f;
    f.name = to_qstring(s.location);
    f.longitude = {QString::number(s.longitude_degree), QString::number(s.longitude_minute),
                   QString::number(s.longitude_second), to_qstring(s.longitude_direction)};
    f.latitude = {QString::number(s.latitude_degree), QString::number(s.latitude_minute),
                  QString::number(s.latitude_second), to_qstring(s.latitude_direction)};
    f.diff_to_gmt = to_qstring(s.diff_to_gmt);
    f.height = number_text(s.height);
    return f;
}

std::optional<double> field_number(const QString& text) {
    const QString t = text.trimmed();
    qsizetype i = !t.isEmpty() && (t[0] == u'+' || t[0] == u'-') ? 1 : 0;
    int digits = 0;
    bool point = false;
    for (; i < t.size(); ++i) {
        if (t[i].isDigit() && t[i].unicode() < 128) {
            ++digits;
        } else if (t[i] == u'.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0) return std::nullopt;
    return leading_value(to_utf8(t));
}

void CoordinateEdits::show(const PlaceFields& place) const {
    for (std::size_t i = 0; i < 4; ++i) {
        longitude[i]->setText(place.longitude[i]);
        latitude[i]->setText(place.latitude[i]);
    }
}

Coordinates CoordinateEdits::values() const {
    Coordinates c;
    for (std::size_t i = 0; i < 3; ++i) {
        c.longitude[i] = leading_value(to_utf8(longitude[i]->text()));
        c.latitude[i] = leading_value(to_utf8(latitude[i]->text()));
    }
    c.longitude_direction = to_utf8(longitude[3]->text().trimmed());
    c.latitude_direction = to_utf8(latitude[3]->text().trimmed());
    return c;
}

CoordinateEdits add_coordinate_rows(QGridLayout& grid, int row, QWidget* parent) {
    CoordinateEdits edits;
    const auto add_row = [&](int r, const QString& caption, std::array<QLineEdit*, 4>& fields,
                             const std::array<const char*, 4>& names) {
        grid.addWidget(new QLabel(caption, parent), r, 0);
        auto* line = new QHBoxLayout;
        const std::array<const char*, 3> units = {"°", "'", "''"};
        // Four fields behind one label: each says which part of the angle it holds.
        const std::array<const char*, 4> parts = {" Grad", " Minuten", " Sekunden", " Richtung"};
        for (std::size_t i = 0; i < 4; ++i) {
            fields[i] = coordinate_edit(parent, names[i], i == 3 ? 2 : 4);
            fields[i]->setAccessibleName(caption.chopped(1) + QString::fromUtf8(parts[i]));
            if (i < 3) accept_decimal_numbers(*fields[i], false);
            line->addWidget(fields[i]);
            if (i < 3) line->addWidget(new QLabel(QString::fromUtf8(units[i]), parent));
        }
        line->addStretch(1);
        grid.addLayout(line, r, 1);
    };
    add_row(row, QStringLiteral("Längengrad:"), edits.longitude,
            {"LGrad", "LMin", "LSecunde", "LRicht"});
    add_row(row + 1, QStringLiteral("Breitengrad:"), edits.latitude,
            {"BGrad", "BMin", "BSecunde", "BRicht"});
    return edits;
}

std::vector<PlaceFields> places_table(const PlaceFields& home, const PlacesFile& file) {
    std::vector<PlaceFields> table{home};
    const int count = std::min(std::max(file.count, int(file.places.size())), kMaxPlaces);
    for (int i = 0; i < count; ++i) {
        table.push_back(std::size_t(i) < file.places.size()
                            ? place_fields(file.places[std::size_t(i)])
                            : PlaceFields{});
    }
    return table;
}

}  // namespace merkwald
