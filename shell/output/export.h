#pragma once
// The list `RTBox1` as a file: rich text (RTF 1.x with its fonts, colours, bold,
// italic and underline) or plain text.

#include <QByteArray>
#include <QColor>
#include <QString>

class QTextDocument;

namespace merkwald {

// A complete RTF document of `document`: font table, a colour table holding every
// colour of the text, one paragraph per block. A `background` other than white
// shades the paragraphs with it.
[[nodiscard]] QByteArray rtf_document(const QTextDocument& document,
                                      const QColor& background = Qt::white);

enum class ExportFormat { rich_text, plain_text };

// True when the name ends in "." and `extension` ("rtf"), in any letter case.
[[nodiscard]] bool has_extension(const QString& file_name, QStringView extension);
// ".rtf" (in any letter case) is rich text, every other name plain text.
[[nodiscard]] ExportFormat export_format(const QString& file_name);
// A name without any extension gets `extension`; ".rtf" is the list dialog's default.
[[nodiscard]] QString with_default_extension(
    const QString& file_name, QLatin1StringView extension = QLatin1StringView(".rtf"));

// Writes the file, creating or overwriting it; plain text ends with one line
// break. False when the file cannot be written.
bool export_list(const QTextDocument& document, const QColor& background, const QString& file_name,
                 ExportFormat format);
// The message when an export's file could not be written.
[[nodiscard]] QString not_written_text(const QString& file_name);

}  // namespace merkwald
