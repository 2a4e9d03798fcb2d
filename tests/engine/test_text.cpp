#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "engine/text.h"

namespace merkwald {
namespace {

TEST(Text, TrimRemovesBlanksOnly) {
    EXPECT_EQ(trim_blanks("  a b  "), "a b");
    EXPECT_EQ(trim_blanks("   "), "");
    EXPECT_EQ(trim_blanks(""), "");
    EXPECT_EQ(trim_blanks("\ta\t"), "\ta\t");
    std::string s = "  x  ";
    trim_blanks_in_place(s);
    EXPECT_EQ(s, "x");
    s = "    ";
    trim_blanks_in_place(s);
    EXPECT_EQ(s, "");
}

TEST(Text, LowerCasesAsciiAndLatin1Letters) {
    EXPECT_EQ(to_lower("DATE Active_Before"), "date active_before");
    EXPECT_EQ(to_lower("\u00c4\u00d6\u00dc\u00c0\u00de"), "\u00e4\u00f6\u00fc\u00e0\u00fe");
    // The multiplication sign, sharp s and letters outside Latin-1 stay as they are.
    EXPECT_EQ(to_lower("\u00d7\u00df\u0100\u20ac"), "\u00d7\u00df\u0100\u20ac");
    // A continuation byte that only looks like an upper-case letter after another lead byte.
    EXPECT_EQ(to_lower("\u0104"), "\u0104");
}

TEST(Text, EqualsIgnoreCase) {
    EXPECT_TRUE(equals_ignore_case("Geburtstage", "GEBURTSTAGE"));
    EXPECT_TRUE(equals_ignore_case("M\u00c4RZ", "m\u00e4rz"));
    EXPECT_FALSE(equals_ignore_case("abc", "abd"));
    EXPECT_FALSE(equals_ignore_case("abc", "ab"));
    EXPECT_FALSE(equals_ignore_case("\u00d7", "\u00f7"));
}

TEST(Text, TabsBecomeOneBlankEach) {
    std::string s = "\ta\t\tb";
    tabs_to_spaces(s);
    EXPECT_EQ(s, " a  b");
}

TEST(Text, DropLastCharTakesOneCodePoint) {
    EXPECT_EQ(drop_last_char("ab>"), "ab");
    EXPECT_EQ(drop_last_char("a\u00e4"), "a");
    EXPECT_EQ(drop_last_char("a\u20ac"), "a");
    EXPECT_EQ(drop_last_char("a\U0001F600"), "a");
    EXPECT_EQ(drop_last_char(""), "");
    // Broken sequences lose a single byte.
    EXPECT_EQ(drop_last_char("a\x80"), "a");
    EXPECT_EQ(drop_last_char("\xC3"), "");
}

struct SplitRow {
    std::string line;
    LineKind kind;
    std::string name;
    std::string value;
};

TEST(Text, SplitTagLine) {
    const SplitRow rows[] = {
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
    for (const SplitRow& row : rows) {
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
