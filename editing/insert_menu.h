#pragma once
// The record editor's insert menu: the placeholder entries and the insert
// texts of the "Texte" submenu.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace merkwald {

struct InsertEntry {
    std::string_view caption;  // empty: a separator
    std::string_view text;
};

// A group of entries inside a submenu; an empty title puts them into the submenu itself.
struct InsertGroup {
    std::string_view title;
    std::vector<InsertEntry> entries;
};

struct InsertSubmenu {
    std::string_view title;
    std::vector<InsertGroup> groups;
};

// Every submenu after "Texte", in menu order.
[[nodiscard]] const std::vector<InsertSubmenu>& insert_menu_table();

inline constexpr int kMaxInsertTexts = 10;
inline constexpr std::string_view kInsertTextsError =
    "Einfüg Text Datei nicht gefunden oder Fehlerhaft\nBitte kontrollieren";
inline constexpr std::string_view kDefaultInsertCaption =
    " hat in ... Tagen am TAG. MONAT ... Geburtstag";
inline constexpr std::string_view kDefaultInsertText =
    " hat <days_before_event_text> am <event_d.mmmm> <years_after_date>. Geburtstag";

struct InsertText {
    std::string text;
    std::string caption;
    friend bool operator==(const InsertText&, const InsertText&) = default;
};

struct InsertTexts {
    std::vector<InsertText> entries;  // at most 10
    bool failed = false;              // missing, unreadable or shorter than announced
    std::string problem;              // set when the file is there but no file to read
};

// The count line, then pairs of text and caption lines; a count above 10 counts
// as 10. On a failure the pairs read before stay; without any, entry 1 is the
// birthday text.
[[nodiscard]] InsertTexts load_insert_texts(const std::filesystem::path& file);

}  // namespace merkwald
