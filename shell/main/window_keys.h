#pragma once
// The keyboard of the main windows, with the platform's standard keys: F5
// re-reads, Enter is "Stand By" while that is switched on, Ctrl+Home and
// Ctrl+End move to the list's start and end; in the full program F1, Ctrl+O,
// Ctrl+P, Ctrl+E and Ctrl+Q run their menu items.

#include <functional>

namespace merkwald {

class MainMenus;
class MainWindow;

void add_window_keys(MainWindow& window, std::function<void()> reread);
void add_menu_shortcuts(const MainMenus& menus);

}  // namespace merkwald
