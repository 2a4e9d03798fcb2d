// The list as an RTF document and as plain text.

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTextDocument>
#include <QTextEdit>
#include <map>
#include <set>

#include "gui_test_support.h"
#include "shell/main/list_render.h"
#include "shell/output/export.h"

namespace merkwald::test {
namespace {

// Just enough of an RTF reader to check what the writer promises: balanced
// groups, the colour table, the text with its colour numbers and styles.
struct ReadRtf {
    bool balanced = true;
    std::vector<QRgb> colours;  // index 0 is the table's "automatic" entry
    QString text;
    int highest_colour = 0;   // of the \cf numbers
    std::set<QString> words;  // the control words outside the tables
};

ReadRtf read_rtf(const QByteArray& rtf) {
    // A control word with its number, a hex character, an escaped character, a
    // brace, plain text, a line end of the file.
    static const QRegularExpression token(
        R"(\\([a-z]+)(-?\d+)? ?|\\'([0-9a-f]{2})|\\([\\{}])|([{}])|([^\\{}\r\n]+)|[\r\n])");
    ReadRtf r;
    int depth = 0, table_depth = -1;  // inside \fonttbl or \colortbl
    bool in_colours = false, skip_one = false;
    std::map<QString, int> rgb;
    for (const QRegularExpressionMatch& m : token.globalMatch(QString::fromLatin1(rtf))) {
        const QString word = m.captured(1), brace = m.captured(5);
        const int number = m.captured(2).toInt();
        QString text = m.captured(6) + m.captured(4);
        if (!m.captured(3).isEmpty()) text = QChar(m.captured(3).toInt(nullptr, 16));
        if (brace == u'{') ++depth;
        if (brace == u'}' && --depth < 0) r.balanced = false;
        if (brace == u'}' && depth < table_depth) table_depth = -1, in_colours = false;
        if (word == u"fonttbl" || word == u"colortbl") table_depth = depth;
        in_colours |= word == u"colortbl";
        if (in_colours) {
            rgb[word] = number;
            for (int n = int(text.count(u';')); n > 0; --n, rgb.clear())
                r.colours.push_back(qRgb(rgb["red"], rgb["green"], rgb["blue"]));
        } else if (table_depth < 0) {
            if (skip_one && !text.isEmpty()) text.remove(0, 1), skip_one = false;
            r.text += text;
            if (word == u"par" || word == u"line") r.text += u'\n';
            if (word == u"u") r.text += QChar(char16_t(number)), skip_one = true;  // and its '?'
            if (word == u"cf") r.highest_colour = std::max(r.highest_colour, number);
            if (!word.isEmpty()) r.words.insert(word);
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

TEST(ExportRtf, IsWellFormedAndHoldsTheTextAndEveryColourAndAFailedWriteIsReported) {
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
    EXPECT_LT(read.highest_colour, int(read.colours.size()));
    for (const char* word : {"b", "i", "ul"}) EXPECT_TRUE(read.words.count(word)) << word;
    EXPECT_TRUE(rtf.contains("\\fs22")) << "11 points";
    EXPECT_FALSE(rtf.contains("\\cbpat")) << "white needs no shading";
    EXPECT_TRUE(rtf_document(*box.document(), QColor(255, 255, 192)).contains("\\cbpat"));
    // The type a name asks for is checked through the export menu item.
    EXPECT_FALSE(export_list(*box.document(), Qt::white, QStringLiteral("/nirgends/liste.txt"),
                             ExportFormat::plain_text))
        << "a failed write is reported";
}

}  // namespace
}  // namespace merkwald::test
