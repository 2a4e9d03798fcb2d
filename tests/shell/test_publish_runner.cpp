// The windows' publishing: in the background, never two runs at once, a failure
// told once and tried again, the password asked once, a certificate confirmed.

#include <gtest/gtest.h>

#include <deque>
#include <thread>

#include "shell/publish/publish_runner.h"
#include "tests/support/temp_folder.h"

namespace merkwald {
namespace {

// The runner's client, which holds each job until the test answers it, and its
// secret store are the fixture's.
class PublishRunnerTest : public ::testing::Test, public PublishClient, public PasswordSource {
protected:
    PublishRunnerTest() {
        qunsetenv("MERKWALD_CALDAV_PASSWORD");
        settings.caldav_url = "https://dav.example/anna/merkwald";
        settings.caldav_user = "anna";
        hooks.notify = [this](const QString& text) { told.push_back(text); };
        hooks.ask_password = [this](const QString&) {
            ++asked;
            return typed;
        };
        hooks.confirm_certificate = [this](const QString& host, const QString& fingerprint) {
            confirmed.push_back(host + u' ' + fingerprint);
            return trust;
        };
        hooks.keep_fingerprint = [this](const QString& fingerprint) { kept = fingerprint; };
    }
    ~PublishRunnerTest() override { std::filesystem::remove_all(folder); }

    void start(PublishJob job, std::function<void(const PublishReport&)> done) override {
        jobs.push_back(std::move(job));
        pending.push_back(std::move(done));
    }
    void answer(PublishReport report = {}) {
        ASSERT_FALSE(pending.empty());
        auto done = std::move(pending.front());
        pending.pop_front();
        done(report);
    }
    void fetch(const QString&, std::function<void(std::optional<QString>)> done) override {
        ++fetched;
        done(stored);
    }
    // One event on kDay.
    void refresh(const char* text) {
        runner->publish(settings, {Occurrence{kDay, text, {}, 0, {}, 0, 7}}, {kDay, 0}, folder);
    }

    static constexpr DaySerial kDay{46000};
    const std::filesystem::path folder = test::make_unique_folder("merkwald-publish-runner");
    Settings settings;
    std::vector<PublishJob> jobs;
    std::deque<std::function<void(const PublishReport&)>> pending;
    std::optional<QString> stored = QStringLiteral("geheim");  // in the secret store
    int fetched = 0;
    PublishHooks hooks;
    std::vector<QString> told, confirmed;
    int asked = 0;
    std::optional<QString> typed;
    bool trust = false;
    QString kept;
    std::unique_ptr<PublishRunner> runner;
    void make_runner() { runner = std::make_unique<PublishRunner>(*this, *this, hooks); }
};

TEST_F(PublishRunnerTest, ARefreshDuringARunAsksForOneMoreWithTheNewestEvents) {
    make_runner();
    refresh("eins");
    ASSERT_EQ(1u, jobs.size());
    EXPECT_EQ(QStringLiteral("geheim"), jobs[0].password);
    EXPECT_EQ(QStringLiteral("https://dav.example/anna/merkwald/"), jobs[0].collection.toString());
    refresh("zwei");
    refresh("drei");
    EXPECT_EQ(1u, jobs.size());
    answer();
    ASSERT_EQ(2u, jobs.size());
    ASSERT_EQ(1u, jobs[1].wanted.size());
    EXPECT_EQ("drei", jobs[1].wanted[0].summary);
    answer();
    EXPECT_FALSE(runner->running());
    // The same events again: nothing to send. The secret store was asked once.
    refresh("drei");
    EXPECT_EQ(2u, jobs.size());
    EXPECT_EQ(1, fetched);
    EXPECT_TRUE(told.empty());
}

TEST_F(PublishRunnerTest, AFailureIsToldOnceAndTriedAgainAtTheNextRefresh) {
    make_runner();
    PublishReport offline;
    offline.failure = PublishFailure::offline;
    offline.failure_text = QStringLiteral("nicht erreichbar");
    for (int run = 0; run < 2; ++run) {
        refresh("eins");
        ASSERT_EQ(std::size_t(run + 1), jobs.size());
        answer(offline);
    }
    EXPECT_EQ(std::vector<QString>{QStringLiteral("nicht erreichbar")}, told);
    refresh("eins");
    PublishReport conflicts;
    conflicts.conflicts.push_back({"a@merkwald", "eins", kDay});
    answer(conflicts);
    ASSERT_EQ(2u, told.size());
    EXPECT_TRUE(told[1].startsWith(QStringLiteral("1 Termine wurden inzwischen")))
        << told[1].toStdString();
    // After a success the same failure is news again.
    refresh("zwei");
    answer(offline);
    EXPECT_EQ(3u, told.size());
    // Settings it cannot use are told once and send nothing.
    settings.caldav_user.clear();
    refresh("drei");
    refresh("vier");
    EXPECT_EQ(4u, jobs.size());
    ASSERT_EQ(4u, told.size());
    EXPECT_NE(-1, told[3].indexOf(QStringLiteral("Benutzername")));
}

TEST_F(PublishRunnerTest, WithoutAStoredPasswordTheUserIsAskedOncePerStart) {
    stored.reset();
    make_runner();
    refresh("eins");
    refresh("zwei");
    EXPECT_EQ(1, asked);
    EXPECT_TRUE(jobs.empty());
    EXPECT_EQ(1u, told.size());

    // A password typed into a new start is kept in memory; a 401 forgets it.
    typed = QStringLiteral("getippt");
    make_runner();
    refresh("eins");
    ASSERT_EQ(1u, jobs.size());
    EXPECT_EQ(QStringLiteral("getippt"), jobs[0].password);
    PublishReport wrong;
    wrong.failure = PublishFailure::unauthorized;
    answer(wrong);
    typed = QStringLiteral("richtig");
    refresh("eins");
    ASSERT_EQ(2u, jobs.size());
    EXPECT_EQ(QStringLiteral("richtig"), jobs[1].password);
    EXPECT_EQ(3, asked);
}

TEST_F(PublishRunnerTest, APasswordTheServerRefusedIsNotTakenFromTheStoreOrTheEnvironmentAgain) {
    PublishReport wrong;
    wrong.failure = PublishFailure::unauthorized;
    for (const bool from_environment : {false, true}) {
        SCOPED_TRACE(from_environment ? "environment" : "secret store");
        if (from_environment) {
            stored.reset();
            qputenv("MERKWALD_CALDAV_PASSWORD", "alt");
        } else {
            stored = QStringLiteral("alt");
        }
        make_runner();
        refresh("eins");
        ASSERT_EQ(1u, pending.size());
        EXPECT_EQ(QStringLiteral("alt"), jobs.back().password);
        answer(wrong);
        const std::size_t sent = jobs.size();
        const int asked_before = asked;
        // Asked instead (and cancelled); the refusal is not repeated.
        refresh("eins");
        refresh("eins");
        EXPECT_EQ(sent, jobs.size());
        EXPECT_EQ(asked_before + 1, asked);
    }
    qunsetenv("MERKWALD_CALDAV_PASSWORD");
}

TEST_F(PublishRunnerTest, WhileAnotherProgramPublishesNothingIsSent) {
    set_lock_wait(std::chrono::milliseconds(0));
    const std::filesystem::path state =
        publish_state_file(folder, "https://dav.example/anna/merkwald/");
    FileLock other;
    // Taken by another thread, the lock is as busy as another program's.
    std::thread([&] { other = lock_file(state); }).join();
    ASSERT_TRUE(other.held());
    make_runner();
    refresh("eins");
    EXPECT_TRUE(jobs.empty());
    ASSERT_EQ(1u, told.size());
    EXPECT_TRUE(told[0].startsWith(QStringLiteral("Die Datei"))) << told[0].toStdString();
    EXPECT_FALSE(runner->running());
    other = FileLock();
    refresh("eins");
    EXPECT_EQ(1u, jobs.size());
    set_lock_wait(kLockWait);
}

TEST_F(PublishRunnerTest, AConfirmedCertificateIsKeptAndTheRunRepeatedWithIt) {
    PublishReport untrusted;
    untrusted.failure = PublishFailure::untrusted;
    untrusted.failure_text = QStringLiteral("nicht vertraut");
    untrusted.fingerprint = QStringLiteral("AB:CD");
    make_runner();
    refresh("eins");
    answer(untrusted);  // not trusted: told
    EXPECT_EQ(std::vector<QString>{QStringLiteral("nicht vertraut")}, told);
    trust = true;
    refresh("zwei");
    answer(untrusted);
    ASSERT_EQ(3u, jobs.size());
    EXPECT_EQ(QStringLiteral("dav.example AB:CD"), confirmed.back());
    EXPECT_EQ(QStringLiteral("AB:CD"), kept);
    EXPECT_EQ(QStringLiteral("AB:CD"), jobs[2].accepted_fingerprint);
}

}  // namespace
}  // namespace merkwald
