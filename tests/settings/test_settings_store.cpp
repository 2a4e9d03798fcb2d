#include <gtest/gtest.h>

#include <string>

#include "../support/settings_test_support.h"
#include "settings/settings_store.h"

namespace merkwald {
namespace {

using namespace std::string_literals;
using test::TempStore;

TEST(CleanValue, CutsAtTheFirstZeroAndTrimsBlanks) {
    const std::pair<std::string, std::string> rows[] = {
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
    for (const auto& [in, out] : rows) EXPECT_EQ(out, clean_value(in)) << in;
}

TEST(SettingsStore, WritesNothingBeforeTheKeyIsCreatedNorAValueWithoutKind) {
    TempStore temp;
    StoreValue value;
    EXPECT_FALSE(temp.store().query_value(kMainKey, "Intervall", value));
    EXPECT_FALSE(temp.store().set_value(kMainKey, "Intervall", std::int32_t(5)));
    EXPECT_FALSE(QFile::exists(temp.path()));

    EXPECT_TRUE(temp.store().create_key(kMainKey, kKeyClass));
    EXPECT_FALSE(temp.store().create_key(kMainKey, kKeyClass));
    EXPECT_TRUE(temp.store().set_value(kMainKey, "Intervall", std::int32_t(5)));
    EXPECT_FALSE(temp.store().query_value(kMainKey, "Standby", value));
    EXPECT_FALSE(temp.store().set_value(kMainKey, "Nothing", std::monostate{}));
    EXPECT_FALSE(temp.store().query_value(kMainKey, "Nothing", value));
}

TEST(SettingsStore, ValuesSurviveARestartInAPlainIniFile) {
    TempStore temp;
    temp.store().create_key(kMainKey, kKeyClass);
    const std::pair<std::string, StoreValue> values[] = {
        {"Intervall", std::int32_t(60)},
        {"DaysBefore", "21"s},
        {"Negative", std::int32_t(-2147483647 - 1)},
        {"Escapes", "quote\" backslash\\ line\nend\t"s},
        {"Blanks", "  both ends  "s},
        {"Zero", "abc\0 def"s},
        {"Umlaut", "Altötting"s},
        {"Diff to GMT", "1"s},
        {"Empty", ""s},
        {"odd=name;#", "x"s},
    };
    for (const auto& [name, value] : values)
        EXPECT_TRUE(temp.store().set_value(kMainKey, name, value)) << name;
    const SettingsStore reopened = temp.reopened();
    for (const auto& [name, value] : values) {
        StoreValue read;
        EXPECT_TRUE(reopened.query_value(kMainKey, name, read)) << name;
        EXPECT_EQ(test::as_text(value), read) << name;
    }
    const QByteArray bytes = test::file_bytes(temp.path());
    for (const char* line : {"Intervall=60\n", "DaysBefore=21\n", "Diff%20to%20GMT=1\n"})
        EXPECT_TRUE(bytes.contains(line)) << bytes.toStdString();
}

TEST(SettingsStore, ReadsAHandWrittenFile) {
    TempStore temp;
    test::write_file(temp.path(),
                     "[General]\nIntervall = 45\r\nDate=06.12.26\nBig=99999999999\n"
                     "Quoted=\"  a, b  \"\nDiff%20to%20GMT=-3\n");
    const std::pair<std::string, std::string> expected[] = {{"Intervall", "45"},
                                                            {"Date", "06.12.26"},
                                                            {"Big", "99999999999"},
                                                            {"Quoted", "  a, b  "},
                                                            {"Diff to GMT", "-3"}};
    for (const auto& [name, value] : expected) {
        StoreValue read;
        EXPECT_TRUE(temp.store().query_value(kMainKey, name, read)) << name;
        EXPECT_EQ(StoreValue(value), read) << name;
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

#ifndef Q_OS_WIN
TEST(SettingsStore, UserStoreLiesInTheConfigFolder) {
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    EXPECT_EQ(config.filePath("Merkwald/Merkwald.conf"), SettingsStore::user_store().file_name());
    qputenv("XDG_CONFIG_HOME", saved);
}
#endif

}  // namespace
}  // namespace merkwald
