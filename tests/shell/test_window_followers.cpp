// What follows the main window: today's digest, with one notification per start
// and per day change on a private session bus with a fake notification service
// (in builds with D-Bus), else the tray's message,
// and the watched file list, where outside edits refresh the list, a burst gives
// one refresh and the program's own rewrites none more.

#include <gtest/gtest.h>

#include <cstdio>

#ifdef MERKWALD_DBUS
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QStandardPaths>
#endif

#include "event_loop_support.h"
#include "gui_test_support.h"
#include "shell/main/window_followers.h"
#include "shell/platform/file_watch.h"
#include "shell/tray/digest_notification.h"

namespace merkwald::test {
namespace {

LineEntry entry(std::string text, std::string group, DaySerial day) {
    return {std::move(text) + "\r\n", 0, std::move(group), day};
}

constexpr DaySerial kDay{36224};  // 5.3.1999

TEST(TodaysDigest, CountsPerGroupListsTheFirstEntriesAndGoesToTheTrayOncePerDay) {
    std::vector<LineEntry> lines{
        entry("Anna hat heute Geburtstag", "Geburtstage", kDay),
        entry("Zahnarzt\r\num 9 Uhr", "Termine", kDay),
        entry("Bernd hat in 3 Tagen Geburtstag", "Geburtstage", kDay + 3),
    };
    EXPECT_EQ(todays_digest(lines, kDay).value().body,
              QStringLiteral("Geburtstage: 1, Termine: 1\nAnna hat heute Geburtstag\nZahnarzt"));
    lines.push_back(entry("Aufräumen", "Sonstiges", kDay));
    for (int i = 0; i < 4; ++i) lines.push_back(entry("Eintrag", "", kDay));
    const QString body = todays_digest(lines, kDay).value().body;
    EXPECT_TRUE(body.startsWith(
        QStringLiteral("Geburtstage: 1, Termine: 1, Sonstiges: 1, Ohne Gruppe: 4\n")));
    EXPECT_TRUE(body.endsWith(QStringLiteral("… und 4 weitere")));
    EXPECT_FALSE(todays_digest({entry("Morgen", "Termine", kDay + 1)}, kDay));
    // Without the notification service the tray shows it, once per day.
    gui_application();
    QStringList shown;
    const auto tray = [&](const QString&, const QString& text) {
        shown << text;
        return true;
    };
    DigestNotifier notifier(QStringLiteral("kein Bus"), {tray, {}});
    for (int i = 0; i < 2; ++i) notifier.send_for(kDay, {entry("Anna", "Geburtstage", kDay)});
    EXPECT_EQ(shown, QStringList{"Geburtstage: 1\nAnna"});
}

#ifdef MERKWALD_DBUS
// A private session bus for the test, ended with it; the fixture answers Notify
// on it like a desktop's notification service and remembers each call.
class PrivateBus : public ::testing::Test, public QDBusVirtualObject {
protected:
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() != QStringLiteral("Notify")) return false;
        calls.push_back(message.arguments());
        connection.send(message.createReply(QVariant::fromValue(uint(calls.size()))));
        return true;
    }
    void SetUp() override {
        gui_application();
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty()) GTEST_SKIP() << "dbus-daemon fehlt: kein privater Bus für den Test";
        process.start(daemon, {QStringLiteral("--session"), QStringLiteral("--print-address"),
                               QStringLiteral("--nofork")});
        if (!process.waitForStarted(5000) || !wait_until([this] { return process.canReadLine(); }))
            GTEST_SKIP() << "dbus-daemon startet nicht: kein privater Bus für den Test";
        const QString address = QString::fromUtf8(process.readLine()).trimmed();
        service = QDBusConnection::connectToBus(address, QStringLiteral("fake-service"));
        client = QDBusConnection::connectToBus(address, QStringLiteral("client"));
        ASSERT_TRUE(service.isConnected() && client.isConnected());
        ASSERT_TRUE(service.registerService(DigestNotifier::kService));
        ASSERT_TRUE(service.registerVirtualObject(DigestNotifier::kPath, this));
    }
    void TearDown() override {
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-service"));
        process.terminate();
        process.waitForFinished(5000);
    }

    QProcess process;
    std::vector<QList<QVariant>> calls;
    QDBusConnection service{QString()};
    QDBusConnection client{QString()};
};

TEST_F(PrivateBus, OneNotificationPerStartAndPerDayChangeWhoseActionOpensTheWindow) {
    GuiFixture f(
        "<record>\n<date=05.03.1960>\n<group=Geburtstage>\nAnna hat heute Geburtstag\n"
        "</record>\n<record>\n<date=06.03.1960>\n<group=Geburtstage>\nBernd\n</record>\n");
    f.set("DataFilename", std::string("main.rmd"));
    auto form = f.window("no_logo");
    WindowFollowers followers(*form, client.name());
    ASSERT_TRUE(form->start());
    followers.started();
    ASSERT_TRUE(wait_until([this] { return calls.size() == 1; }));
    const QList<QVariant>& call = calls.front();
    ASSERT_EQ(call.size(), 8);
    EXPECT_EQ(call[4].toString(), QStringLiteral("Geburtstage: 1\nAnna hat heute Geburtstag"));
    // Its action "Öffnen" shows the window.
    form->hide();
    settle_for(200);  // the reply with the notification's number
    service.send(QDBusMessage::createSignal(DigestNotifier::kPath, DigestNotifier::kService,
                                            QStringLiteral("ActionInvoked"))
                 << uint(1) << QStringLiteral("open"));
    EXPECT_TRUE(wait_until([&] { return form->isVisible(); }));
    form->show_data();  // a re-read on the same day
    f.clock.advance_seconds(24 * 3600);
    form->day_timer().tick();
    ASSERT_TRUE(wait_until([this] { return calls.size() == 2; }));
    EXPECT_EQ(calls.back()[4].toString(), QStringLiteral("Geburtstage: 1\nBernd"));
}

// A bus without the notification service: the failed call leaves the digest to the tray.
TEST_F(PrivateBus, WithoutTheServiceOnTheBusTheTrayShowsIt) {
    ASSERT_TRUE(service.unregisterService(DigestNotifier::kService));
    QStringList shown;
    const auto tray = [&](const QString&, const QString& text) {
        shown << text;
        return true;
    };
    DigestNotifier notifier(client.name(), {tray, {}});
    notifier.send_for(kDay, {entry("Anna", "Geburtstage", kDay)});
    EXPECT_TRUE(wait_until([&] { return shown == QStringList{"Geburtstage: 1\nAnna"}; }));
    EXPECT_TRUE(calls.empty());
}
#endif

// Replaced the way editors and sync tools do it: a new file renamed over the old.
void replace_by_rename(const QString& path, const QByteArray& bytes) {
    write_file(path + ".neu", bytes);
    ASSERT_EQ(std::rename(QFile::encodeName(path + ".neu").constData(),
                          QFile::encodeName(path).constData()),
              0);
}

// The program's own refresh after its write takes the new state as seen; files
// beside the watched ones do not count; a modal command holds the refresh back;
// a file replaced by rename is watched again; a burst gives one refresh.
TEST(FileWatch, RefreshesForOutsideChangesOnceAndWatchesAgainAfterARenameReplace) {
    gui_application();
    QTemporaryDir dir;
    const QString main_file = dir.filePath("main.rmd");
    const std::vector<QString> files{main_file, dir.filePath("linked.rmd")};
    write_file(main_file, "Eins");
    write_file(files[1], "Zwei");
    int refreshes = 0;
    bool may_refresh = true;
    std::unique_ptr<FileWatch> watch;
    const auto refresh = [&] {
        ++refreshes;
        watch->watch(files);
    };
    watch = std::make_unique<FileWatch>(FileWatch::Handlers{refresh, [&] { return may_refresh; }});
    watch->watch(files);
    write_file(main_file, "Selbst geschrieben");
    watch->watch(files);
    write_file(dir.filePath(QStringLiteral("anderes.txt")), "x");
    settle_for(FileWatch::kSettleMs * 3);
    EXPECT_EQ(refreshes, 0);
    may_refresh = false;
    write_file(files[1], "Während des Dialogs");
    settle_for(FileWatch::kSettleMs * 3);
    EXPECT_EQ(refreshes, 0);
    may_refresh = true;
    ASSERT_TRUE(wait_until([&] { return refreshes == 1; }));
    replace_by_rename(main_file, "Neu");
    ASSERT_TRUE(wait_until([&] { return refreshes == 2; }));
    ASSERT_TRUE(wait_until([&] { return watch->watched_files().size() == 2; }));
    replace_by_rename(main_file, "Noch neuer");
    ASSERT_TRUE(wait_until([&] { return refreshes == 3; }));
    for (int i = 0; i < 5; ++i) write_file(main_file, "<record>\r\n" + QByteArray(i, 'x'));
    ASSERT_TRUE(wait_until([&] { return refreshes >= 4; }));
    settle_for(FileWatch::kSettleMs * 2);
    EXPECT_EQ(refreshes, 4) << "a burst gives one refresh";
}

// The whole way: a started window follows an outside edit of its main file.
TEST(WindowFileWatch, OutsideEditShowsInTheList) {
    GuiFixture f("<record>\nAlt\n</record>\n");
    auto form = f.started();
    WindowFollowers followers(*form, QString());
    form->show_data();
    f.write("main.rmd", "<record>\nNeu von außen\n</record>\n");
    EXPECT_TRUE(wait_until(
        [&] { return GuiFixture::plain(*form).find("Neu von außen") != std::string::npos; }));
}

}  // namespace
}  // namespace merkwald::test
