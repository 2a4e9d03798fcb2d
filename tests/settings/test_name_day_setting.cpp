// "Namenstage anzeigen": its stored texts and the first start's choice.

#include <gtest/gtest.h>

#include "../support/settings_test_support.h"
#include "settings/name_day_setting.h"

#include <tuple>

namespace merkwald {
namespace {

TEST(NameDaySetting, StoredTextsAndAnUnknownOneShowingNone) {
    Settings settings;
    for (const auto& [text, choice] : {std::pair{"keine", NameDayChoice::none},
                                       {"meiner Leute", NameDayChoice::own_people},
                                       {"alle", NameDayChoice::all},
                                       {"Alle", NameDayChoice::none}}) {
        settings.name_days = text;
        EXPECT_EQ(name_day_choice(settings), choice) << text;
    }
}

// Only a new store without a choice gets the people's name days.
TEST(NameDaySetting, OnlyANewStoreWithoutAChoiceGetsThePeoplesNameDays) {
    for (const auto& [version, stored, chosen] :
         {std::tuple{false, false, true}, {true, false, false}, {false, true, false}}) {
        SCOPED_TRACE(testing::Message() << "older " << version << ", chosen " << stored);
        test::TempStore temp;
        temp.store().create_key(kMainKey, kKeyClass);
        if (stored) temp.store().set_value(kMainKey, kNameDaysValue, std::string("alle"));
        Settings settings = default_settings("/opt/merkwald");
        if (version) settings.version = 10512;
        EXPECT_EQ(choose_new_store_name_days(temp.store(), settings), chosen);
        EXPECT_EQ(settings.name_days, chosen ? "meiner Leute" : "keine");
    }
}

}  // namespace
}  // namespace merkwald
