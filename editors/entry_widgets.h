#pragma once
// Small pieces shared by the quick-entry, import, converter and new-file
// dialogs: the lead-time and template lists, the colour swatch, the file
// filters and buttons that Enter does not press.

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

#include "editing/record_file.h"
#include "editing/templates.h"
#include "shell/platform/platform.h"

namespace merkwald {

// The entry chosen first comes first: that is the filter a Qt dialog opens with.
// The quick entry and the new file spell "Datein", the import and the converter "Dateien".
inline const QString kReminderFilesFilterEntry =
    QStringLiteral("Merkwald Dateien (*.rmd);;Alle Datein (*);;Text Dateien (*.txt)");
inline const QString kReminderFilesFilter =
    QStringLiteral("Merkwald Dateien (*.rmd);;Alle Dateien (*);;Text Dateien (*.txt)");
inline const QString kCsvFilesFirst =
    QStringLiteral("Kommabegrenzte Text Datei (*.csv);;Alle Dateien (*);;Text Dateien (*.txt)");

// A button that the Enter key leaves alone, so that Enter always means the
// dialog's default action.
QPushButton* plain_button(const QString& text, const char* object_name = nullptr);

// The editable lead-time list; only whole numbers the reader can hold are typed.
QComboBox* lead_time_combo(const QStringList& items, const std::string& preset);

// The template captions in file order, `position` selected.
QComboBox* template_combo(const std::vector<TextTemplate>& templates, int position);

// Runs a write that may turn a Windows-1252 file into UTF-8: first without,
// and when it would, again after the user said "Ja". "Nein" writes nothing
// (the outcome is then `needs_utf8` and has no text).
WriteOutcome write_asking_utf8(Dialogs& dialogs, QWidget* parent, const std::filesystem::path& file,
                               const std::function<WriteOutcome(Utf8Change)>& write);

// A framed swatch showing a colour number.
QLabel* color_swatch();
void show_color(QLabel* swatch, std::int32_t color);

}  // namespace merkwald
