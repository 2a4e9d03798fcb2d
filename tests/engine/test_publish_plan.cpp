// The plan that brings a calendar collection up to date, and the state file that
// remembers what this program wrote there.

#include <fstream>
#include <set>

#include "engine/publish_plan.h"
#include "engine_test_support.h"

namespace merkwald {
namespace {

Occurrence occurrence(DaySerial day, std::string text, std::uint64_t identity) {
    return {day, std::move(text), {}, 0, {}, 0, identity};
}

const DaySerial kDay = *make_date(2027, 3, 5);

TEST(PublishPlan, EachResourceIsOneCalendarWhoseHashIgnoresTheStamp) {
    const std::vector<Occurrence> events = {
        occurrence(kDay, "Lea hat Geburtstag\r\nZweite Zeile", 1),
        occurrence(kDay + 1, "Zahnarzt", 2), occurrence(kDay + 2, "Müll", 3)};
    const auto early = wanted_resources(events, {kDay, 0});
    const auto late = wanted_resources(events, {kDay + 3, 4000});
    ASSERT_EQ(3u, early.size());
    for (std::size_t i = 0; i < early.size(); ++i) {
        SCOPED_TRACE(early[i].uid);
        EXPECT_EQ(early[i].hash, late[i].hash);
        EXPECT_NE(early[i].text, late[i].text);
        const std::string& text = early[i].text;
        EXPECT_NE(std::string::npos, text.find("\r\nUID:" + early[i].uid + "\r\n"));
        EXPECT_EQ(text.find("BEGIN:VEVENT"), text.rfind("BEGIN:VEVENT"));
        EXPECT_EQ(std::string::npos, text.find("X-WR-CALNAME"));
    }
    // The href escapes all but plain characters.
    EXPECT_EQ("00ab-20270305%40merkwald.ics", resource_href("00ab-20270305@merkwald"));
    EXPECT_EQ("a%2Fb%20c%C3%BC.ics", resource_href("a/b cü"));
}

// Only what the server told an ETag for is changed or removed, and only on that
// condition; what someone else changed there is never sent again. A create whose
// answer never came is sent again (a failed condition then means it is ours);
// gone meanwhile, it is not deleted blindly.
TEST(PublishPlan, CreatesChangesRemovesAndLeavesAlone) {
    std::vector<Occurrence> events;
    for (int i = 0; i < 6; ++i) events.push_back(occurrence(kDay + i, "Termin", std::uint64_t(i)));
    const auto wanted = wanted_resources(events, {kDay, 0});
    PublishState state;
    state.by_uid[wanted[0].uid] = {wanted[0].href, "\"e0\"", wanted[0].hash, false};
    state.by_uid[wanted[1].uid] = {wanted[1].href, "\"e1\"", "old", false};
    state.by_uid[wanted[3].uid] = {wanted[3].href, "", wanted[3].hash, false, true};
    state.by_uid[wanted[4].uid] = {wanted[4].href, "\"e4\"", "old", true};
    state.by_uid[wanted[5].uid] = {wanted[5].href, "", "old", false};
    state.by_uid["gone@merkwald"] = {"gone.ics", "\"e9\"", "h", false};
    state.by_uid["theirs-now@merkwald"] = {"t.ics", "\"e8\"", "h", true};
    state.by_uid["no-etag@merkwald"] = {"n.ics", "", "h", false};
    state.by_uid["unconfirmed@merkwald"] = {"u.ics", "", "h", false, true};

    const PublishPlan plan = plan_publish(wanted, state);
    std::vector<std::string> steps;
    for (const PublishStep& step : plan.steps) {
        const char* kind = step.kind == StepKind::create   ? "create "
                           : step.kind == StepKind::change ? "change "
                                                           : "remove ";
        steps.push_back(kind + step.uid + " " + step.etag + (step.pending ? " again" : ""));
    }
    EXPECT_EQ(steps, (std::vector<std::string>{
                         "remove gone@merkwald \"e9\"", "change " + wanted[1].uid + " \"e1\"",
                         "create " + wanted[2].uid + " ", "create " + wanted[3].uid + "  again"}));
    EXPECT_EQ(1, plan.unchanged);
    EXPECT_EQ(std::set<std::string>(plan.left_alone.begin(), plan.left_alone.end()),
              (std::set<std::string>{wanted[4].uid, wanted[5].uid, "no-etag@merkwald",
                                     "unconfirmed@merkwald"}));
}

class PublishStateFile : public test::TempFolderTest {
protected:
    const std::string url = "https://kalender.example/anna/merkwald/";
};

TEST_F(PublishStateFile, WrittenStateReadsBackAndNamesItsCollection) {
    const auto file = publish_state_file(folder_, url);
    EXPECT_NE(file, publish_state_file(folder_, url + "x"));

    PublishState state;
    state.collection = url;
    state.by_uid["a@merkwald"] = {"a%40merkwald.ics", "\"etag 1\"", "0123", false};
    state.by_uid["b@merkwald"] = {"b%40merkwald.ics", "", "4567", true};
    state.by_uid["c@merkwald"] = {"c%40merkwald.ics", "", "89ab", false, true};
    // An etag the lines cannot hold is kept as none.
    state.by_uid["d@merkwald"] = {"d.ics", "\"bad\tetag\"", "cdef", false};
    std::string message;
    ASSERT_TRUE(write_publish_state(file, state, message)) << message;
    const StateFile back = read_publish_state(file, url);
    EXPECT_EQ(StateRead::read, back.outcome);
    state.by_uid["d@merkwald"].etag.clear();
    EXPECT_EQ(state, back.state);
}

TEST_F(PublishStateFile, AnythingButOwnLinesOfThisCollectionIsDamaged) {
    const auto file = publish_state_file(folder_, url);
    const std::string head = "merkwald-caldav-state 1\r\ncollection " + url + "\r\n";
    const std::pair<const char*, std::string> rows[] = {
        {"another format", "merkwald-caldav-state 2\r\ncollection " + url + "\r\n"},
        {"another collection", "merkwald-caldav-state 1\r\ncollection https://x/\r\n"},
        {"no collection line", "merkwald-caldav-state 1\r\n"},
        {"no href", head + "a\t\t\"e\"\th\t0\r\n"},
        {"bad flag", head + "a\ta.ics\t\"e\"\th\tja\r\n"},
    };
    for (const auto& [name, text] : rows) {
        SCOPED_TRACE(name);
        std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
        const StateFile read = read_publish_state(file, url);
        EXPECT_EQ(StateRead::damaged, read.outcome);
        EXPECT_TRUE(read.state.by_uid.empty());
        EXPECT_NE(std::string::npos, read.message.find(file.string())) << read.message;
    }
    std::ofstream(file, std::ios::binary | std::ios::trunc) << head << "a\ta.ics\t\"e\"\th\t0\n";
    EXPECT_EQ(StateRead::read, read_publish_state(file, url).outcome);
}

}  // namespace
}  // namespace merkwald
