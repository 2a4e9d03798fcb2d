// The look of the list's runs, its sound and the shipped name days in both
// programs' lists; its text is the engine's, checked with the golden cases.

#include <gtest/gtest.h>

#include <QLibrary>
#include <QTextBlock>

#include "gui_test_support.h"

namespace merkwald::test {
namespace {

// The format of the fragment of the list whose text is `text`.
std::optional<QTextCharFormat> format_of(const QTextEdit& box, const std::string& text) {
    for (QTextBlock b = box.document()->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().text().toStdString() == text) return it.fragment().charFormat();
    }
    return std::nullopt;
}

TEST(WindowList, RunsCarryColoursHeadingsAndFont) {
    GuiFixture f(
        "<record>\n<date=07.03.1970>\n<color=255>\n<active_before=7>\n"
        "<group=geburtstage>\nAnna\n</record>\n");
    f.set("RecordColor", std::int32_t(0x804020));  // blue 0x80, green 0x40, red 0x20
    f.set("FontName", std::string("DejaVu Serif"));
    auto form = f.started();
    // Headings in the record colour, bold and underlined; entries in their own colour.
    const auto heading = format_of(form->event_list(), "Geburtstage:").value_or(QTextCharFormat());
    EXPECT_EQ(heading.foreground().color(), QColor(0x20, 0x40, 0x80));
    EXPECT_TRUE(heading.fontUnderline() && heading.fontWeight() == QFont::Bold);
    const auto anna = format_of(form->event_list(), "Anna").value_or(QTextCharFormat());
    EXPECT_EQ(anna.foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(anna.fontFamilies().toStringList(), QStringList{"DejaVu Serif"});
}

// A refresh asked for while the reader's message box is open (the file watch,
// an import's own write) waits for the open one and then runs once; the window
// shows the last whole list until then.
TEST(WindowList, RefreshAskedForWhileItsBoxIsOpenRunsOnceAfterIt) {
    GuiFixture f(
        "<add_file=linked.rmd>\n<record>\n<date=07.03.1970>\n<active_before=7>\n"
        "<group=geburtstage>\nAnna\n</record>\n");
    f.write(QStringLiteral("linked.rmd"), "<record>\n<date=05.03.1999>\nAlt\n</record>\n");
    auto form = f.started();
    const std::string before = GuiFixture::plain(*form);
    ASSERT_NE(before.find("Alt"), std::string::npos);
    f.write(QStringLiteral("linked.rmd"), "<record>\n<date=31.02.1999>\nFalsch\n</record>\n");
    std::string shown_while_open;
    int asked = 0;
    f.dialogs.while_open = [&](const ScriptedDialogs::Shown&) {
        shown_while_open = GuiFixture::plain(*form);
        if (asked++ > 0) return;
        f.write(QStringLiteral("linked.rmd"), "<record>\n<date=05.03.1999>\nNeu\n</record>\n");
        form->show_data();
        form->show_data();
    };
    form->show_data();
    EXPECT_EQ(shown_while_open, before);
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    EXPECT_EQ(GuiFixture::plain(*form), "Freitag, 5.3.1999\n\nNeu\n\nGeburtstage:\n\nAnna\n\n");
}

// The sound plays once per refresh with an event today. The programs load the
// player on the first sound; a module that does not load or lacks its entry
// point would leave every reminder silent without a word.
TEST(Sound, PlaysOncePerRefreshWithAnEventTodayFromAModuleThatLoads) {
    GuiFixture f(kToday);
    f.set("PlaySound", std::int32_t(1));
    auto form = f.started();
    EXPECT_EQ(f.sound.played, std::vector<QString>{f.folder + "/standard.wav"});
    f.clock.set(at(1999, 3, 6));
    form->day_timer().tick();  // the new day: nothing falls on it
    EXPECT_EQ(f.sound.played.size(), 1u);
#ifdef MERKWALD_SOUND_MODULE
    QLibrary module(QStringLiteral(MERKWALD_SOUND_MODULE));
    ASSERT_TRUE(module.load()) << module.errorString().toStdString();
    using Factory = SoundPlayer* (*)();
    const auto create = reinterpret_cast<Factory>(module.resolve("merkwald_create_sound_player"));
    ASSERT_NE(create, nullptr);
    EXPECT_NE(std::unique_ptr<SoundPlayer>(create()), nullptr);
#endif
}

// The clock stands on Friday, 5 March 1999; Max's name day is 12 March.
TEST(NameDayWindows, ANewStoreShowsThePeoplesNameDaysInBothPrograms) {
    for (const ProgramKind kind : {ProgramKind::full, ProgramKind::light}) {
        SCOPED_TRACE(int(kind));
        GuiFixture f(
            "<record>\n<date=02.02.1985>\n<active_before=14>\n<group=geburtstage>\n"
            "Max Weber hat <days_before_event_text> Geburtstag\n</record>\n");
        f.copy_shipped(QStringLiteral("namenstage.dat"));
        auto form = f.started("no_logo", kind);
        EXPECT_EQ(f.stored("Namenstage"), "meiner Leute");
        // The light program sets every line of the list off by two blanks.
        const std::string indent = kind == ProgramKind::light ? "  " : "";
        const std::string shown = GuiFixture::plain(*form);
        EXPECT_NE(
            shown.find("Namenstage:\n\n" + indent + "Max hat in 7 Tagen Namenstag (Fr, 12. 03.)\n"),
            std::string::npos)
            << shown;
    }
}

}  // namespace
}  // namespace merkwald::test
