// What a user of this desktop expects of the programs: one running copy, the
// tray's clicks and tooltip, the file label, a failed read, the range window's
// message, the icons, Qt's dialogs in German, readable text in a dark theme,
// and --help / --version beside the old words.

#include <gtest/gtest.h>

#include <QPalette>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>

#include "event_loop_support.h"
#include "gui_test_support.h"
#include "settings/program_folder.h"
#include "settings/qt_bridges.h"
#include "shell/calendar/range_window.h"
#include "shell/main/file_check_window.h"
#include "shell/platform/qt_translations.h"
#include "shell/platform/toolbar_icons.h"
#include "shell/start/program_options.h"
#include "shell/start/single_instance.h"
#include "shell/tray/tray.h"
#include "shell/widgets/date_field.h"
#include "shell/widgets/number_fields.h"

namespace merkwald::test {
namespace {

class SecondStart : public ::testing::Test {
protected:
    SecondStart() { gui_application(); }
    QTemporaryDir runtime;
    QString name = runtime.path() + "/merkwald-test.socket";
    std::vector<QStringList> received;
    SingleInstance::Handler receive = [this](const QStringList& a) { received.push_back(a); };
};

TEST_F(SecondStart, ArgumentsReachTheRunningCopyOnceItIsOpen) {
    SingleInstance second(name);
    EXPECT_FALSE(second.hand_over({"merkwald"}));  // nobody runs yet
    SingleInstance running(name);
    ASSERT_TRUE(running.listen(receive));
    const QStringList arguments{"merkwald", "/file=zwei.rmd", "no_logo"};
    EXPECT_TRUE(second.hand_over(arguments));
    settle_for(100);
    EXPECT_TRUE(received.empty());
    running.open();
    EXPECT_EQ(received, std::vector<QStringList>{arguments});
}

TEST_F(SecondStart, AStaleSocketIsTakenOverAndALiveCopyKeepsItsName) {
    write_file(name, {});  // what a crashed copy leaves: the name exists, nobody answers
    SingleInstance next(name);
    ASSERT_TRUE(next.listen(receive));
    next.open();
    EXPECT_TRUE(SingleInstance(name).hand_over({"merkwald"}));
    EXPECT_TRUE(wait_until([this] { return received.size() == 1; }));
    EXPECT_FALSE(SingleInstance(name).listen({}));
}

TEST(SecondStartWindow, ShowsTheWindowAndOpensTheNamedFile) {
    GuiFixture f("<record>\n<date=05.03.1999>\nAus main\n</record>\n");
    f.write("zwei.rmd", "<record>\n<date=05.03.1999>\nAus zwei\n</record>\n");
    auto form = f.started();
    form->hide();
    apply_second_start(*form, CommandLine("/once"));
    EXPECT_FALSE(form->isVisible());
    apply_second_start(*form, CommandLine("/file=zwei.rmd"));
    EXPECT_TRUE(form->isVisible());
    EXPECT_NE(GuiFixture::plain(*form).find("Aus zwei"), std::string::npos);
}

TEST(Tray, LeftClickTogglesMiddleClickShowsAndTheTooltipFollowsTheRefresh) {
    GuiFixture f(kToday);
    auto form = f.started();
    EXPECT_EQ(form->tray().tooltip(), QStringLiteral("Merkwald\nHeute"));
    TrayIcon& tray = form->tray();
    tray.activate(QSystemTrayIcon::Trigger);
    // Offscreen there is no notification area: standby minimises instead of hiding.
    EXPECT_TRUE(form->isMinimized() || !form->isVisible());
    tray.activate(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(form->isVisible() && !form->isMinimized());
    form->showMinimized();
    tray.activate(QSystemTrayIcon::MiddleClick);
    EXPECT_TRUE(form->isVisible() && !form->isMinimized());
}

TEST(TrayTooltip, ListsTheDueEntriesSoonestFirstShortened) {
    EXPECT_EQ(tray_tooltip({}), QStringLiteral("Merkwald\nNichts fällig"));
    std::vector<LineEntry> lines{
        {"Übermorgen: Anna\r\nzweite Zeile\r\n", 0, "Geburtstage", DaySerial(12)},
        {"Heute: Zahnarzt\r\n", 0, "Termine", DaySerial(10)},
        {"\r\n", 0, "Termine", DaySerial(9)},
        {std::string(80, 'x') + "\r\n", 0, "Termine", DaySerial(11)}};
    EXPECT_EQ(tray_tooltip(lines), QStringLiteral("Merkwald\nHeute: Zahnarzt\n") +
                                       QString(59, u'x') + QStringLiteral("…\nÜbermorgen: Anna"));
    for (int i = 0; i < 5; ++i) lines.push_back({"Später\r\n", 0, "Termine", DaySerial(20 + i)});
    EXPECT_TRUE(tray_tooltip(lines).endsWith(QStringLiteral("\nSpäter\n… und 3 weitere")));
}

// A dark desktop's light grey text on the light list background the program sets.
TEST(DarkTheme, TextColourMatchesTheBackgroundTheProgramSets) {
    GuiFixture f(kToday);
    f.set("BackgroundColor", std::int32_t(0xFFFFFF));
    QPalette dark = QApplication::palette();
    dark.setColor(QPalette::WindowText, QColor(220, 220, 220));
    QApplication::setPalette(dark);
    auto form = f.started();
    QApplication::setPalette(QPalette());
    EXPECT_EQ(form->clock_label()->palette().color(QPalette::WindowText), QColor(Qt::black));
}

// A field marked as holding no valid value stays readable in a dark theme.
TEST(DarkTheme, AMarkedFieldKeepsItsTextReadable) {
    gui_application();
    QPalette dark = QApplication::palette();
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    QApplication::setPalette(dark);
    DateField field;
    type_into(field, QStringLiteral("31.02.2027"));
    field.ensurePolished();
    const QColor text = field.palette().color(QPalette::Text);
    QApplication::setPalette(QPalette());
    EXPECT_TRUE(marked_invalid(field));
    EXPECT_EQ(text, QColor(Qt::black));
}

TEST(QtTranslations, StandardDialogTextsAreGerman) {
    gui_application();
    if (!install_qt_translations(*QCoreApplication::instance(),
                                 qt_translation_folders(QCoreApplication::applicationDirPath()))) {
        GTEST_SKIP() << "Qt's translations are not installed (qt6-translations-l10n)";
    }
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));
    EXPECT_EQ(QLocale().toString(QDate(2026, 12, 7), "d. MMMM"), QStringLiteral("7. Dezember"));
}

TEST(HelpAndVersion, AreAnsweredBesideTheOldWords) {
    const ProgramVersion version{1, 5, 12};
    EXPECT_EQ(information_request({"merklight", "-v"}, ProgramKind::light, version),
              QStringLiteral("merklight 1.5.12\n"));
    EXPECT_TRUE(information_request({"merkwald", "no_logo", "--help"}, ProgramKind::full, version)
                    .value_or("")
                    .startsWith(QStringLiteral("Aufruf: merkwald ")));
    // What only looks like an option starts the program.
    EXPECT_FALSE(
        information_request({"merkwald", "-x", "/file=--help.rmd"}, ProgramKind::full, version));
}

TEST(FileLabel, ShowsThePathAsOnDiskShortenedInTheMiddle) {
    GuiFixture f(kToday);
    auto form = f.started();
    const QString name = QStringLiteral("Meine Termine/Große Sammlung aller Geburtstage.rmd");
    QDir(f.folder).mkpath(QStringLiteral("Meine Termine"));
    f.write(name, kToday);
    form->set_main_file(name.toStdString());
    form->file_label()->resize(120, 20);
    form->day_timer().tick();
    const QString shown = form->file_label()->text();  // letter case kept
    EXPECT_TRUE(shown.startsWith(u"Me") && shown.contains(u'…') && shown.endsWith(u"rmd"))
        << shown.toStdString();
    EXPECT_EQ(form->file_label()->toolTip(), f.folder + u'/' + name);
}

TEST(FailedRead, ShowsTheHeadingAndNamesTheFileInTheBox) {
    GuiFixture f;
    f.set("BackgroundColor", std::int32_t(0xCCFFFF));
    f.set("DataFilename", std::string("fehlt.rmd"));
    auto form = f.started();
    EXPECT_EQ(GuiFixture::plain(*form).rfind("Freitag, 5.3.1999", 0), 0u);
    EXPECT_EQ(form->event_list().palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xCC));
    EXPECT_EQ(f.dialogs.messages.at(0).text,
              QStringLiteral("Datei nicht gefunden\n\n") + f.folder + QStringLiteral("/fehlt.rmd"));
}

TEST(RangeWindow, StartsOnItsFirstFieldAndRefusesMoreThan32767Days) {
    GuiFixture f(kToday);
    auto form = f.started();
    RangeWindow window(
        {form->settings(), form->engine_state(), "main.rmd", Services{f.clock, f.dialogs, f.sound}},
        QDate(1999, 3, 5));
    EXPECT_EQ(window.focusWidget(), window.from_field());
    window.to_field()->set_date(to_day_serial(QDate(1999, 3, 5).addDays(32768)));
    window.show_range();
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    EXPECT_EQ(f.dialogs.messages[0].text,
              QStringLiteral("Der Zeitraum ist länger als 32767 Tage."));
}

TEST(Icons, DisabledButtonsLookDisabled) {
    gui_application();
    const QImage normal = drawn_icon(QStringLiteral("print")).pixmap(22, 22).toImage();
    const QImage disabled =
        drawn_icon(QStringLiteral("print")).pixmap(QSize(22, 22), QIcon::Disabled).toImage();
    EXPECT_GT(normal.pixelColor(3, 11).hsvSaturation(), 0);
    EXPECT_EQ(disabled.pixelColor(3, 11).hsvSaturation(), 0);
}

TEST(Icons, EachProgramHasItsOwnIconEverywhere) {
    GuiFixture f(kToday);
    use_program_file_folders({QStringLiteral(MERKWALD_SOURCE_DIR "/data")});
    const QImage full = program_icon(f.folder, false).pixmap(32, 32).toImage();
    const QImage light = program_icon(f.folder, true).pixmap(32, 32).toImage();
    EXPECT_NE(full, light);
    EXPECT_EQ(f.started()->windowIcon().pixmap(32, 32).toImage(), full);
    use_program_file_folders({});
}

// "Dateien prüfen": a long problem line wraps at the window's width instead of
// running out of sight.
TEST(FileCheckWindow, LongLinesWrapAtTheWindowsWidth) {
    gui_application();
    FileCheckWindow window(QStringLiteral("/home/nutzer/") + QString(300, u'x') +
                           QStringLiteral(".rmd: Zeile 3: Datei nicht gefunden"));
    window.show();
    EXPECT_GT(window.report()->document()->firstBlock().lineCount(), 1);
    EXPECT_EQ(window.report()->horizontalScrollBar()->maximum(), 0);
}

}  // namespace
}  // namespace merkwald::test
