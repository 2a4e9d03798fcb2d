#pragma once
// The place fields the astronomy window and the options dialog share: longitude
// and latitude as degree, minute, second and direction, the time zone, the
// height, and the places table behind their place list.

#include <QString>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "engine/places.h"
#include "settings/settings.h"

class QGridLayout;
class QLineEdit;
class QWidget;

namespace merkwald {

// A place as the fields show it.
struct PlaceFields {
    QString name;
    std::array<QString, 4> longitude;  // degree, minute, second, direction
    std::array<QString, 4> latitude;
    QString diff_to_gmt;
    QString height;
};

[[nodiscard]] PlaceFields place_fields(const Place& place);
// The home place of the settings (row 0 of the places table).
[[nodiscard]] PlaceFields home_place_fields(const Settings& settings);

// The number a field holds as a whole (blanks around it allowed), nullopt otherwise.
[[nodiscard]] std::optional<double> field_number(const QString& text);

// The eight coordinate fields `LGrad`, `LMin`, `LSecunde`, `LRicht`, `BGrad`,
// `BMin`, `BSecunde`, `BRicht`.
// What they hold: each number field's leading value, each direction trimmed.
struct Coordinates {
    std::array<double, 3> longitude{};  // degree, minute, second
    std::array<double, 3> latitude{};
    std::string longitude_direction, latitude_direction;
};

struct CoordinateEdits {
    std::array<QLineEdit*, 4> longitude{};
    std::array<QLineEdit*, 4> latitude{};
    void show(const PlaceFields& place) const;
    [[nodiscard]] Coordinates values() const;
};

// Adds the rows "Längengrad:" and "Breitengrad:" with unit marks at `row` and `row` + 1.
[[nodiscard]] CoordinateEdits add_coordinate_rows(QGridLayout& grid, int row, QWidget* parent);

// Row 0 the home place, then the places file's entries: as many as the file
// announces (at most 100), the ones it failed to deliver empty.
[[nodiscard]] std::vector<PlaceFields> places_table(const PlaceFields& home,
                                                    const PlacesFile& file);

}  // namespace merkwald
