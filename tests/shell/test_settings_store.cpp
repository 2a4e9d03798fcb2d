#include <gtest/gtest.h>

#include <string>

#include "settings_test_support.h"
#include "shell/settings_store.h"

namespace merkwald {
namespace {

using namespace std::string_literals;
using test::TempStore;

TEST(CleanValue, CutsAtTheFirstZeroAndTrimsBlanks) {
    const struct {
        std::string in, out;
    } rows[] = {
        {"abc", "abc"},
        {"  abc  ", "abc"},
        {"abc\0xyz"s, "abc"},
        {" 60 \0\0 "s, "60"},
        {"\0abc"s, ""},
        {"   ", ""},
        {"", ""},
        {"a  b", "a  b"},
        {"\tx\t", "\tx\t"},  // only blanks are trimmed
    };
    for (const auto& row : rows) EXPECT_EQ(row.out, clean_value(row.in)) << row.in;
}

TEST(SettingsStore, WritesNothingBeforeTheKeyIsCreated) {
    TempStore temp;
    StoreValue value;
    EXPECT_FALSE(temp.store().query_value(kMainKey, "Intervall", value));
    EXPECT_FALSE(temp.store().set_value(kMainKey, "Intervall", std::int32_t(5)));
    EXPECT_FALSE(QFile::exists(temp.path()));

    EXPECT_TRUE(temp.store().create_key(kMainKey, kKeyClass));
    EXPECT_FALSE(temp.store().create_key(kMainKey, kKeyClass));
    EXPECT_TRUE(temp.store().set_value(kMainKey, "Intervall", std::int32_t(5)));
    EXPECT_FALSE(temp.store().query_value(kMainKey, "Standby", value));
}

TEST(SettingsStore, ValuesSurviveARestart) {
    TempStore temp;
    temp.store().create_key(kMainKey, kKeyClass);
    const std::pair<std::string, StoreValue> values[] = {
        {"Number", std::int32_t(60)},
        {"NumberText", "60"s},
        {"Negative", std::int32_t(-2147483647 - 1)},
        {"Escapes", "quote\" backslash\\ line\nend\t"s},
        {"Blanks", "  both ends  "s},
        {"Zero", "abc\0 def"s},
        {"Umlaut", "Altötting"s},
        {"Diff to GMT", "1"s},
        {"Empty", ""s},
        {"odd=name;#", "x"s},
    };
    for (const auto& [name, value] : values) {
        EXPECT_TRUE(temp.store().set_value(kMainKey, name, value)) << name;
    }
    const SettingsStore reopened = temp.reopened();
    for (const auto& [name, value] : values) {
        StoreValue read;
        EXPECT_TRUE(reopened.query_value(kMainKey, name, read)) << name;
        EXPECT_EQ(test::as_text(value), read) << name;
    }
}

TEST(SettingsStore, FileIsAPlainIniFile) {
    TempStore temp;
    temp.store().create_key(kMainKey, kKeyClass);
    temp.store().set_value(kMainKey, "Intervall", std::int32_t(60));
    temp.store().set_value(kMainKey, "DaysBefore", "21"s);
    temp.store().set_value(kMainKey, "Diff to GMT", "1"s);
    temp.store().set_value(kRunKey, "Merkwald", "\"C:\\m.exe\" /no_logo"s);
    const QByteArray bytes = test::file_bytes(temp.path());
    EXPECT_TRUE(bytes.contains("Intervall=60\n")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("DaysBefore=21\n")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("Diff%20to%20GMT=1\n")) << bytes.toStdString();
}

TEST(SettingsStore, ReadsAHandWrittenFile) {
    TempStore temp;
    test::write_file(temp.path(),
                     "[General]\n"
                     "Intervall = 45\r\n"
                     "Date=06.12.26\n"
                     "Big=99999999999\n"
                     "Quoted=\"  a, b  \"\n"
                     "Diff%20to%20GMT=-3\n");
    const std::pair<std::string, StoreValue> expected[] = {
        {"Intervall", "45"s},
        {"Date", "06.12.26"s},
        {"Big", "99999999999"s},
        {"Quoted", "  a, b  "s},
        {"Diff to GMT", "-3"s},
    };
    for (const auto& [name, value] : expected) {
        StoreValue read;
        EXPECT_TRUE(temp.store().query_value(kMainKey, name, read)) << name;
        EXPECT_EQ(value, read) << name;
    }
}

TEST(SettingsStore, SubkeysKeepTheirValuesApart) {
    TempStore temp;
    temp.store().create_key(kMainKey, kKeyClass);
    temp.store().set_value(kMainKey, "Merkwald", "main"s);
    temp.store().set_value(kRunKey, "Merkwald", "run"s);
    StoreValue main_value, run_value;
    EXPECT_TRUE(temp.store().query_value(kMainKey, "Merkwald", main_value));
    EXPECT_TRUE(temp.store().query_value(kRunKey, "Merkwald", run_value));
    EXPECT_EQ(StoreValue("main"s), main_value);
    EXPECT_EQ(StoreValue("run"s), run_value);

    EXPECT_TRUE(temp.store().delete_value(kRunKey, "Merkwald"));
    EXPECT_FALSE(temp.store().delete_value(kRunKey, "Merkwald"));
    EXPECT_FALSE(temp.store().query_value(kRunKey, "Merkwald", run_value));
    EXPECT_TRUE(temp.store().query_value(kMainKey, "Merkwald", main_value));
}

TEST(SettingsStore, StoresNothingForAValueWithoutKind) {
    TempStore temp;
    temp.store().create_key(kMainKey, kKeyClass);
    EXPECT_FALSE(temp.store().set_value(kMainKey, "Nothing", std::monostate{}));
    StoreValue read;
    EXPECT_FALSE(temp.store().query_value(kMainKey, "Nothing", read));
}

#ifndef Q_OS_WIN
TEST(SettingsStore, UserStoreLiesInTheConfigFolder) {
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    const SettingsStore store = SettingsStore::user_store();
    EXPECT_EQ(config.filePath("Merkwald/Merkwald.conf"), store.file_name());
    qputenv("XDG_CONFIG_HOME", saved);
}
#endif

}  // namespace
}  // namespace merkwald
