// The holiday, church-year and astronomy windows over the calendar library.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <cstdlib>

#include "calendar/feasts.h"
#include "gui_test_support.h"
#include "shell/astro_window.h"
#include "shell/feast_windows.h"
#include "shell/number_fields.h"
#include "shell/window_helpers.h"

QT_BEGIN_NAMESPACE
// Failures show the texts.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

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
    EXPECT_EQ(holidays.year_edit()->text(), QStringLiteral("2024"));
    // Typed digit by digit, the year is listed with its fourth digit.
    QString typed;
    for (const QChar digit : QStringLiteral("1999")) {
        holidays.year_edit()->setText(typed += digit);
        EXPECT_EQ(holidays.feast_list()->count(), typed.size() == 4 ? 28 : 0)
            << typed.toStdString();
    }
    EXPECT_EQ(holidays.lines().front(), QStringLiteral("Neujahr: Freitag, 1. Januar"));
    for (const char* text : {"1901", "1913", "2000", "2005.9 Jahre", "  2008x", "2024", "2098"}) {
        holidays.year_edit()->setText(QString::fromLatin1(text));
        church_year.year_edit()->setText(QString::fromLatin1(text));
        const int year = std::atoi(text);
        EXPECT_EQ(holidays.lines(), as_qt(holiday_list_lines(year))) << year;
        EXPECT_EQ(church_year.lines(), as_qt(church_year_lines(year))) << year;
        EXPECT_FALSE(church_year.lines().isEmpty()) << year;
    }
    for (const char* text : {"1900", "2099", "", "abc", "-2000", "99999999999999999999"}) {
        holidays.year_edit()->setText(QString::fromLatin1(text));
        church_year.year_edit()->setText(QString::fromLatin1(text));
        EXPECT_EQ(holidays.feast_list()->count() + church_year.feast_list()->count(), 0) << text;
    }
}

class AstroWindow : public ::testing::Test {
protected:
    AstroWindow() {
        gui_application();
        QFile::copy(QStringLiteral(MERKWALD_SOURCE_DIR "/data/orte.dat"),
                    fixture.folder + "/orte.dat");
        settings = default_settings(fixture.folder);
        fixture.clock.set(at(2000, 6, 21, 9, 5));
    }
    std::unique_ptr<AstronomyWindow> open() {
        return std::make_unique<AstronomyWindow>(
            settings, fixture.folder, Services{fixture.clock, fixture.dialogs, fixture.sound},
            nullptr, [this](QWidget*, const QDate& preset) {
                picker_presets.push_back(preset);
                return picked;
            });
    }
    QStringList outputs(const AstronomyWindow& form) const {
        QStringList texts;
        for (const QLineEdit* edit : form.outputs()) texts << edit->text();
        return texts;
    }
    void choose(AstronomyWindow& form, const QString& place) {
        const int index = form.place_combo()->findText(place);
        ASSERT_GT(index, 0);
        form.place_combo()->setCurrentIndex(index);
        form.choose_place(index);
    }

    GuiFixture fixture;
    Settings settings;
    std::optional<QDate> picked;
    std::vector<QDate> picker_presets;
};

TEST_F(AstroWindow, MunichOnMidsummerDayWithSummerTime) {
    auto form = open();
    EXPECT_EQ(form->date_edit()->text(), QStringLiteral("21.06.2000"));
    EXPECT_EQ(form->hour_edit()->text(), QStringLiteral("09"));
    EXPECT_EQ(form->minute_edit()->text(), QStringLiteral("05"));
    EXPECT_EQ(form->place_combo()->itemText(0), QStringLiteral("Landshut"));
    EXPECT_EQ(form->place_combo()->count(), 59);
    form->summer_time_box()->setChecked(true);
    choose(*form, QStringLiteral("München"));
    EXPECT_EQ(form->coordinates().longitude[0]->text(), QStringLiteral("11"));
    EXPECT_EQ(form->coordinates().latitude[1]->text(), QStringLiteral("8"));
    const QStringList texts = outputs(*form);
    EXPECT_EQ(texts.mid(0, 5),
              (QStringList{"05:14 Uhr", "21:18 Uhr", "04:32 Uhr", "21:59 Uhr", "16:04 Stunden"}));
    EXPECT_TRUE(texts[5].endsWith(QStringLiteral(" Tage"))) << texts[5].toStdString();
    EXPECT_FALSE(texts[9].isEmpty());
    EXPECT_TRUE(fixture.dialogs.messages.empty());
}

TEST_F(AstroWindow, WrongFieldsGiveTheirMessagesAndKeepTheResults) {
    auto form = open();
    const QStringList before = outputs(*form);
    struct Row {
        QLineEdit* field;
        QString text;
        QString message;  // empty: none
    };
    const std::vector<Row> rows = {
        {form->hour_edit(), "24", "Falsche Stunden"},
        {form->hour_edit(), "-1", "Falsche Stunden"},
        {form->minute_edit(), "60", "Falsche Minuten"},
        {form->hour_edit(), "", ""},
        {form->date_edit(), "31.02.1999", "Falsches Datum"},
        {form->coordinates().longitude[0], "200", ""},
    };
    for (const Row& row : rows) {
        const QString kept = row.field->text();
        fixture.dialogs.messages.clear();
        row.field->setText(row.text);
        EXPECT_TRUE(fixture.dialogs.messages.empty()) << "no message while typing";
        form->compute();
        if (row.message.isEmpty()) {
            EXPECT_TRUE(fixture.dialogs.messages.empty()) << row.text.toStdString();
        } else {
            ASSERT_EQ(fixture.dialogs.messages.size(), 1u) << row.text.toStdString();
            EXPECT_EQ(fixture.dialogs.messages[0].text, row.message);
            EXPECT_EQ(fixture.dialogs.messages[0].icon, MessageIcon::critical);
        }
        EXPECT_EQ(outputs(*form), before) << row.text.toStdString();
        row.field->setText(kept);
    }
}

TEST_F(AstroWindow, AValidDateComputesAtOnceAndThePickerWritesItsDate) {
    auto form = open();
    form->summer_time_box()->setChecked(true);
    choose(*form, QStringLiteral("München"));
    form->date_edit()->setText(QStringLiteral("21.12.200"));
    EXPECT_EQ(form->outputs()[0]->text(), QStringLiteral("05:14 Uhr")) << "not a date yet";
    form->date_edit()->setText(QStringLiteral("21.12.2000"));
    EXPECT_EQ(form->outputs()[0]->text(), QStringLiteral("09:01 Uhr"));

    picked = QDate(2000, 6, 21);
    form->pick_date();
    EXPECT_EQ(form->date_edit()->text(), QStringLiteral("21.06.2000"));
    EXPECT_EQ(form->outputs()[0]->text(), QStringLiteral("05:14 Uhr"));
    form->date_edit()->setText(QStringLiteral("kein Datum"));
    picked.reset();
    form->pick_date();
    EXPECT_EQ(form->date_edit()->text(), QStringLiteral("kein Datum")) << "cancelled";
    EXPECT_EQ(picker_presets, (std::vector<QDate>{QDate(2000, 12, 21), QDate(2000, 6, 21)}));
}

TEST_F(AstroWindow, TypingRecomputesQuietlyAndMarksAFaultyField) {
    auto form = open();
    EXPECT_EQ(form->focusWidget(), form->place_combo()) << "the window starts on \"Ort\"";
    choose(*form, QStringLiteral("München"));
    form->hour_edit()->clear();
    type_into(*form->hour_edit(), QStringLiteral("2"));
    const QStringList before = outputs(*form);
    type_into(*form->hour_edit(), QStringLiteral("4"));
    EXPECT_EQ(form->hour_edit()->text(), QStringLiteral("24"));
    EXPECT_TRUE(fixture.dialogs.messages.empty());
    EXPECT_TRUE(marked_invalid(*form->hour_edit()));
    EXPECT_EQ(outputs(*form), before);
    form->hour_edit()->clear();
    type_into(*form->hour_edit(), QStringLiteral("123"));
    EXPECT_EQ(form->hour_edit()->text(), QStringLiteral("12")) << "the field holds 0 to 23";
    EXPECT_FALSE(marked_invalid(*form->hour_edit()));

    // Far north: the fields follow each key; midsummer is polar day.
    QLineEdit* degree = form->coordinates().latitude[0];
    degree->clear();
    type_into(*degree, QStringLiteral("78"));
    EXPECT_EQ(form->outputs()[0]->text(), QStringLiteral("Polartag"));
    EXPECT_EQ(form->outputs()[4]->text(), QStringLiteral("24:00 Stunden"));
    form->date_edit()->clear();
    type_into(*form->date_edit(), QStringLiteral("21.12.2000"));
    EXPECT_EQ(form->outputs()[1]->text(), QStringLiteral("Polarnacht"));
    EXPECT_TRUE(fixture.dialogs.messages.empty()) << "no box while typing";
    form->date_edit()->clear();
    EXPECT_TRUE(marked_invalid(*form->date_edit()));
    EXPECT_TRUE(fixture.dialogs.messages.empty());
}

TEST_F(AstroWindow, TheKeyboardReachesTheButtonsAfterTheFields) {
    auto form = open();
    QStringList order;
    QWidget* widget = form->place_combo();
    for (int i = 0; i < 400 && widget != nullptr; ++i) {
        if (!widget->objectName().isEmpty()) order << widget->objectName();
        widget = widget->nextInFocusChain();
        if (widget == form->place_combo()) break;
    }
    const auto at = [&order](const char* name) { return order.indexOf(QLatin1String(name)); };
    EXPECT_LT(at("Combo1"), at("LGrad"));
    EXPECT_LT(at("Minuten_text"), at("Text4"));
    EXPECT_LT(at("Text12"), at("Command1"));
    EXPECT_LT(at("Command1"), at("Command2"));
}

TEST_F(AstroWindow, AShortPlacesFileIsReportedAndListsEmptyEntries) {
    fixture.write("orte.dat",
                  "3\n\"Aachen\",6,5,0,\"O\",50,47,0,\"N\",1,173\n"
                  "\"Basel\",7,36,0,\"O\",47,34,0,\"N\",1,260\n");
    auto form = open();
    ASSERT_EQ(fixture.dialogs.messages.size(), 1u);
    EXPECT_EQ(fixture.dialogs.messages[0].text,
              QStringLiteral("Datei orte.dat nicht vorhanden oder Fehlerhaft"));
    EXPECT_EQ(form->place_combo()->count(), 4);
    EXPECT_EQ(form->place_combo()->itemText(2), QStringLiteral("Basel"));
    EXPECT_EQ(form->place_combo()->itemText(3), QString());
}

}  // namespace
}  // namespace merkwald::test
