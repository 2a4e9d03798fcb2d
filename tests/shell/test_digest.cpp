// Today's digest: its text, and one notification per start and per day change
// on a private session bus with a fake notification service.

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QStandardPaths>

#include "event_loop_support.h"
#include "gui_test_support.h"
#include "shell/digest_notification.h"
#include "shell/window_followers.h"

namespace merkwald {
namespace {

using test::GuiFixture;
using test::settle_for;
using test::wait_until;

LineEntry entry(std::string text, std::string group, DaySerial day) {
    return {std::move(text) + "\r\n", 0, std::move(group), day};
}

constexpr DaySerial kDay = 36224;  // 5.3.1999

TEST(TodaysDigest, CountsPerGroupAndListsTheFirstEntries) {
    const std::vector<LineEntry> lines{
        entry("Anna hat heute Geburtstag", "Geburtstage", kDay),
        entry("Zahnarzt\r\num 9 Uhr", "Termine", kDay),
        entry("Bernd hat in 3 Tagen Geburtstag", "Geburtstage", kDay + 3),
        entry("Carla hat heute Geburtstag", "Geburtstage", kDay),
    };
    const auto digest = todays_digest(lines, kDay);
    ASSERT_TRUE(digest);
    EXPECT_EQ(digest->title, QStringLiteral("Merkwald: heute"));
    EXPECT_EQ(digest->body, QStringLiteral("2 Geburtstage, 1 Termin\nAnna hat heute Geburtstag\n"
                                           "Zahnarzt\nCarla hat heute Geburtstag"));
}

TEST(TodaysDigest, ManyEntriesEndWithTheRestCounted) {
    std::vector<LineEntry> lines;
    for (int i = 0; i < 5; ++i) lines.push_back(entry("Eintrag " + std::to_string(i), "", kDay));
    lines.push_back(entry("Gartenfest", "Feste", kDay));
    const auto digest = todays_digest(lines, kDay);
    ASSERT_TRUE(digest);
    EXPECT_TRUE(digest->body.startsWith(QStringLiteral("5 Einträge, Feste: 1\nEintrag 0\n")));
    EXPECT_TRUE(digest->body.endsWith(QStringLiteral("… und 3 weitere")));
}

TEST(TodaysDigest, NothingDueTodayGivesNone) {
    EXPECT_FALSE(todays_digest({entry("Morgen", "Termine", kDay + 1)}, kDay));
}

TEST(DigestNotifier, WithoutTheServiceTheTrayShowsIt) {
    test::gui_application();
    int tray_messages = 0;
    QString body;
    DigestNotifier notifier(QDBusConnection(QStringLiteral("kein Bus")),
                            {[&](const QString&, const QString& text) {
                                 ++tray_messages;
                                 body = text;
                                 return true;
                             },
                             {}});
    const std::vector<LineEntry> lines{entry("Anna hat heute Geburtstag", "Geburtstage", kDay)};
    notifier.send_for(kDay, lines);
    notifier.send_for(kDay, lines);
    EXPECT_EQ(tray_messages, 1);
    EXPECT_EQ(body, QStringLiteral("1 Geburtstag\nAnna hat heute Geburtstag"));
}

// Answers Notify like a desktop's notification service and remembers each call.
class FakeNotifications final : public QDBusVirtualObject {
public:
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() != QStringLiteral("Notify")) return false;
        calls.push_back(message.arguments());
        connection.send(message.createReply(QVariant::fromValue(uint(calls.size()))));
        return true;
    }
    std::vector<QList<QVariant>> calls;
};

// A private session bus for the test, ended with it.
class PrivateBus : public ::testing::Test {
protected:
    void SetUp() override {
        test::gui_application();
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty()) GTEST_SKIP() << "dbus-daemon fehlt: kein privater Bus für den Test";
        process.start(daemon, {QStringLiteral("--session"), QStringLiteral("--print-address"),
                               QStringLiteral("--nofork")});
        if (!process.waitForStarted(5000) || !wait_until([this] { return process.canReadLine(); }))
            GTEST_SKIP() << "dbus-daemon startet nicht: kein privater Bus für den Test";
        const QString address = QString::fromUtf8(process.readLine()).trimmed();
        service = QDBusConnection::connectToBus(address, QStringLiteral("fake-service"));
        client = QDBusConnection::connectToBus(address, QStringLiteral("client"));
        ASSERT_TRUE(service.isConnected());
        ASSERT_TRUE(client.isConnected());
        ASSERT_TRUE(service.registerService(DigestNotifier::kService));
        ASSERT_TRUE(service.registerVirtualObject(DigestNotifier::kPath, &fake));
    }
    void TearDown() override {
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-service"));
        if (process.state() != QProcess::NotRunning) {
            process.terminate();
            process.waitForFinished(5000);
        }
    }

    QProcess process;
    FakeNotifications fake;
    QDBusConnection service{QString()};
    QDBusConnection client{QString()};
};

TEST_F(PrivateBus, OneNotificationPerStartAndPerDayChange) {
    GuiFixture f;
    f.write("main.rmd",
            "<record>\n<date=05.03.1960>\n<group=Geburtstage>\nAnna hat heute Geburtstag\n"
            "</record>\n<record>\n<date=06.03.1960>\n<group=Geburtstage>\nBernd\n</record>\n");
    auto form = f.window("no_logo");
    f.set("DataFilename", std::string("main.rmd"));
    WindowFollowers followers(*form, client);
    ASSERT_TRUE(form->start());
    followers.started();
    ASSERT_TRUE(wait_until([this] { return fake.calls.size() == 1; }));
    const QList<QVariant>& call = fake.calls.front();
    ASSERT_EQ(call.size(), 8);
    EXPECT_EQ(call[3].toString(), QStringLiteral("Merkwald: heute"));
    EXPECT_EQ(call[4].toString(), QStringLiteral("1 Geburtstag\nAnna hat heute Geburtstag"));
    EXPECT_EQ(call[5].toStringList(),
              (QStringList{QStringLiteral("open"), QStringLiteral("Öffnen")}));

    form->show_data();  // a re-read on the same day
    f.clock.advance_seconds(24 * 3600);
    form->day_timer().tick();
    ASSERT_TRUE(wait_until([this] { return fake.calls.size() == 2; }));
    EXPECT_EQ(fake.calls.back()[4].toString(), QStringLiteral("1 Geburtstag\nBernd"));
    form->show_data();
    settle_for(200);
    EXPECT_EQ(fake.calls.size(), 2u);
}

TEST_F(PrivateBus, TheActionOpensTheWindow) {
    int opened = 0;
    DigestNotifier notifier(client, {{}, [&] { ++opened; }});
    notifier.send_for(kDay, {entry("Anna hat heute Geburtstag", "Geburtstage", kDay)});
    ASSERT_TRUE(wait_until([this] { return fake.calls.size() == 1; }));
    // Let the reply with the notification's number arrive.
    settle_for(200);
    QDBusMessage signal = QDBusMessage::createSignal(
        DigestNotifier::kPath, DigestNotifier::kService, QStringLiteral("ActionInvoked"));
    signal << uint(1) << QStringLiteral("open");
    service.send(signal);
    EXPECT_TRUE(wait_until([&] { return opened == 1; }));
}

}  // namespace
}  // namespace merkwald
