// The shipped name days in both programs' lists after a new store's first start;
// the choice itself is the settings' and its page the options dialog's.

#include <gtest/gtest.h>

#include "gui_test_support.h"

namespace merkwald::test {
namespace {

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
