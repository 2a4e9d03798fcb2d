#include <gtest/gtest.h>

#include "../support/settings_test_support.h"
#include "settings/settings.h"

namespace merkwald {
namespace {

using namespace std::string_literals;
using test::RecordingSink;
using test::TempStore;

constexpr char kToday[] = "06.12.26";

class ReadRegistry : public ::testing::Test {
protected:
    ReadRegistry() {
        options.program_folder = "/opt/merkwald";
        options.today = kToday;
        store().create_key(kMainKey, kKeyClass);
    }

    SettingsStore& store() { return temp.store(); }
    void put(std::string_view name, const StoreValue& value) {
        ASSERT_TRUE(store().set_value(kMainKey, name, value)) << name;
    }
    ReadOutcome read() { return read_registry(store(), settings, options, sink); }
    StoreValue stored(std::string_view name) {
        StoreValue value;
        static_cast<void>(store().query_value(kMainKey, name, value));
        return value;
    }

    TempStore temp;
    ReadOptions options;
    Settings settings;
    RecordingSink sink;
};

TEST_F(ReadRegistry, EmptyStoreGivesTheDefaults) {
    EXPECT_EQ(ReadOutcome::go_on, read());
    EXPECT_EQ(default_settings("/opt/merkwald"), settings);
    EXPECT_TRUE(sink.shown.empty());
    EXPECT_EQ(StoreValue(std::string(kToday)), stored("Date"));
}

// A number reads alike stored as number or text; one that fits no number is
// reported and leaves the setting alone.
TEST_F(ReadRegistry, NumbersReadAlikeAsNumberOrTextAndOneThatFitsNoneIsReported) {
    const std::pair<StoreValue, int> rows[] = {
        {std::int32_t(60), 60}, {" 60 \0junk"s, 60}, {"90 Minuten"s, 90}, {"2.5"s, 2}};
    for (const auto& [value, minutes] : rows) {
        put("Intervall", value);
        read();
        EXPECT_EQ(minutes, settings.reread_interval) << ::testing::PrintToString(value);
    }
    EXPECT_TRUE(sink.shown.empty());
    put("RecordColor", "99999999999"s);
    settings.record_color = 255;
    read();
    EXPECT_EQ(std::pair(255, 2), std::pair(settings.record_color, settings.reread_interval));
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].text, kReadRegistryError);
}

TEST_F(ReadRegistry, FlagsAnswerOnlyToTheirExactWord) {
    using Flags = std::tuple<bool, bool, bool>;  // suppress space, groups, play sound
    const std::tuple<StoreValue, StoreValue, StoreValue, Flags> rows[] = {
        {"true"s, "false"s, std::int32_t(1), {true, false, true}},
        {"TRUE"s, "FALSE"s, "1"s, {false, true, true}},
        {" true "s, std::int32_t(0), std::int32_t(2), {true, true, false}}};
    for (const auto& [suppress_space, groups, play_sound, flags] : rows) {
        put("SupressSpace", suppress_space);
        put("Groups", groups);
        put("PlaySound", play_sound);
        read();
        EXPECT_EQ(flags, Flags(settings.suppress_space, settings.groups, settings.play_sound))
            << ::testing::PrintToString(suppress_space);
    }
}

TEST_F(ReadRegistry, StartOnceEndsTheSecondStartOfADaySilently) {
    options.command_line = "/once /no_logo";
    EXPECT_EQ(ReadOutcome::go_on, read());
    EXPECT_EQ(ReadOutcome::end_silently, read());
    options.command_line = "/file=concerts.rmd";  // the letters inside a name are no word
    EXPECT_EQ(ReadOutcome::go_on, read());
    options.command_line = "/once";
    options.today = "07.12.26";
    EXPECT_EQ(ReadOutcome::go_on, read());
    EXPECT_EQ(StoreValue("07.12.26"s), stored("Date"));
}

TEST_F(ReadRegistry, DefaultPlaceReplacesCoordinatesWhenLocationIsEmpty) {
    put("longitude-degree", std::int32_t(7));
    put("longitude-direction", "W"s);
    put("latitude-minute", "12.5"s);
    put("Diff to GMT", "-5"s);
    put("Daylight Saving Time", std::int32_t(1));
    put("NN", " 393"s);
    // The summer-time flag and the height are not part of the place.
    for (const StoreValue& location : {StoreValue(""s), StoreValue("  \0x"s)}) {
        SCOPED_TRACE(::testing::PrintToString(location));
        put("location", location);
        read();
        EXPECT_EQ(std::tuple(std::string(kDefaultPlaceName), 12, "O"s, 33, "1"s, true, 393.0),
                  std::tuple(settings.location, settings.longitude_degree,
                             settings.longitude_direction, settings.latitude_minute,
                             settings.diff_to_gmt, settings.daylight_saving, settings.height));
    }
}

TEST_F(ReadRegistry, EntryColoursFallBackAndTheLightProgramReadsItsOwnWindowValues) {
    put("RecordColor", std::int32_t(255));
    put("TermColor", std::int32_t(65280));
    put("Width", std::int32_t(9000));
    put("LightWidth", std::int32_t(5000));
    put("LightLeft", std::int32_t(120));
    options.light = true;
    read();
    EXPECT_EQ(std::tuple(255, 65280, 5000, 6180, 120),
              std::tuple(settings.birthday_color, settings.appointment_color, settings.window_width,
                         settings.window_height, settings.window_left.value_or(0)));
}

TEST(ReadRegistryReadOnly, WritesNothing) {
    TempStore temp;
    ReadOptions options;
    options.today = kToday;
    options.read_only = true;
    Settings settings;
    RecordingSink sink;
    EXPECT_EQ(ReadOutcome::go_on, read_registry(temp.store(), settings, options, sink));
    EXPECT_FALSE(QFile::exists(temp.path()));
    test::write_file(temp.path(), "Date=\"05.12.26\"\n");
    static_cast<void>(read_registry(temp.store(), settings, options, sink));
    EXPECT_EQ("05.12.26", settings.date);
    EXPECT_EQ(QByteArray("Date=\"05.12.26\"\n"), test::file_bytes(temp.path()));
}

}  // namespace
}  // namespace merkwald
