#pragma once
// A large, realistic reminder file for the benchmarks: birthdays, name days,
// appointments, monthly and n-th weekday records, periodic and always records,
// about seven lines each, with placeholders.

#include <string>

namespace merkwald::bench {

[[nodiscard]] std::string generate_reminders(int records, unsigned seed = 1);

}  // namespace merkwald::bench
