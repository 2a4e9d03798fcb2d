#include "shell/main/list_render.h"

#include <QFontMetricsF>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "settings/qt_bridges.h"
#include "shell/platform/platform.h"

namespace merkwald {

ListLook list_look(const Settings& settings) {
    ListLook look;
    look.font_name = to_qstring(settings.font_name);
    look.font_size = settings.font_size;
    look.background = to_qcolor(std::uint32_t(settings.background_color));
    return look;
}

QString to_qt_text(std::string_view text) {
    QString s = to_qstring(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(u'\r', u'\n');
    return s;
}

QString entry_headline(const LineEntry& line, qsizetype length) {
    QString first = to_qt_text(line.text).trimmed().section(u'\n', 0, 0).trimmed();
    if (first.size() > length) first = first.left(length - 1).trimmed() + u'…';
    return first;
}

QString more_entries_text(qsizetype total, qsizetype shown) {
    if (total <= shown) return {};
    return QStringLiteral("\n… und %1 weitere").arg(total - shown);
}

QColor text_colour_on(const QColor& background) {
    return qGray(background.rgb()) < 128 ? QColor(Qt::white) : QColor(Qt::black);
}

void set_background(QWidget& widget, const QColor& color) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Base, color);
    palette.setColor(QPalette::Window, color);
    const QColor text = text_colour_on(color);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::WindowText, text);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

void render_list(QTextEdit& box, const std::vector<TextRun>& runs, const ListLook& look) {
    set_background(box, look.background);
    QTextDocument* document = box.document();
    document->setUndoRedoEnabled(false);
    document->clear();
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    for (const TextRun& run : runs) {
        QTextCharFormat format;
        format.setForeground(to_qcolor(run.color));
        format.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
        format.setFontItalic(run.italic);
        format.setFontUnderline(run.underline);
        if (!look.font_name.isEmpty()) {
            format.setFontFamilies({look.font_name});
            if (look.font_size && *look.font_size > 0) format.setFontPointSize(*look.font_size);
        }
        cursor.insertText(to_qt_text(run.text), format);
    }
    if (look.hanging_blanks > 0) {
        QFont font = box.font();
        if (!look.font_name.isEmpty()) font.setFamily(look.font_name);
        if (look.font_size && *look.font_size > 0) font.setPointSizeF(*look.font_size);
        const qreal indent =
            QFontMetricsF(font).horizontalAdvance(QString(look.hanging_blanks, u' '));
        QTextBlockFormat hanging;
        hanging.setLeftMargin(indent);
        hanging.setTextIndent(-indent);
        cursor.select(QTextCursor::Document);
        cursor.mergeBlockFormat(hanging);
    }
    cursor.endEditBlock();
    box.moveCursor(QTextCursor::Start);
    box.ensureCursorVisible();
}

}  // namespace merkwald
