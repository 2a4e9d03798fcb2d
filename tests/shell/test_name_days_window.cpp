// The shipped name days in both programs' lists, the first start's choice and
// "Namenstage anzeigen" on the options page "Allgemein".

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>

#include "gui_test_support.h"
#include "settings/name_day_setting.h"
#include "shell/options/options_dialog.h"

namespace merkwald::test {
namespace {

// The clock stands on Friday, 5 March 1999; Max's name day is 12 March.
constexpr char kMaxsBirthday[] =
    "<record>\n<date=02.02.1985>\n<active_before=14>\n<group=geburtstage>\n"
    "Max Weber hat <days_before_event_text> Geburtstag\n</record>\n";
constexpr char kMaxsLine[] = "Max hat in 7 Tagen Namenstag (Fr, 12. 03.)";

class NameDayWindows : public ::testing::Test {
protected:
    NameDayWindows() : f(kMaxsBirthday) { f.copy_shipped(QStringLiteral("namenstage.dat")); }
    [[nodiscard]] static bool shows(const MainWindow& form, const std::string& text) {
        return GuiFixture::plain(form).find(text) != std::string::npos;
    }
    GuiFixture f;
};

TEST_F(NameDayWindows, ANewStoreShowsThePeoplesNameDaysInBothPrograms) {
    for (const ProgramKind kind : {ProgramKind::full, ProgramKind::light}) {
        SCOPED_TRACE(int(kind));
        GuiFixture fresh(kMaxsBirthday);
        fresh.copy_shipped(QStringLiteral("namenstage.dat"));
        auto form = fresh.started("no_logo", kind);
        EXPECT_EQ(fresh.stored("Namenstage"), "meiner Leute");
        // The light program sets every line of the list off by two blanks.
        const std::string indent = kind == ProgramKind::light ? "  " : "";
        EXPECT_TRUE(shows(*form, "Namenstage:\n\n" + indent + kMaxsLine + '\n'))
            << ::testing::PrintToString(GuiFixture::plain(*form));
    }
}

TEST_F(NameDayWindows, AnOlderStoreShowsNoneUntilChosenAndAStoredChoiceStays) {
    f.set("Version", std::int32_t(10512));
    auto older = f.started();
    EXPECT_FALSE(f.stored("Namenstage").has_value());
    EXPECT_FALSE(shows(*older, "Namenstag"));
    // A choice stored before the first start of the full program is kept.
    GuiFixture chosen(kMaxsBirthday);
    chosen.copy_shipped(QStringLiteral("namenstage.dat"));
    chosen.set("Namenstage", std::string("alle"));
    auto form = chosen.started();
    EXPECT_EQ(chosen.stored("Namenstage"), "alle");
    EXPECT_TRUE(shows(*form, "Olivia hat heute Namenstag"));
    EXPECT_TRUE(shows(*form, kMaxsLine));
}

TEST_F(NameDayWindows, TheOptionsPageStoresTheChoice) {
    Settings settings = default_settings(f.folder);
    EXPECT_EQ(name_day_choice(settings), NameDayChoice::none);
    OptionsDialog dialog(OptionsInput{settings,
                                      AutostartChoice{},
                                      f.folder,
                                      Services{f.clock, f.dialogs, f.sound},
                                      QFont(),
                                      {},
                                      {}});
    auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("ComboNameDays"));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->currentText(), QStringLiteral("keine"));
    ASSERT_EQ(combo->count(), 3);
    combo->setCurrentIndex(combo->findText(QStringLiteral("alle")));
    dialog.ok_button()->click();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    store_options(f.store.store(), dialog.chosen_settings(), dialog.chosen_autostart(), nullptr);
    EXPECT_EQ(f.stored("Namenstage"), "alle");
    Settings reread = default_settings(f.folder);
    ReadOptions options;
    options.program_folder = f.folder;
    SettingsStore reopened = f.store.reopened();
    RecordingSink sink;
    (void)read_registry(reopened, reread, options, sink);
    EXPECT_EQ(name_day_choice(reread), NameDayChoice::all);
}

}  // namespace
}  // namespace merkwald::test
