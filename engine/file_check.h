#pragma once
// Finding the lines that break a reminder file: every problem the reader would
// stumble over (or silently pass), with its file and line.

#include <string>
#include <vector>

#include "engine_state.h"

namespace merkwald {

struct FileProblem {
    std::string file;    // the file list entry, as written
    long long line = 0;  // counted from 1; 0 for the file as a whole
    std::string text;    // German
    friend bool operator==(const FileProblem&, const FileProblem&) = default;
};

// Reads the file list as a refresh does (the main file and the files it links)
// and reports, file by file and line by line: dates that are no dates, numbers
// out of their range, records without end, stray end tags, unknown tags that
// become text, links to missing files, placeholder syntax errors, unreadable files.
[[nodiscard]] std::vector<FileProblem> check_files(const EngineState& state,
                                                   const std::string& main_file);

// "FILE:LINE: text"
[[nodiscard]] std::string problem_line(const FileProblem& problem);

}  // namespace merkwald
