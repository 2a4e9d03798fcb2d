// The list as an RTF document and as plain text.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextEdit>
#include <set>

#include "gui_test_support.h"
#include "shell/export.h"
#include "shell/list_render.h"

namespace merkwald::test {
namespace {

// Just enough of an RTF reader to check what the writer promises: balanced
// groups, the colour table, the text with its colour numbers.
struct ReadRtf {
    bool balanced = true;
    std::vector<QRgb> colours;  // index 0 is the table's "automatic" entry
    QString text;
    std::set<int> used_colours;  // \cf numbers
    bool bold = false, italic = false, underline = false;
};

ReadRtf read_rtf(const QByteArray& rtf) {
    ReadRtf r;
    int depth = 0;
    int skip_depth = -1;  // inside \fonttbl or \colortbl
    bool in_colours = false;
    int red = 0, green = 0, blue = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (--depth < 0) r.balanced = false;
            if (depth < skip_depth) skip_depth = -1, in_colours = false;
        } else if (c == '\\') {
            const char next = i + 1 < rtf.size() ? rtf[i + 1] : '\0';
            if (next == '\\' || next == '{' || next == '}') {
                if (skip_depth < 0) r.text += QLatin1Char(next);
                ++i;
                continue;
            }
            if (next == '\'') {
                if (skip_depth < 0) r.text += QChar(rtf.mid(i + 2, 2).toInt(nullptr, 16));
                i += 3;
                continue;
            }
            qsizetype j = i + 1;
            while (j < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[j]))) ++j;
            const QByteArray word = rtf.mid(i + 1, j - i - 1);
            qsizetype k = j;
            if (k < rtf.size() && rtf[k] == '-') ++k;
            while (k < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[k]))) ++k;
            const int number = rtf.mid(j, k - j).toInt();
            if (k < rtf.size() && rtf[k] == ' ') ++k;
            i = k - 1;
            if (word == "fonttbl") skip_depth = depth;
            if (word == "colortbl") skip_depth = depth, in_colours = true;
            if (in_colours && word == "red") red = number;
            if (in_colours && word == "green") green = number;
            if (in_colours && word == "blue") blue = number;
            if (skip_depth >= 0) continue;
            if (word == "par" || word == "line") r.text += u'\n';
            if (word == "u") r.text += QChar(char16_t(number)), ++i;  // and its '?'

            if (word == "cf") r.used_colours.insert(number);
            r.bold |= word == "b";
            r.italic |= word == "i";
            r.underline |= word == "ul";
        } else if (in_colours && c == ';') {
            r.colours.push_back(qRgb(red, green, blue));
            red = green = blue = 0;
        } else if (skip_depth < 0 && c != '\n' && c != '\r' && depth > 0) {
            r.text += QLatin1Char(c);
        }
    }
    if (depth != 0) r.balanced = false;
    return r;
}

std::vector<TextRun> sample_runs() {
    return {{"Freitag, 5.3.1999\r\n\r\n", 0, true, false, true},
            {"Geburtstage:\r\n\r\n", 0x0000FF, true, true, true},
            {"Jörg {Müller} hat heute Geburtstag \\ 30 €\r\n", 0x00FF00, false, false, false},
            {"Termine:\r\n", 0xC0C0C0, false, true, false},
            {"Zahnarzt\r\n", 0xFF0000, false, false, false}};
}

TEST(ExportRtf, IsWellFormedAndHoldsTheTextAndEveryColour) {
    gui_application();
    QTextEdit box;
    render_list(box, sample_runs(), ListLook{QStringLiteral("DejaVu Sans"), 11, Qt::white});
    const QByteArray rtf = rtf_document(*box.document());
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi")) << rtf.left(40).data();
    const ReadRtf read = read_rtf(rtf);
    EXPECT_TRUE(read.balanced);
    EXPECT_EQ(read.text, box.toPlainText());
    std::set<QRgb> table(read.colours.begin() + 1, read.colours.end());
    for (const std::uint32_t colour : {0x000000u, 0x0000FFu, 0x00FF00u, 0xC0C0C0u, 0xFF0000u})
        EXPECT_TRUE(table.count(to_qcolor(colour).rgb())) << std::hex << colour;
    for (const int used : read.used_colours) {
        EXPECT_GE(used, 1);
        EXPECT_LT(used, int(read.colours.size()));
    }
    EXPECT_TRUE(read.bold && read.italic && read.underline);
    EXPECT_TRUE(rtf.contains("DejaVu Sans;")) << "font table";
    EXPECT_TRUE(rtf.contains("\\fs22")) << "11 points";
    EXPECT_FALSE(rtf.contains("\\cbpat")) << "white needs no shading";
    EXPECT_TRUE(rtf_document(*box.document(), QColor(255, 255, 192)).contains("\\cbpat"));
}

TEST(ExportFiles, FormatByNameAndPlainTextWithOneLineBreak) {
    gui_application();
    QTextEdit box;
    render_list(box, sample_runs(), ListLook{});
    QTemporaryDir dir;
    for (const char* name : {"liste.rtf", "liste.RTF"})
        EXPECT_EQ(export_format(QString::fromLatin1(name)), ExportFormat::rich_text) << name;
    for (const char* name : {"liste.txt", "liste.text"})
        EXPECT_EQ(export_format(QString::fromLatin1(name)), ExportFormat::plain_text) << name;
    EXPECT_EQ(with_default_extension(QStringLiteral("/a/liste")), QStringLiteral("/a/liste.rtf"));
    EXPECT_EQ(with_default_extension(QStringLiteral("/a/liste.txt")), QStringLiteral("/a/liste.txt"));

    const QString text = dir.filePath("liste.txt");
    ASSERT_TRUE(export_list(*box.document(), Qt::white, text, ExportFormat::plain_text));
    EXPECT_EQ(QString::fromUtf8(file_bytes(text)), box.toPlainText() + u'\n');
    const QString rich = dir.filePath("liste.rtf");
    ASSERT_TRUE(export_list(*box.document(), Qt::white, rich, ExportFormat::rich_text));
    EXPECT_EQ(file_bytes(rich), rtf_document(*box.document()));
    EXPECT_FALSE(export_list(*box.document(), Qt::white, dir.filePath("fehlt/liste.txt"),
                             ExportFormat::plain_text));
}

}  // namespace
}  // namespace merkwald::test
