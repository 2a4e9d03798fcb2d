// Writes the benchmark's reminder file, for timing merkwald-cli from outside:
//   make_bench_file 100000 > big.rmd
//   /usr/bin/time -v merkwald-cli list --file big.rmd

#include <cstdlib>
#include <iostream>

#include "reminder_generator.h"

int main(int argc, char** argv) {
    const int records = argc > 1 ? std::atoi(argv[1]) : 100000;
    std::cout << merkwald::bench::generate_reminders(records);
    return 0;
}
