#pragma once
// What the export's save dialog asked for: the filter the user left selected
// picks the type, and a name without extension gets that type's.

#include <QString>

#include "shell/output/export.h"

namespace merkwald {

struct ExportTarget {
    QString file_name;
    ExportFormat format = ExportFormat::rich_text;
};

// `chosen_filter` as the dialog names it ("Text Dateien (*.txt)", "RTF-Files
// (*.rtf)", "All Files (*)"); with "All Files" the name's extension decides.
[[nodiscard]] ExportTarget export_target(const QString& chosen_name, const QString& chosen_filter);

}  // namespace merkwald
