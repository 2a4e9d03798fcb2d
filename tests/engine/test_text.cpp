#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "engine/text.h"

namespace merkwald {
namespace {

TEST(Text, OnlyBlanksAreTrimmedAndOnlyLatin1LettersLowered) {
    EXPECT_EQ(trim_blanks(" \ta\t "), "\ta\t");
    EXPECT_EQ(to_lower("DATE \u00c4\u00d6\u00dc\u00c0\u00de"),
              "date \u00e4\u00f6\u00fc\u00e0\u00fe");
    // The multiplication sign, sharp s, letters outside Latin-1 and a continuation
    // byte that only looks like an upper-case letter stay as they are.
    EXPECT_EQ(to_lower("\u00d7\u00df\u0100\u20ac\u0104"), "\u00d7\u00df\u0100\u20ac\u0104");
    EXPECT_TRUE(equals_ignore_case("M\u00c4RZ", "m\u00e4rz"));
    EXPECT_FALSE(equals_ignore_case("abc", "ab") || equals_ignore_case("\u00d7", "\u00f7"));
}

TEST(Text, SplitTagLine) {
    // The line, then "name=value" of a tag or "text"; the closing character may be
    // a multi-byte one, a broken sequence loses one byte.
    const std::pair<std::string, std::string> rows[] = {
        {"</record>", "/record="},
        {"<date=", "date="},
        {"<group=a=b>", "group=a=b"},
        {"<active=once> x", "active=once>"},
        {"<active=once)", "active=once"},
        {"<group=M\u00e4rz\u00e4", "group=M\u00e4rz"},
        {"  <Gr\u00dcPPE>  ", "gr\u00fcppe="},
        {"<a=b\xC3", "a=b"},
        {"<record\u00e4", "record="},
        {"<a", "="},
        {"<=>", "="},
        {"Hallo <name>", "text"},
        {"", "text"},
    };
    for (const auto& [text, expected] : rows) {
        std::string line = text;
        const SplitLine split = split_tag_line(line);
        EXPECT_EQ(split.kind == LineKind::text ? "text" : split.name + "=" + split.value, expected)
            << text;
        EXPECT_EQ(line, std::string(trim_blanks(text)));
    }
}

}  // namespace
}  // namespace merkwald
