#!/bin/sh
# Start-up to a shown list, offscreen: merkwald and merklight on the example
# data against a bare Qt program that shows one QTextEdit and quits.
#   bench/startup/run.sh [BUILD_DIR] [RUNS]
# BUILD_DIR holds bin/merkwald and bin/merklight (default: build); RUNS per program (default 40).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build}" && pwd)
runs=${2:-40}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake -S "$here" -B "$work/bare" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$work/bare" >/dev/null

# A settings store of its own, past the first start (no what-is-new window).
mkdir -p "$work/config/Merkwald"
printf '[General]\nVersion=999999\n' >"$work/config/Merkwald/Merkwald.conf"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work"
export QT_QPA_PLATFORM=offscreen MERKWALD_HOME="$build/bin" MERKWALD_QUIT_WHEN_SHOWN=1

# Milliseconds per run: the median of RUNS runs, the runs of the programs interleaved.
now_ns() { date +%s%N; }
for program in bare merkwald merklight; do : >"$work/$program.times"; done
i=0
while [ "$i" -lt "$runs" ]; do
    for program in bare merkwald merklight; do
        case $program in
            bare) command="$work/bare/bare_qt" ;;
            *) command="$build/bin/$program no_logo" ;;
        esac
        start=$(now_ns)
        $command >/dev/null 2>&1
        end=$(now_ns)
        echo $(((end - start) / 1000)) >>"$work/$program.times"
    done
    i=$((i + 1))
done

median() { sort -n "$1" | awk '{a[NR]=$1} END {m=(NR%2)?a[(NR+1)/2]:(a[NR/2]+a[NR/2+1])/2; printf "%.1f", m/1000}'; }
bare=$(median "$work/bare.times")
for program in bare merkwald merklight; do
    m=$(median "$work/$program.times")
    printf '%-10s median %6s ms  (%s runs)  ratio %s\n' "$program" "$m" "$runs" \
        "$(awk -v a="$m" -v b="$bare" 'BEGIN {printf "%.2f", a / b}')"
done
