// "Namenstage anzeigen": its stored texts and the first start's choice.

#include <gtest/gtest.h>

#include "../support/settings_test_support.h"
#include "settings/name_day_setting.h"

namespace merkwald {
namespace {

TEST(NameDaySetting, StoredTextsAndAnUnknownOneShowingNone) {
    Settings settings = default_settings("/opt/merkwald");
    EXPECT_EQ(settings.name_days, "keine");
    for (const auto& [text, choice] : {std::pair{"keine", NameDayChoice::none},
                                       {"meiner Leute", NameDayChoice::own_people},
                                       {"alle", NameDayChoice::all},
                                       {"Alle", NameDayChoice::none},
                                       {"", NameDayChoice::none}}) {
        SCOPED_TRACE(text);
        settings.name_days = text;
        EXPECT_EQ(name_day_choice(settings), choice);
    }
}

TEST(NameDaySetting, OnlyANewStoreWithoutAChoiceGetsThePeoplesNameDays) {
    struct Row {
        const char* what;
        bool version, stored;
        bool chosen;
    };
    for (const Row& row : {Row{"new", false, false, true}, Row{"older", true, false, false},
                           Row{"chosen", false, true, false}}) {
        SCOPED_TRACE(row.what);
        test::TempStore temp;
        temp.store().create_key(kMainKey, kKeyClass);
        if (row.stored) temp.store().set_value(kMainKey, kNameDaysValue, std::string("alle"));
        Settings settings = default_settings("/opt/merkwald");
        if (row.version) settings.version = 10512;
        EXPECT_EQ(choose_new_store_name_days(temp.store(), settings), row.chosen);
        EXPECT_EQ(settings.name_days, row.chosen ? "meiner Leute" : "keine");
    }
}

}  // namespace
}  // namespace merkwald
