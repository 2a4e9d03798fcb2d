#pragma once
// Every event of a date range, day by day: what the range listing of each single
// day shows, read in one pass over the files. Calendar export builds on this.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine_state.h"
#include "messages.h"
#include "range.h"

namespace merkwald {

struct Occurrence {
    DaySerial day{};
    std::string text;   // expanded as it reads on `day`, lines joined by CRLF, no final CRLF
    std::string group;  // empty without groups
    std::uint32_t color = 0;
    std::string file;            // the file list entry the record came from
    long long line = 0;          // the line of its `</record>`
    std::uint64_t identity = 0;  // the same for the same record in every run
    friend bool operator==(const Occurrence&, const Occurrence&) = default;
};

struct OccurrenceList {
    std::vector<Occurrence> events;  // ascending by day, records in file order within a day
    bool read_ok = false;
    int failed_files = 0;
    std::vector<std::string> failed_names;  // as the file list names them
};

// Reads the files as refresh_range does, then evaluates every record on every
// day of the range with no lead time. Records shown always and records without a
// date (monthly ones excepted) have no day of their own and are left out, as are
// texts that expand to nothing. A placeholder error is reported once per record, not once per day.
// The state's today is restored. No events when a file could not be read: they
// would lack that file's.
[[nodiscard]] OccurrenceList collect_occurrences(EngineState& state, const std::string& main_file,
                                                 const DateRange& range, MessageSink& sink);

// The same without keeping the events: each goes to `take` as it is made (the
// list's `events` stay empty). When a file could not be read, the records are
// evaluated all the same, for their messages, but nothing goes to `take`.
using TakeOccurrence = std::function<void(Occurrence&&)>;
[[nodiscard]] OccurrenceList stream_occurrences(EngineState& state, const std::string& main_file,
                                                const DateRange& range, MessageSink& sink,
                                                const TakeOccurrence& take);

// The evaluation part of collect_occurrences, for records a read has already
// captured (RefreshTables::captured), in file order.
[[nodiscard]] std::vector<Occurrence> occurrences_of(EngineState& state,
                                                     std::vector<CapturedRecord> records,
                                                     const DateRange& range, MessageSink& sink);

}  // namespace merkwald
