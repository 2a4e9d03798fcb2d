#pragma once
// The converter's file work: reminder files of the older form named colours
// with English or German words; the reader wants colour numbers.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/safe_rewrite.h"

namespace merkwald {

// The 16 colours of the classic text-mode set, as colour numbers.
inline constexpr std::array<std::int32_t, 16> kTextModePalette = {
    0,       8388608,  32768, 8421376,  128, 8388736,  32896, 12632256,
    8421504, 16711680, 65280, 16776960, 255, 16711935, 65535, 16777215};

// Palette index of a colour word, English words first, compared exactly; any
// other word is 0 (black).
[[nodiscard]] int colour_index(std::string_view word);

// One line converted: tabs become blanks and the line is trimmed; a `color`
// tag whose value has no leading number (or the number 0) gets the palette
// number of its word.
[[nodiscard]] std::string convert_line(std::string line);

enum class ConvertCheck {
    ok,
    same_file,      // "Ausgabedatei kann nicht gleich Eingabedatei sein!"
    missing_input,  // "Zu Konvertierende Datei nicht vorhanden!"
    output_exists   // ask "Zieldatei wird überschrieben!"
};

// The checks before a conversion, in their order. The names are compared
// ignoring case; two names of one file in any spelling (links included) and
// the rewrites' temporary names count as the same as well, since writing the
// output would destroy the input.
[[nodiscard]] ConvertCheck check_conversion(const std::string& input_name,
                                            const std::string& output_name,
                                            const std::filesystem::path& input,
                                            const std::filesystem::path& output);

[[nodiscard]] std::string_view check_message(ConvertCheck check);

// Writes the converted lines of `input` to `output` (replacing it), each with
// CRLF, in the input's encoding. The input is never changed.
[[nodiscard]] WriteOutcome convert_file(const std::filesystem::path& input,
                                        const std::filesystem::path& output);

inline constexpr std::string_view kConvertFailed = "Fehler beim Konvertieren";
inline constexpr std::string_view kConvertDone = "Datei erfolgreich konvertiert!";

}  // namespace merkwald
