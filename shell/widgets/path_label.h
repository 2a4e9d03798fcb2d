#pragma once
// A label that shows a file's path as it is on disk (letter case matters on
// this system), shortened in the middle with "…" to the label's width, with the
// whole path as its tooltip.

#include <QString>

class QLabel;

namespace merkwald {

// Lets the label shrink below the path's length (the window's width rules).
void prepare_path_label(QLabel& label);
// `path` as shown; `full_path` the tooltip.
void show_path(QLabel& label, const QString& path, const QString& full_path);

}  // namespace merkwald
