#pragma once
// Drawing the engine's styled runs into the list `RTBox1`.

#include <QColor>
#include <QString>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/list_view.h"
#include "settings/settings.h"

class QTextEdit;
class QWidget;

namespace merkwald {

struct ListLook {
    QString font_name;                // empty: the box keeps its own font
    std::optional<double> font_size;  // points; ignored unless positive
    QColor background = Qt::white;
    // Blanks that start the lines (the light layout): wrapped lines are indented
    // by as much, so an entry's text keeps its edge.
    int hanging_blanks = 0;
};

// The settings' font and background.
[[nodiscard]] ListLook list_look(const Settings& settings);

// The box's text becomes exactly the runs' text (line breaks as paragraphs), each
// run with its colour, weight, slant and underline; the caret goes to the top.
void render_list(QTextEdit& box, const std::vector<TextRun>& runs, const ListLook& look);

// The background of the list; `RTBox1` and the side panel share it. The text
// colour goes with it: the desktop's own text colour suits the desktop's
// background, not ours (light grey on white under a dark theme).
void set_background(QWidget& widget, const QColor& color);

// Black on a light background, white on a dark one.
[[nodiscard]] QColor text_colour_on(const QColor& background);

// UTF-8 text with CRLF, CR or LF line ends as Qt text with LF.
[[nodiscard]] QString to_qt_text(std::string_view text);

// The short views of the list (tooltip, digest): an entry's first line, cut to
// `length` characters with "…"; empty for an entry without text.
[[nodiscard]] QString entry_headline(const LineEntry& line, qsizetype length);
// "\n… und N weitere" for the entries beyond the `shown` first; empty without.
[[nodiscard]] QString more_entries_text(qsizetype total, qsizetype shown);

}  // namespace merkwald
