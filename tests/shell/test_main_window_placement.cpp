// The window placement in twips: stored by the close button and the tray's
// exit, applied by the next start; the size rules and minimum sizes; standby.

#include <gtest/gtest.h>

#include <QAction>
#include <QScreen>

#include "gui_test_support.h"
#include "shell/tray.h"
#include "shell/window_placement.h"

namespace merkwald::test {
namespace {

// left, top, width, height
using Twips = std::array<std::int32_t, 4>;

Twips twips_of(const MainWindow& form) {
    const Placement p = current_geometry(form, StoredWindowState::normal);
    return {p.left.value_or(-1), p.top.value_or(-1), p.width, p.height};
}

void place(MainWindow& form, const Twips& t) {
    apply_geometry(form, Placement{StoredWindowState::normal, t[0], t[1], t[2], t[3]});
}

TEST(Placement, ClosingStoresTheFiveValuesAndTheNextStartAppliesThem) {
    for (const ProgramKind kind : {ProgramKind::full, ProgramKind::light}) {
        const bool light = kind == ProgramKind::light;
        const std::string prefix = light ? "Light" : "";
        GuiFixture f(kToday);
        f.set("Version", std::int32_t(1512));
        auto first = f.started("no_logo", kind);
        place(*first, {1500, 900, 9000, 7200});
        first->close_button_clicked();
        EXPECT_EQ(f.ends, 1);
        for (const auto& [name, value] : {std::pair{"WindowState", "0"},
                                          {"Left", "1500"},
                                          {"Top", "900"},
                                          {"Width", "9000"},
                                          {"Height", "7200"}})
            EXPECT_EQ(f.stored(prefix + name), value) << prefix << name;
        EXPECT_EQ(f.stored(light ? "Width" : "LightWidth"), std::nullopt);

        EXPECT_EQ(twips_of(*f.started("no_logo", kind)), (Twips{1500, 900, 9000, 7200}));
    }
}

// The tray's exit and the title bar's × store the placement, the × even in standby.
TEST(Placement, TrayExitAndTitleBarCloseStoreThePlacement) {
    GuiFixture f(kToday);
    f.set("Standby", std::int32_t(1));
    auto light = f.started("", ProgramKind::light);
    place(*light, {300, 450, 6000, 4500});
    light->tray().end_action()->trigger();
    EXPECT_EQ(f.ends, 1);
    EXPECT_EQ(f.stored("LightLeft"), "300");
    EXPECT_EQ(f.stored("LightHeight"), "4500");
    auto full = f.started();
    full->close();
    EXPECT_EQ(f.ends, 2);
    EXPECT_FALSE(full->day_timer().running());
    EXPECT_EQ(f.stored("Width"), "8430");
}

TEST(Placement, WithoutAStoredPositionTheWindowIsCentred) {
    GuiFixture f(kToday);
    auto form = f.started();
    const QRect area = form->screen()->availableGeometry();
    EXPECT_EQ(form->x(), area.left() + (area.width() - form->width()) / 2);
    EXPECT_EQ(form->y(), area.top() + (area.height() - form->height()) / 2);
}

TEST(Placement, MinimumSizesOfBothPrograms) {
    GuiFixture f(kToday);
    auto full = f.started();
    // The default height 6180 lies below the full program's minimum.
    EXPECT_EQ(twips_of(*full)[2], 8430);
    EXPECT_EQ(twips_of(*full)[3], 6390);
    place(*full, {0, 0, 1000, 1000});
    EXPECT_EQ(twips_of(*full)[2], 6900);
    auto light = f.started("", ProgramKind::light);
    EXPECT_EQ(twips_of(*light)[3], 6180);
    place(*light, {0, 0, 1000, 1000});
    EXPECT_EQ(twips_of(*light), (Twips{0, 0, 3000, 3000}));
}

TEST(Placement, WindowStartedMaximisedReturnsToTheDefaultSizeWhenRestored) {
    GuiFixture f(kToday);
    f.set("WindowState", std::int32_t(2));
    f.set("Width", std::int32_t(12000));
    f.set("Height", std::int32_t(9000));
    auto form = f.started();
    EXPECT_TRUE(form->isMaximized());
    form->showNormal();
    EXPECT_EQ(twips_of(*form)[2], 8430);
    EXPECT_EQ(twips_of(*form)[3], 6390);
}

TEST(Placement, StandbyMenuHidesAndEndeMenuStoresAndEnds) {
    GuiFixture f(kToday);
    auto form = f.started();
    form->standby();
    EXPECT_EQ(f.ends, 0);
    EXPECT_TRUE(form->isMinimized());
    form->tray().show_action()->trigger();
    EXPECT_FALSE(form->isMinimized());
    form->exit_program();
    EXPECT_EQ(f.ends, 1);
    // Minimised for standby counts as the normal state.
    EXPECT_EQ(f.stored("WindowState"), "0");
}

TEST(Placement, TwipsAndPixels) {
    EXPECT_EQ((std::array{562, 8430, 120, 15}),
              (std::array{twips_to_pixels(8430, 96), pixels_to_twips(562, 96),
                          twips_to_pixels(1440, 120), pixels_to_twips(1, 96)}));
}

}  // namespace
}  // namespace merkwald::test
