// No change of the settings is lost unseen: a failed write of the store is told
// once, naming the file, and a file Qt reads only in part is kept before Qt
// rewrites it without the lines it could not read.

#include <gtest/gtest.h>

#include <QDir>
#include <string>
#include <vector>

#include "../support/settings_test_support.h"
#include "settings/settings.h"

namespace merkwald {
namespace {

using namespace std::string_literals;
using test::TempStore;

struct Notices {
    explicit Notices(SettingsStore& store) {
        store.set_notice_handler([this](const std::string& text) { told.push_back(text); });
    }
    std::vector<std::string> told;
};

TEST(StoreNotices, AFailedWriteIsToldOnceNamingTheFile) {
    enum class Kind { read_only, directory, folder_is_a_file };
    for (const Kind kind : {Kind::read_only, Kind::directory, Kind::folder_is_a_file}) {
        SCOPED_TRACE(int(kind));
        QTemporaryDir dir;
        QString path = dir.filePath("Merkwald.conf");
        if (kind == Kind::directory) QDir().mkpath(path);
        if (kind == Kind::folder_is_a_file) {
            test::write_file(dir.filePath("Merkwald"), "");
            path = dir.filePath("Merkwald/Merkwald.conf");
        }
        if (kind == Kind::read_only) test::write_file(path, "Intervall=15\n");
        SettingsStore store = SettingsStore::file_store(path);
        Notices notices(store);
        std::optional<test::ReadOnlyStore> read_only;
        if (kind == Kind::read_only) read_only.emplace(path);

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
        if (kind == Kind::folder_is_a_file) continue;
        store.report_next_failure();
        EXPECT_FALSE(store.delete_value(kMainKey, "Intervall"));
        EXPECT_EQ(notices.told.size(), 3u) << "a value not removed is no missing value";
    }
}

TEST(StoreNotices, AFailureAfterASuccessfulWriteIsToldAgain) {
    TempStore temp;
    Notices notices(temp.store());
    temp.store().create_key(kMainKey, kKeyClass);
    for (const int minutes : {10, 20}) {
        {
            test::ReadOnlyStore read_only(temp.path());
            EXPECT_FALSE(temp.store().set_value(kMainKey, "Intervall", std::int32_t(minutes)));
        }
        EXPECT_TRUE(temp.store().set_value(kMainKey, "Standby", std::int32_t(minutes)));
    }
    EXPECT_EQ(notices.told.size(), 2u);
}

TEST(StoreNotices, ADamagedFileIsKeptBeforeItsFirstRewriteAndTheValuesItHoldsAreRead) {
    TempStore temp;
    const QByteArray damaged = "Intervall=15\n[broken\nlocation=Bonn\n";
    test::write_file(temp.path(), damaged);
    Notices notices(temp.store());
    Settings settings = default_settings("/opt/merkwald");
    ReadOptions options;
    options.program_folder = "/opt/merkwald";
    options.today = "06.12.26";
    test::RecordingSink sink;
    static_cast<void>(read_registry(temp.store(), settings, options, sink));
    EXPECT_EQ(settings.reread_interval, 15) << "what Qt could read is read";

    const QString copy = temp.path() + ".defekt";
    EXPECT_EQ(test::file_bytes(copy), damaged) << "kept before the date was written";
    ASSERT_EQ(notices.told.size(), 1u);
    for (const QString& name : {temp.path(), copy})
        EXPECT_NE(notices.told[0].find(QDir::toNativeSeparators(name).toStdString()),
                  std::string::npos)
            << notices.told[0];
    EXPECT_TRUE(temp.store().set_value(kMainKey, "Standby", std::int32_t(1)));
    EXPECT_EQ(notices.told.size(), 1u) << "said once: the file reads whole now";
    EXPECT_EQ(test::file_bytes(copy), damaged);
    StoreValue date;
    ASSERT_TRUE(temp.reopened().query_value(kMainKey, "Date", date));
    EXPECT_EQ(date, StoreValue("06.12.26"s));
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
