// The list the window shows: the same text as merkwald-cli list for the same
// files, settings and day (the engine's golden cases, which the command-line
// tests print too; the light ones show its two-blank layout), and the look of its runs.

#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

#include "../support/golden_case.h"
#include "engine/date_text.h"
#include "gui_test_support.h"

namespace merkwald::test {
namespace {

class WindowGolden : public ::testing::TestWithParam<std::filesystem::path> {};

TEST_P(WindowGolden, ListAndMissedWindowMatchTheCommandLine) {
    const GoldenCase c = load_golden_case(GetParam());
    if (c.options.count("refreshes")) GTEST_SKIP() << "several refreshes in one run";
    GuiFixture f;
    for (const auto& [name, text] : c.files)
        write_file(f.folder + u'/' + QString::fromStdString(name),
                   QByteArray::fromStdString(c.file_bytes(text)));
    const Ymd d = ymd_of(parse_date(c.option("today", "05.03.1999")).value());
    f.clock.set(at(d.year, d.month, d.day, 9));
    f.set("DataFilename", c.files.at(0).first);
    f.set("Date", c.option("last_start", "01.01.80"));
    f.set("Groups", c.option("groups", "true"));
    f.set("SupressSpace", c.option("suppress_space", "false"));
    f.set("RecordColor", std::int32_t(std::stol(c.option("record_color", "0"))));
    f.set("MissedEvents", std::int32_t(1));
    const bool light = c.option("light", "false") == "true";
    auto form = f.started("no_logo", light ? ProgramKind::light : ProgramKind::full);
    if (c.options.count("lead_days")) {
        f.dialogs.messages.clear();
        form->show_data_with_lead_days(std::stoi(c.options.at("lead_days")));
    }

    if (c.expected.count("list") && !form->refresh_tables().read_ok) {
        // The command line prints nothing then; the window keeps the day's heading.
        EXPECT_EQ(c.expected.at("list"), "");
        const std::string plain = GuiFixture::plain(*form);
        EXPECT_EQ(plain.find('\n'), plain.size() - 2) << plain;
    } else if (c.expected.count("list")) {
        EXPECT_EQ(GuiFixture::plain(*form), c.expected.at("list"));
    }
    std::string messages;
    // The boxes add the unreadable file's path under the reader's text.
    const QString path_start = QStringLiteral("\n\n") + f.folder;
    for (const auto& m : f.dialogs.messages)
        messages += lf(m.text.section(path_start, 0, 0).toStdString()) + "\n";
    EXPECT_EQ(messages, c.section("messages"));
    std::string missed;
    for (const ShownWindow& w : f.shown) {
        if (w.kind == "DisplayMissed") missed = (w.caption + u'\n' + w.text).toStdString();
    }
    if (c.expected.count("missed")) {
        // The window indents every entry by its margin instead of the first by two blanks.
        std::string expected = c.expected.at("missed");
        if (const auto first = expected.find("\n  "); first != std::string::npos)
            expected.erase(first + 1, 2);
        EXPECT_EQ(missed, expected);
    }
}

INSTANTIATE_TEST_SUITE_P(EngineCases, WindowGolden, ::testing::ValuesIn(golden_cases()),
                         golden_test_name);

// The format of the fragment of the list whose text is `text`.
std::optional<QTextCharFormat> format_of(const QTextEdit& box, const std::string& text) {
    for (QTextBlock b = box.document()->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().text().toStdString() == text) return it.fragment().charFormat();
    }
    return std::nullopt;
}

TEST(WindowList, RunsCarryColoursHeadingsFontAndBackground) {
    GuiFixture f;
    f.write("main.rmd",
            "<record>\n<date=07.03.1970>\n<color=255>\n<active_before=7>\n<group=geburtstage>\n"
            "Anna\n</record>\n<record>\n<date=05.03.1999>\nHeute\n</record>\n");
    f.set("RecordColor", std::int32_t(0x804020));  // blue 0x80, green 0x40, red 0x20
    f.set("BackgroundColor", std::int32_t(0xE0F0FF));
    f.set("FontName", std::string("DejaVu Serif"));
    f.set("FontSize", std::int32_t(14));
    f.set("FontItalic", std::string("true"));
    auto form = f.started();

    // Headings in the record colour, bold and underlined; entries in their own colour.
    for (const char* text : {"Freitag, 5.3.1999", "Geburtstage:", "Anna"}) {
        const auto format = format_of(form->event_list(), text);
        ASSERT_TRUE(format) << text;
        const bool entry = std::string_view(text) == "Anna";
        EXPECT_EQ(format->foreground().color(),
                  entry ? QColor(255, 0, 0) : QColor(0x20, 0x40, 0x80));
        EXPECT_EQ(format->fontWeight(), int(entry ? QFont::Normal : QFont::Bold)) << text;
        EXPECT_EQ(format->fontUnderline(), !entry) << text;
    }
    const QTextCharFormat anna = *format_of(form->event_list(), "Anna");
    EXPECT_TRUE(anna.fontItalic());
    EXPECT_EQ(anna.fontFamilies().toStringList(), QStringList{"DejaVu Serif"});
    EXPECT_EQ(anna.fontPointSize(), 14.0);
    EXPECT_EQ(form->event_list().palette().color(QPalette::Base), QColor(0xFF, 0xF0, 0xE0));
    EXPECT_EQ(form->event_list().textCursor().position(), 0);
}

// The light layout: the underline starts at the heading's text, and the lines
// hang from their two blanks so that wrapped lines keep the entry's edge.
TEST(WindowList, LightListIndentsLikeItsBlanks) {
    GuiFixture f;
    f.write("main.rmd", "<record>\n<date=05.03.1999>\n" + std::string(40, 'x') + "\n</record>\n");
    auto form = f.started("", ProgramKind::light);
    EXPECT_EQ(GuiFixture::plain(*form).substr(0, 20), "  Freitag, 5.3.1999\n");
    const QTextBlock heading = form->event_list().document()->begin();
    const QTextFragment indent = heading.begin().fragment();
    EXPECT_EQ(indent.text(), QStringLiteral("  "));
    EXPECT_FALSE(indent.charFormat().fontUnderline());
    EXPECT_TRUE(format_of(form->event_list(), "Freitag, 5.3.1999")->fontUnderline());
    for (QTextBlock b = heading; b.isValid(); b = b.next()) {
        if (!b.text().startsWith(QStringLiteral("  "))) continue;
        EXPECT_GT(b.blockFormat().leftMargin(), 0) << b.text().toStdString();
        EXPECT_EQ(b.blockFormat().textIndent(), -b.blockFormat().leftMargin());
    }
}

TEST(WindowList, WithoutAFontNameTheBoxKeepsItsOwnFont) {
    GuiFixture f(kToday);
    f.set("FontSize", std::int32_t(30));
    auto form = f.started();
    const auto today = format_of(form->event_list(), "Heute");
    ASSERT_TRUE(today);
    EXPECT_FALSE(today->hasProperty(QTextFormat::FontFamilies));
    EXPECT_FALSE(today->hasProperty(QTextFormat::FontPointSize));
}

TEST(WindowList, SoundPlaysOncePerRefreshWithAnEventToday) {
    GuiFixture f(kToday);
    f.set("PlaySound", std::int32_t(1));
    auto form = f.started();
    ASSERT_EQ(f.sound.played.size(), 1u);
    EXPECT_EQ(f.sound.played[0], f.folder + "/standard.wav");
    form->settings().play_sound = false;
    form->show_data();
    form->settings().play_sound = true;
    f.clock.set(at(1999, 3, 6));
    form->day_timer().tick();  // the new day: nothing falls on it
    EXPECT_EQ(f.sound.played.size(), 1u);
}

}  // namespace
}  // namespace merkwald::test
