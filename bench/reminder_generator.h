#pragma once
// A large, realistic reminder file for the benchmarks: birthdays, name days,
// appointments, monthly and n-th weekday records, periodic and always records,
// about seven lines each, with placeholders.

#include <filesystem>
#include <string>

namespace merkwald::bench {

[[nodiscard]] std::string generate_reminders(int records, unsigned seed = 1);

// The generated file of `records` records in the temporary folder, written once per run.
[[nodiscard]] std::filesystem::path generated_file(int records);

}  // namespace merkwald::bench
