#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "engine/text.h"

namespace merkwald {
namespace {

TEST(Text, TrimBlanksTabsAndCase) {
    for (const auto& [text, trimmed] : {std::pair<std::string, std::string>{"  a b  ", "a b"},
                                        {"   ", ""},
                                        {"", ""},
                                        {"\ta\t", "\ta\t"}}) {
        EXPECT_EQ(trim_blanks(text), trimmed);
        std::string s = text;
        trim_blanks_in_place(s);
        EXPECT_EQ(s, trimmed);
    }
    std::string s = "\ta\t\tb";
    tabs_to_spaces(s);
    EXPECT_EQ(s, " a  b");
    EXPECT_EQ(to_lower("DATE Active_Before"), "date active_before");
    EXPECT_EQ(to_lower("\u00c4\u00d6\u00dc\u00c0\u00de"), "\u00e4\u00f6\u00fc\u00e0\u00fe");
    // The multiplication sign, sharp s and letters outside Latin-1 stay as they are.
    EXPECT_EQ(to_lower("\u00d7\u00df\u0100\u20ac"), "\u00d7\u00df\u0100\u20ac");
    // A continuation byte that only looks like an upper-case letter after another lead byte.
    EXPECT_EQ(to_lower("\u0104"), "\u0104");
    EXPECT_TRUE(equals_ignore_case("Geburtstage", "GEBURTSTAGE"));
    EXPECT_TRUE(equals_ignore_case("M\u00c4RZ", "m\u00e4rz"));
    EXPECT_FALSE(equals_ignore_case("abc", "abd"));
    EXPECT_FALSE(equals_ignore_case("abc", "ab"));
    EXPECT_FALSE(equals_ignore_case("\u00d7", "\u00f7"));
}

TEST(Text, DropLastCharTakesOneCodePoint) {
    // Broken sequences ("a\x80", "\xC3") lose a single byte.
    for (const char* text : {"ab", "a\u00e4", "a\u20ac", "a\U0001F600", "a\x80", "a\xC3"})
        EXPECT_EQ(drop_last_char(text), std::string(text).substr(0, 1)) << text;
    EXPECT_EQ(drop_last_char(""), "");
}

TEST(Text, SplitTagLine) {
    const struct {
        std::string line;
        LineKind kind;
        std::string name, value;
    } rows[] = {
        {"<record>", LineKind::tag, "record", ""},
        {"</record>", LineKind::tag, "/record", ""},
        {"  < DATE =  05.03.1999  >  ", LineKind::tag, "date", "05.03.1999"},
        {"<date=>", LineKind::tag, "date", ""},
        {"<date=", LineKind::tag, "date", ""},
        {"<group=a=b>", LineKind::tag, "group", "a=b"},
        {"<active=once> x", LineKind::tag, "active", "once>"},
        {"<active=once)", LineKind::tag, "active", "once"},
        {"<group=M\u00e4rz\u00e4", LineKind::tag, "group", "M\u00e4rz"},
        {"<Gr\u00dcPPE>", LineKind::tag, "gr\u00fcppe", ""},
        {"<record\u00e4", LineKind::tag, "record", ""},
        {"<", LineKind::tag, "", ""},
        {"<a", LineKind::tag, "", ""},
        {"<>", LineKind::tag, "", ""},
        {"<=>", LineKind::tag, "", ""},
        {"Hallo <name>", LineKind::text, "", ""},
        {"   ", LineKind::text, "", ""},
        {"", LineKind::text, "", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        std::string line = row.line;
        const SplitLine split = split_tag_line(line);
        EXPECT_EQ(split.kind, row.kind);
        EXPECT_EQ(split.name, row.name);
        EXPECT_EQ(split.value, row.value);
        EXPECT_EQ(line, std::string(trim_blanks(row.line)));
    }
}

TEST(Text, SplitPreparedLineKeepsCaseAndPointsIntoLine) {
    const std::string line = "< Date = 1.1.2000 >";
    const SplitView v = split_prepared_line(line);
    EXPECT_EQ(v.kind, LineKind::tag);
    EXPECT_EQ(v.name, "Date");
    EXPECT_EQ(v.value, "1.1.2000");
    EXPECT_GE(v.value.data(), line.data());
    EXPECT_LE(v.value.data() + v.value.size(), line.data() + line.size());
}

}  // namespace
}  // namespace merkwald
