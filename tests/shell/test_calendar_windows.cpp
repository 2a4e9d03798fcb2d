// The holiday, church-year and astronomy windows over the calendar library.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

#include "../support/keyboard_walk.h"
#include "calendar/feasts.h"
#include "gui_test_support.h"
#include "settings/qt_bridges.h"
#include "shell/calendar/astro_window.h"
#include "shell/calendar/feast_windows.h"
#include "shell/calendar/range_window.h"
#include "shell/widgets/number_fields.h"

namespace merkwald::test {
namespace {

QStringList as_qt(const std::vector<std::string>& lines) {
    QStringList result;
    for (const std::string& line : lines) result << to_qstring(line);
    return result;
}

// What merkwald-cli holidays / church-year print for a year is exactly these lines.
TEST(FeastWindows, ListWhatTheCommandLinePrintsForEveryYearTyped) {
    gui_application();
    HolidayListWindow holidays(2024);
    ChurchYearWindow church_year(2024);
    holidays.show_state_days(State::BE);  // Frauentag is a legal day off there since 2019
    EXPECT_EQ(holidays.state_list()->findItems("Frauentag", Qt::MatchContains).size(), 1);
    holidays.year_edit()->setText(QStringLiteral("1901"));
    church_year.year_edit()->setText(QStringLiteral("2005.9 Jahre"));
    EXPECT_EQ(holidays.lines(), as_qt(holiday_list_lines(1901)));
    EXPECT_EQ(church_year.lines(), as_qt(church_year_lines(2005)));
    for (const char* text : {"1900", "2099", "abc"}) {
        holidays.year_edit()->setText(QString::fromLatin1(text));
        church_year.year_edit()->setText(QString::fromLatin1(text));
        EXPECT_EQ(holidays.feast_list()->count() + church_year.feast_list()->count(), 0) << text;
        EXPECT_EQ(holidays.state_list()->count(), 0) << text;
    }
}

class AstroWindow : public ::testing::Test {
protected:
    AstroWindow() {
        fixture.copy_shipped(QStringLiteral("orte.dat"));
        settings = default_settings(fixture.folder);
        fixture.clock.set(at(2000, 6, 21, 9, 5));
    }
    std::unique_ptr<AstronomyWindow> open() {
        auto form = std::make_unique<AstronomyWindow>(
            settings, fixture.folder, Services{fixture.clock, fixture.dialogs, fixture.sound},
            nullptr, [this](QWidget*, const QDate&) { return picked; });
        form->summer_time_box()->setChecked(true);
        const int munich = form->place_combo()->findText(QStringLiteral("München"));
        form->place_combo()->setCurrentIndex(munich);
        form->choose_place(munich);
        return form;
    }
    static QString outputs(const AstronomyWindow& form, int first = 0, int count = 10) {
        QStringList texts;
        for (int i = first; i < first + count; ++i) texts << form.outputs()[i]->text();
        return texts.join(u'|');
    }

    GuiFixture fixture;
    Settings settings;
    std::optional<QDate> picked;
};

TEST_F(AstroWindow, MunichOnMidsummerDayWithSummerTimeAndByKeyboard) {
    auto form = open();
    EXPECT_EQ(outputs(*form, 0, 5), "05:14 Uhr|21:18 Uhr|04:32 Uhr|21:59 Uhr|16:04 Stunden");
    // The picker's date computes at once.
    picked = QDate(2000, 12, 21);
    form->pick_date();
    EXPECT_EQ(outputs(*form, 0, 1), "09:01 Uhr");
    // The keyboard starts on the place and reaches every control, each named.
    EXPECT_EQ(form->focusWidget(), form->place_combo());
    const KeyboardWalk walk = walk_keyboard(*form, form->place_combo());
    EXPECT_EQ((walk.unreachable + walk.unnamed).join(u" | ").toStdString(), "");
}

// The messages come only from "Berechnen", and a wrong field keeps the results.
TEST_F(AstroWindow, WrongFieldsGiveTheirMessagesOnlyWhenComputingTypingRecomputesQuietly) {
    auto form = open();
    const QString before = outputs(*form);
    const std::vector<std::tuple<QLineEdit*, QString, QString>> rows = {
        {form->hour_edit(), "24", "Falsche Stunden"},
        {form->minute_edit(), "60", "Falsche Minuten"},
        {form->date_edit(), "31.02.1999", "Falsches Datum"},
        {form->hour_edit(), "", ""},  // no number yet: marked, no message
    };
    for (const auto& [field, text, message] : rows) {
        SCOPED_TRACE(text.toStdString());
        const QString kept = field->text();
        fixture.dialogs.messages.clear();
        field->setText(text);
        EXPECT_TRUE(fixture.dialogs.messages.empty()) << "no message while typing";
        form->compute();
        const auto& said = fixture.dialogs.messages;
        EXPECT_EQ(said.empty() ? QString() : said.back().text, message);
        EXPECT_EQ(outputs(*form), before);
        field->setText(kept);
    }
    // What the sky does at a place is the calendar's; typing a field computes it.
    form->coordinates().latitude[0]->clear();
    type_into(*form->coordinates().latitude[0], QStringLiteral("78"));
    EXPECT_EQ(outputs(*form, 0, 1), "Polartag");
    EXPECT_TRUE(fixture.dialogs.messages.empty()) << "no box while typing";
}

// "Ereignisse von ... bis ...": the days typed are the days listed (the forms of
// a date are the engine's); a wrong day is marked and lists nothing.
TEST(RangeDates, ByKeyboardTypedAsWrittenAndAWrongDayListsNothing) {
    GuiFixture f(
        "<record>\n<date=05.03.2027>\n<active=once>\nIm Zeitraum\n</record>\n"
        "<record>\n<date=05.12.2026>\n<active=once>\nDavor\n</record>\n");
    auto form = f.started();
    RangeWindow window(
        {form->settings(), form->engine_state(), "main.rmd", Services{f.clock, f.dialogs, f.sound}},
        QDate(1999, 3, 5));
    // By keyboard: it starts on the first day, then the second, then the buttons;
    // Return shows the range.
    EXPECT_EQ(window.focusWidget(), window.from_field());
    expect_keyboard_walk(window, window.from_field(),
                         "FromDate | TillDate | &Anzeigen | RangeList | ExportButton | Zurück",
                         window.show_button()->text());
    const auto retype = [](DateField& field, const char* text) {
        field.clear();
        type_into(field, QString::fromLatin1(text));
    };
    retype(*window.from_field(), "010127");  // digits without dots
    retype(*window.to_field(), "31.12.2027");
    window.show_range();
    const QString shown = window.list()->toPlainText();
    EXPECT_TRUE(shown.contains(QStringLiteral("Im Zeitraum")) && !shown.contains(u"Davor"))
        << shown.toStdString();
    retype(*window.to_field(), "31.02.2027");
    EXPECT_TRUE(marked_invalid(*window.to_field()));
    window.show_range();
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    EXPECT_TRUE(f.dialogs.messages[0].text.startsWith(QStringLiteral("Falsches Datum")));
    EXPECT_EQ(window.list()->toPlainText(), shown);
    EXPECT_EQ(window.focusWidget(), window.to_field());
    // A day before 1901, the calendars' first year, is refused as well.
    retype(*window.to_field(), "31.12.2027");
    retype(*window.from_field(), "31.12.1900");
    window.show_range();
    ASSERT_EQ(f.dialogs.messages.size(), 2u);
    EXPECT_EQ(window.focusWidget(), window.from_field());
    // No more than 32767 days.
    retype(*window.from_field(), "01.01.2027");
    window.to_field()->set_date(to_day_serial(QDate(2027, 1, 1).addDays(32768)));
    window.show_range();
    ASSERT_EQ(f.dialogs.messages.size(), 3u);
    EXPECT_EQ(f.dialogs.messages[2].text,
              QStringLiteral("Der Zeitraum ist länger als 32767 Tage."));
}

}  // namespace
}  // namespace merkwald::test
