#pragma once
// The places file "orte.dat": a count, then eleven comma-separated values per
// place (name, longitude degree, minute, second, direction, latitude degree,
// minute, second, direction, hours ahead of GMT, height).

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace merkwald {

inline constexpr std::string_view kPlacesFileName = "orte.dat";
inline constexpr int kMaxPlaces = 100;
inline constexpr std::string_view kPlacesFileMessage =
    "Datei orte.dat nicht vorhanden oder Fehlerhaft";

struct Place {
    std::string name;
    double longitude_degree = 0, longitude_minute = 0, longitude_second = 0;
    std::string longitude_direction;  // "O"/"o" east, anything else west
    double latitude_degree = 0, latitude_minute = 0, latitude_second = 0;
    std::string latitude_direction;  // "S"/"s" south, anything else north
    double diff_to_gmt = 0;          // hours
    double height = 0;               // metres above sea level; shown, never computed with
};

struct PlacesFile {
    // The places read, in file order; after a failure those read before it.
    std::vector<Place> places;
    // The count the file announces (the lists show that many entries, at most
    // kMaxPlaces, the missing ones empty); 0 when not even that could be read.
    int count = 0;
    // false: the file is missing or malformed and the caller shows kPlacesFileMessage.
    bool ok = false;
};

// Takes UTF-8 or Windows-1252 text with any of CRLF, CR or LF as line end.
[[nodiscard]] PlacesFile parse_places(std::string_view bytes);
// Reads `folder` / "orte.dat".
[[nodiscard]] PlacesFile read_places(const std::filesystem::path& folder);

}  // namespace merkwald
