#include "shell/output/export.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <algorithm>
#include <vector>

namespace merkwald {

namespace {

// The fonts and colours of the document, in first-use order; index 0 of the
// colour table is RTF's "automatic", so colour i is written as \cf(i + 1).
struct Tables {
    std::vector<QString> fonts;
    std::vector<QRgb> colours;

    int font(const QString& family) { return index_of(fonts, family); }
    int colour(const QColor& c) { return index_of(colours, c.rgb() | 0xFF000000u) + 1; }

    template <typename T>
    static int index_of(std::vector<T>& list, const T& value) {
        const auto found = std::find(list.begin(), list.end(), value);
        if (found != list.end()) return int(found - list.begin());
        list.push_back(value);
        return int(list.size()) - 1;
    }
};

// Text in RTF: the control characters escaped, Latin-1 as hex escapes, anything
// beyond as \u with a question mark for readers that do not know it.
void append_text(QByteArray& out, const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\' || u == u'{' || u == u'}') {
            out += '\\';
            out += char(u);
        } else if (u == u'\t') {
            out += "\\tab ";
        } else if (u == QChar::LineSeparator || u == u'\n') {
            out += "\\line ";
        } else if (u >= 0x20 && u < 0x80) {
            out += char(u);
        } else if (u >= 0xA0 && u <= 0xFF) {
            out += "\\'" + QByteArray::number(int(u), 16).rightJustified(2, '0');
        } else if (u >= 0x80) {
            out += "\\u" + QByteArray::number(int(std::int16_t(u))) + '?';
        }
    }
}

QString family_of(const QTextCharFormat& format, const QFont& fallback) {
    const QStringList families = format.fontFamilies().toStringList();
    return families.isEmpty() ? fallback.family() : families.front();
}

double points_of(const QTextCharFormat& format, const QFont& fallback) {
    const double size = format.fontPointSize();
    if (size > 0) return size;
    return fallback.pointSizeF() > 0 ? fallback.pointSizeF() : 10.0;
}

QByteArray fragment_rtf(const QTextFragment& fragment, const QFont& base, Tables& tables) {
    const QTextCharFormat f = fragment.charFormat();
    const QColor colour =
        f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color() : QColor(Qt::black);
    QByteArray out = "{\\f" + QByteArray::number(tables.font(family_of(f, base))) + "\\fs" +
                     QByteArray::number(int(points_of(f, base) * 2 + 0.5)) + "\\cf" +
                     QByteArray::number(tables.colour(colour));
    if (f.fontWeight() >= QFont::Bold) out += "\\b";
    if (f.fontItalic()) out += "\\i";
    if (f.fontUnderline()) out += "\\ul";
    out += ' ';
    append_text(out, fragment.text());
    out += '}';
    return out;
}

QByteArray body_rtf(const QTextDocument& document, Tables& tables, int shading) {
    QByteArray body;
    const QFont base = document.defaultFont();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        body += "\\pard\\plain";
        if (shading > 0) body += "\\cbpat" + QByteArray::number(shading);
        body += ' ';
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().isValid()) body += fragment_rtf(it.fragment(), base, tables);
        }
        if (block.next().isValid()) body += "\\par\n";
    }
    return body;
}

}  // namespace

QByteArray rtf_document(const QTextDocument& document, const QColor& background) {
    Tables tables;
    tables.font(document.defaultFont().family());
    const bool shaded = background.isValid() && background.rgb() != QColor(Qt::white).rgb();
    const int shading = shaded ? tables.colour(background) : 0;
    const QByteArray body = body_rtf(document, tables, shading);

    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl";
    for (std::size_t i = 0; i < tables.fonts.size(); ++i) {
        out += "{\\f" + QByteArray::number(qsizetype(i)) + "\\fnil\\fcharset0 ";
        append_text(out, tables.fonts[i]);
        out += ";}";
    }
    out += "}\n{\\colortbl;";
    for (const QRgb c : tables.colours) {
        out += "\\red" + QByteArray::number(qRed(c)) + "\\green" + QByteArray::number(qGreen(c)) +
               "\\blue" + QByteArray::number(qBlue(c)) + ';';
    }
    out += "}\n\\viewkind4\n";
    out += body;
    out += "\n}\n";
    return out;
}

bool has_extension(const QString& file_name, QStringView extension) {
    return QFileInfo(file_name).suffix().compare(extension, Qt::CaseInsensitive) == 0;
}

ExportFormat export_format(const QString& file_name) {
    return has_extension(file_name, u"rtf") ? ExportFormat::rich_text : ExportFormat::plain_text;
}

QString with_default_extension(const QString& file_name, QLatin1StringView extension) {
    if (file_name.isEmpty() || !QFileInfo(file_name).suffix().isEmpty()) return file_name;
    return file_name + extension;
}

bool export_list(const QTextDocument& document, const QColor& background, const QString& file_name,
                 ExportFormat format) {
    QSaveFile file(file_name);
    const QIODevice::OpenMode mode = format == ExportFormat::plain_text
                                         ? QIODevice::WriteOnly | QIODevice::Text
                                         : QIODevice::WriteOnly;
    if (!file.open(mode)) return false;
    if (format == ExportFormat::rich_text) {
        file.write(rtf_document(document, background));
    } else {
        file.write((document.toPlainText() + u'\n').toUtf8());
    }
    return file.commit();
}

QString not_written_text(const QString& file_name) {
    return QStringLiteral("Die Datei %1 konnte nicht geschrieben werden.")
        .arg(QDir::toNativeSeparators(file_name));
}

}  // namespace merkwald
