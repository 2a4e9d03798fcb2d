#include <gtest/gtest.h>

#include <QDir>

#include "../support/settings_test_support.h"
#include "settings/settings.h"
#include "settings/settings_autostart.h"
#include "settings/settings_schema.h"

namespace merkwald {
namespace {

using namespace std::string_literals;
using test::RecordingSink;
using test::TempStore;

// Every value differs from its default; the texts hold what a plain INI file must escape.
Settings unusual_settings() {
    Settings s = default_settings("/opt/merkwald");
    s.data_filename = "/home/anna/Termine mit Ä.rmd", s.editor_filename = "kate \"a\\b\"\t#;=";
    s.text_filename = "/home/anna/texte.dat";
    s.record_color = 255, s.background_color = 0xC0FFEE;
    s.suppress_space = true, s.groups = false;
    s.date = "24.12.25", s.location = "Rio de Janeiro";
    s.longitude_degree = 43, s.longitude_minute = 12, s.longitude_second = 27;
    s.latitude_degree = 22, s.latitude_minute = 54, s.latitude_second = 13;
    // Characters: GCC 12 at -O3 misreads one-letter literals here (-Wrestrict).
    s.longitude_direction = 'W', s.latitude_direction = 'S';
    s.diff_to_gmt = "-3", s.daylight_saving = true, s.height = -1.25;
    s.font_name = "DejaVu Sans", s.font_size = 11, s.font_bold = true, s.font_italic = true;
    s.window_state = 2, s.window_left = -300, s.window_top = 150;
    s.window_width = 12000, s.window_height = 9000;
    s.reread_interval = 15, s.standby = true, s.sound_file = "gong.wav";
    s.play_sound = true, s.missed_events = true, s.version = 100, s.days_before = "14";
    s.birthday_color = 0xFF00FF, s.appointment_color = 0x00FF00;
    s.selected_text = -1, s.selected_appointment_text = 3, s.pref_group = 2;
    s.columns = {900, 1000, 1100, 1200, 1300, 1400, 1500};
    return s;
}

class WriteRegistry : public ::testing::Test {
protected:
    WriteRegistry() { temp.store().create_key(kMainKey, kKeyClass); }

    StoreValue stored(std::string_view name) {
        StoreValue value;
        EXPECT_TRUE(temp.store().query_value(kMainKey, name, value)) << name;
        return test::as_text(value);
    }

    TempStore temp;
};

// Every value reads back as written, in the forms the store has always held.
TEST_F(WriteRegistry, EveryValueRoundTripsInTheStoresForms) {
    Settings written = unusual_settings();
    EXPECT_TRUE(write_registry(temp.store(), written, {}, nullptr));
    EXPECT_TRUE(write_window_values(temp.store(), written, false));
    EXPECT_TRUE(write_values(temp.store(), written,
                             {"Date", "Version", "DaysBefore", "BirthdayColor", "SelectedText",
                              "TermColor", "SelectedTermText", "PrefGroup", "column0", "column1",
                              "column2", "column3", "column4", "column5", "column6"}));
    SettingsStore store = temp.reopened();
    ReadOptions options;
    options.program_folder = "/opt/merkwald";
    options.read_only = true;
    Settings read;
    RecordingSink sink;
    static_cast<void>(read_registry(store, read, options, sink));
    EXPECT_EQ(written, read);
    EXPECT_TRUE(sink.shown.empty());
    const QByteArray bytes = test::file_bytes(temp.path());
    for (const char* line : {"Intervall=15\n", "Diff%20to%20GMT=-3\n", "SupressSpace=true\n",
                             "Groups=false\n", "Daylight%20Saving%20Time=1\n", "NN=-1.25\n"})
        EXPECT_TRUE(bytes.contains(line)) << line << bytes.toStdString();
    // A blank before a positive height only; a half font size rounds to even.
    written.font_size = 10.5;
    for (const auto& [height, text] : {std::pair<double, std::string>{393, " 393"}, {0, "0"}}) {
        written.height = height;
        write_registry(temp.store(), written, {}, nullptr);
        EXPECT_EQ(StoreValue(text), stored("NN")) << height;
    }
    EXPECT_EQ(StoreValue("10"s), stored("FontSize"));
}

TEST_F(WriteRegistry, OnlyTheWindowValuesOfTheOwnProgramAreWritten) {
    Settings s = unusual_settings();
    write_window_values(temp.store(), s, true);
    StoreValue value;
    EXPECT_FALSE(temp.store().query_value(kMainKey, "Width", value));
    EXPECT_EQ(StoreValue("12000"s), stored("LightWidth"));

    s.window_left.reset();
    write_window_values(temp.store(), s, false);
    EXPECT_FALSE(temp.store().query_value(kMainKey, "Left", value));
    EXPECT_FALSE(write_values(temp.store(), s, {"NoSuchValue"}));
}

TEST_F(WriteRegistry, RunKeyEntryExistsExactlyWhileAutostartIsOn) {
    RunKeyAutostart autostart(temp.store(), "/opt/merkwald/merkwald");
    const Settings s = default_settings("/opt/merkwald");
    StoreValue value;
    EXPECT_TRUE(write_registry(temp.store(), s, {true, true}, &autostart));
    EXPECT_EQ((AutostartChoice{true, true}), autostart.current());
    EXPECT_TRUE(temp.store().query_value(kRunKey, "Merkwald", value));
    EXPECT_EQ(StoreValue("\"/opt/merkwald/merkwald\" /once /no_logo"s), value);
    EXPECT_TRUE(write_registry(temp.store(), s, {false, false}, &autostart));
    EXPECT_EQ(AutostartChoice{}, autostart.current());
    EXPECT_FALSE(temp.store().query_value(kRunKey, "Merkwald", value));
}

// No change of the settings is lost unseen: a failed write of the store is told
// once, naming the file, and a file Qt reads only in part is kept before Qt
// rewrites it without the lines it could not read.
struct Notices {
    explicit Notices(SettingsStore& store) {
        store.set_notice_handler([this](const std::string& text) { told.push_back(text); });
    }
    std::vector<std::string> told;
};

TEST(StoreNotices, AFailedWriteIsToldOnceNamingTheFileAndAgainAfterASuccess) {
    for (const bool locked : {true, false}) {  // a read-only store, or one whose folder is a file
        SCOPED_TRACE(locked);
        QTemporaryDir dir;
        const QString path = dir.filePath(locked ? "Merkwald.conf" : "Merkwald/Merkwald.conf");
        test::write_file(locked ? path : dir.filePath("Merkwald"), locked ? "Intervall=15\n" : "");
        SettingsStore store = SettingsStore::file_store(path);
        Notices notices(store);
        std::optional<test::ReadOnlyStore> read_only;
        if (locked) read_only.emplace(path);

        store.create_key(kMainKey, kKeyClass);
        EXPECT_FALSE(store.set_value(kMainKey, "Intervall", std::int32_t(30)));
        EXPECT_FALSE(store.set_value(kMainKey, "Standby", std::int32_t(1)));
        ASSERT_EQ(notices.told.size(), 1u) << "once, not at every write";
        EXPECT_NE(notices.told[0].find(QDir::toNativeSeparators(path).toStdString()),
                  std::string::npos)
            << notices.told[0];
        store.report_next_failure();  // "OK" of the options dialog
        EXPECT_FALSE(store.set_value(kMainKey, "Standby", std::int32_t(1)));
        EXPECT_EQ(notices.told.size(), 2u);
        if (!locked) continue;
        store.report_next_failure();
        EXPECT_FALSE(store.delete_value(kMainKey, "Intervall"));
        EXPECT_EQ(notices.told.size(), 3u) << "a value not removed is no missing value";
        read_only.reset();
        EXPECT_TRUE(store.set_value(kMainKey, "Standby", std::int32_t(2)));
        read_only.emplace(path);
        EXPECT_FALSE(store.set_value(kMainKey, "Standby", std::int32_t(3)));
        EXPECT_EQ(notices.told.size(), 4u) << "told again after a successful write";
    }
}

TEST(StoreNotices, ADamagedFileIsKeptBeforeItsFirstRewriteAndTheValuesItHoldsAreRead) {
    TempStore temp;
    const QByteArray damaged = "Intervall=15\n[broken\nlocation=Bonn\n";
    test::write_file(temp.path(), damaged);
    Notices notices(temp.store());
    Settings settings;
    ReadOptions options;
    options.today = "06.12.26";
    RecordingSink sink;
    static_cast<void>(read_registry(temp.store(), settings, options, sink));
    EXPECT_EQ(settings.reread_interval, 15) << "what Qt could read is read";
    EXPECT_EQ(test::file_bytes(temp.path() + ".defekt"), damaged) << "kept before the date";
    EXPECT_TRUE(temp.store().set_value(kMainKey, "Standby", std::int32_t(1)));
    EXPECT_EQ(notices.told.size(), 1u) << "said once: the file reads whole now";
    EXPECT_TRUE(test::file_bytes(temp.path()).contains("Date=06.12.26\n"));
}

TEST(StoreNotices, ADamagedFileThatCannotBeKeptIsNotRewritten) {
    TempStore temp;
    const QByteArray damaged = "Intervall=15\n[broken\n";
    test::write_file(temp.path(), damaged);
    QDir().mkpath(temp.path() + ".defekt");  // the copy's name is taken by a folder
    Notices notices(temp.store());
    EXPECT_FALSE(temp.store().set_value(kMainKey, "Intervall", std::int32_t(30)));
    EXPECT_EQ(test::file_bytes(temp.path()), damaged);
    EXPECT_EQ(notices.told.size(), 1u);
}

}  // namespace
}  // namespace merkwald
