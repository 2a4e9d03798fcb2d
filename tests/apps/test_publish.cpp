// `merkwald-cli publish` against a real Radicale server that each test starts
// and stops itself; the collection is read back from the server's storage with
// libical and compared with `merkwald-cli ics` for the same days.

#include <gtest/gtest.h>
#include <libical/ical.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslError>
#include <filesystem>
#include <fstream>
#include <set>
#include <tuple>

#include "apps/merkwald-cli/cli.h"
#include "settings/settings_store.h"
#include "tests/support/cli_process.h"
#include "tests/support/radicale_server.h"
#include "tests/support/temp_folder.h"

namespace merkwald {
namespace {

namespace fs = std::filesystem;

// UID, start, summary, categories.
using Event = std::tuple<std::string, std::string, std::string, std::string>;

std::set<Event> events_of(const std::string& text) {
    std::set<Event> events;
    icalcomponent* calendar = icalparser_parse_string(text.c_str());
    if (calendar == nullptr) return events;
    for (icalcomponent* e = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
         e != nullptr; e = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        icalproperty* categories = icalcomponent_get_first_property(e, ICAL_CATEGORIES_PROPERTY);
        const char* summary = icalcomponent_get_summary(e);
        events.emplace(
            icalcomponent_get_uid(e), icaltime_as_ical_string(icalcomponent_get_dtstart(e)),
            summary ? summary : "", categories ? icalproperty_get_categories(categories) : "");
    }
    icalcomponent_free(calendar);
    return events;
}

std::string file_text(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Outcome {
    int status = -1;
    std::string out, err;
};

// The command as its own process, with the program folder, settings and password given.
class CliRun {
public:
    CliRun(const fs::path& home, const std::vector<std::string>& args, const std::string& password)
        : out_(home / "stdout"),
          err_(home / "stderr"),
          process_(MERKWALD_CLI_BINARY, args, home, err_, {"MERKWALD_CALDAV_PASSWORD=" + password},
                   out_) {}

    Outcome wait() {
        if (!done_) {
            done_ = true;
            outcome_.status = process_.wait();
            outcome_.out = file_text(out_);
            outcome_.err = file_text(err_);
        }
        return outcome_;
    }

private:
    fs::path out_, err_;
    test::CliProcess process_;
    bool done_ = false;
    Outcome outcome_;
};

constexpr const char* kToday = "05.03.2027";
constexpr const char* kLastDay = "03.03.2028";  // 365 days from kToday

const std::string kLea =
    "<record>\r\n<date=07.03.1970>\r\n<group=geburtstage>\r\n"
    "Lea hat Geburtstag\r\n</record>\r\n";
const std::string kMonthly =
    "<record>\r\n<active=monthly>\r\n<active_day=15>\r\n"
    "<group=termine>\r\nMonatsmitte\r\n</record>\r\n";
const std::string kDentist =
    "<record>\r\n<active=once>\r\n<date=20.03.2027>\r\n"
    "Zahnarzt\r\n</record>\r\n";

class PublishTest : public ::testing::Test {
protected:
    void SetUp() override { start_server(); }
    void start_server(const fs::path& certificate = {}, const fs::path& key = {}) {
        if (test::find_radicale().empty())
            GTEST_SKIP() << "radicale is not installed (Debian: radicale)";
        fs::create_directories(server_folder);
        server.reset();
        fs::remove_all(server_folder / "storage");
        server = std::make_unique<test::RadicaleServer>(server_folder, certificate, key);
        ASSERT_TRUE(server->running()) << server->log();
        collection_url = server->base_url() + test::RadicaleServer::kUser + "/merkwald/";
        ASSERT_EQ(201, http("MKCALENDAR", collection_url)) << server->log();
        set_settings(collection_url, test::RadicaleServer::kUser);
    }
    void TearDown() override {
        server.reset();
        fs::remove_all(home);
        fs::remove_all(server_folder);
    }

    void set_settings(const std::string& url, const std::string& user,
                      const std::string& fingerprint = {}) {
        fs::create_directories(home / "config" / "Merkwald");
        SettingsStore store = SettingsStore::file_store(
            QString::fromStdString((home / "config" / "Merkwald" / "Merkwald.conf").string()));
        (void)store.create_key(kMainKey, kKeyClass);
        store.set_value(kMainKey, "DataFilename", std::string("main.rmd"));
        store.set_value(kMainKey, "CalDAVAdresse", url);
        store.set_value(kMainKey, "CalDAVBenutzer", user);
        store.set_value(kMainKey, "CalDAVFingerabdruck", fingerprint);
    }

    void write_reminders(const std::string& text) const {
        std::ofstream(home / "main.rmd", std::ios::binary | std::ios::trunc) << text;
    }

    Outcome publish(const std::string& password = test::RadicaleServer::kPassword,
                    std::vector<std::string> extra = {}) {
        std::vector<std::string> args{"publish", "--today", kToday};
        args.insert(args.end(), extra.begin(), extra.end());
        return CliRun(home, args, password).wait();
    }

    // What `ics` gives for the same days.
    std::set<Event> wanted() {
        const Outcome ics = CliRun(home, {"ics", "--from", kToday, "--to", kLastDay}, "").wait();
        EXPECT_EQ(0, ics.status) << ics.err;
        return events_of(ics.out);
    }

    // Every resource of the collection, read from the server's storage.
    std::set<Event> collection(int* resources = nullptr) const {
        std::set<Event> all;
        int count = 0;
        std::error_code ec;
        for (const auto& entry :
             fs::directory_iterator(server->collection_folder("merkwald"), ec)) {
            if (entry.path().extension() != ".ics") continue;
            ++count;
            for (const Event& e : events_of(file_text(entry.path()))) all.insert(e);
        }
        if (resources) *resources = count;
        return all;
    }

    // One request as a client of the user's phone would send it; the status.
    int http(const QByteArray& method, const std::string& url, const std::string& body = {},
             const QByteArray& if_match = {}) {
        QNetworkAccessManager network;
        QNetworkRequest request(QUrl(QString::fromStdString(url)));
        request.setRawHeader("Authorization", "Basic " + QByteArray("anna:geheim").toBase64());
        request.setHeader(QNetworkRequest::ContentTypeHeader, "text/calendar");
        if (!if_match.isEmpty()) request.setRawHeader("If-Match", if_match);
        request.setTransferTimeout(10000);
        QNetworkReply* reply =
            network.sendCustomRequest(request, method, QByteArray::fromStdString(body));
        // The test's own requests trust the test's certificate.
        QObject::connect(reply, &QNetworkReply::sslErrors, reply,
                         [reply](const QList<QSslError>&) { reply->ignoreSslErrors(); });
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (status == 0) ADD_FAILURE() << reply->errorString().toStdString();
        delete reply;
        return status;
    }

    std::string state_text() const {
        for (const auto& entry : fs::directory_iterator(home))
            if (entry.path().extension() == ".state") return file_text(entry.path());
        return {};
    }

    const fs::path home = test::make_unique_folder("merkwald-publish-home");
    const fs::path server_folder = home.string() + "-server";
    std::unique_ptr<test::RadicaleServer> server;
    std::string collection_url;
};

std::string event_text(const std::string& uid, const std::string& summary) {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Telefon//DE\r\nBEGIN:VEVENT\r\nUID:" + uid +
           "\r\nDTSTAMP:20270301T100000Z\r\nDTSTART;VALUE=DATE:20270310\r\nSUMMARY:" + summary +
           "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
}

bool has_line(const std::string& text, const std::string& line) {
    return text.find(line + "\n") != std::string::npos;
}

TEST_F(PublishTest, CreatesChangesAndDeletesItsOwnAndLeavesForeignEventsAlone) {
    const Event foreign{"fremd@telefon", "20270310", "Vom Telefon", ""};
    ASSERT_EQ(
        201, http("PUT", collection_url + "fremd.ics", event_text("fremd@telefon", "Vom Telefon")));
    write_reminders(kLea + kMonthly + kDentist);
    const std::set<Event> first = wanted();
    ASSERT_EQ(14u, first.size());

    const Outcome dry = publish(test::RadicaleServer::kPassword, {"--dry-run"});
    EXPECT_EQ(0, dry.status) << dry.err;
    EXPECT_TRUE(has_line(dry.out, "Neu anzulegen: 14")) << dry.out;
    EXPECT_EQ(std::set<Event>{foreign}, collection());

    Outcome run = publish();
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_TRUE(has_line(run.out, "Neu angelegt: 14")) << run.out;
    EXPECT_TRUE(has_line(run.out, "  20.03.2027 Zahnarzt [" +
                                      std::get<0>(*std::find_if(first.begin(), first.end(),
                                                                [](const Event& e) {
                                                                    return std::get<2>(e) ==
                                                                           "Zahnarzt";
                                                                })) +
                                      "]"))
        << run.out;
    std::set<Event> expected = first;
    expected.insert(foreign);
    EXPECT_EQ(expected, collection());

    // Nothing changed: nothing is sent.
    run = publish();
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_TRUE(has_line(run.out, "Unverändert: 14")) << run.out;
    EXPECT_TRUE(has_line(run.out, "Neu angelegt: 0")) << run.out;

    // Another group is another CATEGORIES on the same twelve UIDs; a removed
    // record's occurrence goes.
    std::string regrouped = kMonthly;
    regrouped.replace(regrouped.find("termine"), 7, "sonstiges");
    write_reminders(kLea + regrouped);
    run = publish();
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_TRUE(has_line(run.out, "Geändert: 12")) << run.out;
    EXPECT_TRUE(has_line(run.out, "Gelöscht: 1")) << run.out;
    EXPECT_TRUE(has_line(run.out, "Neu angelegt: 0")) << run.out;
    expected = wanted();
    EXPECT_EQ(13u, expected.size());
    expected.insert(foreign);
    int resources = 0;
    EXPECT_EQ(expected, collection(&resources));
    EXPECT_EQ(14, resources);
}

TEST_F(PublishTest, AnEventChangedOnTheServerIsLeftAloneCountedAndToldOnce) {
    write_reminders(kLea + kDentist);
    ASSERT_EQ(0, publish().status);
    const std::set<Event> before = wanted();
    std::string lea_uid;
    for (const Event& e : before)
        if (std::get<2>(e) == "Lea hat Geburtstag") lea_uid = std::get<0>(e);
    ASSERT_FALSE(lea_uid.empty());
    std::string href = lea_uid;
    href.replace(href.find('@'), 1, "%40");
    // The phone's user moved the party.
    const int status = http("PUT", collection_url + href + ".ics", event_text(lea_uid, "Feier"));
    ASSERT_TRUE(status == 201 || status == 204) << status;

    std::string regrouped = kLea;
    regrouped.replace(regrouped.find("geburtstage"), 11, "familie");
    write_reminders(regrouped + kDentist);
    Outcome run = publish();
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_TRUE(has_line(run.out, "Geändert: 0")) << run.out;
    EXPECT_TRUE(has_line(run.out, "Unberührt gelassen: 1")) << run.out;
    EXPECT_NE(std::string::npos, run.out.find("1 Termine wurden inzwischen auf dem Server"))
        << run.out;

    // Told once; and a removed record does not take the user's version away.
    write_reminders(kDentist);
    run = publish();
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_TRUE(has_line(run.out, "Gelöscht: 0")) << run.out;
    EXPECT_EQ(std::string::npos, run.out.find("auf dem Server geändert")) << run.out;
    std::set<Event> expected = wanted();
    expected.insert({lea_uid, "20270310", "Feier", ""});
    EXPECT_EQ(expected, collection());
}

TEST_F(PublishTest, AWrongPasswordFailsAndChangesNothing) {
    write_reminders(kLea + kDentist);
    ASSERT_EQ(0, publish().status);
    const std::string state = state_text();
    ASSERT_FALSE(state.empty());
    write_reminders(kLea);
    const Outcome run = publish("falsch");
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos, run.err.find("(401)")) << run.err;
    EXPECT_EQ(state, state_text());
    int resources = 0;
    (void)collection(&resources);
    EXPECT_EQ(2, resources);
}

// What the file claims cannot be trusted: nothing is sent, not even new events
// (they would be taken for ours later), until the user removes it.
TEST_F(PublishTest, ADamagedStateFileStopsThePublishAndIsNamed) {
    write_reminders(kLea + kDentist);
    ASSERT_EQ(0, publish().status);
    fs::path state_file;
    for (const auto& entry : fs::directory_iterator(home))
        if (entry.path().extension() == ".state") state_file = entry.path();
    ASSERT_FALSE(state_file.empty());
    std::ofstream(state_file, std::ios::binary | std::ios::app) << "kaputt\r\n";
    write_reminders(kLea + kMonthly);
    const Outcome run = publish();
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos, run.err.find(state_file.string())) << run.err;
    int resources = 0;
    (void)collection(&resources);
    EXPECT_EQ(2, resources);

    fs::remove(state_file);
    const Outcome fresh = publish();
    EXPECT_EQ(0, fresh.status) << fresh.err;
    // The two from before are there already: left alone, not doubled.
    EXPECT_TRUE(has_line(fresh.out, "Neu angelegt: 12")) << fresh.out;
    EXPECT_TRUE(has_line(fresh.out, "Unberührt gelassen: 1")) << fresh.out;
}

TEST_F(PublishTest, AServerStoppedMidwayLosesNothingAndDuplicatesNothing) {
    // A weekly event: enough requests to stop the server among them.
    write_reminders(kLea +
                    "<record>\r\n<active=periodic>\r\n<periodic_repeat=7>\r\n<date=01.03.2027>\r\n"
                    "Wochenmarkt\r\n</record>\r\n");
    const std::set<Event> all = wanted();
    ASSERT_EQ(53u, all.size());
    {
        CliRun run(home, {"publish", "--today", kToday}, test::RadicaleServer::kPassword);
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        int resources = 0;
        while (std::chrono::steady_clock::now() < until) {
            (void)collection(&resources);
            if (resources >= 8) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        server->kill_now();
        const Outcome stopped = run.wait();
        EXPECT_EQ(1, stopped.status) << stopped.out;
        EXPECT_NE(std::string::npos, stopped.err.find("nicht erreichbar")) << stopped.err;
    }
    ASSERT_TRUE(server->start()) << server->log();
    const Outcome again = publish();
    EXPECT_EQ(0, again.status) << again.err;
    int resources = 0;
    EXPECT_EQ(all, collection(&resources));
    EXPECT_EQ(53, resources);
    const Outcome third = publish();
    EXPECT_TRUE(has_line(third.out, "Unverändert: 53")) << third.out;
}

// The test certificate's fingerprint, as `openssl x509 -fingerprint -sha256` prints it.
constexpr const char* kTestFingerprint =
    "1B:A6:85:8B:BD:5E:00:1A:C4:35:5B:6F:DD:63:66:6F:D4:5E:E5:5A:97:D7:7B:F0:FD:D8:49:63:1B:A6:C0:"
    "BA";

TEST_F(PublishTest, ASelfSignedServerIsTrustedOnlyWithItsConfirmedFingerprint) {
    const fs::path data = fs::path(MERKWALD_SOURCE_DIR) / "tests" / "apps" / "data";
    start_server(data / "caldav-test.crt", data / "caldav-test.key");
    if (HasFatalFailure()) return;
    ASSERT_TRUE(collection_url.starts_with("https://"));
    write_reminders(kLea + kDentist);

    Outcome run = publish();
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos,
              run.err.find(std::string("--accept-fingerprint ") + kTestFingerprint))
        << run.err;
    std::string other(kTestFingerprint);
    other.replace(0, 2, "00");
    run = publish(test::RadicaleServer::kPassword, {"--accept-fingerprint", other});
    EXPECT_EQ(1, run.status) << run.out;
    int resources = -1;
    (void)collection(&resources);
    EXPECT_EQ(0, resources);

    // Any usual spelling of the fingerprint.
    std::string lower;
    for (const char c : std::string(kTestFingerprint))
        if (c != ':') lower += char(std::tolower(static_cast<unsigned char>(c)));
    run = publish(test::RadicaleServer::kPassword, {"--accept-fingerprint=" + lower});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_TRUE(has_line(run.out, "Neu angelegt: 2")) << run.out;
    set_settings(collection_url, test::RadicaleServer::kUser, kTestFingerprint);
    run = publish();
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_TRUE(has_line(run.out, "Unverändert: 2")) << run.out;
}

TEST_F(PublishTest, BadSettingsExitWithTwo) {
    write_reminders(kLea);
    const struct {
        const char* name;
        std::string url, user;
    } rows[] = {
        {"no address", "", "anna"},
        {"no web address", "ftp://127.0.0.1/anna/", "anna"},
        {"no address at all", "kalender", "anna"},
        {"a password readable on the network", "http://dav.example/anna/", "anna"},
        {"no user", collection_url, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        set_settings(row.url, row.user);
        const Outcome run = publish();
        EXPECT_EQ(2, run.status);
        EXPECT_NE(std::string::npos, run.err.find("CalDAV")) << run.err;
    }
    EXPECT_EQ("", state_text());
}

}  // namespace
}  // namespace merkwald

int main(int argc, char** argv) {
    // The test's own requests need an event loop's application.
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
