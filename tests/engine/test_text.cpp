// Text, number, date and file-text helpers the reader, the editors and the settings share.

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/date_text.h"
#include "engine/line_source.h"
#include "engine/number.h"
#include "engine/text.h"
#include "engine/text_file.h"
#include "engine_test_support.h"

namespace merkwald {
namespace {

TEST(Text, OnlyBlanksAreTrimmedAndOnlyLatin1LettersLowered) {
    EXPECT_EQ(trim_blanks(" \ta\t "), "\ta\t");
    // Latin-1 letters are lowered (the tag line rows show it); the multiplication
    // sign, sharp s, letters outside Latin-1 and a continuation byte that only looks
    // like an upper-case letter stay as they are.
    EXPECT_EQ(to_lower("\u00d7\u00df\u0100\u20ac\u0104"), "\u00d7\u00df\u0100\u20ac\u0104");
    EXPECT_FALSE(equals_ignore_case("abc", "ab") || equals_ignore_case("\u00d7", "\u00f7"));
}

TEST(Text, SplitTagLine) {
    // The line, then "name=value" of a tag or "text"; the closing character may be
    // a multi-byte one, a broken sequence loses one byte.
    const std::pair<std::string, std::string> rows[] = {
        {"</record>", "/record="},
        {"<group=a=b>", "group=a=b"},
        {"<active=once> x", "active=once>"},
        {"<group=M\u00e4rz\u00e4", "group=M\u00e4rz"},
        {"  <Gr\u00dcPPE>  ", "gr\u00fcppe="},
        {"<a=b\xC3", "a=b"},
        {"<record\u00e4", "record="},
        {"Hallo <name>", "text"},
        {"", "text"}};
    for (const auto& [text, expected] : rows) {
        std::string line = text;
        const SplitLine split = split_tag_line(line);
        EXPECT_EQ(split.kind == LineKind::text ? "text" : split.name + "=" + split.value, expected)
            << text;
        EXPECT_EQ(line, std::string(trim_blanks(text))) << text;
    }
}

// The leading number of a value, then rounded half to even into 16 or 32 bits,
// or nothing where it does not fit.
TEST(Number, LeadingValueRoundedIntoItsWidth) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::pair<const char*, double> values[] = {{".5", 0.5}, {"3.4.5", 3.4}, {"1e5", 1},
                                                     {"1,5", 1},  {"- 3", 0},     {"  \t 9 x", 9}};
    for (const auto& [text, value] : values) EXPECT_EQ(leading_value(text), value) << text;
    EXPECT_EQ(leading_value(std::string(400, '9')), inf);

    const auto shown = [](auto n) { return n ? std::to_string(*n) : std::string("-"); };
    // the value, then what fits 16 and 32 bits
    const std::pair<double, const char*> rows[] = {
        {2.5, "2 2"},          {-2.5, "-2 -2"},       {-32768.5, "-32768 -32768"},
        {32767.5, "- 32768"},  {2147483647.5, "- -"}, {-2147483648.5, "- -2147483648"},
        {std::nan(""), "- -"}, {inf, "- -"},          {-inf, "- -"}};
    for (const auto& [v, fits] : rows)
        EXPECT_EQ(shown(to_int16(v)) + " " + shown(to_int32(v)), fits) << v;
    EXPECT_EQ(floor_int16(-0.5), std::optional<std::int16_t>(-1));
    EXPECT_EQ(floor_int16(32767.9), std::optional<std::int16_t>(32767));
    EXPECT_EQ(floor_int16(-32768.1), std::nullopt);
    EXPECT_EQ(int_text(std::numeric_limits<long long>::min()), "-9223372036854775808");
}

using TextFileTest = test::TempFolderTest;

TEST_F(TextFileTest, EncodingsByteOrderMarkAndRegularFilesOnly) {
    const std::string utf8 = "<record>\r\nM\u00e4rz \u20ac\r\n</record>\r\n";
    const std::tuple<std::string, std::string, TextEncoding> rows[] = {
        {utf8, utf8, TextEncoding::utf8},
        {"M\xE4rz \x80 \x84Gr\xFC\xDF\x93\r\n", "M\u00e4rz \u20ac \u201eGr\u00fc\u00df\u201c\r\n",
         TextEncoding::windows1252},
        {"", "", TextEncoding::utf8},
        // A byte-order mark is dropped whatever follows it.
        {"\xEF\xBB\xBF<record>\r\nGr\xFC\xDF\r\n", "<record>\r\nGr\u00fc\u00df\r\n",
         TextEncoding::windows1252}};
    for (const auto& [bytes, text, encoding] : rows) {
        const auto file = read_text_file(write("a.rmd", bytes));
        ASSERT_TRUE(file.has_value()) << bytes;
        EXPECT_EQ(file->text, text) << bytes;
        EXPECT_EQ(int(file->encoding), int(encoding)) << bytes;
    }
    // Only regular files are text files: a pipe would never end.
    EXPECT_EQ(read_text_file(folder_), std::nullopt);
#ifdef _WIN32
    EXPECT_EQ(read_text_file("NUL"), std::nullopt);
#else
    EXPECT_EQ(read_text_file("/dev/zero"), std::nullopt);
    ASSERT_EQ(0, ::mkfifo((folder_ / "pipe").c_str(), 0600));
    EXPECT_EQ(read_text_file(folder_ / "pipe"), std::nullopt);
#endif
}

// The reader streams a file (its encoding checked in blocks of 64 KiB, its lines
// read 128 KiB at first); wherever a block ends, it sees the lines and the
// encoding that reading the whole file gives.
TEST_F(TextFileTest, StreamedLinesAgreeWithTheWholeFileWhereverABlockEnds) {
    constexpr std::size_t kCheckBlock = std::size_t(1) << 16;
    constexpr std::size_t kFirstRead = 2 * kCheckBlock;
    const auto filler = [](std::size_t n) {
        std::string s;
        for (std::size_t i = 0; i < n; ++i) s += char('a' + i % 26);
        return s;
    };
    const std::pair<const char*, std::string> rows[] = {
        {"CR LF cut by the read", filler(kFirstRead - 1) + "\r\nzwei\r\n"},
        {"a lone CR at the read's end", filler(kFirstRead - 1) + "\rzwei\n\n\rdrei"},
        {"a line longer than the buffer", filler(3 * kFirstRead) + "\r\nx"},
        {"every line end, lines of every length", "a\rb\nc\r\n\r\n" + filler(7) + "\r" +
                                                      filler(15) + "\n" + filler(16) + "\r\n" +
                                                      filler(33) + "\n\r" + filler(8)},
        {"UTF-8 cut by a checked block", filler(kCheckBlock - 1) + "\u00e4\r\n\u20ac"},
        {"Windows-1252 after the first block", filler(kCheckBlock + 5) + "\r\nM\xE4rz\r\n"},
        {"a sequence cut by the file's end", filler(40) + "\r\n\xE2\x82"},
        {"a byte-order mark", "\xEF\xBB\xBF<record>\r\nGr\xFC\xDF\r\n</record>\r\n"},
    };
    for (const auto& [what, bytes] : rows) {
        SCOPED_TRACE(what);
        const auto path = write("s.rmd", bytes);
        const auto file = read_text_file(path);
        ASSERT_TRUE(file.has_value());
        LineSource source(path);
        std::vector<std::string> streamed;
        for (std::string_view line; source.next(line);) streamed.emplace_back(line);
        EXPECT_FALSE(source.failed());
        EXPECT_EQ(int(source.encoding()), int(file->encoding));
        EXPECT_EQ(split_lines(file->text), streamed);
    }
}

TEST(TextFile, Utf8Validation) {
    EXPECT_TRUE(is_valid_utf8(std::string(70, 'a') + "\u00e4" + std::string(40, 'b')));
    EXPECT_FALSE(is_valid_utf8(std::string(40, 'a') + "\xE4" + std::string(40, 'b')));
    EXPECT_TRUE(is_valid_utf8("\u00e4\u20ac\U0001F600\U0010FFFF\u07ff\ud7ff\ue000"));
    for (const char* bytes :
         {"abc\x80", "\xC0\x80", "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF", "\xED\xA0\x80",
          "\xF4\x90\x80\x80", "0123456789\xE2\x82", "\xE2\x82x", "M\xE4rz"})
        EXPECT_FALSE(is_valid_utf8(bytes)) << bytes;  // overlong, surrogate, beyond, cut short
}

TEST(TextFile, Windows1252RoundTripsEveryByteAndNothingElse) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::string utf8 = windows1252_to_utf8(all);
    EXPECT_EQ(utf8_to_windows1252(utf8), std::optional<std::string>(all));
    // The bytes the code page leaves undefined become the C1 controls of the same number.
    EXPECT_EQ(windows1252_to_utf8("\x81\x8D\x8F\x90\x9D"), "\u0081\u008d\u008f\u0090\u009d");
    // Characters without a byte in the code page (U+0080 is the C1 control whose byte
    // holds the euro sign), and text that is no UTF-8 at all.
    for (const char* text : {"\u0100", "\u0080", "\U0001F600", "M\xE4rz"})
        EXPECT_EQ(utf8_to_windows1252(text), std::nullopt) << text;
}

DaySerial date(int y, int m, int d) { return make_date(y, m, d).value(); }

TEST(DateText, ParsesAcceptedSpellingsAndTypedDigitsAndRejectsEverythingElse) {
    const std::pair<const char*, Ymd> rows[] = {
        {"5.3.99", {1999, 3, 5}},   {"31.12.29", {2029, 12, 31}},   {"1.1.30", {1930, 1, 1}},
        {"1999-3-5", {1999, 3, 5}}, {"  7.3.1970  ", {1970, 3, 7}}, {"29.02.2000", {2000, 2, 29}},
        {"1.1.0100", {100, 1, 1}},  {"31.12.9999", {9999, 12, 31}},
    };
    for (const auto& [text, e] : rows)
        EXPECT_EQ(parse_date(text), make_date(e.year, e.month, e.day)) << text;
    // Date fields take digits without dots too; the reader of files does not.
    for (const char* text :
         {"", "29.02.1999", "1.13.1999", "5.3.1999x", "5.3.", "1.1.0099", "005.3.1999",
          "1999.03.05", "99-03-05", "+5.3.1999", "\t5.3.1999", "31122027"})
        EXPECT_EQ(parse_date(text), std::nullopt) << text;
    EXPECT_EQ(typed_date_text("07031970"), "07.03.1970");
    EXPECT_EQ(typed_date_text("0703197"), "0703197");
}

TEST(DateText, FormatsDatesTimesAndNames) {
    const std::pair<const char*, const char*> dates[] = {
        {"ddddd", "05.03.1999"}, {"w", "6"}, {"ww", "9"}, {"y", "64"}, {"Tag: d!", "Tag: 5!"}};
    for (const auto& [pattern, expected] : dates)
        EXPECT_EQ(format_date(date(1999, 3, 5), pattern), expected) << pattern;
    // "mm" is minutes only right after hours.
    const std::pair<const char*, const char*> times[] = {
        {"h:mm:ss", "7:04:09"}, {"n s", "4 9"}, {"mm", "11"}, {"hh:mm dd.mm.", "07:04 24.11."}};
    for (const auto& [pattern, expected] : times)
        EXPECT_EQ(format_datetime({date(2001, 11, 24), 7 * 3600 + 4 * 60 + 9}, pattern), expected)
            << pattern;
    EXPECT_TRUE(month_name(0).empty() && weekday_name(8).empty());
}

TEST(DateText, Weeks) {
    // day, week counted from Sunday (late December stays in the old year), ISO week
    const std::tuple<int, int, int, int, int> rows[] = {
        {1996, 12, 29, 53, 52}, {1996, 12, 31, 53, 1}, {1997, 1, 1, 1, 1},
        {1999, 1, 2, 52, 53},   {1999, 1, 3, 1, 53},   {2000, 1, 1, 52, 52},
        {2021, 1, 1, 53, 53},   {2015, 1, 3, 53, 1},   {2015, 1, 4, 1, 1},
    };
    for (const auto& [y, m, day, week, iso] : rows) {
        EXPECT_EQ(week_sunday_first(date(y, m, day)), week) << y << m << day;
        EXPECT_EQ(iso_week(date(y, m, day)), iso) << y << m << day;
    }
    EXPECT_EQ(week_sunday_first(date(2021, 7, 3)), 26);  // a week from Sunday 3 January on
    EXPECT_EQ(week_sunday_first(date(2021, 7, 4)), 27);
}

}  // namespace
}  // namespace merkwald
