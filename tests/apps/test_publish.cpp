// `merkwald-cli publish` against a real Radicale server that each test starts
// and stops itself; the collection is read back from the server's storage with
// libical and compared with `merkwald-cli ics` for the same days.

#include <gtest/gtest.h>
#include <libical/ical.h>

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
using test::file_text;
using test::RadicaleServer;

// UID, start, summary, categories.
using Event = std::tuple<std::string, std::string, std::string, std::string>;

// A multiset: a doubled event shows.
std::multiset<Event> events_of(const std::string& text) {
    std::multiset<Event> events;
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

std::string uid_of(const std::multiset<Event>& events, const std::string& summary) {
    for (const Event& e : events)
        if (std::get<2>(e) == summary) return std::get<0>(e);
    return {};
}

struct Outcome {
    int status = -1;
    std::string out, err;
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

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
}

class PublishTest : public ::testing::Test {
protected:
    void SetUp() override { start_server(); }
    void start_server(const fs::path& certificate = {}, const fs::path& key = {}) {
        if (!test::radicale_installed())
            GTEST_SKIP() << "radicale is not installed (Debian: radicale)";
        fs::create_directories(server_folder);
        server.reset();
        fs::remove_all(server_folder / "storage");
        server = std::make_unique<RadicaleServer>(server_folder, certificate, key);
        ASSERT_TRUE(server->running()) << server->log();
        collection_url = server->base_url() + RadicaleServer::kUser + "/merkwald/";
        fs::create_directories(server->collection_folder("merkwald"));
        std::ofstream(server->collection_folder("merkwald") / ".Radicale.props")
            << R"({"tag": "VCALENDAR"})";
        set_settings(collection_url, RadicaleServer::kUser);
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

    // The command as its own process, with the program folder, settings and password given.
    test::CliProcess start(const std::vector<std::string>& args,
                           const std::string& password = RadicaleServer::kPassword) const {
        return test::CliProcess(MERKWALD_CLI_BINARY, args, home, home / "stderr",
                                {"MERKWALD_CALDAV_PASSWORD=" + password}, home / "stdout");
    }
    Outcome finish(test::CliProcess& process) const {
        const int status = process.wait();
        return {status, file_text(home / "stdout"), file_text(home / "stderr")};
    }
    Outcome publish(std::vector<std::string> args = {},
                    const std::string& password = RadicaleServer::kPassword) const {
        args.insert(args.begin(), {"publish", "--today", kToday});
        test::CliProcess process = start(args, password);
        return finish(process);
    }
    // A run that succeeded and printed each of `lines`.
    static void expect_done(const Outcome& run, std::initializer_list<std::string> lines) {
        EXPECT_EQ(0, run.status) << run.err;
        for (const std::string& line : lines)
            EXPECT_NE(std::string::npos, run.out.find(line + "\n")) << line << "\n" << run.out;
    }

    // What `ics` gives for the same days.
    std::multiset<Event> wanted() const {
        test::CliProcess ics = start({"ics", "--from", kToday, "--to", kLastDay});
        const Outcome run = finish(ics);
        EXPECT_EQ(0, run.status) << run.err;
        return events_of(run.out);
    }

    // Every resource of the collection, read from the server's storage.
    std::multiset<Event> collection() const {
        std::multiset<Event> all;
        std::error_code ec;
        for (const auto& entry :
             fs::directory_iterator(server->collection_folder("merkwald"), ec)) {
            if (entry.path().extension() == ".ics") all.merge(events_of(file_text(entry.path())));
        }
        return all;
    }

    // What the user's phone leaves in the collection, as the server stores it.
    void put_on_server(const std::string& name, const std::string& uid,
                       const std::string& summary) const {
        std::ofstream(server->collection_folder("merkwald") / name, std::ios::binary)
            << "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Telefon//DE\r\nBEGIN:VEVENT\r\nUID:"
            << uid
            << "\r\nDTSTAMP:20270301T100000Z\r\nDTSTART;VALUE=DATE:20270310\r\nSUMMARY:" << summary
            << "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
    }

    fs::path state_file() const {
        for (const auto& entry : fs::directory_iterator(home))
            if (entry.path().extension() == ".state") return entry.path();
        return {};
    }

    const fs::path home = test::make_unique_folder("merkwald-publish-home");
    const fs::path server_folder = home.string() + "-server";
    std::unique_ptr<RadicaleServer> server;
    std::string collection_url;
};

// One collection through its life: created, unchanged, refused, changed on both
// sides, its state file damaged and removed.
TEST_F(PublishTest, TheCollectionFollowsTheFileAndNeverTouchesTheUsersEvents) {
    const Event foreign{"fremd@telefon", "20270310", "Vom Telefon", ""};
    put_on_server("fremd.ics", "fremd@telefon", "Vom Telefon");
    write_reminders(kLea + kMonthly + kDentist);
    std::multiset<Event> expected = wanted();
    expect_done(publish({"--dry-run"}), {"Neu anzulegen: 14"});
    EXPECT_EQ(std::multiset<Event>{foreign}, collection());

    expect_done(publish(), {"Neu angelegt: 14",
                            "  20.03.2027 Zahnarzt [" + uid_of(expected, "Zahnarzt") + "]"});
    expected.insert(foreign);
    EXPECT_EQ(expected, collection());

    // A wrong password changes neither the collection nor what the state file says.
    const std::string state = file_text(state_file());
    write_reminders(kLea);
    const Outcome refused = publish({}, "falsch");
    EXPECT_EQ(1, refused.status);
    EXPECT_NE(std::string::npos, refused.err.find("(401)")) << refused.err;
    EXPECT_EQ(state, file_text(state_file()));
    EXPECT_EQ(expected, collection());

    // The phone's user moved Lea's party; the record's change must not undo it.
    const std::string lea = uid_of(expected, "Lea hat Geburtstag");
    put_on_server(lea + ".ics", lea, "Feier");
    const std::string monthly = replaced(kMonthly, "termine", "sonstiges");
    write_reminders(replaced(kLea, "geburtstage", "familie") + monthly);
    Outcome run = publish();
    expect_done(run, {"Geändert: 12", "Gelöscht: 1", "Neu angelegt: 0", "Unberührt gelassen: 1"});
    EXPECT_NE(std::string::npos, run.out.find("1 Termine wurden inzwischen auf dem Server"))
        << run.out;

    // Told once; and a removed record does not take the user's version away.
    write_reminders(monthly);
    run = publish();
    expect_done(run, {"Gelöscht: 0"});
    EXPECT_EQ(std::string::npos, run.out.find("auf dem Server geändert")) << run.out;
    expected = wanted();
    expected.insert({lea, "20270310", "Feier", ""});
    expected.insert(foreign);
    EXPECT_EQ(expected, collection());

    // What a damaged state file claims cannot be trusted: nothing is sent, not
    // even new events (they would be taken for ours later), until it is removed.
    std::ofstream(state_file(), std::ios::binary | std::ios::app) << "kaputt\r\n";
    write_reminders(monthly + kDentist);
    run = publish();
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos, run.err.find(state_file().string())) << run.err;
    EXPECT_EQ(expected, collection());
    fs::remove(state_file());
    // The twelve there already are left alone, not doubled.
    expect_done(publish(), {"Neu angelegt: 1", "Unberührt gelassen: 12"});
    EXPECT_EQ(15u, collection().size());
}

TEST_F(PublishTest, AServerStoppedMidwayLosesNothingAndDuplicatesNothing) {
    // A weekly event: enough requests to stop the server among them.
    write_reminders(kLea +
                    "<record>\r\n<active=periodic>\r\n<periodic_repeat=7>\r\n<date=01.03.2027>\r\n"
                    "Wochenmarkt\r\n</record>\r\n");
    const std::multiset<Event> all = wanted();
    {
        test::CliProcess run = start({"publish", "--today", kToday});
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (collection().size() < 8 && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        server->stop(SIGKILL);  // as a crash would: no chance to answer what is under way
        const Outcome stopped = finish(run);
        EXPECT_EQ(1, stopped.status) << stopped.out;
        EXPECT_NE(std::string::npos, stopped.err.find("nicht erreichbar")) << stopped.err;
    }
    ASSERT_TRUE(server->start()) << server->log();
    expect_done(publish(), {});
    EXPECT_EQ(all, collection());
    expect_done(publish(), {"Unverändert: 53"});
}

// The test certificate's fingerprint, as `openssl x509 -fingerprint -sha256` prints it.
constexpr const char* kTestFingerprint =
    "1B:A6:85:8B:BD:5E:00:1A:C4:35:5B:6F:DD:63:66:6F:D4:5E:E5:5A:97:D7:7B:F0:FD:D8:49:63:1B:A6:C0:"
    "BA";

TEST_F(PublishTest, ASelfSignedServerIsTrustedOnlyWithItsConfirmedFingerprint) {
    const fs::path data = fs::path(MERKWALD_SOURCE_DIR) / "tests" / "apps" / "data";
    start_server(data / "caldav-test.crt", data / "caldav-test.key");
    if (HasFatalFailure()) return;
    write_reminders(kLea + kDentist);

    Outcome run = publish();
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos,
              run.err.find(std::string("--accept-fingerprint ") + kTestFingerprint))
        << run.err;
    run = publish({"--accept-fingerprint", replaced(kTestFingerprint, "1B", "00")});
    EXPECT_EQ(1, run.status) << run.out;
    EXPECT_TRUE(collection().empty());

    // Any usual spelling of the fingerprint.
    const std::string lower = "1ba6858bbd5e001ac4355b6fdd63666fd45ee55a97d77bf0fdd849631ba6c0ba";
    expect_done(publish({"--accept-fingerprint=" + lower}), {"Neu angelegt: 2"});
    set_settings(collection_url, RadicaleServer::kUser, kTestFingerprint);
    expect_done(publish(), {"Unverändert: 2"});
}

TEST_F(PublishTest, BadSettingsExitWithTwo) {
    write_reminders(kLea);
    const std::pair<std::string, std::string> rows[] = {
        {"", "anna"},
        {"ftp://127.0.0.1/anna/", "anna"},
        {"http://dav.example/anna/", "anna"},  // a password readable on the network
        {collection_url, ""},
    };
    for (const auto& [url, user] : rows) {
        SCOPED_TRACE(url + " " + user);
        set_settings(url, user);
        const Outcome run = publish();
        EXPECT_EQ(2, run.status);
        EXPECT_NE(std::string::npos, run.err.find("CalDAV")) << run.err;
    }
    EXPECT_EQ(fs::path(), state_file());
}

}  // namespace
}  // namespace merkwald

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
