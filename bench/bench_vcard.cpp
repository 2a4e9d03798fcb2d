// The address-book import's preview: 100,000 cards read and each looked up in a
// 100,000-record target file; and a hostile card of 32,000 folded lines.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "editing/vcard_import.h"

namespace merkwald {
namespace {

std::string person_name(int i) { return "Person" + std::to_string(i) + " Muster"; }

// Cards in the forms phones and mail programs write, every fifth without a year.
std::string address_book(int people) {
    std::string book;
    for (int i = 0; i < people; ++i) {
        const int month = i % 12 + 1, day = i % 28 + 1;
        char date[16];
        if (i % 5 == 0)
            std::snprintf(date, sizeof date, "--%02d%02d", month, day);
        else
            std::snprintf(date, sizeof date, "%04d-%02d-%02d", 1940 + i % 60, month, day);
        book += "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" + person_name(i) +
                "\r\nN:Muster;Person;;;\r\nEMAIL:p" + std::to_string(i) +
                "@example.org\r\nBDAY:" + date + "\r\nEND:VCARD\r\n";
    }
    return book;
}

// Every second person is already there, the rest of the records are others.
std::string reminder_file(int records) {
    std::string text;
    for (int i = 0; i < records; ++i) {
        const int person = i % 2 == 0 ? i : records + i;
        char date[16];
        std::snprintf(date, sizeof date, "%02d.%02d.1970", i % 28 + 1, i % 12 + 1);
        text += "<record>\r\n<date=" + std::string(date) +
                ">\r\n<active_before=14>\r\n<group=geburtstage>\r\n" + person_name(person) +
                " hat <days_before_event_text> am <event_d.mmmm> <years_after_date>. "
                "Geburtstag\r\n</record>\r\n\r\n";
    }
    return text;
}

void BM_VcardPreview100kAgainst100kRecords(benchmark::State& state) {
    const std::string book_bytes = address_book(100000);
    const std::string target = reminder_file(100000);
    std::size_t known = 0;
    for (auto _ : state) {
        const VcardBook book = parse_vcards(book_bytes);
        const std::vector<VcardCandidate> candidates = vcard_candidates(book, target);
        known = 0;
        for (const VcardCandidate& c : candidates) known += c.already_there ? 1 : 0;
        benchmark::DoNotOptimize(known);
    }
    state.counters["known"] = double(known);
}
BENCHMARK(BM_VcardPreview100kAgainst100kRecords)->Unit(benchmark::kMillisecond);

// A folded line without a colon whose parts all end in "=": once quadratic.
void BM_VcardHostileFolds32k(benchmark::State& state) {
    std::string book = "BEGIN:VCARD\r\nX-QUOTED-PRINTABLE-NOTE";
    for (int i = 0; i < 32000; ++i) book += "\r\n =3D=3D=3D=3D=3D=3D=3D=";
    book += "\r\nFN:Anna\r\nBDAY:1980-05-17\r\nEND:VCARD\r\n";
    for (auto _ : state) benchmark::DoNotOptimize(parse_vcards(book));
}
BENCHMARK(BM_VcardHostileFolds32k)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace merkwald
