// The list the window shows: the same text as merkwald-cli list for the same
// files, settings and day (the engine's golden cases, which the command-line
// tests print too), and the look of its runs.

#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <filesystem>
#include <fstream>
#include <map>

#include "engine/date_text.h"
#include "engine/text_file.h"
#include "gui_test_support.h"

namespace merkwald::test {
namespace {

namespace fs = std::filesystem;

struct Case {
    std::map<std::string, std::string> options;
    std::vector<std::pair<std::string, std::string>> files;
    std::map<std::string, std::string> expected;
};

// The golden format: "name: value" options, "=== file NAME" and "=== section" bodies.
Case load_case(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    Case c;
    std::string line;
    std::string* body = nullptr;
    while (std::getline(in, line)) {
        if (line.starts_with("=== file ")) {
            c.files.emplace_back(line.substr(9), "");
            body = &c.files.back().second;
        } else if (line.starts_with("=== ")) {
            body = &c.expected[line.substr(4)];
        } else if (body && line == "\\ No newline at end") {
            if (!body->empty()) body->pop_back();
        } else if (body) {
            *body += line + "\n";
        } else if (const auto colon = line.find(": "); colon != std::string::npos) {
            c.options[line.substr(0, colon)] = line.substr(colon + 2);
        }
    }
    return c;
}

std::string option(const Case& c, const std::string& name, const std::string& fallback) {
    const auto it = c.options.find(name);
    return it == c.options.end() ? fallback : it->second;
}

void write_case_file(const QString& path, const std::string& text, const Case& c) {
    const std::string end = option(c, "line_end", "crlf");
    const std::string line_end = end == "crlf" ? "\r\n" : end == "cr" ? "\r" : "\n";
    std::string converted;
    for (char ch : text) converted += ch == '\n' ? line_end : std::string(1, ch);
    if (option(c, "encoding", "utf8") == "cp1252") converted = *utf8_to_windows1252(converted);
    write_file(path, QByteArray::fromStdString(converted));
}

class WindowGolden : public ::testing::TestWithParam<fs::path> {};

TEST_P(WindowGolden, ListAndMissedWindowMatchTheCommandLine) {
    const Case c = load_case(GetParam());
    if (c.options.count("refreshes")) GTEST_SKIP() << "several refreshes in one run";
    GuiFixture f;
    for (const auto& [name, text] : c.files)
        write_case_file(f.folder + u'/' + QString::fromStdString(name), text, c);
    const auto today = parse_date(option(c, "today", "05.03.1999"));
    ASSERT_TRUE(today);
    const Ymd d = ymd_of(*today);
    f.clock.set(at(d.year, d.month, d.day, 9));
    f.set("DataFilename", c.files.at(0).first);
    f.set("Date", option(c, "last_start", "01.01.80"));
    f.set("Groups", option(c, "groups", "true"));
    f.set("SupressSpace", option(c, "suppress_space", "false"));
    f.set("RecordColor", std::int32_t(std::stol(option(c, "record_color", "0"))));
    f.set("MissedEvents", std::int32_t(1));
    const bool light = option(c, "light", "false") == "true";
    auto form = f.started("no_logo", light ? ProgramKind::light : ProgramKind::full);
    if (c.options.count("lead_days")) {
        f.dialogs.messages.clear();
        form->show_data_with_lead_days(std::stoi(c.options.at("lead_days")));
    }

    if (c.expected.count("list")) {
        EXPECT_EQ(GuiFixture::plain(*form), c.expected.at("list"));
    }
    std::string messages;
    for (const auto& m : f.dialogs.messages) messages += m.text.toStdString() + "\n";
    EXPECT_EQ(messages, c.expected.count("messages") ? c.expected.at("messages") : "");
    std::string missed;
    for (const ShownWindow& w : f.shown) {
        if (w.kind == "DisplayMissed") missed = (w.caption + u'\n' + w.text).toStdString();
    }
    if (c.expected.count("missed")) {
        EXPECT_EQ(missed, c.expected.at("missed"));
    }
}

std::vector<fs::path> golden_cases() {
    std::vector<fs::path> cases;
    const fs::path folder = fs::path(MERKWALD_SOURCE_DIR) / "tests/engine/data/golden";
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".case") cases.push_back(entry.path());
    std::sort(cases.begin(), cases.end());
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EngineCases, WindowGolden, ::testing::ValuesIn(golden_cases()),
                         [](const auto& info) {
                             std::string name = info.param.stem().string();
                             for (char& ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             return name;
                         });

struct Fragment {
    std::string text;
    QTextCharFormat format;
};

std::vector<Fragment> fragments(const QTextEdit& box) {
    std::vector<Fragment> out;
    for (QTextBlock b = box.document()->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            out.push_back({it.fragment().text().toStdString(), it.fragment().charFormat()});
        }
    }
    return out;
}

const Fragment* find(const std::vector<Fragment>& all, const std::string& text) {
    for (const Fragment& fr : all)
        if (fr.text == text) return &fr;
    return nullptr;
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
    const auto all = fragments(form->rtbox1());

    // Headings in the record colour, bold and underlined; entries in their own colour.
    for (const char* text : {"Freitag, 5.3.1999", "Geburtstage:", "Anna"}) {
        const Fragment* fr = find(all, text);
        ASSERT_NE(fr, nullptr) << text;
        const bool entry = std::string_view(text) == "Anna";
        EXPECT_EQ(fr->format.foreground().color(),
                  entry ? QColor(255, 0, 0) : QColor(0x20, 0x40, 0x80));
        EXPECT_EQ(fr->format.fontWeight(), int(entry ? QFont::Normal : QFont::Bold)) << text;
        EXPECT_EQ(fr->format.fontUnderline(), !entry) << text;
    }
    const QTextCharFormat anna = find(all, "Anna")->format;
    EXPECT_TRUE(anna.fontItalic());
    EXPECT_EQ(anna.fontFamilies().toStringList(), QStringList{"DejaVu Serif"});
    EXPECT_EQ(anna.fontPointSize(), 14.0);
    EXPECT_EQ(form->rtbox1().palette().color(QPalette::Base), QColor(0xFF, 0xF0, 0xE0));
    EXPECT_EQ(form->rtbox1().textCursor().position(), 0);
}

TEST(WindowList, WithoutAFontNameTheBoxKeepsItsOwnFont) {
    GuiFixture f;
    f.write("main.rmd", "<record>\n<date=05.03.1999>\nHeute\n</record>\n");
    f.set("FontSize", std::int32_t(30));
    auto form = f.started();
    const Fragment* today = find(fragments(form->rtbox1()), "Heute");
    ASSERT_NE(today, nullptr);
    EXPECT_FALSE(today->format.hasProperty(QTextFormat::FontFamilies));
    EXPECT_FALSE(today->format.hasProperty(QTextFormat::FontPointSize));
}

TEST(WindowList, LightListHasTheTwoBlankLayout) {
    GuiFixture f;
    f.write("main.rmd",
            "<record>\n<date=06.03.1980>\n<active_before=3>\n<group=geburtstage>\nBernd\nzweite Zeile\n"
            "</record>\n");
    auto form = f.started("", ProgramKind::light);
    EXPECT_EQ(GuiFixture::plain(*form),
              "  Freitag, 5.3.1999\n  \n  Geburtstage:\n\n  Bernd\n  zweite Zeile\n  \n  ");
    EXPECT_EQ(form->windowTitle(), "Merkwald light - Version 1.5.12");
}

TEST(WindowList, AFailedReadKeepsTheListAndReportsTheFile) {
    GuiFixture f;
    f.write("main.rmd", "<record>\n<date=05.03.1999>\nHeute\n</record>\n");
    auto form = f.started();
    const std::string before = GuiFixture::plain(*form);
    QFile::remove(f.folder + "/main.rmd");
    form->show_data();
    EXPECT_EQ(GuiFixture::plain(*form), before);
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    EXPECT_EQ(f.dialogs.messages[0].icon, MessageIcon::critical);
}

TEST(WindowList, SoundPlaysOncePerRefreshWithAnEventToday) {
    GuiFixture f;
    f.write("main.rmd", "<record>\n<date=05.03.1999>\nHeute\n</record>\n");
    f.set("PlaySound", std::int32_t(1));
    auto form = f.started();
    ASSERT_EQ(f.sound.played.size(), 1u);
    EXPECT_EQ(f.sound.played[0], f.folder + "/standard.wav");
    form->settings().play_sound = false;
    form->show_data();
    form->settings().play_sound = true;
    f.clock.set(at(1999, 3, 6));
    form->timer1().tick();  // the new day: nothing falls on it
    EXPECT_EQ(f.sound.played.size(), 1u);
}

}  // namespace
}  // namespace merkwald::test
