#include "vcard.h"

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

bool is_quoted_printable(std::string_view raw_line) {
    const std::size_t colon = raw_line.find(':');
    return upper(raw_line.substr(0, colon)).find("QUOTED-PRINTABLE") != std::string::npos;
}

// Joins folded lines (a continuation starts with a blank or tab) and the soft
// line breaks of quoted-printable values (a line ending in "=").
std::vector<LogicalLine> unfold(std::string_view text) {
    std::vector<LogicalLine> lines;
    long long number = 0;
    bool soft_break = false;
    for_each_line(text, [&](std::string_view line) {
        ++number;
        if (soft_break && !lines.empty()) {
            lines.back().text.append(line);
        } else if (!lines.empty() && !line.empty() && (line[0] == ' ' || line[0] == '\t')) {
            lines.back().text.append(line.substr(1));
        } else {
            lines.push_back({std::string(line), number});
        }
        const std::string& current = lines.back().text;
        soft_break = current.ends_with('=') && is_quoted_printable(current);
        if (soft_break) lines.back().text.pop_back();
        return true;
    });
    return lines;
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

// The value as UTF-8: quoted-printable decoded, then, unless it is valid UTF-8,
// read as Windows-1252 (which ISO-8859-1, the other CHARSET of 2.1 cards, is part of).
std::string decoded_value(const Property& p) {
    std::string value = p.value;
    for (const std::string& param : p.params)
        if (param == "QUOTED-PRINTABLE" || param == "ENCODING=QUOTED-PRINTABLE")
            value = decode_quoted_printable(value);
    if (!is_valid_utf8(value)) value = windows1252_to_utf8(value);
    return value;
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
    long long bday_line = 0;
};

void finish_card(const Card& card, VcardBook& book) {
    std::string name = card.fn.empty() ? name_from_n(card.n) : card.fn;
    if (name.empty()) {
        book.problems.push_back({card.line, "vCard ohne Namen (FN oder N)"});
        return;
    }
    if (card.bday.empty()) {
        ++book.without_birthday;
        return;
    }
    VcardPerson person{std::move(name), {}, card.line};
    if (!parse_vcard_date(card.bday, person.birthday)) {
        book.problems.push_back({card.bday_line, "BDAY ist kein Datum: " + card.bday});
        return;
    }
    book.people.push_back(std::move(person));
}

void take_property(const Property& p, long long line, Card& card) {
    if (p.name == "FN") {
        card.fn = join_nonempty(unescape_parts(decoded_value(p), '\0'));
    } else if (p.name == "N") {
        card.n = decoded_value(p);
    } else if (p.name == "BDAY") {
        card.bday = std::string(trim_blanks(decoded_value(p)));
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

VcardBook parse_vcards(std::string_view bytes) {
    VcardBook book;
    std::optional<Card> card;
    for (const LogicalLine& l : unfold(bytes)) {
        const auto p = split_property(l.text);
        if (!p) continue;
        const std::string value = upper(trim_blanks(p->value));
        if (p->name == "BEGIN" && value == "VCARD") {
            if (card) book.problems.push_back({card->line, "vCard ohne END:VCARD"});
            card = Card{l.line, {}, {}, {}, 0};
        } else if (p->name == "END" && value == "VCARD") {
            if (card)
                finish_card(*card, book);
            else
                book.problems.push_back({l.line, "END:VCARD ohne BEGIN:VCARD"});
            card.reset();
        } else if (card) {
            take_property(*p, l.line, *card);
        }
    }
    if (card) book.problems.push_back({card->line, "vCard ohne END:VCARD"});
    return book;
}

}  // namespace merkwald
