// The address book reader of the birthday import: any bytes, as a file exported
// by some program may hold them.

#include <cstdint>
#include <string_view>

#include "engine/text_file.h"
#include "engine/vcard.h"

namespace {

using namespace merkwald;

void check(bool ok) {
    if (!ok) __builtin_trap();
}

bool possible(const VcardBirthday& b) {
    return b.month >= 1 && b.month <= 12 && b.day >= 1 && b.day <= 31 && b.year >= 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const VcardBook book = parse_vcards(bytes);
    long long previous_line = 0;
    for (const VcardPerson& person : book.people) {
        // Only people with a name and a day that exists come out, in file order
        // and as UTF-8 whatever the card's character set was.
        check(!person.name.empty() && is_valid_utf8(person.name));
        check(possible(person.birthday));
        check(person.line > previous_line);
        previous_line = person.line;
    }
    check(book.without_birthday >= 0);
    for (const VcardProblem& problem : book.problems) {
        check(problem.line >= 1 && !problem.text.empty() && is_valid_utf8(problem.text));
    }

    VcardBirthday date;
    if (parse_vcard_date(bytes, date)) check(possible(date));
    return 0;
}
