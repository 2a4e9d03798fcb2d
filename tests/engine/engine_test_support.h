#pragma once
// Helpers the engine tests share: dates from text and a scratch folder per test.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "../support/recording_sink.h"
#include "engine/date_text.h"

namespace merkwald::test {

inline DaySerial d(const char* text) { return parse_date(text).value(); }

// A fresh folder named after the running test, removed again afterwards.
class TempFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::filesystem::temp_directory_path() /
                  (std::string("merkwald-") + info->test_suite_name() + "-" + info->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::filesystem::path write(const std::string& name, std::string_view bytes) {
        std::ofstream(folder_ / name, std::ios::binary)
            .write(bytes.data(), std::streamsize(bytes.size()));
        return folder_ / name;
    }

    std::filesystem::path folder_;
};

}  // namespace merkwald::test
