# Guards the speed of the main job by instruction count, not by time: runs
# `merkwald-cli list` on a fixed generated file of 10,000 records under callgrind
# and fails when the count grows more than 5 % over the baseline recorded for
# this build (build type, compiler and its major version) in BASELINE. A build
# without a baseline, a sanitized build and a machine without valgrind skip
# with the reason. A change that makes the list faster lowers the baseline.
# Run as: cmake -DCLI=... -DMAKE_FILE=... -DBASELINE=... -DWORK_DIR=...
#   -DBUILD=<type> -DCOMPILER=<id> -DCOMPILER_VERSION=... -DSANITIZE=ON|OFF -P ...
cmake_minimum_required(VERSION 3.25)

set(records 10000)
set(today 15.06.2026)
set(allowed_growth_percent 5)

# The test's SKIP_REGULAR_EXPRESSION matches the message; return() from the
# macro ends the script.
macro(skip reason)
  message("SKIPPED: ${reason}")
  return()
endmacro()

if(SANITIZE)
  skip("a sanitized build counts mostly the sanitizers' work; optimised builds measure")
endif()
find_program(VALGRIND valgrind)
if(NOT VALGRIND)
  skip("valgrind is not installed (scripts/setup.sh installs it)")
endif()

string(REGEX MATCH "^[0-9]+" compiler_major "${COMPILER_VERSION}")
set(key "${BUILD} ${COMPILER} ${compiler_major}")

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}/home/config")
set(reminders "${WORK_DIR}/records.rmd")
execute_process(COMMAND "${MAKE_FILE}" ${records} OUTPUT_FILE "${reminders}"
                RESULT_VARIABLE made)
if(NOT made EQUAL 0)
  message(FATAL_ERROR "make_bench_file failed: ${made}")
endif()

# A home of its own: no settings of the user's change what is read.
set(profile "${WORK_DIR}/callgrind.out")
execute_process(
  COMMAND "${CMAKE_COMMAND}" -E env "HOME=${WORK_DIR}/home" "MERKWALD_HOME=${WORK_DIR}/home"
          "XDG_CONFIG_HOME=${WORK_DIR}/home/config" LANG=C.UTF-8 TZ=Europe/Berlin
          "${VALGRIND}" --tool=callgrind "--callgrind-out-file=${profile}"
          "${CLI}" list --today ${today} --file "${reminders}"
  OUTPUT_FILE "${WORK_DIR}/list.txt"
  ERROR_VARIABLE valgrind_output
  RESULT_VARIABLE listed)
if(NOT listed EQUAL 0)
  message(FATAL_ERROR "merkwald-cli list under callgrind failed (${listed}):\n${valgrind_output}")
endif()
file(STRINGS "${profile}" totals REGEX "^totals: [0-9]+$")
string(REGEX MATCH "[0-9]+" measured "${totals}")
if(measured STREQUAL "")
  message(FATAL_ERROR "no instruction count in ${profile}")
endif()

set(baseline "")
file(STRINGS "${BASELINE}" lines REGEX "^[^#]")
foreach(line IN LISTS lines)
  if(line MATCHES "^${key} ([0-9]+)$")
    set(baseline "${CMAKE_MATCH_1}")
  endif()
endforeach()
if(baseline STREQUAL "")
  set(why "no baseline for '${key}' in ${BASELINE}; this build measured ${measured}")
  skip("${why} instructions (add the line '${key} ${measured}' to guard it)")
endif()

math(EXPR limit "${baseline} + ${baseline} * ${allowed_growth_percent} / 100")
math(EXPR change_per_mille "(${measured} - ${baseline}) * 1000 / ${baseline}")
message("merkwald-cli list, ${records} records, ${key}: ${measured} instructions, "
        "baseline ${baseline} (${change_per_mille} per mille), limit ${limit}")
if(measured GREATER limit)
  message(FATAL_ERROR "the list got slower: ${measured} instructions, more than "
                      "${allowed_growth_percent} % over the baseline ${baseline}")
endif()
if(change_per_mille LESS -50)
  message("faster than the baseline by more than ${allowed_growth_percent} %: lower it to "
          "'${key} ${measured}' in ${BASELINE}")
endif()
