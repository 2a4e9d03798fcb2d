#pragma once
// Small pieces the calendar, options and menu windows share.

#include <QString>
#include <string>
#include <string_view>

#include "settings/qt_bridges.h"

class QDialog;
class QPushButton;
class QWidget;

namespace merkwald {

// Puts the window in the middle of the screen it is on (or the primary one).
void centre_on_screen(QWidget& window);

// Makes `default_button` the dialog's one default: Return presses it wherever
// the focus is, also after another button was pressed (Qt would otherwise make
// the last pressed button the default, so Return would open its dialog again).
void keep_default_button(QDialog& dialog, QPushButton& default_button);

// A filter written as description and pattern pairs, "Text Dateien (*.txt)|*.txt|...",
// as Qt's file dialogs take it. `preset` (1-based) names the pair the dialog should
// offer first: Qt's dialogs select the first filter of the list.
[[nodiscard]] QString qt_filter(std::string_view pairs, int preset = 1);

}  // namespace merkwald
