// The list as an RTF document: braces that balance, the text's special
// characters escaped, every colour of the text in the colour table.

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTextDocument>
#include <QTextEdit>
#include <set>

#include "gui_test_support.h"
#include "shell/main/list_render.h"
#include "shell/output/export.h"

namespace merkwald::test {
namespace {

TEST(ExportRtf, IsWellFormedAndHoldsTheTextAndEveryColourAndAFailedWriteIsReported) {
    gui_application();
    QTextEdit box;
    render_list(box,
                {{"Freitag, 5.3.1999\r\n\r\n", 0, true, false, true},
                 {"Geburtstage:\r\n\r\n", 0x0000FF, true, true, true},
                 {"Jörg {Müller} hat heute Geburtstag \\ 30 €\r\n", 0x00FF00, false, false, false},
                 {"Termine:\r\n", 0xC0C0C0, false, true, false},
                 {"Zahnarzt\r\n", 0xFF0000, false, false, false}},
                ListLook{QStringLiteral("DejaVu Sans"), 11, Qt::white});
    const QByteArray rtf = rtf_document(*box.document());
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi")) << rtf.left(40).data();
    QByteArray bare = rtf;
    bare.replace("\\\\", "").replace("\\{", "").replace("\\}", "");
    EXPECT_EQ(bare.count('{'), bare.count('}'));
    for (const char* part : {"J\\'f6rg \\{M\\'fcller\\} hat heute Geburtstag \\\\ 30 \\u8364?",
                             "\\b", "\\i", "\\ul", "\\fs22"})
        EXPECT_TRUE(rtf.contains(part)) << part;
    // The table's first entry is "automatic"; no \cf points beyond its last.
    static const QRegularExpression entry(R"(\\red(\d+)\\green(\d+)\\blue(\d+);)");
    std::set<QRgb> table;
    for (const QRegularExpressionMatch& m : entry.globalMatch(QString::fromLatin1(rtf)))
        table.insert(qRgb(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()));
    for (const std::uint32_t colour : {0x000000u, 0x0000FFu, 0x00FF00u, 0xC0C0C0u, 0xFF0000u})
        EXPECT_TRUE(table.count(to_qcolor(colour).rgb())) << std::hex << colour;
    static const QRegularExpression cf(R"(\\cf(\d+))");
    for (const QRegularExpressionMatch& m : cf.globalMatch(QString::fromLatin1(rtf)))
        EXPECT_LE(m.captured(1).toInt(), int(table.size()));
    EXPECT_FALSE(rtf.contains("\\cbpat")) << "white needs no shading";
    EXPECT_TRUE(rtf_document(*box.document(), QColor(255, 255, 192)).contains("\\cbpat"));
    // The type a name asks for is checked through the export menu item.
    EXPECT_FALSE(export_list(*box.document(), Qt::white, QStringLiteral("/nirgends/liste.txt"),
                             ExportFormat::plain_text))
        << "a failed write is reported";
}

}  // namespace
}  // namespace merkwald::test
