#include "vcard.h"

#include <cstdint>
#include <optional>

#include "calendar/date_serial.h"
#include "text.h"
#include "text_file.h"

namespace merkwald {

namespace {

struct LogicalLine {
    std::string text;
    long long line = 0;
};

struct Property {
    std::string name;  // upper case, without group
    std::vector<std::string>
        params;  // upper case, as written ("CHARSET=UTF-8", "QUOTED-PRINTABLE")
    std::string value;
};

std::string upper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = char(c - 32);
    return out;
}

// Joins folded lines (a continuation starts with a blank or tab) and the soft
// line breaks of quoted-printable values (a line ending in "="). Each byte is
// looked at a bounded number of times, so a hostile file cannot make this slow.
class Unfolder {
public:
    void take(std::string_view line, long long number) {
        if (soft_break_ && !lines_.empty()) {
            append(line);
        } else if (!lines_.empty() && !line.empty() && (line[0] == ' ' || line[0] == '\t')) {
            append(line.substr(1));
        } else {
            lines_.push_back({{}, number});
            colon_seen_ = quoted_printable_ = in_quotes_ = false;
            head_.clear();
            append(line);
        }
        std::string& current = lines_.back().text;
        soft_break_ = quoted_printable_ && current.ends_with('=');
        if (soft_break_) current.pop_back();
    }
    std::vector<LogicalLine> take_lines() { return std::move(lines_); }

private:
    // Only the part before the first colon outside quotes (as split_property
    // finds it) decides whether the value is quoted-printable.
    void append(std::string_view part) {
        for (std::size_t i = 0; i < part.size() && !colon_seen_; ++i) {
            if (part[i] == '"') in_quotes_ = !in_quotes_;
            if (part[i] == ':' && !in_quotes_) {
                head_.append(part.substr(0, i));
                colon_seen_ = true;
                quoted_printable_ = upper(head_).find("QUOTED-PRINTABLE") != std::string::npos;
                head_.clear();
            }
        }
        if (!colon_seen_) head_.append(part);
        lines_.back().text.append(part);
    }

    std::vector<LogicalLine> lines_;
    std::string head_;
    bool colon_seen_ = false;
    bool in_quotes_ = false;
    bool quoted_printable_ = false;
    bool soft_break_ = false;
};

std::vector<LogicalLine> unfold(std::string_view text) {
    Unfolder unfolder;
    long long number = 0;
    for_each_line(text, [&](std::string_view line) {
        unfolder.take(line, ++number);
        return true;
    });
    return unfolder.take_lines();
}

std::optional<Property> split_property(std::string_view line) {
    bool quoted = false;
    std::size_t colon = std::string_view::npos;
    for (std::size_t i = 0; i < line.size() && colon == std::string_view::npos; ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted)
            colon = i;
    }
    if (colon == std::string_view::npos) return std::nullopt;
    Property p;
    p.value = std::string(line.substr(colon + 1));
    std::string_view head = line.substr(0, colon);
    for (std::size_t start = 0;;) {
        const std::size_t semi = head.find(';', start);
        const std::string part = upper(head.substr(start, semi - start));
        if (start == 0)
            p.name = part.substr(part.find('.') == std::string::npos ? 0 : part.find('.') + 1);
        else
            p.params.push_back(part);
        if (semi == std::string_view::npos) break;
        start = semi + 1;
    }
    return p;
}

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string decode_quoted_printable(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const int hi = s[i] == '=' && i + 2 < s.size() ? hex_digit(s[i + 1]) : -1;
        const int lo = hi >= 0 ? hex_digit(s[i + 2]) : -1;
        if (lo >= 0) {
            out += char(hi * 16 + lo);
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

// How the file's bytes were turned into the text the cards are read from.
struct FileCoding {
    bool unicode = false;  // a byte-order mark or valid UTF-8 throughout: the text is UTF-8
};

// The parameter's value ("CHARSET=UTF-8" -> "UTF-8"), empty when absent.
std::string param_value(const Property& p, std::string_view name) {
    for (const std::string& param : p.params)
        if (param.size() > name.size() && param.starts_with(name) && param[name.size()] == '=')
            return param.substr(name.size() + 1);
    return {};
}

bool is_quoted_printable(const Property& p) {
    for (const std::string& param : p.params)
        if (param == "QUOTED-PRINTABLE" || param == "ENCODING=QUOTED-PRINTABLE") return true;
    return false;
}

// The value as UTF-8. Raw text of a Unicode file is taken as it is; decoded
// quoted-printable bytes and the values of an 8-bit file follow their CHARSET,
// and without one are UTF-8 when valid, else Windows-1252 (of which ISO-8859-1,
// the other CHARSET of 2.1 cards, is part).
std::string decoded_value(const Property& p, FileCoding coding) {
    const bool quoted = is_quoted_printable(p);
    std::string value = quoted ? decode_quoted_printable(p.value) : p.value;
    // A byte-order mark promises Unicode; a byte that breaks the promise is
    // read as an 8-bit file's would be, so that no name carries broken UTF-8.
    if (coding.unicode && !quoted) return is_valid_utf8(value) ? value : windows1252_to_utf8(value);
    const std::string charset = param_value(p, "CHARSET");
    const bool utf8 = charset.empty() || charset == "UTF-8" || charset == "UTF8";
    if (utf8 && is_valid_utf8(value)) return value;
    return windows1252_to_utf8(value);
}

void append_utf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// UTF-16 as UTF-8; an unpaired surrogate becomes U+FFFD.
std::string utf16_to_utf8(std::string_view bytes, bool big_endian) {
    std::string out;
    out.reserve(bytes.size());
    const auto unit = [&](std::size_t i) {
        const auto a = std::uint8_t(bytes[i]), b = std::uint8_t(bytes[i + 1]);
        return char32_t(big_endian ? (a << 8 | b) : (b << 8 | a));
    };
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t cp = unit(i);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 &&
            unit(i + 2) <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        append_utf8(out, cp);
    }
    return out;
}

// Outlook and some phones write UTF-16 with a byte-order mark, Notepad puts one
// before UTF-8. A UTF-16 file without a mark still starts with "B" beside a zero.
std::string file_text(std::string_view bytes, FileCoding& coding) {
    coding.unicode = true;
    if (bytes.starts_with("\xEF\xBB\xBF")) return std::string(bytes.substr(3));
    if (bytes.starts_with("\xFF\xFE")) return utf16_to_utf8(bytes.substr(2), false);
    if (bytes.starts_with("\xFE\xFF")) return utf16_to_utf8(bytes.substr(2), true);
    if (bytes.size() >= 2 && bytes[0] != 0 && bytes[1] == 0) return utf16_to_utf8(bytes, false);
    if (bytes.size() >= 2 && bytes[0] == 0 && bytes[1] != 0) return utf16_to_utf8(bytes, true);
    coding.unicode = is_valid_utf8(bytes);
    return std::string(bytes);
}

// Splits at unescaped `separator` and removes the backslash escapes.
std::vector<std::string> unescape_parts(std::string_view value, char separator) {
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\\' && i + 1 < value.size()) {
            const char next = value[++i];
            parts.back() += (next == 'n' || next == 'N') ? ' ' : next;
        } else if (c == separator) {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

std::string join_nonempty(const std::vector<std::string>& parts) {
    std::string out;
    for (const std::string& part : parts) {
        const std::string_view t = trim_blanks(part);
        if (t.empty()) continue;
        if (!out.empty()) out += ' ';
        out += t;
    }
    return out;
}

// N is family;given;additional;prefix;suffix; a name reads prefix given additional family suffix.
std::string name_from_n(std::string_view value) {
    std::vector<std::string> parts = unescape_parts(value, ';');
    parts.resize(5);
    for (std::string& part : parts)
        for (char& c : part)
            if (c == ',') c = ' ';
    return join_nonempty({parts[3], parts[1], parts[2], parts[0], parts[4]});
}

struct Card {
    long long line = 0;
    std::string fn, n, bday;
    std::string omit_year;  // X-APPLE-OMIT-YEAR of BDAY: this year stands for none
    long long bday_line = 0;
};

void finish_card(const Card& card, VcardBook& book) {
    // A card without a birthday (an e-mail address, a company) is no fault.
    if (card.bday.empty()) {
        ++book.without_birthday;
        return;
    }
    std::string name = card.fn.empty() ? name_from_n(card.n) : card.fn;
    if (name.empty()) {
        book.problems.push_back({card.line, "vCard ohne Namen (FN oder N)"});
        return;
    }
    VcardPerson person{std::move(name), {}, card.line};
    if (!parse_vcard_date(card.bday, person.birthday)) {
        book.problems.push_back({card.bday_line, "BDAY ist kein Datum: " + card.bday});
        return;
    }
    if (!card.omit_year.empty() && std::to_string(person.birthday.year) == card.omit_year)
        person.birthday.year = 0;
    book.people.push_back(std::move(person));
}

void take_property(const Property& p, long long line, FileCoding coding, Card& card) {
    if (p.name == "FN") {
        card.fn = join_nonempty(unescape_parts(decoded_value(p, coding), '\0'));
    } else if (p.name == "N") {
        card.n = decoded_value(p, coding);
    } else if (p.name == "BDAY") {
        card.bday = std::string(trim_blanks(decoded_value(p, coding)));
        card.omit_year = param_value(p, "X-APPLE-OMIT-YEAR");
        card.bday_line = line;
    }
}

std::optional<int> digits(std::string_view s) {
    if (s.empty()) return std::nullopt;
    int v = 0;
    for (const char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

}  // namespace

bool parse_vcard_date(std::string_view text, VcardBirthday& out) {
    text = text.substr(0, text.find('T'));
    std::string compact;
    for (const char c : text)
        if (c != '-') compact += c;
    const bool no_year = text.starts_with("--");
    if (!no_year && text.find('-') != std::string_view::npos &&
        (text.size() != 10 || text[4] != '-' || text[7] != '-'))
        return false;
    if (compact.size() != (no_year ? 4u : 8u)) return false;
    const std::string_view c = compact;
    const auto year = no_year ? std::optional<int>(0) : digits(c.substr(0, 4));
    const auto month = digits(c.substr(no_year ? 0 : 4, 2));
    const auto day = digits(c.substr(no_year ? 2 : 6, 2));
    if (!year || !month || !day) return false;
    // Without a year 29 February is a day like any other: check it in a leap year.
    if (!make_date(no_year ? 2000 : *year, *month, *day)) return false;
    out = {*year, *month, *day};
    return true;
}

namespace {

// Reads the logical lines card by card. A vCard 2.1 AGENT holds a whole card
// right after it (the agent, another person): its lines belong to neither card.
class CardReader {
public:
    explicit CardReader(FileCoding coding) : coding_(coding) {}

    void take(const LogicalLine& l) {
        const auto p = split_property(l.text);
        if (!p) return;  // a blank line between AGENT and its card changes nothing
        const bool after_agent = after_agent_;
        after_agent_ = p->name == "AGENT";
        const std::string value = upper(trim_blanks(p->value));
        const bool begins = (p->name == "BEGIN" && value == "VCARD") ||
                            (p->name == "AGENT" && value == "BEGIN:VCARD");
        if (begins && card_ && (after_agent || p->name == "AGENT")) {
            ++nested_;
        } else if (begins) {
            // Anywhere else a BEGIN means the card before lacks its END; one
            // broken card must not swallow the ones after it.
            if (card_) book_.problems.push_back({card_->line, "vCard ohne END:VCARD"});
            card_ = Card{l.line, {}, {}, {}, {}, 0};
            nested_ = 0;
        } else if (p->name == "END" && value == "VCARD") {
            end_card(l.line);
        } else if (card_ && nested_ == 0) {
            take_property(*p, l.line, coding_, *card_);
        }
    }

    VcardBook finish() {
        if (card_) book_.problems.push_back({card_->line, "vCard ohne END:VCARD"});
        return std::move(book_);
    }

private:
    void end_card(long long line) {
        if (nested_ > 0) {
            --nested_;
        } else if (card_) {
            finish_card(*card_, book_);
            card_.reset();
        } else {
            book_.problems.push_back({line, "END:VCARD ohne BEGIN:VCARD"});
        }
    }

    FileCoding coding_;
    VcardBook book_;
    std::optional<Card> card_;
    int nested_ = 0;  // open cards inside the current one
    bool after_agent_ = false;
};

}  // namespace

VcardBook parse_vcards(std::string_view bytes) {
    FileCoding coding;
    const std::string text = file_text(bytes, coding);
    CardReader reader(coding);
    for (const LogicalLine& l : unfold(text)) reader.take(l);
    return reader.finish();
}

}  // namespace merkwald
