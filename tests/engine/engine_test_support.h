#pragma once
// Helpers the engine tests share: dates from text and a scratch folder per test.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "../support/recording_sink.h"
#include "../support/temp_folder.h"
#include "engine/date_text.h"

namespace merkwald::test {

inline DaySerial d(const char* text) { return parse_date(text).value(); }

// A fresh folder named after the running test, removed again afterwards.
class TempFolderTest : public ::testing::Test {
protected:
    void SetUp() override { folder_ = make_unique_folder("merkwald-engine"); }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::filesystem::path write(const std::string& name, std::string_view bytes) {
        std::ofstream(folder_ / name, std::ios::binary) << bytes;
        return folder_ / name;
    }

    std::filesystem::path folder_;
};

}  // namespace merkwald::test
