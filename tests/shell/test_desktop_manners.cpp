// What a user of this desktop expects of the programs: one running copy, the
// tray's clicks and tooltip, a failed read, readable text in a dark theme, and
// --help / --version beside the old words.

#include <gtest/gtest.h>

#include "event_loop_support.h"
#include "gui_test_support.h"
#include "shell/start/program_options.h"
#include "shell/start/single_instance.h"
#include "shell/tray/tray.h"
#include "shell/widgets/date_field.h"
#include "shell/widgets/number_fields.h"

namespace merkwald::test {
namespace {

// A later start hands its words to the running copy, which takes them once it is
// open; a socket a crashed copy left is taken over, a live copy's is not.
TEST(SecondStart, ArgumentsReachTheRunningCopyOnceItIsOpen) {
    gui_application();
    QTemporaryDir runtime;
    const QString name = runtime.path() + "/merkwald-test.socket";
    write_file(name, {});  // what a crashed copy leaves: the name exists, nobody answers
    SingleInstance second(name);
    EXPECT_FALSE(second.hand_over({"merkwald"}));
    std::vector<QStringList> received;
    SingleInstance running(name);
    ASSERT_TRUE(running.listen([&received](const QStringList& a) { received.push_back(a); }));
    const QStringList arguments{"merkwald", "/file=zwei.rmd", "no_logo"};
    EXPECT_TRUE(second.hand_over(arguments));
    settle_for(100);
    EXPECT_TRUE(received.empty());
    running.open();
    EXPECT_EQ(received, std::vector<QStringList>{arguments});
    EXPECT_FALSE(SingleInstance(name).listen({}));
}

// The tray's left click hides and shows the window; a later start's words
// reach it: "/once" shows nothing, a named file is shown, the tooltip follows.
TEST(Tray, LeftClickTogglesTheWindowALaterStartShowsItAndTheTooltipFollows) {
    GuiFixture f(kToday);
    f.write("zwei.rmd", "<record>\n<date=05.03.1999>\nAus zwei\n</record>\n");
    auto form = f.started();
    form->tray().activate(QSystemTrayIcon::Trigger);
    // Offscreen there is no notification area: standby minimises instead of hiding.
    EXPECT_TRUE(form->isMinimized() || !form->isVisible());
    form->tray().activate(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(form->isVisible() && !form->isMinimized());
    form->hide();
    apply_second_start(*form, CommandLine("/once"));
    EXPECT_FALSE(form->isVisible());
    apply_second_start(*form, CommandLine("/file=zwei.rmd"));
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->tray().tooltip(), QStringLiteral("Merkwald\nAus zwei"));
    // The due entries soonest first, shortened.
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

// A dark desktop's light text stays readable where the program sets a light
// background: the labels beside the list, a field marked as holding no valid value.
TEST(DarkTheme, TextStaysReadableOnTheLightBackgroundsTheProgramSets) {
    GuiFixture f(kToday);
    f.set("BackgroundColor", std::int32_t(0xFFFFFF));
    QPalette dark = QApplication::palette();
    dark.setColor(QPalette::WindowText, QColor(220, 220, 220));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    QApplication::setPalette(dark);
    auto form = f.started();
    DateField field;
    type_into(field, QStringLiteral("31.02.2027"));
    field.ensurePolished();
    const QColor text = field.palette().color(QPalette::Text);
    QApplication::setPalette(QPalette());
    EXPECT_EQ(form->clock_label()->palette().color(QPalette::WindowText), QColor(Qt::black));
    EXPECT_TRUE(marked_invalid(field));
    EXPECT_EQ(text, QColor(Qt::black));
}

// The words are whole arguments with their values; --help and -v are answered
// beside them, and what only looks like an option starts the program.
TEST(CommandLine, WordsAreWholeArgumentsAndHelpAndVersionAreAnsweredBesideThem) {
    const auto line = CommandLine::from_arguments(
        {"prog", "/file=/home/a/Meine Termine/concerts.rmd", "/no_logo", "/unload=12.6x"});
    EXPECT_EQ(line.file(), "/home/a/Meine Termine/concerts.rmd");
    EXPECT_FALSE(line.once());  // "concerts" holds the letters, not the word
    EXPECT_TRUE(line.no_logo());
    EXPECT_EQ(line.unload_seconds(), 13);
    EXPECT_EQ(CommandLine("/unload= 5").unload_seconds(), 0);  // the number is another word
    const ProgramVersion version{1, 5, 12};
    EXPECT_EQ(information_request({"merklight", "-v"}, ProgramKind::light, version),
              QStringLiteral("merklight 1.5.12\n"));
    EXPECT_FALSE(
        information_request({"merkwald", "-x", "/file=--help.rmd"}, ProgramKind::full, version));
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

}  // namespace
}  // namespace merkwald::test
