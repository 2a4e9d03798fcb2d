#pragma once
// A fresh folder for one test: unique across runs and across test processes
// running side by side, so no test meets another's leftovers.

#include <filesystem>
#include <random>
#include <string>

namespace merkwald::test {

inline std::filesystem::path make_unique_folder(const std::string& prefix) {
    static std::mt19937_64 random{std::random_device{}()};
    for (;;) {
        auto path =
            std::filesystem::temp_directory_path() / (prefix + "-" + std::to_string(random()));
        if (std::filesystem::create_directories(path)) return path;
    }
}

}  // namespace merkwald::test
