// What a desktop user expects of the programs: the tray's single and middle
// click and its tooltip, Qt's dialogs in German, readable text in a dark theme,
// and --help / --version beside the old words.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPalette>

#include "gui_test_support.h"
#include "shell/list_render.h"
#include "shell/program_options.h"
#include "shell/qt_translations.h"
#include "shell/tray.h"

namespace merkwald::test {
namespace {

TEST(TrayClicks, LeftClickTogglesAndMiddleOrDoubleClickShows) {
    GuiFixture f(kToday);
    f.set("Version", std::int32_t(1512));
    auto form = f.started();
    ASSERT_TRUE(form->isVisible());
    TrayIcon& tray = form->tray();
    tray.activate(QSystemTrayIcon::Trigger);
    // Offscreen there is no notification area: standby minimises instead of hiding.
    EXPECT_TRUE(form->isMinimized() || !form->isVisible());
    tray.activate(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(form->isVisible() && !form->isMinimized());
    for (const auto reason : {QSystemTrayIcon::MiddleClick, QSystemTrayIcon::DoubleClick}) {
        form->showMinimized();
        tray.activate(reason);
        EXPECT_TRUE(form->isVisible() && !form->isMinimized()) << reason;
        tray.activate(reason);  // a window already shown stays shown
        EXPECT_TRUE(form->isVisible() && !form->isMinimized()) << reason;
    }
    tray.activate(QSystemTrayIcon::Context);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(0, f.ends);
}

TEST(TrayTooltip, ListsTheDueEntriesSoonestFirstShortened) {
    EXPECT_EQ(QStringLiteral("Merkwald\nNichts fällig"), tray_tooltip({}));
    std::vector<LineEntry> lines;
    lines.push_back({"Übermorgen: Anna\r\nzweite Zeile\r\n", 0, "Geburtstage", 12});
    lines.push_back({"Heute: Zahnarzt\r\n", 0, "Termine", 10});
    lines.push_back({"\r\n", 0, "Termine", 9});
    lines.push_back({std::string(80, 'x') + "\r\n", 0, "Termine", 11});
    EXPECT_EQ(QStringLiteral("Merkwald\nHeute: Zahnarzt\n") + QString(59, u'x') +
                  QStringLiteral("…\nÜbermorgen: Anna"),
              tray_tooltip(lines));
    for (int i = 0; i < 5; ++i) lines.push_back({"Später\r\n", 0, "Termine", 20 + i});
    EXPECT_TRUE(tray_tooltip(lines).endsWith(QStringLiteral("\nSpäter\n… und 3 weitere")));
}

TEST(TrayTooltip, FollowsTheRefresh) {
    GuiFixture f(kToday);
    f.set("Version", std::int32_t(1512));
    auto form = f.started();
    EXPECT_EQ(QStringLiteral("Merkwald\nHeute"), form->tray().tooltip());
}

TEST(DarkTheme, TextColourMatchesTheBackgroundTheProgramSets) {
    gui_application();
    struct Row {
        QColor background, text;
    };
    const Row rows[] = {{Qt::white, Qt::black},
                        {QColor(255, 255, 192), Qt::black},
                        {Qt::black, Qt::white},
                        {QColor(0, 0, 128), Qt::white}};
    for (const Row& row : rows) {
        QLabel label;
        // A dark desktop: light grey text made for a dark grey background.
        QPalette dark;
        dark.setColor(QPalette::Window, QColor(40, 40, 40));
        dark.setColor(QPalette::WindowText, QColor(220, 220, 220));
        dark.setColor(QPalette::Base, QColor(30, 30, 30));
        dark.setColor(QPalette::Text, QColor(220, 220, 220));
        label.setPalette(dark);
        set_background(label, row.background);
        EXPECT_EQ(row.text, label.palette().color(QPalette::WindowText))
            << row.background.name().toStdString();
        EXPECT_EQ(row.text, label.palette().color(QPalette::Text))
            << row.background.name().toStdString();
    }
}

TEST(DarkTheme, SidePanelLabelsAreReadableOnTheListBackground) {
    GuiFixture f(kToday);
    f.set("Version", std::int32_t(1512));
    f.set("BackgroundColor", std::int32_t(0xFFFFFF));
    QPalette dark = QApplication::palette();
    dark.setColor(QPalette::WindowText, QColor(220, 220, 220));
    QApplication::setPalette(dark);
    auto form = f.started();
    QApplication::setPalette(QPalette());
    EXPECT_EQ(QColor(Qt::black), form->clock_label()->palette().color(QPalette::WindowText));
}

TEST(QtTranslations, StandardDialogTextsAreGerman) {
    gui_application();
    if (!install_qt_translations(*QCoreApplication::instance(),
                                 qt_translation_folders(QCoreApplication::applicationDirPath()))) {
        GTEST_SKIP() << "Qt's translations are not installed (qt6-translations-l10n)";
    }
    EXPECT_EQ(QStringLiteral("Abbrechen"), QCoreApplication::translate("QPlatformTheme", "Cancel"));
    EXPECT_EQ(QStringLiteral("7. Dezember"), QLocale().toString(QDate(2026, 12, 7), "d. MMMM"));
    EXPECT_EQ(QStringLiteral("Dateiname:"),
              QCoreApplication::translate("QFileDialog", "File &name:").remove(u'&'));
}

TEST(HelpAndVersion, AreAnsweredBesideTheOldWords) {
    const ProgramVersion version{1, 5, 12};
    using Kind = ProgramKind;
    EXPECT_EQ(QStringLiteral("merkwald 1.5.12\n"),
              information_request({"merkwald", "--version"}, Kind::full, version));
    EXPECT_EQ(QStringLiteral("merklight 1.5.12\n"),
              information_request({"merklight", "-v"}, Kind::light, version));
    const auto help = information_request({"merkwald", "no_logo", "--help"}, Kind::full, version);
    ASSERT_TRUE(help);
    EXPECT_TRUE(help->startsWith(QStringLiteral("Aufruf: merkwald ")));
    EXPECT_TRUE(help->contains(QStringLiteral("/file=DATEI")));
    const auto light_help = information_request({"merklight", "-h"}, Kind::light, version);
    ASSERT_TRUE(light_help);
    EXPECT_FALSE(light_help->contains(QStringLiteral("no_logo")));
    // The old words, and what only looks like an option, start the program.
    for (const QStringList& arguments :
         {QStringList{"merkwald"},
          {"merkwald", "no_logo", "/once", "/file=a.rmd", "/unload=5"},
          {"merkwald", "-x", "/file=--help.rmd"}}) {
        EXPECT_FALSE(information_request(arguments, Kind::full, version))
            << arguments.join(' ').toStdString();
    }
}

}  // namespace
}  // namespace merkwald::test
