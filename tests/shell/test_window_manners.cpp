// The windows as a user of this desktop works them: the file label, a failed
// read, the range window's message, placement on the screens that exist, the
// icons of disabled buttons and of the two programs.

#include <gtest/gtest.h>

#include <QDateEdit>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>

#include "gui_test_support.h"
#include "settings/program_folder.h"
#include "shell/feast_windows.h"
#include "shell/range_window.h"
#include "shell/toolbar_icons.h"
#include "shell/tray.h"
#include "shell/window_placement.h"

namespace merkwald::test {
namespace {

TEST(FileLabel, ShowsThePathAsOnDiskShortenedInTheMiddle) {
    GuiFixture f(kToday);
    auto form = f.started();
    const QString name = QStringLiteral("Meine Termine/Große Sammlung aller Geburtstage.rmd");
    QDir(f.folder).mkpath(QStringLiteral("Meine Termine"));
    f.write(name, kToday);
    form->set_main_file(name.toStdString());
    form->file_label()->resize(2000, 20);
    form->day_timer().tick();
    EXPECT_EQ(form->file_label()->text(), name) << "letter case kept";
    EXPECT_EQ(form->file_label()->toolTip(), f.folder + u'/' + name);
    form->file_label()->resize(120, 20);
    form->day_timer().tick();
    const QString shown = form->file_label()->text();
    EXPECT_TRUE(shown.contains(u'…')) << shown.toStdString();
    EXPECT_TRUE(shown.startsWith(u'M') && shown.endsWith(u"rmd")) << shown.toStdString();
    EXPECT_EQ(form->file_label()->toolTip(), f.folder + u'/' + name);
}

TEST(FailedRead, ShowsTheHeadingAndNamesTheFileInTheBox) {
    GuiFixture f;
    f.set("BackgroundColor", std::int32_t(0xCCFFFF));
    f.set("DataFilename", std::string("fehlt.rmd"));
    auto form = f.started();
    EXPECT_EQ(GuiFixture::plain(*form).rfind("Freitag, 5.3.1999", 0), 0u)
        << GuiFixture::plain(*form);
    EXPECT_EQ(form->event_list().palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xCC));
    ASSERT_FALSE(f.dialogs.messages.empty());
    EXPECT_EQ(f.dialogs.messages[0].text,
              QStringLiteral("Datei nicht gefunden\n\n") + f.folder + QStringLiteral("/fehlt.rmd"));
}

TEST(RangeWindowMessage, NamesWhatIsWrongWithTheRange) {
    GuiFixture f(kToday);
    auto form = f.started();
    RangeWindow window(
        {form->settings(), form->engine_state(), "main.rmd", Services{f.clock, f.dialogs, f.sound}},
        QDate(1999, 3, 5));
    EXPECT_EQ(window.focusWidget(), window.from_field());
    const std::pair<QDate, const char*> rows[] = {
        {QDate(1999, 3, 4), "Der letzte Tag liegt vor dem ersten Tag."},
        {QDate(1999, 3, 5).addDays(32768), "Der Zeitraum ist länger als 32767 Tage."},
    };
    for (const auto& [to, message] : rows) {
        f.dialogs.messages.clear();
        window.to_field()->setDate(to);
        window.show_range();
        ASSERT_EQ(f.dialogs.messages.size(), 1u) << message;
        EXPECT_EQ(f.dialogs.messages[0].text, QString::fromUtf8(message));
    }
    f.dialogs.messages.clear();
    window.to_field()->setDate(QDate(1999, 3, 5).addDays(32767));
    window.show_range();
    EXPECT_TRUE(f.dialogs.messages.empty());
}

TEST(Placement, AStoredPositionIsPulledOntoAScreen) {
    const QList<QRect> one{QRect(0, 0, 1920, 1080)};
    const QList<QRect> two{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    const struct {
        QRect frame;
        QList<QRect> areas;
        QPoint expected;
    } rows[] = {
        {{100, 100, 600, 400}, one, {100, 100}},    // visible: stays
        {{2500, 100, 600, 400}, two, {2500, 100}},  // on the second screen
        {{2500, 100, 600, 400}, one, {1320, 100}},  // that screen is gone
        {{-550, 100, 600, 400}, one, {-550, 100}},  // a grip of the title stays
        {{-560, 100, 600, 400}, one, {0, 100}},     // too little to grab
        {{100, -50, 600, 400}, one, {100, 0}},      // title bar above the screen
        {{100, 2000, 600, 400}, one, {100, 680}},   // below it
        {{5000, 5000, 3000, 3000}, one, {0, 0}},    // larger than the screen
        {{100, 100, 600, 400}, {}, {100, 100}},     // no screen known
    };
    for (const auto& row : rows)
        EXPECT_EQ(pulled_onto(row.frame, row.areas), row.expected)
            << row.frame.x() << "," << row.frame.y();
}

TEST(Icons, DisabledButtonsLookDisabled) {
    gui_application();
    const QImage normal = drawn_icon(QStringLiteral("print")).pixmap(22, 22).toImage();
    const QImage disabled =
        drawn_icon(QStringLiteral("print")).pixmap(QSize(22, 22), QIcon::Disabled).toImage();
    const QColor n = normal.pixelColor(3, 11), d = disabled.pixelColor(3, 11);
    EXPECT_GT(n.hsvSaturation(), 0);
    EXPECT_EQ(d.hsvSaturation(), 0);
    EXPECT_LT(d.alpha(), n.alpha());
}

TEST(Icons, EachProgramHasItsOwnIconEverywhere) {
    GuiFixture f(kToday);
    use_program_file_folders({QStringLiteral(MERKWALD_SOURCE_DIR "/data")});
    const QImage full = program_icon(f.folder, false).pixmap(32, 32).toImage();
    const QImage light = program_icon(f.folder, true).pixmap(32, 32).toImage();
    use_program_file_folders({});
    EXPECT_FALSE(full.isNull());
    EXPECT_FALSE(light.isNull());
    EXPECT_NE(full, light);
    // The window and the tray show the same picture.
    auto form = f.started();
    EXPECT_EQ(form->windowIcon().pixmap(32, 32).toImage(),
              program_icon(f.folder, false).pixmap(32, 32).toImage());
}

TEST(HolidayWindow, ShowsAllItsLinesWithoutScrolling) {
    gui_application();
    HolidayListWindow window(2026);
    window.show();
    QCoreApplication::processEvents();
    EXPECT_GT(window.feast_list()->count(), 20);
    EXPECT_EQ(window.feast_list()->verticalScrollBar()->maximum(), 0);
}

}  // namespace
}  // namespace merkwald::test
